// The seam through which the icon writer gets PNG files: the system's encoder in the program, a
// library's in the tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace editor {

class PngEncoder {
public:
    virtual ~PngEncoder() = default;
    // A PNG file (8 bits a channel, with alpha) of `pixels`, top row first, each 0xAARRGGBB
    // (so B, G, R, A in memory on the little-endian machines this runs on), not premultiplied.
    // Empty when the image cannot be encoded.
    [[nodiscard]] virtual std::string Encode(int width, int height,
                                             std::span<const std::uint32_t> pixels) const = 0;
};

}  // namespace editor
