#include "platform/win32/WicPictureDecoder.h"

#include "pictures/BitmapPicture.h"

#include <algorithm>
#include <array>
#include <windows.h>
// wincodec.h needs the types of windows.h.
#include <wincodec.h>

namespace velmora {

namespace {

class BlockStream final : public PictureStream {
public:
    explicit BlockStream(std::vector<std::uint8_t> block) : block_(std::move(block)) {}
    const std::vector<std::uint8_t>& Block() const { return block_; }

private:
    std::vector<std::uint8_t> block_;
};

// Releases a COM interface when it goes out of scope.
template <typename Interface> class Held {
public:
    Held() = default;
    ~Held() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    Interface** Out() { return &pointer_; }

private:
    Interface* pointer_ = nullptr;
};

// COM for this thread for as long as a decode lasts; a thread that has it already keeps its own.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

bool IsWantedFormat(const GUID& format) {
    static const std::array<GUID, 5> kFormats = {GUID_ContainerFormatGif, GUID_ContainerFormatJpeg,
                                                 GUID_ContainerFormatPng, GUID_ContainerFormatBmp,
                                                 GUID_ContainerFormatIco};
    return std::any_of(kFormats.begin(), kFormats.end(),
                       [&format](const GUID& wanted) { return IsEqualGUID(format, wanted) != 0; });
}

// Each pixel as B, G, R, A bytes is 0xAARRGGBB read as a little-endian word: the Bitmap's own layout.
std::optional<Bitmap> ReadFirstFrame(IWICImagingFactory& factory, IWICBitmapDecoder& decoder) {
    Held<IWICBitmapFrameDecode> frame;
    Held<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder.GetFrame(0, frame.Out())) || FAILED(factory.CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > static_cast<UINT>(INT32_MAX / 4) || height > static_cast<UINT>(INT32_MAX)) {
        return std::nullopt;
    }
    const auto stride = static_cast<UINT>(width * sizeof(Argb));
    const std::uint64_t bytes = std::uint64_t{stride} * height;
    if (bytes > UINT_MAX) {
        return std::nullopt;
    }
    Bitmap pixels(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(bytes),
                                     reinterpret_cast<BYTE*>(pixels.Pixels().data())))) {
        return std::nullopt;
    }
    return pixels;
}

} // namespace

PictureDecoder::OpenedStream WicPictureDecoder::OpenStream(std::vector<std::uint8_t> block) {
    if (block.size() > UINT_MAX) {
        return {};
    }
    return {true, std::make_unique<BlockStream>(std::move(block))};
}

PictureDecoder::Decoded WicPictureDecoder::Decode(PictureStream& stream) {
    const std::vector<std::uint8_t>& block = dynamic_cast<BlockStream&>(stream).Block();
    if (block.empty()) {
        return {};
    }
    const ComScope com;
    Held<IWICImagingFactory> factory;
    Held<IWICStream> memory;
    Held<IWICBitmapDecoder> decoder;
    GUID format{};
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()))) ||
        FAILED(factory->CreateStream(memory.Out())) ||
        FAILED(memory->InitializeFromMemory(const_cast<BYTE*>(block.data()),
                                            static_cast<DWORD>(block.size()))) ||
        FAILED(factory->CreateDecoderFromStream(memory.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Out())) ||
        FAILED(decoder->GetContainerFormat(&format)) || !IsWantedFormat(format)) {
        return {};
    }
    std::optional<Bitmap> pixels = ReadFirstFrame(*factory.Get(), *decoder.Get());
    if (!pixels) {
        return {};
    }
    return {true, BitmapPicture::AtScreenResolution(std::move(*pixels))};
}

} // namespace velmora
