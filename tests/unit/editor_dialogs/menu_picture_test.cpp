// Reading a menu's picture for its preview: icon file entries by size, bitmap parts, and
// nothing at all from bytes that are neither or are cut short.
#include "editor/imaging/menu_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/model/appearance.h"

namespace {

using namespace std::string_literals;

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// An icon file whose entries' images are the text "image <size>".
std::string IconFile(const std::vector<int>& sizes) {
    std::string head;
    PutLe(head, 0, 2);
    PutLe(head, 1, 2);
    PutLe(head, static_cast<std::uint32_t>(sizes.size()), 2);
    std::string images;
    const std::size_t first = 6 + 16 * sizes.size();
    for (int size : sizes) {
        const std::string image = "image " + std::to_string(size);
        head += static_cast<char>(size == 256 ? 0 : size);
        head += static_cast<char>(size == 256 ? 0 : size);
        head += "\0\0"s;
        PutLe(head, 1, 2);
        PutLe(head, 32, 2);
        PutLe(head, static_cast<std::uint32_t>(image.size()), 4);
        PutLe(head, static_cast<std::uint32_t>(first + images.size()), 4);
        images += image;
    }
    return head + images;
}

TEST(MenuPicture, IconFileGivesTheImageThatSuitsTheSize) {
    const std::string ico = IconFile({16, 48, 32, 256});
    EXPECT_EQ(editor::IconFileImage(ico, 32), "image 32");
    EXPECT_EQ(editor::IconFileImage(ico, 24), "image 32") << "the nearest larger one";
    EXPECT_EQ(editor::IconFileImage(ico, 64), "image 256");
    EXPECT_EQ(editor::IconFileImage(IconFile({16, 24}), 48), "image 24") << "else the largest";

    // The stock icon that new menus carry.
    std::ifstream in(STOCK_ICON, std::ios::binary);
    std::ostringstream read;
    read << in.rdbuf();
    const std::string bytes = read.str();
    const auto stock = editor::IconFileImage(bytes, 32);
    ASSERT_TRUE(stock);
    EXPECT_EQ(stock->substr(0, 4), "\x28\0\0\0"s) << "a bitmap image: its info header first";
}

TEST(MenuPicture, NothingIsShownOfBytesThatAreNoIconOrBitmap) {
    const std::string ico = IconFile({32});
    for (std::size_t cut : {std::size_t{3}, std::size_t{10}, ico.size() - 1}) {
        EXPECT_FALSE(editor::IconFileImage(ico.substr(0, cut), 32)) << cut;
    }
    EXPECT_FALSE(editor::IconFileImage("\0\0\1\0\0\0"s, 32)) << "no entries";
    EXPECT_FALSE(editor::IconFileImage("\0\0\2\0\1\0"s + std::string(16, 'x'), 32)) << "a cursor";
    EXPECT_FALSE(editor::IconFileImage("BM...", 32));
    EXPECT_FALSE(editor::BitmapFileParts(ico));
    EXPECT_FALSE(editor::BitmapFileParts(""));
}

TEST(MenuPicture, BitmapFileGivesItsHeaderAndRows) {
    const std::string bmp = editor::BitmapFile(3, 2, {1, 2, 3, 4, 5, 6});
    const auto parts = editor::BitmapFileParts(bmp);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->Width, 3);
    EXPECT_EQ(parts->Height, 2);
    EXPECT_EQ(parts->Info.size(), 40u);
    EXPECT_EQ(parts->Bits.size(), 2u * 12u) << "rows of 9 bytes padded to 12";
    EXPECT_FALSE(editor::BitmapFileParts(bmp.substr(0, bmp.size() - 1))) << "a row cut short";
    std::string huge = bmp;
    huge[18] = '\x7f';
    huge[19] = '\x7f';
    EXPECT_FALSE(editor::BitmapFileParts(huge)) << "a width the bytes cannot hold";
}

}  // namespace
