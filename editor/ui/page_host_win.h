// What a page of the main window asks of the window that holds it.
#pragma once

#include <windows.h>

#include <string>

#include "editor/ui/main_window_layout.h"

namespace editor {

class PageHost {
public:
    virtual ~PageHost() = default;
    [[nodiscard]] virtual HWND Window() const = 0;
    [[nodiscard]] HWND Control(int id) const { return ::GetDlgItem(Window(), id); }
    // A Yes/No question ("Query?"); true for Yes.
    [[nodiscard]] virtual bool Ask(const std::string& text) = 0;
    // An error message ("Error!").
    virtual void Tell(const std::string& text) = 0;
    // Every page again from the editor state, after the file was read anew.
    virtual void ShowReloaded() = 0;
    // Shows the controls of the tab and the menu type now in force.
    virtual void ShowPage() = 0;
    // Ends the editor (a failed menu-type, pointer or appearance change).
    virtual void Close() = 0;
    // A control was made anew in place of another, with the same id: its tooltip follows.
    virtual void Replaced(HWND old, HWND replacement) = 0;
};

}  // namespace editor
