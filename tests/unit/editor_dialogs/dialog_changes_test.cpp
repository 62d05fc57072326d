// What the wizard, the icon chooser and the appearance save write, byte for byte, and the list
// following the file after each, also when the commit fails.
#include <gtest/gtest.h>

#include "../editor/editor_fixtures.h"
#include "editor/appearance.h"
#include "editor/icon_library.h"
#include "editor/item_wizard.h"
#include "platform/memory_file_system.h"

namespace {

using namespace editor_test;
using editor::EditStatus;
using menufile::MenuError;

const std::string kPath = "C:\\menus\\tools.tvl";

struct Fixture {
    explicit Fixture(const std::string& content) : editor(fs, icons) {
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
    EXPECT_EQ(f.fs.Get(kPath),
              UserMenu({kNotepad, kSeparator,
                        "\"Tool, new\",\"C:\\tools\\a b.exe\",\"-x, -y\",\"C:\\tools\\\",\"\",0\r\n"}));
    EXPECT_EQ(Texts(f.editor).back(), "Tool, new");
    EXPECT_EQ(f.editor.Entries().back().Icon, 0u) << "a new item shows its target's shell icon";
    EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs));

    // Adding to an empty list makes entry 0.
    Fixture empty(UserMenu({}));
    EXPECT_EQ(empty.editor.AddItem(wizard.Record(), -1).Status, EditStatus::Written);
    EXPECT_EQ(Texts(empty.editor), std::vector<std::string>{"Tool, new"});
}

TEST(WizardChanges, EditChangesOnlyTheFourFieldsAndKeepsTheIcon) {
    Fixture f(UserMenu({kNotepad, kLetters, kLast}));
    const auto live = f.icons.Live.size();
    editor::ItemWizard wizard(*f.editor.Record(1));
    wizard.Name = "Letters";
    wizard.Target = "C:\\letters\\";
    wizard.StartIn = "";
    auto result = f.editor.EditItem(1, wizard.Record(*f.editor.Record(1)), 1);
    EXPECT_EQ(result.Status, EditStatus::Written);
    EXPECT_EQ(f.fs.Get(kPath),
              UserMenu({kNotepad, "\"Letters\",\"C:\\letters\\\",\"\",\"\",\"C:\\icons.dll\",3\r\n",
                        kLast}));
    EXPECT_EQ(f.editor.Entries()[1].Target, "C:\\letters\\") << "the row shows the new target";
    EXPECT_EQ(f.icons.Live.size(), live) << "the old icon went, the file's icon came";
    EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs));
}

TEST(ChooserChanges, OkStoresLibraryAndIndexAndHandsTheIconToTheRow) {
    Fixture f(UserMenu({kNotepad, kLetters}));
    const editor::IconHandle preview = f.icons.Extract("C:\\windows\\system32\\shell32.dll", 12);
    auto result = f.editor.SetItemIcon(0, "C:\\windows\\system32\\shell32.dll", 12, preview);
    EXPECT_EQ(result.Status, EditStatus::Written);
    EXPECT_EQ(f.fs.Get(kPath),
              UserMenu({"\"Notepad\",\"C:\\windows\\notepad.exe\",\"\",\"\","
                        "\"C:\\windows\\system32\\shell32.dll\",12\r\n",
                        kLetters}));
    EXPECT_EQ(f.editor.Entries()[0].Icon, preview);

    // The library that is the item's own target is stored as no icon file.
    const editor::IconHandle own = f.icons.Extract("C:\\docs\\", 2);
    ASSERT_EQ(f.editor.SetItemIcon(1, editor::StoredIconFile("C:\\docs\\", "C:\\docs\\"), 2, own)
                  .Status,
              EditStatus::Written);
    EXPECT_EQ(f.editor.Record(1)->IconFile, "");
    EXPECT_EQ(f.editor.Record(1)->IconIndex, "2");
    EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs));
}

TEST(AppearanceChanges, NewPictureAndSettingsKeepTheRecords) {
    Fixture f(UserMenu({kSeparator, kSeparator}));
    const std::string picture = editor::BitmapFile(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0});
    const menufile::MenuSettings settings =
        editor::SettingsOf({true, "Tahoma", 9.75f, true, true});
    EXPECT_EQ(f.editor.SaveAppearance(picture, settings).Status, EditStatus::Written);
    EXPECT_EQ(f.fs.Get(kPath), picture + "\r\n<START TVL>\r\n\"USERDEF\"\r\n" +
                                   "1,\"Tahoma\",9.75,-1,-1\r\n" + kSeparator + kSeparator);
    EXPECT_EQ(f.editor.Settings(), settings);

    // A directory pointer keeps its type and its record.
    Fixture pointer(PointerMenu(kSavedPointer));
    EXPECT_EQ(pointer.editor.SaveAppearance(picture, settings).Status, EditStatus::Written);
    EXPECT_EQ(pointer.fs.Get(kPath), picture + "\r\n<START TVL>\r\n\"DIRPOINT\"\r\n" +
                                         "1,\"Tahoma\",9.75,-1,-1\r\n" + kSavedPointer);
}

TEST(DialogChanges, AFailedCommitKeepsTheFileAndTheListAgrees) {
    const std::string content = UserMenu({kNotepad, kLetters, kLast});
    const menufile::MenuItem added{"New", "C:\\new.exe", "", "", "", "0"};
    for (int call = 1; call < 40; ++call) {
        for (bool fromThenOn : {false, true}) {
            Fixture f(content);
            f.fs.FailAt(f.fs.Calls() + call, fromThenOn);
            const editor::IconHandle preview = f.icons.Extract("C:\\lib.dll", 1);
            const EditStatus statuses[] = {
                f.editor.AddItem(added, -1).Status,
                f.editor.EditItem(0, added, 0).Status,
                f.editor.SetItemIcon(2, "C:\\lib.dll", 1, preview).Status,
                f.editor.SaveAppearance("pic", editor::SettingsOf({})).Status,
            };
            f.fs.ClearFaults();
            if (statuses[2] != EditStatus::Written) {
                f.icons.Destroy(preview);  // the chooser keeps what the row did not take
            }
            for (EditStatus s : statuses) {
                EXPECT_TRUE(s == EditStatus::Written || s == EditStatus::Failed ||
                            s == EditStatus::Reloaded)
                    << call;
            }
            if (!fromThenOn) {
                EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs)) << "fault at call " << call;
            } else if (!ListAgreesWithFile(f.editor, f.fs)) {
                // Even the rollback failed and the new bytes had arrived whole, so recovery
                // keeps them: the next change notices and shows the file instead of writing.
                EXPECT_EQ(f.editor.AddItem(added, -1).Status, EditStatus::Reloaded) << call;
                EXPECT_TRUE(ListAgreesWithFile(f.editor, f.fs)) << "fault at call " << call;
            }
        }
    }
}

}  // namespace
