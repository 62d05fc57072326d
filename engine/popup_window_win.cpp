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

namespace engine {
namespace {

constexpr char kClassName[] = "TarvelMenuPopup";
constexpr UINT_PTR kScrollTimer = 1;  // slides an over-tall list while resting on a strip
constexpr UINT_PTR kWatchTimer = 2;   // ends the menu when it loses the foreground
constexpr UINT kScrollInterval = 10;
constexpr UINT kWatchInterval = 5;
// Set off by the first paint: the icons and the tooltip come once that paint is on the screen,
// so the menu appears without waiting for the shell.
constexpr UINT_PTR kFinishTimer = 3;
// Posted by the accessible object's default action, with a cell index in wParam.
constexpr UINT kAccessibleLaunch = WM_APP + 0x4A1;

void FillSolid(HDC dc, const RECT& r, int systemColour) {
    ::FillRect(dc, &r, ::GetSysColorBrush(systemColour));
}

// The modifiers held with the key being handled.
Modifiers KeyModifiers() {
    return {::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_SHIFT) < 0};
}

// The modifiers a button message carries.
Modifiers ButtonModifiers(WPARAM wParam) {
    return {(wParam & MK_CONTROL) != 0, (wParam & MK_SHIFT) != 0};
}

}  // namespace

PopupWindow::PopupWindow(MenuModel& model, HFONT font, std::string title)
    : m_model(model),
      m_font(font),
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

bool PopupWindow::Show(HINSTANCE) {
    // Every pixel comes from OnPaint's buffer: no background brush.
    if (!RegisterWindowClass(kClassName, nullptr, nullptr)) {
        return false;
    }
    // No title, a dialog frame, not in the taskbar, above every normal window.
    if (!CreateWindowFor(kClassName, m_title.c_str(), WS_POPUP | WS_DLGFRAME,
                         WS_EX_TOOLWINDOW | WS_EX_TOPMOST, Px(m_model.Left()), Px(m_model.Top()),
                         Px(m_model.Width()), Px(m_model.Height()), nullptr)) {
        return false;
    }
    if (m_model.ScrollTimerEnabled()) {
        ::SetTimer(Hwnd(), kScrollTimer, kScrollInterval, nullptr);
    }
    ::SetTimer(Hwnd(), kWatchTimer, kWatchInterval, nullptr);
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, Px(m_model.Left()), Px(m_model.Top()), Px(m_model.Width()),
                   Px(m_model.Height()), SWP_NOMOVE);
    m_accessibility.Shown(Hwnd());
    return true;
}

void PopupWindow::OnFinishShowing() {
    m_showIcons = true;
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    platform::RegisterTooltipClass();
    m_tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (m_tooltip) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = Hwnd();
        tool.uId = 1;
        ::GetClientRect(Hwnd(), &tool.rect);
        tool.lpszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 600);
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
        case WM_ERASEBKGND:
            return 1;
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
            ::PostQuitMessage(0);
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
    if (!m_tooltip) {
        return;
    }
    const bool overCell =
        hovered.kind == Element::Kind::Cell || hovered.kind == Element::Kind::CellIcon;
    const int cell = overCell ? hovered.index : -1;
    if (cell == m_tooltipCell) {
        return;
    }
    m_tooltipCell = cell;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Hwnd();
    tool.uId = 1;
    const std::wstring text =
        cell >= 0 ? platform::Widen(m_model.Cells()[static_cast<std::size_t>(cell)].Tooltip)
                  : std::wstring();
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(m_tooltip, TTM_POP, 0, 0);
    ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
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
    const ViewState before = Snapshot();
    m_model.KeyDown(key, KeyModifiers());
    Refresh(before);
}

void PopupWindow::OnCharacter(wchar_t unit) {
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
    Act(m_model.KeyUp(key, KeyModifiers()));
}

void PopupWindow::OnTimer(UINT_PTR id) {
    if (m_contextMenu.IsOpen() && id != kFinishTimer) {
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
        const Action action = m_model.WatchTick(::GetForegroundWindow() == Hwnd(), under);
        if (action != Action::None) {
            Act(action);
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
    ::DestroyWindow(Hwnd());
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
    StopTimers();
    ::ShowWindow(Hwnd(), SW_HIDE);
    if (m_tooltip) {
        ::ShowWindow(m_tooltip, SW_HIDE);
    }
    ::MessageBoxW(
        nullptr,
        platform::Widen(LaunchFailedMessage(item.Target, platform::SystemErrorText(error))).c_str(),
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
    if (m_tooltip) {
        ::SendMessageW(m_tooltip, TTM_POP, 0, 0);
    }
    // The menu stays while its context menu is open: the watch and scroll timers wait.
    const platform::ContextMenuResult result = m_contextMenu.Show(Hwnd(), cell.Item.Target, at);
    m_keysDown.reset();  // what was pressed went to the context menu
    if (result != platform::ContextMenuResult::Chosen) {
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
        return false;
    }
    // A command such as Properties may open its window in this process: it must outlive the
    // menu, so the engine ends only once such a window has closed.
    StopTimers();
    ::ShowWindow(Hwnd(), SW_HIDE);
    platform::WaitForOwnWindows(Hwnd(), 1000);
    return true;
}

void PopupWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(Hwnd(), &ps);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    platform::UniqueMemoryDc memory(::CreateCompatibleDC(target));
    HDC dc = memory.get();
    platform::UniqueHbitmap buffer(::CreateCompatibleBitmap(target, client.right, client.bottom));
    platform::SelectGuard bitmap(dc, buffer.get());
    platform::SelectGuard font(dc, m_font);
    ::SetBkMode(dc, TRANSPARENT);
    FillSolid(dc, client, COLOR_MENU);

    const auto t = static_cast<float>(m_model.TwipsPerPixel());
    const float clientHeight = static_cast<float>(client.bottom) * t;
    const int width = client.right;
    auto [sepFirst, sepLast] = m_model.VisibleSeparators(clientHeight);
    for (std::size_t s = sepFirst; s < sepLast; ++s) {
        const float top = m_model.ListTop() + m_model.Separators()[s].Top;
        // An etched rule: shadow over light, one pixel apart.
        RECT dark{0, Px(top + kSeparatorDarkY), width, Px(top + kSeparatorDarkY) + 1};
        RECT light{0, Px(top + kSeparatorLightY), width, Px(top + kSeparatorLightY) + 1};
        FillSolid(dc, dark, COLOR_BTNSHADOW);
        FillSolid(dc, light, COLOR_3DHIGHLIGHT);
    }
    auto [first, last] = m_model.VisibleCells(clientHeight);
    m_icons.Keep(first, last);  // icons of rows far from the screen are destroyed
    for (std::size_t i = first; i < last; ++i) {
        DrawCell(dc, i, Px(m_model.ListTop() + m_model.Cells()[i].Top));
    }
    if (m_model.TopStripVisible()) {
        DrawStrip(dc, 0, true);
    }
    if (m_model.BottomStripVisible()) {
        DrawStrip(dc, Px(m_model.Height() - kStripHeight - kStripGap), false);
    }

    ::BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    if (!m_showIcons && !m_finishPosted) {
        m_finishPosted = true;
        ::SetTimer(Hwnd(), kFinishTimer, USER_TIMER_MINIMUM, nullptr);
    }
    ::EndPaint(Hwnd(), &ps);
}

void PopupWindow::DrawCell(HDC dc, std::size_t i, int top) {
    const Cell& cell = m_model.Cells()[i];
    const int height = Px(m_model.CellHeight());
    RECT body{0, top, Px(m_model.CellWidth()), top + height};
    FillSolid(dc, body, cell.Highlighted ? COLOR_HIGHLIGHT : COLOR_MENU);

    // The icon square is clipped by its cell, like a child of it.
    const int iconLeft = Px(kIconLeft);
    const int iconTop = top + Px(m_model.IconTop());
    RECT square{iconLeft, iconTop, iconLeft + Px(m_model.IconWidth()),
                std::min(iconTop + Px(kIconSurface), top + height)};
    FillSolid(dc, square, cell.IconHighlighted ? COLOR_HIGHLIGHT : COLOR_MENU);

    CellIcon* icon = m_icons.Find(i);
    if (m_showIcons && !icon) {  // the first paint shows captions only
        icon = &m_icons.Put(i, ResolveIcon(cell.Item));
    }
    // Always the square's size: an icon of another size is shrunk to it, never cut.
    const int size = static_cast<int>(m_model.IconSize());
    ::IntersectClipRect(dc, square.left, square.top, square.right, square.bottom);
    if (icon && icon->icon) {
        ::DrawIconEx(dc, iconLeft, iconTop, icon->icon.get(), size, size, 0, nullptr, DI_NORMAL);
    } else if (icon && icon->imageList) {
        // A list of smaller images only: centred, at its own size rather than blurred.
        const int inset = std::max(0, (size - icon->imageSize) / 2);
        platform::DrawShellImage(icon->imageList, icon->imageIndex, dc, iconLeft + inset,
                                 iconTop + inset);
    }
    ::SelectClipRgn(dc, nullptr);

    ::SetTextColor(dc, ::GetSysColor(cell.Highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    const std::wstring caption = platform::Widen(cell.Caption);
    ::TextOutW(dc, Px(m_model.CaptionLeft()), top + Px(m_model.TextTop()), caption.c_str(),
               static_cast<int>(caption.size()));
}

PopupWindow::CellIcon PopupWindow::ResolveIcon(const menufile::MenuItem& item) {
    // The item's own icon, else (and when that fails) the icon the shell shows for Target; both
    // taken at the square's size in pixels.
    const menufile::ItemIcon source = menufile::ItemIconOf(item);
    if (!source.File.empty()) {
        if (HICON own = platform::ExtractIconAtSize(source.File, source.Index,
                                                    static_cast<int>(m_model.IconSize()))) {
            CellIcon icon;
            icon.icon.reset(own);
            return icon;
        }
    }
    // A document shows its type's icon: the shell is asked once per type, not once per file.
    // Programs, shortcuts and the like (HasOwnIcon), folders, missing targets and addresses are
    // asked about themselves.
    if (IsExistingFile(item.Target)) {
        const std::string type =
            ExtensionKey(std::string_view(item.Target).substr(item.Target.find_last_of("\\/") + 1));
        auto [it, added] = m_typeIcons.try_emplace(type);
        SharedIcon& shared = it->second;
        if (added) {
            shared.own = HasOwnIcon(type, DefaultIconOf(type));
            platform::ShellInfo info;
            if (!shared.own && TypeIcon(type, m_model.SmallIcons(), info)) {
                shared.found = true;
                shared.imageList = info.imageList;
                shared.imageIndex = info.iconIndex;
            }
        }
        if (shared.found) {
            return ShellIcon(shared.imageList, shared.imageIndex);
        }
    }
    platform::ShellInfo info;
    if (platform::GetShellInfo(item.Target, m_model.SmallIcons(), info)) {
        return ShellIcon(info.imageList, info.iconIndex);
    }
    return {};
}

PopupWindow::CellIcon PopupWindow::ShellIcon(HIMAGELIST fallback, int index) const {
    const int size = static_cast<int>(m_model.IconSize());
    platform::ShellImageList list = platform::SystemImageListFor(size);
    if (list.list == nullptr) {
        list = {fallback, platform::ImageListIconSize(fallback)};
    }
    CellIcon icon;
    if (list.size > size) {
        // Larger images are shrunk to the square; taken out of the list once, when the row is
        // resolved, not at every paint.
        icon.icon.reset(platform::ImageListIcon(list.list, index));
        return icon;
    }
    icon.imageList = list.list;
    icon.imageIndex = index;
    icon.imageSize = list.size > 0 ? list.size : size;  // unknown: taken as the square's
    return icon;
}

void PopupWindow::DrawStrip(HDC dc, int top, bool pointingUp) {
    const int width = Px(m_model.Width());
    RECT strip{0, top, width, top + Px(kStripHeight)};
    FillSolid(dc, strip, COLOR_MENU);
    // The triangle of a 480-twip image centred on the strip: rows of 1, 3 and 5 units from 45
    // twips down, a unit being a pixel at 96 dots per inch and as many whole pixels as come
    // closest at other scales. In the menu's text colour, so it shows on any menu colour.
    const int unit = std::max(1, Px(15));
    const int image = Px(kIconSurface);
    const int apexLeft = (width - image) / 2 + (image - unit) / 2;
    const int triangleTop = top + Px(45);
    for (int row = 0; row < 3; ++row) {
        const int half = (pointingUp ? row : 2 - row) * unit;
        RECT line{apexLeft - half, triangleTop + row * unit, apexLeft + unit + half,
                  triangleTop + (row + 1) * unit};
        FillSolid(dc, line, COLOR_MENUTEXT);
    }
}

}  // namespace engine
