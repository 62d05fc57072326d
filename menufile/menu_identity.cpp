// The menu's identity, its shortcut's file name, and what a shortcut of ours looks like.
#include "menufile/menu_identity.h"

#include <array>
#include <cstddef>

#include "menufile/command_line.h"

namespace menufile {
namespace {

// One code point of UTF-8 at `at`: its value and length, or nothing when the bytes there are
// not a well-formed sequence (overlong forms and surrogates included), which are kept as bytes.
struct Decoded {
    char32_t Value = 0;
    std::size_t Length = 0;  // 0: not a sequence
};

Decoded DecodeAt(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return {};
    }
    if (at + length > s.size()) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return {};
        }
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return {};
    }
    return {value, length};
}

void AppendUtf8(std::string& out, char32_t c) {
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

// A block where upper and lower case alternate, starting with an upper-case letter.
struct PairedBlock {
    char32_t First;
    char32_t Last;
};

// Fixed, so that an identity made on one Windows is the one made on every other. Letters are
// folded to upper case, as the file system compares names; letters whose upper case is not a
// single one of the same script (ß, ı, ſ, ŉ) stay as they are.
constexpr std::array<PairedBlock, 12> kPairedBlocks{{
    {0x0100, 0x012F},  // Latin Extended-A: Ā ā ... Į į
    {0x0132, 0x0137},  // Ĳ ĳ ... Ķ ķ
    {0x0139, 0x0148},  // Ĺ ĺ ... Ň ň
    {0x014A, 0x0177},  // Ŋ ŋ ... Ŷ ŷ
    {0x0179, 0x017E},  // Ź ź ... Ž ž
    {0x03D8, 0x03EF},  // Greek archaic and Coptic letters in pairs
    {0x0460, 0x0481},  // Cyrillic: Ѡ ѡ ... Ҁ ҁ
    {0x048A, 0x04BF},  // Ҋ ҋ ... Ҿ ҿ
    {0x04C1, 0x04CE},  // Ӂ ӂ ... Ӎ ӎ
    {0x04D0, 0x052F},  // Ӑ ӑ ... Ԯ ԯ
    {0x1E00, 0x1E95},  // Latin Extended Additional: Ḁ ḁ ... Ẕ ẕ
    {0x1EA0, 0x1EFF},  // Ạ ạ ... Ỿ ỿ
}};

char32_t UpperCase(char32_t c) {
    if (c >= 'a' && c <= 'z') {
        return c - 0x20;
    }
    if (c < 0x80) {
        return c;
    }
    // Latin-1: à..þ but ÷; ÿ's upper case is in Latin Extended-A.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return c - 0x20;
    }
    if (c == 0xFF) {
        return 0x178;
    }
    for (const PairedBlock& block : kPairedBlocks) {
        if (c >= block.First && c <= block.Last) {
            return (c - block.First) % 2 == 0 ? c : c - 1;
        }
    }
    // Greek.
    if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) {
        return c - 0x20;
    }
    switch (c) {
        case 0x3C2:
            return 0x3A3;  // final sigma
        case 0x3AC:
            return 0x386;
        case 0x3AD:
            return 0x388;
        case 0x3AE:
            return 0x389;
        case 0x3AF:
            return 0x38A;
        case 0x3CC:
            return 0x38C;
        case 0x3CD:
            return 0x38E;
        case 0x3CE:
            return 0x38F;
        case 0x4CF:
            return 0x4C0;  // Cyrillic palochka
        default:
            break;
    }
    // Cyrillic: а..я, then ѐ..џ.
    if (c >= 0x430 && c <= 0x44F) {
        return c - 0x20;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 0x50;
    }
    // Armenian, and the full-width Latin letters of East Asian text.
    if (c >= 0x561 && c <= 0x586) {
        return c - 0x30;
    }
    if (c >= 0xFF41 && c <= 0xFF5A) {
        return c - 0x20;
    }
    return c;
}

constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ULL;

std::uint64_t Fnv1a64(std::string_view bytes) {
    std::uint64_t hash = kFnvOffset;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kFnvPrime;
    }
    return hash;
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c;
}

bool IsRefused(unsigned char c) {
    switch (c) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            return true;
        default:
            return c < 0x20 || c == 0x7F;
    }
}

// CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9, any case: Windows opens the device instead of a
// file of that name, with or without an extension.
bool IsDeviceName(std::string_view stem) {
    std::string upper;
    for (const char c : stem) {
        upper += AsciiUpper(c);
    }
    // "CON " and "CON.." are the device as well: the system drops trailing blanks and dots.
    while (!upper.empty() && (upper.back() == ' ' || upper.back() == '.')) {
        upper.pop_back();
    }
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") {
        return true;
    }
    return upper.size() == 4 &&
           (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

// UTF-16 code units of UTF-8 text, counting a kept invalid byte as one.
std::size_t Utf16Length(std::string_view s) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < s.size();) {
        const Decoded d = DecodeAt(s, i);
        units += d.Length != 0 && d.Value >= 0x10000 ? 2 : 1;
        i += d.Length != 0 ? d.Length : 1;
    }
    return units;
}

// A file name's part Windows allows (255 UTF-16 units), less the ".lnk" that follows.
constexpr std::size_t kMaxNameUnits = 255 - 4;

std::string_view LastPart(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FoldPathCase(std::string_view path) {
    std::string folded;
    folded.reserve(path.size());
    for (std::size_t i = 0; i < path.size();) {
        const Decoded d = DecodeAt(path, i);
        if (d.Length == 0) {
            folded += path[i];  // not UTF-8: kept, so two different byte strings stay different
            ++i;
            continue;
        }
        AppendUtf8(folded, d.Value == '/' ? U'\\' : UpperCase(d.Value));
        i += d.Length;
    }
    return folded;
}

bool SamePath(std::string_view a, std::string_view b) {
    return FoldPathCase(a) == FoldPathCase(b);
}

std::string MenuAppUserModelId(std::string_view fullPath) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::uint64_t hash = Fnv1a64(FoldPathCase(fullPath));
    std::string id = "Tarvel.Menu.";
    for (int shift = 60; shift >= 0; shift -= 4) {
        id += kHex[(hash >> shift) & 0xF];
    }
    return id;
}

std::string ShortcutFileName(std::string_view menuPath) {
    std::string_view name = LastPart(menuPath);
    if (name.size() >= 4) {
        const std::string_view ext = name.substr(name.size() - 4);
        if (ext[0] == '.' && AsciiUpper(ext[1]) == 'T' && AsciiUpper(ext[2]) == 'V' &&
            AsciiUpper(ext[3]) == 'L') {
            name.remove_suffix(4);
        }
    }
    std::string result;
    bool anyTaken = false;
    for (const char c : name) {
        if (IsRefused(static_cast<unsigned char>(c))) {
            result += '_';
        } else {
            result += c;
            anyTaken = true;
        }
    }
    while (!result.empty() && (result.back() == '.' || result.back() == ' ')) {
        result.pop_back();
    }
    // Whole characters only, so a cut never leaves half of one.
    while (Utf16Length(result) > kMaxNameUnits) {
        std::size_t cut = result.size() - 1;
        while (cut > 0 && (static_cast<unsigned char>(result[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        result.erase(cut);
    }
    while (!result.empty() && (result.back() == '.' || result.back() == ' ')) {
        result.pop_back();
    }
    const bool onlyBlanksAndDots = result.find_first_not_of(". ") == std::string::npos;
    if (!anyTaken || onlyBlanksAndDots) {
        return "Menu.lnk";
    }
    const std::size_t dot = result.find('.');
    const std::size_t stemEnd = dot == std::string::npos ? result.size() : dot;
    if (IsDeviceName(std::string_view(result).substr(0, stemEnd))) {
        result.insert(stemEnd, "_");
    }
    return result + ".lnk";
}

ShortcutLink MenuShortcut(std::string_view enginePath, std::string_view menuPath,
                          std::uint16_t hotKey) {
    ShortcutLink link;
    link.Target = std::string(enginePath);
    link.Arguments = "\"" + std::string(menuPath) + "\"";
    const std::size_t slash = menuPath.find_last_of("\\/");
    if (slash != std::string_view::npos) {
        // "C:\" keeps its backslash: "C:" alone is the drive's current folder.
        const bool root = slash == 2 && menuPath[1] == ':';
        link.WorkingDirectory = std::string(menuPath.substr(0, root ? slash + 1 : slash));
    }
    link.IconPath = std::string(menuPath);
    link.IconIndex = 0;
    link.HotKey = hotKey;
    link.Description = kShortcutDescription;
    return link;
}

bool IsShortcutOf(const ShortcutLink& link, std::string_view enginePath,
                  std::string_view menuPath) {
    return !link.Target.empty() && SamePath(link.Target, enginePath) &&
           SamePath(PathFromCommandLine(link.Arguments), menuPath);
}

}  // namespace menufile
