// Little-endian fields of the icon, bitmap and resource formats, read and written bounds-checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

// The field at `at`; bytes past the end read as zero, so a caller checks the size it needs once
// and a short buffer can never be read beyond.
[[nodiscard]] inline std::uint32_t ReadLe(std::string_view s, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        const std::size_t k = at + static_cast<std::size_t>(i);
        if (k < at || k >= s.size()) {
            break;
        }
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(s[k])) << (8 * i);
    }
    return value;
}

[[nodiscard]] inline std::uint32_t ReadLe16(std::string_view s, std::size_t at) {
    return ReadLe(s, at, 2);
}

[[nodiscard]] inline std::uint32_t ReadLe32(std::string_view s, std::size_t at) {
    return ReadLe(s, at, 4);
}

// A PNG header's fields are big-endian.
[[nodiscard]] inline std::uint32_t ReadBe32(std::string_view s, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const unsigned char byte =
            at + i >= at && at + i < s.size() ? static_cast<unsigned char>(s[at + i]) : 0;
        value = (value << 8) | byte;
    }
    return value;
}

inline void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace editor
