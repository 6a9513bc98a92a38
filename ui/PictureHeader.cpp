#include "ui/PictureHeader.h"

#include "ui/Error.h"
#include "ui/Picture.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace ui {

namespace {

// The file's bytes up to MaxHeaderOffset, read a window at a time: a scan that steps through
// fill bytes or sub-blocks one at a time costs no system call per step.
class Bytes {
public:
    static constexpr std::size_t WindowSize = 64 * 1024;

    explicit Bytes(const ByteReader& read) : read_(read), window_(WindowSize) {}

    // The byte at offset; nothing past the end of the data or the bound.
    std::optional<unsigned char> At(std::uint64_t offset) {
        if (offset - start_ >= filled_ && !Load(offset))
            return std::nullopt;
        return window_[static_cast<std::size_t>(offset - start_)];
    }
    bool Get(std::uint64_t offset, unsigned char* out, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const auto byte = At(offset + i);
            if (!byte)
                return false;
            out[i] = *byte;
        }
        return true;
    }
    std::optional<std::uint32_t> Little(std::uint64_t offset, int size) {
        std::array<unsigned char, 4> b{};
        if (!Get(offset, b.data(), static_cast<std::size_t>(size)))
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | b[static_cast<std::size_t>(i)];
        return value;
    }
    std::optional<std::uint32_t> Big(std::uint64_t offset, int size) {
        std::array<unsigned char, 4> b{};
        if (!Get(offset, b.data(), static_cast<std::size_t>(size)))
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | b[static_cast<std::size_t>(i)];
        return value;
    }
    // Whether a read stopped at the bound rather than at the end of the data.
    bool PastBound() const { return pastBound_; }

private:
    bool Load(std::uint64_t offset) {
        if (offset >= MaxHeaderOffset) {
            pastBound_ = true;
            return false;
        }
        start_ = offset - offset % WindowSize;
        filled_ = 0;
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(WindowSize, MaxHeaderOffset - start_));
        while (filled_ < want) {
            const std::size_t got =
                read_(start_ + filled_, window_.data() + filled_, want - filled_);
            if (got == 0)
                break;
            filled_ += std::min(got, want - filled_);
        }
        return offset - start_ < filled_;
    }

    const ByteReader& read_;
    std::vector<unsigned char> window_;
    std::uint64_t start_ = 0;
    std::size_t filled_ = 0;
    bool pastBound_ = false;
};

std::optional<PictureHeader> Fail(std::string& why, const char* reason) {
    why = reason;
    return std::nullopt;
}

constexpr const char* BeyondBound = "the header is not within the first 16 MB";

// The data ran out: at its end, or at the bound.
std::optional<PictureHeader> Ended(const Bytes& bytes, std::string& why, const char* reason) {
    return Fail(why, bytes.PastBound() ? BeyondBound : reason);
}

bool KnownDepth(std::uint32_t bits) {
    // At most four bytes a pixel: the decoders' buffers stay within the size checked.
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The decoders read a bitmap's header in two forms: the old one with 16-bit sizes, which Qt
// also assumes for a header of any size it does not know, and the Windows one with 32-bit
// sizes. Where both could apply, the larger reading counts.
std::optional<PictureHeader> Bitmap(Bytes& bytes, std::string& why) {
    const auto infoSize = bytes.Little(14, 4);
    if (!infoSize)
        return Fail(why, "the bitmap's header is cut short");
    const bool windowsForm = *infoSize >= 40;
    const bool oldForm = *infoSize != 40 && *infoSize != 64 && *infoSize != 108 && *infoSize != 124;
    PictureHeader header{PictureKind::Bitmap};
    bool cut = false, usable = false;
    if (oldForm) {
        const auto width = bytes.Little(18, 2), height = bytes.Little(20, 2),
                   planes = bytes.Little(22, 2), bits = bytes.Little(24, 2);
        cut = !width || !height || !planes || !bits;
        if (!cut && *planes == 1 && KnownDepth(*bits)) {
            usable = true;
            header.Width = *width;
            header.Height = *height;
        }
    }
    if (windowsForm) {
        const auto width = bytes.Little(18, 4), height = bytes.Little(22, 4),
                   planes = bytes.Little(26, 2), bits = bytes.Little(28, 2);
        cut = !width || !height || !planes || !bits;
        if (!cut && *planes == 1 && KnownDepth(*bits)) {
            // A negative height is a picture stored top row first.
            const std::int64_t w = static_cast<std::int32_t>(*width);
            const std::int64_t h = static_cast<std::int32_t>(*height);
            header.Width = usable ? std::max(header.Width, w) : w;
            header.Height = std::max(header.Height, h < 0 ? -h : h);
            usable = true;
        }
    }
    if (usable)
        return header;
    if (cut)
        return Fail(why, "the bitmap's header is cut short");
    return Fail(why, "the bitmap has other than one plane or an unknown number of bits per pixel");
}

// Steps over a run of sub-blocks to the byte after its empty one, counting them; false if the
// data ends first.
bool SkipSubBlocks(Bytes& bytes, std::uint64_t& at, std::uint64_t& count) {
    for (;;) {
        const auto length = bytes.At(at);
        if (!length)
            return false;
        ++count;
        at += 1 + *length;
        if (*length == 0)
            return true;
    }
}

// A decoder keeps every extension before the first image, growing its store piece by piece:
// millions of them take it minutes. No real GIF has more than a few hundred.
constexpr std::uint64_t MaxGifExtensions = 64 * 1024;
constexpr std::uint64_t MaxGifExtensionSubBlocks = 1024 * 1024;

// The first image, and the room a decoder makes for it: the logical screen, or the image's
// own extent where that is larger (a decoder takes left + width for a screen of 0 pixels).
std::optional<PictureHeader> Gif(Bytes& bytes, std::string& why) {
    PictureHeader header{PictureKind::Gif};
    const auto width = bytes.Little(6, 2), height = bytes.Little(8, 2), flags = bytes.Little(10, 1);
    if (!width || !height || !flags)
        return Fail(why, "the GIF's header is cut short");
    std::uint64_t at = 13, extensions = 0, subBlocks = 0;
    if (*flags & 0x80)
        at += 3u << ((*flags & 7) + 1);
    for (;;) {
        const auto kind = bytes.At(at);
        if (!kind || *kind == 0x3B)
            return Ended(bytes, why, "the GIF has no image");
        if (*kind == 0x21) {
            const auto label = bytes.At(at + 1);
            at += 2;
            // A control or application extension opens with a block of fixed fields, and its
            // sub-blocks follow even where that block is empty: the decoders read on past a
            // zero there, which elsewhere ends the extension.
            if (label && (*label == 0xF9 || *label == 0xFF) && bytes.At(at) == 0)
                ++at;
            if (!SkipSubBlocks(bytes, at, subBlocks))
                return Ended(bytes, why, "the GIF is cut short before its first image");
            if (++extensions > MaxGifExtensions || subBlocks > MaxGifExtensionSubBlocks)
                return Fail(why, "the GIF has more extensions before its image than any real one");
            continue;
        }
        if (*kind != 0x2C)
            return Fail(why, "the GIF has a block of no known kind");
        const auto left = bytes.Little(at + 1, 2), top = bytes.Little(at + 3, 2),
                   w = bytes.Little(at + 5, 2), h = bytes.Little(at + 7, 2);
        if (!left || !top || !w || !h)
            return Ended(bytes, why, "the GIF's first image is cut short");
        header.Width = std::max<std::int64_t>(*width, std::int64_t{*left} + *w);
        header.Height = std::max<std::int64_t>(*height, std::int64_t{*top} + *h);
        if (const auto imageFlags = bytes.At(at + 9)) {
            at += 10;
            if (*imageFlags & 0x80)
                at += 3u << ((*imageFlags & 7) + 1);
            ++at; // the code size, then the image's data
            std::uint64_t dataBlocks = 0;
            if (SkipSubBlocks(bytes, at, dataBlocks))
                header.End = at;
        }
        if (!header.End && bytes.PastBound())
            return Fail(why, BeyondBound);
        // Cut inside its data, the image is all there is: a decoder reads to the end.
        return header;
    }
}

// The frame headers the decoders read: baseline, extended, progressive, and the same with
// arithmetic coding. Any other frame (lossless, hierarchical) they refuse.
bool IsFrameMarker(unsigned marker) {
    return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
}
bool IsOtherFrameMarker(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xCC &&
           !IsFrameMarker(marker);
}
// Markers with a length that the decoders step over or read before the frame header: tables,
// restart interval, line count, application data and comments.
bool HasLength(unsigned marker) {
    return marker == 0xC4 || marker == 0xCC || (marker >= 0xDB && marker <= 0xDD) ||
           (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
}

// The first frame header after the start, found as the decoder finds it: between markers it
// skips any byte but FF, swallows FF fill bytes, and takes FF 00 for a stuffed zero to skip.
std::optional<PictureHeader> Jpeg(Bytes& bytes, std::string& why) {
    std::uint64_t at = 2;
    for (;;) {
        std::optional<unsigned char> byte;
        do {
            while ((byte = bytes.At(at)) && *byte != 0xFF)
                ++at;
            if (!byte)
                break;
            while ((byte = bytes.At(++at)) && *byte == 0xFF) {
            }
            if (!byte)
                break;
            ++at;
        } while (*byte == 0);
        if (!byte)
            return Ended(bytes, why, "the JPEG ends before its frame header");
        const unsigned marker = *byte;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // no length follows
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA)
            return Fail(why, "the JPEG has no frame header before its data");
        if (IsOtherFrameMarker(marker))
            return Fail(why, "the JPEG is coded in a way the decoders refuse");
        if (!IsFrameMarker(marker) && !HasLength(marker))
            return Fail(why, "the JPEG has a marker of no known kind");
        const auto length = bytes.Big(at, 2);
        if (!length)
            return Ended(bytes, why, "the JPEG ends before its frame header");
        if (IsFrameMarker(marker)) {
            const auto height = bytes.Big(at + 3, 2), width = bytes.Big(at + 5, 2);
            if (!height || !width)
                return Ended(bytes, why, "the JPEG's frame header is cut short");
            return PictureHeader{PictureKind::Jpeg, *width, *height};
        }
        // A length below its own two bytes skips only those, as the decoder does.
        at += std::max<std::uint32_t>(*length, 2);
    }
}

std::optional<PictureHeader> Png(Bytes& bytes, std::string& why) {
    unsigned char chunk[4] = {};
    if (!bytes.Get(12, chunk, 4) || std::memcmp(chunk, "IHDR", 4) != 0)
        return Fail(why, "the PNG does not begin with its header");
    const auto width = bytes.Big(16, 4), height = bytes.Big(20, 4);
    if (!width || !height)
        return Fail(why, "the PNG's header is cut short");
    return PictureHeader{PictureKind::Png, *width, *height};
}

} // namespace

std::optional<PictureHeader> ReadPictureHeader(const ByteReader& read, std::string& why) {
    Bytes bytes(read);
    unsigned char start[8] = {};
    std::size_t got = 0;
    for (std::optional<unsigned char> byte; got < sizeof start && (byte = bytes.At(got)); ++got)
        start[got] = *byte;
    if (got >= 2 && start[0] == 'B' && start[1] == 'M')
        return Bitmap(bytes, why);
    if (got >= 6 && (std::memcmp(start, "GIF87a", 6) == 0 || std::memcmp(start, "GIF89a", 6) == 0))
        return Gif(bytes, why);
    // The decoders take FF D8 for a JPEG whatever follows.
    if (got >= 2 && start[0] == 0xFF && start[1] == 0xD8)
        return Jpeg(bytes, why);
    if (got == 8 && std::memcmp(start, "\x89PNG\r\n\x1A\n", 8) == 0)
        return Png(bytes, why);
    return Fail(why, "the data is no bitmap, GIF or JPEG");
}

PictureHeader CheckPictureHeader(const ByteReader& read) {
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
    return *header;
}

} // namespace ui
