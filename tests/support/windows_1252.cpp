// The Windows-1252 code page: bytes 0x80 to 0x9F as Windows maps them, the rest as Latin-1.
#include "tests/support/windows_1252.h"

#include <array>
#include <cstdint>

namespace test_support {
namespace {

// 0x80..0x9F; the five bytes Windows leaves unassigned map to the C1 controls of their value,
// as MultiByteToWideChar does.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t FromByte(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char32_t>(byte);
}

void PutUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

class Cp1252 : public menufile::CodePage {
public:
    std::string ToUtf8(std::string_view ansi) const override {
        std::string out;
        for (unsigned char byte : ansi) {
            PutUtf8(out, FromByte(byte));
        }
        return out;
    }

    std::optional<std::string> FromUtf8(std::string_view utf8) const override {
        if (!menufile::IsValidUtf8(utf8)) {
            return std::nullopt;
        }
        std::string out;
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            char32_t c = length == 1 ? lead : lead & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) {
                c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
            i += length;
            bool found = false;
            for (unsigned byte = 0; byte < 256 && !found; ++byte) {
                if (FromByte(static_cast<unsigned char>(byte)) == c) {
                    out += static_cast<char>(byte);
                    found = true;
                }
            }
            if (!found) {
                return std::nullopt;  // no exact byte: never a "?"
            }
        }
        return out;
    }
};

}  // namespace

const menufile::CodePage& Windows1252() {
    static const Cp1252 codePage;
    return codePage;
}

}  // namespace test_support
