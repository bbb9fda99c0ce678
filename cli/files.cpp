// The files of the qstr tool: inputs that say why they cannot be read,
// outputs that appear whole or not at all, and temporary files that do not
// outlive the tool, not even when it is stopped by a signal.
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <climits>
#include <pthread.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>

#ifndef O_BINARY
#define O_BINARY 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif

namespace qstr::cli {
namespace {

#ifdef _WIN32
using ProcessId = int;
ProcessId currentProcess() { return _getpid(); }
constexpr int kStopSignals[] = {SIGINT, SIGTERM};
int syncFile(int fd) { return _commit(fd); }
#else
using ProcessId = pid_t;
ProcessId currentProcess() { return getpid(); }
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
int syncFile(int fd) { return fsync(fd); }
#endif

std::string describeError(const std::string &name, int error) { return name + ": " + std::strerror(error); }

// ---- The files a stop signal removes ----
//
// The signal handler may only do what is async-signal-safe, so the paths it
// removes live in fixed buffers. A slot is Free, Claimed (normal code is
// writing its path; the handler leaves it alone), Armed (the handler may
// remove the file) or Taken (the handler or the exit sweep is removing the
// file and the process is ending). Normal code leaves Armed only by a
// compare-and-swap to Claimed, so it never rewrites a path the handler is
// reading, and the handler removes a file only after winning the swap from
// Armed to Taken.

enum SlotState : int { kFree, kClaimed, kArmed, kTaken };
constexpr int kSlots = 256;
constexpr std::size_t kPathBytes = 4096;

struct Slot {
  std::atomic<int> state{kFree};
  ProcessId owner = 0;  // a forked child leaves its parent's files alone
  char path[kPathBytes];
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slot states");
Slot slots[kSlots];

// Removes every armed file of this process. Async-signal-safe.
void removeArmedFiles() {
  const ProcessId self = currentProcess();
  for (Slot &slot : slots) {
    int armed = kArmed;
    if (slot.state.compare_exchange_strong(armed, kTaken) && slot.owner == self) unlink(slot.path);
  }
}

void onStopSignal(int signal) {
  const int savedErrno = errno;
  removeArmedFiles();
  // Stopped the way the signal stops a process, so that the exit status
  // says what happened: the default action, raised again. The signal is
  // held back until the handler returns.
#ifdef _WIN32
  std::signal(signal, SIG_DFL);
#else
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
#endif
  raise(signal);
  errno = savedErrno;
}

// Installs the handler once in each process (a forked child installs its
// own). A signal the tool was started with ignored (nohup, a background
// job) stays ignored.
void installStopHandler() {
  static std::mutex mutex;
  static ProcessId installedIn = 0;
  const std::lock_guard<std::mutex> lock(mutex);
  if (installedIn == currentProcess()) return;
  if (installedIn == 0) std::atexit(removeArmedFiles);
  installedIn = currentProcess();
  for (const int signal : kStopSignals) {
#ifdef _WIN32
    if (std::signal(signal, onStopSignal) == SIG_IGN) std::signal(signal, SIG_IGN);
#else
    struct sigaction old {};
    if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int other : kStopSignals) sigaddset(&action.sa_mask, other);
    sigaction(signal, &action, nullptr);
#endif
  }
}

// Arms a slot for `path`: -1 when the path is too long or every slot is in
// use.
int arm(const std::string &path) {
  if (path.size() >= kPathBytes) return -1;
  installStopHandler();
  for (int i = 0; i < kSlots; ++i) {
    int free = kFree;
    if (!slots[i].state.compare_exchange_strong(free, kClaimed)) continue;
    std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
    slots[i].owner = currentProcess();
    slots[i].state.store(kArmed, std::memory_order_release);
    return i;
  }
  return -1;
}

// Frees a slot whose file is gone or in place. When the handler has taken
// it, the process is ending and the slot is left to it.
void disarm(int slot) {
  if (slot < 0) return;
  int armed = kArmed;
  if (slots[slot].state.compare_exchange_strong(armed, kClaimed)) slots[slot].state.store(kFree);
}

// Holds the stop signals back in this thread while a file is created and
// armed, or renamed or removed and disarmed, so that a signal finds neither
// a file that is not yet armed nor an armed name that now belongs to the
// target.
class StopSignalsHeld {
 public:
#ifdef _WIN32
  StopSignalsHeld() {}
#else
  StopSignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kStopSignals) sigaddset(&set, signal);
    pthread_sigmask(SIG_BLOCK, &set, &saved_);
  }
  ~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

 private:
  sigset_t saved_;
#endif
};

// Why a temporary file could not be made: an errno value, or kNoSlot
// when every slot is in use.
constexpr int kNoSlot = -1;

std::string reasonOf(int failure) {
  return failure == kNoSlot ? "too many temporary files at once" : std::strerror(failure);
}

// Creates a file named `prefix` and six random characters, open for
// reading and writing with `mode` less the umask, and arms it. Returns the
// descriptor with `path` and `slot`, or -1 with `failure`.
int createArmed(const std::string &prefix, int mode, std::string &path, int &slot, int &failure) {
  static const char kDigits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static std::atomic<std::uint64_t> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    // A mix of the time, the process and a counter (splitmix64): enough to
    // make names that clash rare; O_EXCL makes a clash harmless.
    std::uint64_t bits = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         static_cast<std::uint64_t>(currentProcess()) << 40 ^
                         counter.fetch_add(1) * 0x9E3779B97F4A7C15ull;
    bits = (bits ^ bits >> 30) * 0xBF58476D1CE4E5B9ull;
    bits = (bits ^ bits >> 27) * 0x94D049BB133111EBull;
    bits ^= bits >> 31;
    path = prefix;
    for (int i = 0; i < 6; ++i, bits /= 62) path += kDigits[bits % 62];

    const StopSignalsHeld held;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_BINARY | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      failure = errno;
      return -1;
    }
    slot = arm(path);
    if (slot < 0) {
      close(fd);
      unlink(path.c_str());
      failure = kNoSlot;
      return -1;
    }
    return fd;
  }
  failure = EEXIST;
  return -1;
}

// Removes a temporary file and frees its slot.
void removeArmed(const std::string &path, int &slot) {
  const StopSignalsHeld held;
  unlink(path.c_str());
  disarm(slot);
  slot = -1;
}

// The file that replacing `path` replaces: its symbolic links followed to
// the end (a final link that points nowhere names the file to create).
// False, with errno, for a loop.
bool followLinks(std::string &path) {
#ifndef _WIN32
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
    char buffer[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), buffer, sizeof buffer);
    if (length < 0) return false;
    if (static_cast<std::size_t>(length) == sizeof buffer) {
      errno = ENAMETOOLONG;
      return false;
    }
    std::string link(buffer, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    // A relative link is relative to the folder that holds it.
    path = link[0] == '/' || slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
  }
  errno = ELOOP;
  return false;
#else
  (void)path;
  return true;
#endif
}

std::string folderOf(const std::string &path) {
#ifdef _WIN32
  const std::size_t slash = path.find_last_of("/\\");
#else
  const std::size_t slash = path.rfind('/');
#endif
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Puts the temporary file in place of the target; 0 or an errno value.
int replace(const std::string &temporary, const std::string &target) {
#ifdef _WIN32
  if (MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  return EACCES;
#else
  if (std::rename(temporary.c_str(), target.c_str()) != 0) return errno;
  // The new name on disk too: the folder is synced (where the system allows).
  const int folder = open(folderOf(target).c_str(), O_RDONLY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return 0;
#endif
}

}  // namespace

// ---- InputFile ----

InputFile::InputFile(const std::string &path) {
  if (path.empty() || path == "-") {
    name_ = "standard input";
    file_ = stdin;
  } else {
    name_ = path;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
      error_ = describeError(name_, errno);
      return;
    }
  }
  struct stat info {};
  int failure = fstat(fileno(file_), &info) != 0 ? errno : 0;
  if (failure == 0 && S_ISDIR(info.st_mode)) failure = EISDIR;
  if (failure != 0) {
    error_ = describeError(name_, failure);
    if (file_ != stdin) std::fclose(file_);
    file_ = nullptr;
    return;
  }
  if (S_ISREG(info.st_mode)) size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
  if (file_ != nullptr && file_ != stdin) std::fclose(file_);
}

// Reads the descriptor directly: what a pipe or a terminal has is passed
// on as it comes rather than when a whole buffer is full.
std::size_t InputFile::read(std::uint8_t *data, std::size_t capacity) {
  if (file_ == nullptr || !error_.empty() || capacity == 0) return 0;
  for (;;) {
#ifdef _WIN32
    const int got = _read(fileno(file_), data, static_cast<unsigned>(capacity > (1u << 30) ? 1u << 30 : capacity));
#else
    const ssize_t got = ::read(fileno(file_), data, capacity);
#endif
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno == EINTR) continue;
    error_ = describeError(name_, errno);
    return 0;
  }
}

bool InputFile::readAll(std::string &bytes) {
  constexpr std::size_t kChunk = 1 << 16;
  if (size_ != 0) bytes.reserve(bytes.size() + static_cast<std::size_t>(size_) + 1);
  for (;;) {
    const std::size_t start = bytes.size();
    bytes.resize(start + kChunk);
    const std::size_t got = read(reinterpret_cast<std::uint8_t *>(bytes.data() + start), kChunk);
    bytes.resize(start + got);
    if (got == 0) return error_.empty();
  }
}

// ---- OutputFile ----

OutputFile::OutputFile(const std::optional<std::string> &path) {
  if (!path || path->empty() || *path == "-") {
    name_ = "standard output";
    file_ = stdout;
    return;
  }
  name_ = *path;
  struct stat info {};
  if (stat(name_.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      error_ = describeError(name_, EISDIR);
      return;
    }
    if (!S_ISREG(info.st_mode)) {
      // A device or a pipe (/dev/null, /dev/stdout) cannot be replaced:
      // it is written to as it is.
      file_ = std::fopen(name_.c_str(), "wb");
      if (file_ == nullptr) error_ = describeError(name_, errno);
      return;
    }
    mode_ = static_cast<int>(info.st_mode & 07777);
    owner_ = static_cast<long>(info.st_uid);
    group_ = static_cast<long>(info.st_gid);
  } else if (errno != ENOENT) {
    error_ = describeError(name_, errno);
    return;
  }
  target_ = name_;
  if (!followLinks(target_)) {
    error_ = describeError(name_, errno);
    return;
  }
  // The temporary file is private while it is written when it replaces a
  // file (commit gives it that file's mode); a new file is created with
  // 0666 less the umask, as any new file.
  const int mode = mode_ >= 0 ? 0600 : 0666;
  int failure = 0;
  int fd = createArmed(target_ + ".tmp.", mode, temporary_, slot_, failure);
  if (fd < 0 && failure == ENAMETOOLONG) {  // a name near the longest the folder takes
    fd = createArmed(folderOf(target_) + "/.qstr.tmp.", mode, temporary_, slot_, failure);
  }
  if (fd < 0) {
    temporary_.clear();
    error_ = name_ + ": " + reasonOf(failure);
    return;
  }
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    error_ = describeError(name_, errno);
    close(fd);
    removeArmed(temporary_, slot_);
    temporary_.clear();
  }
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::discard() {
  if (file_ != nullptr && file_ != stdout) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty() && !committed_) removeArmed(temporary_, slot_);
  temporary_.clear();
}

bool OutputFile::write(std::string_view bytes) {
  if (file_ == nullptr || !error_.empty()) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    error_ = describeError(name_, errno);
    return false;
  }
  return true;
}

bool OutputFile::commit() {
  if (committed_) return true;
  if (file_ == nullptr || !error_.empty()) {
    discard();
    return false;
  }
  int failure = std::fflush(file_) != 0 ? errno : 0;
  if (temporary_.empty()) {
    // Standard output, a device or a pipe: written in place.
    if (file_ != stdout && std::fclose(file_) != 0 && failure == 0) failure = errno;
    if (file_ != stdout) file_ = nullptr;
  } else {
#ifndef _WIN32
    const int fd = fileno(file_);
    if (failure == 0 && mode_ >= 0) {
      // The owner and group of the file replaced, where this process may
      // give them (changing the owner clears set-ID bits, so it comes
      // first); then its mode.
      if (fchown(fd, static_cast<uid_t>(owner_), static_cast<gid_t>(group_)) != 0) {
        if (fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(group_)) != 0) {
        }
      }
      if (fchmod(fd, static_cast<mode_t>(mode_)) != 0) failure = errno;
    }
#endif
    if (failure == 0 && syncFile(fileno(file_)) != 0) failure = errno;
    if (std::fclose(file_) != 0 && failure == 0) failure = errno;
    file_ = nullptr;
    if (failure == 0) {
      const StopSignalsHeld held;
      failure = replace(temporary_, target_);
      if (failure == 0) {
        disarm(slot_);
        slot_ = -1;
        temporary_.clear();
      }
    }
  }
  if (failure != 0) {
    error_ = describeError(name_, failure);
    discard();
    return false;
  }
  committed_ = true;
  return true;
}

// ---- TemporaryFile ----

TemporaryFile::TemporaryFile() {
#ifdef _WIN32
  const char *variables[] = {"TMPDIR", "TEMP", "TMP"};
  std::string folder = ".";
#else
  const char *variables[] = {"TMPDIR"};
  std::string folder = "/tmp";
#endif
  for (const char *variable : variables) {
    const char *value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      folder = value;
      break;
    }
  }
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  int failure = 0;
  const int fd = createArmed(folder + "/qstr-", 0600, path_, slot_, failure);
  if (fd < 0) {
    path_.clear();
    error_ = folder + ": " + reasonOf(failure);
    return;
  }
  file_ = fdopen(fd, "w+b");
  if (file_ == nullptr) {
    error_ = describeError(path_, errno);
    close(fd);
    removeArmed(path_, slot_);
    path_.clear();
  }
}

TemporaryFile::~TemporaryFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!path_.empty()) removeArmed(path_, slot_);
}

}  // namespace qstr::cli
