// The rows a long list keeps things for (icons): those on screen and some pages either side, so
// a list of any length holds a bounded number while a page up or down finds them kept.
#pragma once

#include <algorithm>
#include <cstddef>

namespace menufile {

struct RowBand {
    std::size_t Low = 0;   // the first row kept
    std::size_t High = 0;  // one past the last

    // The band around rows [first, last) on screen and `pages` pages either side; a page is the
    // rows on screen, at least one.
    [[nodiscard]] static RowBand Around(std::size_t first, std::size_t last, std::size_t pages) {
        const std::size_t page = std::max<std::size_t>(1, last > first ? last - first : 0);
        const std::size_t around = pages * page;
        return {first - std::min(first, around), std::max(last, first) + around};
    }

    [[nodiscard]] bool Holds(std::size_t row) const { return row >= Low && row < High; }

    // Drops the entries of a map ordered by row that lie outside the band.
    template <class RowMap>
    void Trim(RowMap& rows) const {
        rows.erase(rows.begin(), rows.lower_bound(Low));
        rows.erase(rows.lower_bound(High), rows.end());
    }
};

}  // namespace menufile
