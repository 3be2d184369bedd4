#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <csignal>

#include "core/text_lines.h"
#include "platform/text.h"

namespace qtx::files {

bool exists(std::string_view path) {
  QFileInfo fi(pathToQ(path));
  return !path.empty() && fi.exists() && fi.isFile();
}

bool remove(std::string_view path) {
  // Files only: a name that turns out to be a folder, a pipe or a device is never deleted.
  return !path.empty() && QFileInfo(pathToQ(path)).isFile() && QFile::remove(pathToQ(path));
}

std::string current_folder() { return pathFromQ(QDir::toNativeSeparators(QDir::currentPath())); }

namespace {

// The name as the system calls take it: the program keeps names in the file system's encoding.
QByteArray native_name(std::string_view path) { return QByteArray(path.data(), static_cast<qsizetype>(path.size())); }

}  // namespace

bool larger_than(std::string_view path, std::uint64_t limit) {
  if (path.empty()) return false;
  const QFileInfo fi(pathToQ(path));
  return fi.isFile() && static_cast<std::uint64_t>(fi.size()) > limit;
}

std::optional<std::string> read_all(std::string_view path) {
  if (path.empty()) return std::nullopt;
  // Only plain files: a folder cannot be read, and a pipe or device could block the program.
  QFileInfo fi(pathToQ(path));
  if (!fi.isFile()) return std::nullopt;
  QFile f(pathToQ(path));
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray data = f.readAll();
  if (f.error() != QFileDevice::NoError) return std::nullopt;
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

std::optional<std::vector<std::string>> read_lines(std::string_view path) {
  std::optional<std::string> text = read_all(path);
  if (!text) return std::nullopt;
  return split_lines(*text);
}

bool write_all(std::string_view path, std::string_view bytes) {
  if (path.empty() || QFileInfo(pathToQ(path)).isDir()) return false;
  QSaveFile f(pathToQ(path));
  // A file that may be written in a folder that may not: written in place.
  f.setDirectWriteFallback(true);
  // Unbuffered: a buffered write that the disk (or a file-size limit) takes only in part is
  // lost in the buffer's flush, and the cut file would be committed as a success.
  if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  if (f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
    f.cancelWriting();
    return false;
  }
  return f.commit();
}

bool can_write(std::string_view path) {
  if (path.empty()) return false;
  QByteArray name = native_name(path);
  QFileInfo fi(pathToQ(path));
  if (fi.isDir()) return false;
  if (fi.exists() || fi.isSymLink()) {
    // Opened for appending, never truncated; not blocking on a pipe without a reader.
    int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
  }
  int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(name.constData());
  return true;
}

std::unique_ptr<OpenFile> OpenFile::create(std::string_view path) {
  if (path.empty()) return nullptr;
  QByteArray name = native_name(path);
  // Not blocking on a pipe that nobody reads (plain files ignore the flag).
  int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  return std::unique_ptr<OpenFile>(new OpenFile(std::string(path), fd));
}

OpenFile::~OpenFile() { close(); }

bool OpenFile::write(std::string_view bytes) {
  if (fd_ < 0) return false;
  const off_t start = ::lseek(fd_, 0, SEEK_CUR);
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      // Taken back whole: the file ends where it ended before this write, so a full disk or a
      // file-size limit never leaves half a row in it.
      if (p != bytes.data() && start >= 0 && ::ftruncate(fd_, start) == 0) ::lseek(fd_, start, SEEK_SET);
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

void fail_writes_past_size_limit() { std::signal(SIGXFSZ, SIG_IGN); }

bool OpenFile::flush() {
  if (fd_ < 0) return false;
  // On the disk, so a crash or a power cut loses nothing already logged.
  // A file system that cannot sync (EINVAL) still has the bytes.
  if (::fdatasync(fd_) != 0 && errno != EINVAL) return false;
  // A file whose name is gone (it, or its folder, was deleted while it was open) takes the
  // writes but keeps none of them: that is a failed write too.
  struct stat st {};
  return ::fstat(fd_, &st) == 0 && st.st_nlink > 0;
}

void OpenFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace qtx::files
