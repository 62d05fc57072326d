// The icon file writer, with the small deflate and PNG writers it needs.
#include "editor/imaging/icon_file.h"

#include <algorithm>
#include <array>

namespace editor {
namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t Le(std::string_view s, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes && at + static_cast<std::size_t>(i) < s.size(); ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + i])) << (8 * i);
    }
    return value;
}

std::uint32_t Be(std::string_view s, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && at + i < s.size(); ++i) {
        value = (value << 8) | static_cast<unsigned char>(s[at + i]);
    }
    return value;
}

void PutBe(std::string& out, std::uint32_t value) {
    for (int i = 3; i >= 0; --i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t Crc32(std::string_view data) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::string_view data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// Bits into bytes, least significant first, as deflate wants them.
class BitWriter {
public:
    void Bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            Bit((value >> i) & 1);
        }
    }
    // A Huffman code goes most significant bit first.
    void Code(std::uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i) {
            Bit((code >> i) & 1);
        }
    }
    std::string Finish() {
        if (m_count > 0) {
            m_out += static_cast<char>(m_byte);
        }
        return std::move(m_out);
    }

private:
    void Bit(std::uint32_t bit) {
        m_byte |= bit << m_count;
        if (++m_count == 8) {
            m_out += static_cast<char>(m_byte);
            m_byte = 0;
            m_count = 0;
        }
    }
    std::string m_out;
    std::uint32_t m_byte = 0;
    int m_count = 0;
};

// The fixed literal/length code of a symbol (0 to 287).
void PutSymbol(BitWriter& w, int symbol) {
    if (symbol < 144) {
        w.Code(0x30 + symbol, 8);
    } else if (symbol < 256) {
        w.Code(0x190 + symbol - 144, 9);
    } else if (symbol < 280) {
        w.Code(symbol - 256, 7);
    } else {
        w.Code(0xC0 + symbol - 280, 8);
    }
}

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& w, int length, int distance) {
    int l = 28;
    while (kLengthBase[static_cast<std::size_t>(l)] > length) {
        --l;
    }
    PutSymbol(w, 257 + l);
    w.Bits(static_cast<std::uint32_t>(length - kLengthBase[static_cast<std::size_t>(l)]),
           kLengthExtra[static_cast<std::size_t>(l)]);
    int d = 29;
    while (kDistanceBase[static_cast<std::size_t>(d)] > distance) {
        --d;
    }
    w.Code(static_cast<std::uint32_t>(d), 5);
    w.Bits(static_cast<std::uint32_t>(distance - kDistanceBase[static_cast<std::size_t>(d)]),
           kDistanceExtra[static_cast<std::size_t>(d)]);
}

std::string Chunk(std::string_view type, std::string_view data) {
    std::string chunk;
    PutBe(chunk, static_cast<std::uint32_t>(data.size()));
    std::string body(type);
    body += data;
    chunk += body;
    PutBe(chunk, Crc32(body));
    return chunk;
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

}  // namespace

std::string Deflate(std::string_view data) {
    constexpr int kWindow = 32768;
    constexpr int kMaxMatch = 258;
    constexpr std::size_t kHashSize = 1 << 15;
    std::vector<int> head(kHashSize, -1);
    std::vector<int> previous(data.size(), -1);
    auto hash = [&](std::size_t i) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(data[k]); };
        return ((b(i) << 10) ^ (b(i + 1) << 5) ^ b(i + 2)) & (kHashSize - 1);
    };
    BitWriter w;
    w.Bits(1, 1);  // the last block
    w.Bits(1, 2);  // with the fixed codes
    std::size_t i = 0;
    auto remember = [&](std::size_t at) {
        if (at + 2 < data.size()) {
            const std::size_t h = hash(at);
            previous[at] = head[h];
            head[h] = static_cast<int>(at);
        }
    };
    while (i < data.size()) {
        int bestLength = 0;
        int bestDistance = 0;
        if (i + 2 < data.size()) {
            int tries = 64;
            for (int candidate = head[hash(i)];
                 candidate >= 0 && static_cast<int>(i) - candidate <= kWindow && tries-- > 0;
                 candidate = previous[static_cast<std::size_t>(candidate)]) {
                int length = 0;
                const std::size_t limit = std::min<std::size_t>(kMaxMatch, data.size() - i);
                while (
                    static_cast<std::size_t>(length) < limit &&
                    data[static_cast<std::size_t>(candidate) + static_cast<std::size_t>(length)] ==
                        data[i + static_cast<std::size_t>(length)]) {
                    ++length;
                }
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = static_cast<int>(i) - candidate;
                }
            }
        }
        if (bestLength >= 3) {
            PutMatch(w, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k) {
                remember(i + static_cast<std::size_t>(k));
            }
            i += static_cast<std::size_t>(bestLength);
        } else {
            PutSymbol(w, static_cast<unsigned char>(data[i]));
            remember(i);
            ++i;
        }
    }
    PutSymbol(w, 256);
    std::string out = "\x78\x01";  // deflate, 32K window, no dictionary
    out += w.Finish();
    PutBe(out, Adler32(data));
    return out;
}

std::string PngOf(const IconImage& image) {
    const int size = image.Size;
    std::string header;
    PutBe(header, static_cast<std::uint32_t>(size));
    PutBe(header, static_cast<std::uint32_t>(size));
    // 8 bits a channel, RGBA, deflate, the one filter method, no interlace.
    for (char byte : {8, 6, 0, 0, 0}) {
        header += byte;
    }
    std::string rows;
    rows.reserve(static_cast<std::size_t>(size) * (static_cast<std::size_t>(size) * 4 + 1));
    for (int y = 0; y < size; ++y) {
        rows += '\0';  // no filter
        for (int x = 0; x < size; ++x) {
            const std::uint32_t p = image.Pixels[static_cast<std::size_t>(y * size + x)];
            rows += static_cast<char>((p >> 16) & 0xFF);
            rows += static_cast<char>((p >> 8) & 0xFF);
            rows += static_cast<char>(p & 0xFF);
            rows += static_cast<char>((p >> 24) & 0xFF);
        }
    }
    std::string png = "\x89PNG\r\n\x1a\n";
    png += Chunk("IHDR", header);
    png += Chunk("IDAT", Deflate(rows));
    png += Chunk("IEND", {});
    return png;
}

std::string IconFileOf(const std::vector<IconImage>& unordered) {
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
    std::string file;
    PutLe(file, 0, 2);
    PutLe(file, 1, 2);
    PutLe(file, static_cast<std::uint32_t>(images.size()), 2);
    std::vector<std::string> data;
    for (const IconImage* image : images) {
        data.push_back(image->Size == 256 ? PngOf(*image) : IconBitmap(*image));
    }
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t k = 0; k < images.size(); ++k) {
        const int size = images[k]->Size;
        file += static_cast<char>(size == 256 ? 0 : size);
        file += static_cast<char>(size == 256 ? 0 : size);
        file += '\0';  // no palette
        file += '\0';
        PutLe(file, 1, 2);   // planes
        PutLe(file, 32, 2);  // bits per pixel
        PutLe(file, static_cast<std::uint32_t>(data[k].size()), 4);
        PutLe(file, offset, 4);
        offset += static_cast<std::uint32_t>(data[k].size());
    }
    for (const std::string& d : data) {
        file += d;
    }
    return file;
}

std::vector<LibraryImage> IconFileImages(std::string_view ico) {
    std::vector<LibraryImage> images;
    if (ico.size() < 6 || Le(ico, 0, 2) != 0 || Le(ico, 2, 2) != 1) {
        return images;
    }
    const std::size_t count = Le(ico, 4, 2);
    if (ico.size() < 6 + 16 * count) {
        return images;
    }
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t length = Le(ico, 6 + 16 * k + 8, 4);
        const std::size_t offset = Le(ico, 6 + 16 * k + 12, 4);
        if (offset > ico.size() || length > ico.size() - offset) {
            return {};
        }
        images.push_back({std::string(ico.substr(offset, length))});
    }
    return images;
}

int SizeOf(const LibraryImage& image) {
    const std::string& b = image.Bytes;
    if (b.size() >= 24 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
        const std::uint32_t width = static_cast<std::uint32_t>(Be(b, 16));
        return width == static_cast<std::uint32_t>(Be(b, 20)) && width <= 256
                   ? static_cast<int>(width)
                   : 0;
    }
    if (b.size() >= 40 && Le(b, 0, 4) >= 40) {
        const auto width = static_cast<std::int32_t>(Le(b, 4, 4));
        const auto height = static_cast<std::int32_t>(Le(b, 8, 4));  // colour and mask rows
        return width > 0 && width <= 256 && height == 2 * width ? width : 0;
    }
    return 0;
}

std::string IconFileOfLibraryImages(const std::vector<LibraryImage>& images) {
    struct Chosen {
        int Size;
        std::string Bytes;
        int Bits;
    };
    std::vector<Chosen> chosen;
    for (int size : kMenuIconSizes) {
        const LibraryImage* best = nullptr;
        int bestBits = -1;
        for (const LibraryImage& image : images) {
            if (SizeOf(image) != size) {
                continue;
            }
            const bool png = image.Bytes.compare(0, 4, "\x89PNG") == 0;
            const int bits = png ? 32 : static_cast<int>(Le(image.Bytes, 14, 2));
            if (bits > bestBits) {
                best = &image;
                bestBits = bits;
            }
        }
        if (best == nullptr) {
            continue;
        }
        std::string bytes = best->Bytes;
        if (size == 256 && bytes.compare(0, 4, "\x89PNG") != 0 && bestBits == 32 &&
            bytes.size() >= 40 + static_cast<std::size_t>(256 * 256 * 4)) {
            // A large image the shell reads as a PNG, a quarter of the bitmap's size or less.
            const std::size_t header = Le(bytes, 0, 4);
            IconImage image{256, std::vector<std::uint32_t>(256 * 256)};
            for (int y = 0; y < 256; ++y) {
                for (int x = 0; x < 256; ++x) {
                    const std::size_t at = header + 4 * (static_cast<std::size_t>(255 - y) * 256 +
                                                         static_cast<std::size_t>(x));
                    image.Pixels[static_cast<std::size_t>(y * 256 + x)] =
                        static_cast<std::uint32_t>(Le(bytes, at, 4));
                }
            }
            bytes = PngOf(image);
        }
        chosen.push_back({size, std::move(bytes), bestBits});
    }
    std::string file;
    PutLe(file, 0, 2);
    PutLe(file, 1, 2);
    PutLe(file, static_cast<std::uint32_t>(chosen.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * chosen.size());
    for (const Chosen& c : chosen) {
        file += static_cast<char>(c.Size == 256 ? 0 : c.Size);
        file += static_cast<char>(c.Size == 256 ? 0 : c.Size);
        file += static_cast<char>(c.Bits <= 8 && c.Bits > 0 ? (1 << c.Bits) % 256 : 0);
        file += '\0';
        PutLe(file, 1, 2);
        PutLe(file, static_cast<std::uint32_t>(c.Bits), 2);
        PutLe(file, static_cast<std::uint32_t>(c.Bytes.size()), 4);
        PutLe(file, offset, 4);
        offset += static_cast<std::uint32_t>(c.Bytes.size());
    }
    for (const Chosen& c : chosen) {
        file += c.Bytes;
    }
    return file;
}

}  // namespace editor
