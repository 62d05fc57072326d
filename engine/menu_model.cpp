// Layout, navigation, scrolling and the watch rules of the pop-up menu.
#include "engine/menu_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace engine {
namespace {

// The first `length` bytes of `text`, less a character they would split.
std::string_view WholeCharacters(std::string_view text, std::size_t length) {
    return text.substr(0, CharacterStart(text, length));
}

// A name of megabytes cannot be read in a tooltip, and would cost its layout dearly.
std::string TooltipOf(const std::string& name) {
    if (name.size() <= kTooltipLength) {
        return name;
    }
    return std::string(WholeCharacters(name, kTooltipLength)) + kEllipsis;
}

// How many leading bytes of `text` fit in `width`, asking about a start of it first: the
// system measures every byte it is given, and a screen holds far fewer than a long name has.
std::size_t FittingStart(std::string_view text, float width, const MeasureFit& fit) {
    for (std::size_t length = kMeasuredLength;; length *= 2) {
        if (length >= text.size()) {
            return fit(text, width);
        }
        // Half a character would be measured as a character of its own.
        const std::string_view start = WholeCharacters(text, length);
        if (const std::size_t n = fit(start, width); n < start.size()) {
            return n;
        }
    }
}

}  // namespace

int TwipsPerPixelForDpi(int dpi) {
    if (dpi <= 0) {
        return 15;
    }
    // Halves up in whole numbers: (2 * 1440 + dpi) / (2 * dpi) is 1440 / dpi + 1/2, floored.
    return std::max(1, (2 * 1440 + dpi) / (2 * dpi));
}

MeasureFit FitByWidth(MeasureWidth measure) {
    return [measure = std::move(measure)](std::string_view text, float width) {
        // Every length up to `low` fits; none beyond `high` does. A length inside a character
        // stands for the start of that character, so every one measured is whole characters.
        std::size_t low = 0;
        std::size_t high = text.size();
        while (low < high) {
            const std::size_t mid = low + (high - low + 1) / 2;
            if (measure(WholeCharacters(text, mid)) <= width) {
                low = mid;
            } else {
                high = mid - 1;
            }
        }
        return CharacterStart(text, low);
    };
}

MenuModel::MenuModel(const std::vector<menufile::MenuItem>& entries, bool smallIcons,
                     int twipsPerPixel, float textHeight, const MeasureWidth& measure,
                     const std::vector<Submenu>& submenus)
    : m_smallIcons(smallIcons), m_twipsPerPixel(twipsPerPixel), m_textHeight(textHeight) {
    // The square, not its pixels times the scale: at any scale other than 15 twips per pixel
    // the icon taken at the square's size would be cut by a cell sized from 32 or 16 pixels.
    const float icon = IconSquare();
    m_cellHeight = textHeight >= icon ? textHeight + 135 : icon + 120;
    m_iconTop = (m_cellHeight - icon) / 2;
    m_textTop = (m_cellHeight - textHeight) / 2;

    float top = 0;
    for (std::size_t at = 0; at < entries.size(); ++at) {
        const menufile::MenuItem& entry = entries[at];
        if (entry.IsSeparator()) {
            m_separators.push_back({top});
            top += kSeparatorHeight;
            continue;
        }
        // Only the first cell may lack a target; a later one would launch nothing.
        if (!m_cells.empty() && entry.Target.empty()) {
            continue;
        }
        Cell cell;
        cell.Item = entry;
        cell.Caption = entry.Name;
        // Far wider than any screen, or else made of letters too narrow to see: the layout
        // finds out how much of it fits.
        cell.CaptionWidth = cell.Caption.size() <= kMeasuredLength
                                ? measure(cell.Caption)
                                : std::numeric_limits<float>::infinity();
        cell.Top = top;
        cell.Opens = at < submenus.size() ? submenus[at] : Submenu::None;
        top += m_cellHeight;
        m_cells.push_back(std::move(cell));
    }
}

bool MenuModel::IsEmpty() const {
    return m_cells.empty() || (m_cells.size() == 1 && m_cells[0].Caption.empty());
}

float MenuModel::IconSquare() const {
    return m_smallIcons ? kSmallIconSquare : kLargeIconSquare;
}

float MenuModel::IconSize() const {
    // Rounded as the window rounds every twips value it paints.
    return std::nearbyint(IconSquare() / static_cast<float>(m_twipsPerPixel));
}

float MenuModel::IconWidth() const {
    return m_smallIcons ? kSmallIconSquare : kIconSurface;
}

float MenuModel::CaptionLeft() const {
    return m_smallIcons ? kSmallCaptionLeft : kLargeCaptionLeft;
}

void MenuModel::LayoutMenu(const Rect& monitor, float pointerX, float pointerY,
                           const MeasureWidth& measure) {
    LayoutMenu(monitor, pointerX, pointerY, measure, FitByWidth(measure));
}

void MenuModel::LayoutMenu(const Rect& monitor, float pointerX, float pointerY,
                           const MeasureWidth& measure, const MeasureFit& fit) {
    const float screenHeight = monitor.Bottom - monitor.Top;
    const float screenWidth = monitor.Right - monitor.Left;
    // A pointer on a taskbar or a docked bar counts as at the work area's edge beside it.
    m_left = std::clamp(pointerX, monitor.Left, std::max(monitor.Left, monitor.Right));
    m_top = std::clamp(pointerY, monitor.Top, std::max(monitor.Top, monitor.Bottom));
    const float pointerTop = m_top;

    m_listTop = 0;
    m_listHeight = static_cast<float>(m_cells.size()) * m_cellHeight +
                   static_cast<float>(m_separators.size()) * kSeparatorHeight + kListExtra;
    m_height = std::min(m_listHeight, screenHeight);

    // Keep the bottom on the monitor; where there is room above the pointer, open upward with
    // the bottom edge at the pointer.
    if (monitor.Bottom - m_height < m_top && monitor.Bottom - m_height >= monitor.Top) {
        m_top = monitor.Bottom - m_height;
    }
    if (pointerTop - m_top > 0 && pointerTop - monitor.Top >= m_height) {
        m_top = pointerTop - m_height;
    }

    float maxCaption = 0;
    const float half = screenWidth / 2;
    for (Cell& cell : m_cells) {
        if (cell.CaptionWidth + kCaptionRoom > half) {
            // The longest start that leaves the room free, asked for once: measuring start
            // after start would cost the square of the length.
            const std::size_t fits = FittingStart(cell.Caption, half - kCaptionRoom, fit);
            if (fits >= cell.Caption.size() && std::isinf(cell.CaptionWidth)) {
                cell.CaptionWidth = measure(cell.Caption);  // long, yet it fits whole
            }
            if (cell.CaptionWidth + kCaptionRoom > half) {
                cell.Tooltip = TooltipOf(cell.Item.Name);
                // Never the whole caption, which did not fit even if the fit says otherwise;
                // never part of a character.
                std::size_t kept = CharacterStart(
                    cell.Caption,
                    cell.Caption.empty() ? 0 : std::min(fits, cell.Caption.size() - 1));
                // Three more characters make way for the ending; a caption shorter than it
                // keeps nothing.
                for (int i = 0; i < 3 && kept > 0; ++i) {
                    kept = CharacterStart(cell.Caption, kept - 1);
                }
                cell.Caption.resize(kept);
                cell.Caption += kEllipsis;
                cell.CaptionWidth = measure(cell.Caption);
            }
        }
        maxCaption = std::max(maxCaption, cell.CaptionWidth);
    }
    m_cellWidth = maxCaption + (m_smallIcons ? kSmallCellExtra : kLargeCellExtra);
    if (std::any_of(m_cells.begin(), m_cells.end(),
                    [](const Cell& c) { return c.Opens != Submenu::None; })) {
        m_cellWidth += kArrowRoom;
    }
    m_width = m_cellWidth;

    // Flip to the left of the pointer; exactly touching the right edge does not flip.
    if (m_left + m_width > monitor.Right) {
        m_left -= m_width;
    }
    // Never past the left edge once flipped.
    m_left = std::max(m_left, monitor.Left);

    m_bottomStrip = m_listHeight > m_height;
    m_scrollTimer = m_bottomStrip;
    m_topStrip = false;
    m_current = -1;
}

void MenuModel::LayoutSubmenu(const Rect& monitor, const Rect& parent, float entryTop,
                              const MeasureWidth& measure, const MeasureFit& fit) {
    LayoutMenu(monitor, parent.Right, entryTop, measure, fit);
    m_left = parent.Right + m_width > monitor.Right ? parent.Left - m_width : parent.Right;
    m_left = std::max(m_left, monitor.Left);
    m_top = std::max(monitor.Top, std::min(entryTop, monitor.Bottom - m_height));
}

void MenuModel::GreyAll() {
    for (Cell& cell : m_cells) {
        cell.Greyed = true;
    }
}

void MenuModel::Select(int i) {
    if (i >= 0 && static_cast<std::size_t>(i) < m_cells.size()) {
        MoveHighlightTo(i);
    }
}

bool MenuModel::InsideCell(float x, float y) const {
    return x >= 0 && x <= m_cellWidth && y >= 0 && y <= m_cellHeight;
}

Element MenuModel::HitTest(float x, float y) const {
    using Kind = Element::Kind;
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return {Kind::Window, -1};
    }
    if (m_topStrip && y < kStripHeight) {
        return {Kind::TopStrip, -1};
    }
    if (m_bottomStrip && y >= BottomStripTop() && y < BottomStripTop() + kStripHeight) {
        return {Kind::BottomStrip, -1};
    }
    const float listY = y - m_listTop;
    if (listY < 0 || listY >= m_listHeight) {
        return {Kind::Window, -1};
    }
    // Cells are in order of their tops: the last one starting at or above the point.
    auto cell = std::upper_bound(m_cells.begin(), m_cells.end(), listY,
                                 [](float v, const Cell& c) { return v < c.Top; });
    if (cell != m_cells.begin()) {
        const Cell& c = *std::prev(cell);
        if (listY < c.Top + m_cellHeight) {
            const int index = static_cast<int>(std::prev(cell) - m_cells.begin());
            const float localY = listY - c.Top;
            const float iconBottom = std::min(m_iconTop + kIconSurface, m_cellHeight);
            if (x >= kIconLeft && x < kIconLeft + IconWidth() && localY >= m_iconTop &&
                localY < iconBottom) {
                return {Kind::CellIcon, index};
            }
            return {Kind::Cell, index};
        }
    }
    auto sep = std::upper_bound(m_separators.begin(), m_separators.end(), listY,
                                [](float v, const Separator& s) { return v < s.Top; });
    if (sep != m_separators.begin() && listY < std::prev(sep)->Top + kSeparatorHeight) {
        return {Kind::Separator, static_cast<int>(std::prev(sep) - m_separators.begin())};
    }
    return {Kind::ListFree, -1};
}

std::pair<float, float> MenuModel::Origin(const Element& e) const {
    using Kind = Element::Kind;
    switch (e.kind) {
        case Kind::Cell:
            return {0, m_listTop + m_cells[static_cast<std::size_t>(e.index)].Top};
        case Kind::CellIcon:
            return {kIconLeft,
                    m_listTop + m_cells[static_cast<std::size_t>(e.index)].Top + m_iconTop};
        case Kind::Separator:
            return {0, m_listTop + m_separators[static_cast<std::size_t>(e.index)].Top};
        case Kind::BottomStrip:
            return {0, BottomStripTop()};
        case Kind::ListFree:
            return {0, m_listTop};
        default:
            return {0, 0};
    }
}

std::pair<std::size_t, std::size_t> MenuModel::VisibleCells(float clientHeight) const {
    const float from = -m_listTop;
    const float to = -m_listTop + clientHeight;
    auto first =
        std::lower_bound(m_cells.begin(), m_cells.end(), from,
                         [&](const Cell& c, float v) { return c.Top + m_cellHeight <= v; });
    auto last = std::lower_bound(first, m_cells.end(), to,
                                 [](const Cell& c, float v) { return c.Top < v; });
    return {static_cast<std::size_t>(first - m_cells.begin()),
            static_cast<std::size_t>(last - m_cells.begin())};
}

std::pair<std::size_t, std::size_t> MenuModel::VisibleSeparators(float clientHeight) const {
    const float from = -m_listTop;
    const float to = -m_listTop + clientHeight;
    auto first =
        std::lower_bound(m_separators.begin(), m_separators.end(), from,
                         [](const Separator& s, float v) { return s.Top + kSeparatorHeight <= v; });
    auto last = std::lower_bound(first, m_separators.end(), to,
                                 [](const Separator& s, float v) { return s.Top < v; });
    return {static_cast<std::size_t>(first - m_separators.begin()),
            static_cast<std::size_t>(last - m_separators.begin())};
}

void MenuModel::HighlightItem(int i) {
    if (i >= 0 && static_cast<std::size_t>(i) < m_cells.size()) {
        m_cells[static_cast<std::size_t>(i)].Highlighted = true;
        m_cells[static_cast<std::size_t>(i)].IconHighlighted = true;
    }
}

void MenuModel::UnhighlightItem(int i) {
    if (i >= 0 && static_cast<std::size_t>(i) < m_cells.size()) {
        m_cells[static_cast<std::size_t>(i)].Highlighted = false;
        m_cells[static_cast<std::size_t>(i)].IconHighlighted = false;
    }
}

void MenuModel::PointerMove(const Element& target, float x, float y) {
    using Kind = Element::Kind;
    if (target.kind == Kind::TopStrip || target.kind == Kind::BottomStrip) {
        (target.kind == Kind::TopStrip ? m_scrollingUp : m_scrollingDown) = 1;
        // Only the cell and its caption go back to menu colours; the watch tick finishes.
        if (m_current >= 0) {
            m_cells[static_cast<std::size_t>(m_current)].Highlighted = false;
        }
        return;
    }
    if (target.kind != Kind::Cell && target.kind != Kind::CellIcon) {
        return;
    }
    if (!InsideCell(x, y)) {
        return;
    }
    m_scrollingUp = 0;
    m_scrollingDown = 0;
    if (m_keyboardMode == 0) {
        if (m_current != target.index && m_current != -1) {
            UnhighlightItem(m_current);
        }
        if (m_current != target.index) {
            HighlightItem(target.index);
            m_current = target.index;
        }
    }
    m_keyboardMode = 0;
}

Action MenuModel::ButtonUp(const Element& target, int button, float x, float y,
                           Modifiers modifiers) {
    using Kind = Element::Kind;
    if ((target.kind != Kind::Cell && target.kind != Kind::CellIcon) || !InsideCell(x, y) ||
        m_cells[static_cast<std::size_t>(target.index)].Greyed) {
        return Action::None;
    }
    if (button == kLeftButton) {
        m_launch = static_cast<std::size_t>(target.index);
        return modifiers.Ctrl && modifiers.Shift ? Action::LaunchElevated : Action::Launch;
    }
    if (button == kRightButton) {
        m_launch = static_cast<std::size_t>(target.index);
        return Action::ContextMenu;
    }
    return Action::None;
}

void MenuModel::SetListTop(float listTop) {
    // Never a gap below the last row nor above the first.
    m_listTop = std::clamp(listTop, std::min(0.0f, m_height - m_listHeight), 0.0f);
    m_topStrip = m_listTop < 0;
    m_bottomStrip = m_listTop + m_listHeight > m_height;
}

void MenuModel::ScrollTick() {
    if (!m_scrollTimer) {
        return;
    }
    if (m_scrollingUp == 1) {
        m_listTop += m_cellHeight / 2;
        if (m_listTop > 0) {
            m_listTop = 0;
            m_topStrip = false;
            m_scrollingUp = 0;
        }
        if (m_listHeight > m_height) {
            m_bottomStrip = true;
        }
    }
    if (m_scrollingDown == 1) {
        m_listTop -= m_cellHeight / 2;
        if (m_listTop + m_listHeight < m_height) {
            m_listTop = m_height - m_listHeight;
            m_bottomStrip = false;
            m_scrollingDown = 0;
        }
        if (m_listTop < 0) {
            m_topStrip = true;
        }
    }
}

Action MenuModel::WatchTick(bool foregroundIsSelf, const Element& under) {
    using Kind = Element::Kind;
    if (!foregroundIsSelf) {
        return Action::Close;
    }
    if (m_keyboardMode == 0 && m_current >= 0) {
        const bool overCurrentIcon = under.kind == Kind::CellIcon && under.index == m_current;
        const bool parentIsList = under.kind == Kind::Cell || under.kind == Kind::Separator;
        if (!overCurrentIcon && !parentIsList) {
            UnhighlightItem(m_current);
            m_current = -1;
        }
        const bool parentIsWindow = under.kind == Kind::ListFree || under.kind == Kind::TopStrip ||
                                    under.kind == Kind::BottomStrip;
        if (!parentIsWindow) {
            m_scrollingUp = 0;
            m_scrollingDown = 0;
        }
    }
    return Action::None;
}

}  // namespace engine
