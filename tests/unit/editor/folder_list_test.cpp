// The folder rules of the directory-pointer page.
#include "editor/model/folder_list.h"

#include <gtest/gtest.h>

namespace {

using editor::FolderRow;

TEST(FolderRules, TrailingBackslashIsAddedOnlyWhenMissing) {
    EXPECT_EQ(editor::WithTrailingBackslash(""), "\\");
    EXPECT_EQ(editor::WithTrailingBackslash("C:\\Windows"), "C:\\Windows\\");
    EXPECT_EQ(editor::WithTrailingBackslash("C:\\Windows\\"), "C:\\Windows\\");
    EXPECT_EQ(editor::WithTrailingBackslash("C:\\a\\b\\\\"), "C:\\a\\b\\\\");
}

TEST(FolderRules, DriveAndFolderListPath) {
    EXPECT_EQ(editor::DriveOf("c:\\x"), "C:");
    EXPECT_EQ(editor::DriveOf("Z:"), "Z:");
    EXPECT_EQ(editor::DriveOf("\\\\server\\share\\"), "");
    EXPECT_EQ(editor::DriveOf("relative\\x"), "");
    EXPECT_EQ(editor::DriveOf(""), "");

    EXPECT_EQ(editor::FolderListPath("C:\\"), "C:\\");
    EXPECT_EQ(editor::FolderListPath("C:"), "C:\\");
    EXPECT_EQ(editor::FolderListPath("C:\\Program Files\\"), "C:\\Program Files");
    EXPECT_EQ(editor::FolderListPath("C:\\a\\b\\\\"), "C:\\a\\b");
    EXPECT_EQ(editor::FolderListPath("\\\\srv\\music\\"), "\\\\srv\\music\\");
    EXPECT_EQ(editor::FolderListPath("\\\\srv\\music\\old\\"), "\\\\srv\\music\\old");
}

TEST(FolderRules, ChainRunsFromTheRootDown) {
    EXPECT_EQ(editor::FolderChain("C:\\Users\\root\\"),
              (std::vector<std::string>{"C:\\", "C:\\Users", "C:\\Users\\root"}));
    EXPECT_EQ(editor::FolderChain("D:\\"), (std::vector<std::string>{"D:\\"}));
    EXPECT_EQ(editor::FolderChain("\\\\srv\\music\\old"),
              (std::vector<std::string>{"\\\\srv\\music\\", "\\\\srv\\music\\old"}));
    EXPECT_EQ(editor::FolderChain("C:\\a\\\\b"),
              (std::vector<std::string>{"C:\\", "C:\\a", "C:\\a\\\\b"}));
    EXPECT_TRUE(editor::FolderChain("").empty());
    EXPECT_TRUE(editor::FolderChain("no root").empty());
}

TEST(FolderRules, RowsShowOpenAncestorsThenSortedSubFolders) {
    std::vector<FolderRow> rows =
        editor::FolderRows("C:\\Users\\root\\", {"temp", "Desktop", "AppData", "b, c"});
    ASSERT_EQ(rows.size(), 7u);
    auto row = [&](std::size_t i) {
        return rows[i].Path + "|" + rows[i].Label + "|" + std::to_string(rows[i].Depth) +
               (rows[i].Open ? "|open" : "|closed");
    };
    EXPECT_EQ(row(0), "C:\\|C:\\|0|open");
    EXPECT_EQ(row(1), "C:\\Users|Users|1|open");
    EXPECT_EQ(row(2), "C:\\Users\\root|root|2|open");
    EXPECT_EQ(row(3), "C:\\Users\\root\\AppData|AppData|3|closed");
    EXPECT_EQ(row(4), "C:\\Users\\root\\b, c|b, c|3|closed");
    EXPECT_EQ(row(5), "C:\\Users\\root\\Desktop|Desktop|3|closed");
    EXPECT_EQ(row(6), "C:\\Users\\root\\temp|temp|3|closed");

    rows = editor::FolderRows("E:\\", {"x"});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].Path, "E:\\x");
    EXPECT_EQ(rows[1].Depth, 1);
    EXPECT_TRUE(editor::FolderRows("", {"x"}).empty());
}

}  // namespace
