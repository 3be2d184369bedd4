// The help pages: which file and caption each topic has, and how a help file's lines become
// the text the viewer shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qtx::help {

// help_topic values: the window that opened help.
inline constexpr std::string_view kMainTopic = "main";
inline constexpr std::string_view kGraphTopic = "graph";

inline constexpr int kMainItems = 8;    // qtxmain0.txt to qtxmain7.txt
inline constexpr int kGraphItems = 20;  // QTXgra0.txt to QTXgra19.txt

struct HelpPage {
  std::string file_name;               // name in the help folder, e.g. "qtxmain3.txt"
  std::optional<std::string> caption;  // the viewer's caption; none keeps the caption it has
};

// The page of a topic and item; nothing when the topic is neither "main" nor "graph" or the
// item lies outside its table.
std::optional<HelpPage> help_page(std::string_view topic, int item);

// Every help file the program ships, in table order (main pages, then graph pages); "" outside
// 0 to kShippedFiles - 1.
inline constexpr int kShippedFiles = kMainItems + kGraphItems;
std::string shipped_file_name(int index);

// The viewer's text from a help file's bytes: a line that contains one of the topic's lead
// phrases (case-sensitive, anywhere in the line) gets CR LF CR LF in front of it, and every
// line is followed by one blank, so the file's own line breaks become blanks.
std::string paragraph_text(std::string_view topic, std::string_view file_bytes);

// Whether the line opens a paragraph in this topic.
bool starts_paragraph(std::string_view topic, std::string_view line);

}  // namespace qtx::help
