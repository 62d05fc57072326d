// The new file content every editor change builds, byte for byte.
#include <gtest/gtest.h>

#include "menufile/menu_file.h"

namespace {

using namespace std::string_literals;
using menufile::Built;
using menufile::MenuError;
using menufile::MenuItem;

const std::string kPicture = "BM\0\0<\r\n<START\r\nTVL>\"\r<START TVL> \n\xff"s;
const std::string kHead = kPicture + "\r\n<START TVL>\r\n";
const std::string kSettings = "1,\"MS Sans Serif\",8.25,0,0\r\n";
const std::string kNotepad = "\"Notepad\",\"C:\\windows\\notepad.exe\",\"\",\"\",\"\",0\r\n";
const std::string kLetters = "\"Letters, 2026\",\"C:\\docs\\\",\"\",\"C:\\docs\\\",\"\",0\r\n";
const std::string kSeparator = "\"\",\"\",\"\",\"\",\"\",\r\n";
const std::string kUserMenu = kHead + "\"USERDEF\"\r\n" + kSettings + kNotepad + kSeparator + kLetters;

std::vector<MenuItem> ItemsOf(const std::string& file) { return menufile::ReadMenu(file).Items; }

void ExpectBuilt(const Built& built, const std::string& expected) {
    EXPECT_EQ(built.Error, MenuError::None);
    EXPECT_EQ(built.Content, expected);
}

TEST(RewriteItems, KeepsPictureAndValuesAndWritesTheChangedRecords) {
    std::vector<MenuItem> items = ItemsOf(kUserMenu);
    ExpectBuilt(menufile::RewriteItems(kUserMenu, "USERDEF", items), kUserMenu);

    std::swap(items[0], items[2]);  // a move
    items.erase(items.begin() + 1);  // a delete
    items.insert(items.begin(), MenuItem::Separator());
    ExpectBuilt(menufile::RewriteItems(kUserMenu, "USERDEF", items),
                kHead + "\"USERDEF\"\r\n" + kSettings + kSeparator + kLetters + kNotepad);

    ExpectBuilt(menufile::RewriteItems(kUserMenu, "USERDEF", {}),
                kHead + "\"USERDEF\"\r\n" + kSettings);
}

TEST(RewriteItems, WritesOddValuesBackInTheirPlainForm) {
    // Odd settings values are written back as read, unquoted ones in their plain form.
    const std::string odd = "pic\r<START TVL>\r\"USERDEF\"\r\nTrue,\"X\",  9.0 ,#TRUE#,-1\n";
    ExpectBuilt(menufile::RewriteItems(odd, "USERDEF", {}),
                "pic\r<START TVL>\r\"USERDEF\"\r\nTrue,\"X\",9.0,#TRUE#,-1\r\n");
}

TEST(RewriteItems, RefusesTextTheFormatCannotHoldAndBrokenFiles) {
    for (MenuItem bad : {MenuItem{"Say \"hi\"", "a.exe", "", "", "", "0"},
                         MenuItem{"a", "C:\\\"x\"", "", "", "", "0"},
                         MenuItem{"a", "a.exe", "", "", "", "\"5"},
                         MenuItem{"a", "a.exe", "", "", "", "1,2"}}) {
        EXPECT_EQ(menufile::RewriteItems(kUserMenu, "USERDEF", {bad}).Error, MenuError::BadText);
        EXPECT_EQ(menufile::AppendItem(kUserMenu, bad).Error, MenuError::BadText);
    }
    EXPECT_EQ(menufile::RewriteItems("1,\"X\",8,0,0\r\n", "USERDEF", {}).Error,
              MenuError::NotAMenu);
    EXPECT_EQ(menufile::RewriteItems(kHead + "\"USERDEF\"\r\n", "USERDEF", {}).Error,
              MenuError::Damaged);
    EXPECT_EQ(menufile::RewriteItems(kUserMenu + "\"cut\",\"x\"", "USERDEF", {}).Error,
              MenuError::Damaged);
}

TEST(MenuType, SwitchesBetweenItemsAndADirectoryPointer) {
    const std::string pointerMenu = kHead + "\"DIRPOINT\"\r\n" + kSettings + "\"C:\\\",\"*.*\",1,0,0\r\n";
    ExpectBuilt(menufile::ChangeToDirectoryPointer(kUserMenu), pointerMenu);
    ExpectBuilt(menufile::ChangeToUserDefined(pointerMenu), kHead + "\"USERDEF\"\r\n" + kSettings);
    ExpectBuilt(menufile::SaveDirectoryPointer(pointerMenu, "D:\\My Music, old\\", "*.mp3", 1, 1, 0),
                kHead + "\"DIRPOINT\"\r\n" + kSettings + "\"D:\\My Music, old\\\",\"*.mp3\", 1, 1, 0");
    EXPECT_EQ(menufile::SaveDirectoryPointer(pointerMenu, "D:\\\"x\"", "*.*", 1, 0, 0).Error,
              MenuError::BadText);
}

TEST(SaveAppearance, WritesNewPictureAndSettingsBeforeTheRecords) {
    const menufile::MenuSettings settings{"0", "Tahoma", menufile::FormatNumber(9.75f), "-1", "0"};
    const std::string newHead = "NEWPIC<\r\n\r\n<START TVL>\r\n";
    const std::string settingsLine = "0,\"Tahoma\",9.75,-1,0\r\n";
    ExpectBuilt(menufile::SaveAppearance(kUserMenu, "NEWPIC<\r\n", settings),
                newHead + "\"USERDEF\"\r\n" + settingsLine + kNotepad + kSeparator + kLetters);

    // A directory pointer keeps its type and its record, in whichever form it was saved.
    const std::string saved = "\"D:\\\",\"*.txt\", 0, 1, 0";
    ExpectBuilt(menufile::SaveAppearance(kHead + "\"DIRPOINT\"\r\n" + kSettings + saved,
                                         "NEWPIC<\r\n", settings),
                newHead + "\"DIRPOINT\"\r\n" + settingsLine + saved);
}

TEST(SaveAppearance, RefusesAPictureHoldingAMarkerLine) {
    const menufile::MenuSettings settings;
    for (std::string picture : {"abc\r\n<START TVL>\r\nxyz"s, "<START TVL>"s, "x\n<START TVL>"s}) {
        EXPECT_EQ(menufile::SaveAppearance(kUserMenu, picture, settings).Error,
                  MenuError::PictureHoldsMarker)
            << picture;
    }
    EXPECT_EQ(menufile::SaveAppearance(kUserMenu, "pic", {"0", "Bad\"Font", "8", "0", "0"}).Error,
              MenuError::BadText);
}

TEST(UpgradeMenuFile, PutsTheOldBytesUnchangedBehindPictureMarkerAndType) {
    const std::string oldLayout = kSettings + kNotepad + kLetters;
    const std::string stock = "ICO\0\0\x01"s;
    Built built = menufile::UpgradeMenuFile(oldLayout, stock);
    ExpectBuilt(built, stock + "\r\n<START TVL>\r\n\"USERDEF\"\r\n" + oldLayout);
    menufile::MenuFile upgraded = menufile::ReadMenu(built.Content);
    ASSERT_EQ(upgraded.Status, menufile::ReadStatus::Ok);
    ASSERT_EQ(upgraded.Items.size(), 2u);
    EXPECT_EQ(upgraded.Items[0].Name, "Notepad");
    EXPECT_EQ(upgraded.Items[1].Name, "Letters, 2026");

    EXPECT_EQ(menufile::UpgradeMenuFile("", stock).Error, MenuError::Damaged)
        << "an empty file has no settings to upgrade";
    EXPECT_EQ(menufile::UpgradeMenuFile(oldLayout, "x\r\n<START TVL>\r\n").Error,
              MenuError::PictureHoldsMarker);
}

TEST(AppendItem, AddsOneLineAtTheEnd) {
    const MenuItem web{"Web, news", "http://example.invalid/", "", "", "", "0"};
    const std::string webLine = "\"Web, news\",\"http://example.invalid/\",\"\",\"\",\"\",0\r\n";
    ExpectBuilt(menufile::AppendItem(kUserMenu, web), kUserMenu + webLine);
    // A last record without its line end gets one, so the new record is not glued to it.
    const std::string noFinalEnd = kUserMenu.substr(0, kUserMenu.size() - 2);
    ExpectBuilt(menufile::AppendItem(noFinalEnd, web), kUserMenu + webLine);
    const std::string empty = kHead + "\"USERDEF\"\r\n" + kSettings;
    ExpectBuilt(menufile::AppendItem(empty, web), empty + webLine);
    EXPECT_EQ(menufile::AppendItem(kHead + "\"DIRPOINT\"\r\n" + kSettings + "\"C:\\\",\"*.*\",1,0,0",
                                   web)
                  .Error,
              MenuError::BadText);
}

}  // namespace

namespace {

// A quoted text ends with its line, so no builder may write a line end into one.
TEST(Builders, RefuseALineEndInAQuotedText) {
    const MenuItem twoLines{"two\r\nlines", "a.exe", "", "", "", "0"};
    EXPECT_EQ(menufile::RewriteItems(kUserMenu, "USERDEF", {twoLines}).Error, MenuError::BadText);
    EXPECT_EQ(menufile::AppendItem(kUserMenu, {"a", "a.exe", "lone\nfeed", "", "", "0"}).Error,
              MenuError::BadText);
    EXPECT_EQ(menufile::SaveAppearance(kUserMenu, "pic", {"0", "Font\rName", "8", "0", "0"}).Error,
              MenuError::BadText);
    const std::string pointerMenu =
        kHead + "\"DIRPOINT\"\r\n" + kSettings + "\"C:\\\",\"*.*\",1,0,0";
    EXPECT_EQ(menufile::SaveDirectoryPointer(pointerMenu, "D:\\a\r\nb\\", "*.*", 1, 0, 0).Error,
              MenuError::BadText);
}

}  // namespace
