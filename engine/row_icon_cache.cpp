// Targets whose icon is their own.
#include "engine/row_icon_cache.h"

#include <array>

namespace engine {

bool HasOwnIcon(std::string_view extension, std::string_view defaultIcon) {
    static constexpr std::array<std::string_view, 5> kOwn = {".exe", ".ico", ".lnk", ".cur",
                                                             ".ani"};
    if (std::find(kOwn.begin(), kOwn.end(), extension) != kOwn.end()) {
        return true;
    }
    // Written as %1 or "%1", with spaces around at most.
    const std::size_t first = defaultIcon.find_first_not_of(" \t\"");
    const std::size_t last = defaultIcon.find_last_not_of(" \t\"");
    return first != std::string_view::npos && defaultIcon.substr(first, last - first + 1) == "%1";
}

}  // namespace engine
