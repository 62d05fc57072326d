// The system's PNG encoder behind the icon writer: the 256-pixel image of an icon file written
// through it decodes, by the system's own decoder, back to the pixels it was made of.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor/imaging/bytes.h"
#include "editor/imaging/icon_file.h"
#include "platform/png_encoder_win.h"

namespace {

// A picture with runs, edges and partial alpha, as icons have: a disc on a transparent square.
editor::IconImage Disc(int size) {
    editor::IconImage image{size, {}};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int dx = 2 * x - size + 1;
            const int dy = 2 * y - size + 1;
            const bool inside = dx * dx + dy * dy < size * size;
            const std::uint32_t alpha = inside ? 0xFF : static_cast<std::uint32_t>(y % 128);
            image.Pixels.push_back(alpha << 24 | static_cast<std::uint32_t>(x * 255 / size) << 16 |
                                   0x8040u);
        }
    }
    return image;
}

// The pixels of a PNG file as the system decodes them (BGRA, top row first); empty on failure.
std::vector<std::uint32_t> Decoded(const std::string& png, UINT& width, UINT& height) {
    std::vector<std::uint32_t> pixels;
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(png.data()));
    if (SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(bytes, static_cast<DWORD>(png.size()))) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                   &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA,
                                        WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom))) {
        pixels.resize(static_cast<std::size_t>(width) * height);
        if (FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                         reinterpret_cast<BYTE*>(pixels.data())))) {
            pixels.clear();
        }
    }
    for (IUnknown* p :
         std::initializer_list<IUnknown*>{converter, frame, decoder, stream, factory}) {
        if (p != nullptr) {
            p->Release();
        }
    }
    return pixels;
}

class PngEncoderTest : public ::testing::Test {
protected:
    void SetUp() override { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { ::CoUninitialize(); }
};

TEST_F(PngEncoderTest, TheIconFilesLargeImageDecodesToItsPixels) {
    const platform::WicPngEncoder encoder;
    const editor::IconImage large = Disc(256);
    const std::string ico = editor::IconFileOf({Disc(32), large}, encoder);
    ASSERT_EQ(editor::ReadLe16(ico, 4), 2u);
    const std::size_t entry = 6 + 16;
    EXPECT_EQ(editor::ReadLe(ico, entry, 1), 0u) << "256 is written as 0";
    const std::string png =
        ico.substr(editor::ReadLe32(ico, entry + 12), editor::ReadLe32(ico, entry + 8));
    ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_LT(png.size(), 256u * 256u) << "compressed, not stored";
    UINT width = 0;
    UINT height = 0;
    const std::vector<std::uint32_t> pixels = Decoded(png, width, height);
    EXPECT_EQ(width, 256u);
    EXPECT_EQ(height, 256u);
    EXPECT_EQ(pixels, large.Pixels) << "lossless, alpha kept, not premultiplied";
}

TEST_F(PngEncoderTest, ImagesItCannotHoldGiveNothing) {
    const platform::WicPngEncoder encoder;
    const std::vector<std::uint32_t> four(4, 0xFF102030u);
    EXPECT_FALSE(encoder.Encode(2, 2, four).empty());
    EXPECT_TRUE(encoder.Encode(3, 2, four).empty()) << "fewer pixels than the size";
    EXPECT_TRUE(encoder.Encode(0, 0, {}).empty());
}

}  // namespace
