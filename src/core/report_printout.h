// The printed report: a report file printed line by line, with pages broken at the form-feed
// lines of a summary (numbered from 2) and at the page lines ("p.") of a data log, and the file
// name written over every page line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/print_item.h"

namespace qtx {

struct PrintStep {
  enum Kind { kNewPage, kLine };
  Kind kind = kLine;
  std::vector<PrintItem> items;  // the line's text; the file name is an item of its own
};

class ReportPrintout {
 public:
  // `file_name`: the report file's name as the file system spells it, printed as it stands.
  explicit ReportPrintout(std::string file_name) : file_name_(std::move(file_name)) {}

  // What one line of the file prints: the page break and page heading it brings, then the line.
  std::vector<PrintStep> steps(std::string line);

 private:
  std::string file_name_;
  int page_ = 1;
  bool summary_seen_ = false;
};

}  // namespace qtx
