// What the wizard, the icon chooser and the appearance save write, byte for byte, and the list
// following the file after each, also when the commit fails.
#include <gtest/gtest.h>

#include <functional>

#include "../editor/editor_fixtures.h"
#include "editor/model/appearance.h"
#include "editor/model/icon_library.h"
#include "editor/model/item_wizard.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

using namespace editor_test;
using editor::EditStatus;
using menufile::MenuError;

const std::string kPath = "C:\\menus\\tools.tvl";

struct Fixture {
    explicit Fixture(const std::string& content) : editor(fs, icons, test_support::Windows1252()) {
        fs.Put(kPath, content);
        EXPECT_EQ(editor.LoadEditorMenu(kPath), editor::LoadStatus::Loaded);
    }
    platform::MemoryFileSystem fs;
    FakeIcons icons;
    editor::MenuEditor editor;
};

TEST(WizardChanges, AddAppendsANewRecordWithoutIcon) {
    Fixture f(UserMenu({kNotepad, kSeparator}));
    editor::ItemWizard wizard;
    wizard.Target = "C:\\tools\\a b.exe";
    wizard.Arguments = "-x, -y";
    wizard.StartIn = "C:\\tools\\";
    wizard.Name = "Tool, new";
    auto result = f.editor.AddItem(wizard.Record(), 1);
    EXPECT_EQ(result.Status, EditStatus::Written);
    EXPECT_EQ(result.Selection, 1) << "the selection stays";
    EXPECT_EQ(
        f.fs.Get(kPath),
        UserMenu({kNotepad, kSeparator,
                  "\"Tool, new\",\"C:\\tools\\a b.exe\",\"-x, -y\",\"C:\\tools\\\",\"\",0\r\n"}));
    EXPECT_EQ(Texts(f.editor).back(), "Tool, new");
    EXPECT_EQ(f.editor.PreviewIcon(2), 0u) << "a new item shows its target's shell icon";
    EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs));

    // Adding to an empty list makes entry 0.
    Fixture empty(UserMenu({}));
    EXPECT_EQ(empty.editor.AddItem(wizard.Record(), -1).Status, EditStatus::Written);
    EXPECT_EQ(Texts(empty.editor), std::vector<std::string>{"Tool, new"});
}

TEST(WizardChanges, EditChangesOnlyTheFourFieldsAndKeepsTheIcon) {
    Fixture f(UserMenu({kNotepad, kLetters, kLast}));
    const editor::IconHandle icon = f.editor.PreviewIcon(1);
    editor::ItemWizard wizard(*f.editor.Record(1));
    wizard.Name = "Letters";
    wizard.Target = "C:\\letters\\";
    wizard.StartIn = "";
    auto result = f.editor.EditItem(1, wizard.Record(*f.editor.Record(1)), 1);
    EXPECT_EQ(result.Status, EditStatus::Written);
    EXPECT_EQ(f.fs.Get(kPath),
              UserMenu({kNotepad, "\"Letters\",\"C:\\letters\\\",\"\",\"\",\"C:\\icons.dll\",3\r\n",
                        kLast}));
    EXPECT_EQ(f.editor.Rows()[1].Target, "C:\\letters\\") << "the row shows the new target";
    EXPECT_EQ(f.editor.PreviewIcon(1), icon) << "the same icon file and index: the same icon";
    EXPECT_EQ(result.Change, (editor::ListChange{editor::ListChange::Kind::Replaced, 1, 1}));
    EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs));
}

TEST(ChooserChanges, OkStoresLibraryAndIndexAndHandsTheIconToTheRow) {
    Fixture f(UserMenu({kNotepad, kLetters}));
    const editor::IconHandle preview = f.icons.Extract("C:\\windows\\system32\\shell32.dll", 12);
    auto result = f.editor.SetItemIcon(0, "C:\\windows\\system32\\shell32.dll", 12, preview);
    EXPECT_EQ(result.Status, EditStatus::Written);
    EXPECT_EQ(f.fs.Get(kPath), UserMenu({"\"Notepad\",\"C:\\windows\\notepad.exe\",\"\",\"\","
                                         "\"C:\\windows\\system32\\shell32.dll\",12\r\n",
                                         kLetters}));
    const auto asked = f.icons.Requests.size();
    EXPECT_EQ(f.editor.PreviewIcon(0), preview) << "the row shows the icon the chooser showed";
    EXPECT_EQ(f.icons.Requests.size(), asked) << "without extracting it again";

    // The library that is the item's own target is stored as no icon file.
    const editor::IconHandle own = f.icons.Extract("C:\\docs\\", 2);
    ASSERT_EQ(
        f.editor.SetItemIcon(1, editor::StoredIconFile("C:\\docs\\", "C:\\docs\\"), 2, own).Status,
        EditStatus::Written);
    EXPECT_EQ(f.editor.Record(1)->IconFile, "");
    EXPECT_EQ(f.editor.Record(1)->IconIndex, "2");
    EXPECT_EQ(f.editor.PreviewIcon(1), own);
    EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs));

    // Index 0 of the target itself is the shell's icon: the chooser's copy is not kept.
    const editor::IconHandle first = f.icons.Extract("C:\\docs\\", 0);
    ASSERT_EQ(f.editor.SetItemIcon(1, "", 0, first).Status, EditStatus::Written);
    EXPECT_EQ(f.editor.PreviewIcon(1), 0u);
    EXPECT_EQ(f.icons.Live.count(first), 0u);
}

TEST(AppearanceChanges, NewPictureAndSettingsKeepTheRecords) {
    Fixture f(UserMenu({kSeparator, kSeparator}));
    const std::string picture = editor::BitmapFile(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0});
    const menufile::MenuSettings settings = editor::SettingsOf({true, "Tahoma", 9.75f, true, true});
    EXPECT_EQ(f.editor.SaveAppearance(&picture, settings).Status, EditStatus::Written);
    EXPECT_EQ(f.fs.Get(kPath), picture + "\r\n<START TVL>\r\n\"USERDEF\"\r\n" +
                                   "1,\"Tahoma\",9.75,-1,-1\r\n" + kSeparator + kSeparator);
    EXPECT_EQ(f.editor.Settings(), settings);
    EXPECT_EQ(f.editor.Picture(), picture);

    // A directory pointer keeps its type and its record.
    Fixture pointer(PointerMenu(kSavedPointer));
    EXPECT_EQ(pointer.editor.SaveAppearance(&picture, settings).Status, EditStatus::Written);
    EXPECT_EQ(pointer.fs.Get(kPath), picture + "\r\n<START TVL>\r\n\"DIRPOINT\"\r\n" +
                                         "1,\"Tahoma\",9.75,-1,-1\r\n" + kSavedPointer);
}

TEST(AppearanceChanges, WithoutANewIconThePictureStaysByteForByte) {
    // An icon file, a bitmap, and bytes no program could show, each with the line end the
    // writer put before the marker, or a lone LF, or none of its own.
    const std::string pictures[] = {
        "\0\0\1\0\1\0\x20\x20\0\0\1\0 icon data \r\n<START\r\n"s + "\r\n<START TVL>\r\n",
        "BM\x36\0\0\0\n\r" + "\n<START TVL>\r\n"s,
        "<START TVL>\r\n"s,
    };
    const menufile::MenuSettings settings = editor::SettingsOf({true, "Tahoma", 12, false, true});
    for (const std::string& head : pictures) {
        Fixture f(head + kUserType + kSettings + kNotepad);
        const std::string before = f.editor.Picture();
        EXPECT_EQ(f.editor.SaveAppearance(nullptr, settings).Status, EditStatus::Written);
        EXPECT_EQ(f.fs.Get(kPath), head + kUserType + "1,\"Tahoma\",12,0,-1\r\n" + kNotepad);
        EXPECT_EQ(f.editor.Picture(), before);
    }
    Fixture f(pictures[0] + kUserType + kSettings);
    EXPECT_EQ(f.editor.Picture(), "\0\0\1\0\1\0\x20\x20\0\0\1\0 icon data \r\n<START\r\n"s)
        << "the picture is what comes before the line end that precedes the marker";
}

// Each dialog's change, failed at each file call in turn (once, and from then on): a failure
// is reported with its reason and leaves the file as it was; the list shows the file.
TEST(DialogChanges, AFailedCommitKeepsTheFileAndTheListAgrees) {
    const std::string content = UserMenu({kNotepad, kLetters, kLast});
    const menufile::MenuItem added{"New", "C:\\new.exe", "", "", "", "0"};
    const std::string picture = "pic";
    struct Change {
        const char* Name;
        std::function<editor::EditResult(Fixture&)> Run;
    };
    const Change changes[] = {
        {"add", [&](Fixture& f) { return f.editor.AddItem(added, -1); }},
        {"edit", [&](Fixture& f) { return f.editor.EditItem(0, added, 0); }},
        {"icon",
         [&](Fixture& f) {
             return f.editor.SetItemIcon(2, "C:\\lib.dll", 1, f.icons.Extract("C:\\lib.dll", 1));
         }},
        {"appearance",
         [&](Fixture& f) { return f.editor.SaveAppearance(&picture, editor::SettingsOf({})); }},
    };
    for (const Change& change : changes) {
        std::string after;
        {
            Fixture f(content);
            ASSERT_EQ(change.Run(f).Status, EditStatus::Written);
            after = *f.fs.Get(kPath);
        }
        for (bool fromThenOn : {false, true}) {
            for (int call = 1;; ++call) {
                SCOPED_TRACE(std::string(change.Name) + " failing at call " + std::to_string(call) +
                             (fromThenOn ? " and on" : ""));
                {
                    Fixture f(content);
                    const int start = f.fs.Calls();
                    f.fs.FailAt(start + call, fromThenOn, menufile::FileError::InUse);
                    const editor::EditResult result = change.Run(f);
                    const bool reached = f.fs.Calls() >= start + call;
                    f.fs.ClearFaults();
                    if (!reached) {
                        EXPECT_EQ(result.Status, EditStatus::Written);
                        EXPECT_EQ(f.fs.Get(kPath), after);
                        break;
                    }
                    ASSERT_EQ(result.Status, EditStatus::Failed);
                    EXPECT_EQ(result.Error, MenuError::InUse) << "the reason reaches the caller";
                    ASSERT_EQ(menufile::RecoverMenuFile(f.fs, kPath), MenuError::None);
                    const std::string now = f.fs.Get(kPath).value_or("<missing>");
                    if (!fromThenOn) {
                        EXPECT_EQ(now, content) << "one failure: rolled back at once";
                        EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs));
                    } else {
                        EXPECT_TRUE(now == content || now == after);
                        if (!ListAgreesWithFile(f.editor, f.fs)) {
                            // Even the rollback failed and the new bytes had arrived whole, so
                            // recovery keeps them: the next change shows the file instead.
                            EXPECT_EQ(f.editor.AddItem(added, -1).Status, EditStatus::Reloaded);
                            EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs));
                        }
                    }
                    EXPECT_EQ(f.fs.Paths(), std::vector<std::string>{kPath});
                }
            }
        }
    }
}

}  // namespace
