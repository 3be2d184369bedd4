#include "support/recording_printer.h"

namespace qtx::test {

RecordingPrinter::Document& RecordingPrinter::current() {
  if (!open_) {
    documents.emplace_back();
    open_ = true;
  }
  return documents.back();
}

bool RecordingPrinter::setFontName(std::string_view name) {
  if (fail_font) return false;
  font_ = std::string(name);
  return true;
}

bool RecordingPrinter::print(const std::vector<PrintItem>& items, bool end_line) {
  Document& d = current();
  if (failed_ || (fail_from_print >= 0 && prints >= fail_from_print)) {
    ++prints;
    ++failures;
    failed_ = true;
    return false;
  }
  ++prints;
  std::string text;
  for (const PrintItem& item : items) {
    text += item.text;
    if (item.next_zone) text += "|";
  }
  Page& page = d.pages.back();
  if (!end_line) text += "\\";
  page.push_back(Line{text, font_, size_, bold_, italic_});
  return true;
}

bool RecordingPrinter::newPage() {
  if (failed_) return false;
  current().pages.emplace_back();
  return true;
}

bool RecordingPrinter::endDoc() {
  if (!open_) return !failed_;
  const bool ok = !failed_;
  documents.back().ended = ok;
  open_ = false;
  failed_ = false;
  return ok;
}

void RecordingPrinter::killDoc() {
  open_ = false;
  failed_ = false;
}

std::vector<std::vector<std::string>> RecordingPrinter::sentPages() const {
  std::vector<std::vector<std::string>> out;
  for (const Document& d : documents) {
    if (!d.ended) continue;
    for (const Page& p : d.pages) {
      std::vector<std::string> lines;
      for (const Line& l : p) lines.push_back(l.text);
      out.push_back(std::move(lines));
    }
  }
  return out;
}

}  // namespace qtx::test
