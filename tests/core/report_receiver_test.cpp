#include "core/report_receiver.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/report_printout.h"
#include "core/session.h"

using namespace qtx;
using namespace qtx::report;

namespace {

struct Recorder : ReceiveEvents {
  std::vector<std::string> errors, shown;
  bool stop_on_error = false;
  bool error_reply(const std::string& reply) override {
    errors.push_back(reply);
    return !stop_on_error;
  }
  void show_line(const std::string& line) override { shown.push_back(line); }
};

// The receiver with the texts the report window moves between it and the Session.
struct Rx {
  Session s;
  ReportReceiver r;
  Recorder ev;
  Rx() { r.reset(); }
  ReportReceiver::TickResult tick(std::string_view in) { return r.tick(in, s.report_text, s.new_summary, ev); }
  void end_of_download() {
    const DeviceRecord& d = s.device_record;
    r.end_of_download(s.report_text, s.new_summary, signoff_lines(d.technician, d.pump_type, d.pump_tolerance));
  }
};

std::string S(int n) { return std::string(static_cast<size_t>(n), ' '); }

// A data log as the analyser sends it: header, table, END OF DATA, its own sign-off, BEL.
std::string data_log(int rows) {
  std::string t = "\r\n" + S(67) + "p. 01\r\n" + S(9) + "DATA LOG\r\n" + S(9) + "Manufacturer: ______\r\n";
  t += S(9) + "Elapsed   Flow\r\n";
  for (int i = 0; i < rows; ++i) {
    if (i % 50 == 49) t += "\f\r\n\r\n" + S(67) + "p. " + std::to_string(10 + i / 50) + "\r\n";
    t += S(9) + "00:" + std::to_string(10 + i % 90) + ":00  100.0 row " + std::to_string(i) + "\r\n";
  }
  t += "END OF DATA\r\n\r\n" + S(7) + "Technician: ____ Signature: ____\r\n\a";
  return t;
}

std::string tempfile_after(const std::string& download, size_t chunk) {
  Rx x;
  for (size_t i = 0; i < download.size(); i += chunk) {
    auto res = x.tick(std::string_view(download).substr(i, chunk));
    if (res.end_of_download) {
      x.end_of_download();
      process_buffer(x.s.report_text);
      return x.r.tempfile(x.s.report_text);
    }
  }
  ADD_FAILURE() << "no end of download";
  return {};
}

}  // namespace

TEST(ReportCleaning, ThePassesKeepTheLength) {
  std::string t = "x\r\n\nyz";
  repair_line_ends(t);
  EXPECT_EQ(t, "x\r\n\r\nz");
  t = "a\r\r bc\r\n\rd";
  repair_line_ends(t);
  EXPECT_EQ(t, "a\r\n\r\nc\r\n\r\n");
  t = "ab\r\r ";  // at the end only what exists is overwritten
  repair_line_ends(t);
  EXPECT_EQ(t, "ab\r\n\r");

  t = std::string("a\0b\x05\x06\x07\x05", 7);
  blank_control_chars(t);  // the last character is never examined
  EXPECT_EQ(t, std::string("a b  \x07\x05", 7));

  t = "a\tb\r\n\x01\xe9";
  strip_control_chars(t);
  EXPECT_EQ(t, "a\tb\xe9");
  EXPECT_TRUE(is_error_reply("n\r"));
  EXPECT_FALSE(is_error_reply("N\r"));
  EXPECT_FALSE(is_error_reply("nx"));
}

TEST(ReportReceiver, HoldsBackTheLineEndAndThePendingLine) {
  Rx x;
  x.tick("abc\r\n");
  EXPECT_EQ(x.r.carry_over_text, "\r\n");
  EXPECT_EQ(x.r.pending_line, "abc");
  EXPECT_EQ(x.s.report_text, "");
  // Nothing new: the held-back characters stay held back.
  x.tick("");
  EXPECT_EQ(x.r.carry_over_text, "\r\n");
  EXPECT_EQ(x.r.pending_line, "abc");
  x.tick("def\r\n");
  EXPECT_EQ(x.s.report_text, "abc\r\n");
  EXPECT_EQ(x.ev.shown, std::vector<std::string>{"abc"});
  EXPECT_EQ(x.r.pending_line, "def");
  auto res = x.tick("\a");
  EXPECT_TRUE(res.end_of_download);
  EXPECT_EQ(x.s.report_text, "abc\r\ndef\r\n\a");

  // An error reply alone waits unexamined.
  Rx e;
  e.tick("n\r");
  e.tick("");
  EXPECT_EQ(e.r.carry_over_text, "n\r");
  EXPECT_TRUE(e.ev.errors.empty());
}

TEST(ReportReceiver, TwoCharacterLinesGoToTheErrorRepliesUnshown) {
  Rx x;
  auto res = x.tick("hello\r\nab\r\nn\r\a");
  EXPECT_EQ(x.ev.errors, std::vector<std::string>{"ab"});
  EXPECT_EQ(x.ev.shown, (std::vector<std::string>{"hello", "n"}));
  EXPECT_TRUE(res.end_of_download);

  // A reply that stops the reception ends the tick: no end of download.
  Rx y;
  y.ev.stop_on_error = true;
  res = y.tick("xy\a\r\nn\r");
  EXPECT_TRUE(res.stopped);
  EXPECT_FALSE(res.end_of_download);
  EXPECT_EQ(y.ev.errors, std::vector<std::string>{"n\r"});
}

TEST(ReportReceiver, FramingOfTheEndAndOfEnq) {
  Rx x;
  auto res = x.tick("a\x05" "b\r\nEND OF DATA\a\r\nmore");
  // Text after BEL without a line end is pending and the download has not ended.
  EXPECT_FALSE(res.end_of_download);
  EXPECT_EQ(x.r.pending_line, "more");
  EXPECT_EQ(x.s.report_text, "a b\r\nEND OF DATA\r\n");

  Rx a;
  a.tick("xyAz\a\r\nline\r\n\a\x05");
  // The cut at "A"; a line with a surviving ENQ adds nothing.
  EXPECT_EQ(a.s.report_text, "xyA\r\nline\r\n");
  Rx b;
  b.tick("no marker\a");
  EXPECT_EQ(b.s.report_text, "no marker\a");
  Rx sum;
  sum.tick("  SUMMARY\r\nAverage Rate: 1 ml/h\r\n\a");
  EXPECT_EQ(sum.s.report_text, "  SUMMARY\r\nAverage Rate: 1 ml/h\r\n\r\n");
}

TEST(ReportReceiver, EndOfDownloadCutsTheAnalysersSignOffAndSigns) {
  Rx x;
  x.s.device_record.technician = "Kim";
  x.s.device_record.pump_type = "LVP";
  x.tick("report\r\n0123456789Tech\r\n\a");
  x.end_of_download();
  EXPECT_EQ(x.s.report_text, "report\r\n0\r\n        PumpType: LVP" + std::string(20, '_') + " Pump Tolerance(+/- %): ______" +
                                 "\r\n\r\n        Technician: Kim" + std::string(18, '_') +
                                 " Signature:___________________");
  EXPECT_TRUE(x.s.new_summary);

  std::string early = "abcTech";
  cut_analyser_signoff(early);
  EXPECT_EQ(early, "");
}

TEST(ReportReceiver, TempfileHasTheHeadThePagesAndTheRest) {
  EXPECT_EQ(tempfile_bytes("head\r\nElapsed\r\nrest", {"p1\r\n", "p2\r\n"}),
            "head\r\nElapsed\r\np1\r\np2\r\nrest\r\n");
  // Without "Elapsed" the pages follow the first line; without a line end nothing is lost.
  EXPECT_EQ(tempfile_bytes("one\r\ntwo", {"p\r\n"}), "one\r\np\r\ntwo\r\n");
  EXPECT_EQ(tempfile_bytes("Elapsed", {}), "Elapsed\r\n\r\n");
}

TEST(ReportReceiver, LongReceiveAnyTextWithoutElapsedPagesAfterItsFirstLine) {
  Rx x;
  std::string text;
  for (int i = 0; text.size() < 31000; ++i) text += "line " + std::to_string(i) + "\r\n";
  x.tick(text);
  x.tick("tail one\r\ntail two\r\n\a");
  EXPECT_TRUE(x.r.head_kept);
  EXPECT_GT(x.r.head_length, kPageLimit);
  ASSERT_GE(x.r.page_count(), 2u);
  // Every line after the head is a page of its own.
  EXPECT_EQ(x.r.received_pages.back(), "tail two\r\n");
  EXPECT_LE(x.s.report_text.size(), x.r.head_length + 2);
  x.end_of_download();
  const std::string file = x.r.tempfile(x.s.report_text);
  const size_t first_line = text.find("\r\n") + 2;
  EXPECT_EQ(file.substr(0, first_line), text.substr(0, first_line));
  EXPECT_EQ(file.find("tail one\r\ntail two\r\n"), first_line + (text.size() - x.r.head_length));
}

TEST(ReportReceiver, HeadAndPagesBeginPastExactly30000Characters) {
  // Lines of 100 characters with their CR LF (the first one longer), `size` in all; "zz" waits
  // behind them, so every one of them is complete in the tick.
  const auto received = [](const std::string& head, size_t size) {
    const size_t rest = size - head.size();
    std::string text = head + std::string(rest % 100 + 98, 'x') + "\r\n";
    while (text.size() < size) text += std::string(98, 'y') + "\r\n";
    auto x = std::make_unique<Rx>();
    x->tick(text + "zz");
    return x;
  };
  // Without "Elapsed" the head is taken once the text is longer than the limit.
  EXPECT_FALSE(received("", kPageLimit)->r.head_kept);
  EXPECT_TRUE(received("", kPageLimit + 1)->r.head_kept);
  // With the head taken at "Elapsed", a page is moved out once the text is longer than the limit.
  const std::string head = "Elapsed\r\n";
  auto at = received(head, kPageLimit);
  EXPECT_EQ(at->r.page_count(), 0u);
  EXPECT_EQ(at->s.report_text.size(), kPageLimit);
  auto past = received(head, kPageLimit + 1);
  ASSERT_EQ(past->r.page_count(), 1u);
  EXPECT_EQ(past->r.received_pages[0].size(), kPageLimit + 1 - head.size());
  EXPECT_EQ(past->s.report_text, head);
}

TEST(ReportReceiver, AnyChunkingGivesTheSameTempfile) {
  const std::string log = data_log(3000);
  ASSERT_GT(log.size(), 3 * kPageLimit);
  const std::string whole = tempfile_after(log, log.size());
  // The data log comes back in order: the analyser's text, its sign-off replaced.
  const std::string body = log.substr(0, log.find("\r\n" + S(7) + "Tech"));
  EXPECT_EQ(whole.substr(0, body.size()), body);
  EXPECT_EQ(whole.find("PumpType"), body.size() + 10);
  for (size_t chunk : {size_t{1}, size_t{37}, size_t{96}, size_t{4096}})
    EXPECT_EQ(tempfile_after(log, chunk), whole) << chunk;
}

// The characters held back at the end of a tick are taken by the next one once, whether or not
// its text holds BEL and wherever the ticks begin and end.
TEST(ReportReceiver, HeldBackCharactersAreTakenOnce) {
  // tempfile.dat after the ticks, each followed by a tick that brings nothing.
  const auto file_of = [](const std::vector<std::string>& ticks) {
    Rx x;
    for (const std::string& t : ticks)
      for (std::string_view in : {std::string_view(t), std::string_view()})
        if (x.tick(in).end_of_download) {
          x.end_of_download();
          process_buffer(x.s.report_text);
          return x.r.tempfile(x.s.report_text);
        }
    return std::string("<no end>");
  };
  // "ab" waits after the first tick; the second takes it and holds BEL, and its "xyz" waits.
  EXPECT_EQ(file_of({"line1\r\nab", "c\a\r\nxyz", "\r\n", "more\r\n\a"}),
            "line1\r\nabc\axyz\r\nmore\r\n\a" + signoff_lines("", "", "") + "\r\n");

  // Split anywhere into up to three ticks, the text gives the file of what came up to the tick
  // that ended the download (the first to bring a BEL and leave no line incomplete), had all of
  // that come in one tick.
  const std::string text = "line1\r\nabc\a\r\nxyz\r\n\r\nmore\r\n\a";
  const std::string_view all(text);
  const auto ends_download = [&](size_t from, size_t to) {
    if (all.substr(from, to - from).find('\a') == std::string_view::npos) return false;
    const size_t crlf = all.substr(0, to).rfind("\r\n");
    const std::string_view tail = all.substr(0, to).substr(crlf == std::string_view::npos ? 0 : crlf + 2);
    return tail.empty() || tail.find('\a') != std::string_view::npos;
  };
  for (size_t i = 1; i < text.size(); ++i) {
    for (size_t j = i; j < text.size(); ++j) {
      const size_t cuts[] = {0, i, j, text.size()};
      size_t end = text.size();
      for (size_t k = 0; k < 3; ++k)
        if (ends_download(cuts[k], cuts[k + 1])) {
          end = cuts[k + 1];
          break;
        }
      EXPECT_EQ(file_of({text.substr(0, i), text.substr(i, j - i), text.substr(j)}), file_of({text.substr(0, end)}))
          << i << " " << j;
    }
  }
}

// A marker is found when the text that completes it comes in a later append than its start.
TEST(ReportReceiver, MarkerStraddlingTwoAppendsIsFound) {
  const std::pair<TextMarks::Mark, std::string> marks[] = {
      {TextMarks::kSummary, "SUMMARY"}, {TextMarks::kElapsed, "Elapsed"}, {TextMarks::kEnd, "END"}};
  for (const auto& [mark, word] : marks) {
    for (size_t cut = 1; cut < word.size(); ++cut) {
      TextMarks m;
      std::string text = "line\r\n" + word.substr(0, cut);
      EXPECT_FALSE(m.holds(text, mark));
      text += word.substr(cut) + " more\r\n";
      EXPECT_TRUE(m.holds(text, mark)) << word << " " << cut;
      // Cut back before its end, the text no longer holds it.
      text.resize(6 + cut);
      m.truncated(text.size());
      EXPECT_FALSE(m.holds(text, mark));
    }
  }
}

namespace {

// A printed line's text: its items joined, the file name marked "[...]" (printed as it stands).
std::string printed(const PrintStep& step) {
  std::string text;
  for (const PrintItem& i : step.items) text += i.path ? "[" + i.text + "]" : i.text;
  return text;
}

}  // namespace

TEST(ReportPrintout, PagesAndTheFileName) {
  ReportPrintout p("/save/a.sum");
  auto texts = [&](const std::string& line) {
    std::vector<std::string> out;
    for (const PrintStep& s : p.steps(line)) out.push_back(s.kind == PrintStep::kNewPage ? "<page>" : printed(s));
    return out;
  };
  EXPECT_EQ(texts("\f"), std::vector<std::string>{"\f"});  // no SUMMARY yet: no page
  EXPECT_EQ(texts("  SUMMARY"), std::vector<std::string>{"  SUMMARY"});
  EXPECT_EQ(texts("\f"),
            (std::vector<std::string>{"<page>", "", S(66) + "p.  2", "        Filename [/save/a.sum]", "\f"}));
  EXPECT_EQ(texts(S(67) + "p. 01"), std::vector<std::string>{"        Filename:  [/save/a.sum]" + S(37) + "p. 01"});
  // "p." inside a word breaks the page too, and gets the name as far as the line goes.
  EXPECT_EQ(texts("Temp.: 21"), (std::vector<std::string>{"<page>", "Temp.: 2F"}));
  ReportPrintout l(std::string(49, 'n'));
  const std::vector<PrintStep> steps = l.steps(S(67) + "p. 02");
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(printed(steps[1]), S(8) + "Filename:  [" + std::string(49, 'n') + "]. 02");  // its "p" is gone

  // A name beyond Latin-1 covers the page line character for character, whatever its bytes;
  // one too long is cut at a character's end.
  const std::string cyrillic = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD1\x8B";  // five letters
  ReportPrintout u("/" + cyrillic + "/run.sum");
  EXPECT_EQ(printed(u.steps(S(67) + "p. 01")[0]), S(8) + "Filename:  [/" + cyrillic + "/run.sum]" + S(34) + "p. 01");
  ReportPrintout cut("/" + cyrillic + std::string(40, 'n') + cyrillic);  // 51 letters, room for 49
  EXPECT_EQ(printed(cut.steps(S(67) + "p. 02")[1]),
            S(8) + "Filename:  [/" + cyrillic + std::string(40, 'n') + cyrillic.substr(0, 6) + "]. 02");
  EXPECT_EQ(printed(cut.steps("p. 3")[1]), "p. 3");  // a line too short to take the name
}
