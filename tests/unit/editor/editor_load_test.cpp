// Loading a menu file into the editor: what is shown, what is refused, upgrades, new menus and
// the recovery of an interrupted save.
#include <gtest/gtest.h>

#include "editor/model/editor_messages.h"
#include "editor_fixtures.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

using namespace editor_test;
using editor::LoadStatus;
using editor::MenuEditor;
using menufile::FileError;
using menufile::MenuError;
using platform::MemoryFileSystem;

const std::string kPath = "C:\\Users\\me\\Desktop\\My Menu.tvl";
const std::string kStock = "\0\0\1\0\1\0  \x10\0stock icon<\r\n"s;
const std::string kOldLayout = "0,\"MS Sans Serif\",8.25,0,0\r\n" + kNotepad + kSeparator + kLast;

TEST(EditorLoad, ShowsNamesSeparatorsTargetsAndIconsByTheIconRule) {
    MemoryFileSystem fs;
    fs.Put(kPath, UserMenu({kNotepad, kSeparator, kLetters, kLast,
                            "\"Broken icon\",\"x.exe\",\"\",\"\",\"C:\\noicon.dll\",1\r\n",
                            "\"\",\"C:\\named\\by\\target.exe\",\"\",\"\",\"\",0\r\n"}));
    FakeIcons icons;
    {
        MenuEditor editor(fs, icons, test_support::Windows1252());
        ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
        EXPECT_EQ(editor.Path(), kPath);
        EXPECT_FALSE(editor.IsDirectoryPointer());
        EXPECT_EQ(editor.Settings().SmallIcons, "1");
        EXPECT_EQ(editor.Settings().FontSize, "8.25");
        const std::string hyphens(87, '-');
        EXPECT_EQ(Texts(editor), (std::vector<std::string>{"Notepad", hyphens, "Letters, 2026",
                                                           "Last", "Broken icon", hyphens}));
        const auto& e = editor.Rows();
        EXPECT_TRUE(icons.Requests.empty()) << "loading extracts no icon: previews do";
        EXPECT_EQ(editor.PreviewIcon(0), 0u) << "no icon file and index 0: the shell's icon";
        EXPECT_EQ(e[1].Target, "");
        EXPECT_EQ(editor.PreviewIcon(1), 0u);
        EXPECT_EQ(icons.Live.at(editor.PreviewIcon(2)), "C:\\icons.dll#3") << "the icon file wins";
        EXPECT_EQ(icons.Live.at(editor.PreviewIcon(3)), "C:\\tools\\last.exe#2")
            << "index > 0: the target";
        EXPECT_EQ(editor.PreviewIcon(4), 0u) << "a failed extraction holds no handle";
        EXPECT_EQ(e[5].Target, "C:\\named\\by\\target.exe");
        EXPECT_EQ(editor.PreviewIcon(6), 0u) << "no such entry";
        ASSERT_TRUE(ListAgreesWithFile(editor, fs));

        // Previewing again, even after loading again, asks the file no more.
        const auto asked = icons.Requests.size();
        ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
        for (int k = 0; k < 6; ++k) {
            (void)editor.PreviewIcon(k);
        }
        EXPECT_EQ(icons.Requests.size(), asked);
        EXPECT_EQ(icons.Live.size(), 2u);
    }
    EXPECT_TRUE(icons.Live.empty());
}

TEST(EditorLoad, DirectoryPointerInBothFormsAndAnEmptyList) {
    MemoryFileSystem fs;
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    fs.Put(kPath, PointerMenu(kSavedPointer));
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
    EXPECT_TRUE(editor.IsDirectoryPointer());
    EXPECT_EQ(editor.DirectoryPointer(),
              (menufile::DirectoryPointer{"D:\\My Music, old\\", "*.mp3", "1", "0", "1"}));
    fs.Put(kPath, PointerMenu(kPointerLine));
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
    EXPECT_EQ(editor.DirectoryPointer(), menufile::DirectoryPointer{});
    EXPECT_TRUE(editor.Rows().empty());

    fs.Put(kPath, UserMenu({}));
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
    EXPECT_FALSE(editor.IsDirectoryPointer());
    EXPECT_TRUE(editor.Rows().empty());
}

TEST(EditorLoad, RefusesWhatItCannotShowWithoutWritingAnything) {
    struct Case {
        const char* name;
        std::optional<std::string> content;
        LoadStatus expected;
    };
    const Case cases[] = {
        {"missing", std::nullopt, LoadStatus::NotFound},
        {"empty", "", LoadStatus::Empty},
        {"old layout", kOldLayout, LoadStatus::OldLayout},
        {"not a menu", "MZ\x90\0\3 binary, no marker"s, LoadStatus::NotAMenu},
        {"only line ends", "\r\n\r\n", LoadStatus::NotAMenu},
        {"marker only", kHead, LoadStatus::NoSettings},
        {"type, no settings", kHead + kUserType, LoadStatus::NoSettings},
        {"settings cut short", kHead + kUserType + "1,\"MS Sans Serif\"", LoadStatus::NoSettings},
        {"record cut short", UserMenu({kNotepad, "\"cut\",\"x\""}), LoadStatus::Damaged},
        {"pointer cut short", PointerMenu("\"C:\\\",\"*.*\""), LoadStatus::Damaged},
        {"bad value", UserMenu({"ab\"c,\"b\",\"\",\"\",\"\",0\r\n"}), LoadStatus::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryFileSystem fs;
        if (c.content) {
            fs.Put(kPath, *c.content);
        }
        FakeIcons icons;
        MenuEditor editor(fs, icons, test_support::Windows1252());
        EXPECT_EQ(editor.LoadEditorMenu(kPath), c.expected);
        EXPECT_FALSE(editor.IsLoaded());
        EXPECT_TRUE(editor.Rows().empty());
        EXPECT_EQ(fs.Get(kPath), c.content);
        EXPECT_EQ(fs.Paths().size(), c.content ? 1u : 0u);
        EXPECT_EQ(editor.Delete(0).Status, editor::EditStatus::Unchanged);
        if (c.expected != LoadStatus::OldLayout && c.expected != LoadStatus::NotFound) {
            const std::string text = editor::LoadProblemText(c.expected, kPath);
            EXPECT_NE(text.find(kPath), std::string::npos) << "the message names the file";
        }
    }

    MemoryFileSystem fs;
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    EXPECT_EQ(editor.LoadEditorMenu(""), LoadStatus::NoPath);
    fs.Put(kPath, UserMenu({kNotepad}));
    // Each reason a file cannot be read is told apart, and the message says which.
    const std::pair<FileError, LoadStatus> failures[] = {
        {FileError::InUse, LoadStatus::InUse},
        {FileError::ReadOnly, LoadStatus::NoPermission},
        {FileError::PathTooLong, LoadStatus::TooLong},
        {FileError::DiskFull, LoadStatus::Unreadable},
    };
    for (auto [error, status] : failures) {
        fs.FailAt(fs.Calls() + 1, true, error);
        EXPECT_EQ(editor.LoadEditorMenu(kPath), status);
        fs.ClearFaults();
    }
    EXPECT_NE(editor::LoadProblemText(LoadStatus::InUse, kPath).find("another program"),
              std::string::npos);
    EXPECT_NE(editor::LoadProblemText(LoadStatus::NoPermission, kPath).find("permission"),
              std::string::npos);
    EXPECT_NE(editor::LoadProblemText(LoadStatus::TooLong, kPath).find("too long"),
              std::string::npos);
    // A folder is not a missing file to create a menu in.
    fs.MakeFolder("C:\\Users\\me\\Desktop\\Folder.tvl");
    EXPECT_EQ(editor.LoadEditorMenu("C:\\Users\\me\\Desktop\\Folder.tvl"), LoadStatus::Folder);
    EXPECT_NE(editor::LoadProblemText(LoadStatus::Folder, "X").find("names a folder"),
              std::string::npos);
}

TEST(EditorLoad, UpgradeKeepsTheOldBytesBehindTheStockPicture) {
    MemoryFileSystem fs;
    fs.Put(kPath, kOldLayout);
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::OldLayout);
    ASSERT_EQ(editor.UpgradeOldMenu(kStock), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), kStock + "\r\n<START TVL>\r\n\"USERDEF\"\r\n" + kOldLayout);
    EXPECT_TRUE(editor.IsLoaded());
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"Notepad", std::string(87, '-'), "Last"}));
    EXPECT_EQ(editor.Settings().SmallIcons, "0");
    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
}

TEST(EditorLoad, FailedUpgradeLeavesTheFileUntouched) {
    MemoryFileSystem fs;
    fs.Put(kPath, kOldLayout);
    fs.SetReadOnly(kPath, true);
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::OldLayout);
    EXPECT_EQ(editor.UpgradeOldMenu(kStock), MenuError::ReadOnly);
    EXPECT_EQ(fs.Get(kPath), kOldLayout);
    EXPECT_FALSE(editor.IsLoaded());
}

TEST(EditorLoad, NewMenuAtAMissingPathIsAnEmptyUserDefinedMenu) {
    const std::string expected =
        kStock + "\r\n<START TVL>\r\n\"USERDEF\"\r\n0,\"MS Sans Serif\",8.25,0,0\r\n";
    EXPECT_EQ(editor::NewMenuContent(kStock), expected);

    MemoryFileSystem fs;
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::NotFound);
    ASSERT_EQ(editor.CreateNewMenu(kPath, kStock), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), expected);
    EXPECT_TRUE(editor.IsLoaded());
    EXPECT_TRUE(editor.Rows().empty());
    EXPECT_EQ(editor.DropFiles({{"A", "a.exe"}}).Added, 1) << "the new menu takes items";

    // Never over an existing file, even an empty one.
    fs.Put(kPath, "");
    EXPECT_NE(editor.CreateNewMenu(kPath, kStock), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), "");
}

TEST(EditorLoad, NewMenuFailingAtAnyCallLeavesNothingOrTheWholeMenu) {
    const std::string expected = editor::NewMenuContent(kStock);
    for (int call = 1;; ++call) {
        SCOPED_TRACE(call);
        MemoryFileSystem fs;
        FakeIcons icons;
        MenuEditor editor(fs, icons, test_support::Windows1252());
        fs.FailAt(call, false, FileError::DiskFull);
        MenuError e = editor.CreateNewMenu(kPath, kStock);
        const bool reached = fs.Calls() >= call;
        fs.ClearFaults();
        if (!reached) {
            EXPECT_EQ(e, MenuError::None);
            break;
        }
        if (e == MenuError::None) {
            EXPECT_EQ(fs.Get(kPath), expected);
        } else {
            // Either nothing is left, or the menu was complete and only reading it back failed.
            EXPECT_TRUE(fs.Paths().empty() || (fs.Paths() == std::vector<std::string>{kPath} &&
                                               fs.Get(kPath) == expected))
                << "a failed creation leaves no partial file";
            EXPECT_FALSE(editor.IsLoaded());
        }
    }
}

TEST(EditorLoad, AStaleJournalBesideAMissingMenuIsNotReplayedIntoANewOne) {
    MemoryFileSystem fs;
    fs.Put(kPath, UserMenu({kNotepad}));
    fs.CrashAt(7);  // inside the commit, after its journal is written
    EXPECT_THROW((void)menufile::CommitMenuFile(fs, kPath, UserMenu({kNotepad}), UserMenu({})),
                 MemoryFileSystem::SimulatedCrash);
    fs.ClearFaults();
    ASSERT_TRUE(fs.Get(menufile::JournalPath(kPath)));
    ASSERT_EQ(fs.Remove(kPath), FileError::None);

    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.CreateNewMenu(kPath, kStock), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), editor::NewMenuContent(kStock));
    // The journal held the last content saved: kept aside, not deleted.
    EXPECT_EQ(fs.Paths(),
              (std::vector<std::string>{kPath, menufile::JournalPath(kPath) + ".stale"}));
}

// A save cut short at any point is finished or undone before the file is shown, and the list
// shows whichever content won.
TEST(EditorLoad, RecoversAnInterruptedSaveBeforeLoading) {
    const std::string before = UserMenu({kNotepad, kSeparator, kLast});
    const std::string after = UserMenu({kLast, kNotepad});
    int crashes = 0;
    for (bool torn : {false, true}) {
        for (int call = 1;; ++call) {
            SCOPED_TRACE(std::to_string(call) + (torn ? " torn" : ""));
            MemoryFileSystem fs;
            fs.Put(kPath, before);
            fs.CrashAt(call, torn);
            bool crashed = false;
            try {
                (void)menufile::CommitMenuFile(fs, kPath, before, after);
            } catch (const MemoryFileSystem::SimulatedCrash&) {
                crashed = true;
            }
            fs.ClearFaults();
            if (!crashed) {
                break;
            }
            ++crashes;
            for (MemoryFileSystem& disk : fs.PowerLossStates()) {
                FakeIcons icons;
                MenuEditor editor(disk, icons, test_support::Windows1252());
                ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
                const std::string now = disk.Get(kPath).value_or("");
                EXPECT_TRUE(now == before || now == after);
                EXPECT_TRUE(ListAgreesWithFile(editor, disk));
                EXPECT_EQ(disk.Paths(), std::vector<std::string>{kPath}) << "journal left";
            }
        }
    }
    EXPECT_GT(crashes, 4);
}

TEST(EditorLoad, ShowsTheCommittedContentWhenRecoveryCannotWrite) {
    const std::string before = UserMenu({kNotepad, kSeparator, kLast});
    MemoryFileSystem fs;
    fs.Put(kPath, before);
    fs.CrashAt(7, true);  // the menu file's own write is torn
    const std::string newPicture = "ICON\r\n<START TVL>\r\n";
    EXPECT_THROW((void)menufile::CommitMenuFile(fs, kPath, before,
                                                newPicture + kUserType + kSettings + kLast),
                 MemoryFileSystem::SimulatedCrash);
    fs.ClearFaults();
    ASSERT_NE(fs.Get(kPath), before);
    fs.SetReadOnly(kPath, true);

    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"Notepad", std::string(87, '-'), "Last"}));
    EXPECT_EQ(editor.Delete(0).Status, editor::EditStatus::Failed);
}

}  // namespace

namespace {

// A good menu whose record on one line is damaged opens without that line, when asked to;
// the other lines stay byte for byte. A file changed since it was read is not written.
TEST(EditorLoad, ADamagedLineCanBeLeftOutAndTheRestStays) {
    const std::string cut = "\"Cut\",\"C:\\cut.exe\",\"";
    const std::string quote = "bad\"name,\"x.exe\",\"\",\"\",\"\",0\r\n";
    MemoryFileSystem fs;
    fs.Put(kPath, UserMenu({kNotepad, quote, kLast}) + cut);
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Damaged);
    // Five lines of picture, the marker, the type, the settings, Notepad, then the damage.
    EXPECT_EQ(editor.DamagedLine(), 10u);
    EXPECT_NE(editor::DamagedLineQuestion(kPath, 10).find("line 10"), std::string::npos);
    ASSERT_EQ(editor.DropDamagedLine(), MenuError::None);
    EXPECT_FALSE(editor.IsLoaded()) << "the cut record at the end is damaged too";
    EXPECT_EQ(fs.Get(kPath), UserMenu({kNotepad, kLast}) + cut);
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Damaged);
    EXPECT_EQ(editor.DamagedLine(), 11u);
    ASSERT_EQ(editor.DropDamagedLine(), MenuError::None);
    ASSERT_TRUE(editor.IsLoaded());
    EXPECT_EQ(fs.Get(kPath), UserMenu({kNotepad, kLast}));
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"Notepad", "Last"}));
    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});

    // Asked about one file, then another program wrote it: nothing is written.
    fs.Put(kPath, UserMenu({kNotepad}) + cut);
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Damaged);
    fs.Put(kPath, UserMenu({kLast}) + cut);
    EXPECT_EQ(editor.DropDamagedLine(), MenuError::Changed);
    EXPECT_EQ(fs.Get(kPath), UserMenu({kLast}) + cut);

    // Damage that is not in one record (the settings line) is only refused.
    fs.Put(kPath, kHead + kUserType + "1,X\"Y,8,0,0\r\n");
    EXPECT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Damaged);
    EXPECT_EQ(editor.DamagedLine(), 0u);
}

// A hand edit that lost one quote: the question names that record's line, not the last one, and
// leaving it out writes every other record back byte for byte.
TEST(EditorLoad, AMissingQuoteIsItsOwnRecordsDamagedLine) {
    for (const std::string two : {"\"Two,\"C:\\two.exe\",\"\",\"\",\"\",1\r\n",
                                  "\"Two\",\"C:\\two.exe\",\"\",\"\",\"C:\\two.ico,1\r\n"}) {
        MemoryFileSystem fs;
        fs.Put(kPath, UserMenu({kNotepad, two, kLetters, kSeparator, kLast}));
        FakeIcons icons;
        MenuEditor editor(fs, icons, test_support::Windows1252());
        ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Damaged) << two;
        // Five lines of picture, the marker, the type, the settings, Notepad, then the damage.
        EXPECT_EQ(editor.DamagedLine(), 10u) << two;
        ASSERT_EQ(editor.DropDamagedLine(), MenuError::None) << two;
        ASSERT_TRUE(editor.IsLoaded()) << two;
        EXPECT_EQ(fs.Get(kPath), UserMenu({kNotepad, kLetters, kSeparator, kLast})) << two;
        EXPECT_EQ(Texts(editor), (std::vector<std::string>{"Notepad", "Letters, 2026",
                                                           std::string(87, '-'), "Last"}));
    }
}

// A journal beside a file the user put back after a crash: the file is shown as it is, and
// the journal is kept aside, which the editor says once.
TEST(EditorLoad, AStaleJournalBesideARestoredMenuIsSetAsideOnce) {
    MemoryFileSystem fs;
    fs.Put(kPath, UserMenu({kNotepad, kSeparator, kLast}));
    fs.CrashAt(7);  // the journal is written, the menu file not yet
    EXPECT_THROW((void)menufile::CommitMenuFile(fs, kPath, UserMenu({kNotepad, kSeparator, kLast}),
                                                UserMenu({kLast})),
                 MemoryFileSystem::SimulatedCrash);
    fs.ClearFaults();
    const std::string restored = UserMenu({kLetters, kNotepad});
    fs.Put(kPath, restored);
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"Letters, 2026", "Notepad"}));
    EXPECT_EQ(editor.SetAsideJournal(), menufile::JournalPath(kPath) + ".stale");
    EXPECT_NE(editor::StaleJournalText(kPath, editor.SetAsideJournal()).find(".stale"),
              std::string::npos);
    EXPECT_EQ(fs.Get(kPath), restored);
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
    EXPECT_TRUE(editor.SetAsideJournal().empty()) << "said once";
    EXPECT_EQ(editor.MoveUp(1).Status, editor::EditStatus::Written) << "and saving works";
}

// A file of the user's that has the journal's name is never touched; saving says so.
TEST(EditorLoad, AForeignFileOfTheJournalsNameStopsSavesWithAMessageNamingIt) {
    MemoryFileSystem fs;
    fs.Put(kPath, UserMenu({kNotepad, kLast}));
    const std::string journal = menufile::JournalPath(kPath);
    fs.Put(journal, "notes about my menu");
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
    const editor::EditResult result = editor.Delete(0);
    EXPECT_EQ(result.Status, editor::EditStatus::Failed);
    EXPECT_EQ(result.Error, MenuError::ForeignJournal);
    const std::string text = editor::WriteErrorText(result.Error, kPath);
    EXPECT_NE(text.find("\"" + journal + "\""), std::string::npos) << text;
    EXPECT_EQ(fs.Get(journal), "notes about my menu");
    EXPECT_EQ(fs.Get(kPath), UserMenu({kNotepad, kLast}));
}

}  // namespace

namespace {

// A message naming a path of any length stays one short line for it: the box fits the screen.
TEST(EditorMessages, LongPathsAreShortenedKeepingTheirStartAndFileName) {
    const std::string deep = "C:\\Users\\me\\" + std::string(1800, 'd') + "\\Tools menu.tvl";
    for (const std::string& text :
         {editor::LoadProblemText(LoadStatus::Damaged, deep), editor::CreateMenuQuestion(deep),
          editor::DamagedLineQuestion(deep, 12), editor::StaleJournalText(deep, deep + ".x"),
          editor::WriteErrorText(MenuError::ForeignJournal, deep)}) {
        EXPECT_LT(text.size(), 400u) << text.substr(0, 100);
        EXPECT_NE(text.find("C:\\Users\\"), std::string::npos);
        EXPECT_NE(text.find("Tools menu.tvl"), std::string::npos) << text;
    }
}

}  // namespace

// A menu file deleted while the editor shows it is written again as the list shows it, and
// the item the wizard was adding then goes in as if nothing had happened.
TEST(EditorLoad, AMenuThatWentAwayIsWrittenAgainFromTheList) {
    MemoryFileSystem fs;
    fs.Put(kPath, UserMenu({kNotepad}));
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
    const menufile::MenuItem last{"Last", "C:\\tools\\last.exe", "-q", "", "", "2"};
    ASSERT_EQ(editor.AddItem(last, -1).Status, editor::EditStatus::Written);
    const std::string shown = UserMenu({kNotepad, kLast});
    ASSERT_EQ(fs.Get(kPath), shown);

    ASSERT_EQ(fs.Remove(kPath), FileError::None);
    const menufile::MenuItem letters{"Letters", "C:\\docs\\", "", "", "", "0"};
    const editor::EditResult gone = editor.AddItem(letters, -1);
    EXPECT_EQ(gone.Status, editor::EditStatus::Failed);
    EXPECT_EQ(gone.Error, MenuError::NotFound) << "what the wizard offers the rewrite for";
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"Notepad", "Last"})) << "the list stays";

    ASSERT_EQ(editor.WriteMissingMenu(), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), shown);
    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath}) << "no journal left behind";
    ASSERT_EQ(editor.AddItem(letters, -1).Status, editor::EditStatus::Written);
    EXPECT_TRUE(ListAgreesWithFile(editor, fs));
    // The history goes on over the bytes written again.
    ASSERT_EQ(editor.Undo().Status, editor::EditStatus::Written);
    EXPECT_EQ(fs.Get(kPath), shown);

    // Something at the path again is never overwritten.
    fs.Put(kPath, "someone else's file");
    EXPECT_NE(editor.WriteMissingMenu(), MenuError::None);
    EXPECT_EQ(fs.Get(kPath), "someone else's file");
}

// A write failing or cut short at any call: the next start finds no file, an empty one or the
// whole menu, and a failure that is reported leaves no file at all or the whole menu.
TEST(EditorLoad, WritingAMissingMenuFailingOrCutShortLeavesNothingHalfWritten) {
    const std::string menu = UserMenu({kNotepad, kLetters});
    for (bool crash : {false, true}) {
        for (int call = 1;; ++call) {
            SCOPED_TRACE(std::to_string(call) + (crash ? " crash" : " failure"));
            MemoryFileSystem fs;
            fs.Put(kPath, menu);
            FakeIcons icons;
            MenuEditor editor(fs, icons, test_support::Windows1252());
            ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
            ASSERT_EQ(fs.Remove(kPath), FileError::None);
            const int at = fs.Calls() + call;
            crash ? fs.CrashAt(at, true) : fs.FailAt(at, false, FileError::DiskFull);
            MenuError e = MenuError::None;
            bool crashed = false;
            try {
                e = editor.WriteMissingMenu();
            } catch (const MemoryFileSystem::SimulatedCrash&) {
                crashed = true;
            }
            const bool reached = fs.Calls() >= at;
            fs.ClearFaults();
            if (!reached) {
                EXPECT_EQ(e, MenuError::None);
                EXPECT_EQ(fs.Get(kPath), menu);
                break;
            }
            if (crashed) {
                MenuEditor next(fs, icons, test_support::Windows1252());
                const LoadStatus status = next.LoadEditorMenu(kPath);
                EXPECT_TRUE(status == LoadStatus::NotFound || status == LoadStatus::Empty ||
                            (status == LoadStatus::Loaded && fs.Get(kPath) == menu))
                    << static_cast<int>(status);
            } else if (e != MenuError::None) {
                EXPECT_TRUE(fs.Paths().empty() || (fs.Paths() == std::vector<std::string>{kPath} &&
                                                   fs.Get(kPath) == menu));
            } else {
                EXPECT_EQ(fs.Get(kPath), menu);
            }
        }
    }
}
