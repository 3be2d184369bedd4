// Files by the program's own names (in the file system's encoding, UTF-8, folders joined with the
// native separator).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_sink.h"

namespace qtx::files {

bool exists(std::string_view path);
// Deletes the file; false when it could not be deleted (or did not exist, or is not a plain
// file).
bool remove(std::string_view path);
// The current folder, with native separators.
std::string current_folder();

// Whether the path names a plain file of more than `limit` bytes: asked before a file is read
// whole, so that a file far beyond what the program can show is refused without reading it.
bool larger_than(std::string_view path, std::uint64_t limit);

// The whole file as bytes; nothing when it cannot be opened or read (a folder included).
std::optional<std::string> read_all(std::string_view path);
// The lines of a text file (CR LF, CR or LF end a line); nothing when it cannot be read.
std::optional<std::vector<std::string>> read_lines(std::string_view path);
// Writes the bytes as the whole file. The old contents are replaced only once the new ones are
// completely written, so a failed write leaves the file as it was. False on failure.
bool write_all(std::string_view path, std::string_view bytes);
// Whether a file of this name can be written, without changing anything: an existing file is
// opened for appending and closed untouched; a file the check had to create is removed again.
bool can_write(std::string_view path);

// A write past the process's file-size limit (ulimit -f) fails like a full disk, instead of
// ending the program with SIGXFSZ. The program calls this once at start.
void fail_writes_past_size_limit();

// A file that stays open while the program adds to it (a data log during a test). It is
// created, or emptied when it exists, on opening; every write goes straight to the file and
// flush() puts it on the disk (false too once the file has been deleted under it). A write is
// taken whole or not at all: one the file cannot take completely (a full disk, a file-size
// limit) is cut off again, and the next write goes on from where the file ended before it.
class OpenFile : public LineSink {
 public:
  // Nothing when the file cannot be created.
  static std::unique_ptr<OpenFile> create(std::string_view path);
  ~OpenFile() override;
  bool write(std::string_view bytes) override;
  bool flush() override;
  void close();
  const std::string& path() const { return path_; }

 private:
  OpenFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
  std::string path_;
  int fd_ = -1;
};

}  // namespace qtx::files
