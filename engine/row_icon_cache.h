// Which rows of a long menu keep their icons, and which targets show an icon of their own.
#pragma once

#include <cstddef>
#include <map>
#include <string_view>

#include "menufile/row_band.h"

namespace engine {

// Pages of rows kept on either side of the rows on screen: a page up or down paints at once.
inline constexpr std::size_t kIconPagesAround = 2;

// Icons of the rows of a list, resolved when a row is painted and kept only for the rows on
// screen and kIconPagesAround pages either side, so the icons held (and their handles) stay
// bounded however far the list scrolls. `Icon` is a move-only owner; a row that falls out of
// the band is destroyed with it.
template <class Icon>
class RowIconCache {
public:
    // Before rows [first, last) are painted: drops the rows outside the kept band. A page is
    // the rows on screen (at least one).
    void Keep(std::size_t first, std::size_t last) {
        m_band = menufile::RowBand::Around(first, last, kIconPagesAround);
        m_band.Trim(m_rows);
    }

    // The row's icon; null before it is resolved.
    [[nodiscard]] Icon* Find(std::size_t row) {
        auto it = m_rows.find(row);
        return it == m_rows.end() ? nullptr : &it->second;
    }

    // Keeps the row's icon while the row is in the band Keep set; one outside it is not kept
    // (the caller's stays valid until the next call).
    Icon& Put(std::size_t row, Icon icon) {
        if (!m_band.Holds(row)) {
            m_outside = std::move(icon);
            return m_outside;
        }
        return m_rows.insert_or_assign(row, std::move(icon)).first->second;
    }

    [[nodiscard]] std::size_t Size() const { return m_rows.size(); }

private:
    std::map<std::size_t, Icon> m_rows;  // ordered: the band is cut at both ends
    Icon m_outside{};
    menufile::RowBand m_band;
};

// True when a file of this type shows an icon of its own rather than its type's: programs,
// icons, cursors and shortcuts, and types whose DefaultIcon is "%1". `extension` is an
// ExtensionKey (".exe"); `defaultIcon` the type's DefaultIcon value, empty when it has none.
[[nodiscard]] bool HasOwnIcon(std::string_view extension, std::string_view defaultIcon);

}  // namespace engine
