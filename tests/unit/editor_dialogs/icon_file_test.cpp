// The icon files the editor writes: their directory, the bitmaps, the PNG of the largest image,
// read back by zlib, libpng and the editor's own icon reader.
#include "editor/imaging/icon_file.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "editor/imaging/menu_picture.h"

namespace {

using editor::IconImage;

std::uint32_t Le(const std::string& s, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + i])) << (8 * i);
    }
    return value;
}

// A picture with runs and edges, as icons have: a disc on a transparent square.
IconImage Disc(int size) {
    IconImage image{size, {}};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int dx = 2 * x - size + 1;
            const int dy = 2 * y - size + 1;
            const bool inside = dx * dx + dy * dy < size * size;
            image.Pixels.push_back(
                inside ? 0xFF000000u | static_cast<std::uint32_t>(x * 255 / size) << 16 | 0x8040u
                       : 0u);
        }
    }
    return image;
}

std::string Inflate(const std::string& zlib, std::size_t size) {
    std::string out(size, '\0');
    uLongf length = static_cast<uLongf>(size);
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                         reinterpret_cast<const Bytef*>(zlib.data()), zlib.size()),
              Z_OK);
    out.resize(length);
    return out;
}

TEST(Deflate, ZlibReadsBackEveryKindOfData) {
    std::mt19937 random(7);
    std::string noise(70000, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    const std::string inputs[] = {"",
                                  "a",
                                  "abcabcabcabcabcabc",
                                  std::string(100000, 'x'),
                                  noise,
                                  noise.substr(0, 40000) + noise.substr(0, 40000)};
    for (const std::string& input : inputs) {
        const std::string packed = editor::Deflate(input);
        EXPECT_EQ(Inflate(packed, input.size() + 16), input) << input.size();
    }
    EXPECT_LT(editor::Deflate(std::string(100000, 'x')).size(), 2000u) << "runs are compressed";
}

TEST(IconFile, HoldsEachSizeSmallestFirstWithThe256PixelOneAsPng) {
    const std::string ico = editor::IconFileOf({Disc(48), Disc(256), Disc(16), Disc(32), Disc(24)});
    ASSERT_GE(ico.size(), 6u + 5 * 16);
    EXPECT_EQ(Le(ico, 0, 2), 0u);
    EXPECT_EQ(Le(ico, 2, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(Le(ico, 4, 2), 5u);
    const int sizes[] = {16, 24, 32, 48, 256};
    for (int k = 0; k < 5; ++k) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(k);
        EXPECT_EQ(Le(ico, entry, 1), static_cast<std::uint32_t>(sizes[k] % 256));
        EXPECT_EQ(Le(ico, entry + 6, 2), 32u);
        const std::uint32_t length = Le(ico, entry + 8, 4);
        const std::uint32_t offset = Le(ico, entry + 12, 4);
        ASSERT_LE(offset + length, ico.size());
        const std::string image = ico.substr(offset, length);
        if (sizes[k] == 256) {
            EXPECT_EQ(image.substr(0, 8), "\x89PNG\r\n\x1a\n");
            EXPECT_LT(image.size(), 256u * 256u) << "compressed, not stored";
        } else {
            EXPECT_EQ(Le(image, 0, 4), 40u);
            EXPECT_EQ(Le(image, 8, 4), static_cast<std::uint32_t>(sizes[k] * 2));
            const std::size_t mask = static_cast<std::size_t>((sizes[k] + 31) / 32 * 4);
            EXPECT_EQ(image.size(), 40u + static_cast<std::size_t>(sizes[k] * sizes[k] * 4) +
                                        mask * static_cast<std::size_t>(sizes[k]));
        }
    }
    // The editor's own reader picks the image that suits a size.
    EXPECT_EQ(editor::IconFileImage(ico, 32)->substr(0, 4), std::string("\x28\0\0\0", 4));
    EXPECT_EQ(editor::IconFileImage(ico, 200)->substr(0, 4), "\x89PNG");
}

TEST(IconFile, ThePngReadsBackPixelForPixel) {
    const IconImage disc = Disc(256);
    const std::string png = editor::PngOf(disc);
    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&read, png.data(), png.size())) << read.message;
    EXPECT_EQ(read.width, 256u);
    EXPECT_EQ(read.height, 256u);
    read.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(256 * 256);
    ASSERT_TRUE(png_image_finish_read(&read, nullptr, pixels.data(), 0, nullptr)) << read.message;
    EXPECT_EQ(pixels, disc.Pixels);
}

}  // namespace

namespace {

// A 32-bit bitmap of an icon image as a library keeps it: header, rows bottom up, mask.
std::string LibraryBitmap(const IconImage& image, int bits = 32) {
    std::string b;
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) {
            b += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    put(40, 4);
    put(static_cast<std::uint32_t>(image.Size), 4);
    put(static_cast<std::uint32_t>(image.Size * 2), 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(bits), 2);
    b.append(24, '\0');
    for (int y = image.Size - 1; y >= 0; --y) {
        for (int x = 0; x < image.Size; ++x) {
            put(image.Pixels[static_cast<std::size_t>(y * image.Size + x)], 4);
        }
    }
    b.append(static_cast<std::size_t>((image.Size + 31) / 32 * 4 * image.Size), '\0');
    return b;
}

TEST(IconFile, TheMenuPictureTakesTheLibrarysImagesOfItsSizes) {
    const IconImage large = Disc(256);
    std::string eightBit = LibraryBitmap(Disc(32));
    eightBit[14] = 8;  // the same size in fewer colours: the 32-bit one is taken
    const std::vector<editor::LibraryImage> library = {
        {LibraryBitmap(Disc(20))}, {eightBit},
        {LibraryBitmap(Disc(32))}, {LibraryBitmap(Disc(16))},
        {LibraryBitmap(large)},    {editor::PngOf(Disc(48))},
        {"not an image"}};
    const std::string ico = editor::IconFileOfLibraryImages(library);
    const std::vector<editor::LibraryImage> back = editor::IconFileImages(ico);
    ASSERT_EQ(back.size(), 4u) << "16, 32, 48 and 256; no 24 in the library, no 20 wanted";
    EXPECT_EQ(back[0].Bytes, library[3].Bytes) << "copied as the library holds it";
    EXPECT_EQ(back[1].Bytes, library[2].Bytes);
    EXPECT_EQ(back[2].Bytes, library[5].Bytes) << "a PNG stays a PNG";
    ASSERT_EQ(back[3].Bytes.substr(0, 4), "\x89PNG") << "the large bitmap is made a PNG";
    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(
        png_image_begin_read_from_memory(&read, back[3].Bytes.data(), back[3].Bytes.size()));
    read.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(256 * 256);
    ASSERT_TRUE(png_image_finish_read(&read, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(pixels, large.Pixels);
    EXPECT_EQ(Le(ico, 6 + 16 * 3, 1), 0u) << "256 is written as 0";
    EXPECT_TRUE(editor::IconFileImages("BM not an icon").empty());
}

TEST(IconFile, TheStockPictureOfNewMenusHoldsEverySizeTheShellAsksFor) {
    std::ifstream in(STOCK_ICON, std::ios::binary);
    std::ostringstream read;
    read << in.rdbuf();
    const std::vector<editor::LibraryImage> images = editor::IconFileImages(read.str());
    ASSERT_EQ(images.size(), std::size(editor::kMenuIconSizes));
    for (std::size_t k = 0; k < images.size(); ++k) {
        EXPECT_EQ(editor::SizeOf(images[k]), editor::kMenuIconSizes[k]) << k;
    }
    EXPECT_EQ(images.back().Bytes.substr(0, 4), "\x89PNG");
    EXPECT_EQ(editor::IconFileOfLibraryImages(images), read.str())
        << "what an appearance save would write of the stock icon";
}

}  // namespace
