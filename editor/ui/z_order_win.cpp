// The z-order of the editor's controls, which is also their tab order.
#include "editor/ui/z_order_win.h"

#include "editor/ui/keyboard_access.h"

namespace editor {

void StackControls(HWND parent, std::span<const ControlLayout> controls) {
    HWND above = HWND_TOP;
    for (int id : StackingOrder(controls)) {
        HWND control = ::GetDlgItem(parent, id);
        if (control == nullptr) {
            continue;
        }
        // Stacked again as pages are made: those already in their place are left alone.
        const bool placed = above == HWND_TOP ? ::GetWindow(parent, GW_CHILD) == control
                                              : ::GetWindow(control, GW_HWNDPREV) == above;
        if (!placed) {
            ::SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        above = control;
    }
}

void PlaceLabelBefore(HWND label, HWND control) {
    HWND above = ::GetWindow(control, GW_HWNDPREV);
    if (above == label) {
        return;
    }
    ::SetWindowPos(label, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace editor
