// The main window's controls stacked as its pages are made one after another: Tab must read
// every page as it looks whatever order the pages came in, and a page made later must not move
// what stands in its place already.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>

#include <vector>

#include "editor/ui/keyboard_access.h"
#include "editor/ui/main_window_layout.h"
#include "editor/ui/z_order_win.h"

namespace {

using editor::ControlLayout;
using editor::MainWindowControls;
using editor::Page;

// Counts the z-order changes asked of the parent's children.
int g_restacked = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_WINDOWPOSCHANGING &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER) == 0) {
        ++g_restacked;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

class ZOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZOrderTestChild";
        ::RegisterClassW(&wc);
        m_parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr,
                                     nullptr, nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
    }
    void TearDown() override { ::DestroyWindow(m_parent); }

    // The controls of `page`, made in the table's order as a window makes them.
    void Make(Page page) {
        for (const ControlLayout& c : MainWindowControls()) {
            if (c.Shown == page) {
                ::CreateWindowExW(0, L"ZOrderTestChild", L"", WS_CHILD, 0, 0, 10, 10, m_parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.Id)), nullptr,
                                  nullptr);
            }
        }
    }
    // The ids of the parent's children, top first.
    [[nodiscard]] std::vector<int> Stack() const {
        std::vector<int> ids;
        for (HWND c = ::GetWindow(m_parent, GW_CHILD); c != nullptr;
             c = ::GetWindow(c, GW_HWNDNEXT)) {
            ids.push_back(::GetDlgCtrlID(c));
        }
        return ids;
    }
    // The order the whole table is stacked in, kept to the pages made so far.
    [[nodiscard]] std::vector<int> Expected() const {
        std::vector<int> ids;
        for (int id : editor::StackingOrder(MainWindowControls())) {
            if (::GetDlgItem(m_parent, id) != nullptr) {
                ids.push_back(id);
            }
        }
        return ids;
    }

    HWND m_parent = nullptr;
};

TEST_F(ZOrderTest, EachPageMadeLaterTakesItsPlaceAndWhatStoodAlreadyStays) {
    Make(Page::Always);
    Make(Page::Items);
    editor::StackControls(m_parent, MainWindowControls());
    EXPECT_EQ(Stack(), Expected());
    g_restacked = 0;
    editor::StackControls(m_parent, MainWindowControls());
    EXPECT_EQ(g_restacked, 0) << "stacked again with nothing new: nothing moves";

    // Any order the user may bring the pages in.
    for (Page page : {Page::Shortcuts, Page::DirectoryPointer, Page::Appearance}) {
        Make(page);
        g_restacked = 0;
        editor::StackControls(m_parent, MainWindowControls());
        EXPECT_EQ(Stack(), Expected()) << static_cast<int>(page);
        int made = 0;
        for (const ControlLayout& c : MainWindowControls()) {
            made += c.Shown == page;
        }
        EXPECT_LE(g_restacked, made) << "only the new page's controls move";
    }
    EXPECT_EQ(Stack(), editor::StackingOrder(MainWindowControls())) << "every control in place";
}

}  // namespace
