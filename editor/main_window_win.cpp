// The editor's main window: controls from the layout table, list and menu-type handlers, drops.
#include "editor/main_window_win.h"

#include <commdlg.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>

#include "editor/editor_messages.h"
#include "editor/icon_chooser_win.h"
#include "editor/item_wizard_win.h"
#include "editor/main_window_layout.h"
#include "platform/command_line.h"
#include "platform/shell_win.h"

namespace editor {
namespace {

constexpr const char* kOldProcProperty = "TarvelEditOldProc";
constexpr UINT kContentsPage = 0;
constexpr int kFolderIndent = 8;  // pixels per level of Dir1

// The drop lands on List1 and Enter on Dir1, both passed to the main window; frames paint
// their own face.
LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kOldProcProperty));
    switch (message) {
        case WM_DROPFILES:
            return ::SendMessageA(::GetParent(hwnd), WM_DROPFILES, wParam, lParam);
        case WM_GETDLGCODE:
            if (::GetDlgCtrlID(hwnd) == kFolderList && lParam != 0 &&
                reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
                return DLGC_WANTALLKEYS;  // Enter opens the folder, it does not press a button
            }
            break;
        case WM_KEYDOWN:
            if (::GetDlgCtrlID(hwnd) == kFolderList && wParam == VK_RETURN) {
                ::SendMessageA(::GetParent(hwnd), WM_COMMAND, MAKEWPARAM(kFolderList, LBN_DBLCLK),
                               reinterpret_cast<LPARAM>(hwnd));
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            if ((::GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
                // The tab control under a frame does not paint through it: the frame fills
                // itself, and the controls it holds lie above it.
                RECT r;
                ::GetClientRect(hwnd, &r);
                ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
                return 1;
            }
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
            ::RemovePropA(hwnd, kOldProcProperty);
            break;
        default:
            break;
    }
    return ::CallWindowProcA(old, hwnd, message, wParam, lParam);
}

void Subclass(HWND hwnd) {
    LONG_PTR old = ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    ::SetPropA(hwnd, kOldProcProperty, reinterpret_cast<HANDLE>(old));
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChildProc));
}

struct ControlClass {
    const char* Name;
    DWORD Style;
    DWORD ExStyle;
};

ControlClass ClassOf(const ControlLayout& c) {
    const DWORD tab = WS_TABSTOP;
    switch (c.Kind) {
        case ControlKind::Tabs:
            return {WC_TABCONTROLA, tab, 0};
        case ControlKind::Frame:
            return {"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::Label:
            return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::List:
            return {"LISTBOX", tab | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Picture:
            return {"STATIC", SS_OWNERDRAW | SS_NOTIFY, c.Id == kItemIcon ? WS_EX_CLIENTEDGE : 0u};
        case ControlKind::Button:
            return {"BUTTON", tab | BS_PUSHBUTTON, 0};
        case ControlKind::Check:
            return {"BUTTON", tab | BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP, 0};
        case ControlKind::Text:
            return {"EDIT", tab | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::DriveList:
            return {"COMBOBOX", tab | CBS_DROPDOWNLIST | WS_VSCROLL, 0};
        case ControlKind::FolderList:
            return {"LISTBOX",
                    tab | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                        WS_VSCROLL,
                    WS_EX_CLIENTEDGE};
        case ControlKind::ScrollBar:
            return {"SCROLLBAR", SBS_HORZ | WS_DISABLED, 0};
    }
    return {"STATIC", 0, 0};
}

bool IsShown(const ControlLayout& c, int tab, bool pointer) {
    switch (c.Shown) {
        case Page::Always:
            return true;
        case Page::Items:
            return tab == kContentsPage && !pointer;
        case Page::Pointer:
            return tab == kContentsPage && pointer;
        case Page::Appearance:
            return tab != kContentsPage;
    }
    return false;
}

// A menu font as the settings line gives it; the size in points, as the engine reads it.
platform::UniqueHfont MakeFont(const menufile::MenuSettings& s, int dotsPerInch) {
    double points = menufile::ToNumber(s.FontSize);
    if (!(points > 0 && points < 500)) {
        points = 8.25;
    }
    const int height = -static_cast<int>(std::lround(points * dotsPerInch / 72.0));
    return platform::UniqueHfont(
        ::CreateFontA(height, 0, 0, 0, menufile::ToBool(s.FontBold) ? FW_BOLD : FW_NORMAL,
                      menufile::ToBool(s.FontItalic) ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, s.FontName.c_str()));
}

// Sub-folder names of a folder, or false when it cannot be listed.
bool ListSubFolders(const std::string& folder, std::vector<std::string>& names) {
    std::string pattern = WithTrailingBackslash(folder) + "*";
    WIN32_FIND_DATAA data{};
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty root
    }
    do {
        const std::string name = data.cFileName;
        const DWORD hidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(data.dwFileAttributes & hidden) && name != "." && name != "..") {
            names.push_back(name);
        }
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return true;
}

std::string LastPart(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == '\\' || trimmed.back() == '/')) {
        trimmed.pop_back();
    }
    std::size_t slash = trimmed.find_last_of("\\/");
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

}  // namespace

IconHandle Win32IconSource::Extract(const std::string& file, int index) {
    HICON large = nullptr;
    HICON small = nullptr;
    if (!platform::ExtractIconPair(file, index, large, small)) {
        return 0;
    }
    platform::UniqueHicon smallOwner(small);  // only the 32x32 icon is kept
    return reinterpret_cast<IconHandle>(large);
}

void Win32IconSource::Destroy(IconHandle icon) {
    ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

MainWindow::MainWindow(platform::FileSystem& fs, std::string stockPicture)
    : m_fs(fs), m_editor(fs, m_icons), m_stockPicture(std::move(stockPicture)) {}

MainWindow::~MainWindow() {
    if (Hwnd() != nullptr) {
        ::DestroyWindow(Hwnd());
    }
}

bool MainWindow::Create() {
    {
        platform::WindowDc screen(nullptr);
        m_dotsPerInch = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    }
    m_twipsPerPixel = TwipsPerPixel(m_dotsPerInch);
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    if (!RegisterWindowClass(kMainWindowClass, icon, ::GetSysColorBrush(COLOR_BTNFACE))) {
        return false;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, TwipsToPixels(kFormWidth, m_twipsPerPixel),
               TwipsToPixels(kFormHeight, m_twipsPerPixel)};
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    return CreateWindowFor(kMainWindowClass, kMainTitle, style, WS_EX_CONTROLPARENT,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr) != nullptr;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_MEASUREITEM:
            OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == Control(kMenuIconScroll) && m_menuIcon) {
                (void)m_menuIcon->OnScroll(LOWORD(wParam));
            }
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            // Labels, check boxes and frames on the face colour of the page they stand on.
            ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        case WM_CLOSE:
            ::DestroyWindow(Hwnd());
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return ::DefWindowProcA(Hwnd(), message, wParam, lParam);
    }
}

void MainWindow::OnCreate() {
    m_font.reset(::CreateFontA(-::MulDiv(8, m_dotsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                               FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_toolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  Hwnd(), nullptr, instance, nullptr);
    for (const ControlLayout& c : MainWindowControls()) {
        const ControlClass cls = ClassOf(c);
        PixelRect r = ClientRect(c, m_twipsPerPixel);
        // A drop-down list's height is that of its open list.
        const int height = c.Kind == ControlKind::DriveList ? r.Height * 8 : r.Height;
        HWND hwnd = ::CreateWindowExA(
            cls.ExStyle, cls.Name, c.Caption, WS_CHILD | WS_CLIPSIBLINGS | cls.Style, r.Left, r.Top,
            r.Width, height, Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.Id)), instance,
            nullptr);
        ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
        if (c.ToolTip != nullptr && m_toolTip != nullptr) {
            TTTOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V2_SIZE;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = Hwnd();
            tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
            tool.lpszText = const_cast<char*>(c.ToolTip);
            ::SendMessageA(m_toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    HWND tabs = Control(kTabs);
    // A themed tab page is painted white, while the frames, labels and check boxes on it use
    // the face colour; the classic tab control paints its page in that colour too.
    ::SetWindowTheme(tabs, L" ", L" ");
    for (const char* caption : {kContentsTab, kAppearanceTab}) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(caption);
        ::SendMessageA(tabs, TCM_INSERTITEMA,
                       static_cast<WPARAM>(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)),
                       reinterpret_cast<LPARAM>(&item));
    }
    // Frames and the tab control lie under what they hold, or they would clip it away.
    for (const ControlLayout& c : MainWindowControls()) {
        if (c.Kind == ControlKind::Frame) {
            ::SetWindowPos(Control(c.Id), HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    ::SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    ::DragAcceptFiles(Control(kItemList), TRUE);
    Subclass(Control(kItemList));
    Subclass(Control(kFolderList));
    m_menuIcon = std::make_unique<IconBrowser>(Control(kIconCountLabel), Control(kMenuIconScroll),
                                               Control(kMenuIconPicture));
    for (const ControlLayout& c : MainWindowControls()) {
        if (c.Kind == ControlKind::Frame) {
            Subclass(Control(c.Id));
        }
    }
    ::SendMessageA(Control(kPathBox), EM_LIMITTEXT, MAX_PATH, 0);
    FillDrives();
    // Like the classic drive and folder lists, both start at the current folder; Text7 stays
    // empty until the folder is changed.
    char current[MAX_PATH] = {};
    if (DWORD got = ::GetCurrentDirectoryA(MAX_PATH, current); got > 0 && got < MAX_PATH) {
        auto it = std::find(m_drives.begin(), m_drives.end(), DriveOf(current));
        if (it != m_drives.end()) {
            ::SendMessageA(Control(kDriveList), CB_SETCURSEL,
                           static_cast<WPARAM>(it - m_drives.begin()), 0);
        }
        SetFolder(current, false);
    }
    ShowPage();
}

void MainWindow::OnDestroy() {
    ClearPreview();
    ::PostQuitMessage(0);
}

void MainWindow::OnCommand(int id, int code, HWND) {
    switch (id) {
        case kItemList:
            if (code == LBN_SELCHANGE) {
                OnItemSelected();
            }
            break;
        case kDeleteButton:
            OnDelete();
            break;
        case kMoveUpButton:
            OnMoveUp();
            break;
        case kMoveDownButton:
            OnMoveDown();
            break;
        case kSeparatorButton:
            OnSeparator();
            break;
        case kToPointerButton:
            OnToPointer();
            break;
        case kToUserListButton:
            OnToUserList();
            break;
        case kSavePointerButton:
            OnSavePointer();
            break;
        case kDriveList:
            if (code == CBN_SELCHANGE) {
                OnDriveChanged();
            }
            break;
        case kFolderList:
            if (code == LBN_DBLCLK) {
                OnFolderOpened();
            }
            break;
        case kPathBox:
            if (code == EN_CHANGE) {
                OnPathChanged();
            }
            break;
        case kQuitButton:
            ::DestroyWindow(Hwnd());
            break;
        case kAddButton:
            OnAdd();
            break;
        case kEditButton:
            OnEdit();
            break;
        case kChangeIconButton:
            OnChangeIcon();
            break;
        case kSelectIconFileButton:
            (void)m_menuIcon->ChooseLibrary(Hwnd());
            break;
        case kMenuIconPicture:
            if (code == STN_CLICKED) {
                // The saved picture then shows the icon on the desktop's colour.
                m_menuIcon->SetBackground(COLOR_DESKTOP);
            }
            break;
        case kChangeFontButton:
            OnChangeFont();
            break;
        case kSaveAppearanceButton:
            OnSaveAppearance();
            break;
        default:
            break;
    }
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom == kTabs && header.code == TCN_SELCHANGE) {
        ShowPage();
    }
    return 0;
}

void MainWindow::OnMeasureItem(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlID == kFolderList) {
        TEXTMETRICA metrics{};
        platform::WindowDc dc(Hwnd());
        platform::SelectGuard font(dc.get(), m_font.get());
        ::GetTextMetricsA(dc.get(), &metrics);
        measure.itemHeight =
            static_cast<UINT>(std::max<int>(metrics.tmHeight, ::GetSystemMetrics(SM_CYSMICON)) + 1);
    }
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlID == kMenuIconPicture && m_menuIcon) {
        m_menuIcon->Draw(draw);
        return;
    }
    if (draw.CtlID == kItemIcon || draw.CtlID == kMenuIconPicture) {
        ::FillRect(draw.hDC, &draw.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
        if (draw.CtlID == kItemIcon) {
            if (m_preview.Icon != nullptr) {
                ::DrawIcon(draw.hDC, 0, 0, m_preview.Icon);
            } else if (m_preview.ImageList != nullptr) {
                ::ImageList_Draw(m_preview.ImageList, m_preview.Image, draw.hDC, 0, 0,
                                 ILD_TRANSPARENT);
            }
        }
        return;
    }
    if (draw.CtlID != kFolderList || draw.itemID >= m_folderRows.size()) {
        return;
    }
    // Dir1: open folders from the root down, then the current folder's sub-folders.
    const FolderRow& row = m_folderRows[draw.itemID];
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    ::FillRect(draw.hDC, &draw.rcItem,
               ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    int x = draw.rcItem.left + 2 + row.Depth * kFolderIndent;
    SHFILEINFOA info{};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES |
                 (row.Open ? SHGFI_OPENICON : 0u);
    auto list = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, flags));
    const int iconSize = ::GetSystemMetrics(SM_CXSMICON);
    if (list != nullptr) {
        const int y = draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - iconSize) / 2;
        ::ImageList_Draw(list, info.iIcon, draw.hDC, x, y, ILD_TRANSPARENT);
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
}

// Start-up ----------------------------------------------------------------------------------

bool MainWindow::Start(std::string_view commandLine) {
    std::string path = platform::PathFromCommandLine(commandLine);
    for (;;) {
        if (path.empty()) {
            path = AskForMenuFile();
            if (path.empty()) {
                return false;
            }
        }
        const LoadStatus status = m_editor.LoadEditorMenu(path);
        if (status == LoadStatus::Loaded) {
            break;
        }
        menufile::MenuError error = menufile::MenuError::None;
        if (status == LoadStatus::NotFound) {
            if (Ask(CreateMenuQuestion(path)) != IDYES) {
                return false;
            }
            error = m_editor.CreateNewMenu(path, m_stockPicture);
        } else if (status == LoadStatus::OldLayout) {
            if (Ask(kUpgradeQuestion) != IDYES) {
                return false;  // the file stays as it was
            }
            error = m_editor.UpgradeOldMenu(m_stockPicture);
        } else {
            Tell(LoadProblemText(status, path));
            return false;
        }
        if (error != menufile::MenuError::None) {
            Tell(kWriteError);
            return false;
        }
        break;
    }
    ShowMenu();
    return true;
}

std::string MainWindow::AskForMenuFile() {
    std::string filter = kOpenFilter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter += '\0';
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Hwnd();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = kOpenTitle;
    ofn.lpstrDefExt = "tvl";
    // No "file must exist": a new name is how a first menu is made.
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return ::GetOpenFileNameA(&ofn) ? std::string(file) : std::string();
}

void MainWindow::ShowMenu() {
    ShowSettings();
    if (m_editor.IsDirectoryPointer()) {
        ShowPointer();
    }
    FillList(-1);
    TabCtrl_SetCurSel(Control(kTabs), kContentsPage);
    ShowPage();
    ::ShowWindow(Hwnd(), SW_SHOWNORMAL);
    ::UpdateWindow(Hwnd());
}

// Bringing the controls into line ----------------------------------------------------------

void MainWindow::FillList(int selection) {
    HWND list = Control(kItemList);
    const auto& entries = m_editor.Entries();
    // Refilled whole, but scrolled back to where it was, so a move deep in a long list does
    // not jump to its top.
    const LRESULT top = ::SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ::SendMessageA(list, LB_INITSTORAGE, entries.size(), entries.size() * 16);
    for (const ListEntry& entry : entries) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.Text.c_str()));
    }
    if (top > 0 && top < static_cast<LRESULT>(entries.size())) {
        ::SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void MainWindow::ShowPreview(int entry) {
    m_preview = {};
    const auto& entries = m_editor.Entries();
    if (entry >= 0 && entry < static_cast<int>(entries.size())) {
        const ListEntry& e = entries[static_cast<std::size_t>(entry)];
        if (e.Icon != 0) {
            m_preview.Icon = reinterpret_cast<HICON>(e.Icon);
        } else if (platform::ShellInfo info; platform::GetShellInfo(e.Target, false, info)) {
            m_preview.ImageList = info.imageList;
            m_preview.Image = info.iconIndex;
        }
    }
    ::InvalidateRect(Control(kItemIcon), nullptr, TRUE);
}

void MainWindow::ClearPreview() {
    ShowPreview(-1);
}

void MainWindow::ShowPage() {
    const int tab = static_cast<int>(TabCtrl_GetCurSel(Control(kTabs)));
    const bool pointer = m_editor.IsDirectoryPointer();
    for (const ControlLayout& c : MainWindowControls()) {
        ::ShowWindow(Control(c.Id), IsShown(c, tab, pointer) ? SW_SHOWNA : SW_HIDE);
    }
}

void MainWindow::ShowSettings() {
    const menufile::MenuSettings& s = m_editor.Settings();
    ::SendMessageA(Control(kSmallIconsCheck), BM_SETCHECK,
                   menufile::ToInt(s.SmallIcons) > 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    m_appearance = AppearanceOf(s);
    m_sampleFont = MakeFont(s, m_dotsPerInch);
    ::SendMessageA(Control(kFontSample), WM_SETFONT,
                   reinterpret_cast<WPARAM>(m_sampleFont ? m_sampleFont.get() : m_font.get()),
                   TRUE);
}

void MainWindow::ShowPointer() {
    const menufile::DirectoryPointer& p = m_editor.Pointer();
    const std::string drive = DriveOf(p.Folder);
    if (!drive.empty()) {
        SelectDrive(drive);
    }
    SetFolder(p.Folder);
    SetText(kPathBox, p.Folder);
    SetText(kPatternBox, p.Pattern);
    auto check = [&](int id, const std::string& value) {
        ::SendMessageA(Control(id), BM_SETCHECK,
                       menufile::ToInt(value) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    check(kShowFoldersCheck, p.ShowFolders);
    check(kHideExtensionsCheck, p.HideExtensions);
    check(kShowHiddenCheck, p.ShowHidden);
}

void MainWindow::FillDrives() {
    HWND combo = Control(kDriveList);
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

void MainWindow::SelectDrive(const std::string& drive) {
    auto it = std::find(m_drives.begin(), m_drives.end(), drive);
    if (it == m_drives.end()) {
        return;
    }
    ::SendMessageA(Control(kDriveList), CB_SETCURSEL, static_cast<WPARAM>(it - m_drives.begin()),
                   0);
    OnDriveChanged();
}

void MainWindow::SetFolder(const std::string& folder, bool notify) {
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
    HWND list = Control(kFolderList);
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const FolderRow& row : m_folderRows) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.Label.c_str()));
    }
    ::SendMessageA(list, LB_SETCURSEL, chain.size() - 1, 0);
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    if (notify) {
        SetText(kPathBox, m_folder);  // Dir1 change: Text7 follows
    }
}

void MainWindow::ShowListResult(const EditResult& result) {
    switch (result.Status) {
        case EditStatus::Unchanged:
            return;
        case EditStatus::Written:
            FillList(result.Selection);
            ShowPreview(result.Selection);  // a move keeps the moved entry selected and shown
            return;
        case EditStatus::Reloaded:
        case EditStatus::Failed:
            ShowReloaded();
            Tell(result.Status == EditStatus::Failed ? kWriteError : kChangedElsewhere);
            return;
    }
}

void MainWindow::ShowReloaded() {
    FillList(-1);
    ClearPreview();
    ShowSettings();
    if (m_editor.IsDirectoryPointer()) {
        ShowPointer();
    }
    ShowPage();
}

void MainWindow::FailAndClose(const EditResult& result) {
    if (result.Status == EditStatus::Reloaded) {
        ShowReloaded();
        Tell(kChangedElsewhere);
        return;
    }
    Tell(kWriteError);
    ::DestroyWindow(Hwnd());
}

// Handlers ----------------------------------------------------------------------------------

void MainWindow::OnItemSelected() {
    ShowPreview(static_cast<int>(::SendMessageA(Control(kItemList), LB_GETCURSEL, 0, 0)));
}

void MainWindow::OnDelete() {
    const int selected = static_cast<int>(::SendMessageA(Control(kItemList), LB_GETCURSEL, 0, 0));
    if (selected < 0) {
        return;
    }
    ClearPreview();  // the preview may borrow the icon that goes with the row
    ShowListResult(m_editor.Delete(selected));
}

void MainWindow::OnMoveUp() {
    ShowListResult(
        m_editor.MoveUp(static_cast<int>(::SendMessageA(Control(kItemList), LB_GETCURSEL, 0, 0))));
}

void MainWindow::OnMoveDown() {
    ShowListResult(m_editor.MoveDown(
        static_cast<int>(::SendMessageA(Control(kItemList), LB_GETCURSEL, 0, 0))));
}

void MainWindow::OnSeparator() {
    ShowListResult(m_editor.Separator(
        static_cast<int>(::SendMessageA(Control(kItemList), LB_GETCURSEL, 0, 0))));
}

void MainWindow::OnToPointer() {
    if (::SendMessageA(Control(kItemList), LB_GETCOUNT, 0, 0) > 0 &&
        Ask(kTypeChangeQuestion) != IDYES) {
        return;
    }
    ClearPreview();
    EditResult result = m_editor.ChangeToDirectoryPointer();
    if (result.Status == EditStatus::Written) {
        FillList(-1);
        ShowPage();  // the page's controls keep what they showed until the pointer is saved
    } else if (result.Status != EditStatus::Unchanged) {
        FailAndClose(result);
    }
}

void MainWindow::OnToUserList() {
    if (!TextOf(kPathBox).empty() && Ask(kTypeChangeQuestion) != IDYES) {
        return;
    }
    EditResult result = m_editor.ChangeToUserDefined();
    if (result.Status == EditStatus::Written) {
        FillList(-1);
        ShowPage();
    } else if (result.Status != EditStatus::Unchanged) {
        FailAndClose(result);
    }
}

void MainWindow::OnSavePointer() {
    auto checked = [&](int id) {
        return ::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    };
    EditResult result = m_editor.SaveDirectoryPointer(
        TextOf(kPathBox), TextOf(kPatternBox), checked(kShowFoldersCheck),
        checked(kHideExtensionsCheck), checked(kShowHiddenCheck));
    if (result.Status == EditStatus::Failed && result.Error == menufile::MenuError::BadText) {
        // Typed text the file cannot hold: nothing was written, and the text can be corrected.
        Tell("The folder and the file pattern cannot contain a double quote (\").");
    } else if (result.Status != EditStatus::Written && result.Status != EditStatus::Unchanged) {
        FailAndClose(result);
    }
}

void MainWindow::OnDriveChanged() {
    const int index = static_cast<int>(::SendMessageA(Control(kDriveList), CB_GETCURSEL, 0, 0));
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

void MainWindow::OnFolderOpened() {
    const int row = static_cast<int>(::SendMessageA(Control(kFolderList), LB_GETCURSEL, 0, 0));
    if (row >= 0 && row < static_cast<int>(m_folderRows.size())) {
        SetFolder(m_folderRows[static_cast<std::size_t>(row)].Path);
    }
}

void MainWindow::OnPathChanged() {
    const std::string text = TextOf(kPathBox);
    const std::string fixed = WithTrailingBackslash(text);
    if (fixed != text) {
        SetText(kPathBox, fixed);  // raises the change once more, which then stops
        ::SendMessageA(Control(kPathBox), EM_SETSEL, fixed.size() - 1, fixed.size() - 1);
    }
}

void MainWindow::OnDropFiles(HDROP drop) {
    std::vector<DroppedFile> files;
    const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length, '\0');
        ::DragQueryFileA(drop, i, path.data(), length + 1);
        platform::ShellInfo info;
        // A path the shell has no name for is listed under its own last part.
        std::string name = platform::GetShellInfo(path, false, info) && !info.displayName.empty()
                               ? info.displayName
                               : LastPart(path);
        files.push_back({std::move(name), std::move(path)});
    }
    ::DragFinish(drop);
    if (files.empty() || m_editor.IsDirectoryPointer()) {
        return;
    }
    HWND list = Control(kItemList);
    const int selection = static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
    const std::size_t before = m_editor.Entries().size();
    DropResult result = m_editor.DropFiles(files);
    if (result.Status != EditStatus::Written) {
        // The entries of the paths that were written stay; the rest were never added.
        ShowListResult({result.Status, result.Error, -1});
        return;
    }
    // The new entries go at the end; the selection and the preview stay.
    for (std::size_t i = before; i < m_editor.Entries().size(); ++i) {
        ::SendMessageA(list, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(m_editor.Entries()[i].Text.c_str()));
    }
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

// Helpers -----------------------------------------------------------------------------------

std::string MainWindow::TextOf(int id) const { return WindowText(Control(id)); }

void MainWindow::SetText(int id, const std::string& text) {
    ::SetWindowTextA(Control(id), text.c_str());
}

int MainWindow::Ask(const std::string& text) const {
    return ::MessageBoxA(Hwnd(), text.c_str(), kQueryTitle, MB_YESNO);
}

void MainWindow::Tell(const std::string& text) const {
    ::MessageBoxA(Hwnd(), text.c_str(), kErrorTitle, MB_OK);
}

// The wizard, the icon chooser and the appearance tab ----------------------------------------

int MainWindow::SelectedEntry() const {
    return static_cast<int>(::SendMessageA(Control(kItemList), LB_GETCURSEL, 0, 0));
}

namespace {

// What a dialog's save hands back: it reports "Error writing to file." itself only for a
// failed write; a file changed elsewhere is told by the main window.
menufile::MenuError DialogError(const EditResult& result) {
    if (result.Status != EditStatus::Failed) {
        return menufile::MenuError::None;
    }
    return result.Error != menufile::MenuError::None ? result.Error : menufile::MenuError::Other;
}

UINT_PTR CALLBACK FontDialogHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        ::SetWindowTextA(dialog, kFontDialogTitle);
    }
    return 0;
}

}  // namespace

void MainWindow::ShowDialogResult(const EditResult& result) {
    switch (result.Status) {
        case EditStatus::Unchanged:
            return;
        case EditStatus::Written:
            FillList(result.Selection);
            ShowPreview(result.Selection);
            return;
        case EditStatus::Reloaded:
            ShowReloaded();
            Tell(kChangedElsewhere);
            return;
        case EditStatus::Failed:
            ShowReloaded();  // the dialog has said "Error writing to file."
            return;
    }
}

void MainWindow::OnAdd() {
    const int selection = SelectedEntry();
    EditResult result;
    WizardParams params;
    params.Save = [&](const menufile::MenuItem& record) {
        result = m_editor.AddItem(record, selection);
        return DialogError(result);
    };
    (void)RunItemWizard(Hwnd(), params);
    ShowDialogResult(result);
}

void MainWindow::OnEdit() {
    const int selected = SelectedEntry();
    const menufile::MenuItem* record = m_editor.Record(selected);
    if (record == nullptr) {
        return;
    }
    EditResult result;
    WizardParams params;
    params.Edit = true;
    params.Item = *record;
    params.Save = [&](const menufile::MenuItem& changed) {
        result = m_editor.EditItem(selected, changed, selected);
        return DialogError(result);
    };
    (void)RunItemWizard(Hwnd(), params);
    ShowDialogResult(result);
}

void MainWindow::OnChangeIcon() {
    const int selected = SelectedEntry();
    const menufile::MenuItem* record = m_editor.Record(selected);
    if (record == nullptr || m_editor.Entries()[static_cast<std::size_t>(selected)].Target.empty()) {
        return;
    }
    EditResult result;
    ChooserParams params;
    params.Library = record->IconFile.empty() ? record->Target : record->IconFile;
    params.IconIndex = menufile::ToInt(record->IconIndex);
    params.Target = record->Target;
    params.Save = [&](const std::string& iconFile, int index, HICON preview) {
        result = m_editor.SetItemIcon(selected, iconFile, index,
                                      reinterpret_cast<IconHandle>(preview));
        if (result.Status == EditStatus::Reloaded && preview != nullptr) {
            ::DestroyIcon(preview);  // no row took it
        }
        return DialogError(result);
    };
    (void)RunIconChooser(Hwnd(), params);
    ShowDialogResult(result);
}

void MainWindow::OnChangeFont() {
    LOGFONTA font{};
    const float size = DialogFontSize(m_appearance.FontSize);
    font.lfHeight = -static_cast<LONG>(std::lround(size * static_cast<float>(m_dotsPerInch) / 72));
    font.lfWeight = m_appearance.FontBold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = m_appearance.FontItalic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    m_appearance.FontName.copy(font.lfFaceName, sizeof font.lfFaceName - 1);
    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = Hwnd();
    choose.lpLogFont = &font;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
    choose.lpfnHook = FontDialogHook;
    if (!::ChooseFontA(&choose)) {
        return;  // cancelled: the sample keeps its font
    }
    m_appearance.FontName = font.lfFaceName;
    m_appearance.FontSize = static_cast<float>(choose.iPointSize) / 10.0f;
    m_appearance.FontBold = font.lfWeight >= FW_BOLD;
    m_appearance.FontItalic = font.lfItalic != 0;
    m_sampleFont = MakeFont(SettingsOf(m_appearance), m_dotsPerInch);
    ::SendMessageA(Control(kFontSample), WM_SETFONT,
                   reinterpret_cast<WPARAM>(m_sampleFont ? m_sampleFont.get() : m_font.get()),
                   TRUE);
}

std::string MainWindow::MenuIconPicture() const {
    RECT box{};
    ::GetClientRect(Control(kMenuIconPicture), &box);
    const int width = std::max<int>(1, box.right);
    const int height = std::max<int>(1, box.bottom);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    platform::UniqueHbitmap image(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!image || bits == nullptr) {
        return {};
    }
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, image.get());
    DRAWITEMSTRUCT draw{};
    draw.hDC = dc;
    draw.rcItem = {0, 0, width, height};
    m_menuIcon->Draw(draw);
    ::GdiFlush();
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = pixels[i] & 0xFFFFFF;  // the DIB holds blue, green, red: 0x00RRGGBB
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return BitmapFile(width, height, rgb);
}

void MainWindow::OnSaveAppearance() {
    m_appearance.SmallIcons =
        ::SendMessageA(Control(kSmallIconsCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
    const std::string picture = MenuIconPicture();
    const EditResult result = m_editor.SaveAppearance(picture, SettingsOf(m_appearance));
    if (result.Status != EditStatus::Written) {
        FailAndClose(result);
        return;
    }
    ::MessageBoxA(Hwnd(), kRefreshDesktopMessage, kMainTitle, MB_OK);
}

bool MainWindow::PreTranslate(MSG& msg) {
    return Hwnd() != nullptr && ::IsDialogMessageA(Hwnd(), &msg);
}

}  // namespace editor
