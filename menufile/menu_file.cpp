// Menu file reader, record writers and change builders.
#include "menufile/menu_file.h"

#include <algorithm>
#include <array>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "menufile/field_text.h"

namespace menufile {
namespace {

using field::EqualsNoCase;
using field::IsBlank;
using field::TrimBlanks;

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Length of the line end at `pos`: CR LF, a lone CR or a lone LF (hand-edited files).
std::size_t LineEndLength(std::string_view s, std::size_t pos) {
    if (pos >= s.size()) {
        return 0;
    }
    if (s[pos] == '\r') {
        return (pos + 1 < s.size() && s[pos + 1] == '\n') ? 2 : 1;
    }
    return s[pos] == '\n' ? 1 : 0;
}

// Fields separated by commas and line ends; a quoted field runs to the next quote (no
// escape) and anything after its closing quote up to the separator is ignored.
class FieldReader {
public:
    FieldReader(std::string_view data, std::size_t pos) : m_data(data), m_pos(pos) {}

    // True when only blanks and line ends are left: trailing empty lines are not a record.
    [[nodiscard]] bool AtEnd() const {
        for (std::size_t i = m_pos; i < m_data.size(); ++i) {
            if (!IsBlank(m_data[i]) && !IsLineEnd(m_data[i])) {
                return false;
            }
        }
        return true;
    }

    // Empty lines between records are skipped, so a stray blank line cannot shift every field.
    void SkipEmptyLines() {
        std::size_t p = m_pos;
        while (p < m_data.size()) {
            std::size_t q = p;
            while (q < m_data.size() && IsBlank(m_data[q])) {
                ++q;
            }
            std::size_t end = LineEndLength(m_data, q);
            if (end == 0) {
                break;
            }
            p = q + end;
        }
        m_pos = p;
    }

    [[nodiscard]] std::optional<std::string> Next() {
        if (m_pos >= m_data.size()) {
            // A comma just before the end still opens one more (empty) field.
            return std::exchange(m_emptyFieldAtEnd, false) ? std::optional<std::string>("")
                                                           : std::nullopt;
        }
        std::size_t p = m_pos;
        while (p < m_data.size() && IsBlank(m_data[p])) {
            ++p;
        }
        std::string value;
        if (p < m_data.size() && m_data[p] == '"') {
            std::size_t close = m_data.find('"', p + 1);
            if (close == std::string_view::npos) {
                close = m_data.size();
            }
            value.assign(m_data.substr(p + 1, close - p - 1));
            p = close < m_data.size() ? close + 1 : close;
            while (p < m_data.size() && m_data[p] != ',' && !IsLineEnd(m_data[p])) {
                ++p;
            }
        } else {
            std::size_t start = p;
            while (p < m_data.size() && m_data[p] != ',' && !IsLineEnd(m_data[p])) {
                ++p;
            }
            value.assign(TrimBlanks(m_data.substr(start, p - start)));
        }
        if (p < m_data.size()) {
            m_emptyFieldAtEnd = m_data[p] == ',' && p + 1 == m_data.size();
            p += m_data[p] == ',' ? 1 : LineEndLength(m_data, p);
        }
        m_pos = p;
        return value;
    }

    template <std::size_t N>
    [[nodiscard]] bool Record(std::array<std::string, N>& out) {
        for (auto& field : out) {
            auto value = Next();
            if (!value) {
                return false;
            }
            field = std::move(*value);
        }
        return true;
    }

    [[nodiscard]] std::size_t Position() const { return m_pos; }

private:
    std::string_view m_data;
    std::size_t m_pos;
    bool m_emptyFieldAtEnd = false;
};

// Quoted fields cannot hold a double quote. Bare fields (numbers, flags) are trimmed, and
// cannot hold a separator or start with a quote. A value that breaks this would not read
// back as itself once written.
bool FitsQuoted(const std::string& value) {
    return value.find('"') == std::string::npos;
}

bool FitsBare(std::string& value) {
    value.assign(TrimBlanks(value));
    return value.find_first_of(",\r\n") == std::string::npos &&
           (value.empty() || value.front() != '"');
}

// Offset just after the marker line's end, or npos when no line equals the marker;
// `markerStart` gets the offset of the marker line itself.
std::size_t FindMarkerEnd(std::string_view bytes, std::size_t* markerStart = nullptr) {
    std::size_t lineStart = 0;
    while (lineStart <= bytes.size()) {
        std::size_t lineEnd = lineStart;
        while (lineEnd < bytes.size() && !IsLineEnd(bytes[lineEnd])) {
            ++lineEnd;
        }
        std::size_t next = lineEnd + LineEndLength(bytes, lineEnd);
        if (bytes.substr(lineStart, lineEnd - lineStart) == kMarker) {
            if (markerStart != nullptr) {
                *markerStart = lineStart;
            }
            return next;
        }
        if (lineEnd >= bytes.size()) {
            break;
        }
        lineStart = next;
    }
    return std::string_view::npos;
}

std::string Quoted(std::string_view value) {
    std::string s;
    s.reserve(value.size() + 2);
    s += '"';
    s += value;
    s += '"';
    return s;
}

// The picture and the marker line with its line end; a readable menu always has that end.
std::string PrefixOf(std::string_view old, const MenuFile& file) {
    return std::string(old.substr(0, file.PrefixLength));
}

// Reads back what a builder made and checks that it holds what was meant.
Built Checked(std::string content, const MenuFile& expected) {
    MenuFile back = ReadMenu(content);
    if (back.Status != ReadStatus::Ok) {
        return {MenuError::BadText, {}};
    }
    if (back.MenuType != expected.MenuType || back.Settings != expected.Settings ||
        back.Items != expected.Items || back.DirectoryPointer != expected.DirectoryPointer) {
        return {MenuError::BadText, {}};
    }
    return {MenuError::None, std::move(content)};
}

// Why a file that must be a complete menu is not one.
MenuError Usable(const MenuFile& file) {
    switch (file.Status) {
        case ReadStatus::Ok:
            return MenuError::None;
        case ReadStatus::NoMarker:
            return MenuError::NotAMenu;
        case ReadStatus::NoSettings:
        case ReadStatus::Truncated:
        case ReadStatus::BadValue:
            return MenuError::Damaged;
    }
    return MenuError::Damaged;
}

std::string Compose(std::string prefix, const MenuFile& file) {
    std::string s = std::move(prefix);
    s += FormatTypeLine(file.MenuType);
    s += FormatSettingsLine(file.Settings);
    for (const MenuItem& item : file.Items) {
        AppendItemLine(s, item);
    }
    return s;
}

std::string FormatCheckValue(int value) {
    // A value that is not negative is written with one leading space.
    return (value >= 0 ? " " : "") + std::to_string(value);
}

}  // namespace

namespace {

// The first byte after the line that holds byte `pos - 1`: where a record that ended there is
// over, with the rest of its line.
std::size_t EndOfLine(std::string_view bytes, std::size_t pos) {
    if (pos == 0 || pos > bytes.size() || IsLineEnd(bytes[pos - 1])) {
        return std::min(pos, bytes.size());
    }
    while (pos < bytes.size() && !IsLineEnd(bytes[pos])) {
        ++pos;
    }
    return pos + LineEndLength(bytes, pos);
}

// The 1-based number of the line that holds byte `pos`, as a text editor counts them.
std::size_t LineNumber(std::string_view bytes, std::size_t pos) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < pos && i < bytes.size(); ++i) {
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) {
            ++line;
        }
    }
    return line;
}

enum class Records { None, UntilDamage, Every };

MenuFile Read(std::string_view bytes, Records records, const ReadProgress* progress = nullptr) {
    MenuFile file;
    std::size_t markerStart = 0;
    std::size_t markerEnd = FindMarkerEnd(bytes, &markerStart);
    if (markerEnd == std::string_view::npos) {
        file.Status = ReadStatus::NoMarker;
        return file;
    }
    file.PrefixLength = markerEnd;
    // The line end the writers put between the picture and the marker is not the picture's.
    std::size_t picture = markerStart;
    if (picture > 0 && bytes[picture - 1] == '\n') {
        --picture;
    }
    if (picture > 0 && bytes[picture - 1] == '\r') {
        --picture;
    }
    file.PictureLength = picture;
    FieldReader reader(bytes, markerEnd);
    reader.SkipEmptyLines();

    std::array<std::string, 6> fields;
    std::array<std::string, 1> type;
    std::array<std::string, 5> settings;
    if (reader.AtEnd() || !reader.Record(type) || !reader.Record(settings)) {
        file.Status = ReadStatus::NoSettings;
        return file;
    }
    if (!FitsQuoted(type[0]) || !FitsBare(settings[0]) || !FitsQuoted(settings[1]) ||
        !FitsBare(settings[2]) || !FitsBare(settings[3]) || !FitsBare(settings[4])) {
        file.Status = ReadStatus::BadValue;
        return file;
    }
    file.MenuType = type[0];
    file.Settings = {settings[0], settings[1], settings[2], settings[3], settings[4]};
    file.RecordsOffset = reader.Position();
    file.Status = ReadStatus::Ok;
    if (records == Records::None) {
        return file;
    }

    if (file.IsDirectoryPointer()) {
        std::array<std::string, 5> p;
        reader.SkipEmptyLines();
        if (reader.AtEnd() || !reader.Record(p)) {
            file.Status = ReadStatus::Truncated;
            return file;
        }
        if (!FitsQuoted(p[0]) || !FitsQuoted(p[1]) || !FitsBare(p[2]) || !FitsBare(p[3]) ||
            !FitsBare(p[4])) {
            file.Status = ReadStatus::BadValue;
            return file;
        }
        file.DirectoryPointer = DirectoryPointer{p[0], p[1], p[2], p[3], p[4]};
        return file;
    }
    for (reader.SkipEmptyLines(); !reader.AtEnd(); reader.SkipEmptyLines()) {
        const std::size_t start = reader.Position();
        if (progress != nullptr && file.Items.size() % 8192 == 0) {
            (*progress)(start, bytes.size());
        }
        const bool complete = reader.Record(fields);
        if (complete && FitsQuoted(fields[0]) && FitsQuoted(fields[1]) && FitsQuoted(fields[2]) &&
            FitsQuoted(fields[3]) && FitsQuoted(fields[4]) && FitsBare(fields[5])) {
            file.Items.push_back(
                {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
            continue;
        }
        // A record cut short runs to the end of the file; a bad one takes the rest of its line.
        const std::size_t end = complete ? EndOfLine(bytes, reader.Position()) : bytes.size();
        if (file.Status == ReadStatus::Ok) {
            file.Status = complete ? ReadStatus::BadValue : ReadStatus::Truncated;
            file.DamageOffset = start;
            file.DamageEnd = end;
            file.DamagedLine = LineNumber(bytes, start);
        }
        if (records != Records::Every || end >= bytes.size()) {
            break;
        }
        reader = FieldReader(bytes, end);
    }
    return file;
}

}  // namespace

MenuFile ReadMenu(std::string_view bytes) {
    return Read(bytes, Records::UntilDamage);
}

MenuFile ReadMenu(std::string_view bytes, const ReadProgress& progress) {
    return Read(bytes, Records::UntilDamage, &progress);
}

MenuFile ReadEveryRecord(std::string_view bytes) {
    return Read(bytes, Records::Every);
}

MenuFile ReadMenuHeader(std::string_view bytes) {
    return Read(bytes, Records::None);
}

bool ReadsBackAsWritten(const MenuItem& item) {
    const std::string line = FormatItemLine(item);
    FieldReader reader(line, 0);
    std::array<std::string, 6> f;
    if (!reader.Record(f) || !reader.AtEnd()) {
        return false;
    }
    if (!FitsQuoted(f[0]) || !FitsQuoted(f[1]) || !FitsQuoted(f[2]) || !FitsQuoted(f[3]) ||
        !FitsQuoted(f[4]) || !FitsBare(f[5])) {
        return false;
    }
    return MenuItem{f[0], f[1], f[2], f[3], f[4], f[5]} == item;
}

std::string FormatTypeLine(std::string_view type) {
    return Quoted(type) + std::string(kLineEnd);
}

std::string FormatSettingsLine(const MenuSettings& s) {
    std::string line = s.SmallIcons + "," + Quoted(s.FontName) + "," + s.FontSize + "," +
                       s.FontBold + "," + s.FontItalic;
    return line + std::string(kLineEnd);
}

void AppendItemLine(std::string& out, const MenuItem& item) {
    for (const std::string* quoted :
         {&item.Name, &item.Target, &item.Arguments, &item.StartIn, &item.IconFile}) {
        out += '"';
        out += *quoted;
        out += "\",";
    }
    out += item.IconIndex;
    out += kLineEnd;
}

std::string FormatItemLine(const MenuItem& item) {
    std::string line;
    AppendItemLine(line, item);
    return line;
}

std::string FormatPointerLine(const DirectoryPointer& p) {
    return Quoted(p.Folder) + "," + Quoted(p.Pattern) + "," + p.ShowFolders + "," +
           p.HideExtensions + "," + p.ShowHidden + std::string(kLineEnd);
}

std::string FormatSavedPointer(std::string_view folder, std::string_view pattern, int showFolders,
                               int hideExtensions, int showHidden) {
    return Quoted(folder) + "," + Quoted(pattern) + "," + FormatCheckValue(showFolders) + "," +
           FormatCheckValue(hideExtensions) + "," + FormatCheckValue(showHidden);
}

std::string_view PictureOf(std::string_view bytes, const MenuFile& file) {
    return bytes.substr(0, std::min(file.PictureLength, bytes.size()));
}

ItemIcon ItemIconOf(const MenuItem& item) {
    const int index = ToInt(item.IconIndex);
    if (!item.IconFile.empty()) {
        return {item.IconFile, index};
    }
    if (index > 0) {
        return {item.Target, index};
    }
    return {};
}

float ClampFontPoints(double points) {
    if (!(points > 0) || !std::isfinite(points)) {
        return kDefaultFontPoints;  // missing, zero, negative or not a number
    }
    return static_cast<float>(std::clamp(points, static_cast<double>(kSmallestFontPoints),
                                         static_cast<double>(kLargestFontPoints)));
}

MenuFont MenuFontOf(const MenuSettings& s) {
    return {s.FontName, ClampFontPoints(ToNumber(s.FontSize)), ToBool(s.FontBold),
            ToBool(s.FontItalic)};
}

int FontHeightPixels(float points, int dotsPerInch) {
    return -static_cast<int>(std::lround(static_cast<double>(points) * dotsPerInch / 72.0));
}

Built RewriteItems(std::string_view old, const MenuFile& parsed, std::string_view type,
                   const std::vector<MenuItem>& items) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    MenuFile file;
    file.MenuType = type;
    file.Settings = parsed.Settings;
    file.Items = items;
    if (file.IsDirectoryPointer()) {
        return {MenuError::BadText, {}};  // a pointer menu holds no items
    }
    return Checked(Compose(PrefixOf(old, parsed), file), file);
}

Built ChangeToDirectoryPointer(std::string_view old, const MenuFile& parsed) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    MenuFile file;
    file.MenuType = kDirectoryPointer;
    file.Settings = parsed.Settings;
    file.DirectoryPointer = DirectoryPointer{};
    return Checked(Compose(PrefixOf(old, parsed), file) + FormatPointerLine(*file.DirectoryPointer),
                   file);
}

Built ChangeToUserDefined(std::string_view old, const MenuFile& parsed) {
    return RewriteItems(old, parsed, kUserDefined, {});
}

Built SaveDirectoryPointer(std::string_view old, const MenuFile& parsed, std::string_view folder,
                           std::string_view pattern, int showFolders, int hideExtensions,
                           int showHidden) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    MenuFile file;
    file.MenuType = kDirectoryPointer;
    file.Settings = parsed.Settings;
    file.DirectoryPointer =
        DirectoryPointer{std::string(folder), std::string(pattern), std::to_string(showFolders),
                         std::to_string(hideExtensions), std::to_string(showHidden)};
    return Checked(Compose(PrefixOf(old, parsed), file) +
                       FormatSavedPointer(folder, pattern, showFolders, hideExtensions, showHidden),
                   file);
}

Built SaveAppearance(std::string_view old, const MenuFile& parsed, const std::string* picture,
                     const MenuSettings& settings) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    std::string prefix;
    if (picture == nullptr) {
        prefix = PrefixOf(old, parsed);  // the picture the menu has, byte for byte
    } else {
        prefix = *picture;
        prefix += kLineEnd;
        prefix += kMarker;
        prefix += kLineEnd;
        if (FindMarkerEnd(prefix) != prefix.size()) {
            return {MenuError::PictureHoldsMarker, {}};
        }
    }
    MenuFile file = parsed;
    file.Settings = settings;
    std::string content;
    if (file.IsDirectoryPointer()) {
        // The pointer record is kept byte for byte, in whichever of its forms it was written.
        content = Compose(std::move(prefix), file) + std::string(old.substr(file.RecordsOffset));
    } else {
        file.MenuType = kUserDefined;
        content = Compose(std::move(prefix), file);
    }
    return Checked(std::move(content), file);
}

Built AppendItem(std::string_view old, const MenuFile& parsed, const MenuItem& item) {
    if (MenuError e = Usable(parsed); e != MenuError::None) {
        return {e, {}};
    }
    if (parsed.IsDirectoryPointer()) {
        return {MenuError::BadText, {}};
    }
    std::string content(old);
    // Without a line end the new record would run into the last field of the file.
    if (content.empty() || !IsLineEnd(content.back())) {
        content += kLineEnd;
    }
    content += FormatItemLine(item);
    MenuFile file = parsed;
    file.Items.push_back(item);
    return Checked(std::move(content), file);
}

Built RewriteItems(std::string_view old, std::string_view type,
                   const std::vector<MenuItem>& items) {
    return RewriteItems(old, ReadMenu(old), type, items);
}

Built ChangeToDirectoryPointer(std::string_view old) {
    return ChangeToDirectoryPointer(old, ReadMenu(old));
}

Built ChangeToUserDefined(std::string_view old) {
    return ChangeToUserDefined(old, ReadMenu(old));
}

Built SaveDirectoryPointer(std::string_view old, std::string_view folder, std::string_view pattern,
                           int showFolders, int hideExtensions, int showHidden) {
    return SaveDirectoryPointer(old, ReadMenu(old), folder, pattern, showFolders, hideExtensions,
                                showHidden);
}

Built SaveAppearance(std::string_view old, std::string_view picture, const MenuSettings& settings) {
    const std::string copy(picture);
    return SaveAppearance(old, ReadMenu(old), &copy, settings);
}

Built AppendItem(std::string_view old, const MenuItem& item) {
    return AppendItem(old, ReadMenu(old), item);
}

Built UpgradeMenuFile(std::string_view old, std::string_view stockPicture) {
    std::string content(stockPicture);
    content += kLineEnd;
    content += kMarker;
    content += kLineEnd;
    std::size_t prefixLength = content.size();
    content += FormatTypeLine(kUserDefined);
    content += old;
    MenuFile back = ReadMenu(content);
    if (back.PrefixLength != prefixLength) {
        return {back.Status == ReadStatus::NoMarker ? MenuError::NotAMenu
                                                    : MenuError::PictureHoldsMarker,
                {}};
    }
    if (back.Status != ReadStatus::Ok) {
        return {MenuError::Damaged, {}};
    }
    return {MenuError::None, std::move(content)};
}

}  // namespace menufile
