// The pop-up menu window. One window for the whole list, painted double-buffered from the
// model and only where cells are visible, so a folder of 10,000 entries costs no handles.
#include "engine/popup_window_win.h"

#include <windowsx.h>

#include <cmath>

#include "platform/shell_win.h"
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

void FillSolid(HDC dc, const RECT& r, int systemColour) {
    ::FillRect(dc, &r, ::GetSysColorBrush(systemColour));
}

}  // namespace

PopupWindow::PopupWindow(MenuModel& model, HFONT font)
    : m_model(model), m_font(font), m_icons(model.Cells().size()) {}

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
    if (!CreateWindowFor(kClassName, "", WS_POPUP | WS_DLGFRAME, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                         Px(m_model.Left()), Px(m_model.Top()), Px(m_model.Width()),
                         Px(m_model.Height()), nullptr)) {
        return false;
    }
    if (m_model.ScrollTimerEnabled()) {
        ::SetTimer(Hwnd(), kScrollTimer, kScrollInterval, nullptr);
    }
    ::SetTimer(Hwnd(), kWatchTimer, kWatchInterval, nullptr);
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, Px(m_model.Left()), Px(m_model.Top()),
                   Px(m_model.Width()), Px(m_model.Height()), SWP_NOMOVE);
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
            OnButtonUp(kLeftButton, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_RBUTTONUP:
            OnButtonUp(kRightButton, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_MBUTTONUP:
            OnButtonUp(kMiddleButton, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(static_cast<int>(wParam));
            return 0;
        case WM_KEYUP:
            OnKeyUp(static_cast<int>(wParam));
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_CAPTURECHANGED:
            m_capturing = false;
            return 0;
        case WM_DESTROY:
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
    const bool overCell = hovered.kind == Element::Kind::Cell ||
                          hovered.kind == Element::Kind::CellIcon;
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

void PopupWindow::OnButtonUp(int button, int x, int y) {
    const Element target = m_capturing ? m_captured : HitAtClient(x, y);
    if (m_capturing) {
        ::ReleaseCapture();
        m_capturing = false;
    }
    float lx = 0;
    float ly = 0;
    ToPointer(target, x, y, lx, ly);
    Act(m_model.ButtonUp(target, button, lx, ly));
}

void PopupWindow::OnKeyDown(int key) {
    const ViewState before = Snapshot();
    m_model.KeyDown(key);
    Refresh(before);
}

void PopupWindow::OnKeyUp(int key) { Act(m_model.KeyUp(key)); }

void PopupWindow::OnTimer(UINT_PTR id) {
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
            under = ::PtInRect(&client, c) ? HitAtClient(c.x, c.y)
                                           : Element{Element::Kind::Window, -1};
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
    if (action == Action::Launch) {
        const Entry& item = m_model.LaunchCell().Item;
        platform::ShellOpen(Hwnd(), item.Target, item.Arguments, item.StartIn);
    }
    if (action != Action::None) {
        ::DestroyWindow(Hwnd());
    }
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

    CellIcon& icon = m_icons[i];
    if (!m_showIcons) {
        // First paint: captions only.
    } else if (!icon.resolved) {
        icon.resolved = true;
        // The item's own icon, else (and when that fails) the icon the shell shows for Target.
        const Entry& item = cell.Item;
        const menufile::ItemIcon source = menufile::ItemIconOf(item);
        HICON large = nullptr;
        HICON small = nullptr;
        if (!source.File.empty() &&
            platform::ExtractIconPair(source.File, source.Index, large, small)) {
            platform::UniqueHicon largeOwner(large);
            platform::UniqueHicon smallOwner(small);
            icon.icon = std::move(m_model.SmallIcons() ? smallOwner : largeOwner);
        }
        platform::ShellInfo info;
        if (!icon.icon && platform::GetShellInfo(item.Target, m_model.SmallIcons(), info)) {
            icon.imageList = info.imageList;
            icon.imageIndex = info.iconIndex;
        }
    }
    const int size = static_cast<int>(m_model.IconSize());
    ::IntersectClipRect(dc, square.left, square.top, square.right, square.bottom);
    if (icon.icon) {
        ::DrawIconEx(dc, iconLeft, iconTop, icon.icon.get(), size, size, 0, nullptr, DI_NORMAL);
    } else if (icon.imageList) {
        platform::DrawShellImage(icon.imageList, icon.imageIndex, dc, iconLeft, iconTop);
    }
    ::SelectClipRgn(dc, nullptr);

    ::SetTextColor(dc, ::GetSysColor(cell.Highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    const std::wstring caption = platform::Widen(cell.Caption);
    ::TextOutW(dc, Px(m_model.CaptionLeft()), top + Px(m_model.TextTop()), caption.c_str(),
               static_cast<int>(caption.size()));
}

void PopupWindow::DrawStrip(HDC dc, int top, bool pointingUp) {
    const int width = Px(m_model.Width());
    RECT strip{0, top, width, top + Px(kStripHeight)};
    FillSolid(dc, strip, COLOR_MENU);
    // A 32-pixel image centred on the strip; its triangle sits in pixel rows 3 to 5.
    const int imageLeft = (width - 32) / 2;
    HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    for (int row = 0; row < 3; ++row) {
        const int half = pointingUp ? row : 2 - row;
        RECT line{imageLeft + 15 - half, top + 3 + row, imageLeft + 16 + half, top + 4 + row};
        ::FillRect(dc, &line, black);
    }
}

}  // namespace engine
