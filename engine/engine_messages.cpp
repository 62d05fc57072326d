// The engine's message texts, and the rule that shortens the path they name.
#include "engine/engine_messages.h"

namespace engine {
namespace {

// Windows counts a path in UTF-16 units: one for each UTF-8 character, two for one of four bytes.
std::size_t WindowsLength(std::string_view utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) == 0x80 ? 0 : (byte & 0xF8) == 0xF0 ? 2 : 1;
    }
    return units;
}

}  // namespace

MenuProblem ReadProblem(menufile::FileError error, menufile::PathKind kind, std::string_view path) {
    // Windows tells a path it will not take by its length as often as by a "not found".
    if (error == menufile::FileError::PathTooLong || WindowsLength(path) > kLongestPath) {
        return MenuProblem::TooLong;
    }
    // Opening a folder as a file fails as access denied: the path says more.
    if (kind == menufile::PathKind::Folder) {
        return MenuProblem::Folder;
    }
    return error == menufile::FileError::NotFound ? MenuProblem::Missing : MenuProblem::Unreadable;
}

std::string ProblemMessage(MenuProblem problem, std::string_view path) {
    const std::string shown = menufile::ShortenPath(path);
    switch (problem) {
        case MenuProblem::Empty:
            return "Menu is empty.\rPlease run the Menu Editor.";
        case MenuProblem::Folder:
            return "The path names a folder, not a menu file:\n" + shown;
        case MenuProblem::Missing:
            return "The menu file does not exist:\n" + shown;
        case MenuProblem::Unreadable:
            return "The menu file cannot be read:\n" + shown +
                   "\nAnother program may have it locked, or you may not be allowed to read it.";
        case MenuProblem::TooLong:
            return "The path of the menu file is too long (" + std::to_string(WindowsLength(path)) +
                   " characters):\n" + shown;
    }
    return {};
}

std::string LaunchFailedMessage(std::string_view target, std::string_view reason) {
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' ||
                               reason.back() == ' ' || reason.back() == '.')) {
        reason.remove_suffix(1);
    }
    const std::string shown =
        target.empty() ? std::string("(no target)") : menufile::ShortenPath(target);
    return "This item cannot be opened:\n" + shown + "\n" +
           (reason.empty() ? std::string("Windows gave no reason") : std::string(reason)) + ".";
}

}  // namespace engine
