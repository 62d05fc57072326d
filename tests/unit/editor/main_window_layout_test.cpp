// The main window's layout: every control inside its container and clear of its neighbours, at
// the common screen resolutions.
#include "editor/ui/main_window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "editor/ui/dialog_layouts.h"

namespace {

using editor::ControlKind;
using editor::ControlLayout;
using editor::PixelRect;

bool Inside(const PixelRect& inner, const PixelRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top &&
           inner.Left + inner.Width <= outer.Left + outer.Width &&
           inner.Top + inner.Height <= outer.Top + outer.Height;
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

TEST(MainWindowLayout, IdsAreUniqueAndContainersComeFirst) {
    std::set<int> seen;
    for (const ControlLayout& c : editor::MainWindowControls()) {
        EXPECT_TRUE(seen.insert(c.Id).second) << c.Id;
        if (c.Parent != 0) {
            EXPECT_TRUE(seen.count(c.Parent)) << c.Id << " comes before its container";
        }
        if (c.Kind == ControlKind::Button || c.Kind == ControlKind::Check) {
            EXPECT_STRNE(c.Caption, "") << c.Id;
        }
    }
}

TEST(MainWindowLayout, ControlsStayInsideTheirContainersAndApart) {
    for (float tpp : {15.0f, 12.0f, 10.0f}) {
        SCOPED_TRACE(tpp);
        const PixelRect form{0, 0, editor::TwipsToPixels(editor::kFormWidth, tpp),
                             editor::TwipsToPixels(editor::kFormHeight, tpp)};
        auto controls = editor::MainWindowControls();
        for (const ControlLayout& c : controls) {
            PixelRect r = editor::ClientRect(c, tpp);
            EXPECT_GT(r.Width, 0) << c.Id;
            EXPECT_GT(r.Height, 0) << c.Id;
            const PixelRect outer =
                c.Parent == 0 ? form : editor::ClientRect(*editor::FindControl(c.Parent), tpp);
            EXPECT_TRUE(Inside(r, outer)) << c.Id << " leaves its container";
        }
        // Controls shown together do not cover each other, except the menu icon preview,
        // which is laid over the middle of its scroll bar on purpose.
        for (const ControlLayout& a : controls) {
            for (const ControlLayout& b : controls) {
                if (a.Id >= b.Id || a.Kind == ControlKind::Frame || b.Kind == ControlKind::Frame ||
                    a.Kind == ControlKind::Tabs || b.Kind == ControlKind::Tabs) {
                    continue;
                }
                const bool together = a.Shown == b.Shown || a.Shown == editor::Page::Always ||
                                      b.Shown == editor::Page::Always;
                if (!together ||
                    (a.Id == editor::kMenuIconPicture && b.Id == editor::kMenuIconScroll)) {
                    continue;
                }
                EXPECT_FALSE(Overlap(editor::ClientRect(a, tpp), editor::ClientRect(b, tpp)))
                    << a.Id << " and " << b.Id;
            }
        }
    }
}

TEST(MainWindowLayout, ItemListSitsWhereTheDesignPutsIt) {
    // The list at 120, 720 in its page, the page at 120, 360 in the tabs, which are at 120, 120.
    const PixelRect list = editor::ClientRect(*editor::FindControl(editor::kItemList), 15.0f);
    EXPECT_EQ(list.Left, 24);
    EXPECT_EQ(list.Top, 80);
    EXPECT_EQ(list.Width, 273);
    EXPECT_EQ(list.Height, 186);
    EXPECT_FLOAT_EQ(editor::TwipsPerPixel(96), 15.0f);
    EXPECT_FLOAT_EQ(editor::TwipsPerPixel(120), 12.0f);
    EXPECT_FLOAT_EQ(editor::TwipsPerPixel(144), 10.0f);
}

}  // namespace

namespace {

const ControlLayout& Find(std::span<const ControlLayout> table, int id) {
    for (const ControlLayout& c : table) {
        if (c.Id == id) {
            return c;
        }
    }
    ADD_FAILURE() << "no control " << id;
    return table.front();
}

// A label comes just before the box it names (Windows names the box after it and sends the
// label's mnemonic there) and leaves the box uncovered, at every resolution.
TEST(DialogLayouts, LabelsComeJustBeforeTheirBoxesAndDoNotCoverThem) {
    const auto wizard = editor::WizardControls();
    const std::pair<int, int> named[] = {{editor::kWizardInstruction, editor::kWizardPath},
                                         {editor::kWizardArgsLabel, editor::kWizardArgs},
                                         {editor::kWizardStartInLabel, editor::kWizardStartIn}};
    for (float tpp : {15.0f, 12.0f, 10.0f, 7.5f}) {
        SCOPED_TRACE(tpp);
        for (auto [label, box] : named) {
            const auto at = std::find_if(wizard.begin(), wizard.end(),
                                         [&](const ControlLayout& c) { return c.Id == label; });
            ASSERT_NE(at + 1, wizard.end());
            EXPECT_EQ((at + 1)->Id, box) << "the box right after label " << label;
            EXPECT_FALSE(
                Overlap(editor::ClientRect(*at, tpp), editor::ClientRect(Find(wizard, box), tpp)))
                << label << " covers " << box;
        }
        // On the name page the instruction is one line above the name box.
        ControlLayout instruction = Find(wizard, editor::kWizardInstruction);
        instruction.Height = editor::kWizardNameInstructionHeight;
        EXPECT_FALSE(Overlap(editor::ClientRect(instruction, tpp),
                             editor::ClientRect(Find(wizard, editor::kWizardName), tpp)));
    }
    // The labels of the main window's pointer page.
    const auto main = editor::MainWindowControls();
    for (auto [label, box] : {std::pair{editor::kPathLabel, editor::kPathBox},
                              std::pair{editor::kPatternLabel, editor::kPatternBox},
                              std::pair{editor::kHotKeyLabel, editor::kHotKeyBox}}) {
        const auto at = std::find_if(main.begin(), main.end(),
                                     [&](const ControlLayout& c) { return c.Id == label; });
        ASSERT_NE(at + 1, main.end());
        EXPECT_EQ((at + 1)->Id, box);
    }
}

}  // namespace
