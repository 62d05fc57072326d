// The journal's layout, its checks, and how a menu file's content is told apart against it.
//
// Layout (little endian): "TVLJRNL2", old length (8 bytes), new length (8), CRC-32 of the old
// bytes (4), CRC-32 of the new bytes (4), the old bytes, the new bytes, and a CRC-32 of
// everything before it (4). Earlier versions wrote "TVLJRNL1" journals without the new bytes.
#include "menufile/menu_journal.h"

#include <algorithm>
#include <array>

namespace menufile {
namespace {

constexpr std::string_view kJournalMagic = "TVLJRNL2";
constexpr std::string_view kFirstJournalMagic = "TVLJRNL1";
constexpr std::string_view kMagicStem = "TVLJRNL";
constexpr std::size_t kHeaderSize = 8 + 8 + 8 + 4 + 4;

void PutLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint64_t GetLe(std::string_view in, std::size_t pos, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[pos + i])) << (8 * i);
    }
    return value;
}

}  // namespace

// Eight bytes a step: a commit checks a few times its menu's size.
std::uint32_t Crc32(std::string_view data) {
    static const auto tables = [] {
        std::array<std::array<std::uint32_t, 256>, 8> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[0][i] = c;
        }
        for (std::uint32_t i = 0; i < 256; ++i) {
            for (std::size_t k = 1; k < 8; ++k) {
                t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
            }
        }
        return t;
    }();
    auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(data[i]));
    };
    std::uint32_t crc = 0xFFFFFFFFu;
    std::size_t i = 0;
    for (; i + 8 <= data.size(); i += 8) {
        const std::uint32_t low =
            crc ^ (byte(i) | byte(i + 1) << 8 | byte(i + 2) << 16 | byte(i + 3) << 24);
        const std::uint32_t high =
            byte(i + 4) | byte(i + 5) << 8 | byte(i + 6) << 16 | byte(i + 7) << 24;
        crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF] ^
              tables[4][low >> 24] ^ tables[3][high & 0xFF] ^ tables[2][(high >> 8) & 0xFF] ^
              tables[1][(high >> 16) & 0xFF] ^ tables[0][high >> 24];
    }
    for (; i < data.size(); ++i) {
        crc = tables[0][(crc ^ byte(i)) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string EncodeJournal(std::string_view oldBytes, std::string_view newBytes) {
    std::string j(kJournalMagic);
    PutLe(j, oldBytes.size(), 8);
    PutLe(j, newBytes.size(), 8);
    PutLe(j, Crc32(oldBytes), 4);
    PutLe(j, Crc32(newBytes), 4);
    j += oldBytes;
    j += newBytes;
    PutLe(j, Crc32(j), 4);
    return j;
}

std::optional<Journal> DecodeJournal(std::string_view j) {
    if (j.size() < kHeaderSize + 4) {
        return std::nullopt;
    }
    const bool second = j.substr(0, kJournalMagic.size()) == kJournalMagic;
    if (!second && j.substr(0, kFirstJournalMagic.size()) != kFirstJournalMagic) {
        return std::nullopt;
    }
    const std::uint64_t oldLength = GetLe(j, 8, 8);
    const std::uint64_t newLength = GetLe(j, 16, 8);
    const std::uint64_t body = j.size() - kHeaderSize - 4;
    if (oldLength > body || (second ? newLength != body - oldLength : oldLength != body)) {
        return std::nullopt;
    }
    if (GetLe(j, j.size() - 4, 4) != Crc32(j.substr(0, j.size() - 4))) {
        return std::nullopt;
    }
    Journal journal;
    journal.OldBytes.assign(j.substr(kHeaderSize, oldLength));
    if (Crc32(journal.OldBytes) != GetLe(j, 24, 4)) {
        return std::nullopt;
    }
    journal.NewLength = newLength;
    journal.NewCrc = static_cast<std::uint32_t>(GetLe(j, 28, 4));
    if (second) {
        journal.HasNewBytes = true;
        journal.NewBytes.assign(j.substr(kHeaderSize + oldLength, newLength));
        if (Crc32(journal.NewBytes) != journal.NewCrc) {
            return std::nullopt;
        }
    }
    return journal;
}

bool LooksLikeJournal(std::string_view bytes) {
    const std::size_t stem = std::min(bytes.size(), kMagicStem.size());
    return bytes.substr(0, stem) == kMagicStem.substr(0, stem);
}

Content ClassifyContent(std::string_view current, const Journal& journal) {
    if (current == journal.OldBytes) {
        return Content::Old;
    }
    if (current.size() == journal.NewLength && Crc32(current) == journal.NewCrc) {
        return Content::New;
    }
    // The new bytes are written over the old ones from the start, then the file is cut to the
    // new length: its length lies between the two, and every byte is old, new, or zero where a
    // power loss dropped it.
    const std::string_view old = journal.OldBytes;
    const std::string_view next = journal.NewBytes;
    const std::uint64_t shorter = std::min<std::uint64_t>(old.size(), journal.NewLength);
    const std::uint64_t longer = std::max<std::uint64_t>(old.size(), journal.NewLength);
    if (current.size() < shorter || current.size() > longer) {
        return Content::Users;
    }
    if (!journal.HasNewBytes) {
        return Content::Torn;  // a journal of the first format can tell no more
    }
    for (std::size_t i = 0; i < current.size(); ++i) {
        const char c = current[i];
        if (c != '\0' && !(i < old.size() && c == old[i]) && !(i < next.size() && c == next[i])) {
            return Content::Users;
        }
    }
    return Content::Torn;
}

}  // namespace menufile
