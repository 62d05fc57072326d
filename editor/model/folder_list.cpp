// Folder paths as the drive list, the folder list and the path box show them.
#include "editor/model/folder_list.h"

#include <algorithm>

namespace editor {
namespace {

bool IsSlash(char c) {
    return c == '\\' || c == '/';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

// Length of the root of a path ("C:\" is 3, "\\server\share\" up to its last backslash), or
// 0 when the path has none.
std::size_t RootLength(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        return path.size() >= 3 && IsSlash(path[2]) ? 3 : 2;
    }
    if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) {
        // \\server\share\ : the root ends after the share name.
        std::size_t server = path.find_first_of("\\/", 2);
        if (server == std::string_view::npos) {
            return 0;
        }
        std::size_t share = path.find_first_of("\\/", server + 1);
        return share == std::string_view::npos ? path.size() : share + 1;
    }
    return 0;
}

}  // namespace

std::string WithTrailingBackslash(std::string_view text) {
    std::string result(text);
    if (result.empty() || result.back() != '\\') {
        result += '\\';
    }
    return result;
}

std::string DriveOf(std::string_view path) {
    if (RootLength(path) >= 2 && path[1] == ':') {
        char letter =
            path[0] >= 'a' && path[0] <= 'z' ? static_cast<char>(path[0] - 'a' + 'A') : path[0];
        return std::string{letter, ':'};
    }
    return {};
}

std::string FolderListPath(std::string_view folder) {
    std::size_t root = RootLength(folder);
    if (root == 0) {
        return std::string(folder);
    }
    std::string result(folder.substr(0, root));
    if (result.back() != '\\') {
        result += '\\';  // "C:" is the drive's root here
    }
    std::string_view rest = folder.substr(root);
    while (!rest.empty() && IsSlash(rest.back())) {
        rest.remove_suffix(1);
    }
    result += rest;
    return result;
}

std::vector<std::string> FolderChain(std::string_view folder) {
    std::vector<std::string> chain;
    std::string path = FolderListPath(folder);
    std::size_t root = RootLength(path);
    if (root == 0) {
        return chain;
    }
    chain.push_back(path.substr(0, root));
    std::size_t pos = root;
    while (pos < path.size()) {
        std::size_t next = path.find_first_of("\\/", pos);
        if (next == std::string::npos) {
            next = path.size();
        }
        if (next > pos) {  // doubled backslashes are not a folder
            chain.push_back(path.substr(0, next));
        }
        pos = next + 1;
    }
    return chain;
}

std::vector<FolderRow> FolderRows(std::string_view folder, std::vector<std::string> subFolders) {
    std::vector<FolderRow> rows;
    std::vector<std::string> chain = FolderChain(folder);
    for (std::size_t i = 0; i < chain.size(); ++i) {
        std::string label = i == 0 ? chain[i] : chain[i].substr(chain[i - 1].size() + (i > 1));
        rows.push_back({chain[i], std::move(label), static_cast<int>(i), true});
    }
    if (chain.empty()) {
        return rows;
    }
    std::sort(subFolders.begin(), subFolders.end(), LessNoCase);
    const std::string& current = chain.back();
    for (std::string& name : subFolders) {
        std::string path = current.back() == '\\' ? current + name : current + "\\" + name;
        rows.push_back({std::move(path), std::move(name), static_cast<int>(chain.size()), false});
    }
    return rows;
}

}  // namespace editor
