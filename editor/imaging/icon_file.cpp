// The icon file writer and the reader of icon files as libraries.
#include "editor/imaging/icon_file.h"

#include <algorithm>
#include <set>
#include <utility>

#include "editor/imaging/bytes.h"

namespace editor {
namespace {

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";

bool IsPng(std::string_view bytes) {
    return bytes.substr(0, 4) == kPngSignature.substr(0, 4);
}

// The image as a bitmap inside an icon file: 32-bit rows bottom up, then the 1-bit mask.
std::string IconBitmap(const IconImage& image) {
    const int size = image.Size;
    std::string dib;
    PutLe(dib, 40, 4);
    PutLe(dib, static_cast<std::uint32_t>(size), 4);
    PutLe(dib, static_cast<std::uint32_t>(size * 2), 4);  // colour rows and mask rows
    PutLe(dib, 1, 2);
    PutLe(dib, 32, 2);
    PutLe(dib, 0, 4);
    PutLe(dib, 0, 4);
    PutLe(dib, 0, 4);
    PutLe(dib, 0, 4);
    PutLe(dib, 0, 4);
    PutLe(dib, 0, 4);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            PutLe(dib, image.Pixels[static_cast<std::size_t>(y * size + x)], 4);
        }
    }
    const int maskRow = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(maskRow), '\0');
        for (int x = 0; x < size; ++x) {
            if ((image.Pixels[static_cast<std::size_t>(y * size + x)] >> 24) == 0) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
            }
        }
        dib += row;
    }
    return dib;
}

struct Entry {
    int Size;
    int Bits;
    std::string Bytes;
};

// The directory, then the images in its order.
std::string IconFileOfEntries(const std::vector<Entry>& entries) {
    std::string file;
    PutLe(file, 0, 2);
    PutLe(file, 1, 2);
    PutLe(file, static_cast<std::uint32_t>(entries.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        file += static_cast<char>(e.Size == 256 ? 0 : e.Size);
        file += static_cast<char>(e.Size == 256 ? 0 : e.Size);
        file += static_cast<char>(e.Bits <= 8 && e.Bits > 0 ? (1 << e.Bits) % 256 : 0);
        file += '\0';
        PutLe(file, 1, 2);  // planes
        PutLe(file, static_cast<std::uint32_t>(e.Bits), 2);
        PutLe(file, static_cast<std::uint32_t>(e.Bytes.size()), 4);
        PutLe(file, offset, 4);
        offset += static_cast<std::uint32_t>(e.Bytes.size());
    }
    for (const Entry& e : entries) {
        file += e.Bytes;
    }
    return file;
}

}  // namespace

std::string IconFileOf(const std::vector<IconImage>& unordered, const PngEncoder& png) {
    std::vector<const IconImage*> images;
    for (const IconImage& image : unordered) {
        if (image.Size > 0 && image.Size <= 256 &&
            image.Pixels.size() ==
                static_cast<std::size_t>(image.Size) * static_cast<std::size_t>(image.Size)) {
            images.push_back(&image);
        }
    }
    std::sort(images.begin(), images.end(),
              [](const IconImage* a, const IconImage* b) { return a->Size < b->Size; });
    std::vector<Entry> entries;
    for (const IconImage* image : images) {
        std::string bytes;
        if (image->Size == 256) {
            bytes = png.Encode(256, 256, image->Pixels);
        }
        entries.push_back({image->Size, 32, bytes.empty() ? IconBitmap(*image) : std::move(bytes)});
    }
    return IconFileOfEntries(entries);
}

std::vector<LibraryImage> IconFileImages(std::string_view ico) {
    std::vector<LibraryImage> images;
    if (ico.size() < 6 || ReadLe16(ico, 0) != 0 || ReadLe16(ico, 2) != 1) {
        return images;
    }
    const std::size_t count = ReadLe16(ico, 4);
    if (ico.size() < 6 + 16 * count) {
        return images;
    }
    std::set<std::pair<std::size_t, std::size_t>> seen;
    std::size_t copied = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t length = ReadLe32(ico, 6 + 16 * k + 8);
        const std::size_t offset = ReadLe32(ico, 6 + 16 * k + 12);
        if (offset > ico.size() || length > ico.size() - offset) {
            return {};
        }
        if (!seen.insert({offset, length}).second) {
            continue;
        }
        // The entries of a sound icon file do not overlap, so together they fit in the file.
        if (length > ico.size() - copied) {
            return {};
        }
        copied += length;
        images.push_back({std::string(ico.substr(offset, length))});
    }
    return images;
}

int SizeOf(const LibraryImage& image) {
    const std::string& b = image.Bytes;
    if (b.size() >= 24 && b.compare(0, 8, kPngSignature) == 0) {
        const std::uint32_t width = ReadBe32(b, 16);
        return width == ReadBe32(b, 20) && width <= 256 ? static_cast<int>(width) : 0;
    }
    if (b.size() >= 40 && ReadLe32(b, 0) >= 40) {
        const auto width = static_cast<std::int32_t>(ReadLe32(b, 4));
        const auto height = static_cast<std::int32_t>(ReadLe32(b, 8));  // colour and mask rows
        return width > 0 && width <= 256 && height == 2 * width ? width : 0;
    }
    return 0;
}

std::string IconFileOfLibraryImages(const std::vector<LibraryImage>& images,
                                    const PngEncoder& png) {
    std::vector<Entry> chosen;
    for (int size : kMenuIconSizes) {
        const LibraryImage* best = nullptr;
        int bestBits = -1;
        for (const LibraryImage& image : images) {
            if (SizeOf(image) != size) {
                continue;
            }
            const int bits = IsPng(image.Bytes) ? 32 : static_cast<int>(ReadLe16(image.Bytes, 14));
            if (bits > bestBits) {
                best = &image;
                bestBits = bits;
            }
        }
        if (best == nullptr) {
            continue;
        }
        std::string bytes = best->Bytes;
        const std::size_t header = ReadLe32(bytes, 0);
        if (size == 256 && !IsPng(bytes) && bestBits == 32 && header <= bytes.size() &&
            bytes.size() - header >= static_cast<std::size_t>(256 * 256 * 4)) {
            // A large image the shell reads as a PNG, a quarter of the bitmap's size or less.
            std::vector<std::uint32_t> pixels(256 * 256);
            for (int y = 0; y < 256; ++y) {
                for (int x = 0; x < 256; ++x) {
                    const std::size_t at = header + 4 * (static_cast<std::size_t>(255 - y) * 256 +
                                                         static_cast<std::size_t>(x));
                    pixels[static_cast<std::size_t>(y * 256 + x)] = ReadLe32(bytes, at);
                }
            }
            if (std::string encoded = png.Encode(256, 256, pixels); !encoded.empty()) {
                bytes = std::move(encoded);
            }
        }
        chosen.push_back({size, bestBits, std::move(bytes)});
    }
    return IconFileOfEntries(chosen);
}

}  // namespace editor
