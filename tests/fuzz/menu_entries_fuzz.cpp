// libFuzzer target: the engine's reading of a menu file into its list, as the engine starts, with
// a fake folder listing and shell names made from the input, so nothing touches the disk.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/menu_entries.h"
#include "menufile/menu_file.h"
#include "menufile/text_encoding.h"
#include "tests/support/windows_1252.h"

namespace {

// Names the broken invariant before the abort, since the crash report gives no line.
void Fail(const char* condition, int line) {
    std::fprintf(stderr, "%s:%d: %s\n", __FILE__, line, condition);
    std::abort();
}
#define REQUIRE(condition) ((condition) ? static_cast<void>(0) : Fail(#condition, __LINE__))

std::uint32_t Hash(std::string_view text) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : text) {
        h = (h ^ c) * 16777619u;
    }
    return h;
}

// The folder holds the input's own pieces (split at commas and line ends), so the fuzzer steers
// the names: dots, digits, case, bytes of either encoding. Flags come from each name's hash.
std::vector<engine::ListedFile> FakeFolder(std::string_view input) {
    std::vector<engine::ListedFile> entries = {{".", true, false, false},
                                                {"..", true, false, false}};
    std::size_t start = 0;
    while (start < input.size() && entries.size() < 64) {
        std::size_t end = input.find_first_of(",\r\n", start);
        if (end == std::string_view::npos) {
            end = input.size();
        }
        const std::string_view name = input.substr(start, end - start);
        // "." and ".." are the folder's own entries, always folders.
        if (!name.empty() && name != "." && name != "..") {
            const std::uint32_t h = Hash(name);
            entries.push_back({std::string(name), (h & 3) == 0, (h & 12) == 0, (h & 48) == 0});
        }
        start = end + 1;
    }
    return entries;
}

// The shell's name of a path: none, the file name without its extension, or one of its own.
std::string FakeDisplayName(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    switch (Hash(path) % 4) {
        case 0:
            return {};
        case 1:
            return name.substr(0, engine::ExtensionStart(name));
        case 2:
            return name;
        default:
            return "Shell's own";
    }
}

std::string LowerAscii(std::string_view text) {
    std::string key(text);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

// Every group of a listing is in order: no name is listed after one that sorts after it.
void RequireSorted(const std::vector<std::string>& names, std::size_t from, std::size_t to,
                   const engine::NameOrder& order) {
    for (std::size_t i = from; i + 1 < to; ++i) {
        REQUIRE(!order(names[i + 1], names[i]));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const menufile::MenuFile first = menufile::ReadMenu(bytes);
    menufile::MenuFile menu = menufile::ReadEveryRecord(bytes);

    // Reading on past damage tells the same first damage and keeps every record before it.
    REQUIRE(menu.Status == first.Status && menu.DamagedLine == first.DamagedLine);
    REQUIRE(menu.DamageOffset == first.DamageOffset && menu.DamageEnd == first.DamageEnd);
    REQUIRE(menu.Items.size() >= first.Items.size());
    REQUIRE(std::equal(first.Items.begin(), first.Items.end(), menu.Items.begin()));
    REQUIRE(menu.DamageOffset <= menu.DamageEnd && menu.DamageEnd <= size);
    for (const menufile::MenuItem& item : menu.Items) {
        REQUIRE(menufile::ReadsBackAsWritten(item));
    }

    // Leaving the damaged record out, as the editor offers, keeps every other record.
    if (menu.DamagedLine > 0) {
        REQUIRE(menu.DamageOffset >= menu.RecordsOffset && menu.DamageOffset < menu.DamageEnd);
        std::string dropped(bytes.substr(0, menu.DamageOffset));
        dropped += bytes.substr(menu.DamageEnd);
        REQUIRE(menufile::ReadEveryRecord(dropped).Items == menu.Items);
    }

    menufile::DecodeMenu(bytes, menu, test_support::Windows1252());
    if (!engine::CanShowMenu(menu)) {
        REQUIRE(menu.Status != menufile::ReadStatus::Ok);
        return 0;
    }
    REQUIRE(menu.Status != menufile::ReadStatus::NoMarker &&
            menu.Status != menufile::ReadStatus::NoSettings);

    const engine::FolderLister list = [bytes](const std::string&, const std::string&) {
        return FakeFolder(bytes);
    };
    const engine::NameOrder order =
        size % 2 == 0
            ? engine::NameOrder(engine::LessWithoutCase)
            : engine::NaturalOrder([](std::string_view text) { return LowerAscii(text); });
    const std::vector<menufile::MenuItem> entries =
        engine::BuildEntries(menu, list, FakeDisplayName, order);
    if (!menu.IsDirectoryPointer()) {
        REQUIRE(entries == menu.Items);
        return 0;
    }
    if (!menu.DirectoryPointer) {
        REQUIRE(entries.empty());
        return 0;
    }

    // A directory pointer: the listed names in order, each entry made from its name.
    const menufile::DirectoryPointer& pointer = *menu.DirectoryPointer;
    const std::vector<std::string> names = engine::ListPointerNames(pointer, list, order);
    REQUIRE(entries.size() == names.size());
    const std::string folder = engine::FolderWithBackslash(pointer.Folder);
    std::size_t folders = 0;
    if (menufile::ToBool(pointer.ShowFolders)) {
        for (const engine::ListedFile& e : FakeFolder(bytes)) {
            folders += e.Directory && !e.Hidden && !e.System && e.Name != "." && e.Name != "..";
        }
    }
    REQUIRE(folders <= names.size());
    RequireSorted(names, 0, folders, order);
    RequireSorted(names, folders, names.size(), order);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        REQUIRE(names[i] != "." && names[i] != "..");
        REQUIRE(entries[i].Target == folder + names[i]);
        // A shown name is the file name, or the file name without its extension.
        REQUIRE(names[i].compare(0, entries[i].Name.size(), entries[i].Name) == 0);
    }
    return 0;
}
