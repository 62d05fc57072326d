// The editor's list and menu-type changes: the bytes they write, and the list after each one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "editor/model/editor_messages.h"
#include "editor_fixtures.h"
#include "tests/support/interfering_file_system.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/posix_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

using namespace editor_test;
using editor::EditResult;
using editor::EditStatus;
using editor::MenuEditor;
using menufile::FileError;
using menufile::MenuError;
using platform::MemoryFileSystem;

const std::string kPath = "D:\\menus\\tools.tvl";
const std::string kHyphens(87, '-');
const std::string kFour = UserMenu({kNotepad, kSeparator, kLetters, kLast});

class EditorTest : public ::testing::Test {
protected:
    void Open(const std::string& content) {
        m_fs.Put(kPath, content);
        ASSERT_EQ(m_editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
    }
    std::string File() const { return m_fs.Get(kPath).value_or("<missing>"); }
    void TearDown() override {
        EXPECT_TRUE(ListAgreesWithFile(m_editor, m_fs));
        EXPECT_EQ(m_fs.Paths(), std::vector<std::string>{kPath}) << "a journal was left behind";
    }

    MemoryFileSystem m_fs;
    FakeIcons m_icons;
    MenuEditor m_editor{m_fs, m_icons, test_support::Windows1252()};
};

using Kind = editor::ListChange::Kind;

void ExpectWritten(const EditResult& result, int selection,
                   std::optional<editor::ListChange> change = std::nullopt) {
    EXPECT_EQ(result.Status, EditStatus::Written);
    EXPECT_EQ(result.Error, MenuError::None);
    EXPECT_EQ(result.Selection, selection);
    if (change) {
        EXPECT_EQ(result.Change, *change) << "the rows the window redraws";
    }
}

TEST_F(EditorTest, DeleteDropsTheRecordAndOnlyItsRow) {
    Open(kFour);
    ExpectWritten(m_editor.Delete(3), -1, {{Kind::Removed, 3, 1}});  // the last entry
    EXPECT_EQ(File(), UserMenu({kNotepad, kSeparator, kLetters}));

    ExpectWritten(m_editor.Delete(1), -1, {{Kind::Removed, 1, 1}});  // a separator
    EXPECT_EQ(File(), UserMenu({kNotepad, kLetters}));
    EXPECT_EQ(Texts(m_editor), (std::vector<std::string>{"Notepad", "Letters, 2026"}));

    ExpectWritten(m_editor.Delete(0), -1);  // the first entry
    ExpectWritten(m_editor.Delete(0), -1);  // the only one left
    EXPECT_EQ(File(), UserMenu({}));
    EXPECT_TRUE(m_editor.Rows().empty());
}

TEST_F(EditorTest, MovesSwapNeighboursAndFollowTheMovedEntry) {
    Open(kFour);
    const editor::IconHandle lettersIcon = m_editor.PreviewIcon(2);
    ASSERT_NE(lettersIcon, 0u);

    ExpectWritten(m_editor.MoveUp(1), 0, {{Kind::Swapped, 0, 2}});  // entry 1 with entry 0
    EXPECT_EQ(File(), UserMenu({kSeparator, kNotepad, kLetters, kLast}));
    EXPECT_EQ(m_editor.Rows()[0].Text, kHyphens);

    ExpectWritten(m_editor.MoveDown(2), 3, {{Kind::Swapped, 2, 2}});  // onto the last place
    EXPECT_EQ(File(), UserMenu({kSeparator, kNotepad, kLast, kLetters}));
    EXPECT_EQ(m_editor.PreviewIcon(3), lettersIcon) << "the icon moves with its row";
    EXPECT_EQ(m_editor.Rows()[3].Target, "C:\\docs\\");

    ExpectWritten(m_editor.MoveDown(0), 1);  // a separator moves like any item
    EXPECT_EQ(File(), UserMenu({kNotepad, kSeparator, kLast, kLetters}));
    EXPECT_EQ(m_icons.Requests.size(), 1u) << "moves re-extract no icons";
}

TEST_F(EditorTest, ADraggedEntryGoesIntoTheGapItWasDroppedIn) {
    Open(kFour);
    ExpectWritten(m_editor.MoveItem(0, 4), 3, {{Kind::Moved, 0, 3}});  // after the last
    EXPECT_EQ(File(), UserMenu({kSeparator, kLetters, kLast, kNotepad}));
    ExpectWritten(m_editor.MoveItem(2, 0), 0, {{Kind::Moved, 2, 0}});
    EXPECT_EQ(File(), UserMenu({kLast, kSeparator, kLetters, kNotepad}));
    ExpectWritten(m_editor.MoveItem(1, 3), 2);  // between the two rows below it
    EXPECT_EQ(File(), UserMenu({kLast, kLetters, kSeparator, kNotepad}));
    EXPECT_EQ(m_editor.Rows()[2].Text, kHyphens);
    // Its own place, either side of it, and places that are not there change nothing.
    for (auto [from, gap] : {std::pair{1, 1}, {1, 2}, {-1, 0}, {4, 0}, {0, 5}}) {
        EXPECT_EQ(m_editor.MoveItem(from, gap).Status, EditStatus::Unchanged) << from << gap;
    }
    EXPECT_EQ(File(), UserMenu({kLast, kLetters, kSeparator, kNotepad}));
}

TEST_F(EditorTest, SeparatorGoesAboveTheSelectedEntry) {
    Open(kFour);
    ExpectWritten(m_editor.Separator(0), -1, {{Kind::Inserted, 0, 1}});
    EXPECT_EQ(File(), UserMenu({kSeparator, kNotepad, kSeparator, kLetters, kLast}));
    ExpectWritten(m_editor.Separator(2), -1);  // above another separator
    ExpectWritten(m_editor.Separator(5), -1);  // above the last entry
    EXPECT_EQ(File(), UserMenu({kSeparator, kNotepad, kSeparator, kSeparator, kLetters, kSeparator,
                                kLast}));
    EXPECT_EQ(m_editor.Rows()[5].Text, kHyphens);
    EXPECT_EQ(m_editor.PreviewIcon(5), 0u);
    EXPECT_EQ(m_editor.Rows()[5].Target, "");
}

TEST_F(EditorTest, OperationsWithoutAFittingSelectionWriteNothing) {
    Open(kFour);
    const std::function<EditResult(int)> ops[] = {
        [&](int k) { return m_editor.Delete(k); }, [&](int k) { return m_editor.MoveUp(k); },
        [&](int k) { return m_editor.MoveDown(k); }, [&](int k) { return m_editor.Separator(k); }};
    for (const auto& op : ops) {
        for (int k : {-1, 4, 100}) {
            EXPECT_EQ(op(k).Status, EditStatus::Unchanged) << k;
        }
    }
    EXPECT_EQ(m_editor.MoveUp(0).Selection, 0) << "the selection stays where it was";
    EXPECT_EQ(m_editor.MoveDown(3).Status, EditStatus::Unchanged);
    EXPECT_EQ(File(), kFour);

    m_fs.Put(kPath, UserMenu({}));
    ASSERT_EQ(m_editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
    const int calls = m_fs.Calls();
    for (const auto& op : ops) {
        EXPECT_EQ(op(0).Status, EditStatus::Unchanged);
    }
    EXPECT_EQ(m_fs.Calls(), calls) << "an empty list touches no file";
}

TEST_F(EditorTest, ValuesAreWrittenBackAsReadAndTheTypeLineBecomesUserDefined) {
    // An unknown type shows the list; odd spacing and values are normalised, not lost.
    Open(kHead + "\"OTHER\"\r\n" + "True,\"Tahoma\",  9.0 ,-1,0\r\n" +
         "  \"A, b\" , \"t.exe\",\"x\",\"y\",\"\", 7 \r\n" + kLast);
    ExpectWritten(m_editor.MoveDown(0), 1);
    EXPECT_EQ(File(), kHead + kUserType + "True,\"Tahoma\",9.0,-1,0\r\n" + kLast +
                          "\"A, b\",\"t.exe\",\"x\",\"y\",\"\",7\r\n");
}

TEST_F(EditorTest, MenuTypeChangesDropTheOtherTypesData) {
    Open(kFour);
    ExpectWritten(m_editor.ChangeToDirectoryPointer(), -1);
    EXPECT_EQ(File(), PointerMenu(kPointerLine));
    EXPECT_TRUE(m_editor.IsDirectoryPointer());
    EXPECT_TRUE(m_editor.Rows().empty());
    EXPECT_TRUE(m_icons.Live.empty());
    EXPECT_EQ(m_editor.DirectoryPointer(), menufile::DirectoryPointer{});

    EXPECT_EQ(m_editor.Delete(0).Status, EditStatus::Unchanged);
    EXPECT_EQ(m_editor.DropFiles({{"x", "C:\\x"}}).Added, 0) << "no list for a pointer";
    EXPECT_EQ(m_editor.ChangeToDirectoryPointer().Status, EditStatus::Unchanged);

    ExpectWritten(m_editor.SaveDirectoryPointer("D:\\My Music, old\\", "*.mp3", 1, 0, 1), -1);
    EXPECT_EQ(File(), PointerMenu(kSavedPointer));
    EXPECT_EQ(m_editor.DirectoryPointer().Folder, "D:\\My Music, old\\");
    // The saved form (no line end, blanks before the numbers) is read back and changed again.
    ExpectWritten(m_editor.SaveDirectoryPointer("C:\\", "*.*", 0, 1, 0), -1);
    EXPECT_EQ(File(), PointerMenu("\"C:\\\",\"*.*\", 0, 1, 0"));

    ExpectWritten(m_editor.ChangeToUserDefined(), -1);
    EXPECT_EQ(File(), UserMenu({}));
    EXPECT_FALSE(m_editor.IsDirectoryPointer());
    EXPECT_EQ(m_editor.ChangeToUserDefined().Status, EditStatus::Unchanged);
    EXPECT_EQ(m_editor.SaveDirectoryPointer("C:\\", "*.*", 1, 0, 0).Status, EditStatus::Unchanged);
}

TEST_F(EditorTest, PointerLoadedInEitherFormConvertsBack) {
    for (const std::string& pointer : {kPointerLine, kSavedPointer}) {
        Open(PointerMenu(pointer));
        EXPECT_TRUE(m_editor.IsDirectoryPointer());
        EXPECT_TRUE(m_editor.Rows().empty());
        ExpectWritten(m_editor.ChangeToUserDefined(), -1);
        EXPECT_EQ(File(), UserMenu({}));
    }
}

TEST_F(EditorTest, DroppedFilesAreAppendedInDropOrder) {
    Open(UserMenu({}));
    const std::vector<editor::DroppedFile> drop = {{"notes, old", "C:\\docs\\notes, old.txt"},
                                                   {"Program Files", "C:\\Program Files"},
                                                   {"go", "C:\\bin\\go.lnk"}};
    editor::DropResult result = m_editor.DropFiles(drop);
    EXPECT_EQ(result.Status, EditStatus::Written);
    EXPECT_EQ(result.Added, 3);
    EXPECT_EQ(File(), UserMenu({"\"notes, old\",\"C:\\docs\\notes, old.txt\",\"\",\"\",\"\",0\r\n",
                                "\"Program Files\",\"C:\\Program Files\",\"\",\"\",\"\",0\r\n",
                                "\"go\",\"C:\\bin\\go.lnk\",\"\",\"\",\"\",0\r\n"}));
    EXPECT_EQ(m_editor.Rows()[1].Target, "C:\\Program Files");
    EXPECT_EQ(result.Change, (editor::ListChange{Kind::Appended, 0, 3}));
    EXPECT_EQ(m_editor.PreviewIcon(1), 0u) << "the preview asks the shell";
    EXPECT_TRUE(m_icons.Requests.empty());
}

TEST_F(EditorTest, DropOnAFileWithoutAFinalLineEndStartsANewLine) {
    Open(UserMenu({"\"A\",\"a.exe\",\"\",\"\",\"\",0"}));
    EXPECT_EQ(m_editor.DropFiles({{"B", "b.exe"}}).Added, 1);
    EXPECT_EQ(File(), UserMenu({"\"A\",\"a.exe\",\"\",\"\",\"\",0\r\n",
                                "\"B\",\"b.exe\",\"\",\"\",\"\",0\r\n"}));
}

TEST_F(EditorTest, DropStopsAtAPathThatCannotBeWritten) {
    Open(UserMenu({kNotepad}));
    editor::DropResult result =
        m_editor.DropFiles({{"A", "a.exe"}, {"Say \"hi\"", "hi.exe"}, {"C", "c.exe"}});
    EXPECT_EQ(result.Status, EditStatus::Failed);
    EXPECT_EQ(result.Error, MenuError::BadText);
    EXPECT_EQ(result.Added, 1);
    EXPECT_EQ(File(), UserMenu({kNotepad, "\"A\",\"a.exe\",\"\",\"\",\"\",0\r\n"}));
}

TEST_F(EditorTest, AFileChangedBehindTheListIsReloadedNotOverwritten) {
    Open(kFour);
    const std::string other = UserMenu({kLast, kNotepad});
    m_fs.Put(kPath, other);
    EditResult result = m_editor.Delete(0);
    EXPECT_EQ(result.Status, EditStatus::Reloaded);
    EXPECT_EQ(result.Selection, -1);
    EXPECT_EQ(File(), other);
    EXPECT_EQ(Texts(m_editor), (std::vector<std::string>{"Last", "Notepad"}));
    EXPECT_EQ(result.Change.What, Kind::Reloaded);

    m_fs.Put(kPath, UserMenu({kLast, kNotepad, kLetters}));
    EXPECT_EQ(m_editor.DropFiles({{"A", "a.exe"}}).Status, EditStatus::Reloaded);
    EXPECT_EQ(Texts(m_editor), (std::vector<std::string>{"Last", "Notepad", "Letters, 2026"}));
}

TEST_F(EditorTest, AFileReplacedByADamagedOneIsReportedAsDamaged) {
    Open(kFour);
    const std::string damaged = UserMenu({kNotepad}) + "\"cut\",\"short";
    m_fs.Put(kPath, damaged);
    EditResult result = m_editor.MoveDown(0);
    EXPECT_EQ(result.Status, EditStatus::Failed);
    EXPECT_EQ(result.Error, MenuError::Damaged);
    EXPECT_EQ(File(), damaged);
    EXPECT_TRUE(m_editor.Rows().empty()) << "nothing readable is shown";
    m_fs.Put(kPath, kFour);  // for the agreement check at the end
    ASSERT_EQ(m_editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
}

// Each way a commit can fail reaches the message as its reason, on a second line.
TEST(EditorMessages, EveryWriteFailureSaysWhy) {
    struct Case {
        const char* Why;
        std::function<void(MemoryFileSystem&)> Break;
        MenuError Error;
    };
    const Case cases[] = {
        {"The menu file is read-only.", [](MemoryFileSystem& fs) { fs.SetReadOnly(kPath, true); },
         MenuError::ReadOnly},
        {"Another program is using the menu file.",
         [](MemoryFileSystem& fs) { fs.SetInUse(kPath, true); }, MenuError::InUse},
        {"The disk is full.", [](MemoryFileSystem& fs) { fs.SetCapacity(kFour.size() + 20); },
         MenuError::DiskFull},
        {"The menu file's folder does not allow new files",
         [](MemoryFileSystem& fs) { fs.SetReadOnly(menufile::JournalPath(kPath), true); },
         MenuError::FolderReadOnly},
        {"The menu file no longer exists.",
         [](MemoryFileSystem& fs) { ASSERT_EQ(fs.Remove(kPath), FileError::None); },
         MenuError::NotFound},
        {"The menu file is damaged.",
         [](MemoryFileSystem& fs) { fs.Put(kPath, UserMenu({kNotepad}) + "\"cut"); },
         MenuError::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Why);
        MemoryFileSystem fs;
        fs.Put(kPath, kFour);
        FakeIcons icons;
        MenuEditor editor(fs, icons, test_support::Windows1252());
        ASSERT_EQ(editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
        c.Break(fs);
        const EditResult result = editor.Delete(1);
        EXPECT_EQ(result.Status, EditStatus::Failed);
        EXPECT_EQ(result.Error, c.Error);
        const std::string text = editor::WriteErrorText(result.Error);
        EXPECT_EQ(text.rfind("Error writing to file.\r", 0), 0u) << text;
        EXPECT_NE(text.find(c.Why), std::string::npos) << text;
        EXPECT_EQ(text.find('\r', 23), std::string::npos) << "one reason, one line: " << text;
    }
    EXPECT_NE(editor::WriteErrorText(MenuError::Changed).find("changed by another program"),
              std::string::npos);
    EXPECT_EQ(editor::WriteErrorText(MenuError::Other), "Error writing to file.");
}

// Another program appends an item just before each file call of a Move Up in turn (the first
// time, the commit's own open). Its change lands before the editor reads, and the editor then
// reloads instead of writing; or it is kept out while the editor holds the file. Either way
// both changes that were reported done are in the file, and the list shows the file.
TEST(EditorRaces, AnotherWriterBeforeEveryFileCallOfAChangeLosesNothing) {
    const menufile::MenuItem theirs{"Theirs", "t.exe", "", "", "", "0"};
    int reloaded = 0;
    int keptOut = 0;
    for (int call = 1;; ++call) {
        SCOPED_TRACE("the other writer before call " + std::to_string(call));
        MemoryFileSystem disk;
        disk.Put(kPath, UserMenu({kNotepad, kLast}));
        FakeIcons icons;
        MenuError other = MenuError::Other;
        test_support::InterferingFileSystem fs(disk, call, [&] {
            other = menufile::ChangeMenuFile(disk, kPath, [&](std::string_view old) {
                return menufile::AppendItem(old, theirs);
            });
        });
        MenuEditor editor(fs, icons, test_support::Windows1252());
        ASSERT_EQ(editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
        const int loadCalls = fs.Calls();
        if (call <= loadCalls) {
            continue;  // the other writer acted while the list was being loaded
        }
        const EditResult result = editor.MoveUp(1);
        if (!fs.Interfered()) {
            ExpectWritten(result, 0);
            EXPECT_EQ(disk.Get(kPath), UserMenu({kLast, kNotepad}));
            break;
        }
        const std::string now = disk.Get(kPath).value_or("<missing>");
        if (other == MenuError::None) {
            EXPECT_NE(now.find("\"Theirs\""), std::string::npos) << "their change was lost";
            EXPECT_EQ(result.Status, EditStatus::Reloaded);
            EXPECT_EQ(now, UserMenu({kNotepad, kLast}) + menufile::FormatItemLine(theirs));
            ++reloaded;
        } else {
            EXPECT_EQ(other, MenuError::InUse);
            ExpectWritten(result, 0);
            EXPECT_EQ(now, UserMenu({kLast, kNotepad})) << "the move was lost";
            ++keptOut;
        }
        EXPECT_TRUE(ListAgreesWithFile(editor, disk));
        EXPECT_EQ(disk.Paths(), std::vector<std::string>{kPath});
    }
    EXPECT_GT(reloaded, 0);
    EXPECT_GT(keptOut, 5);
}

// Every operation, failed at each of its file calls in turn (once, and from then on): the
// file keeps its old content or takes the new one, a failure is reported and keeps the old
// content, and the list shows what the file holds.
struct Operation {
    const char* Name;
    std::string Before;
    std::function<EditResult(MenuEditor&)> Run;
};

TEST(EditorFaults, EveryInjectedFailureLeavesListAndFileInStep) {
    const std::vector<Operation> operations = {
        {"delete", kFour, [](MenuEditor& e) { return e.Delete(2); }},
        {"move up", kFour, [](MenuEditor& e) { return e.MoveUp(3); }},
        {"move down", kFour, [](MenuEditor& e) { return e.MoveDown(0); }},
        {"separator", kFour, [](MenuEditor& e) { return e.Separator(1); }},
        {"to pointer", kFour, [](MenuEditor& e) { return e.ChangeToDirectoryPointer(); }},
        {"to list", PointerMenu(kSavedPointer),
         [](MenuEditor& e) { return e.ChangeToUserDefined(); }},
        {"save pointer", PointerMenu(kPointerLine),
         [](MenuEditor& e) { return e.SaveDirectoryPointer("E:\\", "*.txt", 0, 1, 1); }},
        {"drop", kFour,
         [](MenuEditor& e) {
             editor::DropResult r = e.DropFiles({{"A", "a.exe"}, {"B", "b.exe"}});
             // Selection: the paths written.
             return EditResult{r.Status, r.Error, r.Added, r.Change};
         }},
    };
    for (const Operation& op : operations) {
        // What the operation writes when nothing fails.
        std::string after;
        {
            MemoryFileSystem fs;
            fs.Put(kPath, op.Before);
            FakeIcons icons;
            MenuEditor editor(fs, icons, test_support::Windows1252());
            ASSERT_EQ(editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
            ASSERT_NE(op.Run(editor).Status, EditStatus::Failed) << op.Name;
            after = *fs.Get(kPath);
        }
        const bool isDrop = op.Name == std::string("drop");
        const std::string halfDrop = kFour + "\"A\",\"a.exe\",\"\",\"\",\"\",0\r\n";
        for (bool fromThenOn : {false, true}) {
            for (int call = 1;; ++call) {
                SCOPED_TRACE(std::string(op.Name) + " failing at call " + std::to_string(call) +
                             (fromThenOn ? " and on" : ""));
                MemoryFileSystem fs;
                fs.Put(kPath, op.Before);
                FakeIcons icons;
                {
                    MenuEditor editor(fs, icons, test_support::Windows1252());
                    ASSERT_EQ(editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
                    const std::vector<std::string> textsBefore = Texts(editor);
                    const int start = fs.Calls();
                    fs.FailAt(start + call, fromThenOn, FileError::DiskFull);
                    EditResult result = op.Run(editor);
                    const bool reached = fs.Calls() >= start + call;
                    fs.ClearFaults();
                    if (!reached) {
                        EXPECT_EQ(result.Status, EditStatus::Written);
                        break;  // the operation ran through before the fault
                    }
                    ASSERT_NE(result.Status, EditStatus::Reloaded);
                    // A commit whose rollback also failed is settled by recovery.
                    ASSERT_EQ(menufile::RecoverMenuFile(fs, kPath), MenuError::None);
                    const std::string now = fs.Get(kPath).value_or("<missing>");
                    if (result.Status == EditStatus::Written) {
                        EXPECT_EQ(now, after);
                    } else {
                        EXPECT_EQ(result.Status, EditStatus::Failed);
                        EXPECT_NE(result.Error, MenuError::None);
                        if (!isDrop) {
                            EXPECT_EQ(result.Selection, -1);
                        }
                    }
                    if (!fromThenOn) {
                        // One failure: rolled back at once, and the list was not touched.
                        if (result.Status == EditStatus::Failed) {
                            // The paths before the failing one stay written, and only they.
                            EXPECT_EQ(now, !isDrop ? op.Before
                                                   : (result.Selection == 0 ? kFour : halfDrop));
                            if (!isDrop) {
                                EXPECT_EQ(Texts(editor), textsBefore);
                            }
                        }
                        EXPECT_TRUE(ListAgreesWithFile(editor, fs));
                    } else {
                        // Failing from then on, even the rollback and the reload fail: the file
                        // ends up old or new, never anything else, and the next change finds a
                        // list that no longer shows it and reloads instead of writing.
                        EXPECT_TRUE(now == op.Before || now == after ||
                                    (isDrop && now == halfDrop));
                        if (!ListAgreesWithFile(editor, fs)) {
                            EXPECT_EQ(op.Run(editor).Status, EditStatus::Reloaded);
                            EXPECT_EQ(fs.Get(kPath), now);
                            EXPECT_TRUE(ListAgreesWithFile(editor, fs));
                        }
                    }
                    EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath});
                }
                EXPECT_TRUE(icons.Live.empty()) << "icons leaked";
            }
        }
    }
}

// The same sequence on real files in a temporary folder: nothing but the menu is left in the
// folder or in the working directory.
TEST(EditorOnDisk, SequenceOfChangesOnARealFile) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() /
        ("tvledit_unit_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
         std::to_string(reinterpret_cast<std::uintptr_t>(&dir)));
    fs::create_directories(dir);
    const fs::path menu = dir / "my menu.tvl";
    { std::ofstream(menu, std::ios::binary) << kFour; }
    auto cwdBefore =
        std::distance(fs::directory_iterator(fs::current_path()), fs::directory_iterator());
    auto read = [&] {
        std::ifstream in(menu, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    };
    {
        test_support::PosixFileSystem disk;
        FakeIcons icons;
        MenuEditor editor(disk, icons, test_support::Windows1252());
        ASSERT_EQ(editor.LoadEditorMenu(menu.string()), editor::LoadStatus::Loaded);
        ExpectWritten(editor.MoveUp(2), 1);
        ExpectWritten(editor.Delete(0), -1);
        ExpectWritten(editor.Separator(2), -1);
        EXPECT_EQ(editor.DropFiles({{"D", dir.string()}}).Added, 1);
        EXPECT_EQ(read(), UserMenu({kLetters, kSeparator, kSeparator, kLast,
                                    "\"D\",\"" + dir.string() + "\",\"\",\"\",\"\",0\r\n"}));
        EXPECT_TRUE(ListAgreesWithFile(editor, disk));
        ExpectWritten(editor.ChangeToDirectoryPointer(), -1);
        ExpectWritten(editor.SaveDirectoryPointer("D:\\My Music, old\\", "*.mp3", 1, 0, 1), -1);
        EXPECT_EQ(read(), PointerMenu(kSavedPointer));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::current_path()), fs::directory_iterator()),
              cwdBefore);
    fs::remove_all(dir);
}

}  // namespace

namespace {

// A file keeps the encoding it was read in while every text fits it; a text the code page
// cannot hold turns the whole file to UTF-8, and it stays UTF-8.
TEST(EditorEncoding, AnAnsiFileStaysAnsiUntilATextDoesNotFitThenItIsUtf8) {
    const std::string cafeAnsi = "\"Caf\xe9\",\"C:\\Caf\xe9\\x.exe\",\"\",\"\",\"\",0\r\n";
    const std::string cafeUtf8 = "\"Caf\xc3\xa9\",\"C:\\Caf\xc3\xa9\\x.exe\",\"\",\"\",\"\",0\r\n";
    const std::string ansiSettings = "1,\"Sch\xf6n\",8.25,0,0\r\n";
    const std::string utf8Settings = "1,\"Sch\xc3\xb6n\",8.25,0,0\r\n";
    MemoryFileSystem fs;
    fs.Put(kPath, kHead + kUserType + ansiSettings + cafeAnsi + kNotepad);
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
    EXPECT_EQ(Texts(editor)[0], "Caf\xc3\xa9") << "held as UTF-8";
    EXPECT_EQ(editor.Settings().FontName, "Sch\xc3\xb6n");

    ExpectWritten(editor.MoveDown(0), 1);
    EXPECT_EQ(fs.Get(kPath), kHead + kUserType + ansiSettings + kNotepad + cafeAnsi)
        << "unchanged records keep their bytes";
    EXPECT_EQ(editor.DropFiles({{"Cr\xc3\xa8me", "C:\\cr\xc3\xa8me.txt"}}).Added, 1);
    EXPECT_EQ(fs.Get(kPath), kHead + kUserType + ansiSettings + kNotepad + cafeAnsi +
                                 "\"Cr\xe8me\",\"C:\\cr\xe8me.txt\",\"\",\"\",\"\",0\r\n")
        << "a text the code page holds is written in it";

    // Japanese has no Windows-1252 bytes: every text of the file is written as UTF-8.
    const std::string japanese = "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt";
    EXPECT_EQ(editor.DropFiles({{japanese, "C:\\uni\\" + japanese}}).Added, 1);
    const std::string utf8 = kHead + kUserType + utf8Settings + kNotepad + cafeUtf8 +
                             "\"Cr\xc3\xa8me\",\"C:\\cr\xc3\xa8me.txt\",\"\",\"\",\"\",0\r\n" +
                             "\"" + japanese + "\",\"C:\\uni\\" + japanese +
                             "\",\"\",\"\",\"\",0\r\n";
    EXPECT_EQ(fs.Get(kPath), utf8);
    EXPECT_TRUE(ListAgreesWithFile(editor, fs));

    // Read again, it is UTF-8; it stays so, also when its last non-ASCII text could be ANSI.
    ASSERT_EQ(editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
    EXPECT_EQ(Texts(editor).back(), japanese);
    ExpectWritten(editor.Delete(3), -1);
    ExpectWritten(editor.MoveUp(1), 0);
    EXPECT_EQ(fs.Get(kPath), kHead + kUserType + utf8Settings + cafeUtf8 + kNotepad +
                                 "\"Cr\xc3\xa8me\",\"C:\\cr\xc3\xa8me.txt\",\"\",\"\",\"\",0\r\n");
}

TEST(EditorEncoding, SettingsAndPointersFollowTheSameRule) {
    FakeIcons icons;
    // The font name.
    MemoryFileSystem fs;
    fs.Put(kPath, UserMenu({kNotepad}));
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
    menufile::MenuSettings settings = editor.Settings();
    settings.FontName = "Sch\xc3\xb6n";
    ExpectWritten(editor.SaveAppearance(nullptr, settings), -1);
    EXPECT_EQ(fs.Get(kPath), kHead + kUserType + "1,\"Sch\xf6n\",8.25,0,0\r\n" + kNotepad);
    settings.FontName = "\xe6\x98\x8e\xe6\x9c\x9d";  // a Japanese face
    ExpectWritten(editor.SaveAppearance(nullptr, settings), -1);
    EXPECT_EQ(fs.Get(kPath),
              kHead + kUserType + "1,\"\xe6\x98\x8e\xe6\x9c\x9d\",8.25,0,0\r\n" + kNotepad);

    // A pointer in the code page, then a folder outside it; and an appearance save that turns a
    // pointer menu to UTF-8 writes its pointer anew in UTF-8.
    MemoryFileSystem disk;
    disk.Put(kPath, PointerMenu("\"C:\\M\xfcsik\\\",\"*.*\", 1, 0, 0"));
    MenuEditor pointer(disk, icons, test_support::Windows1252());
    ASSERT_EQ(pointer.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
    EXPECT_EQ(pointer.DirectoryPointer().Folder, "C:\\M\xc3\xbcsik\\");
    settings = pointer.Settings();
    settings.FontName = "\xe6\x98\x8e\xe6\x9c\x9d";
    ExpectWritten(pointer.SaveAppearance(nullptr, settings), -1);
    EXPECT_EQ(disk.Get(kPath), kHead + kPointerType +
                                   "1,\"\xe6\x98\x8e\xe6\x9c\x9d\",8.25,0,0\r\n" +
                                   "\"C:\\M\xc3\xbcsik\\\",\"*.*\",1,0,0\r\n");
    ExpectWritten(pointer.SaveDirectoryPointer("C:\\\xce\x95\\", "*.txt", 1, 1, 0), -1);
    EXPECT_EQ(disk.Get(kPath), kHead + kPointerType +
                                   "1,\"\xe6\x98\x8e\xe6\x9c\x9d\",8.25,0,0\r\n" +
                                   "\"C:\\\xce\x95\\\",\"*.txt\", 1, 1, 0");
    ASSERT_EQ(pointer.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
    EXPECT_EQ(pointer.DirectoryPointer().Folder, "C:\\\xce\x95\\");
}

}  // namespace

namespace {

// A settings line with a stray high byte in a number still lets an ANSI file stay ANSI: the
// number is written back as the byte it was.
TEST(EditorEncoding, AHighByteInASettingsNumberKeepsTheFileAnsi) {
    const std::string settings = "\xe9,\"Arial\",8\xb5,0,0\r\n";
    const std::string cafe = "\"Caf\xe9\",\"C:\\x.exe\",\"\",\"\",\"\",0\r\n";
    MemoryFileSystem fs;
    fs.Put(kPath, kHead + kUserType + settings + cafe + kNotepad);
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
    ExpectWritten(editor.MoveDown(0), 1);
    EXPECT_EQ(fs.Get(kPath), kHead + kUserType + settings + kNotepad + cafe);
}

}  // namespace
