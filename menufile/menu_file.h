// Menu file records, the field reader, the record writers and the builders of every change.
// Where each part lives: the reader in menu_reader.cpp, the record writers and the change
// builders in menu_builders.cpp, the value conversions in numbers.cpp, the picture, icon and
// font rules in menu_file.cpp; the field and line rules they share in field_text.h.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "menufile/menu_commit.h"
#include "menufile/text_encoding.h"

namespace menufile {

inline constexpr std::string_view kMarker = "<START TVL>";
inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kUserDefined = "USERDEF";
inline constexpr std::string_view kDirectoryPointer = "DIRPOINT";

// Unquoted values are kept as the text read, so every rewrite gives back the bytes it read
// (a separator's empty IconIndex stays empty, "8.25" stays "8.25").
struct MenuSettings {
    std::string SmallIcons = "0";
    std::string FontName = "MS Sans Serif";
    std::string FontSize = "8.25";
    std::string FontBold = "0";
    std::string FontItalic = "0";

    bool operator==(const MenuSettings&) const = default;
};

struct MenuItem {
    std::string Name;
    std::string Target;
    std::string Arguments;
    std::string StartIn;
    std::string IconFile;
    std::string IconIndex;

    static MenuItem Separator() { return {}; }
    [[nodiscard]] bool IsSeparator() const { return Name.empty() && Target.empty(); }
    bool operator==(const MenuItem&) const = default;
};

struct DirectoryPointer {
    std::string Folder = "C:\\";
    std::string Pattern = "*.*";
    std::string ShowFolders = "1";
    std::string HideExtensions = "0";
    std::string ShowHidden = "0";

    bool operator==(const DirectoryPointer&) const = default;
};

enum class ReadStatus {
    Ok,
    NoMarker,    // no "<START TVL>" line: an old-layout file, or not a menu file at all
    NoSettings,  // the type or the settings line is missing or cut short
    Truncated,   // a record is cut short by the end of the file; the records before it are kept
    BadValue,    // a value its field cannot be written back with (a double quote in a quoted
                 // field, a comma in a number), or a quoted text still open at its line's end;
                 // the records before it are kept
};

struct MenuFile {
    ReadStatus Status = ReadStatus::NoMarker;
    std::size_t PictureLength = 0;  // the picture, up to the line end before the marker line
    std::size_t PrefixLength = 0;   // picture and marker line, with the marker's line end
    std::size_t RecordsOffset = 0;  // first byte after the settings line
    std::string MenuType;
    MenuSettings Settings;
    std::vector<MenuItem> Items;  // anything but "DIRPOINT" lists items
    std::optional<menufile::DirectoryPointer> DirectoryPointer;  // "DIRPOINT" only
    // The first item record that could not be read (Truncated, BadValue): its bytes, from the
    // start of its line to the end of its last line (or of the file), and its line number.
    std::size_t DamageOffset = 0;
    std::size_t DamageEnd = 0;
    std::size_t DamagedLine = 0;  // 1-based, counted over the whole file; 0: none
    // The encoding of the data, once DecodeMenu made its text UTF-8; as read until then.
    TextEncoding Encoding = TextEncoding::Ansi;

    [[nodiscard]] bool IsDirectoryPointer() const { return MenuType == kDirectoryPointer; }
};

// Told now and then how far a long read has come: bytes read of all there are.
using ReadProgress = std::function<void(std::size_t done, std::size_t total)>;

// Never reads past the end and accepts any bytes.
[[nodiscard]] MenuFile ReadMenu(std::string_view bytes);
[[nodiscard]] MenuFile ReadMenu(std::string_view bytes, const ReadProgress& progress);
// The same, reading on after each damaged item record: every complete record.
[[nodiscard]] MenuFile ReadEveryRecord(std::string_view bytes);
// The same up to the settings line: the picture, the marker, the type and the settings, for a
// change that already knows the records.
[[nodiscard]] MenuFile ReadMenuHeader(std::string_view bytes);
// True when the record, written as a line, reads back as itself.
[[nodiscard]] bool ReadsBackAsWritten(const MenuItem& item);

// Value conversions the programs use. Booleans: any non-zero number, or the word True.
[[nodiscard]] double ToNumber(std::string_view value);
[[nodiscard]] int ToInt(std::string_view value);
[[nodiscard]] bool ToBool(std::string_view value);
// Shortest text that reads back as the same value, always with a point as decimal mark.
[[nodiscard]] std::string FormatNumber(float value);

// Record lines, each with its CR LF.
[[nodiscard]] std::string FormatTypeLine(std::string_view type);
[[nodiscard]] std::string FormatSettingsLine(const MenuSettings& settings);
[[nodiscard]] std::string FormatItemLine(const MenuItem& item);
// The same line added to `out`.
void AppendItemLine(std::string& out, const MenuItem& item);
// The form written when a menu becomes a directory pointer: "C:\","*.*",1,0,0 CR LF.
[[nodiscard]] std::string FormatPointerLine(const DirectoryPointer& pointer);
// The form written when the pointer page is saved: "C:\","*.*", 1, 0, 0 with no line end.
[[nodiscard]] std::string FormatSavedPointer(std::string_view folder, std::string_view pattern,
                                             int showFolders, int hideExtensions, int showHidden);

// The icon picture at the head of a menu file: the bytes before the marker line, without the
// line end the writers put between the two.
[[nodiscard]] std::string_view PictureOf(std::string_view bytes, const MenuFile& file);

// Where an item's icon comes from: icon number IconIndex of IconFile; else, when IconIndex is
// above 0, that icon of Target; else (File empty) the icon the shell shows for Target.
struct ItemIcon {
    std::string File;
    int Index = 0;
};
[[nodiscard]] ItemIcon ItemIconOf(const MenuItem& item);

// The menu font a settings line asks for, as both programs make it. The size is kept to
// what can be shown and read: a missing, zero or absurd size cannot hide the menu.
struct MenuFont {
    std::string Name;
    float Points = 8.25f;
    bool Bold = false;
    bool Italic = false;
};
inline constexpr float kDefaultFontPoints = 8.25f;
inline constexpr float kSmallestFontPoints = 6.0f;
inline constexpr float kLargestFontPoints = 72.0f;
[[nodiscard]] float ClampFontPoints(double points);
[[nodiscard]] MenuFont MenuFontOf(const MenuSettings& settings);
// The font height to ask the system for: negative, so it is the character height in pixels.
[[nodiscard]] int FontHeightPixels(float points, int dotsPerInch);

// Every builder reads its result back and refuses content that would not read back as
// intended. Each takes the file's bytes and what they read as (ReadMenu of those bytes), so a
// change parses the file once; `file` must be ReadMenu(old).

// Same picture and marker; the given type, the settings as read, these records.
[[nodiscard]] Built RewriteItems(std::string_view old, const MenuFile& file, std::string_view type,
                                 const std::vector<MenuItem>& items);
// "DIRPOINT", the settings as read, the default pointer; the items are dropped.
[[nodiscard]] Built ChangeToDirectoryPointer(std::string_view old, const MenuFile& file);
// "USERDEF", the settings as read, no items; the pointer is dropped.
[[nodiscard]] Built ChangeToUserDefined(std::string_view old, const MenuFile& file);
// "DIRPOINT", the settings as read, the pointer in its saved form.
[[nodiscard]] Built SaveDirectoryPointer(std::string_view old, const MenuFile& file,
                                         std::string_view folder, std::string_view pattern,
                                         int showFolders, int hideExtensions, int showHidden);
// New settings and the records as read, with the type as read. `picture` is the new picture
// before the marker; null keeps the picture and the marker line byte for byte.
[[nodiscard]] Built SaveAppearance(std::string_view old, const MenuFile& file,
                                   const std::string* picture, const MenuSettings& settings);
// One more item at the end of a user-defined menu.
[[nodiscard]] Built AppendItem(std::string_view old, const MenuFile& file, const MenuItem& item);
// An old-layout file behind the stock picture, the marker and "USERDEF", its bytes unchanged.
[[nodiscard]] Built UpgradeMenuFile(std::string_view old, std::string_view stockPicture);

// The same builders for callers that hold only the bytes.
[[nodiscard]] Built RewriteItems(std::string_view old, std::string_view type,
                                 const std::vector<MenuItem>& items);
[[nodiscard]] Built ChangeToDirectoryPointer(std::string_view old);
[[nodiscard]] Built ChangeToUserDefined(std::string_view old);
[[nodiscard]] Built SaveDirectoryPointer(std::string_view old, std::string_view folder,
                                         std::string_view pattern, int showFolders,
                                         int hideExtensions, int showHidden);
[[nodiscard]] Built SaveAppearance(std::string_view old, std::string_view picture,
                                   const MenuSettings& settings);
[[nodiscard]] Built AppendItem(std::string_view old, const MenuItem& item);

}  // namespace menufile
