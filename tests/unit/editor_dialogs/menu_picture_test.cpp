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

namespace {

// A bitmap file of the given header fields: `table` bytes (colours, masks) between the info
// header and the rows, and room for every row.
struct Bmp {
    std::int32_t Width = 4;
    std::int32_t Height = 2;
    int Bits = 24;
    std::uint32_t Compression = 0;
    std::uint32_t InfoSize = 40;
    std::uint32_t ColoursUsed = 0;
    std::size_t Table = 0;

    std::string Bytes() const {
        const std::int64_t rows = Height < 0 ? -std::int64_t{Height} : Height;
        // Rows of a size outside the format are given room as if they were four pixels wide.
        const std::size_t width = Width > 0 && Width <= 4096 ? static_cast<std::size_t>(Width) : 4;
        const std::size_t stride = (width * static_cast<std::size_t>(Bits) + 31) / 32 * 4;
        const std::size_t bits = rows <= 4096 ? stride * static_cast<std::size_t>(rows) : 0;
        std::string b = "BM";
        PutLe(b, 0, 4);
        PutLe(b, 0, 4);
        PutLe(b, static_cast<std::uint32_t>(14 + InfoSize + Table), 4);
        PutLe(b, InfoSize, 4);
        PutLe(b, static_cast<std::uint32_t>(Width), 4);
        PutLe(b, static_cast<std::uint32_t>(Height), 4);
        PutLe(b, 1, 2);
        PutLe(b, static_cast<std::uint32_t>(Bits), 2);
        PutLe(b, Compression, 4);
        PutLe(b, 0, 4);
        PutLe(b, 0, 4);
        PutLe(b, 0, 4);
        PutLe(b, ColoursUsed, 4);
        PutLe(b, 0, 4);
        b.append(InfoSize - 40 + Table + bits, '\x11');
        return b;
    }
};

TEST(MenuPicture, BitmapRowsOfEveryDepthAndDirection) {
    const auto parts = editor::BitmapFileParts(Bmp{.Width = 3, .Height = -2}.Bytes());
    ASSERT_TRUE(parts) << "top row first";
    EXPECT_EQ(parts->Height, -2);
    EXPECT_EQ(parts->Bits.size(), 2u * 12u);
    for (int bits : {16, 24, 32}) {
        EXPECT_TRUE(editor::BitmapFileParts(Bmp{.Bits = bits}.Bytes())) << bits;
    }
    const auto v4 =
        editor::BitmapFileParts(Bmp{.Bits = 32, .Compression = 3, .InfoSize = 108}.Bytes());
    ASSERT_TRUE(v4) << "a later header holds its masks";
    EXPECT_EQ(v4->Info.size(), 108u);
}

TEST(MenuPicture, ABitmapsColourTableAndMasksMustFitBeforeItsRows) {
    // A palette: every colour of the depth unless fewer are said to be used.
    EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Bits = 8}.Bytes())) << "no room for 256 colours";
    EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Bits = 8, .Table = 1020}.Bytes()));
    const auto full = editor::BitmapFileParts(Bmp{.Bits = 8, .Table = 1024}.Bytes());
    ASSERT_TRUE(full);
    EXPECT_EQ(full->Info.size(), 40u + 1024u);
    EXPECT_TRUE(editor::BitmapFileParts(Bmp{.Bits = 4, .ColoursUsed = 3, .Table = 12}.Bytes()));
    EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Bits = 4, .ColoursUsed = 3, .Table = 8}.Bytes()));
    EXPECT_TRUE(editor::BitmapFileParts(Bmp{.Bits = 1, .Table = 8}.Bytes()));
    EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Bits = 1, .Table = 4}.Bytes()));
    EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Bits = 8, .ColoursUsed = 257, .Table = 1028}.Bytes()))
        << "more colours than the depth has";
    EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Bits = 24, .ColoursUsed = 16}.Bytes()))
        << "a table of colours it says it uses";
    EXPECT_TRUE(editor::BitmapFileParts(Bmp{.Bits = 24, .ColoursUsed = 16, .Table = 64}.Bytes()));
    // Three masks after a 40-byte header.
    EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Bits = 32, .Compression = 3}.Bytes()));
    EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Bits = 16, .Compression = 3, .Table = 8}.Bytes()));
    EXPECT_TRUE(editor::BitmapFileParts(Bmp{.Bits = 16, .Compression = 3, .Table = 12}.Bytes()));
    EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Bits = 24, .Compression = 3, .Table = 12}.Bytes()))
        << "masks of a depth that has none";
}

TEST(MenuPicture, BitmapSizesOutsideTheFormatAreRefused) {
    for (std::int32_t width : {0, -1, -4, 4097, INT32_MIN}) {
        EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Width = width}.Bytes())) << width;
    }
    // INT_MIN rows have no opposite: refused, never negated.
    for (std::int32_t height : {0, 4097, -4097, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(editor::BitmapFileParts(Bmp{.Height = height}.Bytes())) << height;
    }
    // Header and offset fields that would wrap a 32-bit size.
    std::string huge = Bmp{}.Bytes();
    huge[14] = huge[15] = huge[16] = huge[17] = '\xff';
    EXPECT_FALSE(editor::BitmapFileParts(huge)) << "an info header of 4 GB";
    std::string far = Bmp{}.Bytes();
    far[10] = far[11] = far[12] = far[13] = '\xff';
    EXPECT_FALSE(editor::BitmapFileParts(far)) << "rows 4 GB on";
}

}  // namespace
