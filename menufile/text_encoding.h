// The text encoding of a menu file's data: the system's ANSI code page, as every menu file was
// written, or UTF-8 for a menu whose text the code page cannot hold. Text inside the programs
// is UTF-8; it is converted from and to the file's encoding when it is read and written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace menufile {

struct MenuFile;
struct MenuItem;
struct MenuSettings;
struct DirectoryPointer;

enum class TextEncoding { Ansi, Utf8 };

// The system's ANSI code page as the core sees it: the Windows build asks Windows, the tests
// bring a table of their own.
class CodePage {
public:
    virtual ~CodePage() = default;
    // UTF-8 of bytes in the code page; every byte sequence converts.
    [[nodiscard]] virtual std::string ToUtf8(std::string_view ansi) const = 0;
    // The code page's bytes of UTF-8 text, only when every character has an exact form there
    // (no best fit, no default character); empty otherwise.
    [[nodiscard]] virtual std::optional<std::string> FromUtf8(std::string_view utf8) const = 0;
};

[[nodiscard]] bool IsValidUtf8(std::string_view text);
[[nodiscard]] bool IsAscii(std::string_view text);

// The data after the marker are UTF-8 when they are valid UTF-8 holding at least one multi-byte
// sequence; otherwise they are in the ANSI code page.
[[nodiscard]] TextEncoding DetectEncoding(std::string_view data);

// Converts the text of a menu read from `bytes` (ReadMenu and the like) to UTF-8 by the
// encoding its data are in, and records that encoding in it. The picture is never touched.
void DecodeMenu(std::string_view bytes, MenuFile& file, const CodePage& codePage);

// The text of a record, settings or pointer in `encoding`: empty when the code page cannot
// hold it exactly. UTF-8 text is kept as it is.
[[nodiscard]] std::optional<MenuItem> EncodeItem(const MenuItem& item, TextEncoding encoding,
                                                 const CodePage& codePage);
[[nodiscard]] std::optional<MenuSettings> EncodeSettings(const MenuSettings& settings,
                                                         TextEncoding encoding,
                                                         const CodePage& codePage);
[[nodiscard]] std::optional<DirectoryPointer> EncodePointer(const DirectoryPointer& pointer,
                                                            TextEncoding encoding,
                                                            const CodePage& codePage);

}  // namespace menufile
