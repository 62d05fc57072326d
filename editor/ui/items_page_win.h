// The item list page of the "Contents" tab: the list, its buttons, drops and the preview.
#pragma once

// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <vector>

#include "editor/model/menu_editor.h"
#include "editor/ui/item_rows_win.h"
#include "editor/ui/page_host_win.h"

namespace editor {

// Posted to the main window when a row was dragged and let go: wParam the row, lParam the gap
// it was dropped in. Posted, so the list has had its button release first.
inline constexpr UINT kRowDroppedMessage = WM_APP + 1;
// The main window's timer that takes the icons of the first rows painted: they show their
// names first, the icons (and the shell's slow first answer, 100 ms under Wine) once the window
// has been painted. Later rows take theirs as they are painted, so scrolling shows them at once.
inline constexpr UINT_PTR kRowIconsTimer = 1;

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
    // The mouse on the list: a row pressed and moved is dragged, an insertion mark showing
    // the gap it would go into. True when the message was the drag's and the list must not
    // see it (the moves, which would select the rows passed over).
    bool OnListMouse(const MSG& msg);
    // The dragged row let go in `gap`: moved there, in one change.
    void OnRowDropped(int from, int gap);
    // The row selected and previewed (-1: none), as after a change that touched it.
    void Select(int row);
    // The icons of the first rows painted, those still on screen: taken, and their squares
    // painted again.
    void OnTakeRowIcons();

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
    // Takes the icons of the rows it draws, and lets go of those far from the screen.
    void DrawRow(const DRAWITEMSTRUCT& draw);
    // Icons are kept for the rows on screen and a page either side of them.
    void KeepIconsNearTheScreen();
    [[nodiscard]] int Selected() const;
    void ShowPreview(int row);
    // Only the rows the change touched, then the selection and its preview.
    void ShowChange(const ListChange& change, int selection);
    // A change of the list shown row by row when it was written; else as the host shows it.
    void ShowListResult(const EditResult& result, FailedEdit failed);

    PageHost& m_host;
    MenuEditor& m_editor;
    // The gap before the row under `pt` (in the list's client area), or after it when `pt` is
    // in its lower half; the number of rows below the last one.
    [[nodiscard]] int GapAt(POINT pt) const;
    // The insertion mark at `y` drawn, or taken away when drawn there already (inverted).
    void InvertMark(int y) const;
    void EndDrag();

    Preview m_preview;
    int m_dragFrom = -1;  // the row pressed, while the button is down
    POINT m_dragStart{};
    bool m_dragging = false;
    int m_gap = -1;    // where the mark is
    int m_markY = -1;  // and its place in the list
    bool m_virtual = false;
    RowIcons m_rowIcons;          // the rows' icons, owned here (a row owns its icon)
    std::vector<int> m_iconless;  // rows painted without their icon since the last taking
    bool m_iconTimerSet = false;  // kRowIconsTimer is running
    bool m_iconsTaken = false;    // the first rows' icons were taken after their names
    // The shell started on a thread of its own once a menu whose first rows show its icons is
    // read: while the list is filled, not after.
    std::unique_ptr<platform::ShellIconWarmUp> m_shellWarmUp;
    int m_dpi = 96;
    int m_iconSize = 16;  // pixels, at m_dpi
};

}  // namespace editor
