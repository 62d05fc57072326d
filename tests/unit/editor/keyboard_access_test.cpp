// Keyboard access from the control tables: mnemonics that never clash in what is shown
// together, a tab order that reads the windows as they look, and the main window's title.
#include "editor/ui/keyboard_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "editor/model/item_wizard.h"
#include "editor/ui/dialog_layouts.h"

namespace {

using editor::ControlKind;
using editor::ControlLayout;
using editor::Page;

std::vector<ControlLayout> Shown(std::span<const ControlLayout> controls, Page page) {
    std::vector<ControlLayout> shown;
    for (const ControlLayout& c : controls) {
        if (c.Shown == Page::Always || c.Shown == page) {
            shown.push_back(c);
        }
    }
    return shown;
}

const ControlLayout& Layout(std::span<const ControlLayout> controls, int id) {
    return *std::find_if(controls.begin(), controls.end(),
                         [id](const ControlLayout& c) { return c.Id == id; });
}

std::vector<int> TabStops(std::span<const ControlLayout> controls, const std::vector<int>& ids) {
    std::vector<int> stops;
    for (int id : ids) {
        if (editor::IsTabStop(Layout(controls, id).Kind)) {
            stops.push_back(id);
        }
    }
    return stops;
}

// Each mnemonic letter belongs to one of the captions shown together.
void ExpectDistinctMnemonics(const std::vector<std::string>& captions) {
    std::map<char, std::string> owner;
    for (const std::string& caption : captions) {
        const char key = editor::MnemonicOf(caption);
        if (key == 0) {
            continue;
        }
        const auto [at, added] = owner.emplace(key, caption);
        EXPECT_TRUE(added) << "Alt+" << key << ": \"" << caption << "\" and \"" << at->second
                           << "\"";
    }
}

TEST(Mnemonics, MarkOneLetterOfTheUnchangedCaptions) {
    EXPECT_EQ(editor::MnemonicOf("Move Do&wn"), 'W');
    EXPECT_EQ(editor::MnemonicOf("Fish && &Chips"), 'C') << "\"&&\" is an ampersand";
    EXPECT_EQ(editor::MnemonicOf("No key"), 0);
    EXPECT_EQ(editor::MnemonicOf("Ends with &"), 0);
    EXPECT_EQ(editor::WithoutMnemonic("Fish && &Chips"), "Fish & Chips");

    for (auto table :
         {editor::MainWindowControls(), editor::WizardControls(), editor::ChooserControls()}) {
        for (const ControlLayout& c : table) {
            const std::string shown = editor::ShownCaption(c);
            EXPECT_EQ(editor::WithoutMnemonic(shown), c.Caption) << c.Id;
            EXPECT_EQ(std::count(shown.begin(), shown.end(), '&'), editor::HasMnemonic(c.Id))
                << shown;
        }
    }
    EXPECT_EQ(editor::WithoutMnemonic(editor::kContentsTabCaption), editor::kContentsTab);
    EXPECT_EQ(editor::WithoutMnemonic(editor::kAppearanceTabCaption), editor::kAppearanceTab);
    EXPECT_EQ(editor::WithoutMnemonic(editor::kShortcutsTabCaption), editor::kShortcutsTab);
    EXPECT_EQ(editor::WithoutMnemonic(editor::InstructionCaption(editor::kPathInstruction)),
              editor::kPathInstruction);
    EXPECT_EQ(editor::WithoutMnemonic(editor::InstructionCaption(editor::kNameInstruction)),
              editor::kNameInstruction);
    EXPECT_NE(editor::MnemonicOf(editor::InstructionCaption(editor::kPathInstruction)), 0);
    EXPECT_NE(editor::MnemonicOf(editor::InstructionCaption(editor::kNameInstruction)), 0);
}

TEST(Mnemonics, EveryButtonTabAndLabelledBoxHasOneThatNothingShownWithItShares) {
    const auto main = editor::MainWindowControls();
    for (Page page : {Page::Items, Page::DirectoryPointer, Page::Appearance, Page::Shortcuts}) {
        SCOPED_TRACE(static_cast<int>(page));
        std::vector<std::string> captions{editor::kContentsTabCaption,
                                          editor::kAppearanceTabCaption,
                                          editor::kShortcutsTabCaption};
        for (const ControlLayout& c : Shown(main, page)) {
            captions.push_back(editor::ShownCaption(c));
            if (c.Kind == ControlKind::Button || c.Kind == ControlKind::Check) {
                EXPECT_NE(editor::MnemonicOf(captions.back()), 0) << captions.back();
            }
        }
        ExpectDistinctMnemonics(captions);
        // A label just before a box in the z-order gives the box its key.
        const std::vector<int> z = editor::StackingOrder(main);
        for (std::size_t i = 0; i + 1 < z.size(); ++i) {
            const ControlLayout& label = Layout(main, z[i]);
            const ControlKind box = Layout(main, z[i + 1]).Kind;
            if (label.Kind == ControlKind::Label && label.Shown == page &&
                (box == ControlKind::Text || box == ControlKind::HotKey)) {
                EXPECT_TRUE(editor::HasMnemonic(label.Id)) << label.Caption;
            }
        }
    }

    // The wizard: both pages' instructions and every control at once.
    std::vector<std::string> wizard{editor::InstructionCaption(editor::kNameInstruction)};
    for (const ControlLayout& c : editor::WizardControls()) {
        wizard.push_back(editor::ShownCaption(c));
        if ((c.Kind == ControlKind::Button && c.Id != editor::kWizardCancel) ||
            c.Kind == ControlKind::Label) {
            EXPECT_NE(editor::MnemonicOf(wizard.back()), 0) << wizard.back();
        }
    }
    ExpectDistinctMnemonics(wizard);

    std::vector<std::string> chooser;
    for (const ControlLayout& c : editor::ChooserControls()) {
        chooser.push_back(editor::ShownCaption(c));
    }
    ExpectDistinctMnemonics(chooser);
    EXPECT_NE(editor::MnemonicOf(
                  editor::ShownCaption(Layout(editor::ChooserControls(), editor::kChooserLibrary))),
              0);
}

TEST(VisualOrder, ReadsRowsTopDownColumnsLeftToRightAndContainersInPlace) {
    // A title row; below it a tall list on the left beside a column of two boxes; a frame
    // holding two buttons side by side; a button laid over another one.
    const ControlLayout controls[] = {
        {9, ControlKind::Button, Page::Always, 0, 0, 2000, 500, 300, "last", nullptr},
        {8, ControlKind::Button, Page::Always, 7, 600, 100, 400, 300, "right", nullptr},
        {1, ControlKind::Label, Page::Always, 0, 0, 0, 1000, 200, "title", nullptr},
        {7, ControlKind::Frame, Page::Always, 0, 0, 1500, 1200, 450, "", nullptr},
        {6, ControlKind::Button, Page::Always, 7, 100, 100, 400, 300, "left", nullptr},
        {3, ControlKind::Text, Page::Always, 0, 600, 300, 400, 200, "", nullptr},
        {2, ControlKind::List, Page::Always, 0, 0, 300, 500, 1000, "", nullptr},
        {4, ControlKind::Text, Page::Always, 0, 600, 800, 400, 200, "", nullptr},
        {10, ControlKind::Button, Page::Always, 0, 100, 2000, 300, 300, "over", nullptr},
    };
    EXPECT_EQ(editor::VisualOrder(controls, Page::Always),
              (std::vector<int>{1, 2, 3, 4, 7, 6, 8, 9, 10}));
}

TEST(VisualOrder, OfEachPageAndDialog) {
    using namespace editor;
    const auto main = MainWindowControls();
    EXPECT_EQ(TabStops(main, VisualOrder(main, Page::Items)),
              (std::vector<int>{kTabs, kAddButton, kEditButton, kDeleteButton, kUndoButton,
                                kItemList, kChangeIconButton, kMoveUpButton, kMoveDownButton,
                                kSeparatorButton, kToPointerButton, kQuitButton}));
    EXPECT_EQ(TabStops(main, VisualOrder(main, Page::DirectoryPointer)),
              (std::vector<int>{kTabs, kToUserListButton, kDriveList, kFolderList, kPathBox,
                                kPatternBox, kShowFoldersCheck, kShowHiddenCheck,
                                kHideExtensionsCheck, kPointerBrowseButton, kSavePointerButton,
                                kQuitButton}));
    EXPECT_EQ(TabStops(main, VisualOrder(main, Page::Appearance)),
              (std::vector<int>{kTabs, kMenuIconScroll, kSelectIconFileButton, kFontSample,
                                kChangeFontButton, kSmallIconsCheck, kSaveAppearanceButton,
                                kQuitButton}));
    // The key's label, box and "None" stand in one row.
    EXPECT_EQ(
        VisualOrder(main, Page::Shortcuts),
        (std::vector<int>{kTabs, kShortcutsFrame, kStartMenuCheck, kDesktopCheck, kHotKeyLabel,
                          kHotKeyBox, kNoHotKeyButton, kPinLabel, kQuitButton}));
    // The name box stands where the path box does, on the other page.
    EXPECT_EQ(
        TabStops(WizardControls(), VisualOrder(WizardControls(), Page::Always)),
        (std::vector<int>{kWizardName, kWizardPath, kWizardBrowse, kWizardArgs, kWizardStartIn,
                          kWizardBack, kWizardNext, kWizardFinish, kWizardCancel}));
    EXPECT_EQ(TabStops(ChooserControls(), VisualOrder(ChooserControls(), Page::Always)),
              (std::vector<int>{kChooserGrid, kChooserLibrary, kChooserOk, kChooserCancel}));
}

TEST(StackingOrder, TabsThroughEachPageInItsVisualOrder) {
    for (auto table :
         {editor::MainWindowControls(), editor::WizardControls(), editor::ChooserControls()}) {
        const std::vector<int> z = editor::StackingOrder(table);
        std::vector<int> sorted = z;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_TRUE(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end());
        EXPECT_EQ(z.size(), table.size());
        for (Page page : {Page::Items, Page::DirectoryPointer, Page::Appearance, Page::Shortcuts}) {
            SCOPED_TRACE(static_cast<int>(page));
            std::vector<int> shown;
            for (int id : z) {
                const Page p = Layout(table, id).Shown;
                if (p == Page::Always || p == page) {
                    shown.push_back(id);
                }
            }
            const std::vector<int> tabbed = TabStops(table, shown);
            std::vector<int> visual = TabStops(table, editor::VisualOrder(table, page));
            ASSERT_EQ(tabbed.size(), visual.size());
            // Tab wraps around at the end of the z-order.
            const auto first = std::find(visual.begin(), visual.end(), tabbed.front());
            ASSERT_NE(first, visual.end());
            std::rotate(visual.begin(), first, visual.end());
            EXPECT_EQ(tabbed, visual);
        }
        // Pictures are laid over scroll bars and must stay above them; frames and the tab
        // control below whatever they hold.
        for (std::size_t i = 0; i < z.size(); ++i) {
            const ControlKind kind = Layout(table, z[i]).Kind;
            for (std::size_t j = i + 1; j < z.size(); ++j) {
                const ControlKind below = Layout(table, z[j]).Kind;
                if (kind != ControlKind::Picture) {
                    EXPECT_NE(below, ControlKind::Picture) << z[j] << " under " << z[i];
                }
                if (kind == ControlKind::Frame || kind == ControlKind::Tabs) {
                    EXPECT_TRUE(below == ControlKind::Frame || below == ControlKind::Tabs)
                        << z[j] << " under the container " << z[i];
                }
            }
        }
    }
    // Labels come just before the boxes they name.
    const auto main = editor::MainWindowControls();
    const std::vector<int> z = editor::StackingOrder(main);
    auto justBefore = [&](int label, int box) {
        const auto at = std::find(z.begin(), z.end(), box);
        return at != z.begin() && at != z.end() && *(at - 1) == label;
    };
    EXPECT_TRUE(justBefore(editor::kPathLabel, editor::kPathBox));
    EXPECT_TRUE(justBefore(editor::kPatternLabel, editor::kPatternBox));
    EXPECT_TRUE(justBefore(editor::kHotKeyLabel, editor::kHotKeyBox));
    const std::vector<int> wizard = editor::StackingOrder(editor::WizardControls());
    auto wizardBefore = [&](int label, int box) {
        const auto at = std::find(wizard.begin(), wizard.end(), box);
        return at != wizard.begin() && at != wizard.end() && *(at - 1) == label;
    };
    EXPECT_TRUE(wizardBefore(editor::kWizardArgsLabel, editor::kWizardArgs));
    EXPECT_TRUE(wizardBefore(editor::kWizardStartInLabel, editor::kWizardStartIn));
}
}  // namespace
