// The main window's pages: made as they are first needed, and the look of the tabs and frames
// they stand on.
#include "editor/ui/main_window_win.h"

#include <algorithm>
#include <array>

#include "editor/ui/control_colours_win.h"
#include "editor/ui/main_window_layout.h"
#include "editor/ui/z_order_win.h"
#include "platform/theme_win.h"

namespace editor {

void MainWindow::BuildPage(Page page) {
    bool& built = m_pageBuilt[static_cast<std::size_t>(page)];
    if (built) {
        return;
    }
    built = true;
    for (const ControlLayout& c : MainWindowControls()) {
        if (c.Shown != page) {
            continue;
        }
        HWND control = AddControl(c);
        if (c.Tooltip != nullptr && m_tooltip.Created()) {
            m_tooltip.Add(control, c.Tooltip);
        }
        if (c.Kind == ControlKind::Frame) {
            FillFrameWithPage(control);
        }
        if ((c.Kind == ControlKind::Frame || c.Kind == ControlKind::Tabs) && !m_themedLook) {
            platform::UseClassicLook(control);
        }
    }
    // Tab goes through the z-order: the one that reads each page as it looks, which keeps the
    // frames and the tab control at the bottom, under what they hold.
    StackControls(Hwnd(), MainWindowControls());
    switch (page) {
        case Page::Items:
            m_items.OnCreate();
            break;
        case Page::DirectoryPointer:
            m_directoryPointer.OnCreate(Font());
            break;
        case Page::Appearance:
            m_appearance.OnCreate();
            if (m_editor.IsLoaded()) {
                m_appearance.Show();
            }
            break;
        case Page::Shortcuts:
            m_shortcuts.OnCreate();
            break;
        case Page::Always:
            break;
    }
}

bool MainWindow::BuildLater() {
    if (!m_tooltip.Created()) {
        // Tips show after the mouse rests a while: they too can wait for the first paint.
        m_tooltip.Create(Hwnd());
        for (const ControlLayout& c : MainWindowControls()) {
            if (c.Tooltip != nullptr && PageBuilt(c.Shown)) {
                m_tooltip.Add(Control(c.Id), c.Tooltip);
            }
        }
        m_tooltip.AddAsked(Control(kUndoButton));
    }
    // One page at a time, so that the window never stops answering for long.
    constexpr std::array kLater = {Page::Appearance, Page::Shortcuts, Page::DirectoryPointer};
    const auto waiting = [this](Page page) { return !PageBuilt(page); };
    if (const auto next = std::find_if(kLater.begin(), kLater.end(), waiting);
        next != kLater.end()) {
        BuildPage(*next);
    }
    return std::any_of(kLater.begin(), kLater.end(), waiting);
}

void MainWindow::FillFrameWithPage(HWND frame) {
    // The tab control under a frame does not paint through it.
    m_frames.emplace_back(frame,
                          [this, frame](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
                              if (message != WM_ERASEBKGND) {
                                  return false;
                              }
                              RECT r;
                              ::GetClientRect(frame, &r);
                              m_background.Fill(Hwnd(), frame, reinterpret_cast<HDC>(wParam), r);
                              result = 1;
                              return true;
                          });
}

void MainWindow::ChoosePageLook() {
    HWND tabs = Control(kTabs);
    // A theme paints the page, and the frames' captions, in its own colours whatever the
    // system's colours say, while the labels on the page take the scheme's text colour.
    const bool contrast = platform::HighContrastOn();
    bool tabsThemed = m_themedLook;
    if (!contrast) {
        if (!tabsThemed) {
            platform::UseThemedLook(tabs);  // to see the colour the theme gives the page
            tabsThemed = true;
        }
        m_background.Update(Hwnd(), tabs);
    }
    const bool themed =
        !contrast && Readable(::GetSysColor(COLOR_BTNTEXT), m_background.PageColour());
    // Only a change of look is set: each costs the control a new theme and a repaint.
    for (const ControlLayout& c : MainWindowControls()) {
        const bool now = c.Kind == ControlKind::Tabs ? tabsThemed : m_themedLook;
        if ((c.Kind != ControlKind::Tabs && c.Kind != ControlKind::Frame) || now == themed ||
            !PageBuilt(c.Shown)) {
            continue;
        }
        if (themed) {
            platform::UseThemedLook(Control(c.Id));
        } else {
            platform::UseClassicLook(Control(c.Id));
        }
    }
    m_themedLook = themed;
    if (contrast || tabsThemed != themed) {
        RefreshBackground();  // the tabs' look is not the one the background was taken from
    } else {
        ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

void MainWindow::RefreshBackground() {
    m_background.Update(Hwnd(), Control(kTabs));
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

}  // namespace editor
