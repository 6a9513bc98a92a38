#include "ui/PictureHeader.h"

#include "ui/Error.h"
#include "ui/Picture.h"

#include <array>
#include <cstring>

namespace ui {

namespace {

// Bytes at an offset, read on demand; every read past the end gives zeros and says so.
class Bytes {
public:
    explicit Bytes(const ByteReader& read) : read_(read) {}

    bool Get(std::uint64_t offset, void* out, std::size_t count) const {
        return read_(offset, out, count) == count;
    }
    std::optional<std::uint32_t> Little(std::uint64_t offset, int size) const {
        std::array<unsigned char, 4> b{};
        if (!Get(offset, b.data(), static_cast<std::size_t>(size)))
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | b[static_cast<std::size_t>(i)];
        return value;
    }
    std::optional<std::uint32_t> Big(std::uint64_t offset, int size) const {
        std::array<unsigned char, 4> b{};
        if (!Get(offset, b.data(), static_cast<std::size_t>(size)))
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | b[static_cast<std::size_t>(i)];
        return value;
    }

private:
    const ByteReader& read_;
};

std::optional<PictureHeader> Fail(std::string& why, const char* reason) {
    why = reason;
    return std::nullopt;
}

std::optional<PictureHeader> Bitmap(const Bytes& bytes, std::string& why) {
    const auto infoSize = bytes.Little(14, 4);
    if (!infoSize)
        return Fail(why, "the bitmap's header is cut short");
    PictureHeader header{PictureKind::Bitmap};
    std::optional<std::uint32_t> width, height, planes, bits;
    if (*infoSize == 12) { // the old OS/2 header: 16-bit sizes
        width = bytes.Little(18, 2);
        height = bytes.Little(20, 2);
        planes = bytes.Little(22, 2);
        bits = bytes.Little(24, 2);
    } else if (*infoSize >= 40 && *infoSize <= 256) {
        width = bytes.Little(18, 4);
        height = bytes.Little(22, 4);
        planes = bytes.Little(26, 2);
        bits = bytes.Little(28, 2);
    } else {
        return Fail(why, "the bitmap's header is of no known size");
    }
    if (!width || !height || !planes || !bits)
        return Fail(why, "the bitmap's header is cut short");
    if (*infoSize == 12) {
        header.Width = *width;
        header.Height = *height;
    } else {
        header.Width = static_cast<std::int32_t>(*width);
        // A negative height is a picture stored top row first.
        header.Height = static_cast<std::int32_t>(*height);
        if (header.Height < 0)
            header.Height = -header.Height;
    }
    if (*planes != 1)
        return Fail(why, "the bitmap has other than one plane");
    switch (*bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return header;
    default:
        return Fail(why, "the bitmap has an unknown number of bits per pixel");
    }
}

// The logical screen, or the first image if that is larger: what a decoder makes room for.
std::optional<PictureHeader> Gif(const Bytes& bytes, std::string& why) {
    PictureHeader header{PictureKind::Gif};
    const auto width = bytes.Little(6, 2), height = bytes.Little(8, 2), flags = bytes.Little(10, 1);
    if (!width || !height || !flags)
        return Fail(why, "the GIF's header is cut short");
    header.Width = *width;
    header.Height = *height;
    std::uint64_t at = 13;
    if (*flags & 0x80)
        at += 3u << ((*flags & 7) + 1);
    for (int blocks = 0; blocks < 4096; ++blocks) {
        const auto kind = bytes.Little(at, 1);
        if (!kind || *kind == 0x3B)
            break;
        if (*kind == 0x2C) {
            const auto w = bytes.Little(at + 5, 2), h = bytes.Little(at + 7, 2);
            if (w && h) {
                header.Width = std::max<std::int64_t>(header.Width, *w);
                header.Height = std::max<std::int64_t>(header.Height, *h);
            }
            break;
        }
        if (*kind != 0x21)
            return Fail(why, "the GIF has a block of no known kind");
        at += 2; // the extension's label
        for (;;) {
            const auto length = bytes.Little(at, 1);
            if (!length)
                return Fail(why, "the GIF is cut short");
            at += 1 + *length;
            if (*length == 0)
                break;
        }
    }
    return header;
}

bool IsFrameMarker(std::uint32_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<PictureHeader> Jpeg(const Bytes& bytes, std::string& why) {
    std::uint64_t at = 2;
    for (int segments = 0; segments < 65536; ++segments) {
        auto prefix = bytes.Little(at, 1);
        if (!prefix)
            return Fail(why, "the JPEG ends before its frame header");
        if (*prefix != 0xFF)
            return Fail(why, "the JPEG's segments are broken");
        std::optional<std::uint32_t> marker;
        do { // fill bytes
            marker = bytes.Little(++at, 1);
        } while (marker && *marker == 0xFF);
        if (!marker)
            return Fail(why, "the JPEG ends before its frame header");
        ++at;
        if (*marker == 0xD8 || *marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD7))
            continue; // no length follows
        if (*marker == 0xD9 || *marker == 0xDA)
            return Fail(why, "the JPEG has no frame header before its data");
        const auto length = bytes.Big(at, 2);
        if (!length || *length < 2)
            return Fail(why, "the JPEG's segments are broken");
        if (IsFrameMarker(*marker)) {
            const auto height = bytes.Big(at + 3, 2), width = bytes.Big(at + 5, 2);
            if (!height || !width)
                return Fail(why, "the JPEG's frame header is cut short");
            return PictureHeader{PictureKind::Jpeg, *width, *height};
        }
        at += *length;
    }
    return Fail(why, "the JPEG has too many segments");
}

std::optional<PictureHeader> Png(const Bytes& bytes, std::string& why) {
    char chunk[4] = {};
    if (!bytes.Get(12, chunk, 4) || std::memcmp(chunk, "IHDR", 4) != 0)
        return Fail(why, "the PNG does not begin with its header");
    const auto width = bytes.Big(16, 4), height = bytes.Big(20, 4);
    if (!width || !height)
        return Fail(why, "the PNG's header is cut short");
    return PictureHeader{PictureKind::Png, *width, *height};
}

} // namespace

std::optional<PictureHeader> ReadPictureHeader(const ByteReader& read, std::string& why) {
    const Bytes bytes(read);
    unsigned char start[8] = {};
    const std::size_t got = read(0, start, sizeof start);
    if (got >= 2 && start[0] == 'B' && start[1] == 'M')
        return Bitmap(bytes, why);
    if (got >= 6 && (std::memcmp(start, "GIF87a", 6) == 0 || std::memcmp(start, "GIF89a", 6) == 0))
        return Gif(bytes, why);
    if (got >= 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF)
        return Jpeg(bytes, why);
    if (got == 8 && std::memcmp(start, "\x89PNG\r\n\x1A\n", 8) == 0)
        return Png(bytes, why);
    return Fail(why, "the data is no bitmap, GIF or JPEG");
}

void CheckPictureHeader(const ByteReader& read) {
    std::string why;
    const auto header = ReadPictureHeader(read, why);
    if (!header)
        throw Error(errors::InvalidPicture, "Invalid picture: " + why);
    if (header->Width <= 0 || header->Height <= 0)
        throw Error(errors::InvalidPicture, "Invalid picture: it has no pixels");
    const bool tooLarge = header->Width > MaxPicturePixels || header->Height > MaxPicturePixels ||
                          header->Width * header->Height > MaxPicturePixels ||
                          header->Width * header->Height * 4 > MaxPictureBytes;
    if (tooLarge)
        throw Error(errors::InvalidPicture, "Invalid picture: " + std::to_string(header->Width) +
                                                " x " + std::to_string(header->Height) +
                                                " pixels is too large");
}

} // namespace ui
