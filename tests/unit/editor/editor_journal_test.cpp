// The editor and what lies beside a menu file: journals, and the mark of a download.
#include <gtest/gtest.h>

#include "editor/model/editor_messages.h"
#include "editor_fixtures.h"
#include "menufile/menu_journal.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

using namespace editor_test;
using editor::LoadStatus;
using editor::MenuEditor;
using menufile::MenuError;
using platform::MemoryFileSystem;

const std::string kPath = "C:\\ProgramData\\Menus\\Tools.tvl";
const std::string kJournal = menufile::JournalPath(kPath);

// A journal planted by another user shows nothing of its own, and nothing is saved until the
// user sets it aside; then the menu is edited as usual.
TEST(EditorJournal, AnotherUsersJournalIsNotUsedAndStopsSavesUntilSetAside) {
    const std::string menu = UserMenu({kNotepad, kLast});
    MemoryFileSystem fs;
    fs.Put(kPath, menu);
    fs.SetCurrentUser("mallory");
    fs.Put(kJournal, menufile::EncodeJournal(UserMenu({kLetters}), menu + "x"));
    fs.SetCurrentUser("me");
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"Notepad", "Last"}));
    EXPECT_TRUE(editor.HasUntrustedJournal());
    EXPECT_EQ(fs.Get(kPath), menu) << "the planted journal was applied";
    const std::string question = editor::UntrustedJournalQuestion(kPath);
    EXPECT_NE(question.find(kJournal + "\r"), std::string::npos) << question;
    EXPECT_NE(question.find(kJournal + ".untrusted"), std::string::npos) << question;

    const editor::EditResult refused = editor.Delete(0);
    EXPECT_EQ(refused.Status, editor::EditStatus::Failed);
    EXPECT_EQ(refused.Error, MenuError::UntrustedJournal);
    EXPECT_NE(editor::WriteErrorText(refused.Error, kPath).find("\"" + kJournal + "\""),
              std::string::npos);
    EXPECT_EQ(fs.Get(kPath), menu);

    std::string setAside;
    ASSERT_EQ(editor.SetAsideUntrustedJournal(&setAside), MenuError::None);
    EXPECT_EQ(setAside, kJournal + ".untrusted");
    EXPECT_FALSE(editor.HasUntrustedJournal());
    EXPECT_EQ(editor.Delete(0).Status, editor::EditStatus::Written);
    EXPECT_EQ(fs.Get(kPath), UserMenu({kLast}));
    EXPECT_TRUE(ListAgreesWithFile(editor, fs));
}

// The menu file was deleted after a save of it was cut short: the journal is kept, and the
// editor can say where.
TEST(EditorJournal, TheJournalOfAMissingMenuIsKeptAndNamed) {
    MemoryFileSystem fs;
    const std::string journal =
        menufile::EncodeJournal(UserMenu({kNotepad}), UserMenu({kNotepad, kLast}));
    fs.Put(kJournal, journal);
    FakeIcons icons;
    MenuEditor editor(fs, icons, test_support::Windows1252());
    EXPECT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::NotFound);
    EXPECT_EQ(editor.SetAsideJournal(), kJournal + ".stale");
    EXPECT_EQ(fs.Get(kJournal + ".stale"), journal);
    const std::string text = editor::KeptJournalText(kPath, editor.SetAsideJournal());
    EXPECT_NE(text.find(kJournal + ".stale"), std::string::npos) << text;
    // A new menu made there starts empty: the kept journal is not replayed into it.
    ASSERT_EQ(editor.CreateNewMenu(kPath, "stock"), MenuError::None);
    EXPECT_TRUE(editor.Rows().empty());
    EXPECT_EQ(fs.Get(kJournal + ".stale"), journal);
}

// A downloaded menu's icons from another machine are never asked for; its own disk's are.
TEST(EditorJournal, ADownloadedMenuTakesNoIconFromAnotherMachine) {
    const std::string remote = "\"Remote\",\"C:\\a.exe\",\"\",\"\",\"\\\\host\\s\\i.dll\",1\r\n";
    MemoryFileSystem fs;
    fs.Put(kPath, UserMenu({remote, kLetters}));
    for (bool downloaded : {false, true}) {
        SCOPED_TRACE(downloaded ? "downloaded" : "local");
        if (downloaded) {
            fs.Put(kPath + ":Zone.Identifier", "[ZoneTransfer]\r\nZoneId=3\r\n");
        }
        FakeIcons icons;
        MenuEditor editor(fs, icons, test_support::Windows1252());
        ASSERT_EQ(editor.LoadEditorMenu(kPath), LoadStatus::Loaded);
        EXPECT_EQ(editor.FromInternet(), downloaded);
        EXPECT_EQ(editor.PreviewIcon(0) != 0, !downloaded);
        EXPECT_NE(editor.PreviewIcon(1), 0) << "an icon on the user's own disk";
        for (const auto& [file, index] : icons.Requests) {
            EXPECT_TRUE(!downloaded || file.rfind("\\\\", 0) != 0) << file;
        }
    }
}

}  // namespace
