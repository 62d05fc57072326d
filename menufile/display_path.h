// A path as a message shows it: whole when it is short, else its start and its file name, so a
// message box naming any path stays narrower than the screen and one line tall.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace menufile {

// The last part of a path, after its last backslash or slash; separators at its end are left
// out first, so a folder given as "C:\Menus\" is "Menus".
[[nodiscard]] inline std::string_view LastPathPart(std::string_view path) {
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) {
        path.remove_suffix(1);
    }
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// Bytes of a path a message shows: even in wide letters its box stays narrower than a screen
// 1024 pixels wide.
inline constexpr std::size_t kShownPathLength = 64;

// The path itself when it has at most `limit` bytes; else `limit` bytes of it: its start and
// its file name with "..." between (a file name too long for that keeps its end).
[[nodiscard]] inline std::string ShortenPath(std::string_view path,
                                             std::size_t limit = kShownPathLength) {
    constexpr std::string_view kEllipsis = "...";
    if (path.size() <= limit) {
        return std::string(path);
    }
    if (limit <= kEllipsis.size()) {
        return std::string(path.substr(0, limit));
    }
    const std::size_t room = limit - kEllipsis.size();
    // The file name with its backslash says which file; the start says which drive and folder.
    // The name takes at most two thirds of the room, so the start always shows.
    const std::size_t separator = path.find_last_of("\\/");
    const std::size_t name = separator == std::string_view::npos ? 0 : separator;
    const std::size_t tail = std::min(path.size() - name, room - room / 3);
    // Cut between characters only: a UTF-8 follower byte (10xxxxxx) never starts a piece.
    auto follower = [&](std::size_t at) {
        return at < path.size() && (static_cast<unsigned char>(path[at]) & 0xC0) == 0x80;
    };
    std::size_t headEnd = room - tail;
    while (headEnd > 0 && follower(headEnd)) {
        --headEnd;
    }
    std::size_t tailStart = path.size() - tail;
    while (follower(tailStart)) {
        ++tailStart;
    }
    std::string shown(path.substr(0, headEnd));
    shown += kEllipsis;
    shown += path.substr(tailStart);
    return shown;
}

}  // namespace menufile
