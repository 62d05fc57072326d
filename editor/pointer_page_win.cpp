// The directory-pointer page: drive and folder lists kept in step with the path box, and the
// pointer's save and the change back to a list of items.
#include "editor/pointer_page_win.h"

#include <algorithm>
#include <cctype>

#include "editor/editor_messages.h"
#include "editor/main_window_layout.h"
#include "platform/shell_win.h"
#include "platform/win32_handles_win.h"
#include "platform/window_base_win.h"

namespace editor {
namespace {

constexpr int kFolderIndent = 8;  // pixels per level of the folder list

// Sub-folder names of a folder, or false when it cannot be listed.
bool ListSubFolders(const std::string& folder, std::vector<std::string>& names) {
    std::string pattern = WithTrailingBackslash(folder) + "*";
    WIN32_FIND_DATAA data{};
    platform::UniqueHfind find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find) {
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty root
    }
    do {
        const std::string name = data.cFileName;
        const DWORD hidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(data.dwFileAttributes & hidden) && name != "." && name != "..") {
            names.push_back(name);
        }
    } while (::FindNextFileA(find.get(), &data));
    return true;
}

}  // namespace

std::string PointerPage::TextOf(int id) const { return platform::WindowText(m_host.Control(id)); }

void PointerPage::SetText(int id, const std::string& text) {
    ::SetWindowTextA(m_host.Control(id), text.c_str());
}

void PointerPage::OnCreate(HFONT font) {
    m_font = font;
    // Enter on the folder list opens the folder, as a double click does; it presses no button.
    m_folderKeys = platform::Subclass(m_host.Control(kFolderList), [this](UINT message,
                                                                          WPARAM wParam,
                                                                          LPARAM lParam,
                                                                          LRESULT& result) {
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
    ::SendMessageA(m_host.Control(kPathBox), EM_LIMITTEXT, MAX_PATH, 0);
}

void PointerPage::Prepare() {
    if (m_prepared) {
        return;
    }
    m_prepared = true;
    FillDrives();
    // Like the classic drive and folder lists, both start at the current folder; the path box
    // stays empty until the folder is changed.
    char current[MAX_PATH] = {};
    if (DWORD got = ::GetCurrentDirectoryA(MAX_PATH, current); got > 0 && got < MAX_PATH) {
        auto it = std::find(m_drives.begin(), m_drives.end(), DriveOf(current));
        if (it != m_drives.end()) {
            ::SendMessageA(m_host.Control(kDriveList), CB_SETCURSEL,
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
            OnSave();
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
    TEXTMETRICA metrics{};
    platform::WindowDc dc(m_host.Window());
    platform::SelectGuard font(dc.get(), m_font);
    ::GetTextMetricsA(dc.get(), &metrics);
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
    ::DrawTextA(draw.hDC, row.Label.c_str(), static_cast<int>(row.Label.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (draw.itemState & ODS_FOCUS) {
        ::DrawFocusRect(draw.hDC, &draw.rcItem);
    }
    return true;
}

void PointerPage::Show() {
    Prepare();
    const menufile::DirectoryPointer& p = m_editor.Pointer();
    const std::string drive = DriveOf(p.Folder);
    if (!drive.empty()) {
        SelectDrive(drive);
    }
    SetFolder(p.Folder);
    SetText(kPathBox, p.Folder);
    SetText(kPatternBox, p.Pattern);
    auto check = [&](int id, const std::string& value) {
        ::SendMessageA(m_host.Control(id), BM_SETCHECK,
                       menufile::ToInt(value) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    check(kShowFoldersCheck, p.ShowFolders);
    check(kHideExtensionsCheck, p.HideExtensions);
    check(kShowHiddenCheck, p.ShowHidden);
}

void PointerPage::FillDrives() {
    HWND combo = m_host.Control(kDriveList);
    char buffer[512] = {};
    DWORD length = ::GetLogicalDriveStringsA(sizeof buffer - 1, buffer);
    // Asking an empty floppy or card reader for its label must not bring up a system box.
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    for (const char* root = buffer; length > 0 && length < sizeof buffer && *root != '\0';
         root += std::char_traits<char>::length(root) + 1) {
        std::string drive(root, 2);
        std::string text(1, static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))));
        text += ':';
        char label[MAX_PATH + 1] = {};
        if (::GetDriveTypeA(root) == DRIVE_FIXED &&
            ::GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr,
                                    0) &&
            label[0] != '\0') {
            text += " [" + std::string(label) + "]";
        }
        m_drives.push_back(drive);
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    ::SetErrorMode(oldMode);
}

void PointerPage::SelectDrive(const std::string& drive) {
    auto it = std::find(m_drives.begin(), m_drives.end(), drive);
    if (it == m_drives.end()) {
        return;
    }
    ::SendMessageA(m_host.Control(kDriveList), CB_SETCURSEL,
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
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const FolderRow& row : m_folderRows) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.Label.c_str()));
    }
    ::SendMessageA(list, LB_SETCURSEL, chain.size() - 1, 0);
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    if (notify) {
        SetText(kPathBox, m_folder);  // the folder list changed: the path box follows
    }
}

void PointerPage::OnDriveChanged() {
    const int index =
        static_cast<int>(::SendMessageA(m_host.Control(kDriveList), CB_GETCURSEL, 0, 0));
    if (index < 0 || index >= static_cast<int>(m_drives.size())) {
        return;
    }
    // The drive's current folder, as the classic drive and folder lists do.
    char full[MAX_PATH] = {};
    const std::string drive = m_drives[static_cast<std::size_t>(index)];
    DWORD got = ::GetFullPathNameA(drive.c_str(), MAX_PATH, full, nullptr);
    SetFolder(got > 0 && got < MAX_PATH && DriveOf(full) == drive ? std::string(full)
                                                                  : drive + "\\");
}

void PointerPage::OnFolderOpened() {
    const int row =
        static_cast<int>(::SendMessageA(m_host.Control(kFolderList), LB_GETCURSEL, 0, 0));
    if (row >= 0 && row < static_cast<int>(m_folderRows.size())) {
        SetFolder(m_folderRows[static_cast<std::size_t>(row)].Path);
    }
}

void PointerPage::OnPathChanged() {
    const std::string text = TextOf(kPathBox);
    const std::string fixed = WithTrailingBackslash(text);
    if (fixed != text) {
        SetText(kPathBox, fixed);  // raises the change once more, which then stops
        ::SendMessageA(m_host.Control(kPathBox), EM_SETSEL, fixed.size() - 1, fixed.size() - 1);
    }
}

void PointerPage::OnSave() {
    auto checked = [&](int id) {
        return ::SendMessageA(m_host.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    };
    const EditResult result = m_editor.SaveDirectoryPointer(
        TextOf(kPathBox), TextOf(kPatternBox), checked(kShowFoldersCheck),
        checked(kHideExtensionsCheck), checked(kShowHiddenCheck));
    if (result.Status == EditStatus::Failed && result.Error == menufile::MenuError::BadText) {
        // Typed text the file cannot hold: nothing was written, and the text can be corrected.
        m_host.Tell("The folder and the file pattern cannot contain a double quote (\").");
    } else if (result.Status == EditStatus::Reloaded) {
        m_host.ShowReloaded();
        m_host.Tell(kChangedElsewhere);
    } else if (result.Status == EditStatus::Failed) {
        m_host.Tell(WriteErrorText(result.Error, m_editor.Path()));
        m_host.Close();
    }
}

void PointerPage::OnToUserList() {
    if (!TextOf(kPathBox).empty() && !m_host.Ask(kTypeChangeQuestion)) {
        return;
    }
    const EditResult result = m_editor.ChangeToUserDefined();
    if (result.Status == EditStatus::Written) {
        m_host.ShowPage();  // the item list: empty, as a pointer menu has no items
    } else if (result.Status == EditStatus::Reloaded) {
        m_host.ShowReloaded();
        m_host.Tell(kChangedElsewhere);
    } else if (result.Status == EditStatus::Failed) {
        m_host.Tell(WriteErrorText(result.Error, m_editor.Path()));
        m_host.Close();
    }
}

}  // namespace editor
