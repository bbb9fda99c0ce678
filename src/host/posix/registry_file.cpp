// Portable backend: reading, locking and saving the registry file.
#include "host/posix/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "host/host.h"
#include "host/registry_store.h"
#include "regdb/format.h"

namespace qstr::host::registry {
using regdb::ParseError;
using regdb::formatRegistryText;
using regdb::kMaxFileBytes;
using regdb::parseRegistryText;

namespace {

// Closes a descriptor when it goes out of scope; closing a lock file's
// descriptor releases its lock.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string folderOf(const std::string &path) {
  std::size_t cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  if (cut == 0) return "/";
  return path.substr(0, cut);
}

// mkdir -p: creates `folder` and its missing parents. 0 or an errno value.
int makeFolders(const std::string &folder) {
  struct stat info;
  if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
  std::string parent = folderOf(folder);
  if (parent != folder) {
    if (int error = makeFolders(parent)) return error;
  }
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  return 0;
}

bool writeAll(int fd, const std::string &text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// Reads at most `limit` + 1 bytes, so that an over-long file is noticed
// without reading it all. 0 or an errno value.
int readAll(int fd, std::size_t limit, std::string *text) {
  text->clear();
  char chunk[65536];
  while (text->size() <= limit) {
    ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) break;
    text->append(chunk, static_cast<std::size_t>(got));
  }
  return 0;
}

}  // namespace

bool RegistryFile::Stamp::operator==(const Stamp &other) const {
  if (exists != other.exists) return false;
  if (!exists) return true;
  return device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

int32_t RegistryFile::ioFailure(const std::string &what, int error) {
  problem_ = path_ + ": " + what + ": " + std::strerror(error);
  return error == EACCES || error == EPERM || error == EROFS ? kErrorAccessDenied
                                                             : kErrorRegistryIo;
}

int32_t RegistryFile::statFile(Stamp *stamp) {
  struct stat info;
  *stamp = Stamp{};
  if (::stat(path_.c_str(), &info) != 0) {
    if (errno == ENOENT) return kErrorSuccess;
    return ioFailure("cannot examine the registry file", errno);
  }
  stamp->exists = true;
  stamp->device = info.st_dev;
  stamp->inode = info.st_ino;
  stamp->size = info.st_size;
  stamp->modified = info.st_mtim;
  return kErrorSuccess;
}

int32_t RegistryFile::load(Tree &tree, const Stamp &stamp) {
  loaded_ = true;
  stamp_ = stamp;
  problem_.clear();
  tree.clear();
  if (!stamp.exists) return status_ = kErrorSuccess;
  Descriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0 && errno == ENOENT) {  // removed since it was examined
    stamp_ = Stamp{};
    return status_ = kErrorSuccess;
  }
  if (fd.get() < 0) {
    loaded_ = false;  // try again at the next use
    return status_ = ioFailure("cannot open the registry file", errno);
  }
  std::string text;
  if (int error = readAll(fd.get(), kMaxFileBytes, &text)) {
    loaded_ = false;
    return status_ = ioFailure("cannot read the registry file", error);
  }
  if (text.size() > kMaxFileBytes) {
    problem_ = path_ + ":1: the file is larger than " + std::to_string(kMaxFileBytes) + " bytes";
    return status_ = kErrorBadDb;
  }
  ParseError error;
  if (!parseRegistryText(text, tree, error)) {
    tree.clear();
    problem_ = path_ + ":" + std::to_string(error.line) + ": " + error.message;
    return status_ = kErrorBadDb;
  }
  return status_ = kErrorSuccess;
}

int32_t RegistryFile::refresh(Tree &tree) {
  Stamp now;
  if (int32_t status = statFile(&now)) {
    loaded_ = false;
    return status;
  }
  if (loaded_ && now == stamp_) return status_;
  return load(tree, now);
}

int32_t RegistryFile::save(const Tree &tree) {
  std::string temporary = path_ + ".XXXXXX";
  Descriptor fd(::mkstemp(temporary.data()));
  if (fd.get() < 0) return ioFailure("cannot create a temporary file", errno);
  std::string text = formatRegistryText(tree);
  struct stat info;
  bool written = writeAll(fd.get(), text) && ::fsync(fd.get()) == 0 && ::fstat(fd.get(), &info) == 0;
  int error = errno;
  if (!written || ::rename(temporary.c_str(), path_.c_str()) != 0) {
    if (written) error = errno;
    ::unlink(temporary.c_str());
    return ioFailure("cannot save the registry file", error);
  }
  Descriptor folder(::open(folderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  // What we just wrote is what the next refresh would read.
  stamp_ = Stamp{true, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
  loaded_ = true;
  status_ = kErrorSuccess;
  return kErrorSuccess;
}

int32_t RegistryFile::update(Tree &tree, const Change &change) {
  if (int error = makeFolders(folderOf(path_))) {
    return ioFailure("cannot create the registry folder", error);
  }
  std::string lockPath = path_ + ".lock";
  Descriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (lock.get() < 0) return ioFailure("cannot open the lock file " + lockPath, errno);
  while (::flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return ioFailure("cannot lock " + lockPath, errno);
  }
  if (int32_t status = refresh(tree)) return status;
  bool changed = false;
  int32_t result = change(tree, &changed);
  if (!changed) return result;
  if (int32_t status = save(tree)) {
    loaded_ = false;  // the tree holds a change the file does not: read it again
    return status;
  }
  return result;
}

}  // namespace qstr::host::registry
