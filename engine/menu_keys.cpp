// The pop-up's keyboard and wheel: moving the highlight by keys, pages and typed names, and
// scrolling by the wheel.
#include <algorithm>
#include <cmath>
#include <string>

#include "engine/caption_text.h"
#include "engine/menu_model.h"

namespace engine {
namespace {

// More than any name is worth comparing against.
constexpr std::size_t kTypedLength = 1024;

}  // namespace

bool MenuModel::WhollyVisible(std::size_t i) const {
    const float top = m_listTop + m_cells[i].Top;
    return top >= (m_topStrip ? kStripHeight : 0) &&
           top + m_cellHeight <= (m_bottomStrip ? BottomStripTop() : m_height);
}

void MenuModel::MoveHighlightTo(int i) {
    m_scrollingUp = 0;
    m_scrollingDown = 0;
    if (m_current != i) {
        UnhighlightItem(m_current);
        m_current = i;
    }
    HighlightItem(i);
    // The first and the last cell bring the list's ends along: separators before or after them,
    // and the room below the last row.
    const auto index = static_cast<std::size_t>(i);
    const float top = index == 0 ? 0 : m_cells[index].Top;
    const float bottom =
        index + 1 == m_cells.size() ? m_listHeight : m_cells[index].Top + m_cellHeight;
    // Clear of the strips, which show wherever the list goes on beyond the window.
    const float lowest = index + 1 == m_cells.size() ? m_height : BottomStripTop();
    const float highest = index == 0 ? 0 : kStripHeight;
    float listTop = m_listTop;
    if (listTop + bottom > lowest) {
        listTop = lowest - bottom;
    }
    if (listTop + top < highest) {
        listTop = highest - top;  // a window lower than a cell shows the cell's top
    }
    SetListTop(listTop);
}

int MenuModel::PageTarget(bool down) const {
    const int n = static_cast<int>(m_cells.size());
    if (m_current < 0) {
        const auto [first, last] = VisibleCells(m_height);
        int found = -1;
        for (std::size_t i = first; i < last; ++i) {
            if (WhollyVisible(i) && (found < 0 || down)) {
                found = static_cast<int>(i);
            }
        }
        // A window lower than a cell shows none whole: the first one showing.
        return found >= 0 ? found : std::min(static_cast<int>(first), n - 1);
    }
    // The cell a page away, a page being the rows between the strips of a list that scrolls,
    // the whole window of one that does not: the last that ends
    // within it below the current cell's top, or the first that starts within it above the
    // current cell's bottom.
    const float from = m_cells[static_cast<std::size_t>(m_current)].Top;
    const float page = m_listHeight > m_height ? BottomStripTop() - kStripHeight : m_height;
    int target = 0;
    if (down) {
        const float limit = from + page;
        target = static_cast<int>(std::partition_point(m_cells.begin(), m_cells.end(),
                                                       [&](const Cell& c) {
                                                           return c.Top + m_cellHeight <= limit;
                                                       }) -
                                  m_cells.begin()) -
                 1;
        target = std::max(target, m_current + 1);
    } else {
        const float limit = from + m_cellHeight - page;
        target =
            static_cast<int>(std::partition_point(m_cells.begin(), m_cells.end(),
                                                  [&](const Cell& c) { return c.Top < limit; }) -
                             m_cells.begin());
        target = std::min(target, m_current - 1);
    }
    return std::clamp(target, 0, n - 1);
}

void MenuModel::KeyDown(int key, Modifiers) {
    m_keyboardMode = 1;
    const int n = static_cast<int>(m_cells.size());
    if (n == 0) {
        return;
    }
    if (key == kKeyHome || key == kKeyEnd || key == kKeyPageUp || key == kKeyPageDown) {
        MoveHighlightTo(key == kKeyHome  ? 0
                        : key == kKeyEnd ? n - 1
                                         : PageTarget(key == kKeyPageDown));
        return;
    }
    if (key == kKeyDown) {
        if (m_current >= n - 1) {
            UnhighlightItem(m_current);
            m_current = -1;
        }
        m_scrollingUp = 0;
        m_scrollingDown = 0;
        if (m_current >= 0) {
            UnhighlightItem(m_current);
        }
        ++m_current;
        HighlightItem(m_current);
        if (m_cellHeight + m_cells[static_cast<std::size_t>(m_current)].Top + m_listTop >
            m_height) {
            m_listTop -= m_cellHeight;
        }
        if (m_listTop < 0) {
            m_topStrip = true;
        }
    } else if (key == kKeyUp) {
        if (m_current <= 0) {
            // Wraps to the last cell without moving the view.
            m_current = 0;
            UnhighlightItem(0);
            m_current = n - 1;
            HighlightItem(n - 1);
            return;
        }
        m_scrollingUp = 0;
        m_scrollingDown = 0;
        UnhighlightItem(m_current);
        --m_current;
        HighlightItem(m_current);
        // Estimated from the index alone, separators not counted, as stored menus expect.
        if (-m_listTop > static_cast<float>(m_current) * m_cellHeight) {
            m_listTop += m_cellHeight;
        }
        if (m_listHeight > m_height) {
            m_bottomStrip = true;
        }
    }
    if (m_listTop + m_listHeight <= m_height) {
        m_listTop = m_height - m_listHeight;
        m_bottomStrip = false;
    }
    if (m_listTop >= 0) {
        m_listTop = 0;
        m_topStrip = false;
    }
}

Action MenuModel::KeyUp(int key, Modifiers modifiers) {
    if (m_current >= 0 && m_cells[static_cast<std::size_t>(m_current)].Greyed &&
        key != kKeyEscape) {
        return Action::None;
    }
    if (key == kKeyEnter && m_current >= 0) {
        m_launch = static_cast<std::size_t>(m_current);
        return modifiers.Ctrl && modifiers.Shift ? Action::LaunchElevated : Action::Launch;
    }
    if ((key == kKeyApps || (key == kKeyF10 && modifiers.Shift)) && m_current >= 0) {
        m_launch = static_cast<std::size_t>(m_current);
        return Action::ContextMenu;
    }
    if (key == kKeyEscape) {
        return Action::Close;
    }
    return Action::None;
}

void MenuModel::TypeCharacter(std::string_view character, unsigned timeMs) {
    if (character.empty()) {
        return;
    }
    const auto lead = static_cast<unsigned char>(character[0]);
    if (lead < 0x20 || lead == 0x7F) {
        return;  // Enter, Escape, Backspace, Tab and Ctrl+letters come as characters too
    }
    m_keyboardMode = 1;
    // Unsigned, so a clock that wraps between two characters still gives their distance.
    if (timeMs - m_typedAt > kTypeAheadPause) {
        m_typed.clear();
    }
    m_typedAt = timeMs;
    const bool extending = !m_typed.empty();
    if (m_typed.size() + character.size() <= kTypedLength) {
        m_typed += character;
    }
    if (m_cells.empty()) {
        return;
    }
    // A new text, or one character over and over, looks past the current cell; a longer text
    // may still match the current cell.
    std::string_view text = m_typed;
    int start = m_current + 1;
    if (const std::size_t once = RepeatedCharacter(m_typed); once > 0) {
        m_typed.resize(2 * once);  // held down, a key repeats for ever
        text = std::string_view(m_typed).substr(0, once);
    } else if (extending) {
        start = std::max(m_current, 0);
    }
    const int n = static_cast<int>(m_cells.size());
    for (int k = 0; k < n; ++k) {
        const int i = (start + k) % n;
        if (StartsWithoutCase(m_cells[static_cast<std::size_t>(i)].Item.Name, text)) {
            MoveHighlightTo(i);
            return;
        }
    }
}

void MenuModel::Wheel(int notches, int rowsPerNotch) {
    if (notches == 0 || rowsPerNotch == 0 || m_listHeight <= m_height) {
        return;
    }
    const float rows = rowsPerNotch < 0 ? std::max(1.0f, std::floor(m_height / m_cellHeight))
                                        : static_cast<float>(rowsPerNotch);
    SetListTop(m_listTop + static_cast<float>(notches) * rows * m_cellHeight);
}

}  // namespace engine
