#include "core/text_lines.h"

namespace qtx {

std::string LineReader::next() { return std::string(next_view()); }

std::string_view LineReader::next_view() {
  if (eof()) return {};
  // A plain scan: find_first_of tests every byte against the set with a call of its own.
  size_t end = pos_;
  while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
  if (end == text_.size()) {
    std::string_view line = text_.substr(pos_);
    pos_ = text_.size();
    return line;
  }
  std::string_view line = text_.substr(pos_, end - pos_);
  pos_ = end + 1;
  if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  return line;
}

std::vector<std::string> split_lines(std::string_view text) {
  std::vector<std::string> lines;
  LineReader reader(text);
  while (!reader.eof()) lines.push_back(reader.next());
  return lines;
}

}  // namespace qtx
