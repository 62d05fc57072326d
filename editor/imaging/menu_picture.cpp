// Reading the icon and bitmap files a menu's picture may be.
#include "editor/imaging/menu_picture.h"

#include <cstdint>

#include "editor/imaging/bytes.h"

namespace editor {

std::optional<std::string_view> IconFileImage(std::string_view picture, int size) {
    constexpr std::size_t kHeader = 6;
    constexpr std::size_t kEntry = 16;
    if (picture.size() < kHeader || ReadLe16(picture, 0) != 0 || ReadLe16(picture, 2) != 1) {
        return std::nullopt;
    }
    const std::size_t count = ReadLe16(picture, 4);
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
            ReadLe(picture, entry, 1) == 0 ? 256 : static_cast<int>(ReadLe(picture, entry, 1));
        const std::size_t length = ReadLe32(picture, entry + 8);
        const std::size_t offset = ReadLe32(picture, entry + 12);
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
    constexpr std::uint64_t kFileHeader = 14;
    constexpr std::uint64_t kInfoHeader = 40;
    constexpr std::int64_t kLargest = 4096;  // pixels a side: larger is no menu picture
    if (picture.size() < kFileHeader + kInfoHeader || picture.substr(0, 2) != "BM") {
        return std::nullopt;
    }
    // Sizes in 64 bits: a header's 32-bit fields must not wrap a 32-bit size_t.
    const std::uint64_t bitsAt = ReadLe32(picture, 10);
    const std::uint64_t infoSize = ReadLe32(picture, 14);
    const auto width = static_cast<std::int64_t>(static_cast<std::int32_t>(ReadLe32(picture, 18)));
    const auto height = static_cast<std::int64_t>(static_cast<std::int32_t>(ReadLe32(picture, 22)));
    const std::uint32_t planes = ReadLe16(picture, 26);
    const std::uint32_t bitCount = ReadLe16(picture, 28);
    const std::uint32_t compression = ReadLe32(picture, 30);
    const std::uint32_t coloursUsed = ReadLe32(picture, 46);
    constexpr std::uint32_t kRgb = 0;
    constexpr std::uint32_t kBitfields = 3;
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                            bitCount == 24 || bitCount == 32;
    // Only uncompressed rows are shown (BI_RGB, or BI_BITFIELDS masks of 16 or 32 bits).
    const bool knownRows =
        compression == kRgb || (compression == kBitfields && (bitCount == 16 || bitCount == 32));
    // The height is signed (negative: top row first), and INT_MIN has no opposite.
    const std::int64_t rows = height < 0 ? -height : height;
    if (infoSize < kInfoHeader || planes != 1 || !knownDepth || !knownRows || width <= 0 ||
        width > kLargest || rows == 0 || rows > kLargest) {
        return std::nullopt;
    }
    // What the system reads after the file header: the info header, the three masks that
    // follow a 40-byte header with BI_BITFIELDS (later headers hold them), and the colour table
    // (the colours used, else every colour of a depth of 8 bits or fewer).
    const std::uint64_t maxColours = bitCount <= 8 ? std::uint64_t{1} << bitCount : 256;
    if (coloursUsed > maxColours) {
        return std::nullopt;
    }
    const std::uint64_t colours = coloursUsed != 0 ? coloursUsed : bitCount <= 8 ? maxColours : 0;
    const std::uint64_t masks = compression == kBitfields && infoSize == kInfoHeader ? 3 : 0;
    const std::uint64_t info = infoSize + 4 * masks + 4 * colours;
    if (bitsAt < kFileHeader + info || bitsAt > picture.size()) {
        return std::nullopt;
    }
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint64_t needed = stride * static_cast<std::uint64_t>(rows);
    if (picture.size() - bitsAt < needed) {
        return std::nullopt;
    }
    BitmapParts parts;
    parts.Width = static_cast<int>(width);
    parts.Height = static_cast<int>(height);
    parts.Info = picture.substr(kFileHeader, static_cast<std::size_t>(bitsAt - kFileHeader));
    parts.Bits = picture.substr(static_cast<std::size_t>(bitsAt), static_cast<std::size_t>(needed));
    return parts;
}

}  // namespace editor
