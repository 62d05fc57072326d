// Focus in the editor's windows, which are plain windows rather than dialogs: what the
// dialog manager would otherwise do for them.
#pragma once

#include <windows.h>

namespace editor {

// Remembers which control had the focus when the window lost the activation (to a message
// box, a common dialog or one of the editor's own windows), and gives it back on return;
// a plain window would otherwise keep the focus itself and leave the keyboard nowhere.
class FocusKeeper {
public:
    // WM_ACTIVATE. True when the message was handled (the window then returns 0);
    // `fallback` gets the focus when the remembered control cannot take it any more.
    bool OnActivate(HWND window, WPARAM wParam, HWND fallback);
    // The control to give the focus to at the next activation.
    void Remember(HWND control) { m_control = control; }

private:
    HWND m_control = nullptr;
};

// True when `control` is a child of `window` that can take the focus now.
[[nodiscard]] bool CanTakeFocus(HWND window, HWND control);

// WM_NEXTDLGCTL, which IsDialogMessage sends for the mnemonic of a label: to the label,
// then on to the next control in the tab order, the box the label names.
void OnNextDialogControl(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace editor
