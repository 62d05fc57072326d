// Entries of user-defined menus and directory pointers.
#include "engine/menu_entries.h"

#include <algorithm>

namespace engine {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

void AppendSorted(std::vector<std::string>& names, std::vector<std::string> group) {
    std::stable_sort(group.begin(), group.end(), LessNoCase);
    names.insert(names.end(), group.begin(), group.end());
}

}  // namespace

std::string FolderWithBackslash(const std::string& folder) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') {
        return folder;
    }
    return folder + "\\";  // "C:\\Music" + "a.mp3" would name the wrong file
}

std::vector<std::string> ListPointerNames(const menufile::DirectoryPointer& pointer,
                                          const FolderLister& list) {
    const std::string folder = FolderWithBackslash(pointer.Folder);
    const bool showFolders = menufile::ToBool(pointer.ShowFolders);
    const bool showHidden = menufile::ToBool(pointer.ShowHidden);
    // A big folder is slow to list: when the files pass would list everything anyway, the
    // folders pass reuses its listing.
    const bool matchAll = pointer.Pattern == "*.*" || pointer.Pattern == "*";
    const std::vector<FolderEntry> everything =
        showFolders || matchAll ? list(folder, "*.*") : std::vector<FolderEntry>{};
    std::vector<std::string> names;
    if (showFolders) {
        std::vector<std::string> folders;
        for (const FolderEntry& e : everything) {
            if (e.Directory && !e.Hidden && !e.System && e.Name != "." && e.Name != "..") {
                folders.push_back(e.Name);
            }
        }
        AppendSorted(names, std::move(folders));
    }
    std::vector<std::string> files;
    for (const FolderEntry& e : matchAll ? everything : list(folder, pointer.Pattern)) {
        if (!e.Directory && (showHidden || !e.Hidden)) {
            files.push_back(e.Name);
        }
    }
    AppendSorted(names, std::move(files));
    return names;
}

bool CanShowMenu(const menufile::MenuFile& menu) {
    using menufile::ReadStatus;
    switch (menu.Status) {
        case ReadStatus::Ok:
            return true;
        case ReadStatus::Truncated:
        case ReadStatus::BadValue:
            // One bad record must not hide the good ones; a pointer has nothing to read on to.
            return !menu.IsDirectoryPointer() && !menu.Items.empty();
        case ReadStatus::NoMarker:
        case ReadStatus::NoSettings:
            return false;
    }
    return false;
}

std::vector<Entry> BuildEntries(const menufile::MenuFile& menu, const FolderLister& list,
                                const DisplayNamer& displayName) {
    if (!menu.IsDirectoryPointer()) {
        return menu.Items;
    }
    std::vector<Entry> entries;
    if (!menu.Pointer) {
        return entries;
    }
    const menufile::DirectoryPointer& pointer = *menu.Pointer;
    const bool hideExtensions = menufile::ToNumber(pointer.HideExtensions) >= 1;
    for (std::string& name : ListPointerNames(pointer, list)) {
        Entry e;
        e.Target = FolderWithBackslash(pointer.Folder) + name;
        e.Name = hideExtensions ? displayName(e.Target) : name;
        if (e.Name.empty()) {
            e.Name = name;  // the shell knows no display name: the file name still says what it is
        }
        e.IconIndex = "0";
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace engine
