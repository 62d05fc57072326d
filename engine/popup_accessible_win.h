// What screen readers see of the pop-up: an accessible menu whose children are its cells and
// separators, and the events that tell them the menu opened, moved its highlight and closed.
#pragma once

#include <windows.h>

#include "engine/menu_model.h"
#include "platform/win32_handles_win.h"

namespace engine {

class PopupAccessibleObject;

class PopupAccessibility {
public:
    // The default action of a cell posts `launchMessage` to the window with the cell's index
    // in wParam, so launching takes the window's own path.
    PopupAccessibility(const MenuModel& model, UINT launchMessage);
    ~PopupAccessibility();
    PopupAccessibility(const PopupAccessibility&) = delete;
    PopupAccessibility& operator=(const PopupAccessibility&) = delete;

    // The answer to WM_GETOBJECT: the object for OBJID_CLIENT (made on the first request and
    // kept until Closing), 0 for anything else.
    [[nodiscard]] LRESULT OnGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void Shown(HWND hwnd);
    // The highlight moved to `cell` (-1: none, the menu itself has the focus).
    void FocusMoved(HWND hwnd, int cell);
    // The window is being destroyed: clients still holding the object get "disconnected" from
    // then on.
    void Closing(HWND hwnd);

private:
    const MenuModel& m_model;
    UINT m_launchMessage;
    platform::ComPtr<PopupAccessibleObject> m_object;
};

}  // namespace engine
