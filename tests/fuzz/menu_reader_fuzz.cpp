// libFuzzer target: the reader takes any bytes without crashing or reading past the end, and
// whatever it accepts reads back to the same records once written out again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "menufile/menu_file.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool SameRecords(const menufile::MenuFile& a, const menufile::MenuFile& b) {
    return a.MenuType == b.MenuType && a.Settings == b.Settings && a.Items == b.Items &&
           a.DirectoryPointer == b.DirectoryPointer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const menufile::MenuFile menu = menufile::ReadMenu(bytes);
    Require(menu.PrefixLength <= size && menu.RecordsOffset <= size);
    if (menu.Status != menufile::ReadStatus::Ok) {
        return 0;
    }

    // Written out record by record behind the same picture and marker.
    std::string written(bytes.substr(0, menu.PrefixLength));
    written += menufile::FormatTypeLine(menu.MenuType);
    written += menufile::FormatSettingsLine(menu.Settings);
    for (const menufile::MenuItem& item : menu.Items) {
        written += menufile::FormatItemLine(item);
    }
    if (menu.DirectoryPointer) {
        written += menufile::FormatPointerLine(*menu.DirectoryPointer);
    }
    const menufile::MenuFile back = menufile::ReadMenu(written);
    Require(back.Status == menufile::ReadStatus::Ok);
    Require(back.PrefixLength == menu.PrefixLength);
    Require(SameRecords(menu, back));

    // The builders keep the records too, or refuse.
    if (!menu.IsDirectoryPointer()) {
        menufile::Built same = menufile::RewriteItems(bytes, menu.MenuType, menu.Items);
        if (same.Error == menufile::MenuError::None) {
            Require(SameRecords(menufile::ReadMenu(same.Content), menu));
        }
    }
    menufile::Built appearance = menufile::SaveAppearance(bytes, "pic", menu.Settings);
    if (appearance.Error == menufile::MenuError::None) {
        const menufile::MenuFile saved = menufile::ReadMenu(appearance.Content);
        Require(saved.Settings == menu.Settings && saved.Items == menu.Items &&
                saved.DirectoryPointer == menu.DirectoryPointer);
    }
    menufile::Built upgraded = menufile::UpgradeMenuFile(bytes, "stock");
    if (upgraded.Error == menufile::MenuError::None) {
        Require(menufile::ReadMenu(upgraded.Content).Status == menufile::ReadStatus::Ok);
    }
    return 0;
}
