// Menu file values both programs take from a record: the picture, an item's icon, the font.
#include "menufile/menu_file.h"

#include <algorithm>
#include <cmath>

namespace menufile {

std::string_view PictureOf(std::string_view bytes, const MenuFile& file) {
    return bytes.substr(0, std::min(file.PictureLength, bytes.size()));
}

ItemIcon ItemIconOf(const MenuItem& item) {
    const int index = ToInt(item.IconIndex);
    if (!item.IconFile.empty()) {
        return {item.IconFile, index};
    }
    if (index > 0) {
        return {item.Target, index};
    }
    return {};
}

float ClampFontPoints(double points) {
    if (!(points > 0) || !std::isfinite(points)) {
        return kDefaultFontPoints;  // missing, zero, negative or not a number
    }
    return static_cast<float>(std::clamp(points, static_cast<double>(kSmallestFontPoints),
                                         static_cast<double>(kLargestFontPoints)));
}

MenuFont MenuFontOf(const MenuSettings& s) {
    return {s.FontName, ClampFontPoints(ToNumber(s.FontSize)), ToBool(s.FontBold),
            ToBool(s.FontItalic)};
}

int FontHeightPixels(float points, int dotsPerInch) {
    return -static_cast<int>(std::lround(static_cast<double>(points) * dotsPerInch / 72.0));
}

}  // namespace menufile
