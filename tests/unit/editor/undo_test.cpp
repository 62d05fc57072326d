// Undo and redo of the editor's changes: the bytes they put back, another writer, the caps.
#include <gtest/gtest.h>

#include <functional>

#include "editor/model/edit_history.h"
#include "editor_fixtures.h"
#include "tests/support/interfering_file_system.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

using namespace editor_test;
using editor::EditResult;
using editor::EditStatus;
using editor::MenuEditor;
using menufile::MenuError;
using platform::MemoryFileSystem;

const std::string kPath = "D:\\menus\\tools.tvl";
const std::string kFour = UserMenu({kNotepad, kSeparator, kLetters, kLast});

class UndoTest : public ::testing::Test {
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

struct Change {
    const char* Name;
    std::string Start;
    std::function<EditResult(MenuEditor&)> Make;
    std::string Description;
    int SelectedAfterUndo;
    int SelectedAfterRedo;
};

TEST_F(UndoTest, EveryKindOfChangeIsUndoneAndRedoneByteForByte) {
    const menufile::MenuItem added{"Paint", "C:\\paint.exe", "/n", "C:\\", "", "0"};
    const std::string picture = "a new picture\r\n<START TVL> inside";
    menufile::MenuSettings settings;
    settings.FontName = "Tahoma";
    const Change changes[] = {
        {"delete", kFour, [](MenuEditor& e) { return e.Delete(2); }, "Delete \"Letters, 2026\"", 2,
         -1},
        {"move up", kFour, [](MenuEditor& e) { return e.MoveUp(3); }, "Move Up \"Last\"", 3, 2},
        {"move down", kFour, [](MenuEditor& e) { return e.MoveDown(0); }, "Move Down \"Notepad\"",
         0, 1},
        {"drag", kFour, [](MenuEditor& e) { return e.MoveItem(0, 3); }, "Move \"Notepad\"", 0, 2},
        {"separator", kFour, [](MenuEditor& e) { return e.Separator(2); }, "Separator", 2, 2},
        {"add", kFour, [&](MenuEditor& e) { return e.AddItem(added, 1); }, "Add \"Paint\"", -1, 4},
        {"edit", kFour, [&](MenuEditor& e) { return e.EditItem(0, added, 0); }, "Edit \"Paint\"", 0,
         0},
        {"change icon", kFour, [](MenuEditor& e) { return e.SetItemIcon(3, "C:\\i.dll", 4, 0); },
         "Change Icon \"Last\"", 3, 3},
        {"drop", kFour,
         [](MenuEditor& e) {
             const editor::DropResult r = e.DropFiles({{"a", "C:\\a"}, {"b", "C:\\b"}});
             return EditResult{r.Status, r.Error, -1, r.Change};
         },
         "Drop 2 items", -1, 4},
        {"appearance", kFour, [&](MenuEditor& e) { return e.SaveAppearance(&picture, settings); },
         "Appearance", -1, -1},
        {"to pointer", kFour, [](MenuEditor& e) { return e.ChangeToDirectoryPointer(); },
         "Change Menu Type", -1, -1},
        {"to list", PointerMenu(kSavedPointer),
         [](MenuEditor& e) { return e.ChangeToUserDefined(); }, "Change Menu Type", -1, -1},
        {"pointer", PointerMenu(kPointerLine),
         [](MenuEditor& e) { return e.SaveDirectoryPointer("E:\\", "*.txt", 0, 1, 1); },
         "Directory Pointer", -1, -1},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.Name);
        Open(change.Start);
        ASSERT_EQ(change.Make(m_editor).Status, EditStatus::Written);
        const std::string after = File();
        ASSERT_NE(after, change.Start);
        EXPECT_EQ(m_editor.UndoDescription(), change.Description);

        EditResult undone = m_editor.Undo();
        EXPECT_EQ(undone.Status, EditStatus::Written);
        EXPECT_EQ(undone.Selection, change.SelectedAfterUndo);
        EXPECT_EQ(File(), change.Start);
        EXPECT_TRUE(ListAgreesWithFile(m_editor, m_fs));
        EXPECT_EQ(m_editor.Picture(), change.Start.substr(0, kPicture.size()));

        EditResult redone = m_editor.Redo();
        EXPECT_EQ(redone.Selection, change.SelectedAfterRedo);
        EXPECT_EQ(File(), after);
        EXPECT_TRUE(ListAgreesWithFile(m_editor, m_fs));
    }
}

TEST_F(UndoTest, StepsGoBackInOrderANewChangeEndsTheRedosAndAReloadTheHistory) {
    Open(kFour);
    ASSERT_EQ(m_editor.Delete(0).Status, EditStatus::Written);
    const std::string one = File();
    ASSERT_EQ(m_editor.MoveDown(0).Status, EditStatus::Written);
    ASSERT_EQ(m_editor.Undo().Status, EditStatus::Written);
    ASSERT_EQ(m_editor.Separator(1).Status, EditStatus::Written);
    EXPECT_EQ(m_editor.Redo().Status, EditStatus::Unchanged) << "the move was ended";
    EXPECT_EQ(m_editor.Undo().Status, EditStatus::Written);
    EXPECT_EQ(File(), one);
    EXPECT_EQ(m_editor.Undo().Status, EditStatus::Written);
    EXPECT_EQ(m_editor.Undo().Status, EditStatus::Unchanged);
    EXPECT_EQ(File(), kFour);

    ASSERT_EQ(m_editor.Delete(0).Status, EditStatus::Written);
    m_fs.Put(kPath, kFour);
    EXPECT_EQ(m_editor.Delete(0).Status, EditStatus::Reloaded);
    EXPECT_FALSE(m_editor.CanUndo());

    // Bytes that read as the same menu are still another program's: not written over.
    ASSERT_EQ(m_editor.Delete(0).Status, EditStatus::Written);
    const std::string respaced = File() + "\r\n";
    m_fs.Put(kPath, respaced);
    EXPECT_EQ(m_editor.Undo().Status, EditStatus::Reloaded);
    EXPECT_EQ(File(), respaced);
}

// The other writer commits just before each file call of an undo in turn: either the undo
// saw their bytes and wrote nothing, or it held the file and they were kept out.
TEST(UndoRaces, AnotherWriterBeforeEveryFileCallOfAnUndoLosesNothing) {
    const menufile::MenuItem theirs{"Theirs", "t.exe", "", "", "", "0"};
    int refused = 0;
    int keptOut = 0;
    for (int call = 1;; ++call) {
        SCOPED_TRACE("the other writer before call " + std::to_string(call));
        MemoryFileSystem disk;
        disk.Put(kPath, kFour);
        FakeIcons icons;
        MenuError other = MenuError::Other;
        test_support::InterferingFileSystem fs(disk, call, [&] {
            other = menufile::ChangeMenuFile(disk, kPath, [&](std::string_view old) {
                return menufile::AppendItem(old, theirs);
            });
        });
        MenuEditor editor(fs, icons, test_support::Windows1252());
        if (editor.LoadEditorMenu(kPath) != editor::LoadStatus::Loaded ||
            editor.Delete(0).Status != EditStatus::Written || fs.Interfered()) {
            continue;  // the other writer acted before the undo
        }
        const std::string deleted = disk.Get(kPath).value_or("");
        const EditResult result = editor.Undo();
        if (!fs.Interfered()) {
            EXPECT_EQ(result.Status, EditStatus::Written);
            EXPECT_EQ(disk.Get(kPath), kFour);
            break;
        }
        const std::string now = disk.Get(kPath).value_or("<missing>");
        if (other == MenuError::None) {
            EXPECT_EQ(result.Status, EditStatus::Reloaded);
            EXPECT_EQ(now, deleted + menufile::FormatItemLine(theirs)) << "their change was lost";
            EXPECT_FALSE(editor.CanUndo());
            ++refused;
        } else {
            EXPECT_EQ(other, MenuError::InUse);
            EXPECT_EQ(result.Status, EditStatus::Written);
            EXPECT_EQ(now, kFour) << "the undo was lost";
            ++keptOut;
        }
        EXPECT_TRUE(ListAgreesWithFile(editor, disk));
        EXPECT_EQ(disk.Paths(), std::vector<std::string>{kPath});
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(keptOut, 0);
}

TEST_F(UndoTest, AnUndoThatCannotBeWrittenSaysWhyAndKeepsTheHistory) {
    Open(kFour);
    ASSERT_EQ(m_editor.Delete(0).Status, EditStatus::Written);
    const std::string after = File();
    for (MenuError why : {MenuError::ReadOnly, MenuError::InUse, MenuError::NotFound}) {
        m_fs.SetReadOnly(kPath, why == MenuError::ReadOnly);
        m_fs.SetInUse(kPath, why == MenuError::InUse);
        if (why == MenuError::NotFound) {
            ASSERT_EQ(m_fs.Remove(kPath), menufile::FileError::None);
        }
        const EditResult result = m_editor.Undo();
        EXPECT_EQ(result.Status, EditStatus::Failed);
        EXPECT_EQ(result.Error, why);
        EXPECT_EQ(m_fs.Get(kPath),
                  why == MenuError::NotFound ? std::nullopt : std::optional<std::string>(after));
        EXPECT_EQ(m_editor.UndoDescription(), "Delete \"Notepad\"");
    }
    m_fs.Put(kPath, after);  // put back as it was: the undo goes through
    EXPECT_EQ(m_editor.Undo().Status, EditStatus::Written);
    EXPECT_EQ(File(), kFour);
}

TEST_F(UndoTest, TheHistoryKeepsTheNewestHundredSteps) {
    Open(UserMenu({kNotepad, kLast}));
    for (int i = 0; i < 101; ++i) {
        ASSERT_EQ(m_editor.MoveDown(0).Status, EditStatus::Written);
    }
    EXPECT_EQ(m_editor.History().UndoCount(), 100u);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(m_editor.Undo().Status, EditStatus::Written);
    }
    EXPECT_FALSE(m_editor.CanUndo());
    // The first move was dropped: the file is as that move left it.
    EXPECT_EQ(File(), UserMenu({kLast, kNotepad}));
}

editor::EditStep Step(std::size_t bytes, const std::string& name) {
    return {std::string(bytes / 2, 'b'), std::string(bytes - bytes / 2, 'a'), -1, -1, name};
}

TEST(EditHistory, TheOldestStepsGoFirstButNeverTheNewest) {
    editor::EditHistory history(3, 100);
    for (const char* name : {"1", "2", "3", "4"}) {
        history.Record(Step(10, name));
    }
    EXPECT_EQ(history.UndoCount(), 3u);
    EXPECT_EQ(history.Bytes(), 30u);

    history.Record(Step(81, "big"));  // 2 + 3 + 4 + big, and 3 + 4 + big, over the bytes
    EXPECT_EQ(history.UndoCount(), 2u);
    EXPECT_EQ(history.Bytes(), 91u);
    history.Record(Step(150, "huge"));  // alone over the cap: kept alone
    EXPECT_EQ(history.UndoCount(), 1u);
    EXPECT_EQ(history.NextUndo().Description, "huge");
}

}  // namespace
