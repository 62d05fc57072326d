// Windows icon files written by the editor: the menu's own picture, which the shell shows as the
// file's icon. Images below 256 pixels are stored as bitmaps, the 256-pixel one as a PNG.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/imaging/png_encoder.h"

namespace editor {

// One square image, top row first, each pixel 0xAARRGGBB (alpha: 255 opaque).
struct IconImage {
    int Size = 0;
    std::vector<std::uint32_t> Pixels;
};

// An icon file (.ico) holding the images, smallest first. The 256-pixel image is a PNG of
// `png`'s, or a bitmap when the encoder gives none.
[[nodiscard]] std::string IconFileOf(const std::vector<IconImage>& images, const PngEncoder& png);

// The sizes a menu's own picture holds of its icon, where the library has them.
inline constexpr int kMenuIconSizes[] = {16, 24, 32, 48, 256};

// One image of an icon as a library holds it: a bitmap (its info header first, the colour
// rows, the mask) or a PNG file.
struct LibraryImage {
    std::string Bytes;

    bool operator==(const LibraryImage&) const = default;
};

// The images of an icon file (.ico) as a library: each entry's bytes, an entry that repeats
// another (the same offset and size) once. Empty when the bytes are not an icon file, an entry
// lies outside them, or the entries overlap so that together they would be larger than the
// file: what is copied never exceeds the file's own size.
[[nodiscard]] std::vector<LibraryImage> IconFileImages(std::string_view ico);

// The square size of an image (0 when it is none this writer takes).
[[nodiscard]] int SizeOf(const LibraryImage& image);

// An icon file of the images whose sizes are kMenuIconSizes, copied as the library holds them,
// but a 256-pixel bitmap of 32 bits is made a PNG of `png`'s (kept a bitmap when the encoder
// gives none); the one of most colours of each size is taken.
[[nodiscard]] std::string IconFileOfLibraryImages(const std::vector<LibraryImage>& images,
                                                  const PngEncoder& png);

}  // namespace editor
