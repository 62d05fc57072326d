// What a page of the main window asks of the window that holds it.
#pragma once

#include <windows.h>

#include <string>

#include "editor/model/menu_editor.h"
#include "editor/ui/main_window_layout.h"

namespace editor {

// What a write that failed leaves the editor doing.
enum class FailedEdit {
    Reload,       // says why, then every page from the file (a change to the item list)
    ReloadQuiet,  // every page from the file; the dialog that saved has said why
    Close,        // says why and ends (a failed menu-type, pointer or appearance change)
    Stay,         // says why; the pages keep what they show (a save asked for before leaving)
};

class PageHost {
public:
    virtual ~PageHost() = default;
    [[nodiscard]] virtual HWND Window() const = 0;
    [[nodiscard]] HWND Control(int id) const { return ::GetDlgItem(Window(), id); }
    // The dots per inch the window's controls are laid out at.
    [[nodiscard]] virtual int WindowDpi() const = 0;
    // A Yes/No question ("Query?"); true for Yes.
    [[nodiscard]] virtual bool Ask(const std::string& text) = 0;
    // An error message ("Error!").
    virtual void Tell(const std::string& text) = 0;
    // Every page again from the editor state: the menu loaded, or the file read anew.
    virtual void ShowMenu() = 0;
    // An edit that did not go through: a file changed by another program shows every page
    // anew and says so; a failed write is handled as `failed` says. True when the edit was
    // written or had nothing to do, which the page then shows itself.
    virtual bool ShowEditResult(const EditResult& result, FailedEdit failed) = 0;
    // Shows the controls of the tab and the menu type now in force.
    virtual void ShowPage() = 0;
    // Ends the editor (a failed menu-type, pointer or appearance change).
    virtual void Close() = 0;
    // Before what would throw away the Appearance or pointer page's unsaved changes: asks about
    // each (Yes saves, No drops). False when the user stays (Cancel, or a save that failed).
    // `pointerGoes`: the pointer is dropped next (a change to a list of items), which the user
    // is asked about on its own, so saving its page first is not offered.
    [[nodiscard]] virtual bool SettleUnsaved(bool pointerGoes) = 0;
    // A control was made anew in place of another, with the same id: its tooltip follows.
    virtual void Replaced(HWND old, HWND replacement) = 0;
};

}  // namespace editor
