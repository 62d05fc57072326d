// The pop-up menu window. One window for the whole list, painted double-buffered from the
// model and only where cells are visible, so a folder of 10,000 entries costs no handles.
#include "engine/popup_window_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/engine_messages.h"
#include "engine/engine_platform_win.h"
#include "platform/shell_menu_win.h"
#include "platform/shell_win.h"
#include "platform/system_error_win.h"
#include "platform/text_win.h"
#include "platform/theme_win.h"

namespace engine {
namespace {

constexpr char kClassName[] = "TarvelMenuPopup";
constexpr UINT_PTR kScrollTimer = 1;  // slides an over-tall list while resting on a strip
constexpr UINT_PTR kWatchTimer = 2;   // ends the menu when it loses the foreground
constexpr UINT kScrollInterval = 10;
constexpr UINT kWatchInterval = 5;
// Posted by the accessible object's default action, with a cell index in wParam.
constexpr UINT kAccessibleLaunch = WM_APP + 0x4A1;

// The modifiers held with the key being handled.
Modifiers KeyModifiers() {
    return {::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_SHIFT) < 0};
}

// The modifiers a button message carries.
Modifiers ButtonModifiers(WPARAM wParam) {
    return {(wParam & MK_CONTROL) != 0, (wParam & MK_SHIFT) != 0};
}

}  // namespace

PopupWindow::PopupWindow(MenuModel& model, HFONT font, std::string title, bool fromInternet)
    : m_model(model),
      m_font(font),
      m_palette(CurrentMenuPalette()),
      m_iconSource(fromInternet),
      m_fromInternet(fromInternet),
      m_title(std::move(title)),
      m_accessibility(model, kAccessibleLaunch) {}

PopupWindow::~PopupWindow() {
    if (Hwnd() != nullptr) {
        ::DestroyWindow(Hwnd());
    }
}

int PopupWindow::Px(float twips) const {
    return static_cast<int>(std::nearbyint(twips / static_cast<float>(m_model.TwipsPerPixel())));
}

void PopupWindow::StartIconLoader() {
    const int size = static_cast<int>(m_model.IconSize());
    if (size <= 0) {
        return;
    }
    auto [first, last] = m_model.VisibleCells(m_model.Height());
    std::vector<IconLoader::Row> rows;
    for (std::size_t i = first; i < last; ++i) {
        rows.push_back({i, m_model.Cells()[i].Item});
    }
    (void)m_iconLoader.Start(std::move(rows), size, m_model.SmallIcons(), m_fromInternet);
}

bool PopupWindow::Show(HINSTANCE, HWND owner) {
    StartIconLoader();
    // Every pixel comes from OnPaint's buffer: no background brush. The shadow menus have.
    if (!RegisterWindowClass(kClassName, nullptr, nullptr, CS_DROPSHADOW)) {
        return false;
    }
    // No title, a dialog frame, not in the taskbar, above every normal window. A submenu
    // leaves the keyboard with the first menu, as the system's submenus do.
    const bool submenu = m_level > 0;
    if (!CreateWindowFor(kClassName, m_title.c_str(), WS_POPUP | WS_DLGFRAME,
                         WS_EX_TOOLWINDOW | WS_EX_TOPMOST | (submenu ? WS_EX_NOACTIVATE : 0),
                         Px(m_model.Left()), Px(m_model.Top()), Px(m_model.Width()),
                         Px(m_model.Height()), submenu ? owner : nullptr)) {
        return false;
    }
    m_iconLoader.NotifyTo(Hwnd());
    platform::UseSmallRoundedCorners(Hwnd());
    if (m_model.ScrollTimerEnabled()) {
        ::SetTimer(Hwnd(), kScrollTimer, kScrollInterval, nullptr);
    }
    ::SetTimer(Hwnd(), kWatchTimer, kWatchInterval, nullptr);
    ::ShowWindow(Hwnd(), submenu ? SW_SHOWNOACTIVATE : SW_SHOW);
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, Px(m_model.Left()), Px(m_model.Top()), Px(m_model.Width()),
                   Px(m_model.Height()), SWP_NOMOVE | (submenu ? SWP_NOACTIVATE : 0));
    m_accessibility.Shown(Hwnd());
    return true;
}

void PopupWindow::OnFinishShowing() {
    m_showIcons = true;
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    // The icons before the tooltip, whose library takes about 20 ms to load under Wine; and
    // only a shortened caption has a tip to show, so most menus never load it.
    ::UpdateWindow(Hwnd());
    const std::vector<Cell>& cells = m_model.Cells();
    if (std::any_of(cells.begin(), cells.end(), [](const Cell& c) { return !c.Tooltip.empty(); })) {
        m_tooltip.Create(Hwnd());
    }
}

LRESULT PopupWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT answer = 0; m_contextMenu.HandleMessage(msg, wParam, lParam, answer)) {
        return answer;
    }
    switch (msg) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case kIconsFound:  // painted with the next paint, which takes them
            ::InvalidateRect(Hwnd(), nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCPAINT:
            if (!m_palette.Border) {
                return DefaultHandling(msg, wParam, lParam);
            }
            OnNcPaint();
            return 0;
        case WM_NCACTIVATE:
            if (!m_palette.Border) {
                return DefaultHandling(msg, wParam, lParam);
            }
            OnNcPaint();  // the system would draw its own frame over ours
            return TRUE;
        case WM_MOUSEMOVE:
            OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnButtonUp(kLeftButton, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                       ButtonModifiers(wParam));
            return 0;
        case WM_RBUTTONUP:
            OnButtonUp(kRightButton, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                       ButtonModifiers(wParam));
            return 0;
        case WM_MBUTTONUP:
            OnButtonUp(kMiddleButton, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                       ButtonModifiers(wParam));
            return 0;
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            // F10 comes as a system key (Shift+F10 asks for the context menu); Alt+F4 and the
            // other system keys keep their default handling.
            if (wParam != VK_F10) {
                return DefaultHandling(msg, wParam, lParam);
            }
            msg == WM_SYSKEYDOWN ? OnKeyDown(VK_F10) : OnKeyUp(VK_F10);
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(static_cast<int>(wParam));
            return 0;
        case WM_KEYUP:
            OnKeyUp(static_cast<int>(wParam));
            return 0;
        case WM_CHAR:
            OnCharacter(static_cast<wchar_t>(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_MOUSEACTIVATE:
            if (m_level > 0) {
                return MA_NOACTIVATE;
            }
            return DefaultHandling(msg, wParam, lParam);
        case WM_CAPTURECHANGED:
            m_capturing = false;
            return 0;
        case WM_GETOBJECT:
            if (const LRESULT answer = m_accessibility.OnGetObject(Hwnd(), wParam, lParam)) {
                return answer;
            }
            return DefaultHandling(msg, wParam, lParam);
        case kAccessibleLaunch:
            OnAccessibleLaunch(static_cast<int>(wParam));
            return 0;
        case WM_DESTROY:
            m_accessibility.Closing(Hwnd());
            ::KillTimer(Hwnd(), kScrollTimer);
            ::KillTimer(Hwnd(), kWatchTimer);
            if (m_level == 0) {
                ::PostQuitMessage(0);
            }
            return 0;
        default:
            return DefaultHandling(msg, wParam, lParam);
    }
}

PopupWindow::ViewState PopupWindow::Snapshot() const {
    const int current = m_model.CurrentItem();
    const Cell* cell = current >= 0 ? &m_model.Cells()[static_cast<std::size_t>(current)] : nullptr;
    return {current,
            m_model.ListTop(),
            m_model.TopStripVisible(),
            m_model.BottomStripVisible(),
            cell && cell->Highlighted,
            cell && cell->IconHighlighted};
}

void PopupWindow::Refresh(const ViewState& before) {
    if (m_model.CurrentItem() != before.current) {
        m_accessibility.FocusMoved(Hwnd(), m_model.CurrentItem());
    }
    if (Snapshot() != before) {
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

Element PopupWindow::HitAtClient(int x, int y) const {
    const auto t = static_cast<float>(m_model.TwipsPerPixel());
    return m_model.HitTest(static_cast<float>(x) * t, static_cast<float>(y) * t);
}

void PopupWindow::ToPointer(const Element& target, int x, int y, float& localX,
                            float& localY) const {
    const auto t = static_cast<float>(m_model.TwipsPerPixel());
    auto [ox, oy] = m_model.Origin(target);
    localX = static_cast<float>(x) * t - ox;
    localY = static_cast<float>(y) * t - oy;
}

void PopupWindow::UpdateTooltip(const Element& hovered) {
    const bool overCell =
        hovered.kind == Element::Kind::Cell || hovered.kind == Element::Kind::CellIcon;
    const int cell = overCell ? hovered.index : -1;
    if (cell != m_tooltip.Cell()) {
        m_tooltip.PointAt(cell,
                          cell >= 0 ? m_model.Cells()[static_cast<std::size_t>(cell)].Tooltip : "");
    }
}

void PopupWindow::OnMouseMove(int x, int y) {
    const ViewState before = Snapshot();
    const Element hovered = HitAtClient(x, y);
    const Element target = m_capturing ? m_captured : hovered;
    float lx = 0;
    float ly = 0;
    ToPointer(target, x, y, lx, ly);
    m_model.PointerMove(target, lx, ly);
    UpdateTooltip(hovered);
    Refresh(before);
    if (m_host && !m_capturing) {
        const bool overCell =
            hovered.kind == Element::Kind::Cell || hovered.kind == Element::Kind::CellIcon;
        POINT screen{x, y};
        ::ClientToScreen(Hwnd(), &screen);
        m_host->PointerOver(m_level, overCell && !m_model.KeyboardMode() ? hovered.index : -1,
                            screen);
    }
}

void PopupWindow::OnButtonDown(int x, int y) {
    // The element under the button gets the release, wherever the pointer goes meanwhile.
    m_captured = HitAtClient(x, y);
    m_capturing = true;
    ::SetCapture(Hwnd());
}

void PopupWindow::OnButtonUp(int button, int x, int y, Modifiers modifiers) {
    const Element target = m_capturing ? m_captured : HitAtClient(x, y);
    if (m_capturing) {
        ::ReleaseCapture();
        m_capturing = false;
    }
    float lx = 0;
    float ly = 0;
    ToPointer(target, x, y, lx, ly);
    Act(m_model.ButtonUp(target, button, lx, ly, modifiers));
}

void PopupWindow::OnKeyDown(int key) {
    m_keysDown.set(static_cast<std::size_t>(key) & 0xFF);
    if (m_host) {
        m_host->KeyDown(key);
        return;
    }
    ModelKeyDown(key);
}

void PopupWindow::ModelKeyDown(int key) {
    const ViewState before = Snapshot();
    m_model.KeyDown(key, KeyModifiers());
    Refresh(before);
}

void PopupWindow::ModelKeyUp(int key) {
    Act(m_model.KeyUp(key, KeyModifiers()));
}

void PopupWindow::SelectCell(int i, bool byKeys) {
    const ViewState before = Snapshot();
    if (byKeys) {
        m_model.KeyDown(kKeyHome);
        m_model.Select(i);
    } else if (m_model.CurrentItem() != i) {
        m_model.Select(i);
    }
    Refresh(before);
}

void PopupWindow::OnCharacter(wchar_t unit) {
    if (m_host) {
        m_host->Character(unit);
        return;
    }
    ModelCharacter(unit);
}

void PopupWindow::ModelCharacter(wchar_t unit) {
    // A character beyond the first plane comes as two messages, its surrogates.
    if (IS_HIGH_SURROGATE(unit)) {
        m_highSurrogate = unit;
        return;
    }
    std::wstring character(1, unit);
    if (IS_LOW_SURROGATE(unit)) {
        if (m_highSurrogate == 0) {
            return;
        }
        character.insert(character.begin(), m_highSurrogate);
    }
    m_highSurrogate = 0;
    const ViewState before = Snapshot();
    m_model.TypeCharacter(platform::Narrow(character), static_cast<unsigned>(::GetMessageTime()));
    Refresh(before);
}

void PopupWindow::OnWheel(int delta) {
    if (m_host) {
        m_host->Wheel(delta);
        return;
    }
    ModelWheel(delta);
}

void PopupWindow::ModelWheel(int delta) {
    // Fine-grained wheels send parts of a notch: they add up, and a turn the other way starts
    // over.
    if ((delta > 0) != (m_wheelDelta > 0)) {
        m_wheelDelta = 0;
    }
    m_wheelDelta += delta;
    const int notches = m_wheelDelta / WHEEL_DELTA;
    if (notches == 0) {
        return;
    }
    m_wheelDelta -= notches * WHEEL_DELTA;
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int rows =
        lines == WHEEL_PAGESCROLL ? kWheelPage : static_cast<int>(std::min<UINT>(lines, 10000));
    const ViewState before = Snapshot();
    m_model.Wheel(notches, rows);
    Refresh(before);
    // The rows moved under a resting pointer: the cell now under it takes the highlight, as
    // a move would. Not over a strip, which a move would set scrolling.
    POINT p{};
    ::GetCursorPos(&p);
    ::ScreenToClient(Hwnd(), &p);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    const Element under = HitAtClient(p.x, p.y);
    if (!m_model.KeyboardMode() && !m_capturing && ::PtInRect(&client, p) &&
        (under.kind == Element::Kind::Cell || under.kind == Element::Kind::CellIcon)) {
        OnMouseMove(p.x, p.y);
    }
}

void PopupWindow::OnAccessibleLaunch(int cell) {
    // As a click on the cell would: the window's own launch path.
    if (cell >= 0 && static_cast<std::size_t>(cell) < m_model.Cells().size()) {
        Act(m_model.ButtonUp({Element::Kind::Cell, cell}, kLeftButton, 0, 0));
    }
}

void PopupWindow::OnKeyUp(int key) {
    // Only keys pressed in the menu count: the release of the Escape that closed its context
    // menu, or of the Enter that opened this menu from Explorer, is not the user's choice here.
    const std::size_t bit = static_cast<std::size_t>(key) & 0xFF;
    if (!m_keysDown.test(bit)) {
        return;
    }
    m_keysDown.reset(bit);
    if (m_host) {
        m_host->KeyUp(key);
        return;
    }
    ModelKeyUp(key);
}

void PopupWindow::OnTimer(UINT_PTR id) {
    if ((m_contextMenu.IsOpen() || (m_host && m_host->Busy())) && id != kFinishTimer) {
        return;  // the menu neither scrolls nor ends under its open context menu
    }
    if (id == kFinishTimer) {
        ::KillTimer(Hwnd(), kFinishTimer);
        OnFinishShowing();
        return;
    }
    const ViewState before = Snapshot();
    if (id == kScrollTimer) {
        m_model.ScrollTick();
    } else if (id == kWatchTimer) {
        POINT p{};
        ::GetCursorPos(&p);
        Element under{Element::Kind::Outside, -1};
        RECT window{};
        ::GetWindowRect(Hwnd(), &window);
        if (::PtInRect(&window, p)) {
            POINT c = p;
            ::ScreenToClient(Hwnd(), &c);
            RECT client{};
            ::GetClientRect(Hwnd(), &client);
            under =
                ::PtInRect(&client, c) ? HitAtClient(c.x, c.y) : Element{Element::Kind::Window, -1};
        }
        const HWND foreground = ::GetForegroundWindow();
        const Action action =
            m_host ? m_model.WatchTick(m_host->Owns(foreground), m_host->WatchedUnder(m_level, under))
                   : m_model.WatchTick(foreground == Hwnd(), under);
        if (action != Action::None) {
            Act(action);
            return;
        }
        if (m_host && m_level == 0) {
            Refresh(before);
            m_host->Tick();  // last: it may close or open levels
            return;
        }
    }
    Refresh(before);
}

void PopupWindow::Act(Action action) {
    switch (action) {
        case Action::None:
            return;
        case Action::ContextMenu:
            if (!ShowContextMenu()) {
                return;  // dismissed, or none for this item: back to the menu
            }
            break;
        case Action::Launch:
        case Action::LaunchElevated:
            Launch(action == Action::LaunchElevated);
            break;
        case Action::Close:
            break;
    }
    End();
}

void PopupWindow::End() {
    if (m_host) {
        m_host->End();
    } else {
        ::DestroyWindow(Hwnd());
    }
}

void PopupWindow::Hide() {
    if (m_host) {
        m_host->Quiet();
        return;
    }
    StopTimers();
    ::ShowWindow(Hwnd(), SW_HIDE);
    m_tooltip.Hide();
}

void PopupWindow::Launch(bool elevated) {
    const menufile::MenuItem& item = m_model.LaunchCell().Item;
    DWORD error = ERROR_SUCCESS;
    if (platform::ShellOpen(Hwnd(), item.Target, item.Arguments, item.StartIn, &error,
                            elevated ? "runas" : "Open")) {
        return;
    }
    if (error == ERROR_CANCELLED) {
        return;  // the user said no to the administrator prompt: nothing to tell
    }
    // Told after the menu is gone from the screen, so the message is what the user sees; the
    // watch must not end the menu (and the message with it) once the message has the foreground.
    Hide();
    // The system's words name the target where they have a place for it ("Bad EXE format for
    // %1.").
    const std::string reason = platform::SystemErrorText(error, {item.Target});
    ::MessageBoxW(nullptr, platform::Widen(LaunchFailedMessage(item.Target, reason)).c_str(),
                  platform::Widen(kMessageTitle).c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void PopupWindow::StopTimers() {
    ::KillTimer(Hwnd(), kScrollTimer);
    ::KillTimer(Hwnd(), kWatchTimer);
}

bool PopupWindow::ShowContextMenu() {
    const Cell& cell = m_model.LaunchCell();
    const auto index = static_cast<int>(&cell - m_model.Cells().data());
    // At the pointer when it is on the item (a right click), else below the item's caption (the
    // Apps key, Shift+F10).
    POINT at{};
    ::GetCursorPos(&at);
    POINT client = at;
    ::ScreenToClient(Hwnd(), &client);
    const Element under = HitAtClient(client.x, client.y);
    if (!((under.kind == Element::Kind::Cell || under.kind == Element::Kind::CellIcon) &&
          under.index == index)) {
        const auto [x, y] = m_model.Origin(Element{Element::Kind::Cell, index});
        at = {Px(x + m_model.CaptionLeft()), Px(y + m_model.CellHeight())};
        ::ClientToScreen(Hwnd(), &at);
    }
    m_tooltip.Pop();
    // The menu stays while its context menu is open: the watch and scroll timers wait.
    if (m_host) {
        m_host->SetBusy(true);
    }
    const platform::ContextMenuResult result = m_contextMenu.Show(Hwnd(), cell.Item.Target, at);
    if (m_host) {
        m_host->SetBusy(false);
    }
    m_keysDown.reset();  // what was pressed went to the context menu
    if (result != platform::ContextMenuResult::Chosen) {
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
        return false;
    }
    // A command such as Properties may open its window in this process: it must outlive the
    // menu, so the engine ends only once such a window has closed.
    Hide();
    platform::WaitForOwnWindows(Hwnd(), 1000);
    return true;
}

}  // namespace engine
