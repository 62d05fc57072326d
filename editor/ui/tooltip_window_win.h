// The tooltips over a window's controls.
#pragma once

#include <windows.h>

namespace editor {

// One tooltip window for the controls of `owner`, which the message loop relays the mouse to.
class TooltipWindow {
public:
    // The tooltip window; the owner destroys it with itself. Without it, nothing shows.
    void Create(HWND owner);
    // The tooltip `text` over `control`.
    void Add(HWND control, const char* text);
    // A tooltip over `control` whose text the owner gives each time it shows, answering
    // TTN_GETDISPINFOW (the tip's text changes with what the control would do).
    void AddAsked(HWND control);
    // `replacement` was made in place of `old`: the tip moves over to it.
    void Replace(HWND old, HWND replacement, const char* text);
    [[nodiscard]] bool Created() const { return m_window != nullptr; }
    // A mouse message to one of the owner's controls, from which the tooltip times itself.
    void Relay(MSG& msg) const;

private:
    HWND m_owner = nullptr;
    HWND m_window = nullptr;
};

}  // namespace editor
