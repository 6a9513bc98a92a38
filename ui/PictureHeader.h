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
    std::int64_t Width = 0;
    std::int64_t Height = 0;
};

// Reads up to count bytes at offset into buffer; returns how many it read (0 at the end).
using ByteReader =
    std::function<std::size_t(std::uint64_t offset, void* buffer, std::size_t count)>;

// The header of a Windows bitmap, GIF, JPEG or PNG; nothing, with the reason in why, for any
// other data, or a header that gives no usable size.
std::optional<PictureHeader> ReadPictureHeader(const ByteReader& read, std::string& why);

// Throws errors::InvalidPicture unless the file is a picture of a kind the program shows and
// of a size it will decode.
void CheckPictureHeader(const ByteReader& read);

} // namespace ui
