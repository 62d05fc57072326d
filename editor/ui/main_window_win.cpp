// The editor's main window: controls from the layout table, the tabs, and the messages handed
// to the pages (start-up is in main_window_start_win.cpp).
#include "editor/ui/main_window_win.h"

#include <commdlg.h>
#include <windowsx.h>

#include <cctype>
#include <string>

#include "editor/model/editor_messages.h"
#include "editor/model/unsaved_pages.h"
#include "editor/ui/control_colours_win.h"
#include "editor/ui/dialog_window_win.h"
#include "editor/ui/keyboard_access.h"
#include "editor/ui/load_progress_win.h"
#include "editor/ui/main_window_layout.h"
#include "menufile/command_line.h"
#include "platform/common_dialogs_win.h"
#include "platform/dpi_win.h"
#include "platform/shell_win.h"
#include "platform/system_error_win.h"
#include "platform/text_win.h"
#include "platform/theme_win.h"

namespace editor {
namespace {

bool IsShown(const ControlLayout& c, int tab, bool pointer) {
    switch (c.Shown) {
        case Page::Always:
            return true;
        case Page::Items:
            return tab == kContentsTabIndex && !pointer;
        case Page::DirectoryPointer:
            return tab == kContentsTabIndex && pointer;
        case Page::Appearance:
            return tab == kAppearanceTabIndex;
        case Page::Shortcuts:
            return tab == kShortcutsTabIndex;
    }
    return false;
}

}  // namespace

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
    UseScale(platform::SystemDpi());
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!RegisterWindowClass(kMainWindowClass, icon, ::GetSysColorBrush(COLOR_BTNFACE))) {
        return false;
    }
    const SIZE size = FormSize(kFormWidth, kFormHeight, kMainStyle, kMainExStyle);
    if (CreateWindowFor(kMainWindowClass, kMainTitle, kMainStyle, kMainExStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, size.cx, size.cy, nullptr) == nullptr) {
        return false;
    }
    // The title bar follows the app theme; the pages keep the system's control look.
    if (platform::DarkThemeOn()) {
        platform::UseDarkTitleBar(Hwnd());
    }
    if (FitClientArea()) {
        RefreshBackground();  // made at another scale than its monitor's
    }
    return true;
}

bool MainWindow::FitClientArea() {
    const SIZE size = FormSize(kFormWidth, kFormHeight, kMainStyle, kMainExStyle);
    RECT now{};
    ::GetWindowRect(Hwnd(), &now);
    if (now.right - now.left == size.cx && now.bottom - now.top == size.cy) {
        return false;
    }
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void MainWindow::OnDpiChanged() {
    m_directoryPointer.SetFont(Font());
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
    if (PageBuilt(Page::Appearance)) {
        m_appearance.OnDpiChanged(Dpi());
    }
}

void MainWindow::OnScaledRectTaken() {
    // The suggestion keeps the frame's proportion; the client area must hold the form.
    FitClientArea();
    RefreshBackground();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; HandleFormMessage(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.code == TTN_GETDISPINFOW &&
                header.idFrom == reinterpret_cast<UINT_PTR>(Control(kUndoButton))) {
                // Asked as the tip shows, so it names the step an undo now takes back.
                m_undoTip =
                    platform::Widen(m_editor.CanUndo() ? "Undo " + m_editor.UndoDescription()
                                                       : std::string(kNothingToUndo));
                reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = m_undoTip.data();
                return 0;
            }
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
            if (PageBuilt(Page::Appearance)) {
                m_appearance.OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(Font());
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
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            for (const ControlLayout& c : MainWindowControls()) {
                if (PageBuilt(c.Shown)) {
                    ::SendMessageW(Control(c.Id), message, wParam, lParam);
                }
            }
            ChoosePageLook();
            return 0;
        case kRowDroppedMessage:
            m_items.OnRowDropped(static_cast<int>(wParam), static_cast<int>(lParam));
            return 0;
        case WM_TIMER:
            if (wParam == kRowIconsTimer) {
                m_items.OnTakeRowIcons();
                return 0;
            }
            if (wParam == kBuildPagesTimer) {
                if (BuildLater()) {
                    ::SetTimer(Hwnd(), kBuildPagesTimer, kNextPageDelayMs, nullptr);
                } else {
                    ::KillTimer(Hwnd(), kBuildPagesTimer);
                }
                return 0;
            }
            return DefaultHandling(message, wParam, lParam);
        case WM_CLOSE:
            if (SettleUnsaved(false)) {
                ::DestroyWindow(Hwnd());
            }
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
    UseControls(MainWindowControls());
    // The pages' controls are this window's own, laid over the tab control: they draw on the
    // page's texture, which the colour answers and the frames take from the tabs.
    platform::UseTabPageTexture(Hwnd());
    BuildPage(Page::Always);
    HWND tabs = Control(kTabs);
    for (const char* caption : {kContentsTabCaption, kAppearanceTabCaption, kShortcutsTabCaption}) {
        std::wstring text = platform::Widen(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        ::SendMessageW(tabs, TCM_INSERTITEMW,
                       static_cast<WPARAM>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)),
                       reinterpret_cast<LPARAM>(&item));
    }
    BuildPage(Page::Items);
    ShowPage();
    ChoosePageLook();
}

void MainWindow::OnCommand(int id, int code) {
    if (id == kQuitButton) {
        if (SettleUnsaved(false)) {
            ::DestroyWindow(Hwnd());
        }
        return;
    }
    if (id == kUndoButton) {
        OnHistory(false);
        return;
    }
    (void)(m_items.OnCommand(id, code) || m_directoryPointer.OnCommand(id, code) ||
           m_appearance.OnCommand(id, code) || m_shortcuts.OnCommand(id, code));
}

// Start-up ----------------------------------------------------------------------------------

void MainWindow::ShowOpened() {
    const std::string& path = m_editor.Path();
    platform::SetWindowTextUtf8(Hwnd(), MainWindowTitle(path, platform::ShellDisplayName(path)));
    RememberFocus(FirstControl());  // taken when the window shows
    ::ShowWindow(Hwnd(), SW_SHOWNORMAL);
    if (::GetActiveWindow() == Hwnd()) {
        ::SetFocus(FirstControl());  // shown already, by a long load
    }
    ::UpdateWindow(Hwnd());
    ::SetTimer(Hwnd(), kBuildPagesTimer, kBuildPagesDelayMs, nullptr);
}

// The pages' host ----------------------------------------------------------------------------

bool MainWindow::Ask(const std::string& text) {
    return ShowMessageBox(Hwnd(), text, kQueryTitle, MB_YESNO) == IDYES;
}

void MainWindow::Tell(const std::string& text) {
    ShowMessageBox(Hwnd(), text, kErrorTitle, MB_OK);
}

void MainWindow::ShowMenu() {
    if (PageBuilt(Page::Appearance)) {
        m_appearance.Show();  // else shown when made
    }
    if (m_editor.IsDirectoryPointer()) {
        BuildPage(Page::DirectoryPointer);
        m_directoryPointer.Show();
    }
    m_items.Fill();
    ShowPage();
}

bool MainWindow::ShowEditResult(const EditResult& result, FailedEdit failed) {
    switch (result.Status) {
        case EditStatus::Unchanged:
        case EditStatus::Written:
            return true;
        case EditStatus::Reloaded:
            ShowMenu();
            Tell(kChangedElsewhere);
            return false;
        case EditStatus::Failed:
            if (failed == FailedEdit::Close) {
                Tell(WriteErrorText(result.Error, m_editor.Path()));
                Close();
                return false;
            }
            if (failed == FailedEdit::Stay) {
                Tell(WriteErrorText(result.Error, m_editor.Path()));
                return false;
            }
            ShowMenu();
            if (failed == FailedEdit::Reload) {
                Tell(WriteErrorText(result.Error, m_editor.Path()));
            }
            return false;
    }
    return false;
}

void MainWindow::ShowPage() {
    const int tab = static_cast<int>(TabCtrl_GetCurSel(Control(kTabs)));
    const bool pointer = m_editor.IsDirectoryPointer();
    if (pointer) {
        BuildPage(Page::DirectoryPointer);
    }
    if (tab == kAppearanceTabIndex) {
        BuildPage(Page::Appearance);
    } else if (tab == kShortcutsTabIndex) {
        BuildPage(Page::Shortcuts);
    }
    if (pointer && tab == kContentsTabIndex) {
        m_directoryPointer.Prepare();
    }
    if (pointer && !m_pointerShown) {
        m_directoryPointer.Settle();  // just converted: the page's texts are not the user's
    }
    m_pointerShown = pointer;
    if (tab == kShortcutsTabIndex) {
        m_shortcuts.Show();  // a shortcut may have been made or deleted elsewhere meanwhile
    }
    // The page that goes is hidden before the one that comes shows, so no moment shows both.
    for (bool shown : {false, true}) {
        for (const ControlLayout& c : MainWindowControls()) {
            if (PageBuilt(c.Shown) && IsShown(c, tab, pointer) == shown) {
                ::ShowWindow(Control(c.Id), shown ? SW_SHOWNA : SW_HIDE);
            }
        }
    }
    // A control hidden with the page it stood on leaves the keyboard nowhere.
    HWND focus = ::GetFocus();
    if (!CanTakeFocus(Hwnd(), focus)) {
        if (::GetActiveWindow() == Hwnd()) {
            ::SetFocus(FirstControl());
        } else {
            RememberFocus(FirstControl());
        }
    }
}

HWND MainWindow::FirstControl() const {
    const int tab = static_cast<int>(TabCtrl_GetCurSel(Control(kTabs)));
    if (tab != kContentsTabIndex) {
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

void MainWindow::OnHistory(bool redo) {
    if (redo ? !m_editor.CanRedo() : !m_editor.CanUndo()) {
        return;
    }
    m_items.ClearPreview();  // the preview may borrow an icon of a row that goes
    const EditResult result = redo ? m_editor.Redo() : m_editor.Undo();
    // A failed write says why and keeps the history; another program's change is told.
    if (ShowEditResult(result, FailedEdit::Reload) && result.Status == EditStatus::Written) {
        ShowMenu();
        m_items.Select(result.Selection);
    }
}

bool MainWindow::OnHistoryKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != Hwnd() && !::IsChild(Hwnd(), msg.hwnd)) ||
        !::IsWindowEnabled(Hwnd()) || m_shortcuts.IsKeyBox(msg.hwnd)) {
        return false;
    }
    const HistoryKey key =
        HistoryKeyOf(static_cast<unsigned>(msg.wParam), ::GetKeyState(VK_CONTROL) < 0,
                     ::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_MENU) < 0);
    if (key == HistoryKey::None) {
        return false;
    }
    // A text box with typing of its own to take back keeps its Ctrl+Z.
    wchar_t className[16] = {};
    ::GetClassNameW(msg.hwnd, className, 16);
    if (key == HistoryKey::Undo && ::lstrcmpiW(className, L"Edit") == 0 &&
        ::SendMessageW(msg.hwnd, EM_CANUNDO, 0, 0) != 0) {
        return false;
    }
    OnHistory(key == HistoryKey::Redo);
    return true;
}

bool MainWindow::OnTabMnemonic(wchar_t key) {
    if (key == 0 || key >= 0x80) {
        return false;
    }
    const char typed = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    int tab = -1;
    if (typed == MnemonicOf(kContentsTabCaption)) {
        tab = kContentsTabIndex;
    } else if (typed == MnemonicOf(kAppearanceTabCaption)) {
        tab = kAppearanceTabIndex;
    } else if (typed == MnemonicOf(kShortcutsTabCaption)) {
        tab = kShortcutsTabIndex;
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

bool MainWindow::SettleUnsaved(bool pointerGoes) {
    // A page not made yet has shown nothing the user could change.
    const std::vector<UnsavedPage> pages = UnsavedPages(
        PageBuilt(Page::Appearance) && m_appearance.HasUnsavedChanges(),
        !pointerGoes && PageBuilt(Page::DirectoryPointer) && m_directoryPointer.HasUnsavedChanges(),
        m_editor.IsDirectoryPointer());
    return SettleUnsavedPages(
        pages,
        [this](const char* question) {
            switch (ShowMessageBox(Hwnd(), question, kQueryTitle, MB_YESNOCANCEL)) {
                case IDYES:
                    return SaveAnswer::Yes;
                case IDNO:
                    return SaveAnswer::No;
                default:
                    return SaveAnswer::Cancel;
            }
        },
        [this](UnsavedPage page) {
            return page == UnsavedPage::Appearance ? m_appearance.Save(FailedEdit::Stay)
                                                   : m_directoryPointer.Save(FailedEdit::Stay);
        });
}

void MainWindow::Replaced(HWND old, HWND replacement) {
    const ControlLayout* layout = FindControl(::GetDlgCtrlID(replacement));
    if (layout != nullptr && layout->Tooltip != nullptr) {
        m_tooltip.Replace(old, replacement, layout->Tooltip);
    }
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
    if (OnHistoryKey(msg)) {
        return true;
    }
    // Alt with an arrow: what Alt alone brings is a system key, so only these two are taken.
    if (msg.message == WM_SYSKEYDOWN && ::IsChild(Hwnd(), msg.hwnd) && ::IsWindowEnabled(Hwnd()) &&
        ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_SHIFT) >= 0 &&
        m_items.OnMoveKey(static_cast<UINT>(msg.wParam))) {
        return true;
    }
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
        msg.hwnd == Control(kItemList) && m_items.OnListMouse(msg)) {
        return true;
    }
    // Delete and Enter on the list act on the selected item, as its buttons do.
    if (msg.message == WM_KEYDOWN && msg.hwnd == Control(kItemList) &&
        m_items.OnListKey(static_cast<UINT>(msg.wParam))) {
        return true;
    }
    // Alt with a letter in the key box is a key for the shortcuts, not a mnemonic.
    if (msg.message == WM_SYSCHAR && m_shortcuts.IsKeyBox(msg.hwnd)) {
        return true;
    }
    if (msg.message == WM_SYSCHAR && (msg.hwnd == Hwnd() || ::IsChild(Hwnd(), msg.hwnd)) &&
        ::IsWindowEnabled(Hwnd()) && OnTabMnemonic(static_cast<wchar_t>(msg.wParam))) {
        return true;
    }
    m_tooltip.Relay(msg);
    return ::IsDialogMessageW(Hwnd(), &msg);
}

}  // namespace editor
