#include "core/protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qtx::protocol;
using namespace std::string_literals;

TEST(Commands, EachEndsInCarriageReturnAlone) {
  EXPECT_EQ(download_command("B", kDownloadSummary), "DLB1\r");
  EXPECT_EQ(download_command("D", kDownloadLog), "DLD2\r");
  EXPECT_EQ(start_test_command("C", kSingleRateTest), "RTC1\r");
  EXPECT_EQ(start_test_command("A", kOcclusionTest), "RTA4\r");
  EXPECT_EQ(begin_test_command("B", kSingleRateTest), "GRB1\r");
  EXPECT_EQ(begin_test_command("D", kOcclusionTest), "GRD4\r");
  EXPECT_EQ(stop_command("B"), "STB\r");
  EXPECT_EQ(print_summary_command("C"), "PRC1\r");
  EXPECT_EQ(port_test_command(), "DLA3\r");
}

TEST(Commands, PollOnlyForChannelsAToD) {
  EXPECT_EQ(poll_command("C"), "GRC\r");
  EXPECT_EQ(poll_command("A"), "GRA\r");
  EXPECT_EQ(poll_command("D"), "GRD\r");
  for (const char* other : {"", "a", "E", "AB", " ", "C "}) EXPECT_EQ(poll_command(other), "") << other;
  // The other commands take the channel text as it stands.
  EXPECT_EQ(stop_command(""), "ST\r");
}

TEST(ErrorReplies, TwoCharactersOrFewerAfterTrimmingBlanksOnly) {
  EXPECT_EQ(trim_reply("  n\r  "), "n\r");
  EXPECT_TRUE(is_error_reply(trim_reply("n\r")));
  EXPECT_TRUE(is_error_reply(trim_reply("   ")));
  EXPECT_TRUE(is_error_reply(trim_reply("")));
  EXPECT_TRUE(is_error_reply(trim_reply("ab")));
  EXPECT_FALSE(is_error_reply(trim_reply("1,2")));
  EXPECT_FALSE(is_error_reply(trim_reply("n\r\n")));  // CR LF stay, so three characters

  EXPECT_STREQ(error_reply_message("?\r"), "Unsuccessful transmission, check all hardware connections and try again.");
  EXPECT_STREQ(error_reply_message("e\r"), "Test or Autosequence is not running");
  EXPECT_STREQ(error_reply_message("n\r"), "Current channel selected is not connected.");
  EXPECT_EQ(error_reply_message("N\r"), nullptr);
  EXPECT_EQ(error_reply_message(""), nullptr);
}

TEST(FieldSplitting, CommaStaysWithTheFieldAndMissingFieldsRepeat) {
  std::string rest = "A,   0,1";
  EXPECT_EQ(next_field(rest), "A,");
  EXPECT_EQ(rest, "0,1");
  EXPECT_EQ(next_field(rest), "0,");
  EXPECT_EQ(rest, "1");
  EXPECT_EQ(next_field(rest), "1");
  EXPECT_EQ(rest, "1");  // unchanged: the next field is the same text
  std::string padded = "  7  ";
  EXPECT_EQ(next_field(padded), "7");
  EXPECT_EQ(padded, "  7  ");
}

TEST(RateSample, AllEightFields) {
  RateSample s = parse_rate_sample("A, 0, 1, 5, 99.8, 100.2, 1.73, 12");
  EXPECT_EQ(s.mode, 'A');
  EXPECT_EQ(s.hours, 0);
  EXPECT_EQ(s.minutes, 1);
  EXPECT_EQ(s.seconds, 5);
  EXPECT_DOUBLE_EQ(s.flow, 99.8);
  EXPECT_DOUBLE_EQ(s.average_flow, 100.2);
  EXPECT_DOUBLE_EQ(s.volume, 1.73);
  EXPECT_DOUBLE_EQ(s.back_pressure, 12);

  // The analyser's line end stays on the last field and does not disturb its number.
  s = parse_rate_sample("C, 1, 2, 3, 4, 5, 6, 7\r\n");
  EXPECT_EQ(s.mode, 'C');
  EXPECT_DOUBLE_EQ(s.back_pressure, 7);
}

TEST(RateSample, MissingFieldsTakeTheLastText) {
  RateSample s = parse_rate_sample("B, 0, 0, 7");
  EXPECT_EQ(s.mode, 'B');
  EXPECT_EQ(s.hours, 0);
  EXPECT_EQ(s.minutes, 0);
  EXPECT_EQ(s.seconds, 7);
  EXPECT_DOUBLE_EQ(s.flow, 7);
  EXPECT_DOUBLE_EQ(s.average_flow, 7);
  EXPECT_DOUBLE_EQ(s.volume, 7);
  EXPECT_DOUBLE_EQ(s.back_pressure, 7);

  s = parse_rate_sample("A,0,1,5,12.5");
  EXPECT_DOUBLE_EQ(s.flow, 12.5);
  EXPECT_DOUBLE_EQ(s.back_pressure, 12.5);

  s = parse_rate_sample("1,2");  // three characters: a sample, not an error reply
  EXPECT_EQ(s.mode, '1');
  EXPECT_EQ(s.hours, 2);
  EXPECT_EQ(s.seconds, 2);
  EXPECT_DOUBLE_EQ(s.back_pressure, 2);

  std::string reply = "A, 0, 1, 5, 99.8, 100.2, 1.73, 12";
  take_rate_sample(reply);
  EXPECT_EQ(reply, "12");  // consumed field by field
}

TEST(RateSample, WholeNumbersRoundHalvesToEven) {
  EXPECT_EQ(parse_rate_sample("A, 0, 0, 12.5, 1").seconds, 12);
  EXPECT_EQ(parse_rate_sample("A, 0, 0, 13.5, 1").seconds, 14);
  EXPECT_EQ(parse_rate_sample("A, 0, 2.5, 0, 1").minutes, 2);
  EXPECT_EQ(parse_rate_sample("A, -0.5, 0, 0, 1").hours, 0);
  EXPECT_EQ(parse_rate_sample("A, 99999, 0, 0, 1").hours, 32767);  // clamped, no fault
}

TEST(RateSample, OnlyBlanksAreSkippedBeforeANumber) {
  RateSample s = parse_rate_sample("A, 0, 1,\t5, 99.8,\n100.2, 1.73, 12");
  EXPECT_EQ(s.seconds, 0);  // a tab is not a blank
  EXPECT_DOUBLE_EQ(s.flow, 99.8);
  EXPECT_DOUBLE_EQ(s.average_flow, 0);  // nor is a line feed
  EXPECT_DOUBLE_EQ(s.volume, 1.73);
}

TEST(OcclSample, FiveFields) {
  OcclSample s = parse_occl_sample("RUN, 2, 10, 25.30, 1308\r\n");
  EXPECT_EQ(s.status, "RUN,");
  EXPECT_EQ(s.minutes, 2);
  EXPECT_EQ(s.seconds, 10);
  EXPECT_DOUBLE_EQ(s.psi, 25.30);
  EXPECT_DOUBLE_EQ(s.mmhg, 1308);

  s = parse_occl_sample("S,2,5");
  EXPECT_EQ(s.minutes, 2);
  EXPECT_EQ(s.seconds, 5);
  EXPECT_DOUBLE_EQ(s.psi, 5);
  EXPECT_DOUBLE_EQ(s.mmhg, 5);
}

TEST(Samples, MalformedRepliesParseWithoutFault) {
  RateSample s = parse_rate_sample(",,,,,,,");
  EXPECT_EQ(s.mode, ',');
  EXPECT_EQ(s.hours, 0);
  EXPECT_DOUBLE_EQ(s.back_pressure, 0);

  s = parse_rate_sample("   ");
  EXPECT_EQ(s.mode, ' ');
  EXPECT_DOUBLE_EQ(s.flow, 0);

  s = parse_rate_sample("garbage text without a single number");
  EXPECT_EQ(s.mode, 'g');
  EXPECT_EQ(s.seconds, 0);
  EXPECT_DOUBLE_EQ(s.volume, 0);

  s = parse_rate_sample("A, 1e999, -1e999, 5, nan, inf, 0x10, 3");
  EXPECT_EQ(s.hours, 32767);
  EXPECT_EQ(s.minutes, -32768);
  EXPECT_DOUBLE_EQ(s.flow, 0);
  EXPECT_DOUBLE_EQ(s.average_flow, 0);
  EXPECT_DOUBLE_EQ(s.volume, 0);

  // Embedded NUL characters are text like any other.
  s = parse_rate_sample("B\0, 1, \0 2, 3, 4\0 5, 6, 7, 8"s);
  EXPECT_EQ(s.mode, 'B');
  EXPECT_EQ(s.hours, 1);
  EXPECT_EQ(s.minutes, 0);
  EXPECT_DOUBLE_EQ(s.flow, 4);

  // A very long line: only the first fields are read, the rest is one long last field.
  std::string longline = "A, 0, 0, 1, 2, 3, 4, " + std::string(1 << 20, '9') + "," + std::string(1 << 20, 'x');
  s = parse_rate_sample(longline);
  EXPECT_DOUBLE_EQ(s.volume, 4);
  EXPECT_GT(s.back_pressure, 1e300);

  std::string digits(1 << 20, '5');
  OcclSample o = parse_occl_sample(digits);
  EXPECT_EQ(o.minutes, 32767);
  EXPECT_GT(o.psi, 1e300);

  o = parse_occl_sample("");
  EXPECT_EQ(o.status, "");
  EXPECT_EQ(o.minutes, 0);
}

TEST(PollReplies, PiecesAndRepliesTogetherComeOutWholeInOrder) {
  PollReplies r;
  std::string reply;
  r.add("A, 0, 0, 1, 5.0, 4.9, 0.0");
  EXPECT_FALSE(r.ready());
  EXPECT_FALSE(r.next(reply));
  r.add("01, 2\r");  // the LF comes with the next read
  ASSERT_TRUE(r.next(reply));
  EXPECT_EQ(reply, "A, 0, 0, 1, 5.0, 4.9, 0.001, 2");
  r.add("\n  e \r\nB, 0, 0, 2, 1.0, 1.0, 0.002, 0\r\n\r\nB, 0, 0");
  std::vector<std::string> out;
  while (r.next(reply)) out.push_back(reply);
  EXPECT_EQ(out, (std::vector<std::string>{"e", "B, 0, 0, 2, 1.0, 1.0, 0.002, 0", ""}));
  EXPECT_EQ(r.kept(), "B, 0, 0");
  r.clear();
  r.add("\n?\r");  // after a clear an LF is no line end of an earlier reply
  ASSERT_TRUE(r.next(reply));
  EXPECT_EQ(reply, "\n?");

  // Noise that never ends its line is not kept without bound; its line is dropped up to the CR
  // that ends it, and the reply after it comes out whole.
  for (int i = 0; i < 100; ++i) {
    r.add(std::string(50, '#'));
    EXPECT_LE(r.kept().size(), PollReplies::kMaxReplyLength + 50);
    EXPECT_FALSE(r.next(reply));
  }
  r.add("##\rRUN, 0, 1");
  EXPECT_FALSE(r.ready());
  r.add(", 0.19, 10\r\n");
  ASSERT_TRUE(r.ready());
  ASSERT_TRUE(r.next(reply));
  EXPECT_EQ(reply, "RUN, 0, 1, 0.19, 10");
  EXPECT_FALSE(r.next(reply));
}

// Reads of a few bytes, one reply taken out after every tenth, so replies pile up unread while
// more arrive: every one comes out once, whole and in order.
TEST(PollReplies, RepliesLeftWaitingWhileMoreArriveComeOutInOrder) {
  std::string stream, reply;
  for (int i = 0; i < 500; ++i) stream += "A, 0, 0, " + std::to_string(i) + ", 5.0, 4.9, 0.001, 2\r\n";
  PollReplies r;
  int expected = 0;
  const auto take = [&] {
    ASSERT_EQ(reply, "A, 0, 0, " + std::to_string(expected) + ", 5.0, 4.9, 0.001, 2");
    ++expected;
  };
  for (size_t at = 0, reads = 1; at < stream.size(); at += 7, ++reads) {
    r.add(std::string_view(stream).substr(at, 7));
    if (reads % 10 == 0 && r.next(reply)) take();
  }
  EXPECT_LT(expected, 500);
  while (r.next(reply)) take();
  EXPECT_EQ(expected, 500);
  EXPECT_EQ(r.kept(), "");
}

TEST(PollReplies, OnlyWellFormedRecordsAreSamples) {
  // As the analyser sends them.
  EXPECT_TRUE(is_rate_sample("A, 0, 1, 5, 99.8, 100.2, 1.730, 12"));
  EXPECT_TRUE(is_rate_sample("C,0,0,7,-3.25,1e2,0,.5"));
  EXPECT_TRUE(is_occl_sample("RUN, 0, 1, 0.19, 10"));
  EXPECT_TRUE(is_occl_sample("ALARM, 1, 5, 13.57, 702"));
  for (const char* noise :
       {"1,2", "A,0,1,5,12.5", "garbage on the line", "AB, 0, 1, 5, 99.8, 100.2, 1.73, 12",
        "7, 0, 1, 5, 99.8, 100.2, 1.73, 12", ", 0, 1, 5, 99.8, 100.2, 1.73, 12", "A, 0, x, 5, 99.8, 100.2, 1.73, 12",
        "A, 0, 1, 5, 99.8, 100.2, 1.73, 12,", "A, 0, 1, 5, 99.8, 100.2, 1.73, 12, 4", "A, 0, 1, 5, 99.8, 100.2, 1.73, ",
        "A, 0, 1, 5, 99..8, 100.2, 1.73, 12", "RUN, 0, 1, 0.19, 10"})
    EXPECT_FALSE(is_rate_sample(noise)) << noise;
  for (const char* noise : {"S,2,5", ", 0, 1, 0.19, 10", "RUN, 0, 1, 0.19, mmHg", "RUN, 0, 1, 0.19, 10, 3",
                            "A, 0, 1, 5, 99.8, 100.2, 1.73, 12", "RUN, 0\n, 1, 0.19, 10"})
    EXPECT_FALSE(is_occl_sample(noise)) << noise;
}
