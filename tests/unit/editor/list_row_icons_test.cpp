// The item list's row icons: the band kept while the list scrolls, icons that follow their
// items, and the keys that say which rows show the same icon.
#include "editor/model/list_row_icons.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using editor::ListRowIcons;
using menufile::MenuItem;

// An icon owner that counts the live ones, as the list's owners hold icon handles.
struct CountedIcon {
    explicit CountedIcon(std::string from) : From(std::move(from)) { ++Live(); }
    ~CountedIcon() { --Live(); }
    CountedIcon(const CountedIcon&) = delete;
    CountedIcon& operator=(const CountedIcon&) = delete;
    static int& Live() {
        static int live = 0;
        return live;
    }
    std::string From;
};
using Icons = ListRowIcons<std::shared_ptr<const CountedIcon>>;

// Paints rows [first, first + page) as the list does: keeps the band, then takes each row's
// icon from the cache or anew. `keys` holds each row's key; returns how many were taken anew.
int Paint(Icons& icons, const std::vector<std::string>& keys, std::size_t first, std::size_t page) {
    const std::size_t last = std::min(first + page, keys.size());
    icons.Keep(first, last);
    int taken = 0;
    for (std::size_t row = first; row < last; ++row) {
        const std::shared_ptr<const CountedIcon>* icon = icons.Find(row, keys[row]);
        if (icon == nullptr) {
            ++taken;
            icon = &icons.Put(row, keys[row], std::make_shared<const CountedIcon>(keys[row]));
        }
        EXPECT_EQ((*icon)->From, keys[row]) << "row " << row << " shows another item's icon";
    }
    return taken;
}

std::vector<std::string> DistinctKeys(std::size_t rows) {
    std::vector<std::string> keys;
    for (std::size_t row = 0; row < rows; ++row) {
        keys.push_back("item " + std::to_string(row));
    }
    return keys;
}

TEST(ListRowIcons, ScrollingByPagesKeepsTheScreenAndAPageEitherSide) {
    CountedIcon::Live() = 0;
    constexpr std::size_t kPage = 25;
    constexpr std::size_t kBound = (2 * editor::kListIconPagesAround + 1) * kPage;
    const std::vector<std::string> keys = DistinctKeys(10000);
    {
        Icons icons;
        int taken = 0;
        for (std::size_t first = 0; first + kPage <= keys.size(); first += kPage) {
            taken += Paint(icons, keys, first, kPage);
            ASSERT_LE(icons.Size(), kBound);
            ASSERT_EQ(CountedIcon::Live(), static_cast<int>(icons.Size()))
                << "an icon that left the band is destroyed";
        }
        EXPECT_EQ(taken, 10000) << "each row once on the way down";

        // A page back up and down again is drawn from the cache; two pages back is not kept.
        EXPECT_EQ(Paint(icons, keys, 10000 - 2 * kPage, kPage), 0);
        EXPECT_EQ(Paint(icons, keys, 10000 - kPage, kPage), 0);
        EXPECT_EQ(Paint(icons, keys, 10000 - 3 * kPage, kPage), static_cast<int>(kPage));

        // A jump to the top lets go of everything that was kept; the top has no band above it.
        EXPECT_EQ(Paint(icons, keys, 0, kPage), static_cast<int>(kPage));
        EXPECT_EQ(icons.Size(), kPage);

        // An icon for a row outside the band is handed back but not kept.
        const auto& far = icons.Put(5000, "far", std::make_shared<const CountedIcon>("far"));
        EXPECT_EQ(far->From, "far");
        EXPECT_EQ(icons.Find(5000, "far"), nullptr);
        EXPECT_EQ(icons.Size(), kPage);
    }
    EXPECT_EQ(CountedIcon::Live(), 0) << "the cache's end destroys what it holds";
}

TEST(ListRowIcons, IconsFollowTheirItemsAndRowsOfOneSourceShareOne) {
    CountedIcon::Live() = 0;
    Icons icons;
    std::vector<std::string> keys = DistinctKeys(100);
    EXPECT_EQ(Paint(icons, keys, 40, 20), 20);

    // Row 45 deleted: the rows below move up one and keep their icons; the row that comes
    // into view at the bottom is taken anew, and the deleted item's icon goes.
    keys.erase(keys.begin() + 45);
    EXPECT_EQ(Paint(icons, keys, 40, 20), 1);
    EXPECT_EQ(Paint(icons, keys, 40, 20), 0);
    EXPECT_EQ(CountedIcon::Live(), 20) << "the deleted item's icon is destroyed";

    // An item whose icon changed takes the new one in its row.
    keys[50] = "changed";
    EXPECT_EQ(Paint(icons, keys, 40, 20), 1);

    // Rows of one source (a menu of the same program many times) share one icon.
    icons.Clear();
    EXPECT_EQ(CountedIcon::Live(), 0);
    const std::vector<std::string> same(1000, "notepad");
    EXPECT_EQ(Paint(icons, same, 0, 30), 1);
    EXPECT_EQ(CountedIcon::Live(), 1);
    for (std::size_t first = 30; first < 900; first += 30) {
        ASSERT_EQ(Paint(icons, same, first, 30), 0) << "at " << first;
    }
    EXPECT_EQ(CountedIcon::Live(), 1);
    icons.Clear();
    EXPECT_EQ(CountedIcon::Live(), 0);
}

TEST(RowIconKey, RowsThatShowTheSameIconShareAKeyAndOthersDoNot) {
    const MenuItem own{"A", "C:\\a.exe", "", "", "C:\\icons.dll", "3"};
    const MenuItem ofTarget{"A", "C:\\a.exe", "", "", "", "2"};
    const MenuItem shell{"A", "C:\\a.exe", "", "", "", "0"};
    const MenuItem shellNoIndex{"B", "C:\\a.exe", "", "", "", ""};
    const std::set<std::string> distinct = {
        editor::RowIconKey(own, false),
        editor::RowIconKey({"A", "C:\\a.exe", "", "", "C:\\icons.dll", "4"}, false),
        editor::RowIconKey({"A", "C:\\a.exe", "", "", "C:\\other.dll", "3"}, false),
        editor::RowIconKey(ofTarget, false),
        editor::RowIconKey(shell, false),
        editor::RowIconKey({"A", "C:\\b.exe", "", "", "", "0"}, false),
    };
    EXPECT_EQ(distinct.size(), 6u) << "each shows another icon";
    EXPECT_EQ(editor::RowIconKey(shell, false), editor::RowIconKey(shellNoIndex, false))
        << "the name is not the icon, and an index of 0 is the shell's icon as none is";
    EXPECT_EQ(editor::RowIconKey(MenuItem::Separator(), false), "") << "a separator has none";

    // A menu from the Internet takes no icon from another machine: the shell's is shown.
    const MenuItem remote{"A", "C:\\a.exe", "", "", "\\\\server\\share\\icons.dll", "3"};
    EXPECT_NE(editor::RowIconKey(remote, false), editor::RowIconKey(shell, false));
    EXPECT_EQ(editor::RowIconKey(remote, true), editor::RowIconKey(shell, true));
}

}  // namespace
