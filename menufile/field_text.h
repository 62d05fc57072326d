// Small text rules of the menu file's fields and lines, shared by its reader, its builders and its
// number conversions.
#pragma once

#include <cstddef>
#include <string_view>

namespace menufile::field {

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

inline std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// ASCII letters alike in either case: the file's words ("True", "USERDEF") are ASCII.
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

inline bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Length of the line end at `pos`: CR LF, a lone CR or a lone LF (hand-edited files).
inline std::size_t LineEndLength(std::string_view s, std::size_t pos) {
    if (pos >= s.size()) {
        return 0;
    }
    if (s[pos] == '\r') {
        return (pos + 1 < s.size() && s[pos + 1] == '\n') ? 2 : 1;
    }
    return s[pos] == '\n' ? 1 : 0;
}

// Offset just after the marker line's end, or npos when no line equals the marker;
// `markerStart` gets the offset of the marker line itself.
std::size_t FindMarkerEnd(std::string_view bytes, std::size_t* markerStart = nullptr);

}  // namespace menufile::field
