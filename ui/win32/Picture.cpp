#include "ui/Picture.h"

#include "ui/Error.h"
#include "ui/PictureHeader.h"
#include "ui/Units.h"
#include "ui/win32/Bitmaps.h"
#include "ui/win32/FileStream.h"
#include "ui/win32/SystemCalls.h"
#include "ui/win32/Text.h"

#include <algorithm>
#include <cstdio>
#include <objbase.h>
#include <wincodec.h>

namespace ui {

int Picture::WidthPixels() const {
    return data_ ? data_->width : 0;
}
int Picture::HeightPixels() const {
    return data_ ? data_->height : 0;
}

namespace {

// One COM interface pointer, released with its holder.
template <typename Interface> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    void Reset() {
        if (pointer_)
            pointer_->Release();
        pointer_ = nullptr;
    }
    Interface** Out() {
        Reset();
        return &pointer_;
    }
    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

// The codecs' own failures: WINCODEC_ERR_BADHEADER, _COMPONENTNOTFOUND, _STREAMREAD and so on.
constexpr unsigned ImagingFacility = 0x898;

// What the codecs say of data they cannot follow: their own failures, and the file's end or a
// seek before its start where the data points there.
bool Undecodable(HRESULT result) {
    return result == E_FAIL || result == E_INVALIDARG ||
           HRESULT_FACILITY(result) == ImagingFacility ||
           result == HRESULT_FROM_WIN32(ERROR_HANDLE_EOF) ||
           result == HRESULT_FROM_WIN32(ERROR_INVALID_DATA) ||
           result == HRESULT_FROM_WIN32(ERROR_NEGATIVE_SEEK) ||
           result == HRESULT_FROM_WIN32(ERROR_SEEK);
}

[[noreturn]] void Unreadable(const std::string& why) {
    throw Error(errors::InvalidPicture, "Invalid picture: " + why);
}

[[noreturn]] void Fail(HRESULT result) {
    if (result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))
        throw Error(errors::FileNotFound, "File not found");
    if (result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))
        throw Error(errors::PathNotFound, "Path not found");
    // Within the size its header gives, a picture the codec still has no room for is too large
    // to decode: unreadable as well.
    if (result == E_OUTOFMEMORY)
        Unreadable("too large to decode");
    const auto code = static_cast<unsigned long>(result);
    if (Undecodable(result)) {
        // The system has no words for most of the codecs' codes.
        char number[16];
        std::snprintf(number, sizeof number, "0x%08lX", code);
        Unreadable(std::string("the data cannot be decoded (") + number + ")");
    }
    throw Error(static_cast<std::int32_t>(code), win32::SystemMessage(code));
}

void Check(HRESULT result) {
    if (FAILED(result))
        Fail(result);
}

// COM on this thread and the imaging factory, for as long as the process runs.
class Imaging {
public:
    Imaging() {
        // Already initialised in another mode is fine: the codecs work in either.
        initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        created_ = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory_.Out()));
    }
    ~Imaging() {
        factory_.Reset();
        if (initialised_)
            CoUninitialize();
    }
    Imaging(const Imaging&) = delete;
    Imaging& operator=(const Imaging&) = delete;

    IWICImagingFactory* Factory() const {
        Check(created_);
        return factory_.Get();
    }

private:
    bool initialised_ = false;
    HRESULT created_ = E_FAIL;
    ComPtr<IWICImagingFactory> factory_;
};

IWICImagingFactory* Factory() {
    static const Imaging imaging;
    return imaging.Factory();
}

// The first frame in 32-bit colour with premultiplied alpha, whatever the file's own depth.
std::shared_ptr<Picture::Data> Decode(IWICBitmapDecoder* decoder) {
    ComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.Out()));
    UINT width = 0, height = 0;
    Check(frame->GetSize(&width, &height)); // from the header: nothing is decoded yet
    const long long pixels = 1LL * width * height;
    if (pixels > MaxPicturePixels || pixels * 4 > MaxPictureBytes)
        Unreadable(std::to_string(width) + " x " + std::to_string(height) + " pixels is too large");
    if (pixels == 0)
        Unreadable("no pixels");

    ComPtr<IWICBitmapSource> converted;
    Check(win32::sys::WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.Get(),
                                             converted.Out()));

    void* bits = nullptr;
    auto data = std::make_shared<Picture::Data>();
    data->bitmap.Reset(
        win32::MakeDibSection(static_cast<int>(width), static_cast<int>(height), &bits));
    if (!data->bitmap.Get())
        throw Error(errors::OutOfMemory, "Out of memory");
    const UINT stride = width * 4;
    Check(converted->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)));

    const auto* bytes = static_cast<const BYTE*>(bits);
    for (long long i = 0; i < pixels && data->opaque; ++i)
        data->opaque = bytes[i * 4 + 3] == 255;
    data->pixels = static_cast<const std::uint32_t*>(bits);
    data->width = static_cast<int>(width);
    data->height = static_cast<int>(height);
    return data;
}

} // namespace

Picture LoadPicture(const std::string& path) {
    if (path.empty())
        return {};
    const std::wstring file = win32::Wide(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        Fail(HRESULT_FROM_WIN32(GetLastError()));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        throw Error(75, "Path/File access error");
    // The size from the file's own header: the codecs allocate the whole picture as soon as the
    // frame is opened, before its size can be asked for. The codec then reads that same open
    // file, which no one can write to meanwhile.
    win32::FileHandle opened(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened)
        Fail(HRESULT_FROM_WIN32(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(opened.Get(), &size))
        Fail(HRESULT_FROM_WIN32(GetLastError()));
    const HANDLE handle = opened.Get();
    const PictureHeader header =
        CheckPictureHeader([handle](std::uint64_t offset, void* buffer, std::size_t count) {
            return win32::ReadFileAt(handle, offset, buffer, count);
        });
    auto length = static_cast<std::uint64_t>(size.QuadPart);
    std::string tail;
    if (header.Kind == PictureKind::Gif && header.End) {
        // The GIF codec decodes every frame, each at its own size, when it is created: it is
        // shown the first one and the trailer, all that the program shows.
        length = header.End;
        tail = ";";
    }
    ComPtr<IStream> stream;
    *stream.Out() = win32::CreateFileStream(std::move(opened), length, std::move(tail));
    ComPtr<IWICBitmapDecoder> decoder;
    Check(Factory()->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                             decoder.Out()));
    return Picture(Decode(decoder.Get()));
}

namespace {

// An embedded picture, or nothing where the program has none of that name.
std::shared_ptr<Picture::Data> Embedded(const std::wstring& name) {
    const HMODULE module = GetModuleHandleW(nullptr);
    // The system matches resource names in any case.
    const HRSRC found = FindResourceW(module, name.c_str(), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return nullptr;
    ComPtr<IWICStream> stream;
    Check(Factory()->CreateStream(stream.Out()));
    Check(stream->InitializeFromMemory(static_cast<BYTE*>(bytes), SizeofResource(module, found)));
    ComPtr<IWICBitmapDecoder> decoder;
    Check(Factory()->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                             decoder.Out()));
    return Decode(decoder.Get());
}

} // namespace

const Picture::Data& Picture::Data::For(int toWidth, int toHeight) const {
    const double scale =
        std::max(static_cast<double>(toWidth) / width, static_cast<double>(toHeight) / height);
    const auto drawing =
        ArtDrawingFor(scale, [this](ArtDrawing d) { return Larger(d) != nullptr; });
    return drawing == ArtDrawing::Own ? *this : *Larger(drawing);
}

Picture ResourcePicture(const std::string& name) {
    const std::wstring wide = win32::Wide(name);
    auto data = Embedded(wide);
    if (!data)
        throw Error(errors::InvalidArgument, "No picture named " + name + " in the program");
    // Its drawings at 1.5x and 2x go by the names NAME_15X and NAME_2X.
    data->larger[0] = Embedded(wide + L"_15X");
    data->larger[1] = Embedded(wide + L"_2X");
    return Picture(std::move(data));
}

} // namespace ui
