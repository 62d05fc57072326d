// UTF-8 characters of captions: where one starts, reading them one by one, and comparing
// names without case, for cutting captions and for type-ahead.
#include "engine/caption_text.h"

#include "engine/menu_model.h"

namespace engine {
namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Bytes of the character a lead byte starts; a stray byte stands alone.
std::size_t SequenceLength(unsigned char c) {
    if ((c & 0xE0) == 0xC0) {
        return 2;
    }
    if ((c & 0xF0) == 0xE0) {
        return 3;
    }
    return (c & 0xF8) == 0xF0 ? 4 : 1;
}

// The character at `at`, which moves past it. A byte that starts no whole character stands for
// itself, equal to no character.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = SequenceLength(lead);
    constexpr char32_t kStray = 0x110000;
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if (length == 1 || at + length > text.size()) {
        ++at;
        return kStray + lead;
    }
    char32_t c = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[at + k]);
        if (!IsContinuation(b)) {
            ++at;
            return kStray + lead;
        }
        c = (c << 6) | (b & 0x3Fu);
    }
    at += length;
    return c;
}

// Small letter of a capital in Latin (ASCII, Latin-1, Latin Extended-A), Greek and Cyrillic:
// the scripts of most names, without asking the system.
char32_t Folded(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c == 0x130) {
        return 'i';
    }
    if (c == 0x178) {
        return 0xFF;
    }
    if (c == 0x3C2) {
        return 0x3C3;  // final sigma
    }
    // Latin Extended-A pairs capitals with the small letter after them, on even code points
    // except in two runs.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return c | 1;
    }
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c & 1) != 0) {
        return c + 1;
    }
    return c;
}

}  // namespace

bool StartsWithoutCase(std::string_view name, std::string_view prefix) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (j < prefix.size()) {
        if (i >= name.size() ||
            Folded(NextCharacter(name, i)) != Folded(NextCharacter(prefix, j))) {
            return false;
        }
    }
    return true;
}

// The length of the character `text` repeats, when it is one character at least twice over.
std::size_t RepeatedCharacter(std::string_view text) {
    std::size_t once = 0;
    NextCharacter(text, once);
    if (once == text.size() || text.size() % once != 0) {
        return 0;
    }
    for (std::size_t at = once; at < text.size(); at += once) {
        if (text.substr(at, once) != text.substr(0, once)) {
            return 0;
        }
    }
    return once;
}

std::size_t CharacterStart(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return text.size();
    }
    if (!IsContinuation(static_cast<unsigned char>(text[at]))) {
        return at;
    }
    // A character has at most three bytes after its lead byte. Bytes that belong to no lead
    // byte are no character to keep whole: the cut stays where it was.
    for (std::size_t lead = at; lead-- > 0 && at - lead <= 3;) {
        const auto c = static_cast<unsigned char>(text[lead]);
        if (!IsContinuation(c)) {
            return SequenceLength(c) > at - lead ? lead : at;
        }
    }
    return at;
}

}  // namespace engine
