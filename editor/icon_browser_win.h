// Browsing a library's icons with a scroll bar, a count label and a preview box: the icon
// chooser and the appearance tab's "Menu Icon" frame both work this way.
#pragma once

#include <windows.h>

#include <string>

namespace editor {

class IconBrowser {
public:
    IconBrowser(HWND countLabel, HWND scrollBar, HWND preview)
        : m_label(countLabel), m_scroll(scrollBar), m_preview(preview) {}
    ~IconBrowser() { Release(); }
    IconBrowser(const IconBrowser&) = delete;
    IconBrowser& operator=(const IconBrowser&) = delete;

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
    // Paints the preview: the icon at (0, 0) over the background colour.
    void Draw(const DRAWITEMSTRUCT& draw) const;
    void SetBackground(int systemColour);

    [[nodiscard]] const std::string& Library() const { return m_library; }
    [[nodiscard]] int Position() const;
    [[nodiscard]] HICON Icon() const { return m_icon; }
    [[nodiscard]] int Background() const { return m_background; }
    // Hands the shown icon to the caller, who destroys it.
    [[nodiscard]] HICON TakeIcon();

private:
    void ShowAt(int position);
    void Release();

    HWND m_label;
    HWND m_scroll;
    HWND m_preview;
    std::string m_library;
    HICON m_icon = nullptr;  // owned
    int m_background = COLOR_BTNFACE;
};

}  // namespace editor
