// Browsing a library's icons with a scroll bar, a count label and a preview box: the icon
// chooser and the appearance tab's "Menu Icon" frame both work this way.
#pragma once

#include <windows.h>

#include <string>

#include "platform/subclass_win.h"
#include "platform/win32_handles_win.h"

namespace editor {

class IconBrowser {
public:
    // The scroll bar is a tab stop that browses with the arrow keys, Home and End; the
    // preview, laid over it, shows when it has the focus.
    IconBrowser(HWND countLabel, HWND scrollBar, HWND preview);

    // The library an item came with: browsed at `position` when it holds icons, else only
    // remembered, the scroll bar staying disabled.
    void Activate(const std::string& library, int position);
    // Counts the library's icons and shows the one at `position` (kept inside the range);
    // returns the count.
    int Open(const std::string& library, int position);
    // The library chosen with the Open dialog, its first icon shown; false when the user
    // cancelled. Says so when the file holds no icon.
    bool ChooseLibrary(HWND owner);
    // Scroll bar notifications; true when the position changed.
    bool OnScroll(int code);
    // What the preview shows until a library's icon is: an icon or a bitmap (or neither).
    void ShowCurrent(platform::UniqueHicon icon, platform::UniqueHbitmap bitmap);
    // Paints the preview: the icon at (0, 0) over the background colour.
    void Draw(const DRAWITEMSTRUCT& draw) const;
    void SetBackground(int systemColour);

    [[nodiscard]] const std::string& Library() const { return m_library; }
    [[nodiscard]] int Position() const;
    // True once a library's icon is shown instead of the current picture.
    [[nodiscard]] bool ShowsLibraryIcon() const { return static_cast<bool>(m_icon); }
    // Hands the shown icon over; the browser then shows none.
    [[nodiscard]] platform::UniqueHicon TakeIcon() { return std::move(m_icon); }

private:
    void ShowAt(int position);

    HWND m_label;
    HWND m_scroll;
    HWND m_preview;
    std::string m_library;
    platform::UniqueHicon m_icon;
    platform::UniqueHicon m_currentIcon;
    platform::UniqueHbitmap m_currentBitmap;
    int m_background = COLOR_BTNFACE;
    platform::Subclass m_focusWatch;
};

}  // namespace editor
