// libFuzzer target: the readers of icon libraries (an icon file's directory, a program's icon
// group and the icon resources it names) take any bytes and never copy more than they hold.
//
// Input: two bytes (little-endian) give the group's length; the group follows, and the rest
// is the library's resource data, where icon resource `id` is a slice whose place and length
// the id picks, so slices overlap as a crafted library's resources can.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/imaging/icon_file.h"
#include "editor/imaging/icon_resources.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::size_t TotalBytes(const std::vector<editor::LibraryImage>& images) {
    std::size_t total = 0;
    for (const editor::LibraryImage& image : images) {
        total += image.Bytes.size();
    }
    return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Require(TotalBytes(editor::IconFileImages(bytes)) <= size);
    if (size < 2) {
        return 0;
    }
    const std::size_t groupLength = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    const std::string_view group = bytes.substr(2, groupLength);
    const std::string_view resources = bytes.substr(2 + groupLength);
    const auto icon = [&](std::uint16_t id) -> std::string_view {
        if (resources.empty() || id % 7 == 0) {
            return {};  // an id the library lacks
        }
        const std::size_t at = (id * std::size_t{31}) % resources.size();
        return resources.substr(at, id);
    };
    const std::vector<std::uint16_t> ids = editor::GroupIconIds(group);
    Require(ids.size() <= (group.size() >= 6 ? (group.size() - 6) / 14 : 0));
    const std::vector<editor::LibraryImage> images =
        editor::GroupIconImages(group, icon, resources.size());
    Require(images.size() <= ids.size());
    Require(TotalBytes(images) <= resources.size());
    return 0;
}
