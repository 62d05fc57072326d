// Entries of user-defined menus and directory pointers.
#include "engine/menu_entries.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <unordered_map>

namespace engine {
namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
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

// The comparator NaturalOrder makes. Sorting asks about each name many times; its key is made
// the first time only. AppendSorted knows it, and makes all the keys up front instead.
struct NaturalComparator {
    std::shared_ptr<std::unordered_map<std::string, NaturalKey>> keys;
    TextKey textKey;

    bool operator()(const std::string& a, const std::string& b) const {
        auto keyOf = [&](const std::string& name) -> const NaturalKey& {
            auto it = keys->find(name);
            if (it == keys->end()) {
                it = keys->emplace(name, MakeKey(name, textKey)).first;
            }
            return it->second;
        };
        const NaturalKey& x = keyOf(a);
        return NaturalLess(x, keyOf(b));
    }
};

// Stable: names the order finds equal ("a" and "A" without regard to case) keep the order the
// file system listed them in, so the menu does not change from one opening to the next.
void AppendSorted(std::vector<std::string>& names, std::vector<std::string> group,
                  const NameOrder& order) {
    if (const auto* natural = order.target<NaturalComparator>()) {
        // Each key made once, then compared without looking names up (hashing two names per
        // comparison was most of the sorting time on a folder of 10,000 names).
        std::vector<NaturalKey> keys;
        keys.reserve(group.size());
        for (const std::string& name : group) {
            keys.push_back(MakeKey(name, natural->textKey));
        }
        std::vector<std::size_t> sorted(group.size());
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            sorted[i] = i;
        }
        std::stable_sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) {
            return NaturalLess(keys[a], keys[b]);
        });
        for (std::size_t i : sorted) {
            names.push_back(std::move(group[i]));
        }
        return;
    }
    std::stable_sort(group.begin(), group.end(), order);
    names.insert(names.end(), std::make_move_iterator(group.begin()),
                 std::make_move_iterator(group.end()));
}

}  // namespace

NameOrder NaturalOrder(TextKey textKey) {
    auto keys = std::make_shared<std::unordered_map<std::string, NaturalKey>>();
    // Names of a folder share their stretches of text ("file ", ".txt"): each stretch is asked
    // of the locale once, not once per name.
    auto texts = std::make_shared<std::unordered_map<std::string, std::string>>();
    TextKey onceEach = [texts, textKey = std::move(textKey)](std::string_view text) {
        auto it = texts->find(std::string(text));
        if (it == texts->end()) {
            it = texts->emplace(std::string(text), textKey(text)).first;
        }
        return it->second;
    };
    return NaturalComparator{std::move(keys), std::move(onceEach)};
}

std::string FolderWithBackslash(const std::string& folder) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') {
        return folder;
    }
    return folder + "\\";  // "C:\\Music" + "a.mp3" would name the wrong file
}

FolderListing FirstListing(const menufile::DirectoryPointer& pointer) {
    // A big folder is slow to list: when the files pass would list everything anyway, the
    // folders pass reuses its listing, so the first listing is of everything.
    const bool matchAll = pointer.Pattern == "*.*" || pointer.Pattern == "*";
    const bool everything = menufile::ToBool(pointer.ShowFolders) || matchAll;
    return {FolderWithBackslash(pointer.Folder), everything ? "*.*" : pointer.Pattern};
}

namespace {

struct ListedName {
    std::string Name;
    bool Directory = false;
};

// Folders first (when shown), then files, each group in `order`.
std::vector<ListedName> ListPointer(const menufile::DirectoryPointer& pointer,
                                    const FolderLister& list, const NameOrder& order) {
    const std::string folder = FolderWithBackslash(pointer.Folder);
    const bool showFolders = menufile::ToBool(pointer.ShowFolders);
    const bool showHidden = menufile::ToBool(pointer.ShowHidden);
    const bool matchAll = pointer.Pattern == "*.*" || pointer.Pattern == "*";
    const FolderListing first = FirstListing(pointer);
    const std::vector<ListedFile> everything =
        showFolders || matchAll ? list(first.Folder, first.Pattern) : std::vector<ListedFile>{};
    std::vector<std::string> names;
    if (showFolders) {
        std::vector<std::string> folders;
        for (const ListedFile& e : everything) {
            if (e.Directory && !e.Hidden && !e.System && e.Name != "." && e.Name != "..") {
                folders.push_back(e.Name);
            }
        }
        AppendSorted(names, std::move(folders), order);
    }
    const std::size_t folderCount = names.size();
    std::vector<std::string> files;
    for (const ListedFile& e : matchAll ? everything : list(folder, pointer.Pattern)) {
        if (!e.Directory && (showHidden || !e.Hidden)) {
            files.push_back(e.Name);
        }
    }
    AppendSorted(names, std::move(files), order);
    std::vector<ListedName> listed;
    listed.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        listed.push_back({std::move(names[i]), i < folderCount});
    }
    return listed;
}

}  // namespace

std::vector<std::string> ListPointerNames(const menufile::DirectoryPointer& pointer,
                                          const FolderLister& list, const NameOrder& order) {
    std::vector<std::string> names;
    for (ListedName& n : ListPointer(pointer, list, order)) {
        names.push_back(std::move(n.Name));
    }
    return names;
}

std::size_t ExtensionStart(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) {
        return std::string_view::npos;
    }
    return dot;
}

bool IsMenuFileName(std::string_view name) {
    const std::size_t slash = name.find_last_of("\\/");
    return ExtensionKey(slash == std::string_view::npos ? name : name.substr(slash + 1)) == ".tvl";
}

std::string ExtensionKey(std::string_view name) {
    const std::size_t dot = ExtensionStart(name);
    std::string key(dot == std::string_view::npos ? std::string_view() : name.substr(dot));
    for (char& c : key) {
        c = Lower(c);
    }
    return key;
}

HiddenExtensions::HiddenExtensions(DisplayNamer displayName)
    : m_displayName(std::move(displayName)) {}

std::string HiddenExtensions::ShownName(const std::string& folder, const std::string& name) {
    const std::size_t dot = ExtensionStart(name);
    if (dot == std::string::npos) {
        return name;
    }
    Type& type = m_types[ExtensionKey(name)];
    if (!type.decided) {
        const std::string answer = m_displayName ? m_displayName(folder + name) : std::string();
        ++type.tries;
        if (!answer.empty()) {
            // Any other answer (a name of the shell's own) tells nothing about the extension.
            type.hidden = answer == std::string_view(name).substr(0, dot);
            type.decided = true;
        } else if (type.tries >= kTries) {
            type.decided = true;
        }
    }
    return type.hidden ? name.substr(0, dot) : name;
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

std::vector<menufile::MenuItem> BuildEntries(const menufile::MenuFile& menu,
                                             const FolderLister& list,
                                             const DisplayNamer& displayName,
                                             const NameOrder& order, std::vector<Submenu>* submenus,
                                             const FolderProbe& isFolder) {
    if (submenus) {
        submenus->clear();
    }
    if (!menu.IsDirectoryPointer()) {
        if (submenus) {
            submenus->reserve(menu.Items.size());
            for (const menufile::MenuItem& item : menu.Items) {
                const bool network = item.Target.starts_with("\\\\");
                submenus->push_back(item.IsSeparator() || item.Target.empty() ? Submenu::None
                                    : IsMenuFileName(item.Target)             ? Submenu::Menu
                                    : !network && isFolder && isFolder(item.Target)
                                        ? Submenu::Folder
                                        : Submenu::None);
            }
        }
        return menu.Items;
    }
    std::vector<menufile::MenuItem> entries;
    if (!menu.DirectoryPointer) {
        return entries;
    }
    const menufile::DirectoryPointer& pointer = *menu.DirectoryPointer;
    const bool hideExtensions = menufile::ToNumber(pointer.HideExtensions) >= 1;
    const std::string folder = FolderWithBackslash(pointer.Folder);
    HiddenExtensions shown(displayName);
    for (ListedName& listed : ListPointer(pointer, list, order)) {
        if (submenus) {
            submenus->push_back(listed.Directory              ? Submenu::Folder
                                : IsMenuFileName(listed.Name) ? Submenu::Menu
                                                              : Submenu::None);
        }
        menufile::MenuItem e;
        e.Target = folder + listed.Name;
        // Explorer hides no folder's "extension": "v1.2" stays "v1.2".
        e.Name = hideExtensions && !listed.Directory ? shown.ShownName(folder, listed.Name)
                                                     : std::move(listed.Name);
        e.IconIndex = "0";
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace engine
