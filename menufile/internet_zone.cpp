// The Internet zone mark of a menu file, and the paths icons are not taken from.
#include "menufile/internet_zone.h"

#include <cctype>

namespace menufile {
namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The stream's text as bytes: some writers store it as UTF-16 with a byte order mark.
std::string Narrowed(std::string_view text) {
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF &&
        static_cast<unsigned char>(text[1]) == 0xFE) {
        std::string out;
        for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
            out += text[i + 1] == '\0' ? text[i] : '?';
        }
        return out;
    }
    if (StartsWithNoCase(text, "\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    return std::string(text);
}

}  // namespace

bool IsInternetZone(std::string_view zoneIdentifier) {
    const std::string text = Narrowed(zoneIdentifier);
    bool inSection = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line = Trim(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.front() == '[') {
            inSection = StartsWithNoCase(line, "[ZoneTransfer]") && line.size() == 14;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos ||
            !StartsWithNoCase(Trim(line.substr(0, equals)), "ZoneId") ||
            Trim(line.substr(0, equals)).size() != 6) {
            continue;
        }
        const std::string_view value = Trim(line.substr(equals + 1));
        return value == "3" || value == "4";
    }
    return false;
}

bool CameFromInternet(FileSystem& fs, const std::string& path) {
    std::string text;
    return fs.ReadFile(path + ":Zone.Identifier", text) == FileError::None && IsInternetZone(text);
}

bool IsRemotePath(std::string_view path) {
    std::string p(Trim(path));
    if (!p.empty() && p.front() == '"') {
        p.erase(0, 1);
    }
    for (char& c : p) {
        c = c == '/' ? '\\' : c;
    }
    // An address of any scheme ("http:", "https:", "file:", "ftp:"...): a drive letter is
    // the only one-letter prefix before a colon.
    const std::size_t colon = p.find(':');
    if (colon >= 2 && colon != std::string::npos && p.find('\\') > colon) {
        bool scheme = true;
        for (std::size_t i = 0; i < colon; ++i) {
            scheme = scheme && (std::isalnum(static_cast<unsigned char>(p[i])) || p[i] == '+' ||
                                p[i] == '-' || p[i] == '.');
        }
        if (scheme) {
            return !StartsWithNoCase(p, "file:\\\\\\") || p.size() < 10 || p[9] != ':';
        }
    }
    // \\?\ and \\.\ name a local path after them unless it is UNC; \\host\ (also
    // \\host@SSL\, \\host@8080\) is another machine.
    for (std::string_view device : {"\\\\?\\", "\\\\.\\", "\\??\\"}) {
        if (StartsWithNoCase(p, device)) {
            return StartsWithNoCase(std::string_view(p).substr(device.size()), "UNC\\");
        }
    }
    return StartsWithNoCase(p, "\\\\");
}

bool MayTakeIconFrom(std::string_view path, bool menuFromInternet) {
    return !menuFromInternet || !IsRemotePath(path);
}

ItemIcon ItemIconFor(const MenuItem& item, bool menuFromInternet) {
    ItemIcon icon = ItemIconOf(item);
    return MayTakeIconFrom(icon.File, menuFromInternet) ? icon : ItemIcon{};
}

}  // namespace menufile
