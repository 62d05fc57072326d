// The menu's taskbar identity, its shortcut's file name, and the test of a shortcut of ours.
#include "menufile/menu_identity.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using menufile::FoldPathCase;
using menufile::IsShortcutOf;
using menufile::MenuAppUserModelId;
using menufile::MenuShortcut;
using menufile::SamePath;
using menufile::ShortcutFileName;
using menufile::ShortcutLink;

TEST(MenuAppUserModelId, IsFixedForAPathAcrossRunsAndBuilds) {
    // FNV-1a 64 of the folded path's UTF-8 bytes, worked out by hand: a pinned button keeps
    // working only if no later version computes another value.
    EXPECT_EQ(MenuAppUserModelId("C:\\Menus\\Tools.tvl"), "Tarvel.Menu.ad081c2522934ca7");
    EXPECT_EQ(MenuAppUserModelId("C:\\Ménus\\A.tvl"), "Tarvel.Menu.98cdedee73b45118");
    EXPECT_EQ(MenuAppUserModelId(""), "Tarvel.Menu.cbf29ce484222325");
}

TEST(MenuAppUserModelId, IsTheSameForEverySpellingOfOnePath) {
    const std::string id = MenuAppUserModelId("C:\\Ménus\\A.tvl");
    EXPECT_EQ(MenuAppUserModelId("c:/MÉNUS/a.TVL"), id);
    EXPECT_EQ(MenuAppUserModelId("C:\\MÉNUS\\A.TVL"), id);
    // Greek and Cyrillic, including the final sigma and the letters past я.
    EXPECT_EQ(MenuAppUserModelId("C:\\Меню\\ёжик ς.tvl"),
              MenuAppUserModelId("C:\\МЕНЮ\\ЁЖИК Σ.TVL"));
    EXPECT_EQ(MenuAppUserModelId("C:\\άλφα\\Ωμέγα.tvl"), MenuAppUserModelId("c:\\ΆΛΦΑ\\ωΜΈΓΑ.tvl"));
    EXPECT_EQ(MenuAppUserModelId("C:\\Łódź\\Ÿ.tvl"), MenuAppUserModelId("C:\\łÓDŹ\\ÿ.tvl"));
}

TEST(MenuAppUserModelId, IsDistinctPerMenuAndFitsTheSystemsLimit) {
    const char* paths[] = {"C:\\Menus\\Tools.tvl",     "C:\\Menus\\Tools2.tvl",
                           "C:\\Menus\\Tool.tvl",      "D:\\Menus\\Tools.tvl",
                           "C:\\Menus\\Tools.tvl.bak", "C:\\Ménus\\A.tvl",
                           "C:\\Menus\\A.tvl",         "\\\\server\\share\\Tools.tvl"};
    std::set<std::string> ids;
    for (const char* path : paths) {
        const std::string id = MenuAppUserModelId(path);
        EXPECT_LE(id.size(), 128u) << path;
        EXPECT_EQ(id.rfind("Tarvel.Menu.", 0), 0u) << path;
        EXPECT_EQ(id.find_first_not_of("0123456789abcdef", 12), std::string::npos) << id;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), std::size(paths));
    // A path of any length still gives an ID of the same length.
    EXPECT_EQ(MenuAppUserModelId("C:\\" + std::string(5000, 'x') + ".tvl").size(), 28u);
}

TEST(FoldPathCase, FoldsLettersAndSlashesAndKeepsWhatIsNoLetter) {
    EXPECT_EQ(FoldPathCase("c:/a/b.tvl"), "C:\\A\\B.TVL");
    EXPECT_EQ(FoldPathCase("é ß ÷ ı 1"), "É ß ÷ ı 1");
    EXPECT_EQ(FoldPathCase("ｍｅｎｕ"), "ＭＥＮＵ");
    // Bytes that are no UTF-8 stay as they are, and the letters around them are still folded.
    EXPECT_EQ(FoldPathCase("a\xFF"
                           "b\xC3"),
              "A\xFF"
              "B\xC3");
    EXPECT_EQ(FoldPathCase("\xC0\xAF"), "\xC0\xAF");  // an overlong "/" is not a separator
    EXPECT_EQ(FoldPathCase("\xED\xA0\x80x"), "\xED\xA0\x80X");  // a surrogate is no letter
    EXPECT_TRUE(SamePath("C:\\Program Files\\Tarvel\\TVLENGIN.EXE",
                         "c:/program files/tarvel/tvlengin.exe"));
    EXPECT_FALSE(SamePath("C:\\a.tvl", "C:\\b.tvl"));
    EXPECT_FALSE(SamePath("C:\\a\xFF", "C:\\A\xDF"));
}

TEST(ShortcutFileName, IsTheMenuNameWithoutItsExtension) {
    EXPECT_EQ(ShortcutFileName("C:\\Menus\\Tools.tvl"), "Tools.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\Menus\\Tools.TVL"), "Tools.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\Menus\\Tools.Tvl"), "Tools.lnk");
    EXPECT_EQ(ShortcutFileName("C:/Menus/My tools.menu"), "My tools.menu.lnk");
    EXPECT_EQ(ShortcutFileName("Tools.tvl.bak"), "Tools.tvl.bak.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\Menus\\日本語 Ménu.tvl"), "日本語 Ménu.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\Menus\\Ωμέγα 😀.tvl"), "Ωμέγα 😀.lnk");
}

TEST(ShortcutFileName, ReplacesWhatFileNamesRefuse) {
    EXPECT_EQ(ShortcutFileName("C:\\M\\a:b*c?d\"e<f>g|h.tvl"), "a_b_c_d_e_f_g_h.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\tab\there.tvl"), "tab_here.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\a?.tvl"), "a_.lnk");
    // Nothing left that a file name takes.
    EXPECT_EQ(ShortcutFileName("C:\\M\\???.tvl"), "Menu.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\*:|.tvl"), "Menu.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\.tvl"), "Menu.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\... .tvl"), "Menu.lnk");
    EXPECT_EQ(ShortcutFileName(""), "Menu.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\"), "Menu.lnk");
    // Windows drops trailing dots and blanks, so "a..lnk" would not be found again by its name.
    EXPECT_EQ(ShortcutFileName("C:\\M\\Tools..tvl"), "Tools.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\Tools . .tvl"), "Tools.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\Tools?.?.tvl"), "Tools_._.lnk");
}

TEST(ShortcutFileName, NeverNamesADevice) {
    EXPECT_EQ(ShortcutFileName("C:\\M\\CON.tvl"), "CON_.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\nul.tvl"), "nul_.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\Com1.tvl"), "Com1_.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\lpt9.tvl"), "lpt9_.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\aux.old.tvl"), "aux_.old.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\prn .x.tvl"), "prn _.x.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\CONSOLE.tvl"), "CONSOLE.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\COM0.tvl"), "COM0.lnk");
    EXPECT_EQ(ShortcutFileName("C:\\M\\LPT10.tvl"), "LPT10.lnk");
}

TEST(ShortcutFileName, FitsAFileNameOfTheSystem) {
    // 300 two-unit characters would be 600 UTF-16 units: cut at a whole character.
    std::string longName;
    for (int i = 0; i < 300; ++i) {
        longName += "😀";
    }
    const std::string name = ShortcutFileName("C:\\M\\" + longName + ".menu");
    ASSERT_GE(name.size(), 4u);
    EXPECT_EQ(name.substr(name.size() - 4), ".lnk");
    const std::string stem = name.substr(0, name.size() - 4);
    EXPECT_EQ(stem.size() % 4, 0u);  // whole four-byte characters only
    EXPECT_LE(stem.size() / 4 * 2, 251u);
    EXPECT_GE(stem.size() / 4 * 2, 250u);
    const std::string ascii = ShortcutFileName("C:\\M\\" + std::string(251, 'a') + "b.tvl");
    EXPECT_EQ(ascii, std::string(251, 'a') + ".lnk");
}

TEST(MenuShortcut, StartsTheEngineOnTheQuotedMenu) {
    const ShortcutLink link =
        MenuShortcut("C:\\Program Files\\Tarvel\\tvlengin.exe", "D:\\My Menus\\Tools.tvl", 0x0654);
    EXPECT_EQ(link.Target, "C:\\Program Files\\Tarvel\\tvlengin.exe");
    EXPECT_EQ(link.Arguments, "\"D:\\My Menus\\Tools.tvl\"");
    EXPECT_EQ(link.WorkingDirectory, "D:\\My Menus");
    EXPECT_EQ(link.IconPath, "D:\\My Menus\\Tools.tvl");
    EXPECT_EQ(link.IconIndex, 0);
    EXPECT_EQ(link.HotKey, 0x0654);
    EXPECT_EQ(link.Description, "Tarvel menu");
    EXPECT_EQ(MenuShortcut("e.exe", "D:\\Tools.tvl", 0).WorkingDirectory, "D:\\");
}

TEST(IsShortcutOf, KnowsOursFromEverythingElse) {
    const std::string engine = "C:\\Program Files\\Tarvel\\tvlengin.exe";
    const std::string menu = "D:\\My Menus\\Tools.tvl";
    ShortcutLink ours = MenuShortcut(engine, menu, 0);
    EXPECT_TRUE(IsShortcutOf(ours, engine, menu));

    ShortcutLink differentCase = ours;
    differentCase.Target = "c:/program files/tarvel/TVLENGIN.EXE";
    differentCase.Arguments = "\"d:\\my menus\\TOOLS.TVL\"";
    EXPECT_TRUE(IsShortcutOf(differentCase, engine, menu));

    ShortcutLink unquoted = ours;
    unquoted.Arguments = "D:\\Menus\\Tools.tvl";
    EXPECT_TRUE(IsShortcutOf(unquoted, engine, "D:\\Menus\\Tools.tvl"));
    unquoted.Arguments = "  \"D:\\My Menus\\Tools.tvl\"  ";
    EXPECT_TRUE(IsShortcutOf(unquoted, engine, menu));

    ShortcutLink foreign = ours;
    foreign.Target = "C:\\Windows\\notepad.exe";
    EXPECT_FALSE(IsShortcutOf(foreign, engine, menu));
    ShortcutLink otherEngine = ours;
    otherEngine.Target = "C:\\Old\\Tarvel\\tvlengin.exe";
    EXPECT_FALSE(IsShortcutOf(otherEngine, engine, menu));
    ShortcutLink otherMenu = ours;
    otherMenu.Arguments = "\"D:\\My Menus\\Games.tvl\"";
    EXPECT_FALSE(IsShortcutOf(otherMenu, engine, menu));
    ShortcutLink moreArguments = ours;
    moreArguments.Arguments = "\"D:\\My Menus\\Tools.tvl\" /x";
    EXPECT_FALSE(IsShortcutOf(moreArguments, engine, menu));
    EXPECT_FALSE(IsShortcutOf(ShortcutLink{}, engine, menu));
    EXPECT_FALSE(IsShortcutOf(ShortcutLink{}, "", ""));
}

}  // namespace
