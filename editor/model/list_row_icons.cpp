// The key of a row's icon.
#include "editor/model/list_row_icons.h"

#include "menufile/internet_zone.h"

namespace editor {

std::string RowIconKey(const menufile::MenuItem& item, bool fromInternet) {
    if (item.IsSeparator()) {
        return {};
    }
    // The target is part of it even when the icon file is named: when that file has no such
    // icon, the target's is shown. '|' is in no path, so the parts cannot run into each other.
    const menufile::ItemIcon source = menufile::ItemIconFor(item, fromInternet);
    std::string key = source.File;
    key += '|';
    key += std::to_string(source.Index);
    key += '|';
    key += item.Target;
    return key;
}

}  // namespace editor
