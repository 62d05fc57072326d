// The wizard's path checks, pages, proposed names and records; the icon library rules; the
// appearance settings line and picture.
#include <gtest/gtest.h>

#include <set>

#include "editor/model/appearance.h"
#include "editor/model/icon_library.h"
#include "editor/model/item_wizard.h"

namespace {

using editor::ItemWizard;

const std::set<std::string> kOnDisk = {"C:\\windows\\notepad.exe", "C:\\windows", "C:\\hidden.sys",
                                       "C:\\My Documents\\"};
const editor::PathExists kExists = [](const std::string& p) { return kOnDisk.count(p) > 0; };
const editor::DisplayNameOf kShellNames = [](const std::string& p) {
    return p == "C:\\windows\\notepad.exe" ? std::string("notepad")
           : p == "C:\\windows"            ? std::string("windows")
                                           : std::string();
};

TEST(ItemWizard, AcceptsAddressesByExactPrefixAndExistingFilesAndFolders) {
    for (const char* accepted :
         {"http://example.invalid/", "ftp://host/file", "mailto:someone@example.invalid",
          "gopher://old", "news:comp.lang", "telnet://host", "C:\\windows\\notepad.exe",
          "C:\\windows", "C:\\hidden.sys"}) {
        ItemWizard w;
        w.Target = accepted;
        EXPECT_EQ(w.Next(kExists, kShellNames), std::nullopt) << accepted;
        EXPECT_EQ(w.CurrentPage(), ItemWizard::Page::Name) << accepted;
    }
    for (const char* refused :
         {"HTTP://example.invalid/", "Mailto:x", "http:/x", "C:\\missing.exe", "news"}) {
        ItemWizard w;
        w.Target = refused;
        EXPECT_EQ(w.Next(kExists, kShellNames),
                  "File " + std::string(refused) + " cannot be accessed. Please check the path.");
        EXPECT_EQ(w.CurrentPage(), ItemWizard::Page::Path);
        EXPECT_EQ(w.Target, refused);
    }
}

// A machine where "notepad" is on the search path, %windir% is set and https has a handler.
class RunBoxLookup : public menufile::TargetLookup {
public:
    bool Exists(const std::string& p) override { return kOnDisk.count(p) > 0; }
    std::string ExpandVariables(const std::string& text) override {
        return text == "%windir%\\notepad.exe" ? "C:\\windows\\notepad.exe" : text;
    }
    std::string FindOnSearchPath(const std::string& name) override {
        return name == "notepad" ? "C:\\windows\\notepad.exe" : "";
    }
    std::string AppPath(const std::string&) override { return {}; }
    bool HasSchemeHandler(const std::string& scheme) override { return scheme == "https"; }
};

TEST(ItemWizard, TakesWhatTheRunBoxTakesAndKeepsWhatWasTyped) {
    RunBoxLookup lookup;
    struct Case {
        const char* typed;
        const char* name;  // the shell's name of what it resolves to
    };
    // The six prefixes need no handler; the rest are found as the system finds them.
    for (const Case& c : {Case{"notepad", "notepad"}, Case{"%windir%\\notepad.exe", "notepad"},
                          Case{"https://example.com", ""}, Case{"gopher://old", ""},
                          Case{"C:\\windows", "windows"}}) {
        ItemWizard w;
        w.Target = c.typed;
        w.Arguments = "-a";
        ASSERT_EQ(w.Next(lookup, kShellNames), std::nullopt) << c.typed;
        EXPECT_EQ(w.Name, c.name) << c.typed;
        w.Name = "Mine";
        const menufile::MenuItem record = w.Record();
        EXPECT_EQ(record.Target, c.typed) << "the item keeps what was typed";
        EXPECT_EQ(record.Arguments, "-a");
    }
    for (const char* refused : {"wordpad", "ftps://host", "%windir%\\wordpad.exe", "C:"}) {
        ItemWizard w;
        w.Target = refused;
        EXPECT_EQ(w.Next(lookup, kShellNames),
                  "File " + std::string(refused) + " cannot be accessed. Please check the path.");
        EXPECT_EQ(w.CurrentPage(), ItemWizard::Page::Path);
    }
}

TEST(ItemWizard, PagesAndButtons) {
    ItemWizard w;
    EXPECT_FALSE(w.NextEnabled());
    EXPECT_TRUE(w.NextVisible());
    EXPECT_FALSE(w.FinishVisible());
    EXPECT_FALSE(w.BackEnabled());
    EXPECT_STREQ(w.Instruction(), editor::kPathInstruction);
    w.Target = "C:\\windows\\notepad.exe";
    EXPECT_TRUE(w.NextEnabled());
    ASSERT_EQ(w.Next(kExists, kShellNames), std::nullopt);
    EXPECT_STREQ(w.Instruction(), "Type a friendly name for your shortcut.");
    EXPECT_FALSE(w.NextVisible());
    EXPECT_TRUE(w.FinishVisible());
    EXPECT_TRUE(w.BackEnabled());
    EXPECT_EQ(w.Name, "notepad");
    EXPECT_TRUE(w.FinishEnabled());
    w.Name.clear();
    EXPECT_FALSE(w.FinishEnabled());

    // Back, a new path, Next again: a new item takes the new path's name...
    w.Back();
    EXPECT_EQ(w.CurrentPage(), ItemWizard::Page::Path);
    w.Name = "typed";
    w.Target = "C:\\windows";
    ASSERT_EQ(w.Next(kExists, kShellNames), std::nullopt);
    EXPECT_EQ(w.Name, "windows");
    // ...and an address the shell knows nothing of leaves the name empty, not the last one.
    w.Back();
    w.Target = "http://example.invalid/";
    ASSERT_EQ(w.Next(kExists, kShellNames), std::nullopt);
    EXPECT_EQ(w.Name, "");

    // An edit keeps its name.
    ItemWizard edit({"My editor", "C:\\windows\\notepad.exe", "-x", "C:\\", "shell32.dll", "3"});
    EXPECT_EQ(edit.Record({"", "", "", "", "shell32.dll", "3"}).IconFile, "shell32.dll")
        << "an edit from the start: its record keeps the item's icon";
    edit.Target = "C:\\windows";
    ASSERT_EQ(edit.Next(kExists, kShellNames), std::nullopt);
    EXPECT_EQ(edit.Name, "My editor");
}

TEST(ItemWizard, RecordsForNewAndEditedItems) {
    ItemWizard add;
    add.Target = "C:\\windows\\notepad.exe";
    add.Arguments = "a, b";
    add.StartIn = "C:\\";
    add.Name = "Notes, old";
    EXPECT_EQ(menufile::FormatItemLine(add.Record({"x", "y", "z", "w", "lib.dll", "9"})),
              "\"Notes, old\",\"C:\\windows\\notepad.exe\",\"a, b\",\"C:\\\",\"\",0\r\n");

    ItemWizard edit({"Old", "old.exe", "", "", "shell32.dll", "3"});
    edit.Name = "New";
    edit.Target = "new.exe";
    EXPECT_EQ(menufile::FormatItemLine(edit.Record({"Old", "old.exe", "", "", "shell32.dll", "3"})),
              "\"New\",\"new.exe\",\"\",\"\",\"shell32.dll\",3\r\n");
}

TEST(ItemWizard, RefusesTextTheRecordCannotHoldNamingTheField) {
    EXPECT_EQ(
        editor::UnwritableTextMessage({"fine, with commas", "C:\\a b\\c.exe", "", "", "", "0"}),
        std::nullopt);
    struct Case {
        menufile::MenuItem item;
        const char* field;
    };
    const Case cases[] = {
        {{"Say \"hi\"", "a.exe", "", "", "", "0"}, "name"},
        {{"a", "a\r\nb.exe", "", "", "", "0"}, "path"},
        {{"a", "a.exe", "-x \"y\"", "", "", "0"}, "command line arguments"},
        {{"a", "a.exe", "", "C:\\\n", "", "0"}, "Start in folder"},
    };
    for (const Case& c : cases) {
        auto message = editor::UnwritableTextMessage(c.item);
        ASSERT_TRUE(message.has_value()) << c.field;
        EXPECT_NE(message->find(std::string("The ") + c.field + " cannot contain"),
                  std::string::npos)
            << *message;
    }
}

TEST(IconLibrary, CountsRangesAndWhatIsStored) {
    EXPECT_EQ(editor::IconCountText(0), "0 Icons");
    EXPECT_EQ(editor::IconCountText(1), "1 Icon");
    EXPECT_EQ(editor::IconCountText(7), "7 Icons");
    EXPECT_EQ(editor::ScrollMaximum(0), 0);
    EXPECT_EQ(editor::ScrollMaximum(1), 0);
    EXPECT_EQ(editor::ScrollMaximum(7), 6);
    EXPECT_EQ(editor::StartPosition(3, 7), 3);
    EXPECT_EQ(editor::StartPosition(7, 7), 0) << "beyond the last icon starts at the first";
    EXPECT_EQ(editor::StartPosition(-1, 7), 0);
    EXPECT_EQ(editor::StoredIconFile("C:\\a.exe", "C:\\a.exe"), "");
    EXPECT_EQ(editor::StoredIconFile("C:\\shell32.dll", "C:\\a.exe"), "C:\\shell32.dll");
}

TEST(Appearance, SettingsLineForEveryCombination) {
    EXPECT_EQ(
        menufile::FormatSettingsLine(editor::SettingsOf({true, "Tahoma", 8.25f, true, false})),
        "1,\"Tahoma\",8.25,-1,0\r\n");
    EXPECT_EQ(menufile::FormatSettingsLine(
                  editor::SettingsOf({false, "MS Sans Serif", 10.0f, false, true})),
              "0,\"MS Sans Serif\",10,0,-1\r\n");
    const editor::Appearance back = editor::AppearanceOf({"1", "Arial", "9.75", "True", "0"});
    EXPECT_TRUE(back.SmallIcons);
    EXPECT_EQ(back.FontSize, 9.75f);
    EXPECT_TRUE(back.FontBold);
    EXPECT_FALSE(back.FontItalic);
    EXPECT_EQ(editor::AppearanceOf({"0", "X", "", "0", "0"}).FontSize, 8.25f);
    EXPECT_EQ(editor::DialogFontSize(8.25f), 8.25f);
    EXPECT_FLOAT_EQ(editor::DialogFontSize(10.123456f), 10.1235f);
}

TEST(Appearance, BitmapFileOfTheMenuIcon) {
    std::vector<std::uint32_t> pixels(32 * 32, 0x00FF00);
    pixels[0] = 0x123456;  // top left
    const std::string bmp = editor::BitmapFile(32, 32, pixels);
    ASSERT_EQ(bmp.size(), 14u + 40u + 32u * 32u * 3u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[2]) | static_cast<unsigned char>(bmp[3]) << 8,
              static_cast<int>(bmp.size()));
    // Bottom-up: the top-left pixel is the first of the last row, stored blue, green, red.
    const std::size_t topLeft = 54 + 31 * 32 * 3;
    EXPECT_EQ(static_cast<unsigned char>(bmp[topLeft]), 0x56);
    EXPECT_EQ(static_cast<unsigned char>(bmp[topLeft + 1]), 0x34);
    EXPECT_EQ(static_cast<unsigned char>(bmp[topLeft + 2]), 0x12);
    // Odd widths pad every row to four bytes.
    EXPECT_EQ(editor::BitmapFile(3, 2, std::vector<std::uint32_t>(6, 0)).size(), 54u + 2u * 12u);
}

}  // namespace
