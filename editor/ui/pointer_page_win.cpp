// The directory-pointer page: drive and folder lists kept in step with the path box, and the
// pointer's save and the change back to a list of items.
#include "editor/ui/pointer_page_win.h"

#include <algorithm>
#include <cctype>

#include "editor/model/editor_messages.h"
#include "editor/ui/main_window_layout.h"
#include "platform/folder_picker_win.h"
#include "platform/shell_win.h"
#include "platform/text_win.h"
#include "platform/win32_handles_win.h"
#include "platform/window_base_win.h"

namespace editor {
namespace {

constexpr int kFolderIndent = 8;  // pixels per level of the folder list

// Sub-folder names of a folder, or false when it cannot be listed.
bool ListSubFolders(const std::string& folder, std::vector<std::string>& names) {
    const std::wstring pattern = platform::WidePath(WithTrailingBackslash(folder) + "*");
    WIN32_FIND_DATAW data{};
    platform::UniqueHfind find(::FindFirstFileW(pattern.c_str(), &data));
    if (!find) {
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty root
    }
    do {
        const std::wstring_view name = data.cFileName;
        const DWORD hidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(data.dwFileAttributes & hidden) && name != L"." && name != L"..") {
            names.push_back(platform::Narrow(name));
        }
    } while (::FindNextFileW(find.get(), &data));
    return true;
}

// What `ask(size, buffer)` writes, where `ask` answers as GetCurrentDirectory does: the length
// written when it fits in `size` characters, else the size it needs, 0 on failure. What it
// writes can grow between two calls, so it is asked until it fits.
template <class Ask>
std::wstring SystemText(Ask&& ask) {
    std::wstring text;
    for (DWORD size = ask(0, nullptr); size > 0;) {
        text.assign(size, L'\0');
        const DWORD got = ask(size, text.data());
        if (got < size) {
            text.resize(got);
            return text;
        }
        size = got;
    }
    return {};
}

// The process's current folder; empty when it cannot be had.
std::string CurrentFolder() {
    return platform::Narrow(SystemText(
        [](DWORD size, wchar_t* buffer) { return ::GetCurrentDirectoryW(size, buffer); }));
}

// The full path of `path` as the system resolves it (a bare drive: its current folder).
std::string FullPath(const std::string& path) {
    const std::wstring wide = platform::Widen(path);
    return platform::Narrow(SystemText([&](DWORD size, wchar_t* buffer) {
        return ::GetFullPathNameW(wide.c_str(), size, buffer, nullptr);
    }));
}

}  // namespace

std::string PointerPage::TextOf(int id) const {
    return platform::WindowText(m_host.Control(id));
}

void PointerPage::SetText(int id, const std::string& text) {
    platform::SetWindowTextUtf8(m_host.Control(id), text);
}

void PointerPage::OnCreate(HFONT font) {
    m_font = font;
    // Enter on the folder list opens the folder, as a double click does; it presses no button.
    m_folderKeys =
        platform::Subclass(m_host.Control(kFolderList),
                           [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                               if (message == WM_GETDLGCODE && lParam != 0 &&
                                   reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
                                   result = DLGC_WANTALLKEYS;
                                   return true;
                               }
                               if (message == WM_KEYDOWN && wParam == VK_RETURN) {
                                   OnFolderOpened();
                                   result = 0;
                                   return true;
                               }
                               return false;
                           });
    ::SendMessageW(m_host.Control(kPathBox), EM_LIMITTEXT, MAX_PATH, 0);
}

void PointerPage::Prepare() {
    if (m_prepared) {
        return;
    }
    m_prepared = true;
    FillDrives();
    // Like the classic drive and folder lists, both start at the current folder; the path box
    // stays empty until the folder is changed.
    if (const std::string current = CurrentFolder(); !current.empty()) {
        auto it = std::find(m_drives.begin(), m_drives.end(), DriveOf(current));
        if (it != m_drives.end()) {
            ::SendMessageW(m_host.Control(kDriveList), CB_SETCURSEL,
                           static_cast<WPARAM>(it - m_drives.begin()), 0);
        }
        SetFolder(current, false);
    }
}

bool PointerPage::OnCommand(int id, int code) {
    switch (id) {
        case kToUserListButton:
            OnToUserList();
            return true;
        case kSavePointerButton:
            (void)Save(FailedEdit::Close);
            return true;
        case kPointerBrowseButton:
            OnBrowse();
            return true;
        case kDriveList:
            if (code == CBN_SELCHANGE) {
                OnDriveChanged();
            }
            return true;
        case kFolderList:
            if (code == LBN_DBLCLK) {
                OnFolderOpened();
            }
            return true;
        case kPathBox:
            if (code == EN_CHANGE) {
                OnPathChanged();
            }
            return true;
        default:
            return false;
    }
}

bool PointerPage::OnMeasureItem(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlID != kFolderList) {
        return false;
    }
    TEXTMETRICW metrics{};
    platform::WindowDc dc(m_host.Window());
    platform::SelectGuard font(dc.get(), m_font);
    ::GetTextMetricsW(dc.get(), &metrics);
    measure.itemHeight =
        static_cast<UINT>(std::max<int>(metrics.tmHeight, ::GetSystemMetrics(SM_CYSMICON)) + 1);
    return true;
}

bool PointerPage::OnDrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlID != kFolderList) {
        return false;
    }
    if (draw.itemID >= m_folderRows.size()) {
        return true;
    }
    // Open folders from the root down, then the current folder's sub-folders.
    const FolderRow& row = m_folderRows[draw.itemID];
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    ::FillRect(draw.hDC, &draw.rcItem,
               ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    int x = draw.rcItem.left + 2 + row.Depth * kFolderIndent;
    const int iconSize = ::GetSystemMetrics(SM_CXSMICON);
    if (platform::ShellInfo folder; platform::GetFolderIcon(row.Open, folder)) {
        const int y = draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - iconSize) / 2;
        platform::DrawShellImage(folder.imageList, folder.iconIndex, draw.hDC, x, y);
    }
    x += iconSize + 3;
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = draw.rcItem;
    text.left = x;
    const std::wstring label = platform::Widen(row.Label);
    ::DrawTextW(draw.hDC, label.c_str(), static_cast<int>(label.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (draw.itemState & ODS_FOCUS) {
        ::DrawFocusRect(draw.hDC, &draw.rcItem);
    }
    return true;
}

void PointerPage::Show() {
    Prepare();
    const menufile::DirectoryPointer& p = m_editor.DirectoryPointer();
    const std::string drive = DriveOf(p.Folder);
    if (!drive.empty()) {
        SelectDrive(drive);
    }
    SetFolder(p.Folder);
    SetText(kPathBox, p.Folder);
    SetText(kPatternBox, p.Pattern);
    auto check = [&](int id, const std::string& value) {
        ::SendMessageW(m_host.Control(id), BM_SETCHECK,
                       menufile::ToInt(value) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    check(kShowFoldersCheck, p.ShowFolders);
    check(kHideExtensionsCheck, p.HideExtensions);
    check(kShowHiddenCheck, p.ShowHidden);
    Settle();
}

PointerShown PointerPage::Shown() const {
    auto checked = [&](int id) {
        return ::SendMessageW(m_host.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    return {TextOf(kPathBox), TextOf(kPatternBox), checked(kShowFoldersCheck),
            checked(kHideExtensionsCheck), checked(kShowHiddenCheck)};
}

void PointerPage::FillDrives() {
    HWND combo = m_host.Control(kDriveList);
    // "C:\", "D:\", ... each ended by a zero.
    const std::wstring roots = SystemText(
        [](DWORD size, wchar_t* buffer) { return ::GetLogicalDriveStringsW(size, buffer); });
    // Asking an empty floppy or card reader for its label must not bring up a system box.
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    for (std::size_t at = 0; at < roots.size() && roots[at] != L'\0';) {
        const std::wstring root(roots.c_str() + at);
        at += root.size() + 1;
        const std::string drive = platform::Narrow(std::wstring_view(root).substr(0, 2));
        std::string text = drive;
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        wchar_t label[MAX_PATH + 1] = {};  // a volume label is at most 32 characters
        if (::GetDriveTypeW(root.c_str()) == DRIVE_FIXED &&
            ::GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                    nullptr, 0) &&
            label[0] != L'\0') {
            text += " [" + platform::Narrow(label) + "]";
        }
        m_drives.push_back(drive);
        ::SendMessageW(combo, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(platform::Widen(text).c_str()));
    }
    ::SetErrorMode(oldMode);
}

void PointerPage::SelectDrive(const std::string& drive) {
    auto it = std::find(m_drives.begin(), m_drives.end(), drive);
    if (it == m_drives.end()) {
        return;
    }
    ::SendMessageW(m_host.Control(kDriveList), CB_SETCURSEL,
                   static_cast<WPARAM>(it - m_drives.begin()), 0);
    OnDriveChanged();
}

void PointerPage::SetFolder(const std::string& folder, bool notify) {
    // A folder that is gone or not ready shows its nearest ancestor that can be listed.
    std::vector<std::string> chain = FolderChain(folder);
    std::vector<std::string> names;
    while (!chain.empty()) {
        names.clear();
        if (ListSubFolders(chain.back(), names)) {
            break;
        }
        chain.pop_back();
    }
    if (chain.empty()) {
        return;
    }
    m_folder = chain.back();
    m_folderRows = FolderRows(m_folder, std::move(names));
    HWND list = m_host.Control(kFolderList);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const FolderRow& row : m_folderRows) {
        ::SendMessageW(list, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(platform::Widen(row.Label).c_str()));
    }
    ::SendMessageW(list, LB_SETCURSEL, chain.size() - 1, 0);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    if (notify) {
        SetText(kPathBox, m_folder);  // the folder list changed: the path box follows
    }
}

void PointerPage::OnDriveChanged() {
    const int index =
        static_cast<int>(::SendMessageW(m_host.Control(kDriveList), CB_GETCURSEL, 0, 0));
    if (index < 0 || index >= static_cast<int>(m_drives.size())) {
        return;
    }
    // The drive's current folder, as the classic drive and folder lists do.
    const std::string drive = m_drives[static_cast<std::size_t>(index)];
    const std::string full = FullPath(drive);
    SetFolder(!full.empty() && DriveOf(full) == drive ? full : drive + "\\");
}

void PointerPage::OnFolderOpened() {
    const int row =
        static_cast<int>(::SendMessageW(m_host.Control(kFolderList), LB_GETCURSEL, 0, 0));
    if (row >= 0 && row < static_cast<int>(m_folderRows.size())) {
        SetFolder(m_folderRows[static_cast<std::size_t>(row)].Path);
    }
}

void PointerPage::OnBrowse() {
    const std::string typed = TextOf(kPathBox);
    const auto picked = platform::PickFolder(m_host.Window(), typed.empty() ? m_folder : typed);
    if (!picked) {
        return;  // cancelled: the page keeps what it shows
    }
    // Both lists follow the pick, and the path box follows them.
    const std::string drive = DriveOf(*picked);
    if (!drive.empty()) {
        SelectDrive(drive);
    }
    SetFolder(*picked);
}

void PointerPage::OnPathChanged() {
    const std::string text = TextOf(kPathBox);
    const std::string fixed = WithTrailingBackslash(text);
    if (fixed != text) {
        SetText(kPathBox, fixed);  // raises the change once more, which then stops
        // The caret before the backslash, counted in the box's UTF-16 characters.
        const WPARAM caret = platform::Widen(fixed).size() - 1;
        ::SendMessageW(m_host.Control(kPathBox), EM_SETSEL, caret, static_cast<LPARAM>(caret));
    }
}

bool PointerPage::Save(FailedEdit failed) {
    auto checked = [&](int id) {
        return ::SendMessageW(m_host.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    };
    const EditResult result = m_editor.SaveDirectoryPointer(
        TextOf(kPathBox), TextOf(kPatternBox), checked(kShowFoldersCheck),
        checked(kHideExtensionsCheck), checked(kShowHiddenCheck));
    if (result.Status == EditStatus::Failed && result.Error == menufile::MenuError::BadText) {
        // Typed text the file cannot hold: nothing was written, and the text can be corrected.
        m_host.Tell(kQuoteInPointer);
        return false;
    }
    if (!m_host.ShowEditResult(result, failed)) {
        return false;
    }
    Settle();
    return true;
}

void PointerPage::OnToUserList() {
    // A failed change ends the editor: the appearance is offered first. The pointer's own
    // texts go with it, as the question below says.
    if (!m_host.SettleUnsaved(true)) {
        return;
    }
    if (!TextOf(kPathBox).empty() && !m_host.Ask(kTypeChangeQuestion)) {
        return;
    }
    const EditResult result = m_editor.ChangeToUserDefined();
    if (m_host.ShowEditResult(result, FailedEdit::Close) && result.Status == EditStatus::Written) {
        m_host.ShowPage();  // the item list: empty, as a pointer menu has no items
    }
}

}  // namespace editor
