// Reading the icon and bitmap files a menu's picture may be.
#include "editor/imaging/menu_picture.h"

#include <cstdint>
#include <cstdlib>

namespace editor {
namespace {

std::uint32_t Le(std::string_view s, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + i])) << (8 * i);
    }
    return value;
}

}  // namespace

std::optional<std::string_view> IconFileImage(std::string_view picture, int size) {
    constexpr std::size_t kHeader = 6;
    constexpr std::size_t kEntry = 16;
    if (picture.size() < kHeader || Le(picture, 0, 2) != 0 || Le(picture, 2, 2) != 1) {
        return std::nullopt;
    }
    const std::size_t count = Le(picture, 4, 2);
    if (count == 0 || picture.size() < kHeader + count * kEntry) {
        return std::nullopt;
    }
    std::optional<std::string_view> best;
    int bestSize = 0;
    auto better = [size](int candidate, int current) {
        if (current == 0) {
            return true;
        }
        const bool fits = candidate >= size;
        const bool currentFits = current >= size;
        if (fits != currentFits) {
            return fits;  // a larger image shrinks well; a smaller one would be blown up
        }
        return fits ? candidate < current : candidate > current;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeader + i * kEntry;
        const int width =
            Le(picture, entry, 1) == 0 ? 256 : static_cast<int>(Le(picture, entry, 1));
        const std::size_t length = Le(picture, entry + 8, 4);
        const std::size_t offset = Le(picture, entry + 12, 4);
        if (length == 0 || offset > picture.size() || length > picture.size() - offset) {
            return std::nullopt;  // a damaged directory: show nothing of it
        }
        if (better(width, bestSize)) {
            best = picture.substr(offset, length);
            bestSize = width;
        }
    }
    return best;
}

std::optional<BitmapParts> BitmapFileParts(std::string_view picture) {
    constexpr std::size_t kFileHeader = 14;
    constexpr std::size_t kInfoHeader = 40;
    if (picture.size() < kFileHeader + kInfoHeader || picture.substr(0, 2) != "BM") {
        return std::nullopt;
    }
    const std::size_t bitsAt = Le(picture, 10, 4);
    const std::size_t infoSize = Le(picture, 14, 4);
    if (infoSize < kInfoHeader || bitsAt < kFileHeader + infoSize || bitsAt > picture.size()) {
        return std::nullopt;
    }
    BitmapParts parts;
    parts.Width = static_cast<std::int32_t>(Le(picture, 18, 4));
    parts.Height = static_cast<std::int32_t>(Le(picture, 22, 4));
    const std::uint32_t planes = Le(picture, 26, 2);
    const std::uint32_t bitCount = Le(picture, 28, 2);
    const std::uint32_t compression = Le(picture, 30, 4);
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                            bitCount == 24 || bitCount == 32;
    // Only uncompressed rows are shown (BI_RGB, or BI_BITFIELDS masks).
    if (planes != 1 || !knownDepth || (compression != 0 && compression != 3) || parts.Width <= 0 ||
        parts.Width > 4096 || parts.Height == 0 || std::abs(parts.Height) > 4096) {
        return std::nullopt;
    }
    const std::size_t stride = ((static_cast<std::size_t>(parts.Width) * bitCount + 31) / 32) * 4;
    const std::size_t needed = stride * static_cast<std::size_t>(std::abs(parts.Height));
    if (picture.size() - bitsAt < needed) {
        return std::nullopt;
    }
    parts.Info = picture.substr(kFileHeader, bitsAt - kFileHeader);
    parts.Bits = picture.substr(bitsAt, needed);
    return parts;
}

}  // namespace editor
