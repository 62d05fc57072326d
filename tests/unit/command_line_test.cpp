// The menu path taken from a command line, quoted or not.
#include "menufile/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(PathFromCommandLine, StripsQuotesOnlyWhenThereAreQuotes) {
    using menufile::PathFromCommandLine;
    EXPECT_EQ(PathFromCommandLine("\"C:\\My Menus\\tools.tvl\""), "C:\\My Menus\\tools.tvl");
    EXPECT_EQ(PathFromCommandLine("C:\\menus\\tools.tvl"), "C:\\menus\\tools.tvl");
    EXPECT_EQ(PathFromCommandLine("  \"C:\\a.tvl\" "), "C:\\a.tvl");
    EXPECT_EQ(PathFromCommandLine("\"C:\\a b.tvl"), "C:\\a b.tvl");
    EXPECT_EQ(PathFromCommandLine("\"\""), "");
    EXPECT_EQ(PathFromCommandLine("\""), "");
    EXPECT_EQ(PathFromCommandLine(""), "");
    EXPECT_EQ(PathFromCommandLine("x"), "x");
}

}  // namespace
