// Reading a text file line by line, as the program reads its own files: a line ends at CR LF,
// at a CR alone or at an LF alone; the line end is not part of the line. A file that ends with a
// line end has no empty line after it; a last line without a line end is still a line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qtx {

class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  // EOF: no line left to read.
  bool eof() const { return pos_ >= text_.size(); }
  // The next line; "" once the text is used up (callers test eof() first).
  std::string next();
  // The same without a copy: a view into the text being read.
  std::string_view next_view();

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

std::vector<std::string> split_lines(std::string_view text);

}  // namespace qtx
