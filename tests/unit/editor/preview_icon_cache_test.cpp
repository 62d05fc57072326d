// The item icons the editor keeps: a few, extracted on demand, each destroyed once.
#include "editor/model/preview_icon_cache.h"

#include <gtest/gtest.h>

#include "editor_fixtures.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/windows_1252.h"

namespace {

using editor::PreviewIconCache;
using editor_test::FakeIcons;

TEST(PreviewIconCache, ExtractsOnceKeepsAFewAndDestroysWhatLeaves) {
    FakeIcons icons;
    {
        PreviewIconCache cache(icons, 3);
        const editor::IconHandle a = cache.Get("a.dll", 1);
        EXPECT_EQ(cache.Get("a.dll", 1), a);
        EXPECT_NE(cache.Get("a.dll", 2), a) << "another index is another icon";
        EXPECT_EQ(icons.Requests.size(), 2u);
        EXPECT_EQ(cache.Get("noicon.dll", 0), 0u);
        EXPECT_EQ(cache.Get("noicon.dll", 0), 0u);
        EXPECT_EQ(icons.Requests.size(), 3u) << "a file without the icon is not asked again";

        // a.dll#1 was used least recently of the three: the next one pushes it out.
        (void)cache.Get("a.dll", 2);
        (void)cache.Get("noicon.dll", 0);
        (void)cache.Get("b.dll", 0);
        EXPECT_EQ(cache.Size(), 3u);
        EXPECT_EQ(icons.Live.count(a), 0u) << "an icon that leaves is destroyed";
        EXPECT_EQ(icons.Live.size(), 2u);

        // Put replaces what was kept, and never evicts what was asked for last.
        const editor::IconHandle last = cache.Get("c.dll", 4);
        const editor::IconHandle chosen = icons.Extract("a.dll", 2);
        cache.Put("a.dll", 2, chosen);
        EXPECT_EQ(cache.Get("a.dll", 2), chosen);
        EXPECT_EQ(icons.Live.count(last), 1u);
        cache.Discard(icons.Extract("x.dll", 0));
        cache.Discard(0);
    }
    EXPECT_TRUE(icons.Live.empty()) << "every icon destroyed exactly once";
}

// A large menu whose items all have their own icon: loading extracts none, and previewing
// every row in turn never holds more than the cache's few.
TEST(PreviewIconCache, AMenuOfTenThousandOwnIconsHoldsAFewHandles) {
    platform::MemoryFileSystem fs;
    std::vector<std::string> lines;
    for (int i = 0; i < 10000; ++i) {
        lines.push_back(menufile::FormatItemLine({"Item " + std::to_string(i), "t.exe", "", "",
                                                  "C:\\icons.dll", std::to_string(i % 300)}));
    }
    fs.Put("C:\\big.tvl", editor_test::UserMenu(lines));
    FakeIcons icons;
    {
        editor::MenuEditor editor(fs, icons, test_support::Windows1252());
        ASSERT_EQ(editor.LoadEditorMenu("C:\\big.tvl"), editor::LoadStatus::Loaded);
        EXPECT_TRUE(icons.Requests.empty());
        std::size_t most = 0;
        for (int i = 0; i < 10000; i += 7) {
            EXPECT_NE(editor.PreviewIcon(i), 0u);
            most = std::max(most, icons.Live.size());
        }
        EXPECT_LE(most, PreviewIconCache::kCapacity);
    }
    EXPECT_TRUE(icons.Live.empty());
}

}  // namespace
