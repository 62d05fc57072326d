// The icons of a program or a DLL as its resources keep them: an icon group (RT_GROUP_ICON)
// lists its images, each an icon resource (RT_ICON) named by number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "editor/imaging/icon_file.h"

namespace editor {

// The resource ids of the images the group lists, in its order, each once; of a group cut
// short, those of the entries that fit.
[[nodiscard]] std::vector<std::uint16_t> GroupIconIds(std::string_view group);

// The group's images: for each id, the bytes `iconResource` gives (empty: the library has no
// such image, which is left out). Empty when the images together would be larger than `budget`
// bytes (a library's own size: its resources do not overlap).
[[nodiscard]] std::vector<LibraryImage> GroupIconImages(
    std::string_view group, const std::function<std::string_view(std::uint16_t)>& iconResource,
    std::size_t budget);

}  // namespace editor
