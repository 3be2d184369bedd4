#include "core/report_printout.h"

#include "core/vb.h"

namespace qtx {

std::vector<PrintStep> ReportPrintout::steps(std::string line) {
  std::vector<PrintStep> out;
  const auto holds = [&line](std::string_view what) { return line.find(what) != std::string::npos; };
  if (holds("SUMMARY")) summary_seen_ = true;
  if (summary_seen_ && holds("\f")) {
    ++page_;
    out.push_back({PrintStep::kNewPage, {}});
    out.push_back({PrintStep::kLine, {}});
    // The page number as a number prints: a blank before a positive number.
    out.push_back({PrintStep::kLine, std::string(66, ' ') + "p. " + " " + vb::to_text(page_)});
    out.push_back({PrintStep::kLine, "        Filename " + file_name_});
  }
  if (holds("p.")) {
    if (!holds("p. 01")) out.push_back({PrintStep::kNewPage, {}});
    vb::MidAssign(line, 9, 60, "Filename:  " + file_name_);
  }
  out.push_back({PrintStep::kLine, std::move(line)});
  return out;
}

}  // namespace qtx
