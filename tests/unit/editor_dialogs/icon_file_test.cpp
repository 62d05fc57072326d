// The icon files the editor writes: their directory, the bitmaps, the PNG of the largest image
// (from an encoder built on libpng here, the system's in the program), read back by libpng and
// the editor's own icon readers; and icon files as libraries, crafted ones too.
#include "editor/imaging/icon_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/imaging/menu_picture.h"

namespace {

using editor::IconImage;

class LibpngEncoder final : public editor::PngEncoder {
public:
    std::string Encode(int width, int height,
                       std::span<const std::uint32_t> pixels) const override {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(width);
        image.height = static_cast<png_uint_32>(height);
        image.format = PNG_FORMAT_BGRA;
        png_alloc_size_t size = 0;
        if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
            return {};
        }
        std::string png(size, '\0');
        if (!png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr)) {
            return {};
        }
        png.resize(size);
        return png;
    }
};

// An encoder that cannot encode, as the system's when COM or WIC is missing.
class FailingEncoder final : public editor::PngEncoder {
public:
    std::string Encode(int, int, std::span<const std::uint32_t>) const override { return {}; }
};

const LibpngEncoder kPng;

std::vector<std::uint32_t> PngPixels(const std::string& png, int size) {
    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&read, png.data(), png.size())) << read.message;
    EXPECT_EQ(read.width, static_cast<png_uint_32>(size));
    EXPECT_EQ(read.height, static_cast<png_uint_32>(size));
    read.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size));
    EXPECT_TRUE(png_image_finish_read(&read, nullptr, pixels.data(), 0, nullptr)) << read.message;
    return pixels;
}

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

TEST(IconFile, HoldsEachSizeSmallestFirstWithThe256PixelOneAsPng) {
    const std::string ico =
        editor::IconFileOf({Disc(48), Disc(256), Disc(16), Disc(32), Disc(24)}, kPng);
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
            EXPECT_EQ(image, kPng.Encode(256, 256, Disc(256).Pixels)) << "the encoder's PNG";
            EXPECT_EQ(PngPixels(image, 256), Disc(256).Pixels);
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

TEST(IconFile, WithoutAPngTheLargeImageStaysABitmap) {
    const std::string ico = editor::IconFileOf({Disc(256)}, FailingEncoder());
    ASSERT_EQ(Le(ico, 4, 2), 1u);
    const std::string image = ico.substr(Le(ico, 6 + 12, 4), Le(ico, 6 + 8, 4));
    EXPECT_EQ(Le(image, 0, 4), 40u);
    EXPECT_EQ(Le(image, 8, 4), 512u) << "colour rows and mask rows";
    EXPECT_EQ(editor::SizeOf({image}), 256);
    // A library's large bitmap is kept as it is then.
    const std::vector<editor::LibraryImage> library = {{image}};
    EXPECT_EQ(editor::IconFileImages(editor::IconFileOfLibraryImages(library, FailingEncoder())),
              library);
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
        {LibraryBitmap(large)},    {kPng.Encode(48, 48, Disc(48).Pixels)},
        {"not an image"}};
    const std::string ico = editor::IconFileOfLibraryImages(library, kPng);
    const std::vector<editor::LibraryImage> back = editor::IconFileImages(ico);
    ASSERT_EQ(back.size(), 4u) << "16, 32, 48 and 256; no 24 in the library, no 20 wanted";
    EXPECT_EQ(back[0].Bytes, library[3].Bytes) << "copied as the library holds it";
    EXPECT_EQ(back[1].Bytes, library[2].Bytes);
    EXPECT_EQ(back[2].Bytes, library[5].Bytes) << "a PNG stays a PNG";
    ASSERT_EQ(back[3].Bytes.substr(0, 4), "\x89PNG") << "the large bitmap is made a PNG";
    EXPECT_EQ(PngPixels(back[3].Bytes, 256), large.Pixels);
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
    EXPECT_EQ(editor::IconFileOfLibraryImages(images, kPng), read.str())
        << "what an appearance save would write of the stock icon";
}

}  // namespace

namespace {

// An icon file of `count` entries, each naming `length` bytes at `offset(k)`, in `size` bytes.
template <class Offset>
std::string CraftedIconFile(std::size_t count, std::size_t size, Offset offset,
                            std::size_t length) {
    std::string ico(size, '\x5a');
    auto put = [&](std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) {
            ico[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    put(0, 0, 2);
    put(2, 1, 2);
    put(4, static_cast<std::uint32_t>(count), 2);
    for (std::size_t k = 0; k < count; ++k) {
        put(6 + 16 * k + 8, static_cast<std::uint32_t>(length), 4);
        put(6 + 16 * k + 12, static_cast<std::uint32_t>(offset(k)), 4);
    }
    return ico;
}

std::size_t TotalBytes(const std::vector<editor::LibraryImage>& images) {
    std::size_t total = 0;
    for (const editor::LibraryImage& image : images) {
        total += image.Bytes.size();
    }
    return total;
}

TEST(IconFileAsLibrary, OverlappingEntriesCopyNoMoreThanTheFile) {
    constexpr std::size_t kEntries = 65535;
    constexpr std::size_t kSize = 6 + 16 * kEntries + 256 * 1024;
    // Every entry names the whole file: one copy of it, not 65,535.
    const std::string whole = CraftedIconFile(
        kEntries, kSize, [](std::size_t) { return 0; }, kSize);
    const std::vector<editor::LibraryImage> once = editor::IconFileImages(whole);
    EXPECT_EQ(once.size(), 1u);
    EXPECT_LE(TotalBytes(once), whole.size());
    // Each entry a byte further on: no two alike, but together far larger than the file.
    const std::string sliding = CraftedIconFile(
        kEntries, kSize, [](std::size_t k) { return k; }, kSize - kEntries);
    const std::vector<editor::LibraryImage> none = editor::IconFileImages(sliding);
    EXPECT_LE(TotalBytes(none), sliding.size());
    EXPECT_TRUE(none.empty()) << "a directory no icon writer makes";
}

TEST(IconFileAsLibrary, AnEntryListedTwiceIsTakenOnce) {
    const std::string ico = editor::IconFileOf({Disc(16), Disc(32)}, kPng);
    std::string twice = ico;
    twice[4] = 3;  // a third entry, the first one's again, before the images
    twice.insert(6 + 32, ico.substr(6, 16));
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t at = 6 + 16 * k + 12;
        const std::uint32_t moved = Le(twice, at, 4) + 16;
        for (int i = 0; i < 4; ++i) {
            twice[at + static_cast<std::size_t>(i)] = static_cast<char>((moved >> (8 * i)) & 0xFF);
        }
    }
    const std::vector<editor::LibraryImage> images = editor::IconFileImages(twice);
    EXPECT_EQ(images, editor::IconFileImages(ico));
    EXPECT_EQ(images.size(), 2u);
}

}  // namespace
