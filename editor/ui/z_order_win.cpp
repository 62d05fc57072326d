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
        ::SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
