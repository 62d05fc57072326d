// Detecting and converting the text encoding of menu files.
#include "menufile/text_encoding.h"

#include <algorithm>
#include <cstdint>

#include "menufile/menu_file.h"

namespace menufile {
namespace {

// One text of a file's encoding made UTF-8 (in place).
void Decode(std::string& text, TextEncoding encoding, const CodePage& codePage) {
    if (encoding == TextEncoding::Ansi && !IsAscii(text)) {
        text = codePage.ToUtf8(text);
    }
}

// One UTF-8 text in `encoding`; false when the code page cannot hold it.
bool Encode(std::string& text, TextEncoding encoding, const CodePage& codePage) {
    if (encoding == TextEncoding::Utf8 || IsAscii(text)) {
        return true;
    }
    std::optional<std::string> ansi = codePage.FromUtf8(text);
    if (!ansi) {
        return false;
    }
    text = std::move(*ansi);
    return true;
}

}  // namespace

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80) {
            return false;
        }
    }
    return true;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past the last code point are not UTF-8.
        const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

TextEncoding DetectEncoding(std::string_view data) {
    return !IsAscii(data) && IsValidUtf8(data) ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

void DecodeMenu(std::string_view bytes, MenuFile& file, const CodePage& codePage) {
    const std::size_t data = std::min(file.PrefixLength, bytes.size());
    const TextEncoding encoding = DetectEncoding(bytes.substr(data));
    file.Encoding = encoding;
    if (encoding == TextEncoding::Utf8) {
        return;  // already what the programs hold
    }
    Decode(file.MenuType, encoding, codePage);
    // The unquoted values too: a write encodes every text, and must get back the bytes read.
    for (std::string* text :
         {&file.Settings.SmallIcons, &file.Settings.FontName, &file.Settings.FontSize,
          &file.Settings.FontBold, &file.Settings.FontItalic}) {
        Decode(*text, encoding, codePage);
    }
    for (MenuItem& item : file.Items) {
        for (std::string* text : {&item.Name, &item.Target, &item.Arguments, &item.StartIn,
                                  &item.IconFile, &item.IconIndex}) {
            Decode(*text, encoding, codePage);
        }
    }
    if (file.DirectoryPointer) {
        for (std::string* text :
             {&file.DirectoryPointer->Folder, &file.DirectoryPointer->Pattern,
              &file.DirectoryPointer->ShowFolders, &file.DirectoryPointer->HideExtensions,
              &file.DirectoryPointer->ShowHidden}) {
            Decode(*text, encoding, codePage);
        }
    }
}

std::optional<MenuItem> EncodeItem(const MenuItem& item, TextEncoding encoding,
                                   const CodePage& codePage) {
    MenuItem out = item;
    for (std::string* text :
         {&out.Name, &out.Target, &out.Arguments, &out.StartIn, &out.IconFile, &out.IconIndex}) {
        if (!Encode(*text, encoding, codePage)) {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<MenuSettings> EncodeSettings(const MenuSettings& settings, TextEncoding encoding,
                                           const CodePage& codePage) {
    MenuSettings out = settings;
    for (std::string* text :
         {&out.SmallIcons, &out.FontName, &out.FontSize, &out.FontBold, &out.FontItalic}) {
        if (!Encode(*text, encoding, codePage)) {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<DirectoryPointer> EncodePointer(const DirectoryPointer& pointer,
                                              TextEncoding encoding, const CodePage& codePage) {
    DirectoryPointer out = pointer;
    for (std::string* text :
         {&out.Folder, &out.Pattern, &out.ShowFolders, &out.HideExtensions, &out.ShowHidden}) {
        if (!Encode(*text, encoding, codePage)) {
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace menufile
