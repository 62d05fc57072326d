// The row icon cache's bound while a long menu scrolls, and which targets keep their own icon.
#include "engine/row_icon_cache.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A move-only icon that counts the live ones, as a handle owner would hold handles.
struct CountedIcon {
    std::unique_ptr<int, void (*)(int*)> handle{nullptr, [](int* p) { delete p; }};
    static int& Live() {
        static int live = 0;
        return live;
    }
    static CountedIcon Make(int row) {
        ++Live();
        return {std::unique_ptr<int, void (*)(int*)>(new int(row), [](int* p) {
            --Live();
            delete p;
        })};
    }
};

// Paints rows [first, first + page) as the window does: keep the band, resolve what is missing.
void Paint(engine::RowIconCache<CountedIcon>& cache, std::size_t first, std::size_t page,
           std::size_t rows, int& resolved) {
    const std::size_t last = std::min(first + page, rows);
    cache.Keep(first, last);
    for (std::size_t r = first; r < last; ++r) {
        if (!cache.Find(r)) {
            ++resolved;
            cache.Put(r, CountedIcon::Make(static_cast<int>(r)));
        }
        ASSERT_EQ(*cache.Find(r)->handle, static_cast<int>(r));
    }
}

TEST(RowIconCache, ScrollingThroughALongListKeepsTheIconsBounded) {
    CountedIcon::Live() = 0;
    constexpr std::size_t kRows = 10000;
    constexpr std::size_t kPage = 25;
    constexpr std::size_t kBound = (2 * engine::kIconPagesAround + 1) * kPage;
    int resolved = 0;
    {
        engine::RowIconCache<CountedIcon> cache;
        for (std::size_t first = 0; first + kPage <= kRows; first += 3) {  // down, by steps
            Paint(cache, first, kPage, kRows, resolved);
            ASSERT_LE(cache.Size(), kBound);
            ASSERT_EQ(CountedIcon::Live(), static_cast<int>(cache.Size())) << "dropped = destroyed";
        }
        EXPECT_EQ(resolved, static_cast<int>(kRows)) << "each row once on the way down";
        for (std::size_t first = kRows - kPage; first > 0;
             first -= std::min<std::size_t>(first, 7)) {
            Paint(cache, first, kPage, kRows, resolved);
            ASSERT_LE(cache.Size(), kBound);
        }
        Paint(cache, 0, kPage, kRows, resolved);
        EXPECT_LE(cache.Size(), kBound);
    }
    EXPECT_EQ(CountedIcon::Live(), 0) << "the cache's end destroys what it holds";
}

TEST(RowIconCache, RowsNearTheScreenStayResolved) {
    CountedIcon::Live() = 0;
    engine::RowIconCache<CountedIcon> cache;
    int resolved = 0;
    Paint(cache, 100, 20, 1000, resolved);
    EXPECT_EQ(resolved, 20);
    Paint(cache, 120, 20, 1000, resolved);  // a page down
    Paint(cache, 100, 20, 1000, resolved);  // and back up: nothing asked again
    EXPECT_EQ(resolved, 40);
    Paint(cache, 140, 20, 1000, resolved);  // two pages further down 100 is kept
    EXPECT_NE(cache.Find(100), nullptr);
    EXPECT_NE(cache.Find(159), nullptr);
    Paint(cache, 141, 20, 1000, resolved);  // one row further: row 100 falls out
    EXPECT_EQ(cache.Find(100), nullptr);
    EXPECT_NE(cache.Find(121), nullptr);

    // A jump (End, a drag) drops everything at once; the top of a list keeps no negative band.
    Paint(cache, 980, 20, 1000, resolved);
    EXPECT_EQ(cache.Size(), 20u);
    Paint(cache, 0, 20, 1000, resolved);
    EXPECT_EQ(cache.Size(), 20u);
    EXPECT_EQ(CountedIcon::Live(), 20);

    // An icon for a row outside the band is handed back but not kept.
    cache.Keep(0, 20);
    CountedIcon& far = cache.Put(500, CountedIcon::Make(500));
    EXPECT_EQ(*far.handle, 500);
    EXPECT_EQ(cache.Find(500), nullptr);
    EXPECT_EQ(cache.Size(), 20u);
    cache.Put(501, CountedIcon::Make(501));  // replaces the one held outside
    EXPECT_EQ(CountedIcon::Live(), 21);

    // An empty paint (a window with no rows on screen) keeps a band of one row.
    cache.Keep(5, 5);
    EXPECT_LE(cache.Size(), 2 * engine::kIconPagesAround + 1);
}

TEST(HasOwnIcon, ProgramsIconsShortcutsAndPercentOneTypes) {
    for (const char* own : {".exe", ".ico", ".lnk", ".cur", ".ani"}) {
        EXPECT_TRUE(engine::HasOwnIcon(own, "")) << own;
    }
    EXPECT_TRUE(engine::HasOwnIcon(".tvl", "%1"));
    EXPECT_TRUE(engine::HasOwnIcon(".tvl", "\"%1\""));
    EXPECT_TRUE(engine::HasOwnIcon(".tvl", " %1 "));
    EXPECT_FALSE(engine::HasOwnIcon(".txt", ""));
    EXPECT_FALSE(engine::HasOwnIcon(".txt", "C:\\windows\\notepad.exe,0"));
    EXPECT_FALSE(engine::HasOwnIcon(".txt", "%1,0")) << "a library named by the file is no icon";
    EXPECT_FALSE(engine::HasOwnIcon(".txt", "\"\""));
    EXPECT_FALSE(engine::HasOwnIcon("", "")) << "a name without extension is a document";
    EXPECT_FALSE(engine::HasOwnIcon(".EXE", "")) << "keys are lower case: the caller folds";
}

}  // namespace
