// The item list page of the "Contents" tab: the list, its buttons, drops and the preview.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <shellapi.h>

#include "editor/model/menu_editor.h"
#include "editor/ui/page_host_win.h"

namespace editor {

class ItemsPage {
public:
    ItemsPage(PageHost& host, MenuEditor& editor) : m_host(host), m_editor(editor) {}

    // Once the controls exist: the list takes drops.
    void OnCreate();
    // Files dropped on the list.
    void OnDropFiles(HDROP drop);
    // True when the command was this page's.
    bool OnCommand(int id, int code);
    // True when the control was this page's.
    bool OnDrawItem(const DRAWITEMSTRUCT& draw);
    bool OnMeasureItem(MEASUREITEMSTRUCT& measure);
    // Every row from the editor state; nothing selected, no preview.
    void Fill();
    // A key pressed on the list: Delete deletes the selected item and Enter edits it, as
    // their buttons do. False for the other keys.
    bool OnListKey(UINT key);
    // Alt+Up and Alt+Down from any control of the page: Move Up and Move Down of the selected
    // item. False for the other keys, and while the page is not shown.
    bool OnMoveKey(UINT key);
    void ClearPreview() { ShowPreview(-1); }
    // The row selected and previewed (-1: none), as after a change that touched it.
    void Select(int row);

private:
    // What the preview draws: the item's own icon (borrowed from the editor's cache), or an
    // image of the shell's list (borrowed, never destroyed), or nothing.
    struct Preview {
        HICON Icon = nullptr;
        HIMAGELIST ImageList = nullptr;
        int Image = 0;
    };

    void OnSelected();
    [[nodiscard]] bool DoubleClickedOnARow() const;
    void OnDelete();
    void OnMoveUp();
    void OnMoveDown();
    void OnSeparator();
    void OnToPointer();
    void OnAdd();
    void OnEdit();
    void OnChangeIcon();

    [[nodiscard]] HWND List() const;
    // A list of more rows than a list box takes in good time holds no text of its own: it
    // draws its rows from the editor's. The list is made anew when that changes.
    void UseVirtualList(bool on);
    void DrawRow(const DRAWITEMSTRUCT& draw) const;
    [[nodiscard]] int Selected() const;
    void ShowPreview(int row);
    // Only the rows the change touched, then the selection and its preview.
    void ShowChange(const ListChange& change, int selection);
    // A change of the list shown row by row when it was written; else as the host shows it.
    void ShowListResult(const EditResult& result, FailedEdit failed);

    PageHost& m_host;
    MenuEditor& m_editor;
    Preview m_preview;
    bool m_virtual = false;
};

}  // namespace editor
