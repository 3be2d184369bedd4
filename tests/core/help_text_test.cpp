// The help pages' table and the paragraph rule of the viewer.
#include "core/help_text.h"

#include <gtest/gtest.h>

using namespace qtx::help;

TEST(HelpText, LinesBecomeOneLineWithABlankAfterEach) {
  EXPECT_EQ(paragraph_text("main", "one\r\ntwo\r\nthree\r\n"), "one two three ");
  EXPECT_EQ(paragraph_text("graph", "last line without its end"), "last line without its end ");
  EXPECT_EQ(paragraph_text("main", ""), "");
}

TEST(HelpText, ALeadPhraseAnywhereInALineStartsAParagraphBeforeTheWholeLine) {
  EXPECT_EQ(paragraph_text("graph", "first\r\nso: Once the data file has been opened, the\r\nrest\r\n"),
            "first \r\n\r\nso: Once the data file has been opened, the rest ");
  EXPECT_EQ(paragraph_text("main", "To save the changes press Close\r\n"), "\r\n\r\nTo save the changes press Close ");
  // Each topic has its own phrases, and they match case and all.
  EXPECT_EQ(paragraph_text("graph", "a\r\nTo save the changes\r\n"), "a To save the changes ");
  EXPECT_EQ(paragraph_text("main", "a\r\nAfter selecting the\r\n"), "a After selecting the ");
  EXPECT_EQ(paragraph_text("graph", "a\r\nafter selecting the\r\n"), "a after selecting the ");
}

TEST(HelpText, GraphTopicZeroKeepsTheCaptionAndItemsOutsideTheTableHaveNoPage) {
  EXPECT_EQ(help_page("graph", 0)->file_name, "QTXgra0.txt");
  EXPECT_FALSE(help_page("graph", 0)->caption.has_value());
  EXPECT_FALSE(help_page("main", 8));
  EXPECT_FALSE(help_page("graph", -1));
  EXPECT_FALSE(help_page("graph", 20));
  EXPECT_FALSE(help_page("", 0));
}
