#include "core/report_header.h"

#include <gtest/gtest.h>

#include "core/session.h"

using namespace qtx;

namespace {

std::string S(int n) { return std::string(static_cast<size_t>(n), ' '); }
std::string U(int n) { return std::string(static_cast<size_t>(n), '_'); }

// A summary header as the analyser sends it.
std::string summary_header(bool with_comment) {
  std::string t = "         SUMMARY\r\n\r\n";
  t += S(9) + "Manufacturer: " + U(18) + " Model: " + U(22) + "\r\n\r\n";
  t += S(9) + "Serial No.: " + U(20) + " Control No.: " + U(16) + "\r\n\r\n";
  t += S(9) + "Department: " + U(20) + " Location: " + U(19) + "\r\n\r\n";
  t += S(9) + "Set Rate(s): " + U(13) + " ml/h  VTBI: " + U(22) + " ml\r\n\r\n";
  if (with_comment) t += S(9) + "Comment:  " + U(50) + "\r\n\r\n";
  t += S(9) + "Average Rate: 101.0 ml/h\r\n\r\n";
  return t;
}

DeviceRecord record() {
  DeviceRecord r;
  r.manufacturer = " Acme ";
  r.model = "P1";
  r.serial_no = "S9";
  r.control_no = "C7";
  r.department = "ICU";
  r.location = "Ward 3";
  r.set_rate_text = "100.0";
  r.vtbi_text = "50";
  r.comment_text = "checked";
  return r;
}

}  // namespace

TEST(ReplaceHeader, FillsTheLabelsInPlaceAndAddsTheFlowError) {
  std::string t = summary_header(true);
  const size_t before = t.size();
  replace_header(t, record(), false);
  EXPECT_EQ(t.size(), before);
  EXPECT_NE(t.find("Manufacturer: Acme" + U(14) + " Model: P1" + U(20)), std::string::npos) << t;
  EXPECT_NE(t.find("Serial No.: S9" + U(18) + " Control No.: C7" + U(14)), std::string::npos);
  EXPECT_NE(t.find("Department: ICU" + U(17) + " Location: Ward 3" + U(13)), std::string::npos);
  EXPECT_NE(t.find("Set Rate(s): 100" + U(10) + " ml/h  VTBI: 50" + U(20)), std::string::npos);
  EXPECT_NE(t.find("Comment:  checked" + U(43)), std::string::npos);
  EXPECT_EQ(t.find("Flow Error"), std::string::npos);  // only for a downloaded summary

  std::string s = summary_header(true);
  replace_header(s, record(), true);
  EXPECT_NE(s.find("Average Rate: 101.0 ml/h\r              Flow Error:     1.00%\n"), std::string::npos) << s;
}

TEST(ReplaceHeader, InsertsACommentLineAfterTheVtbiLineWhenThereIsNone) {
  std::string t = summary_header(false);
  replace_header(t, record(), false);
  const std::string vtbi_line = "VTBI: 50" + U(20) + " ml\r";
  const std::string inserted = "\n        Comment: checked" + U(47) + "\r\n\r\n\r";
  EXPECT_NE(t.find(vtbi_line + inserted + "\n\r\n" + S(9) + "Average Rate:"), std::string::npos) << t;

  // A text without the VTBI label gets no line put into it.
  std::string any = "whatever the analyser sent, long enough to be cut\r\n";
  const std::string kept = any;
  replace_header(any, record(), false);
  EXPECT_EQ(any, kept);
}

TEST(ReplaceHeader, FlowErrorTexts) {
  EXPECT_EQ(flow_error_text(101, 0), "0.00%");
  EXPECT_EQ(flow_error_text(101, 100), "1.00%");
  EXPECT_EQ(flow_error_text(99, 100), "-1.00%");

  DeviceRecord r = record();
  r.set_rate_text = "0";
  std::string t = summary_header(true);
  replace_header(t, r, true);
  EXPECT_NE(t.find("Flow Error:     0.00%\n"), std::string::npos);

  // No number in the average or the set rate: no line.
  r.set_rate_text = "fast";
  t = summary_header(true);
  replace_header(t, r, true);
  EXPECT_EQ(t.find("Flow Error"), std::string::npos);
  std::string odd = "Average Rate: n/a ml/h\r\n";
  replace_header(odd, record(), true);
  EXPECT_EQ(odd, "Average Rate: n/a ml/h\r\n");
}
