#include "core/summary_capture.h"

#include <gtest/gtest.h>

using namespace qtx;
using namespace qtx::summary_capture;

namespace {

// The text a whole summary gives when it arrives in the reads given.
std::string capture(const std::vector<std::string>& reads, Kind kind, std::string* overflow = nullptr) {
  std::string text, copy;
  for (const std::string& r : reads)
    if (add_read(text, copy, r, kind)) break;
  if (overflow) *overflow = copy;
  return text;
}

const std::string kSummary =
    "\x05\r\n  TEST SUMMARY\r\n  Average Rate: 100.2 ml/h\r\n\x0c\r\n\x05  page 2\r\n\r\n       Technician: ___\x07";

}  // namespace

TEST(SummaryCapture, TheTextDoesNotDependOnHowItFallsIntoReads) {
  for (Kind kind : {Kind::Rate, Kind::Occlusion}) {
    const std::string whole = capture({kSummary}, kind);
    for (size_t cut = 0; cut <= kSummary.size(); ++cut)
      for (size_t cut2 = cut; cut2 <= kSummary.size(); cut2 += 7)
        ASSERT_EQ(capture({kSummary.substr(0, cut), kSummary.substr(cut, cut2 - cut), kSummary.substr(cut2)}, kind),
                  whole)
            << cut << " " << cut2;
  }
  // The rate capture puts CR LF in place of each mark; the occlusion capture nothing. The text
  // that came with the BEL is kept; what follows the BEL is not part of the summary.
  const std::vector<std::string> reads = {std::string("\x05") + "ab", std::string("c\x07") + "after"};
  EXPECT_EQ(capture(reads, Kind::Rate), "\r\nabc\r\n");
  EXPECT_EQ(capture(reads, Kind::Occlusion), "abc");
  std::string text, copy;
  EXPECT_FALSE(add_read(text, copy, "", Kind::Rate));
  EXPECT_TRUE(add_read(text, copy, "\x07", Kind::Rate));
}

TEST(SummaryCapture, BeyondTheLimitTextGoesOnAndMarksAddNothing) {
  const std::string block(1000, 'x');
  std::vector<std::string> reads(60, block);
  reads.push_back(
      "\x05"
      "end\x07");
  std::string overflow;
  const std::string text = capture(reads, Kind::Rate, &overflow);
  EXPECT_EQ(text, std::string(60000, 'x') + "end");
  // The copy is the text as it stood before the last piece added beyond the limit.
  EXPECT_EQ(overflow, std::string(60000, 'x'));
  // At the limit exactly a mark still counts.
  EXPECT_EQ(capture({std::string(kTextLimit, 'x'), "\x07"}, Kind::Rate), std::string(kTextLimit, 'x') + "\r\n");
}

TEST(SummaryCapture, TheAnalysersTechnicianLineIsCut) {
  std::string t = "no sign-off here";
  cut_before_technician(t);
  EXPECT_EQ(t, "no sign-off here");
  t = "SUMMARY\r\n\r\n       Technician: ___";
  cut_before_technician(t);
  EXPECT_EQ(t, "SUMMARY\r\n");
  t = "123456789Tech";  // "Tech" at position 10
  cut_before_technician(t);
  EXPECT_EQ(t, "");
  t = "1234Tech: early";  // within the first nine characters: kept as it is
  cut_before_technician(t);
  EXPECT_EQ(t, "1234Tech: early");
}

TEST(SummaryCapture, SignOffLinesAreSeventyOneWide) {
  DeviceRecord r;
  const std::string blank = "        Technician:______________________ Signature:___________________";
  ASSERT_EQ(blank.size(), 71u);
  EXPECT_EQ(sign_off_block(r), "\r\n" + blank + "\r\n");
  // With the text and the final CR LF the file ends in an empty last line.
  EXPECT_EQ(file_bytes("SUMMARY" + sign_off_block(r)), "SUMMARY\r\n" + blank + "\r\n\r\n");

  r.technician = "JS";
  r.pump_type = "Syringe";
  r.pump_tolerance = "5";
  const std::string pump = "        PumpType: Syringe________________ Pump Tolerance(+/- %): 5_____";
  const std::string tech = "        Technician: JS___________________ Signature:___________________";
  EXPECT_EQ(pump.size(), 71u);
  EXPECT_EQ(tech.size(), 71u);
  EXPECT_EQ(sign_off_block(r), "\r\n" + pump + "\r\n\r\n" + tech);
  r.pump_type.clear();
  r.technician = "A technician with a long name";
  EXPECT_EQ(sign_off_block(r), "\r\n        Technician: A technician with a l Signature:___________________");
}
