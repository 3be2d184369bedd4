#include "core/csv_export.h"

#include <gtest/gtest.h>

#include "support/test_data.h"

#include <fstream>
#include <random>
#include <sstream>

#include "core/file_names.h"
#include "core/paths.h"
#include "core/text_lines.h"

using namespace qtx;
using namespace qtx::csv_export;

namespace {

std::string csv(std::string line) { return line_to_csv(line); }

bool ends_with(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

size_t count(const std::string& text, std::string_view what) {
  size_t n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

// An RFC 4180 reader: fields split by commas, double quotes around a field that holds commas.
std::vector<std::vector<std::string>> parse_csv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(field);
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      row.push_back(field);
      rows.push_back(row);
      row.clear();
      field.clear();
      ++i;
    } else {
      field += c;
    }
  }
  if (!field.empty() || !row.empty()) {
    row.push_back(field);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

TEST(LineToCsv, FirstBlankOfEachRunAndEveryColon) {
  EXPECT_EQ(csv("         12:34:56  1.234   1.234    12.34     12.3"),
            ",        12,34,56, 1.234,  1.234,   12.34,    12.3");
  EXPECT_EQ(csv("  a  b"), ", a, b");
  // A colon inside a run of blanks leaves the run going on.
  EXPECT_EQ(csv("a : b"), "a,, b");
  EXPECT_EQ(csv(""), "");
  EXPECT_EQ(csv("x"), "x");
  std::string line = "1 2";
  std::string result = line_to_csv(line);
  EXPECT_EQ(result, "1,2");
  EXPECT_EQ(line, "1,2");  // also left in the caller's text
}

TEST(CsvNames, LogInAnyCaseAndUpperCaseCsv) {
  EXPECT_TRUE(has_log_extension("/save/run1.log"));
  EXPECT_TRUE(has_log_extension("/save/run1.LOG"));
  EXPECT_TRUE(has_log_extension("/save/run1.Log"));
  EXPECT_FALSE(has_log_extension("/save/run1.sum"));
  EXPECT_FALSE(has_log_extension("/save/run1.lgo"));
  EXPECT_FALSE(has_log_extension("log"));
  EXPECT_TRUE(has_log_extension(".log"));
  EXPECT_EQ(csv_name("/save/run1.log"), "/save/run1.CSV");
  EXPECT_EQ(csv_name("/save/RUN1.LOG"), "/save/RUN1.CSV");
  EXPECT_EQ(csv_name(".log"), ".CSV");
}

TEST(ConvertLog, RateLogWithPageBreaks) {
  std::string log = qtx::test::read_test_data("rate_log_82_rows.log");
  Conversion c = convert_log(log);
  ASSERT_EQ(c.outcome, Outcome::Success);

  // The header block: every log line up to the column titles, less 110 characters, so it ends
  // in the test name cut after "SINGLE RATE ".
  size_t titles = log.find("(mmHg)\r\n") + 8;
  std::string header = log.substr(0, titles);
  std::string block = header.substr(0, header.size() - 110) + ",\r\n\r\n";
  EXPECT_TRUE(ends_with(block, "\r\n         SINGLE RATE ,\r\n\r\n"));
  ASSERT_EQ(c.output.substr(0, block.size()), block);
  std::string rest = c.output.substr(block.size());
  const std::string titles_text = ",,Elasped,,Flow,Avg Flow,Volume,B.Pres\r\n,,Time,,(ml/h),(ml/h),(ml),(mmHg)\r\n";
  EXPECT_EQ(rest.substr(0, titles_text.size()), titles_text);
  const std::string row1 = ",        00,00,05, 5.000,  98.71,   0.150,    12\r\n";
  EXPECT_EQ(rest.substr(titles_text.size(), row1.size()), row1);

  // No page heading: no form feed, no page line but the one of the page-1 header.
  EXPECT_EQ(c.output.find('\f'), std::string::npos);
  EXPECT_EQ(count(c.output, "p. "), 1u);
  EXPECT_EQ(count(c.output, "Elasped   Flow"), 0u);

  // The empty line before "END OF DATA" is a row of its own; then CR LF CR LF and the closing
  // lines, unchanged.
  EXPECT_TRUE(ends_with(c.output,
                        ",    3\r\n\r\n\r\n\r\n\r\n\r\n"
                        "         Technician:_____________________ Signature:___________________\r\n"));

  // Every data row parses as 8 columns; 82 rows.
  auto rows = parse_csv(rest);
  size_t data_rows = 0;
  for (size_t i = 2; i < rows.size() && !(rows[i].size() == 1 && rows[i][0].empty()); ++i) {
    EXPECT_EQ(rows[i].size(), 8u) << "row " << i;
    ++data_rows;
  }
  EXPECT_EQ(data_rows, 82u);
  EXPECT_EQ(rows[0].size(), 8u);
  EXPECT_EQ(rows[1].size(), 8u);
}

TEST(ConvertLog, OcclusionHeaderCut) {
  Conversion c = convert_log(qtx::test::read_test_data("occlusion_log_80_rows.log"));
  ASSERT_EQ(c.outcome, Outcome::Success);
  size_t end = c.output.find(",\r\n\r\n,,Elasped");
  ASSERT_NE(end, std::string::npos);
  EXPECT_TRUE(ends_with(c.output.substr(0, end + 5), "\r\n\r\n         OCCLUSION PRESSURE ,\r\n\r\n"));
  EXPECT_EQ(c.output.find('\f'), std::string::npos);
  EXPECT_NE(c.output.find(",               06,40,           18.76,     970\r\n"), std::string::npos);
  EXPECT_TRUE(
      ends_with(c.output,
                "970\r\n\r\n\r\n\r\n\r\n         PumpType: Large volume__________ Pump Tolerance(+/- %): 5_____\r\n"
                "         Technician: J. Smith____________ Signature:___________________\r\n"));
}

TEST(ConvertLog, FailuresKeepWhatWasConverted) {
  // An empty log: nothing to convert, an empty output.
  Conversion empty = convert_log("");
  EXPECT_EQ(empty.outcome, Outcome::NoEndOfData);
  EXPECT_EQ(empty.output, "");

  std::string header(120, 'h');
  header += "(mmHg)\r\n";
  std::string block = std::string(126, 'h').substr(0, 128 - 110) + ",\r\n\r\n" + std::string(kTitleLine1) + "\r\n" +
                      std::string(kTitleLine2) + "\r\n";

  // No "END OF DATA": the rows so far stay.
  Conversion no_end = convert_log(header + " 1 2\r\n");
  EXPECT_EQ(no_end.outcome, Outcome::NoEndOfData);
  EXPECT_EQ(no_end.output, block + ",1,2\r\n");

  // A page break fewer than five lines before the end of the log.
  Conversion short_page = convert_log(header + "\f\r\n\r\np. 02\r\n\r\nhead\r\n");
  EXPECT_EQ(short_page.outcome, Outcome::FileError);
  // Five lines after it are enough, even at the very end.
  Conversion page_at_end = convert_log(header + "\f\r\n\r\np. 02\r\n\r\nhead\r\nhead\r\n");
  EXPECT_EQ(page_at_end.outcome, Outcome::NoEndOfData);
  Conversion page_then_end = convert_log(header + "\f\r\n1\r\n2\r\n3\r\n4\r\n5\r\n 9\r\nEND OF DATA\r\nbye");
  EXPECT_EQ(page_then_end.outcome, Outcome::Success);
  EXPECT_EQ(page_then_end.output, block + ",9\r\n\r\n\r\nbye\r\n");

  // A header that never completes "(mmHg)" (a damaged log): nothing to write.
  Conversion damaged = convert_log(std::string(200, 'h') + "\n(mmHg\n)\n 1\nEND OF DATA\n");
  EXPECT_EQ(damaged.outcome, Outcome::NoEndOfData);
  EXPECT_EQ(damaged.output, "");

  // A header under 110 characters.
  Conversion short_header = convert_log("(mmHg)\r\n 1\r\nEND OF DATA\r\n");
  EXPECT_EQ(short_header.outcome, Outcome::FileError);
  EXPECT_EQ(short_header.output, "");

  // A header of exactly 110 characters leaves only the comma.
  std::string h110 = std::string(102, 'x') + "(mmHg)\r\n";
  Conversion exact = convert_log(h110 + "END OF DATA\r\n");
  EXPECT_EQ(exact.outcome, Outcome::Success);
  EXPECT_EQ(exact.output.substr(0, 5), ",\r\n\r\n");
}

TEST(ConvertLog, BinaryGarbageNeverCrashes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::string junk(static_cast<size_t>(rng() % 3000), '\0');
    for (char& c : junk) c = static_cast<char>(rng() % 256);
    if (round % 3 == 0) junk.insert(junk.size() / 3, std::string(150, 'x') + "(mmHg)\r\n");
    if (round % 5 == 0) junk += "\r\n\f\r\nEND OF DATA\r\n";
    Conversion c = convert_log(junk);
    EXPECT_LE(c.output.size(), junk.size() * 2 + 200);
  }
}

TEST(TextLines, LineEnds) {
  EXPECT_EQ(split_lines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(split_lines("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(split_lines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(split_lines(""), (std::vector<std::string>{}));
  EXPECT_EQ(split_lines(std::string("a\0b\f", 4)), (std::vector<std::string>{std::string("a\0b\f", 4)}));
}

TEST(GetFileDir, UpToTheLastSeparator) {
  EXPECT_EQ(get_file_dir("/home/tech/save/run1.log"), "/home/tech/save");
  EXPECT_EQ(get_file_dir("/run1.log"), "");
  EXPECT_EQ(get_file_dir("run1.log"), "");
  EXPECT_EQ(get_file_dir(""), "");
  EXPECT_EQ(get_file_dir("/a/b/"), "/a/b");
  EXPECT_EQ(get_file_dir("C:/x.sum"), "C:");
}

TEST(PathText, UtfEightNameAsLatinOneText) {
  EXPECT_EQ(path_text("/home/tech/\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB/caf\xC3\xA9.log"),
            std::string("/home/tech/") + std::string(6, '?') + "/caf\xE9.log");
  EXPECT_EQ(path_text("a\xFF" "b\xC3"), "a?b?");  // bytes that are not UTF-8
  EXPECT_EQ(path_text("\xF0\x9F\x98\x80.sum"), "?.sum");
}
