#include "platform/held_name.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/paths.h"

namespace qtx::files {

namespace {

// The hidden lock file beside the name.
std::string lock_path(std::string_view path) {
  const size_t slash = path.rfind(kPathSeparator);
  const size_t base = slash == std::string_view::npos ? 0 : slash + 1;
  std::string lock(path.substr(0, base));
  lock += '.';
  lock += path.substr(base);
  lock += ".lock";
  return lock;
}

class LockedName final : public HeldName {
 public:
  LockedName(std::string path, std::string lock, int fd) : path_(std::move(path)), lock_(std::move(lock)), fd_(fd) {}
  ~LockedName() override {
    // Removed while still locked: a copy that opened it meanwhile finds, once it has the lock,
    // that the name no longer leads to it, and takes the lock file the name leads to then.
    ::unlink(lock_.c_str());
    ::close(fd_);
  }
  const std::string& path() const override { return path_; }

 private:
  std::string path_;
  std::string lock_;
  int fd_;
};

}  // namespace

std::unique_ptr<HeldName> hold_name(std::string_view path) {
  if (path.empty()) return nullptr;
  const std::string lock = lock_path(path);
  // A few rounds at most: each one lost means another copy let go of the name in between.
  for (int round = 0; round < 4; ++round) {
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat held {};
    if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return nullptr;
    }
    struct stat named {};
    if (::stat(lock.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
      return std::make_unique<LockedName>(std::string(path), lock, fd);
    ::close(fd);
  }
  return nullptr;
}

}  // namespace qtx::files
