#include "core/help_text.h"

#include <array>

#include "core/text_lines.h"

namespace qtx::help {

namespace {

struct Row {
  const char* file;
  const char* caption;  // nullptr: the viewer keeps its caption
};

constexpr std::array<Row, kMainItems> kMainPages{{
    {"qtxmain0.txt", "Overview"},
    {"qtxmain1.txt", "File/Download"},
    {"qtxmain2.txt", "File/Edit Summary"},
    {"qtxmain3.txt", "File/Graph Data"},
    {"qtxmain4.txt", "File/Exit Qtx"},
    {"qtxmain5.txt", "Options/Change Serial Port"},
    {"qtxmain6.txt", "Options/Test Serial Port"},
    {"qtxmain7.txt", "Options System Administrator"},
}};

constexpr std::array<Row, kGraphItems> kGraphPages{{
    {"QTXgra0.txt", nullptr},
    {"QTXgra1.txt", "File/Open"},
    {"QTXgra2.txt", "Time Window"},
    {"QTXgra3.txt", "Flow Scale"},
    {"QTXgra4.txt", "Time Scale"},
    {"QTXgra5.txt", "Default"},
    {"QTXgra6.txt", "Base Rate"},
    {"QTXgra7.txt", "Flow Off/On"},
    {"QTXgra8.txt", "Volume Off/On"},
    {"QTXgra9.txt", "Exit"},
    {"QTXgra10.txt", "File/Save Graph as Image"},
    {"QTXgra11.txt", "File/Trumpet Graph"},
    {"QTXgra12.txt", "Set Rate"},
    {"QTXgra13.txt", "New Data"},
    {"QTXgra14.txt", "Scale"},
    {"QTXgra15.txt", "Print"},
    {"QTXgra16.txt", "Save"},
    {"QTXgra17.txt", "Exit"},
    {"QTXgra18.txt", "File/Print Screen"},
    {"QTXgra19.txt", "File/Exit Graph"},
}};

constexpr std::array<std::string_view, 10> kMainLeadPhrases{
    "If the 'Save to File' check box has been ticked",
    "During a download of a summary of data",
    "Text boxes in Windows 3.1 are limited",
    "During receipt of real time data,",
    "The basic editing functions Cut, Copy, Paste and Delete",
    "The final menu item is 'Options/Convert to PRN',",
    "The System Administrator form may be",
    "To create a list of entries for",
    "For each field that MUST be",
    "To save the changes",
};

constexpr std::array<std::string_view, 4> kGraphLeadPhrases{
    "No other File/... options",
    "Once the data file has been opened",
    "Along with the actual graph",
    "After selecting the",
};

template <size_t N>
bool contains_any(const std::array<std::string_view, N>& phrases, std::string_view line) {
  for (std::string_view p : phrases)
    if (line.find(p) != std::string_view::npos) return true;
  return false;
}

}  // namespace

std::optional<HelpPage> help_page(std::string_view topic, int item) {
  const Row* row = nullptr;
  if (topic == kMainTopic && item >= 0 && item < kMainItems) row = &kMainPages[static_cast<size_t>(item)];
  if (topic == kGraphTopic && item >= 0 && item < kGraphItems) row = &kGraphPages[static_cast<size_t>(item)];
  if (!row) return std::nullopt;
  HelpPage page{row->file, std::nullopt};
  if (row->caption) page.caption = row->caption;
  return page;
}

std::string shipped_file_name(int index) {
  if (index >= 0 && index < kMainItems) return kMainPages[static_cast<size_t>(index)].file;
  if (index >= kMainItems && index < kShippedFiles) return kGraphPages[static_cast<size_t>(index - kMainItems)].file;
  return {};
}

bool starts_paragraph(std::string_view topic, std::string_view line) {
  if (topic == kMainTopic) return contains_any(kMainLeadPhrases, line);
  if (topic == kGraphTopic) return contains_any(kGraphLeadPhrases, line);
  return false;
}

std::string paragraph_text(std::string_view topic, std::string_view file_bytes) {
  std::string text;
  text.reserve(file_bytes.size() + 64);
  LineReader reader(file_bytes);
  while (!reader.eof()) {
    const std::string_view line = reader.next_view();
    if (starts_paragraph(topic, line)) text += "\r\n\r\n";
    text += line;
    text += ' ';
  }
  return text;
}

}  // namespace qtx::help
