// A library's icon groups read from resource bytes: the images in the group's order, each once,
// and never more bytes than the library holds, however the group is crafted.
#include "editor/imaging/icon_resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

// A group listing `ids`, its entry count `count` (the ids' number unless given).
std::string Group(const std::vector<std::uint16_t>& ids, int count = -1) {
    std::string g;
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) {
            g += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    put(0, 2);
    put(1, 2);
    put(static_cast<std::uint32_t>(count < 0 ? static_cast<int>(ids.size()) : count), 2);
    for (std::uint16_t id : ids) {
        g.append(12, '\x20');  // size, colours, planes, depth, bytes: not what is read
        put(id, 2);
    }
    return g;
}

struct Library {
    std::map<std::uint16_t, std::string> Icons;
    mutable int Asked = 0;

    std::string_view operator()(std::uint16_t id) const {
        ++Asked;
        const auto found = Icons.find(id);
        return found == Icons.end() ? std::string_view() : std::string_view(found->second);
    }
};

std::vector<std::string> Bytes(const std::vector<editor::LibraryImage>& images) {
    std::vector<std::string> out;
    for (const editor::LibraryImage& image : images) {
        out.push_back(image.Bytes);
    }
    return out;
}

TEST(IconGroup, GivesTheImagesInTheGroupsOrderEachOnce) {
    const Library library{{{1, "one"}, {2, "two"}, {7, "seven"}}};
    EXPECT_EQ(Bytes(editor::GroupIconImages(Group({7, 1, 2}), std::cref(library), 1000)),
              (std::vector<std::string>{"seven", "one", "two"}));
    EXPECT_EQ(Bytes(editor::GroupIconImages(Group({2, 9, 1}), std::cref(library), 1000)),
              (std::vector<std::string>{"two", "one"}))
        << "an image the library lacks is left out";
    EXPECT_EQ(editor::GroupIconIds(Group({1, 2, 7}, 2)), (std::vector<std::uint16_t>{1, 2}))
        << "only the entries it counts";
    std::string cut = Group({1, 2, 7});
    cut.pop_back();
    EXPECT_EQ(editor::GroupIconIds(cut), (std::vector<std::uint16_t>{1, 2}))
        << "a group cut short: the entries that fit";
    EXPECT_TRUE(editor::GroupIconIds("").empty());
}

TEST(IconGroup, ACraftedGroupCopiesNoMoreThanTheLibraryHolds) {
    // 65,535 entries that all name the same large image: one copy of it, asked for once.
    const Library library{{{3, std::string(1 << 20, 'x')}, {4, std::string(100, 'y')}}};
    const std::vector<std::uint16_t> same(65535, 3);
    const auto images = editor::GroupIconImages(Group(same), std::cref(library), 2 << 20);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(library.Asked, 1);
    // Distinct images that together outgrow the library (its resources would overlap).
    EXPECT_TRUE(editor::GroupIconImages(Group({3, 4}), std::cref(library), 1 << 20).empty());
    EXPECT_EQ(editor::GroupIconImages(Group({3, 4}), std::cref(library), (1 << 20) + 100).size(),
              2u);
}

}  // namespace
