// The icons of the item list's rows: taken when a row is painted, kept for the rows on screen
// and a page either side, let go when the rows scroll out of that band.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>

#include "menufile/menu_file.h"
#include "menufile/row_band.h"

namespace editor {

// What a row's icon is taken from, by the item's icon source rule (menufile::ItemIconFor): two
// rows with the same key show the same icon. Empty for a separator, which shows none.
[[nodiscard]] std::string RowIconKey(const menufile::MenuItem& item, bool fromInternet);

// Pages of rows kept on either side of the rows on screen: a page up or down paints from the
// cache, and a list of any length holds a bounded number of icons.
inline constexpr std::size_t kListIconPagesAround = 1;

// Icons of the rows of the item list, by row. Each is kept under the key of what it was taken
// from (the item's icon source), so a row whose item changed, or that another item moved into,
// takes its icon anew. `Icon` is a copyable owner (a std::shared_ptr to the handle's owner):
// rows of the band with the same key share one icon, which is destroyed when the last row
// keeping it leaves the band or the cache is cleared.
template <class Icon>
class ListRowIcons {
public:
    // Before rows [first, last) are painted: drops the rows outside the kept band. A page is the
    // rows on screen (at least one).
    void Keep(std::size_t first, std::size_t last) {
        m_band = menufile::RowBand::Around(first, last, kListIconPagesAround);
        m_band.Trim(m_rows);
    }

    // The row's icon when it was taken for `key`; else one another row of the band keeps under
    // that key, now kept for this row too; else null (the caller takes it and Puts it).
    [[nodiscard]] const Icon* Find(std::size_t row, const std::string& key) {
        auto it = m_rows.find(row);
        if (it != m_rows.end() && it->second.Key == key) {
            return &it->second.Value;
        }
        for (const auto& [other, entry] : m_rows) {
            if (other != row && entry.Key == key) {
                return &Put(row, key, entry.Value);
            }
        }
        return nullptr;
    }

    // Keeps the row's icon while the row is in the band; one outside it is not kept (the
    // reference stays valid until the next call).
    const Icon& Put(std::size_t row, const std::string& key, Icon icon) {
        if (!m_band.Holds(row)) {
            m_outside = std::move(icon);
            return m_outside;
        }
        Entry& entry = m_rows[row];
        entry.Key = key;
        entry.Value = std::move(icon);
        return entry.Value;
    }

    // Every icon let go: the items changed as a whole, or the icons' size did.
    void Clear() {
        m_rows.clear();
        m_outside = Icon{};
    }

    [[nodiscard]] std::size_t Size() const { return m_rows.size(); }

private:
    struct Entry {
        std::string Key;
        Icon Value{};
    };
    std::map<std::size_t, Entry> m_rows;  // ordered: the band is cut at both ends
    Icon m_outside{};
    menufile::RowBand m_band;
};

}  // namespace editor
