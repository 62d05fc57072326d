// libFuzzer target: detecting a menu's text encoding, decoding its text to UTF-8 and encoding it
// back, with the Windows-1252 table the tests use and a code page that holds ASCII alone.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "menufile/menu_file.h"
#include "menufile/text_encoding.h"
#include "tests/support/windows_1252.h"

namespace {

// Names the broken invariant before the abort, since the crash report gives no line.
void Fail(const char* condition, int line) {
    std::fprintf(stderr, "%s:%d: %s\n", __FILE__, line, condition);
    std::abort();
}
#define REQUIRE(condition) ((condition) ? static_cast<void>(0) : Fail(#condition, __LINE__))

// UTF-8 by the table of well-formed byte sequences, written apart from the library's decoder so
// the two can be held against each other.
bool WellFormedUtf8(std::string_view text) {
    auto in = [](unsigned char c, unsigned lo, unsigned hi) { return c >= lo && c <= hi; };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        auto at = [&](std::size_t k) {
            return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
        };
        std::size_t length = 0;
        if (c < 0x80) {
            length = 1;
        } else if (in(c, 0xC2, 0xDF)) {
            length = in(at(1), 0x80, 0xBF) ? 2 : 0;
        } else if (c == 0xE0 || c == 0xED || in(c, 0xE1, 0xEC) || in(c, 0xEE, 0xEF)) {
            const unsigned lo = c == 0xE0 ? 0xA0 : 0x80;
            const unsigned hi = c == 0xED ? 0x9F : 0xBF;
            length = in(at(1), lo, hi) && in(at(2), 0x80, 0xBF) ? 3 : 0;
        } else if (in(c, 0xF0, 0xF4)) {
            const unsigned lo = c == 0xF0 ? 0x90 : 0x80;
            const unsigned hi = c == 0xF4 ? 0x8F : 0xBF;
            length = in(at(1), lo, hi) && in(at(2), 0x80, 0xBF) && in(at(3), 0x80, 0xBF) ? 4 : 0;
        }
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

// A code page with no letters beyond ASCII: every other byte reads as U+FFFD, and no other
// character has a form in it.
class AsciiOnly : public menufile::CodePage {
public:
    std::string ToUtf8(std::string_view ansi) const override {
        std::string out;
        for (char c : ansi) {
            out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "\xef\xbf\xbd";
        }
        return out;
    }
    std::optional<std::string> FromUtf8(std::string_view utf8) const override {
        if (!menufile::IsAscii(utf8)) {
            return std::nullopt;
        }
        return std::string(utf8);
    }
};

bool AllValidUtf8(const menufile::MenuFile& file) {
    bool valid = menufile::IsValidUtf8(file.MenuType);
    const menufile::MenuSettings& s = file.Settings;
    for (const std::string* text :
         {&s.SmallIcons, &s.FontName, &s.FontSize, &s.FontBold, &s.FontItalic}) {
        valid = valid && menufile::IsValidUtf8(*text);
    }
    for (const menufile::MenuItem& item : file.Items) {
        for (const std::string* text : {&item.Name, &item.Target, &item.Arguments, &item.StartIn,
                                        &item.IconFile, &item.IconIndex}) {
            valid = valid && menufile::IsValidUtf8(*text);
        }
    }
    if (file.DirectoryPointer) {
        const menufile::DirectoryPointer& p = *file.DirectoryPointer;
        for (const std::string* text :
             {&p.Folder, &p.Pattern, &p.ShowFolders, &p.HideExtensions, &p.ShowHidden}) {
            valid = valid && menufile::IsValidUtf8(*text);
        }
    }
    return valid;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const menufile::CodePage& windows1252 = test_support::Windows1252();

    // Detection.
    const bool ascii = menufile::IsAscii(bytes);
    const bool utf8 = menufile::IsValidUtf8(bytes);
    REQUIRE(utf8 == WellFormedUtf8(bytes));
    REQUIRE(!ascii || utf8);
    REQUIRE((menufile::DetectEncoding(bytes) == menufile::TextEncoding::Utf8) == (utf8 && !ascii));

    // The code page the tests stand in for Windows with: what it reads is UTF-8, and every byte
    // comes back as itself; UTF-8 it can hold reads back as the same text.
    const std::string read = windows1252.ToUtf8(bytes);
    REQUIRE(menufile::IsValidUtf8(read));
    REQUIRE(windows1252.FromUtf8(read) == std::optional<std::string>(bytes));
    if (utf8) {
        if (const std::optional<std::string> ansi = windows1252.FromUtf8(bytes)) {
            REQUIRE(windows1252.ToUtf8(*ansi) == bytes);
        }
    }

    // A menu's text: UTF-8 once decoded, whatever the file holds; encoded back in the file's
    // encoding it is the bytes read, so an unchanged record is written back byte for byte.
    const menufile::MenuFile raw = menufile::ReadEveryRecord(bytes);
    menufile::MenuFile text = raw;
    menufile::DecodeMenu(bytes, text, windows1252);
    REQUIRE(text.PictureLength == raw.PictureLength && text.PrefixLength == raw.PrefixLength);
    REQUIRE(AllValidUtf8(text));
    const menufile::TextEncoding encoding = text.Encoding;
    REQUIRE(menufile::EncodeSettings(text.Settings, encoding, windows1252) == raw.Settings);
    REQUIRE(text.Items.size() == raw.Items.size());
    for (std::size_t i = 0; i < text.Items.size(); ++i) {
        REQUIRE(menufile::EncodeItem(text.Items[i], encoding, windows1252) == raw.Items[i]);
    }
    if (text.DirectoryPointer) {
        REQUIRE(menufile::EncodePointer(*text.DirectoryPointer, encoding, windows1252) ==
                raw.DirectoryPointer);
    }

    // A code page that holds less: ANSI text fits only when it is ASCII; UTF-8 takes anything.
    const AsciiOnly asciiOnly;
    menufile::MenuFile narrow = raw;
    menufile::DecodeMenu(bytes, narrow, asciiOnly);
    REQUIRE(AllValidUtf8(narrow));
    for (const menufile::MenuItem& item : narrow.Items) {
        const bool fits = menufile::IsAscii(item.Name) && menufile::IsAscii(item.Target) &&
                          menufile::IsAscii(item.Arguments) && menufile::IsAscii(item.StartIn) &&
                          menufile::IsAscii(item.IconFile) && menufile::IsAscii(item.IconIndex);
        REQUIRE(menufile::EncodeItem(item, menufile::TextEncoding::Ansi, asciiOnly).has_value() ==
                fits);
        REQUIRE(menufile::EncodeItem(item, menufile::TextEncoding::Utf8, asciiOnly) == item);
    }
    return 0;
}
