// The folder rules of the directory-pointer page: the path box's trailing backslash and the
// folder list's rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace editor {

// The path box keeps a backslash at its end: the text with one appended when it has none.
[[nodiscard]] std::string WithTrailingBackslash(std::string_view text);

// "C:" for a path on drive C (any case of letter); empty for a path without a drive letter.
[[nodiscard]] std::string DriveOf(std::string_view path);

// A folder as the folder list holds it: the root keeps its backslash ("C:\", "\\server\share\"), any other
// folder has none at its end ("C:\Users").
[[nodiscard]] std::string FolderListPath(std::string_view folder);

// The folder and its ancestors, root first: "C:\Users\root" gives "C:\", "C:\Users",
// "C:\Users\root". Empty for a path with no root.
[[nodiscard]] std::vector<std::string> FolderChain(std::string_view folder);

// One row of the folder list: the open folders from the root down to the current one, then the current
// folder's sub-folders.
struct FolderRow {
    std::string Path;   // full path in the folder list's form
    std::string Label;  // what the row shows: the root's path, else the folder's own name
    int Depth = 0;      // indentation level
    bool Open = false;  // the root, an ancestor or the current folder
};

// Rows for the current folder `folder` with these sub-folder names (sorted here, ignoring case).
[[nodiscard]] std::vector<FolderRow> FolderRows(std::string_view folder,
                                                std::vector<std::string> subFolders);

}  // namespace editor
