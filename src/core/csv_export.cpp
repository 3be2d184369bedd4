#include "core/csv_export.h"

#include "core/text_lines.h"
#include "core/vb.h"

namespace qtx::csv_export {

std::string line_to_csv(std::string& line) {
  bool in_blanks = false;
  for (char& c : line) {
    if (c == ':') {
      c = ',';
    } else if (c == ' ') {
      if (!in_blanks) c = ',';
      in_blanks = true;
    } else {
      in_blanks = false;
    }
  }
  return line;
}

bool has_log_extension(std::string_view name) { return name.size() >= 4 && name.substr(name.size() - 4) == ".log"; }

std::string csv_name(std::string_view log_name) {
  std::string out(log_name.substr(0, log_name.size() >= 4 ? log_name.size() - 4 : 0));
  out += ".CSV";
  return out;
}

Conversion convert_log(std::string_view log_text) {
  Conversion result;
  std::string& out = result.output;
  LineReader in(log_text);

  // The header: every line up to the first that completes "(mmHg)".
  std::string header;
  bool header_done = false;
  while (!header_done) {
    if (in.eof()) {
      result.outcome = Outcome::NoEndOfData;
      return result;
    }
    header += in.next();
    header += vb::CRLF;
    if (header.find(kHeaderEnd) != std::string::npos) header_done = true;
  }
  if (header.size() < kHeaderCut) {
    result.outcome = Outcome::FileError;
    return result;
  }
  out += header.substr(0, header.size() - kHeaderCut);
  out += ",";
  out += vb::CRLF;
  out += vb::CRLF;
  out += kTitleLine1;
  out += vb::CRLF;
  out += kTitleLine2;
  out += vb::CRLF;

  // The rows, without the page headings.
  for (;;) {
    if (in.eof()) {
      result.outcome = Outcome::NoEndOfData;
      return result;
    }
    std::string line = in.next();
    if (line.find(kEndOfData) != std::string::npos) break;
    if (line.find(kFormFeed) != std::string::npos) {
      for (int i = 0; i < kPageHeadingLines; ++i) {
        if (in.eof()) {
          result.outcome = Outcome::FileError;
          return result;
        }
        in.next();
      }
      continue;
    }
    out += line_to_csv(line);
    out += vb::CRLF;
  }

  // The closing lines, unchanged, after an empty line.
  out += vb::CRLF;
  out += vb::CRLF;
  while (!in.eof()) {
    out += in.next();
    out += vb::CRLF;
  }
  result.outcome = Outcome::Success;
  return result;
}

}  // namespace qtx::csv_export
