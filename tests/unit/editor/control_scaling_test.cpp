// The control tables converted at each common display scale: what touches in twips touches in
// pixels, what stands apart stays apart, and every size follows the scale.
#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string>

#include "editor/ui/dialog_layouts.h"
#include "editor/ui/main_window_layout.h"

namespace {

using editor::ControlLayout;
using editor::PixelRect;

struct Table {
    const char* Name;
    std::span<const ControlLayout> Controls;
    float Width, Height;  // the client area, twips
};

Table Tables[] = {
    {"main window", editor::MainWindowControls(), editor::kFormWidth, editor::kFormHeight},
    {"wizard", editor::WizardControls(), editor::kWizardWidth, editor::kWizardHeight},
    {"icon chooser", editor::ChooserControls(), editor::kChooserWidth, editor::kChooserHeight},
};

// A control's edges in the form's client area, in twips.
struct Edges {
    float Left, Top, Right, Bottom;
};

Edges EdgesOf(const ControlLayout& c, std::span<const ControlLayout> table) {
    Edges e{c.Left, c.Top, c.Left + c.Width, c.Top + c.Height};
    for (int parent = c.Parent; parent != 0;) {
        const ControlLayout* p = nullptr;
        for (const ControlLayout& candidate : table) {
            p = candidate.Id == parent ? &candidate : p;
        }
        if (p == nullptr) {
            ADD_FAILURE() << "no container " << parent;
            break;
        }
        e = {e.Left + p->Left, e.Top + p->Top, e.Right + p->Left, e.Bottom + p->Top};
        parent = p->Parent;
    }
    return e;
}

bool Overlap(const Edges& a, const Edges& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

constexpr int kScales[] = {96, 120, 144, 192};

TEST(ControlScaling, TwipsPerPixelAtEachScale) {
    EXPECT_FLOAT_EQ(editor::TwipsPerPixel(96), 15.0f);
    EXPECT_FLOAT_EQ(editor::TwipsPerPixel(120), 12.0f);
    EXPECT_FLOAT_EQ(editor::TwipsPerPixel(144), 10.0f);
    EXPECT_FLOAT_EQ(editor::TwipsPerPixel(192), 7.5f);
    // The item list at 120, 720 in its page, the page at 120, 360 in the tabs at 120, 120:
    // 360, 1200, 4095 x 2790 twips.
    const ControlLayout& list = *editor::FindControl(editor::kItemList);
    const PixelRect at192 = editor::ClientRect(list, editor::TwipsPerPixel(192));
    EXPECT_EQ(at192.Left, 48);
    EXPECT_EQ(at192.Top, 160);
    EXPECT_EQ(at192.Width, 546);
    EXPECT_EQ(at192.Height, 372);
    const PixelRect at120 = editor::ClientRect(list, editor::TwipsPerPixel(120));
    EXPECT_EQ(at120.Left, 30);
    EXPECT_EQ(at120.Top, 100);
    EXPECT_EQ(at120.Width, 341);  // 3.75 .. 345.0 rounds to 30 .. 371 (edges, not the width)
    EXPECT_EQ(at120.Height, 233);
}

TEST(ControlScaling, SizesFollowTheScaleWithinAPixel) {
    for (const Table& table : Tables) {
        for (int dpi : kScales) {
            SCOPED_TRACE(std::string(table.Name) + " at " + std::to_string(dpi));
            const float tpp = editor::TwipsPerPixel(dpi);
            for (const ControlLayout& c : table.Controls) {
                const PixelRect r = editor::ClientRect(c, tpp);
                const Edges e = EdgesOf(c, table.Controls);
                EXPECT_NEAR(r.Left, e.Left / tpp, 0.5f) << c.Id;
                EXPECT_NEAR(r.Top, e.Top / tpp, 0.5f) << c.Id;
                EXPECT_NEAR(r.Width, c.Width / tpp, 1.0f) << c.Id;
                EXPECT_NEAR(r.Height, c.Height / tpp, 1.0f) << c.Id;
                // Inside the client area when the twips are.
                if (e.Right <= table.Width && e.Bottom <= table.Height) {
                    EXPECT_LE(r.Left + r.Width, editor::TwipsToPixels(table.Width, tpp)) << c.Id;
                    EXPECT_LE(r.Top + r.Height, editor::TwipsToPixels(table.Height, tpp)) << c.Id;
                }
            }
        }
    }
}

TEST(ControlScaling, NeighboursTouchAndStandApartAsInTwips) {
    int touching = 0;
    for (const Table& table : Tables) {
        for (int dpi : kScales) {
            SCOPED_TRACE(std::string(table.Name) + " at " + std::to_string(dpi));
            const float tpp = editor::TwipsPerPixel(dpi);
            for (const ControlLayout& a : table.Controls) {
                for (const ControlLayout& b : table.Controls) {
                    if (&a == &b) {
                        continue;
                    }
                    const Edges ea = EdgesOf(a, table.Controls);
                    const Edges eb = EdgesOf(b, table.Controls);
                    const PixelRect ra = editor::ClientRect(a, tpp);
                    const PixelRect rb = editor::ClientRect(b, tpp);
                    if (!Overlap(ea, eb)) {
                        EXPECT_FALSE(Overlap(ra, rb)) << a.Id << " comes to cover " << b.Id;
                    }
                    const bool sideBySide = ea.Top < eb.Bottom && eb.Top < ea.Bottom;
                    const bool stacked = ea.Left < eb.Right && eb.Left < ea.Right;
                    if (sideBySide && ea.Right == eb.Left) {
                        ++touching;
                        EXPECT_EQ(ra.Left + ra.Width, rb.Left) << a.Id << " and " << b.Id;
                    }
                    if (stacked && ea.Bottom == eb.Top) {
                        ++touching;
                        EXPECT_EQ(ra.Top + ra.Height, rb.Top) << a.Id << " above " << b.Id;
                    }
                }
            }
        }
    }
    EXPECT_GT(touching, 0) << "the tables have neighbours that touch";
}

}  // namespace
