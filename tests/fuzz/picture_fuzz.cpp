// libFuzzer target: the readers of a menu's picture (a bitmap or an icon file at the head of the
// menu file) take any bytes, give only parts that lie inside them, and the icon file the
// editor writes of an icon file's images reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editor/imaging/icon_file.h"
#include "editor/imaging/menu_picture.h"
#include "menufile/menu_file.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() &&
                            part.data() + part.size() <= whole.data() + whole.size());
}

// No codec here: a PNG signature and header of the size asked for is all the writer looks at.
class HeaderOnlyPng final : public editor::PngEncoder {
public:
    std::string Encode(int width, int height, std::span<const std::uint32_t>) const override {
        std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
        for (int v : {width, height}) {
            for (int shift = 24; shift >= 0; shift -= 8) {
                png += static_cast<char>((v >> shift) & 0xFF);
            }
        }
        return png;
    }
};

void ReadPicture(std::string_view picture) {
    if (const auto parts = editor::BitmapFileParts(picture)) {
        Require(Inside(parts->Info, picture) && Inside(parts->Bits, picture));
        Require(parts->Info.size() >= 40 && parts->Width > 0 && parts->Height != 0);
    }
    for (int size : {16, 32, 48, 256}) {
        if (const auto image = editor::IconFileImage(picture, size)) {
            Require(Inside(*image, picture));
        }
    }
    const std::vector<editor::LibraryImage> images = editor::IconFileImages(picture);
    std::size_t total = 0;
    for (const editor::LibraryImage& image : images) {
        total += image.Bytes.size();
    }
    Require(total <= picture.size());
    const std::string written = editor::IconFileOfLibraryImages(images, HeaderOnlyPng());
    const std::vector<editor::LibraryImage> back = editor::IconFileImages(written);
    Require(back.size() <= std::size(editor::kMenuIconSizes));
    for (const editor::LibraryImage& image : back) {
        const int size = editor::SizeOf(image);
        Require(size > 0 && size <= 256);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadPicture(bytes);
    // Behind a marker, the bytes are a menu file whose picture is read the same way.
    const menufile::MenuFile menu = menufile::ReadMenu(bytes);
    if (menu.Status == menufile::ReadStatus::Ok) {
        const std::string_view picture = menufile::PictureOf(bytes, menu);
        Require(Inside(picture, bytes));
        ReadPicture(picture);
    }
    return 0;
}
