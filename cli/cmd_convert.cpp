// qstr convert: text between UTF-8, UTF-16, the ANSI and OEM code pages,
// any listed code page, native strings, document streams and the text form.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#define fsync _commit  // flushes a file to disk on Windows
#endif

#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "cli.h"
#include "convert_forms.h"
#include "host/profile.h"
#include "qstr14/codepage.h"
#include "text.h"

namespace qstr::cli {
namespace {

constexpr std::size_t kChunkBytes = 1 << 16;
constexpr off_t kProgressThreshold = 64 << 20;  // show progress for inputs from 64 MiB

bool isDoubleByteCodePage(uint32_t codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

// A code page form "cpNNN": the product code page number, when the library
// can convert it (a listed page, or a double-byte page it places itself).
std::optional<uint32_t> codePageOfForm(const std::string &name) {
  if (name.size() < 3 || name.compare(0, 2, "cp") != 0) return std::nullopt;
  const auto number = parseNumber(name.substr(2), 0xFFFF);
  if (!number) return std::nullopt;
  if (QcvtFindCPTable(*number, 1) == nullptr && !isDoubleByteCodePage(*number)) return std::nullopt;
  return number;
}

// The code page context of a conversion: the host profile the library sees
// while it runs (the code page of a cpNNN form, with double-byte support
// when that page needs it) and the caller-owned record of that page.
struct CodePageContext {
  CODEPAGETBL record{};
  bool installed = false;
  ~CodePageContext() {
    if (installed) host::resetHostProfile();
  }
  void use(uint32_t productCodePage) {
    host::HostProfile profile = host::hostProfile();
    profile.ansiCodePage = {QcvtQXCodepageToWinCodepage(productCodePage), "qstr convert", ""};
    profile.dbcsEnabled = {isDoubleByteCodePage(productCodePage), "qstr convert", ""};
    host::installHostProfile(profile);
    installed = true;
    QcvtSetCodepage(static_cast<int32_t>(productCodePage), 3, &record);
  }
};

Form parseForm(const std::string &name, const std::string &option, CodePageContext &context,
               std::optional<uint32_t> &codePage) {
  if (name == "utf8") return {FormKind::Utf8, name};
  if (name == "utf16le") return {FormKind::Utf16le, name};
  if (name == "native") return {FormKind::Native, name};
  if (name == "dz") return {FormKind::DocumentStream, name};
  if (name == "tz") return {FormKind::TextForm, name};
  if (name == "v5dz") return {FormKind::Version5Stream, name};
  if (name == "v5cdz-big5") return {FormKind::Version5Big5, name};
  if (name == "v5cdz-gb") return {FormKind::Version5Gb, name};
  if (name == "ansi") return {FormKind::Bytes, name, {QtpiGetAnsiCodepageTbl()}};
  if (name == "oem") return {FormKind::Bytes, name, {QtpiGetOemCodepageTbl()}};
  if (auto page = codePageOfForm(name)) {
    if (codePage && *codePage != *page) {
      throw UsageError{"one conversion converts through one code page; " + option + " " + name +
                       " differs from cp" + std::to_string(*codePage)};
    }
    codePage = page;
    return {FormKind::Bytes, name, {&context.record}};
  }
  throw UsageError{option + " " + name +
                   ": unknown form (utf8, utf16le, ansi, oem, cpNNN, native, dz, tz, v5dz, v5cdz-big5, v5cdz-gb; see 'qstr convert --help')"};
}

// Writes to a file by way of a temporary name, renamed over it only when
// the conversion succeeds; or to standard output.
class Output {
 public:
  explicit Output(const std::optional<std::string> &path) {
    if (!path) {
      file_ = stdout;
      return;
    }
    target_ = *path;
    temporary_ = *path + ".tmp.XXXXXX";
    const int fd = mkstemp(temporary_.data());
    if (fd >= 0) file_ = fdopen(fd, "wb");
    if (file_ == nullptr) error_ = target_ + ": cannot write: " + std::strerror(errno);
  }
  ~Output() {
    if (!committed_ && !temporary_.empty()) {
      if (file_ != nullptr) std::fclose(file_);
      std::remove(temporary_.c_str());
    }
  }
  const std::string &error() const { return error_; }
  bool write(const std::string &bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
  }
  bool commit() {
    if (temporary_.empty()) return std::fflush(file_) == 0;
    const bool flushed = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    committed_ = true;
    return true;
  }

 private:
  std::FILE *file_ = nullptr;
  std::string target_;
  std::string temporary_;
  std::string error_;
  bool committed_ = false;
};

// Progress on standard error for large inputs, when it is a terminal.
class Progress {
 public:
  Progress(off_t total) : total_(total), show_(total >= kProgressThreshold && isatty(STDERR_FILENO)) {}
  void update(off_t done) {
    if (!show_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(500)) return;
    last_ = now;
    std::fprintf(stderr, "\rqstr convert: %3d%%", static_cast<int>(100 * done / total_));
  }
  ~Progress() {
    if (show_) std::fprintf(stderr, "\r                  \r");
  }

 private:
  off_t total_;
  bool show_;
  std::chrono::steady_clock::time_point last_{};
};

int convert(std::FILE *input, const std::string &inputName, off_t inputSize, Decoder &decoder, Encoder &encoder,
            Output &output, bool strict) {
  std::vector<uint8_t> chunk(kChunkBytes);
  Natives natives;
  std::string encoded;
  Progress progress(inputSize);
  off_t done = 0;
  std::optional<FormError> error;
  for (;;) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), input);
    if (got == 0) {
      if (std::ferror(input)) {
        printError("convert", inputName + ": cannot read: " + std::strerror(errno));
        return kExitBadInput;
      }
      error = decoder.finish(natives);
    } else {
      error = decoder.feed(chunk.data(), got, natives);
    }
    if (error) {
      printError("convert", inputName + ": byte " + std::to_string(error->offset) + ": " + error->message);
      return kExitBadInput;
    }
    encoded.clear();
    encoder.put(natives, encoded);
    natives.clear();
    if (got == 0) encoder.finish(encoded);
    if (!output.write(encoded)) {
      printError("convert", std::string("cannot write the output: ") + std::strerror(errno));
      return kExitBadInput;
    }
    if (got == 0) break;
    done += static_cast<off_t>(got);
    progress.update(done);
  }
  const std::size_t unmapped = decoder.unmapped + encoder.unmapped;
  if (unmapped != 0) {
    const std::string message = std::to_string(unmapped) + (unmapped == 1 ? " character" : " characters") +
                                " had no mapping";
    if (strict) {
      printError("convert", inputName + ": " + message);
      return kExitBadInput;
    }
    std::cerr << "qstr convert: " << message << '\n';
  }
  if (!output.commit()) {
    printError("convert", std::string("cannot write the output: ") + std::strerror(errno));
    return kExitBadInput;
  }
  return kExitOk;
}

struct ConvertOptions {
  std::string from, to;
  std::optional<std::string> codepage;
  std::optional<std::string> output;
  bool strict = false;
  std::string file;
};

int runConvert(const ConvertOptions &options) {
  const std::string *from = &options.from, *to = &options.to;
  const std::optional<std::string> &outputPath = options.output;

  CodePageContext context;
  std::optional<uint32_t> codePage;
  // Forms are parsed once the code page context is known: a cpNNN form
  // installs the profile that the ansi/oem records and lead bytes follow.
  const std::optional<std::string> &contextPage = options.codepage;
  if (contextPage && !codePageOfForm(*contextPage)) {
    throw UsageError{"--codepage " + *contextPage + ": not a code page the library converts (cpNNN)"};
  }
  for (const std::string *name : {&*from, &*to, contextPage ? &*contextPage : &*from}) {
    if (auto page = codePageOfForm(*name)) {
      if (codePage && *codePage != *page) throw UsageError{"one conversion converts through one code page"};
      codePage = page;
    }
  }
  if (codePage) context.use(*codePage);
  std::optional<uint32_t> seen;
  const Form input = parseForm(*from, "--from", context, seen);
  const Form outputForm = parseForm(*to, "--to", context, seen);
  if (input.kind == FormKind::TextForm) throw UsageError{"tz is an output form only: it cannot be read back"};
  if (outputForm.kind == FormKind::Version5Big5 || outputForm.kind == FormKind::Version5Gb) {
    throw UsageError{outputForm.name + " is an input form only (the library writes the single-byte form, v5dz)"};
  }

  std::string inputName = "standard input";
  std::FILE *in = stdin;
  off_t inputSize = 0;
  if (!options.file.empty() && options.file != "-") {
    inputName = options.file;
    in = std::fopen(inputName.c_str(), "rb");
    if (in == nullptr) {
      printError("convert", inputName + ": " + std::strerror(errno));
      return kExitBadInput;
    }
    struct stat info {};
    if (fstat(fileno(in), &info) == 0) inputSize = info.st_size;
  }
  Output output(outputPath);
  if (!output.error().empty()) {
    printError("convert", output.error());
    if (in != stdin) std::fclose(in);
    return kExitBadInput;
  }
  auto decoder = makeDecoder(input);
  auto encoder = makeEncoder(outputForm);
  const int status = convert(in, inputName, inputSize, *decoder, *encoder, output, options.strict);
  if (in != stdin) std::fclose(in);
  return status;
}

}  // namespace

Action setupConvert(CLI::App &app) {
  auto options = std::make_shared<ConvertOptions>();
  app.add_option("--from", options->from, "input form")->required();
  app.add_option("--to", options->to, "output form")->required();
  app.add_option("--codepage", options->codepage, "code page of double-byte native text");
  app.add_option("-o,--output", options->output, "output file");
  app.add_flag("--strict", options->strict, "characters without a mapping are an error");
  app.add_option("FILE", options->file, "input (- for standard input)");
  return [options] { return runConvert(*options); };
}

}  // namespace qstr::cli
