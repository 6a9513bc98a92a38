#include "ui/win32/Bitmaps.h"

#include "ui/Resample.h"
#include "ui/win32/SystemCalls.h"

#include <algorithm>

namespace ui::win32 {

HBITMAP MakeDibSection(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as the codecs give rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

namespace {

void Blit(HDC target, const Picture::Data& picture, int x, int y) {
    MemoryDc source(target);
    Selection bitmap(source.Get(), picture.bitmap.Get());
    if (picture.opaque) {
        BitBlt(target, x, y, picture.width, picture.height, source.Get(), 0, 0, SRCCOPY);
        return;
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    sys::AlphaBlend(target, x, y, picture.width, picture.height, source.Get(), 0, 0, picture.width,
                    picture.height, blend);
}

// Beyond this a resized copy is not made (it takes 16 bytes a pixel while it is made): such a
// picture is stretched by the system as it is drawn.
constexpr long long MaxResizedPixels = 4LL * 1024 * 1024;

// A copy of the drawing at exactly width x height, made once and kept with the picture.
const Picture::Data* Resized(const Picture::Data& picture, const Picture::Data& drawing, int width,
                             int height) {
    if (picture.resized && picture.resized->width == width && picture.resized->height == height)
        return picture.resized.get();
    if (1LL * width * std::max(height, drawing.height) > MaxResizedPixels || !drawing.pixels)
        return nullptr;
    void* bits = nullptr;
    auto made = std::make_shared<Picture::Data>();
    made->bitmap.Reset(MakeDibSection(width, height, &bits));
    if (!made->bitmap.Get())
        return nullptr;
    Resample(drawing.pixels, drawing.width, drawing.height, static_cast<std::uint32_t*>(bits),
             width, height);
    made->pixels = static_cast<const std::uint32_t*>(bits);
    made->width = width;
    made->height = height;
    made->opaque = drawing.opaque;
    picture.resized = std::move(made);
    return picture.resized.get();
}

} // namespace

void DrawPicture(HDC target, const Picture::Data& picture, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    const Picture::Data& drawing = picture.For(width, height);
    if (drawing.width == width && drawing.height == height)
        return Blit(target, drawing, x, y);
    if (const Picture::Data* resized = Resized(picture, drawing, width, height))
        return Blit(target, *resized, x, y);
    // Too large to keep twice: the system stretches what the paint needs.
    MemoryDc source(target);
    Selection bitmap(source.Get(), drawing.bitmap.Get());
    if (drawing.opaque) {
        const int mode = SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(target, x, y, width, height, source.Get(), 0, 0, drawing.width, drawing.height,
                   SRCCOPY);
        SetStretchBltMode(target, mode);
        return;
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    sys::AlphaBlend(target, x, y, width, height, source.Get(), 0, 0, drawing.width, drawing.height,
                    blend);
}

} // namespace ui::win32
