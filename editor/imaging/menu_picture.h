// What the picture at the head of a menu file holds, for showing it: the image of an icon file
// at a size, or the parts of a bitmap file. Anything else is not shown (the stock icon is).
#pragma once

#include <optional>
#include <string_view>

namespace editor {

// The image (a bitmap without its file header, or a PNG) of the icon file's entry that suits
// `size` pixels best: that size, else the nearest larger one, else the largest. Empty when
// the bytes are not an icon file or an entry lies outside them.
[[nodiscard]] std::optional<std::string_view> IconFileImage(std::string_view picture, int size);

struct BitmapParts {
    std::string_view Info;  // the info header and any colour table
    std::string_view Bits;
    int Width = 0;
    int Height = 0;  // negative: top row first
};

// A Windows bitmap file's parts; empty when the bytes are not one or are cut short.
[[nodiscard]] std::optional<BitmapParts> BitmapFileParts(std::string_view picture);

}  // namespace editor
