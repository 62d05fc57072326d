// The system's message texts with their inserts filled, as FormatMessage fills them.
#include "menufile/message_inserts.h"

#include <gtest/gtest.h>

namespace {

using menufile::FillMessageInserts;

TEST(FillMessageInserts, PutsEachValueAtItsNumberWithOrWithoutAFormat) {
    const std::vector<std::string> target{"C:\\tools\\old.exe"};
    EXPECT_EQ(FillMessageInserts("Bad EXE format for %1.", target),
              "Bad EXE format for C:\\tools\\old.exe.");
    EXPECT_EQ(FillMessageInserts("%1!s! is not a valid application.", target),
              "C:\\tools\\old.exe is not a valid application.");
    EXPECT_EQ(FillMessageInserts("%2 then %1, %1 again", {"a", "b"}), "b then a, a again");
    EXPECT_EQ(FillMessageInserts("[%1!-10s!]", {"x"}), "[x]") << "any format, the value as text";
    // Two digits make one number; a third is text.
    std::vector<std::string> twelve;
    for (int k = 1; k <= 12; ++k) {
        twelve.push_back("v" + std::to_string(k));
    }
    EXPECT_EQ(FillMessageInserts("%10 %12 %1 %123", twelve), "v10 v12 v1 v123");
    EXPECT_EQ(FillMessageInserts("%9%1", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}), "91");
}

TEST(FillMessageInserts, EscapesAndTheEndMark) {
    EXPECT_EQ(FillMessageInserts("100%% done%n", {}), "100% done\r\n");
    EXPECT_EQ(FillMessageInserts("a%tb%rc% d%.e%!f", {}), "a\tb\rc d.e!f");
    EXPECT_EQ(FillMessageInserts("Cut here%0 not shown %1", {"x"}), "Cut here");
    EXPECT_EQ(FillMessageInserts("ends in %", {}), "ends in %");
    EXPECT_EQ(FillMessageInserts("Line one\r\nline two\r\n", {}), "Line one\r\nline two\r\n")
        << "the text's own line breaks stay";
}

TEST(FillMessageInserts, MissingValuesLeaveNothingAndValuesAreNotFilledAgain) {
    EXPECT_EQ(FillMessageInserts("Bad EXE format for %1.", {}), "Bad EXE format for .");
    EXPECT_EQ(FillMessageInserts("%1 and %2!s!", {"one"}), "one and ");
    // A target that itself holds inserts and escapes is shown as it is.
    EXPECT_EQ(FillMessageInserts("Cannot open %1.", {"C:\\100%% %1 %n %0.exe"}),
              "Cannot open C:\\100%% %1 %n %0.exe.");
    EXPECT_EQ(FillMessageInserts("%1%2", {"%2", "%1"}), "%2%1");
}

}  // namespace
