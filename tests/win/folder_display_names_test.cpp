// Display names asked of a folder's shell object: the names the shell gives path by path.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/shell_win.h"
#include "winauto.h"

namespace {

using winauto::TempDir;
using winauto::WriteFileBytes;

TEST(FolderDisplayNames, NamesAsTheShellGivesThemPathByPath) {
    TempDir first("display names ");
    TempDir second("display names ");
    const std::string names[] = {"notes.txt",    "unknown.k30",   "program.exe", "link.lnk",
                                 "bookmark.url", "no extension",  ".profile",    "two.dots.ini",
                                 "日本語 ü.txt", "UPPER CASE.TXT"};
    for (const std::string& name : names) {
        ASSERT_TRUE(WriteFileBytes(first.File(name), ""));
    }
    ASSERT_TRUE(WriteFileBytes(second.File("other.bmp"), ""));

    platform::FolderDisplayNames shown;
    // Back and forth between two folders: each path is asked of its own folder.
    for (int round = 0; round < 2; ++round) {
        for (const std::string& name : names) {
            const std::string path = first.File(name);
            const std::string expected = platform::ShellDisplayName(path);
            EXPECT_FALSE(expected.empty()) << name;
            EXPECT_EQ(shown.NameOf(path), expected) << name;
        }
        const std::string other = second.File("other.bmp");
        EXPECT_EQ(shown.NameOf(other), platform::ShellDisplayName(other));
    }
    // A file gone since the listing, and a folder that is not there: no name, as the shell says.
    EXPECT_EQ(shown.NameOf(first.File("gone.txt")), "");
    EXPECT_EQ(shown.NameOf(first.File("no such folder\\a.txt")), "");
    // A path written with forward slashes: what the shell makes of it.
    std::string forward = first.File("notes.txt");
    for (char& c : forward) {
        c = c == '\\' ? '/' : c;
    }
    EXPECT_EQ(shown.NameOf(forward), platform::ShellDisplayName(forward));
}

}  // namespace
