// The files the qstr tool reads and writes: inputs that say why they
// cannot be read, and outputs that appear whole or not at all. Temporary
// files (an output's, sort's runs) are removed on every error and when the
// tool is stopped by SIGINT, SIGTERM or SIGHUP, after which the signal is
// raised again so that the exit status says what happened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace qstr::cli {

// An input: a file, or standard input for "" and "-". A folder, a file
// that cannot be opened or read, or one that vanishes is an error whose
// message names the file and gives the system's reason.
class InputFile {
 public:
  explicit InputFile(const std::string &path);
  ~InputFile();
  InputFile(const InputFile &) = delete;
  InputFile &operator=(const InputFile &) = delete;

  // "standard input" or the path, for messages.
  const std::string &name() const { return name_; }
  // Empty when the input is open; otherwise why it is not.
  const std::string &error() const { return error_; }
  // The size of a regular file in bytes; 0 when unknown (a pipe).
  std::uint64_t size() const { return size_; }

  // Reads up to `capacity` bytes; 0 at the end. On a read error returns 0
  // and sets error().
  std::size_t read(std::uint8_t *data, std::size_t capacity);
  // Reads the rest of the input into `bytes`; false (with error()) on a
  // read error.
  bool readAll(std::string &bytes);

 private:
  std::string name_;
  std::string error_;
  std::FILE *file_ = nullptr;
  std::uint64_t size_ = 0;
};

// An output: standard output, or a file written under a temporary name in
// the same folder and renamed over the file only by commit(). The result
// keeps the mode of the file it replaces (a new file gets 0666 less the
// umask); a symbolic link is followed, so that its target is replaced and
// the link stays. The output may be one of the inputs: nothing replaces it
// before commit(). A device or a pipe (/dev/null, /dev/stdout) cannot be
// replaced and is written to directly.
class OutputFile {
 public:
  // Standard output when `path` is empty or "-".
  explicit OutputFile(const std::optional<std::string> &path);
  // Removes the temporary file unless committed.
  ~OutputFile();
  OutputFile(const OutputFile &) = delete;
  OutputFile &operator=(const OutputFile &) = delete;

  // "standard output" or the path, for messages.
  const std::string &name() const { return name_; }
  // Empty when the output can be written; otherwise why not.
  const std::string &error() const { return error_; }

  // Appends bytes; false (with error()) when they cannot be written.
  bool write(std::string_view bytes);
  // Flushes the output to disk and puts it in place of the target; false
  // (with error()) when that fails, and then the target is as it was.
  bool commit();

 private:
  std::string name_;
  std::string target_;     // the file replaced: the link's target for a link
  std::string temporary_;  // empty for standard output
  std::string error_;
  std::FILE *file_ = nullptr;
  bool committed_ = false;
  int slot_ = -1;  // the temporary file's place among those a signal removes
  int mode_ = -1;  // of the file replaced; -1 for a new file
  long owner_ = -1, group_ = -1;

  // Closes the file and removes the temporary one unless committed.
  void discard();
};

// A temporary file of the tool's own (sort's runs): created in $TMPDIR
// (else /tmp), removed by the destructor, on every error and on the
// signals above.
class TemporaryFile {
 public:
  TemporaryFile();
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile &) = delete;
  TemporaryFile &operator=(const TemporaryFile &) = delete;

  const std::string &path() const { return path_; }
  // Empty when the file was created; otherwise why not.
  const std::string &error() const { return error_; }
  // The open file, for writing and then (after rewind) reading.
  std::FILE *file() const { return file_; }

 private:
  std::string path_;
  std::string error_;
  std::FILE *file_ = nullptr;
  int slot_ = -1;
};

}  // namespace qstr::cli
