// Windows icon files written by the editor: the menu's own picture, which the shell shows as the
// file's icon. Images below 256 pixels are stored as bitmaps, the 256-pixel one as a PNG.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

// One square image, top row first, each pixel 0xAARRGGBB (alpha: 255 opaque).
struct IconImage {
    int Size = 0;
    std::vector<std::uint32_t> Pixels;
};

// An icon file (.ico) holding the images, smallest first. The 256-pixel image is PNG-compressed.
[[nodiscard]] std::string IconFileOf(const std::vector<IconImage>& images);

// The sizes a menu's own picture holds of its icon, where the library has them.
inline constexpr int kMenuIconSizes[] = {16, 24, 32, 48, 256};

// One image of an icon as a library holds it: a bitmap (its info header first, the colour
// rows, the mask) or a PNG file.
struct LibraryImage {
    std::string Bytes;

    bool operator==(const LibraryImage&) const = default;
};

// The images of an icon file (.ico) as a library: each entry's bytes. Empty when the bytes are
// not an icon file or an entry lies outside them.
[[nodiscard]] std::vector<LibraryImage> IconFileImages(std::string_view ico);

// The square size of an image (0 when it is none this writer takes).
[[nodiscard]] int SizeOf(const LibraryImage& image);

// An icon file of the images whose sizes are kMenuIconSizes, copied as the library holds them,
// but a 256-pixel bitmap of 32 bits is made a PNG; the largest of each size is taken.
[[nodiscard]] std::string IconFileOfLibraryImages(const std::vector<LibraryImage>& images);

// A PNG file of the image (8-bit RGBA).
[[nodiscard]] std::string PngOf(const IconImage& image);

// The zlib stream of `data`, deflated with the fixed codes and back references.
[[nodiscard]] std::string Deflate(std::string_view data);

}  // namespace editor
