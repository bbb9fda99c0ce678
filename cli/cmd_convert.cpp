// qstr convert: text between UTF-8, UTF-16, the ANSI and OEM code pages,
// any listed code page, native strings, document streams and the text form.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cli.h"
#include "codepage_names.h"
#include "convert_forms.h"
#include "files.h"
#include "qstr14/codepage.h"
#include "text.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

constexpr std::size_t kChunkBytes = 1 << 16;
constexpr std::uint64_t kProgressThreshold = 64 << 20;  // show progress for inputs from 64 MiB

// The forms that are no code page, for the suggestions after a name that is
// unknown.
const std::vector<std::string> kOtherForms = {"ansi", "oem", "native", "dz", "tz", "v5dz", "v5cdz-big5", "v5cdz-gb"};

// A code page form ("cp1252", "windows-1252", "latin1", "sjis", ...: any
// name of the code page name table but the Unicode forms): the product code
// page number. The table holds only pages the library converts (a listed
// page, or a double-byte page it places itself). Looks at no setting.
std::optional<uint32_t> codePageOfForm(const std::string &name) {
  const CodePageNames *page = findCodePage(name);
  if (page == nullptr || page->kind == CodePageKind::Unicode) return std::nullopt;
  return page->product;
}

// The nearest names to an unknown `name`, comma-separated: code page names,
// and with `withForms` the Unicode and other forms too.
std::string nearestList(const std::string &name, bool withForms) {
  std::string list;
  for (const std::string &near : nearestNames(name, withForms, withForms ? kOtherForms : std::vector<std::string>{})) {
    list += (list.empty() ? "" : ", ") + near;
  }
  return list;
}

void setVariable(const char *name, const std::string &value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

// The code page context of a conversion: the code page of a cpNNN form as
// the library's ANSI code page, with double-byte support when that page
// needs it, and the caller-owned record of that page.
struct CodePageContext {
  CODEPAGETBL record{};
  // The library reads the host profile's variables once, on its first use;
  // this runs before anything reaches the library (argument parsing,
  // codePageOfForm and hostDoubleByteCodePage do not, and
  // QcvtQXCodepageToWinCodepage only looks in the code page list).
  void use(uint32_t productCodePage) {
    setVariable("QSTR14_ACP", std::to_string(QcvtQXCodepageToWinCodepage(productCodePage)));
    setVariable("QSTR14_DBCS", tool::hostDoubleByteCodePage(productCodePage) ? "1" : "0");
    QcvtSetCodepage(static_cast<int32_t>(productCodePage), 3, &record);
  }
};

Form parseForm(const std::string &name, const std::string &option, CodePageContext &context) {
  // The Unicode forms are in the name table under their Windows numbers:
  // 1200 is UTF-16LE, 65001 UTF-8.
  if (const CodePageNames *page = findCodePage(name); page != nullptr && page->kind == CodePageKind::Unicode) {
    return {page->windows == 1200 ? FormKind::Utf16le : FormKind::Utf8, name};
  }
  if (name == "native") return {FormKind::Native, name};
  if (name == "dz") return {FormKind::DocumentStream, name};
  if (name == "tz") return {FormKind::TextForm, name};
  if (name == "v5dz") return {FormKind::Version5Stream, name};
  if (name == "v5cdz-big5") return {FormKind::Version5Big5, name};
  if (name == "v5cdz-gb") return {FormKind::Version5Gb, name};
  if (name == "ansi") return {FormKind::Bytes, name, {QtpiGetAnsiCodepageTbl()}};
  if (name == "oem") return {FormKind::Bytes, name, {QtpiGetOemCodepageTbl()}};
  if (codePageOfForm(name)) return {FormKind::Bytes, name, {&context.record}};
  throw UsageError{option + " " + name + ": unknown code page or form; nearest: " + nearestList(name, true) +
                   " (see 'qstr codepage --list' and 'qstr convert --help')"};
}

// Progress on standard error for large inputs, when it is a terminal.
class Progress {
 public:
  explicit Progress(std::uint64_t total)
      : total_(total), show_(total >= kProgressThreshold && isatty(STDERR_FILENO)) {}
  void update(std::uint64_t done) {
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
  std::uint64_t total_;
  bool show_;
  std::chrono::steady_clock::time_point last_{};
};

struct ConvertOptions {
  std::string from, to;
  std::optional<std::string> codepage;
  std::optional<std::string> output;
  bool strict = false;
  bool bom = false;
  std::string file;
};

class Conversion {
 public:
  Conversion(const ConvertOptions &options, const Form &from, const Form &to, InputFile &input, OutputFile &output)
      : options_(options), from_(from), to_(to), input_(input), output_(output),
        unicode_(isUnicode(from) && isUnicode(to)),
        decoder_(makeDecoder(from, unicode_, changes_)),
        encoder_(makeEncoder(to, unicode_, changes_)) {}

  int run() {
    std::vector<uint8_t> chunk(kChunkBytes);
    Elements elements;
    std::string encoded;
    Progress progress(input_.size());
    std::uint64_t done = 0;
    bool markDecided = false;
    for (;;) {
      const std::size_t got = input_.read(chunk.data(), chunk.size());
      if (got == 0 && !input_.error().empty()) return fail(input_.error());
      const std::optional<FormError> error =
          got == 0 ? decoder_->finish(elements) : decoder_->feed(chunk.data(), got, elements);
      if (error) return fail(where(error->where) + ": " + error->message);
      encoded.clear();
      encoder_->put(elements, encoded);
      elements.clear();
      if (got == 0) encoder_->finish(encoded);
      if (options_.strict && changes_.count() != 0) return fail(describe(changes_.listed().front()));
      // The byte order mark goes first, once the input has shown whether it
      // begins with one (carried over when both ends are Unicode).
      if (!markDecided && (!encoded.empty() || got == 0)) {
        markDecided = true;
        if (options_.bom || (unicode_ && decoder_->sawByteOrderMark)) encoded.insert(0, byteOrderMark(to_));
      }
      if (!output_.write(encoded)) return fail(output_.error());
      if (got == 0) break;
      done += got;
      progress.update(done);
    }
    if (!output_.commit()) return fail(output_.error());
    reportChanges();
    return kExitOk;
  }

 private:
  std::string where(const Position &position) const {
    return isTextInput(from_) ? textPosition(input_.name(), position.line, position.column)
                              : bytePosition(input_.name(), position.offset);
  }
  std::string describe(const Change &change) const {
    return where(change.where) + ": " + change.character + ' ' + change.outcome;
  }
  static int fail(const std::string &message) {
    printError("convert", message);
    return kExitBadInput;
  }
  // How many characters changed, then the first few of them.
  void reportChanges() const {
    const std::uint64_t count = changes_.count();
    if (count == 0) return;
    printError("convert", std::to_string(count) + (count == 1 ? " character" : " characters") + " changed");
    for (const Change &change : changes_.listed()) printError("convert", describe(change));
    if (count > changes_.listed().size()) {
      printError("convert", "and " + std::to_string(count - changes_.listed().size()) + " more");
    }
  }

  const ConvertOptions &options_;
  const Form &from_;
  const Form &to_;
  InputFile &input_;
  OutputFile &output_;
  Changes changes_;
  bool unicode_;
  std::unique_ptr<Decoder> decoder_;
  std::unique_ptr<Encoder> encoder_;
};

int runConvert(const ConvertOptions &options) {
  // The code page comes first: a cpNNN form sets the ANSI code page that the
  // ansi/oem records and the lead bytes follow, and nothing may reach the
  // library before it is set.
  const std::optional<std::string> &contextPage = options.codepage;
  if (contextPage && findCodePage(*contextPage) != nullptr && !codePageOfForm(*contextPage)) {
    throw UsageError{"--codepage " + *contextPage + ": a Unicode form, not a code page"};
  }
  if (contextPage && !codePageOfForm(*contextPage)) {
    throw UsageError{"--codepage " + *contextPage + ": unknown code page; nearest: " + nearestList(*contextPage, false) +
                     " (see 'qstr codepage --list')"};
  }
  std::optional<uint32_t> codePage;
  for (const auto &[name, option] : {std::pair{&options.from, "--from"}, std::pair{&options.to, "--to"},
                                     std::pair{contextPage ? &*contextPage : &options.from, "--codepage"}}) {
    if (auto page = codePageOfForm(*name)) {
      if (codePage && *codePage != *page) {
        throw UsageError{"one conversion converts through one code page; " + std::string(option) + " " + *name +
                         " differs from cp" + std::to_string(*codePage)};
      }
      codePage = page;
    }
  }
  CodePageContext context;
  if (codePage) context.use(*codePage);
  const Form from = parseForm(options.from, "--from", context);
  const Form to = parseForm(options.to, "--to", context);
  if (from.kind == FormKind::TextForm) throw UsageError{"tz is an output form only: it cannot be read back"};
  if (to.kind == FormKind::Version5Big5 || to.kind == FormKind::Version5Gb) {
    throw UsageError{to.name + " is an input form only (the library writes the single-byte form, v5dz)"};
  }
  if (options.bom && !isUnicode(to)) {
    throw UsageError{"--bom: " + to.name + " has no byte order mark (only utf8 and utf16le outputs)"};
  }

  InputFile input(options.file);
  if (!input.error().empty()) {
    printError("convert", input.error());
    return kExitBadInput;
  }
  OutputFile output(options.output);
  if (!output.error().empty()) {
    printError("convert", output.error());
    return kExitBadInput;
  }
  return Conversion(options, from, to, input, output).run();
}

}  // namespace

Action setupConvert(CLI::App &app) {
  auto options = std::make_shared<ConvertOptions>();
  app.add_option("--from", options->from, "input form")->required();
  app.add_option("--to", options->to, "output form")->required();
  app.add_option("--codepage", options->codepage, "code page of double-byte native text");
  app.add_option("-o,--output", options->output, "output file");
  app.add_flag("--strict", options->strict, "any change to the text is an error");
  app.add_flag("--bom", options->bom, "begin a Unicode output with a byte order mark");
  app.add_option("FILE", options->file, "input (- for standard input)");
  return [options] { return runConvert(*options); };
}

}  // namespace qstr::cli
