#include "core/report_printout.h"

#include <algorithm>

#include "core/paths.h"
#include "core/vb.h"

namespace qtx {

namespace {

constexpr std::string_view kFilenameLabel = "Filename:  ";

// The page line with "Filename:  " and the name written over its characters 9 to 68, as far as
// the line goes: the line's own text around it, the name as an item of its own.
std::vector<PrintItem> named_page_line(const std::string& line, const std::string& file_name) {
  if (line.size() < 9) return {PrintItem{line}};
  const size_t room = std::min<size_t>(60, line.size() - 8);
  const size_t label = std::min(room, kFilenameLabel.size());
  const std::string name = path_left(file_name, room - label);
  const size_t covered = label + path_length(name);
  std::vector<PrintItem> items{PrintItem{line.substr(0, 8) + std::string(kFilenameLabel.substr(0, label))}};
  if (!name.empty()) items.push_back(path_item(name));
  items.push_back(PrintItem{line.substr(8 + covered)});
  return items;
}

}  // namespace

std::vector<PrintStep> ReportPrintout::steps(std::string line) {
  std::vector<PrintStep> out;
  const auto holds = [&line](std::string_view what) { return line.find(what) != std::string::npos; };
  if (holds("SUMMARY")) summary_seen_ = true;
  if (summary_seen_ && holds("\f")) {
    ++page_;
    out.push_back({PrintStep::kNewPage, {}});
    out.push_back({PrintStep::kLine, {}});
    // The page number as a number prints: a blank before a positive number.
    out.push_back({PrintStep::kLine, {PrintItem{std::string(66, ' ') + "p. " + " " + vb::to_text(page_)}}});
    out.push_back({PrintStep::kLine, {PrintItem{"        Filename "}, path_item(file_name_)}});
  }
  if (holds("p.")) {
    if (!holds("p. 01")) out.push_back({PrintStep::kNewPage, {}});
    out.push_back({PrintStep::kLine, named_page_line(line, file_name_)});
    return out;
  }
  out.push_back({PrintStep::kLine, {PrintItem{std::move(line)}}});
  return out;
}

}  // namespace qtx
