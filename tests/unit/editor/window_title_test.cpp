// The main window's title, and the last part of a path it falls back on.
#include "editor/model/window_title.h"

#include <gtest/gtest.h>

#include "menufile/display_path.h"

namespace {

TEST(MainWindowTitle, IsTheShellsNameOfTheFileThenTheProgram) {
    EXPECT_EQ(editor::MainWindowTitle("C:\\menus\\My tools.tvl", "My tools"),
              "My tools - Tarvel Edit");
    EXPECT_EQ(editor::MainWindowTitle("C:\\menus\\My tools.tvl", "My tools.tvl"),
              "My tools.tvl - Tarvel Edit")
        << "extensions shown";
    EXPECT_EQ(editor::MainWindowTitle("C:\\menus\\odd, name.tvl", ""),
              "odd, name.tvl - Tarvel Edit")
        << "no name from the shell: the file's own";
    EXPECT_EQ(editor::MainWindowTitle("menus/plain", ""), "plain - Tarvel Edit");
    EXPECT_EQ(editor::MainWindowTitle("", ""), "Tarvel Edit");
}

TEST(LastPathPart, IsWhatFollowsTheLastSeparatorOnceTrailingOnesAreLeftOut) {
    using menufile::LastPathPart;
    EXPECT_EQ(LastPathPart("C:\\menus\\My tools.tvl"), "My tools.tvl");
    EXPECT_EQ(LastPathPart("menus/tools/plain"), "plain") << "forward slashes too";
    EXPECT_EQ(LastPathPart("C:\\menus/mixed\\last"), "last");
    EXPECT_EQ(LastPathPart("C:\\menus\\Folder\\"), "Folder") << "a dropped folder";
    EXPECT_EQ(LastPathPart("C:\\menus\\Folder\\//"), "Folder");
    EXPECT_EQ(LastPathPart("\\\\server\\share"), "share");
    EXPECT_EQ(LastPathPart("plain.tvl"), "plain.tvl") << "no separator: all of it";
    EXPECT_EQ(LastPathPart("C:\\"), "C:") << "a drive's root";
    EXPECT_EQ(LastPathPart("\\"), "");
    EXPECT_EQ(LastPathPart(""), "");
}

}  // namespace
