// Keeping the focus of the editor's windows where the keyboard user left it.
#include "editor/ui/keyboard_focus_win.h"

namespace editor {

bool CanTakeFocus(HWND window, HWND control) {
    return control != nullptr && ::IsWindow(control) && ::IsChild(window, control) &&
           ::IsWindowVisible(control) && ::IsWindowEnabled(control);
}

bool FocusKeeper::OnActivate(HWND window, WPARAM wParam, HWND fallback) {
    if (HIWORD(wParam) != 0) {
        return false;  // minimised
    }
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window, focus)) {
            m_control = focus;
        }
        return false;
    }
    HWND target = CanTakeFocus(window, m_control) ? m_control : fallback;
    if (!CanTakeFocus(window, target)) {
        return false;
    }
    ::SetFocus(target);
    return true;
}

void OnNextDialogControl(HWND window, WPARAM wParam, LPARAM lParam) {
    HWND target = nullptr;
    if (LOWORD(lParam) != 0) {
        target = reinterpret_cast<HWND>(wParam);
    } else {
        target = ::GetNextDlgTabItem(window, ::GetFocus(), wParam != 0);
    }
    if (target != nullptr && ::IsChild(window, target)) {
        ::SetFocus(target);
    }
}

}  // namespace editor
