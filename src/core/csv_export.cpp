#include "core/csv_export.h"

#include "core/text_lines.h"
#include "core/vb.h"

namespace qtx::csv_export {

namespace {

// The conversion of one line, in place, wherever the line lies.
void to_csv_in_place(char* begin, char* end) {
  bool in_blanks = false;
  for (char* c = begin; c != end; ++c) {
    if (*c == ':') {
      *c = ',';
    } else if (*c == ' ') {
      if (!in_blanks) *c = ',';
      in_blanks = true;
    } else {
      in_blanks = false;
    }
  }
}

// Appends the line and its CR LF to the output, converting the appended copy in place.
void append_csv_line(std::string& out, std::string_view line) {
  size_t at = out.size();
  out.append(line);
  to_csv_in_place(out.data() + at, out.data() + out.size());
  out.append(vb::CRLF);
}

}  // namespace

std::string line_to_csv(std::string& line) {
  to_csv_in_place(line.data(), line.data() + line.size());
  return line;
}

// The live tests name their logs with the dialog's default extension "LOG", so the case of the
// extension does not matter.
bool has_log_extension(std::string_view name) {
  return name.size() >= 4 && vb::LCase(name.substr(name.size() - 4)) == ".log";
}

std::string csv_name(std::string_view log_name) {
  std::string out(log_name.substr(0, log_name.size() >= 4 ? log_name.size() - 4 : 0));
  out += ".CSV";
  return out;
}

Conversion convert_log(std::string_view log_text) {
  Conversion result;
  std::string& out = result.output;
  // The output is the input less its page headings, plus the two title rows: one allocation.
  out.reserve(log_text.size() + kTitleLine1.size() + kTitleLine2.size() + 8);
  LineReader in(log_text);
  auto fail = [&result](Outcome outcome) {
    result.output = std::string();  // nothing converted yet: nothing to write
    result.outcome = outcome;
    return result;
  };

  // The header goes straight into the output: every line up to the first that completes
  // "(mmHg)". The marker holds no line end, so only the newest line can complete it; searching
  // the whole header again for every line would make a damaged log take quadratic time.
  for (;;) {
    if (in.eof()) return fail(Outcome::NoEndOfData);
    std::string_view line = in.next_view();
    out.append(line);
    out.append(vb::CRLF);
    if (line.find(kHeaderEnd) != std::string_view::npos) break;
  }
  if (out.size() < kHeaderCut) return fail(Outcome::FileError);
  out.resize(out.size() - kHeaderCut);
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
    std::string_view line = in.next_view();
    if (line.find(kEndOfData) != std::string_view::npos) break;
    if (line.find(kFormFeed) != std::string_view::npos) {
      for (int i = 0; i < kPageHeadingLines; ++i) {
        if (in.eof()) {
          result.outcome = Outcome::FileError;
          return result;
        }
        in.next_view();
      }
      continue;
    }
    append_csv_line(out, line);
  }

  // The closing lines, unchanged, after an empty line.
  out += vb::CRLF;
  out += vb::CRLF;
  while (!in.eof()) {
    out += in.next_view();
    out += vb::CRLF;
  }
  result.outcome = Outcome::Success;
  return result;
}

}  // namespace qtx::csv_export
