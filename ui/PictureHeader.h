#pragma once
// What a picture file says of itself before any decoder sees it: its kind and its size, read
// from its own header, so that a file claiming more pixels than the program will decode is
// refused before a platform decoder allocates them all.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace ui {

enum class PictureKind { Bitmap, Gif, Jpeg, Png };

struct PictureHeader {
    PictureKind Kind;
    // The most room a decoder makes for the first picture.
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    // Where the data of the first picture ends (a GIF's first image); 0: a decoder reads on.
    std::uint64_t End = 0;
};

// How far into a file its header is looked for: past the largest metadata a camera or an
// editor writes before a JPEG's frame header (EXIF, ICC profiles, XMP, thumbnails), so that a
// file padded further is refused at once rather than read for minutes.
constexpr std::uint64_t MaxHeaderOffset = 16ULL * 1024 * 1024;

// Reads up to count bytes at offset into buffer; returns how many it read (0 at the end).
using ByteReader =
    std::function<std::size_t(std::uint64_t offset, void* buffer, std::size_t count)>;

// The header of a Windows bitmap, GIF, JPEG or PNG, found where the decoders find it; nothing,
// with the reason in why, for any other data, a header that gives no usable size, or one that
// does not lie within MaxHeaderOffset bytes. Reads in blocks, never a byte at a time.
std::optional<PictureHeader> ReadPictureHeader(const ByteReader& read, std::string& why);

// The header, if the file is a picture of a kind the program shows and of a size it will
// decode; throws errors::InvalidPicture otherwise.
PictureHeader CheckPictureHeader(const ByteReader& read);

} // namespace ui
