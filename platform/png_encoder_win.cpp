// The WIC PNG encoder: a BGRA frame written into a memory stream, whose bytes are the file.
#include "platform/png_encoder_win.h"

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <wincodec.h>

#include <limits>
#include <utility>

#include "platform/system_library_win.h"

namespace platform {
namespace {

// TODO(merge): these bindings and the COM start-up belong in the table of bound system
// functions; until it lands they are bound here.
using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
using CreateStreamOnHGlobalFn = HRESULT(WINAPI*)(HGLOBAL, BOOL, LPSTREAM*);

bool ComStarted() {
    static const bool started = [] {
        const auto init = Bind<CoInitializeExFn>(L"ole32.dll", "CoInitializeEx");
        if (!init) {
            return false;
        }
        // S_FALSE (already started on this thread) is as good; a thread started multithreaded
        // (RPC_E_CHANGED_MODE) can still create the in-process factory.
        const HRESULT hr = init(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
    }();
    return started;
}

// TODO(merge): replaced by platform's ComPtr when it lands.
template <class T>
class Com {
public:
    Com() = default;
    ~Com() {
        if (m_p != nullptr) {
            m_p->Release();
        }
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T* operator->() const { return m_p; }
    T* get() const { return m_p; }
    T** put() { return &m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

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
        !ComStarted()) {
        return {};
    }
    static const auto create = Bind<CoCreateInstanceFn>(L"ole32.dll", "CoCreateInstance");
    static const auto memoryStream =
        Bind<CreateStreamOnHGlobalFn>(L"ole32.dll", "CreateStreamOnHGlobal");
    if (!create || !memoryStream) {
        return {};
    }
    Com<IWICImagingFactory> factory;
    Com<IStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    if (FAILED(create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                      IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))) ||
        FAILED(memoryStream(nullptr, TRUE, stream.put())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())) ||
        FAILED(frame->Initialize(options.get())) ||
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
    return StreamBytes(stream.get());
}

}  // namespace platform
