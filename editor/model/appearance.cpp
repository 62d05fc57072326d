// Appearance settings and the menu icon picture.
#include "editor/model/appearance.h"

#include <cmath>

namespace editor {
namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

Appearance AppearanceOf(const menufile::MenuSettings& settings) {
    Appearance a;
    a.SmallIcons = menufile::ToBool(settings.SmallIcons);
    a.FontName = settings.FontName;
    a.FontSize = menufile::ClampFontPoints(menufile::ToNumber(settings.FontSize));
    a.FontBold = menufile::ToBool(settings.FontBold);
    a.FontItalic = menufile::ToBool(settings.FontItalic);
    return a;
}

menufile::MenuSettings SettingsOf(const Appearance& a) {
    return {a.SmallIcons ? "1" : "0", a.FontName, menufile::FormatNumber(a.FontSize),
            a.FontBold ? "-1" : "0", a.FontItalic ? "-1" : "0"};
}

float DialogFontSize(float size) {
    return static_cast<float>(std::nearbyint(static_cast<double>(size) * 10000.0) / 10000.0);
}

std::string BitmapFile(int width, int height, const std::vector<std::uint32_t>& rgb) {
    const int rowBytes = (width * 3 + 3) & ~3;  // rows are padded to four bytes
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
    const std::uint32_t headers = 14 + 40;
    std::string bmp = "BM";
    PutLe(bmp, headers + pixelBytes, 4);
    PutLe(bmp, 0, 4);
    PutLe(bmp, headers, 4);
    PutLe(bmp, 40, 4);
    PutLe(bmp, static_cast<std::uint32_t>(width), 4);
    PutLe(bmp, static_cast<std::uint32_t>(height), 4);  // positive: bottom row first
    PutLe(bmp, 1, 2);
    PutLe(bmp, 24, 2);
    PutLe(bmp, 0, 4);  // BI_RGB
    PutLe(bmp, pixelBytes, 4);
    PutLe(bmp, 3780, 4);  // 96 dots per inch
    PutLe(bmp, 3780, 4);
    PutLe(bmp, 0, 4);
    PutLe(bmp, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                  static_cast<std::size_t>(x);
            const std::uint32_t c = i < rgb.size() ? rgb[i] : 0;
            bmp += static_cast<char>(c & 0xFF);
            bmp += static_cast<char>((c >> 8) & 0xFF);
            bmp += static_cast<char>((c >> 16) & 0xFF);
        }
        bmp.append(static_cast<std::size_t>(rowBytes - width * 3), '\0');
    }
    return bmp;
}

}  // namespace editor
