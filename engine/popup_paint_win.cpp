// The pop-up's painting: double-buffered, from the layout model, only the visible cells.
#include <algorithm>

#include "engine/engine_platform_win.h"
#include "engine/popup_window_win.h"
#include "platform/text_win.h"

namespace engine {
namespace {

// The DC's own brush: no brush is made or kept for a colour.
void FillSolid(HDC dc, const RECT& r, Colour colour) {
    ::SetDCBrushColor(dc, ColorRefOf(colour));
    ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

}  // namespace

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
    FillSolid(dc, client, m_palette.Background);

    const auto t = static_cast<float>(m_model.TwipsPerPixel());
    const float clientHeight = static_cast<float>(client.bottom) * t;
    const int width = client.right;
    auto [sepFirst, sepLast] = m_model.VisibleSeparators(clientHeight);
    for (std::size_t s = sepFirst; s < sepLast; ++s) {
        const float top = m_model.ListTop() + m_model.Separators()[s].Top;
        // An etched rule: shadow over light, one pixel apart.
        RECT dark{0, Px(top + kSeparatorDarkY), width, Px(top + kSeparatorDarkY) + 1};
        RECT light{0, Px(top + kSeparatorLightY), width, Px(top + kSeparatorLightY) + 1};
        FillSolid(dc, dark, m_palette.SeparatorDark);
        FillSolid(dc, light, m_palette.SeparatorLight);
    }
    auto [first, last] = m_model.VisibleCells(clientHeight);
    m_icons.Keep(first, last);  // icons of rows far from the screen are destroyed
    // Asked before its icons are taken: once the worker is done, all it found is taken here,
    // and a row still without an icon is not the worker's to bring.
    m_iconLoaderDone = !m_iconLoader.Busy();
    for (IconLoader::Found& found : m_iconLoader.TakeFound()) {
        (void)m_icons.Put(found.cell, std::move(found.icon));
    }
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
    FillSolid(dc, body, cell.Highlighted ? m_palette.Highlight : m_palette.Background);

    // The icon square is clipped by its cell, like a child of it.
    const int iconLeft = Px(kIconLeft);
    const int iconTop = top + Px(m_model.IconTop());
    RECT square{iconLeft, iconTop, iconLeft + Px(m_model.IconWidth()),
                std::min(iconTop + Px(kIconSurface), top + height)};
    FillSolid(dc, square, cell.IconHighlighted ? m_palette.Highlight : m_palette.Background);

    CellIcon* icon = m_icons.Find(i);
    // The first paint shows captions only, and those the worker found; while it works on,
    // the rest wait for it.
    if (m_showIcons && !icon && m_iconLoaderDone) {
        icon = &m_icons.Put(i, m_iconSource.Resolve(cell.Item, static_cast<int>(m_model.IconSize()),
                                                    m_model.SmallIcons()));
    }
    // Always the square's size: an icon of another size is shrunk to it, never cut.
    const int size = static_cast<int>(m_model.IconSize());
    ::IntersectClipRect(dc, square.left, square.top, square.right, square.bottom);
    if (icon) {
        DrawCellIcon(dc, *icon, iconLeft, iconTop, size);
    }
    ::SelectClipRgn(dc, nullptr);

    const Colour text = cell.Greyed        ? m_palette.GreyedText
                        : cell.Highlighted ? m_palette.HighlightText
                                           : m_palette.Text;
    ::SetTextColor(dc, ColorRefOf(text));
    const std::wstring caption = platform::Widen(cell.Caption);
    ::TextOutW(dc, Px(m_model.CaptionLeft()), top + Px(m_model.TextTop()), caption.c_str(),
               static_cast<int>(caption.size()));
    if (cell.Opens != Submenu::None) {
        DrawArrow(dc, top, ColorRefOf(text));
    }
}

void PopupWindow::DrawArrow(HDC dc, int top, COLORREF colour) {
    // A solid triangle pointing right, centred on the cell: columns one pixel wide, each two
    // pixels shorter than the one before, as the system draws its submenu arrow.
    const int height = Px(kArrowHeight) | 1;
    const int columns = (height + 1) / 2;
    const int right = Px(m_model.CellWidth() - kArrowRight);
    const int middle = top + Px(m_model.CellHeight()) / 2;
    ::SetDCBrushColor(dc, colour);
    const auto brush = static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
    for (int c = 0; c < columns; ++c) {
        const int half = columns - 1 - c;
        const int x = right - columns + c;
        RECT column{x, middle - half, x + 1, middle + half + 1};
        ::FillRect(dc, &column, brush);
    }
}

void PopupWindow::DrawStrip(HDC dc, int top, bool pointingUp) {
    const int width = Px(m_model.Width());
    RECT strip{0, top, width, top + Px(kStripHeight)};
    FillSolid(dc, strip, m_palette.Background);
    // The triangle of a 480-twip image centred on the strip: rows of 1, 3 and 5 units from 45
    // twips down, a unit being a pixel at 96 dots per inch and as many whole pixels as come
    // closest at other scales.
    const int unit = std::max(1, Px(15));
    const int image = Px(kIconSurface);
    const int apexLeft = (width - image) / 2 + (image - unit) / 2;
    const int triangleTop = top + Px(45);
    for (int row = 0; row < 3; ++row) {
        const int half = (pointingUp ? row : 2 - row) * unit;
        RECT line{apexLeft - half, triangleTop + row * unit, apexLeft + unit + half,
                  triangleTop + (row + 1) * unit};
        FillSolid(dc, line, m_palette.StripArrow);
    }
}

void PopupWindow::OnNcPaint() {
    HDC dc = ::GetWindowDC(Hwnd());
    if (!dc) {
        return;
    }
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    RECT outer{0, 0, window.right - window.left, window.bottom - window.top};
    // Only the frame: the client area is the paint buffer's.
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    POINT origin{0, 0};
    ::ClientToScreen(Hwnd(), &origin);
    const int left = origin.x - window.left;
    const int top = origin.y - window.top;
    ::ExcludeClipRect(dc, left, top, left + client.right, top + client.bottom);
    FillSolid(dc, outer, *m_palette.Border);
    ::InflateRect(&outer, -1, -1);
    FillSolid(dc, outer, m_palette.Background);
    ::ReleaseDC(Hwnd(), dc);
}

}  // namespace engine
