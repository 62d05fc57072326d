// Menu file reader: the field reader, the marker search and ReadMenu with its variants.
#include <algorithm>
#include <array>
#include <utility>

#include "menufile/field_text.h"
#include "menufile/menu_file.h"

namespace menufile {
namespace field {

std::size_t FindMarkerEnd(std::string_view bytes, std::size_t* markerStart) {
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

}  // namespace field

namespace {

using field::FindMarkerEnd;
using field::IsBlank;
using field::IsLineEnd;
using field::LineEndLength;
using field::TrimBlanks;

// How a record's fields were read: all of them, cut short by the end of the data, or broken off
// at a quote out of step.
enum class Fields { Complete, CutShort, Broken };

// Fields separated by commas and line ends; a quoted field runs to the next quote (no
// escape) and anything after its closing quote up to the separator is ignored. No program
// writes a line end inside a quoted text, so a quoted text ends with its line: one still open
// there, or a quote after the closing one, is a quote lost by a hand edit. The record breaks
// off and reading goes on at the next line, whose quotes then pair up as they were written.
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
            std::size_t close = p + 1;
            while (close < m_data.size() && m_data[close] != '"' && !IsLineEnd(m_data[close])) {
                ++close;
            }
            if (close < m_data.size() && m_data[close] != '"') {
                return BreakOff(close);
            }
            // The last text of data cut short has no line end: it is what is left, as always.
            value.assign(m_data.substr(p + 1, close - p - 1));
            p = close < m_data.size() ? close + 1 : close;
            while (p < m_data.size() && m_data[p] != ',' && !IsLineEnd(m_data[p])) {
                if (m_data[p] == '"') {
                    return BreakOff(p);
                }
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

    // Broken: the reader stands at the start of the line after the one the quotes broke on.
    template <std::size_t N>
    [[nodiscard]] Fields Record(std::array<std::string, N>& out) {
        m_broken = false;
        for (auto& field : out) {
            auto value = Next();
            if (!value) {
                return m_broken ? Fields::Broken : Fields::CutShort;
            }
            field = std::move(*value);
        }
        return Fields::Complete;
    }

    [[nodiscard]] std::size_t Position() const { return m_pos; }

private:
    // No field: the rest of the line from `pos` on is skipped.
    std::optional<std::string> BreakOff(std::size_t pos) {
        while (pos < m_data.size() && !IsLineEnd(m_data[pos])) {
            ++pos;
        }
        m_pos = pos + LineEndLength(m_data, pos);
        m_emptyFieldAtEnd = false;
        m_broken = true;
        return std::nullopt;
    }

    std::string_view m_data;
    std::size_t m_pos;
    bool m_emptyFieldAtEnd = false;
    bool m_broken = false;
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
    const Fields typeRead = reader.AtEnd() ? Fields::CutShort : reader.Record(type);
    const Fields settingsRead = typeRead == Fields::Complete ? reader.Record(settings) : typeRead;
    if (settingsRead == Fields::CutShort) {
        file.Status = ReadStatus::NoSettings;
        return file;
    }
    if (settingsRead == Fields::Broken || !FitsQuoted(type[0]) || !FitsBare(settings[0]) ||
        !FitsQuoted(settings[1]) || !FitsBare(settings[2]) || !FitsBare(settings[3]) ||
        !FitsBare(settings[4])) {
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
        const Fields pointerRead = reader.AtEnd() ? Fields::CutShort : reader.Record(p);
        if (pointerRead == Fields::CutShort) {
            file.Status = ReadStatus::Truncated;
            return file;
        }
        if (pointerRead == Fields::Broken || !FitsQuoted(p[0]) || !FitsQuoted(p[1]) ||
            !FitsBare(p[2]) || !FitsBare(p[3]) || !FitsBare(p[4])) {
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
        const Fields read = reader.Record(fields);
        if (read == Fields::Complete && FitsQuoted(fields[0]) && FitsQuoted(fields[1]) &&
            FitsQuoted(fields[2]) && FitsQuoted(fields[3]) && FitsQuoted(fields[4]) &&
            FitsBare(fields[5])) {
            file.Items.push_back(
                {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
            continue;
        }
        // A record cut short runs to the end of the file; a bad one takes the rest of its line,
        // a broken one the line its quotes broke on.
        const bool cutShort = read == Fields::CutShort;
        const std::size_t end = cutShort ? bytes.size() : EndOfLine(bytes, reader.Position());
        if (file.Status == ReadStatus::Ok) {
            file.Status = cutShort ? ReadStatus::Truncated : ReadStatus::BadValue;
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
    if (reader.Record(f) != Fields::Complete || !reader.AtEnd()) {
        return false;
    }
    if (!FitsQuoted(f[0]) || !FitsQuoted(f[1]) || !FitsQuoted(f[2]) || !FitsQuoted(f[3]) ||
        !FitsQuoted(f[4]) || !FitsBare(f[5])) {
        return false;
    }
    return MenuItem{f[0], f[1], f[2], f[3], f[4], f[5]} == item;
}

}  // namespace menufile
