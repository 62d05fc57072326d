// The menu file path both programs take from their command line.
#pragma once

#include <string>
#include <string_view>

namespace menufile {

// The path is normally wrapped in double quotes; the quotes are dropped only when they are
// there (a path without spaces can arrive without them), and surrounding blanks are ignored.
[[nodiscard]] inline std::string PathFromCommandLine(std::string_view commandLine) {
    while (!commandLine.empty() && (commandLine.front() == ' ' || commandLine.front() == '\t')) {
        commandLine.remove_prefix(1);
    }
    while (!commandLine.empty() && (commandLine.back() == ' ' || commandLine.back() == '\t')) {
        commandLine.remove_suffix(1);
    }
    if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"') {
        commandLine = commandLine.substr(1, commandLine.size() - 2);
    } else if (!commandLine.empty() && commandLine.front() == '"') {
        commandLine.remove_prefix(1);  // an opening quote whose partner is missing
    }
    return std::string(commandLine);
}

}  // namespace menufile
