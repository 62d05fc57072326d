// Entries of user-defined menus and directory pointers.
#include "engine/menu_entries.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace engine {
namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Stable: names the order finds equal ("a" and "A" without regard to case) keep the order the
// file system listed them in, so the menu does not change from one opening to the next.
void AppendSorted(std::vector<std::string>& names, std::vector<std::string> group,
                  const NameOrder& order) {
    std::stable_sort(group.begin(), group.end(), order);
    names.insert(names.end(), group.begin(), group.end());
}

}  // namespace

bool LessWithoutCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct NaturalKey {
    struct Run {
        bool Digits = false;
        std::string Key;  // the number without leading zeros, or the text's key
    };
    std::vector<Run> Runs;
};

NaturalKey MakeKey(std::string_view name, const TextKey& textKey) {
    NaturalKey key;
    std::size_t i = 0;
    while (i < name.size()) {
        const bool digits = IsDigit(name[i]);
        std::size_t end = i;
        while (end < name.size() && IsDigit(name[end]) == digits) {
            ++end;
        }
        std::string_view run = name.substr(i, end - i);
        if (digits) {
            const std::size_t first = run.find_first_not_of('0');
            run = first == std::string_view::npos ? std::string_view("0") : run.substr(first);
            key.Runs.push_back({true, std::string(run)});
        } else {
            key.Runs.push_back({false, textKey(run)});
        }
        i = end;
    }
    return key;
}

bool NaturalLess(const NaturalKey& a, const NaturalKey& b) {
    const std::size_t common = std::min(a.Runs.size(), b.Runs.size());
    for (std::size_t k = 0; k < common; ++k) {
        const NaturalKey::Run& x = a.Runs[k];
        const NaturalKey::Run& y = b.Runs[k];
        if (x.Digits != y.Digits) {
            return x.Digits;
        }
        if (x.Digits && x.Key.size() != y.Key.size()) {
            return x.Key.size() < y.Key.size();  // the number with fewer digits is smaller
        }
        if (x.Key != y.Key) {
            return x.Key < y.Key;
        }
    }
    return a.Runs.size() < b.Runs.size();
}

}  // namespace

NameOrder NaturalOrder(TextKey textKey) {
    // Sorting asks about each name many times; its key is made the first time only.
    auto keys = std::make_shared<std::unordered_map<std::string, NaturalKey>>();
    return [keys, textKey = std::move(textKey)](const std::string& a, const std::string& b) {
        auto keyOf = [&](const std::string& name) -> const NaturalKey& {
            auto it = keys->find(name);
            if (it == keys->end()) {
                it = keys->emplace(name, MakeKey(name, textKey)).first;
            }
            return it->second;
        };
        const NaturalKey& x = keyOf(a);
        return NaturalLess(x, keyOf(b));
    };
}

std::string FolderWithBackslash(const std::string& folder) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') {
        return folder;
    }
    return folder + "\\";  // "C:\\Music" + "a.mp3" would name the wrong file
}

std::vector<std::string> ListPointerNames(const menufile::DirectoryPointer& pointer,
                                          const FolderLister& list, const NameOrder& order) {
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
        AppendSorted(names, std::move(folders), order);
    }
    std::vector<std::string> files;
    for (const FolderEntry& e : matchAll ? everything : list(folder, pointer.Pattern)) {
        if (!e.Directory && (showHidden || !e.Hidden)) {
            files.push_back(e.Name);
        }
    }
    AppendSorted(names, std::move(files), order);
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
                                const DisplayNamer& displayName, const NameOrder& order) {
    if (!menu.IsDirectoryPointer()) {
        return menu.Items;
    }
    std::vector<Entry> entries;
    if (!menu.Pointer) {
        return entries;
    }
    const menufile::DirectoryPointer& pointer = *menu.Pointer;
    const bool hideExtensions = menufile::ToNumber(pointer.HideExtensions) >= 1;
    for (std::string& name : ListPointerNames(pointer, list, order)) {
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
