// Menus downloaded from the Internet: how they are known, and which paths their rows' icons are
// never taken from (Windows would connect to the host, offering the user's credentials).
#pragma once

#include <string>
#include <string_view>

#include "menufile/file_system.h"
#include "menufile/menu_file.h"

namespace menufile {

// Whether the text of a file's Zone.Identifier stream puts it in the Internet or the
// Restricted zone (ZoneId 3 or 4 in its [ZoneTransfer] section).
[[nodiscard]] bool IsInternetZone(std::string_view zoneIdentifier);
// Whether the menu file at `path` carries such a mark; false when it carries none.
[[nodiscard]] bool CameFromInternet(FileSystem& fs, const std::string& path);

// A path that names another machine: UNC (\\host\..., //host/..., \\?\UNC\...) or WebDAV and
// other addresses (http://, https://, \\host@SSL\...).
[[nodiscard]] bool IsRemotePath(std::string_view path);
// Whether a row's icon may be taken from `path` (an icon file or a target), in a menu that came
// from the Internet or not.
[[nodiscard]] bool MayTakeIconFrom(std::string_view path, bool menuFromInternet);
// ItemIconOf, without a file the icon may not be taken from (then the shell's icon for the
// target's type is shown).
[[nodiscard]] ItemIcon ItemIconFor(const MenuItem& item, bool menuFromInternet);

}  // namespace menufile
