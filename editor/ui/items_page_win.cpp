// The item list page: list changes row by row, drops, the preview, and the dialogs it opens.
// Rows dragged to another place are in items_page_drag_win.cpp.
#include "editor/ui/items_page_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "editor/model/editor_messages.h"
#include "editor/ui/icon_chooser_win.h"
#include "editor/ui/item_rows_win.h"
#include "editor/ui/item_wizard_win.h"
#include "editor/ui/main_window_layout.h"
#include "menufile/display_path.h"
#include "menufile/internet_zone.h"
#include "platform/dpi_win.h"
#include "platform/shell_win.h"
#include "platform/text_win.h"
#include "platform/win32_handles_win.h"

namespace editor {
namespace {

using Kind = ListChange::Kind;

// Above this many rows the list draws them itself: a list box that holds each row's text
// fills in time that grows faster than the rows (under Wine, 14 s for a million).
constexpr std::size_t kVirtualListRows = 50000;

// A row of text added (LB_ADDSTRING) or put in at `row` (LB_INSERTSTRING).
void AddRow(HWND list, UINT message, WPARAM row, const std::string& text) {
    ::SendMessageW(list, message, row, reinterpret_cast<LPARAM>(platform::Widen(text).c_str()));
}

// What a dialog's save hands back: it reports a failed write itself; a file changed
// elsewhere is told by the page.
menufile::MenuError DialogError(const EditResult& result) {
    if (result.Status != EditStatus::Failed) {
        return menufile::MenuError::None;
    }
    return result.Error != menufile::MenuError::None ? result.Error : menufile::MenuError::Other;
}

}  // namespace

HWND ItemsPage::List() const {
    return m_host.Control(kItemList);
}

int ItemsPage::Selected() const {
    return static_cast<int>(::SendMessageW(List(), LB_GETCURSEL, 0, 0));
}

void ItemsPage::OnCreate() {
    // The drops are posted to the list; the main window's message loop hands them here. What
    // DragAcceptFiles does, without loading the shell for it.
    HWND list = List();
    ::SetWindowLongPtrW(list, GWL_EXSTYLE,
                        ::GetWindowLongPtrW(list, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

bool ItemsPage::OnCommand(int id, int code) {
    switch (id) {
        case kItemList:
            if (code == LBN_SELCHANGE) {
                OnSelected();
            } else if (code == LBN_DBLCLK && DoubleClickedOnARow()) {
                OnEdit();
            }
            return true;
        case kDeleteButton:
            OnDelete();
            return true;
        case kMoveUpButton:
            OnMoveUp();
            return true;
        case kMoveDownButton:
            OnMoveDown();
            return true;
        case kSeparatorButton:
            OnSeparator();
            return true;
        case kToPointerButton:
            OnToPointer();
            return true;
        case kAddButton:
            OnAdd();
            return true;
        case kEditButton:
            OnEdit();
            return true;
        case kChangeIconButton:
            OnChangeIcon();
            return true;
        default:
            return false;
    }
}

bool ItemsPage::OnMeasureItem(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlID != kItemList) {
        return false;
    }
    // The font's height, or the small icon's at the window's scale with a pixel above and below.
    TEXTMETRICW metrics{};
    platform::WindowDc dc(m_host.Window());
    platform::SelectGuard font(
        dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(m_host.Window(), WM_GETFONT, 0, 0)));
    ::GetTextMetricsW(dc.get(), &metrics);
    m_dpi = m_host.WindowDpi();
    const int iconSize = platform::SystemMetricForDpi(SM_CXSMICON, m_dpi);
    if (iconSize != m_iconSize) {
        m_rowIcons.Clear();  // taken at the old size
        m_iconSize = iconSize;
    }
    measure.itemHeight = static_cast<UINT>(
        std::max(1, RowHeight(static_cast<int>(metrics.tmHeight), m_iconSize, m_dpi)));
    return true;
}

void ItemsPage::DrawRow(const DRAWITEMSTRUCT& draw) {
    const auto& rows = m_editor.Rows();
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    ::FillRect(draw.hDC, &draw.rcItem,
               ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const menufile::MenuItem* record = m_editor.Record(static_cast<int>(draw.itemID));
    if (draw.itemID < rows.size() && record != nullptr) {
        KeepIconsNearTheScreen();
        const std::string key = RowIconKey(*record, m_editor.FromInternet());
        const std::shared_ptr<const RowIcon>* icon =
            key.empty() ? nullptr : m_rowIcons.Find(draw.itemID, key);
        if (icon == nullptr && !key.empty() && m_iconsTaken) {
            icon = &m_rowIcons.Put(draw.itemID, key,
                                   TakeRowIcon(*record, m_editor.FromInternet(), m_iconSize));
        } else if (icon == nullptr && !key.empty()) {
            // The first rows shown: their names first, the icons (and the shell's slow first
            // answer) once the window is painted.
            m_iconless.push_back(static_cast<int>(draw.itemID));
            if (!m_iconTimerSet) {
                // A timer, which waits until nothing else is to be done, the painting included.
                m_iconTimerSet =
                    ::SetTimer(m_host.Window(), kRowIconsTimer, USER_TIMER_MINIMUM, nullptr) != 0;
            }
        }
        DrawItemRow(draw.hDC, draw.rcItem, selected, record->IsSeparator(),
                    icon != nullptr ? icon->get() : nullptr, m_iconSize, m_dpi,
                    platform::Widen(rows[draw.itemID].Text));
    }
    if (draw.itemState & ODS_FOCUS) {
        ::DrawFocusRect(draw.hDC, &draw.rcItem);
    }
}

void ItemsPage::KeepIconsNearTheScreen() {
    HWND list = List();
    RECT client{};
    ::GetClientRect(list, &client);
    const auto top = static_cast<std::size_t>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const int height = std::max(1, static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)));
    m_rowIcons.Keep(top, top + static_cast<std::size_t>((client.bottom + height - 1) / height));
}

void ItemsPage::OnTakeRowIcons() {
    ::KillTimer(m_host.Window(), kRowIconsTimer);
    m_iconTimerSet = false;
    m_iconsTaken = true;  // from now on a row takes its icon as it is painted
    KeepIconsNearTheScreen();
    std::vector<int> rows;
    rows.swap(m_iconless);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    HWND list = List();
    RECT client{};
    ::GetClientRect(list, &client);
    for (int row : rows) {
        const menufile::MenuItem* record = m_editor.Record(row);
        RECT r{};
        // Only rows still on screen: a list scrolled on meanwhile needs none of the others.
        if (record == nullptr ||
            ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(&r)) == LB_ERR ||
            r.bottom <= client.top || r.top >= client.bottom) {
            continue;
        }
        const std::string key = RowIconKey(*record, m_editor.FromInternet());
        if (!key.empty() && m_rowIcons.Find(static_cast<std::size_t>(row), key) == nullptr) {
            (void)m_rowIcons.Put(static_cast<std::size_t>(row), key,
                                 TakeRowIcon(*record, m_editor.FromInternet(), m_iconSize));
        }
        const RECT square = RowIconSquare(r, m_iconSize, m_dpi);
        ::InvalidateRect(list, &square, FALSE);
    }
}

void ItemsPage::UseVirtualList(bool on) {
    if (on == m_virtual) {
        return;
    }
    HWND old = List();
    RECT place{};
    ::GetWindowRect(old, &place);
    ::MapWindowPoints(nullptr, m_host.Window(), reinterpret_cast<POINT*>(&place), 2);
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(old, GWL_STYLE));
    style &= ~static_cast<DWORD>(LBS_NODATA | LBS_HASSTRINGS);
    style |= LBS_OWNERDRAWFIXED | (on ? LBS_NODATA : LBS_HASSTRINGS);
    m_virtual = on;  // the new list asks for its row height while it is made
    HWND replacement = ::CreateWindowExW(
        static_cast<DWORD>(::GetWindowLongPtrW(old, GWL_EXSTYLE)), L"LISTBOX", L"", style,
        place.left, place.top, place.right - place.left, place.bottom - place.top, m_host.Window(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kItemList)), ::GetModuleHandleW(nullptr),
        nullptr);
    ::SendMessageW(replacement, WM_SETFONT, ::SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
    // Where the old one was in the z-order, which is also the tab order.
    ::SetWindowPos(replacement, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool focused = ::GetFocus() == old;
    m_host.Replaced(old, replacement);
    ::DestroyWindow(old);
    if (focused) {
        ::SetFocus(replacement);
    }
}

bool ItemsPage::OnDrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlID == kItemList) {
        DrawRow(draw);
        return true;
    }
    if (draw.CtlID != kItemIcon) {
        return false;
    }
    ::FillRect(draw.hDC, &draw.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    if (m_preview.Icon != nullptr) {
        ::DrawIcon(draw.hDC, 0, 0, m_preview.Icon);
    } else if (m_preview.ImageList != nullptr) {
        platform::DrawShellImage(m_preview.ImageList, m_preview.Image, draw.hDC, 0, 0);
    }
    return true;
}

void ItemsPage::Fill() {
    const auto& rows = m_editor.Rows();
    // Scrolled back to where it was, so a reload deep in a long list does not jump to its top.
    const LRESULT top = ::SendMessageW(List(), LB_GETTOPINDEX, 0, 0);
    UseVirtualList(rows.size() > kVirtualListRows);
    HWND list = List();
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    m_rowIcons.Clear();  // another file, or the same one read anew
    if (!m_shellWarmUp) {
        // The rows of a first screen or two: does one of them show the shell's icon?
        const std::size_t first = static_cast<std::size_t>(std::max<LRESULT>(top, 0));
        for (std::size_t row = first; row < std::min(rows.size(), first + 64); ++row) {
            const menufile::MenuItem* record = m_editor.Record(static_cast<int>(row));
            if (record != nullptr && !record->IsSeparator() &&
                menufile::ItemIconFor(*record, m_editor.FromInternet()).File.empty()) {
                m_shellWarmUp = std::make_unique<platform::ShellIconWarmUp>();
                break;
            }
        }
    }
    if (m_virtual) {
        ::SendMessageW(list, LB_SETCOUNT, rows.size(), 0);
    } else {
        ::SendMessageW(list, LB_INITSTORAGE, rows.size(), rows.size() * 16 * sizeof(wchar_t));
        for (const ListRow& row : rows) {
            AddRow(list, LB_ADDSTRING, 0, row.Text);
        }
    }
    if (top > 0 && top < static_cast<LRESULT>(rows.size())) {
        ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    ClearPreview();
}

void ItemsPage::ShowChange(const ListChange& change, int selection) {
    HWND list = List();
    const auto& rows = m_editor.Rows();
    if (m_virtual && change.What != Kind::None && change.What != Kind::Reloaded) {
        // The rows are drawn from the editor's rows, which hold the change already.
        const LRESULT top = ::SendMessageW(list, LB_GETTOPINDEX, 0, 0);
        ::SendMessageW(list, LB_SETCOUNT, rows.size(), 0);
        ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
        ::InvalidateRect(list, nullptr, TRUE);
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
        ShowPreview(selection);
        return;
    }
    auto insert = [&](int row) {
        AddRow(list, LB_INSERTSTRING, static_cast<WPARAM>(row),
               rows[static_cast<std::size_t>(row)].Text);
    };
    auto rewrite = [&](int row) {
        ::SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
        insert(row);
    };
    switch (change.What) {
        case Kind::None:
            break;
        case Kind::Removed:
            ::SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(change.Index), 0);
            break;
        case Kind::Inserted:
            insert(change.Index);
            break;
        case Kind::Swapped:
            rewrite(change.Index);
            rewrite(change.Index + 1);
            break;
        case Kind::Moved:
            ::SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(change.Index), 0);
            insert(change.Count);
            break;
        case Kind::Replaced:
            rewrite(change.Index);
            break;
        case Kind::Appended:
            for (int row = change.Index; row < change.Index + change.Count; ++row) {
                insert(row);
            }
            break;
        case Kind::Reloaded:
            Fill();
            break;
    }
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    ShowPreview(selection);  // a move keeps the moved entry selected and shown
}

void ItemsPage::ShowPreview(int row) {
    m_preview = {};
    const auto& rows = m_editor.Rows();
    if (row >= 0 && row < static_cast<int>(rows.size())) {
        if (IconHandle own = m_editor.PreviewIcon(row); own != 0) {
            m_preview.Icon = reinterpret_cast<HICON>(own);
        } else if (platform::ShellInfo info; ShellIconOf(rows[static_cast<std::size_t>(row)].Target,
                                                         m_editor.FromInternet(), false, info)) {
            m_preview.ImageList = info.imageList;
            m_preview.Image = info.iconIndex;
        }
    }
    ::InvalidateRect(m_host.Control(kItemIcon), nullptr, TRUE);
}

void ItemsPage::Select(int row) {
    ::SendMessageW(List(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ShowPreview(row);
}

void ItemsPage::ShowListResult(const EditResult& result, FailedEdit failed) {
    if (m_host.ShowEditResult(result, failed) && result.Status == EditStatus::Written) {
        ShowChange(result.Change, result.Selection);
    }
}

bool ItemsPage::OnListKey(UINT key) {
    switch (key) {
        case VK_DELETE:
            OnDelete();
            return true;
        case VK_RETURN:
            OnEdit();
            return true;
        default:
            return false;
    }
}

bool ItemsPage::OnMoveKey(UINT key) {
    if ((key != VK_UP && key != VK_DOWN) || !::IsWindowVisible(List())) {
        return false;
    }
    if (key == VK_UP) {
        OnMoveUp();
    } else {
        OnMoveDown();
    }
    return true;
}

bool ItemsPage::DoubleClickedOnARow() const {
    // The list reports a double click below its last row too.
    const DWORD at = ::GetMessagePos();
    POINT pt{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ::ScreenToClient(List(), &pt);
    const LRESULT hit = ::SendMessageW(List(), LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    return HIWORD(hit) == 0;  // the row hit; the first click selected it
}

void ItemsPage::OnSelected() {
    ShowPreview(Selected());
}

void ItemsPage::OnDelete() {
    const int selected = Selected();
    if (selected < 0) {
        return;
    }
    ClearPreview();  // the preview may borrow the icon of the row that goes
    ShowListResult(m_editor.Delete(selected), FailedEdit::Reload);
}

void ItemsPage::OnMoveUp() {
    ShowListResult(m_editor.MoveUp(Selected()), FailedEdit::Reload);
}

void ItemsPage::OnMoveDown() {
    ShowListResult(m_editor.MoveDown(Selected()), FailedEdit::Reload);
}

void ItemsPage::OnSeparator() {
    ShowListResult(m_editor.Separator(Selected()), FailedEdit::Reload);
}

void ItemsPage::OnToPointer() {
    if (!m_host.SettleUnsaved(false)) {  // a failed change ends the editor
        return;
    }
    if (::SendMessageW(List(), LB_GETCOUNT, 0, 0) > 0 && !m_host.Ask(kTypeChangeQuestion)) {
        return;
    }
    ClearPreview();
    const EditResult result = m_editor.ChangeToDirectoryPointer();
    if (m_host.ShowEditResult(result, FailedEdit::Close) && result.Status == EditStatus::Written) {
        Fill();
        m_host.ShowPage();  // the page's controls keep what they showed until it is saved
    }
}

void ItemsPage::OnAdd() {
    const int selection = Selected();
    EditResult result;
    WizardParams params;
    params.MenuPath = m_editor.Path();
    params.Save = [&](const menufile::MenuItem& record) {
        result = m_editor.AddItem(record, selection);
        return DialogError(result);
    };
    params.WriteMissingMenu = [this] { return m_editor.WriteMissingMenu(); };
    (void)RunItemWizard(m_host.Window(), params);
    ShowListResult(result, FailedEdit::ReloadQuiet);
}

void ItemsPage::OnEdit() {
    const int selected = Selected();
    const menufile::MenuItem* record = m_editor.Record(selected);
    if (record == nullptr) {
        return;
    }
    EditResult result;
    WizardParams params;
    params.Edit = true;
    params.Item = *record;
    params.MenuPath = m_editor.Path();
    params.Save = [&](const menufile::MenuItem& changed) {
        result = m_editor.EditItem(selected, changed, selected);
        return DialogError(result);
    };
    params.WriteMissingMenu = [this] { return m_editor.WriteMissingMenu(); };
    (void)RunItemWizard(m_host.Window(), params);
    ShowListResult(result, FailedEdit::ReloadQuiet);
}

void ItemsPage::OnChangeIcon() {
    const int selected = Selected();
    const menufile::MenuItem* record = m_editor.Record(selected);
    if (record == nullptr || record->Target.empty()) {
        return;
    }
    EditResult result;
    ChooserParams params;
    params.Library = record->IconFile.empty() ? record->Target : record->IconFile;
    params.IconIndex = menufile::ToInt(record->IconIndex);
    params.Target = record->Target;
    params.MenuPath = m_editor.Path();
    params.Save = [&](const std::string& iconFile, int index, platform::UniqueHicon preview) {
        m_preview = {};  // the editor's cache may let go of the icon the preview borrows
        result = m_editor.SetItemIcon(selected, iconFile, index,
                                      reinterpret_cast<IconHandle>(preview.release()));
        return DialogError(result);
    };
    (void)RunIconChooser(m_host.Window(), params);
    ShowListResult(result, FailedEdit::ReloadQuiet);
}

void ItemsPage::OnDropFiles(HDROP drop) {
    std::vector<DroppedFile> files;
    for (std::string& path : platform::TakeDroppedPaths(drop)) {
        platform::ShellInfo info;
        // A path the shell has no name for is listed under its own last part.
        std::string name = platform::GetShellInfo(path, false, info) && !info.displayName.empty()
                               ? info.displayName
                               : std::string(menufile::LastPathPart(path));
        files.push_back({std::move(name), std::move(path)});
    }
    if (files.empty() || m_editor.IsDirectoryPointer()) {
        return;
    }
    const int selection = Selected();
    const DropResult result = m_editor.DropFiles(files);
    if (result.Added > 0 && result.Change.What == Kind::Appended) {
        ShowChange(result.Change, selection);  // the selection and its preview stay
    }
    if (result.Status != EditStatus::Written) {
        // The rows of the paths that were written stay; the rest were never added.
        ShowListResult({result.Status, result.Error, -1, result.Change}, FailedEdit::Reload);
    }
}

}  // namespace editor
