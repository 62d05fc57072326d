// The default extension of a name typed in the Open dialog.
#include "editor/model/menu_path.h"

#include <gtest/gtest.h>

namespace {

using editor::WithDefaultExtension;

TEST(WithDefaultExtension, OnlyANewNameWithoutAnExtensionGetsOne) {
    EXPECT_EQ(WithDefaultExtension("C:\\Users\\me\\Documents\\Tools", "tvl", false),
              "C:\\Users\\me\\Documents\\Tools.tvl");
    EXPECT_EQ(WithDefaultExtension("D:Tools", "tvl", false), "D:Tools.tvl");
    // A dot in a folder's name is not the file's extension.
    EXPECT_EQ(WithDefaultExtension("C:\\my.menus\\Tools", "tvl", false), "C:\\my.menus\\Tools.tvl");
    EXPECT_EQ(WithDefaultExtension("\\\\server\\share.x/Tools", "tvl", false),
              "\\\\server\\share.x/Tools.tvl");

    EXPECT_EQ(WithDefaultExtension("C:\\m\\Tools.tvl", "tvl", false), "C:\\m\\Tools.tvl");
    EXPECT_EQ(WithDefaultExtension("C:\\m\\Tools.txt", "tvl", false), "C:\\m\\Tools.txt");
    EXPECT_EQ(WithDefaultExtension("C:\\m\\Tools.", "tvl", false), "C:\\m\\Tools.")
        << "a trailing dot asks for no extension";
    EXPECT_EQ(WithDefaultExtension("C:\\m\\Tools", "tvl", true), "C:\\m\\Tools")
        << "an existing menu without an extension is opened as it is";
    EXPECT_EQ(WithDefaultExtension("C:\\m\\", "tvl", false), "C:\\m\\");
    EXPECT_EQ(WithDefaultExtension("", "tvl", false), "");
}

}  // namespace
