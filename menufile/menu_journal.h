// The journal of a menu file commit: its encoding, and what a menu file holds against it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace menufile {

// CRC-32 with the zip polynomial, as the journal stores it.
[[nodiscard]] std::uint32_t Crc32(std::string_view data);

struct Journal {
    bool HasNewBytes = false;  // false for a journal of the first format
    std::string OldBytes;
    std::string NewBytes;
    std::uint64_t NewLength = 0;
    std::uint32_t NewCrc = 0;
};

[[nodiscard]] std::string EncodeJournal(std::string_view oldBytes, std::string_view newBytes);
// Empty when the bytes are no whole journal (torn, or another file).
[[nodiscard]] std::optional<Journal> DecodeJournal(std::string_view bytes);
// Whether the bytes start as a journal does (any prefix of its signature).
[[nodiscard]] bool LooksLikeJournal(std::string_view bytes);

// What a menu file holds against a whole journal: the content before or after the commit,
// what an interrupted commit can leave (Torn), or anything else, which is the user's.
enum class Content { Old, New, Torn, Users };
[[nodiscard]] Content ClassifyContent(std::string_view current, const Journal& journal);

}  // namespace menufile
