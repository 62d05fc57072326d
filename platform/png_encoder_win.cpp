// The WIC PNG encoder: a BGRA frame written into a memory stream, whose bytes are the file.
#include "platform/png_encoder_win.h"

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <wincodec.h>

#include <limits>
#include <utility>

#include "platform/system_api_win.h"
#include "platform/win32_handles_win.h"

namespace platform {
namespace {

std::string StreamBytes(IStream* stream) {
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) ||
        stat.cbSize.QuadPart > std::numeric_limits<ULONG>::max()) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
    LARGE_INTEGER start{};
    ULONG read = 0;
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) ||
        read != bytes.size()) {
        return {};
    }
    return bytes;
}

}  // namespace

std::string WicPngEncoder::Encode(int width, int height,
                                  std::span<const std::uint32_t> pixels) const {
    if (width <= 0 || height <= 0 || width > 0x8000 || height > 0x8000 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) ||
        !StartCom()) {
        return {};
    }
    const auto create = api::CoCreateInstance();
    const auto memoryStream = api::CreateStreamOnHGlobal();
    if (!create || !memoryStream) {
        return {};
    }
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                      IID_IWICImagingFactory, factory.PutVoid())) ||
        FAILED(memoryStream(nullptr, TRUE, stream.Put())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put())) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.Put(), options.Put())) ||
        FAILED(frame->Initialize(options.Get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)))) {
        return {};
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(frame->SetPixelFormat(&format)) ||
        !IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) {
        return {};  // the encoder would want the pixels converted: not a PNG with alpha
    }
    const UINT stride = static_cast<UINT>(width) * 4;
    // WritePixels only reads the buffer, though its parameter is not const.
    auto* bits = reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.data()));
    if (FAILED(frame->WritePixels(static_cast<UINT>(height), stride,
                                  stride * static_cast<UINT>(height), bits)) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
        return {};
    }
    return StreamBytes(stream.Get());
}

}  // namespace platform
