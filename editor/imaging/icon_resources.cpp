// Reading icon groups and their images out of a library's resource bytes.
#include "editor/imaging/icon_resources.h"

#include <algorithm>
#include <string>

#include "editor/imaging/bytes.h"

namespace editor {

std::vector<std::uint16_t> GroupIconIds(std::string_view group) {
    // Six bytes (reserved, type 1 for icons, count), then fourteen for each image: as an icon
    // file's directory entry, but the last two bytes are the image's resource id.
    constexpr std::size_t kHeader = 6;
    constexpr std::size_t kEntry = 14;
    std::vector<std::uint16_t> ids;
    if (group.size() < kHeader) {
        return ids;
    }
    // A group cut short gives the entries that fit, as the system's own reader does.
    const std::size_t count =
        std::min<std::size_t>(ReadLe16(group, 4), (group.size() - kHeader) / kEntry);
    std::vector<bool> seen(0x10000);
    for (std::size_t k = 0; k < count; ++k) {
        const auto id = static_cast<std::uint16_t>(ReadLe16(group, kHeader + kEntry * k + 12));
        if (!seen[id]) {
            seen[id] = true;
            ids.push_back(id);
        }
    }
    return ids;
}

std::vector<LibraryImage> GroupIconImages(
    std::string_view group, const std::function<std::string_view(std::uint16_t)>& iconResource,
    std::size_t budget) {
    std::vector<LibraryImage> images;
    std::size_t copied = 0;
    for (std::uint16_t id : GroupIconIds(group)) {
        const std::string_view bytes = iconResource(id);
        if (bytes.empty()) {
            continue;
        }
        if (bytes.size() > budget - copied) {
            return {};
        }
        copied += bytes.size();
        images.push_back({std::string(bytes)});
    }
    return images;
}

}  // namespace editor
