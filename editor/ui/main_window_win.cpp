// The editor's main window: controls from the layout table, the tabs, start-up, and the
// messages handed to the pages.
#include "editor/ui/main_window_win.h"

#include <commdlg.h>
#include <windowsx.h>

#include <atomic>
#include <cctype>
#include <string>
#include <thread>

#include "editor/model/editor_messages.h"
#include "editor/ui/control_factory_win.h"
#include "editor/ui/dialog_window_win.h"
#include "editor/ui/keyboard_access.h"
#include "editor/ui/main_window_layout.h"
#include "menufile/command_line.h"
#include "platform/common_dialogs_win.h"
#include "platform/dpi_win.h"
#include "platform/shell_win.h"
#include "platform/text_win.h"
#include "platform/theme_win.h"

namespace editor {
namespace {

constexpr UINT kContentsPage = 0;

bool IsShown(const ControlLayout& c, int tab, bool pointer) {
    switch (c.Shown) {
        case Page::Always:
            return true;
        case Page::Items:
            return tab == kContentsPage && !pointer;
        case Page::DirectoryPointer:
            return tab == kContentsPage && pointer;
        case Page::Appearance:
            return tab != kContentsPage;
    }
    return false;
}

}  // namespace

IconHandle Win32IconSource::Extract(const std::string& file, int index) {
    HICON large = nullptr;
    HICON small = nullptr;
    if (!platform::ExtractIconPair(file, index, large, small)) {
        return 0;
    }
    platform::UniqueHicon smallOwner(small);  // only the 32x32 icon is shown
    return reinterpret_cast<IconHandle>(large);
}

void Win32IconSource::Destroy(IconHandle icon) {
    ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

MainWindow::MainWindow(menufile::FileSystem& fs, std::string stockPicture)
    : m_fs(fs),
      m_editor(fs, m_icons, platform::SystemCodePage()),
      m_stockPicture(std::move(stockPicture)) {}

MainWindow::~MainWindow() {
    if (Hwnd() != nullptr) {
        ::DestroyWindow(Hwnd());
    }
}

namespace {

constexpr DWORD kMainStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_CONTROLPARENT;

}  // namespace

bool MainWindow::Create() {
    // Sized for the primary display; the window itself then tells the scale of its monitor.
    m_dpi = platform::SystemDpi();
    m_twipsPerPixel = TwipsPerPixel(m_dpi);
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!RegisterWindowClass(kMainWindowClass, icon, ::GetSysColorBrush(COLOR_BTNFACE))) {
        return false;
    }
    const SIZE size = WindowSizeFor(kFormWidth, kFormHeight, kMainStyle, kMainExStyle, m_dpi);
    if (CreateWindowFor(kMainWindowClass, kMainTitle, kMainStyle, kMainExStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, size.cx, size.cy, nullptr) == nullptr) {
        return false;
    }
    FitClientArea();
    RefreshBackground();
    return true;
}

void MainWindow::FitClientArea() {
    const SIZE size = WindowSizeFor(kFormWidth, kFormHeight, kMainStyle, kMainExStyle, m_dpi);
    RECT now{};
    ::GetWindowRect(Hwnd(), &now);
    if (now.right - now.left != size.cx || now.bottom - now.top != size.cy) {
        ::SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::ApplyDpi(int dotsPerInch) {
    m_dpi = dotsPerInch;
    m_twipsPerPixel = TwipsPerPixel(dotsPerInch);
    platform::UniqueHfont font = CreateDialogFont(dotsPerInch);
    LayOutControls(Hwnd(), MainWindowControls(), m_twipsPerPixel, font.get());
    m_font = std::move(font);  // the old one only once no control holds it
    m_directoryPointer.SetFont(m_font.get());
    // Rows the lists draw themselves take the height of the new font.
    for (int id : {static_cast<int>(kItemList), static_cast<int>(kFolderList)}) {
        HWND list = Control(id);
        if ((::GetWindowLongPtrW(list, GWL_STYLE) & LBS_OWNERDRAWFIXED) == 0) {
            continue;
        }
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_LISTBOX;
        measure.CtlID = static_cast<UINT>(id);
        if (m_items.OnMeasureItem(measure) || m_directoryPointer.OnMeasureItem(measure)) {
            ::SendMessageW(list, LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(measure.itemHeight));
        }
    }
    m_appearance.OnDpiChanged(dotsPerInch);
}

void MainWindow::ChoosePageLook() {
    HWND tabs = Control(kTabs);
    // A theme paints the page, and the frames' captions, in its own colours whatever the
    // system's colours say, while the labels on the page take the scheme's text colour.
    const bool contrast = platform::HighContrastOn();
    if (!contrast) {
        platform::UseThemedLook(tabs);
        m_background.Update(Hwnd(), tabs);
    }
    const bool themed =
        !contrast && Readable(::GetSysColor(COLOR_BTNTEXT), m_background.PageColour());
    for (const ControlLayout& c : MainWindowControls()) {
        if (c.Kind != ControlKind::Tabs && c.Kind != ControlKind::Frame) {
            continue;
        }
        if (themed) {
            platform::UseThemedLook(Control(c.Id));
        } else {
            platform::UseClassicLook(Control(c.Id));
        }
    }
    RefreshBackground();
}

void MainWindow::RefreshBackground() {
    m_background.Update(Hwnd(), Control(kTabs));
    ::RedrawWindow(Hwnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            if (m_focus.OnActivate(Hwnd(), wParam, FirstControl())) {
                return 0;
            }
            return DefaultHandling(message, wParam, lParam);
        case WM_NEXTDLGCTL:
            OnNextDialogControl(Hwnd(), wParam, lParam);
            return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.idFrom == kTabs && header.code == TCN_SELCHANGE) {
                ShowPage();
                RefreshBackground();  // the selected tab's header is drawn anew
            }
            return 0;
        }
        case WM_MEASUREITEM: {
            auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            (void)(m_items.OnMeasureItem(measure) || m_directoryPointer.OnMeasureItem(measure));
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            (void)(m_items.OnDrawItem(draw) || m_directoryPointer.OnDrawItem(draw) ||
                   m_appearance.OnDrawItem(draw));
            return TRUE;
        }
        case WM_HSCROLL:
            m_appearance.OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font.get());
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            // Labels, check boxes and frames on the page they stand on, as the tabs draw it.
            return ControlColours(Hwnd(), message, wParam, lParam, m_background.Brush());
        case WM_ERASEBKGND:
        case WM_PRINTCLIENT: {
            // Themed controls ask for what lies behind them through these.
            m_background.Paint(Hwnd(), reinterpret_cast<HDC>(wParam));
            return 1;
        }
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wParam));
            platform::TakeSuggestedRect(Hwnd(), lParam);
            // The suggestion keeps the frame's proportion; the client area must hold the form.
            FitClientArea();
            RefreshBackground();
            return 0;
        }
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            for (const ControlLayout& c : MainWindowControls()) {
                ::SendMessageW(Control(c.Id), message, wParam, lParam);
            }
            ChoosePageLook();
            return 0;
        case WM_CLOSE:
            ::DestroyWindow(Hwnd());
            return 0;
        case WM_DESTROY:
            m_items.ClearPreview();
            ::PostQuitMessage(0);
            return 0;
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

void MainWindow::OnCreate() {
    // The scale of the monitor the window was made on, which may not be the primary one's.
    m_dpi = platform::DpiOfWindow(Hwnd());
    m_twipsPerPixel = TwipsPerPixel(m_dpi);
    m_font = CreateDialogFont(m_dpi);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_toolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  Hwnd(), nullptr, instance, nullptr);
    for (const ControlLayout& c : MainWindowControls()) {
        HWND hwnd = CreateControl(Hwnd(), c, m_twipsPerPixel, m_font.get(), false);
        if (c.ToolTip != nullptr) {
            AddToolTip(hwnd, c.ToolTip);
        }
    }
    HWND tabs = Control(kTabs);
    // The pages' controls are this window's own, laid over the tab control: they draw on the
    // page's texture, which the colour answers and the frames below take from the tabs.
    platform::UseTabPageTexture(Hwnd());
    for (const char* caption : {kContentsTabCaption, kAppearanceTabCaption}) {
        std::wstring text = platform::Widen(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        ::SendMessageW(tabs, TCM_INSERTITEMW,
                       static_cast<WPARAM>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)),
                       reinterpret_cast<LPARAM>(&item));
    }
    // Frames and the tab control lie under what they hold, or they would clip it away. The
    // tab control under a frame does not paint through it: the frame fills itself.
    for (const ControlLayout& c : MainWindowControls()) {
        if (c.Kind != ControlKind::Frame) {
            continue;
        }
        HWND frame = Control(c.Id);
        ::SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_frames.emplace_back(
            frame, [this, frame](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
                if (message != WM_ERASEBKGND) {
                    return false;
                }
                RECT r;
                ::GetClientRect(frame, &r);
                m_background.Fill(Hwnd(), frame, reinterpret_cast<HDC>(wParam), r);
                result = 1;
                return true;
            });
    }
    ::SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Tab goes through the z-order: the one that reads each page as it looks, which keeps the
    // frames and the tab control at the bottom.
    StackControls(Hwnd(), MainWindowControls());

    m_items.OnCreate();
    m_directoryPointer.OnCreate(m_font.get());
    m_appearance.OnCreate();
    ShowPage();
    ChoosePageLook();
}

void MainWindow::OnCommand(int id, int code) {
    if (id == kQuitButton) {
        ::DestroyWindow(Hwnd());
        return;
    }
    (void)(m_items.OnCommand(id, code) || m_directoryPointer.OnCommand(id, code) ||
           m_appearance.OnCommand(id, code));
}

// Start-up ----------------------------------------------------------------------------------

bool MainWindow::Start(std::string_view commandLine) {
    std::string path = menufile::PathFromCommandLine(commandLine);
    for (;;) {
        if (path.empty()) {
            path = AskForMenuFile();
            if (path.empty()) {
                return false;
            }
        }
        const LoadStatus status = LoadShowingProgress(path);
        if (Hwnd() == nullptr) {
            return false;  // closed while it was loading
        }
        if (status == LoadStatus::Loaded) {
            break;
        }
        menufile::MenuError error = menufile::MenuError::None;
        if (status == LoadStatus::NotFound) {
            if (!Ask(CreateMenuQuestion(path))) {
                return false;
            }
            error = m_editor.CreateNewMenu(path, m_stockPicture);
        } else if (status == LoadStatus::OldLayout) {
            if (!Ask(kUpgradeQuestion)) {
                return false;  // the file stays as it was
            }
            error = m_editor.UpgradeOldMenu(m_stockPicture);
        } else if (status == LoadStatus::Damaged && m_editor.DamagedLine() > 0) {
            if (!Ask(DamagedLineQuestion(path, m_editor.DamagedLine()))) {
                return false;  // the file stays as it was
            }
            error = m_editor.DropDamagedLine();
            if (error == menufile::MenuError::None && !m_editor.IsLoaded()) {
                continue;  // another line is damaged: asked about in turn
            }
        } else {
            Tell(LoadProblemText(status, path));
            return false;
        }
        if (error != menufile::MenuError::None) {
            Tell(WriteErrorText(error, path));
            return false;
        }
        break;
    }
    ShowMenu();
    if (!m_editor.SetAsideJournal().empty()) {
        Tell(StaleJournalText(m_editor.Path(), m_editor.SetAsideJournal()));
    }
    return true;
}

LoadStatus MainWindow::LoadShowingProgress(const std::string& path) {
    constexpr ULONGLONG kQuietLoad = 300;  // ms a load may take before the window shows it
    std::atomic<std::size_t> done{0};
    std::atomic<std::size_t> total{0};
    std::atomic<bool> finished{false};
    LoadStatus status = LoadStatus::Unreadable;
    const menufile::ReadProgress progress = [&](std::size_t d, std::size_t t) {
        done = d;
        total = t;
    };
    // Nothing else touches the editor state until the load is over: the window takes no
    // input meanwhile, and it only paints what it held before.
    HWND window = Hwnd();
    std::thread loader([&] {
        status = m_editor.LoadEditorMenu(path, &progress);
        finished = true;
        ::PostMessageW(window, WM_NULL, 0, 0);  // wakes the wait below at once
    });
    const ULONGLONG start = ::GetTickCount64();
    HWND bar = nullptr;
    bool quit = false;
    int quitCode = 0;
    while (!finished) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (bar == nullptr && !finished && ::GetTickCount64() - start >= kQuietLoad) {
            const PixelRect r = ClientRect(*FindControl(kItemList), m_twipsPerPixel);
            bar = ::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, r.Left,
                                    r.Top + r.Height / 2 - 10, r.Width, 20, Hwnd(), nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
            ::SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
            ::EnableWindow(Hwnd(), FALSE);
            ::ShowWindow(Hwnd(), SW_SHOWNORMAL);
        }
        if (bar != nullptr && total > 0) {
            ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(done * 1000 / total), 0);
        }
    }
    loader.join();
    if (bar != nullptr) {
        ::DestroyWindow(bar);
        ::EnableWindow(Hwnd(), TRUE);
    }
    if (quit) {
        ::PostQuitMessage(quitCode);
    }
    return status;
}

std::string MainWindow::AskForMenuFile() {
    // No "file must exist": a new name is how a first menu is made.
    const DWORD flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return AskForFile(Hwnd(), kOpenTitle, kOpenFilter, flags, {}, "tvl").value_or(std::string());
}

void MainWindow::ShowMenu() {
    m_appearance.Show();
    if (m_editor.IsDirectoryPointer()) {
        m_directoryPointer.Show();
    }
    m_items.Fill();
    TabCtrl_SetCurSel(Control(kTabs), kContentsPage);
    ShowPage();
    const std::string& path = m_editor.Path();
    platform::SetWindowTextUtf8(Hwnd(), MainWindowTitle(path, platform::ShellDisplayName(path)));
    m_focus.Remember(FirstControl());  // taken when the window shows
    ::ShowWindow(Hwnd(), SW_SHOWNORMAL);
    if (::GetActiveWindow() == Hwnd()) {
        ::SetFocus(FirstControl());  // shown already, by a long load
    }
    ::UpdateWindow(Hwnd());
}

// The pages' host ----------------------------------------------------------------------------

bool MainWindow::Ask(const std::string& text) {
    return ShowMessageBox(Hwnd(), text, kQueryTitle, MB_YESNO) == IDYES;
}

void MainWindow::Tell(const std::string& text) {
    ShowMessageBox(Hwnd(), text, kErrorTitle, MB_OK);
}

void MainWindow::ShowReloaded() {
    m_items.Fill();
    m_appearance.Show();
    if (m_editor.IsDirectoryPointer()) {
        m_directoryPointer.Show();
    }
    ShowPage();
}

void MainWindow::ShowPage() {
    const int tab = static_cast<int>(TabCtrl_GetCurSel(Control(kTabs)));
    const bool pointer = m_editor.IsDirectoryPointer();
    if (pointer && tab == static_cast<int>(kContentsPage)) {
        m_directoryPointer.Prepare();
    }
    for (const ControlLayout& c : MainWindowControls()) {
        ::ShowWindow(Control(c.Id), IsShown(c, tab, pointer) ? SW_SHOWNA : SW_HIDE);
    }
    // A control hidden with the page it stood on leaves the keyboard nowhere.
    HWND focus = ::GetFocus();
    if (!CanTakeFocus(Hwnd(), focus)) {
        if (::GetActiveWindow() == Hwnd()) {
            ::SetFocus(FirstControl());
        } else {
            m_focus.Remember(FirstControl());
        }
    }
}

HWND MainWindow::FirstControl() const {
    const int tab = static_cast<int>(TabCtrl_GetCurSel(Control(kTabs)));
    if (tab != static_cast<int>(kContentsPage)) {
        return Control(kTabs);
    }
    if (!m_editor.IsDirectoryPointer()) {
        return Control(kItemList);
    }
    for (int id : VisualOrder(MainWindowControls(), Page::DirectoryPointer)) {
        const ControlLayout* c = FindControl(id);
        if (c->Shown == Page::DirectoryPointer && IsTabStop(c->Kind) &&
            CanTakeFocus(Hwnd(), Control(id))) {
            return Control(id);
        }
    }
    return Control(kTabs);
}

bool MainWindow::OnTabMnemonic(wchar_t key) {
    if (key == 0 || key >= 0x80) {
        return false;
    }
    const char typed = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    int tab = -1;
    if (typed == MnemonicOf(kContentsTabCaption)) {
        tab = static_cast<int>(kContentsPage);
    } else if (typed == MnemonicOf(kAppearanceTabCaption)) {
        tab = static_cast<int>(kContentsPage) + 1;
    }
    if (tab < 0) {
        return false;
    }
    // The tab control takes no mnemonics itself: what a click on the tab does.
    HWND tabs = Control(kTabs);
    if (TabCtrl_GetCurSel(tabs) != tab) {
        TabCtrl_SetCurSel(tabs, tab);
        ShowPage();
    }
    ::SetFocus(tabs);
    return true;
}

void MainWindow::Close() {
    ::DestroyWindow(Hwnd());
}

void MainWindow::Replaced(HWND old, HWND replacement) {
    const ControlLayout* layout = FindControl(::GetDlgCtrlID(replacement));
    if (m_toolTip == nullptr || layout == nullptr || layout->ToolTip == nullptr) {
        return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = Hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(old);
    ::SendMessageW(m_toolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    AddToolTip(replacement, layout->ToolTip);
}

void MainWindow::AddToolTip(HWND control, const char* text) {
    if (m_toolTip == nullptr) {
        return;
    }
    std::wstring wide = platform::Widen(text);  // the tooltip keeps a copy
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;  // the message loop relays the mouse
    tool.hwnd = Hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    ::SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool MainWindow::PreTranslate(MSG& msg) {
    if (Hwnd() == nullptr) {
        return false;
    }
    // The item list is not subclassed, for the drops or the tooltips: under Wine every message
    // to a subclassed control costs trips to the server, and filling a list of 10,000 rows
    // sends 10,000 of them. Drops are posted, and the tooltip needs only the mouse.
    if (msg.message == WM_DROPFILES && msg.hwnd == Control(kItemList)) {
        m_items.OnDropFiles(reinterpret_cast<HDROP>(msg.wParam));
        return true;
    }
    // Delete and Enter on the list act on the selected item, as its buttons do.
    if (msg.message == WM_KEYDOWN && msg.hwnd == Control(kItemList) &&
        m_items.OnListKey(static_cast<UINT>(msg.wParam))) {
        return true;
    }
    if (msg.message == WM_SYSCHAR && (msg.hwnd == Hwnd() || ::IsChild(Hwnd(), msg.hwnd)) &&
        ::IsWindowEnabled(Hwnd()) && OnTabMnemonic(static_cast<wchar_t>(msg.wParam))) {
        return true;
    }
    if (m_toolTip != nullptr && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
        ::GetParent(msg.hwnd) == Hwnd()) {
        ::SendMessageW(m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    return ::IsDialogMessageW(Hwnd(), &msg);
}

}  // namespace editor
