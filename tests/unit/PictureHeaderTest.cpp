// The size a picture file gives in its own header, read before any decoder allocates it.

#include "ui/PictureHeader.h"

#include "ui/Error.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

ui::ByteReader ReaderOf(const Bytes& bytes) {
    return [&bytes](std::uint64_t offset, void* buffer, std::size_t count) {
        if (offset >= bytes.size())
            return std::size_t{0};
        const std::size_t n = std::min<std::size_t>(count, bytes.size() - offset);
        std::memcpy(buffer, bytes.data() + offset, n);
        return n;
    };
}

void Put(Bytes& b, std::size_t at, std::uint32_t value, int size, bool big = false) {
    if (b.size() < at + static_cast<std::size_t>(size))
        b.resize(at + static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        b[at + static_cast<std::size_t>(i)] =
            static_cast<unsigned char>(value >> (8 * (big ? size - 1 - i : i)));
}

Bytes BitmapOf(std::int32_t width, std::int32_t height, int bits = 24) {
    Bytes b{'B', 'M'};
    Put(b, 14, 40, 4);
    Put(b, 18, static_cast<std::uint32_t>(width), 4);
    Put(b, 22, static_cast<std::uint32_t>(height), 4);
    Put(b, 26, 1, 2);
    Put(b, 28, static_cast<std::uint32_t>(bits), 2);
    return b;
}

Bytes JpegOf(std::uint32_t width, std::uint32_t height) {
    // SOI, an APP0 segment of 16 bytes, then the frame header.
    Bytes b{0xFF, 0xD8, 0xFF, 0xE0};
    Put(b, 4, 16, 2, true);
    b.resize(4 + 16);
    b.insert(b.end(), {0xFF, 0xFF, 0xC0}); // with a fill byte before the marker
    const std::size_t at = b.size();
    Put(b, at, 17, 2, true);
    b.push_back(8);
    Put(b, b.size(), height, 2, true);
    Put(b, b.size(), width, 2, true);
    return b;
}

Bytes GifOf(std::uint32_t screenWidth, std::uint32_t screenHeight, std::uint32_t frameWidth,
            std::uint32_t frameHeight) {
    Bytes b{'G', 'I', 'F', '8', '9', 'a'};
    Put(b, 6, screenWidth, 2);
    Put(b, 8, screenHeight, 2);
    Put(b, 10, 0x80, 1); // a global colour table of two entries
    b.resize(13 + 6);
    b.insert(b.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0}); // a graphic control extension
    b.push_back(0x2C);
    const std::size_t at = b.size();
    Put(b, at + 4, frameWidth, 2);
    Put(b, at + 6, frameHeight, 2);
    return b;
}

std::optional<ui::PictureHeader> HeaderOf(const Bytes& bytes) {
    std::string why;
    return ui::ReadPictureHeader(ReaderOf(bytes), why);
}

std::int32_t Refusal(const Bytes& bytes) {
    try {
        ui::CheckPictureHeader(ReaderOf(bytes));
    } catch (const ui::Error& e) {
        return e.Number;
    }
    return 0;
}

TEST(PictureHeader, EachKindGivesItsSize) {
    auto bmp = HeaderOf(BitmapOf(222, -136)); // stored top row first
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->Kind, ui::PictureKind::Bitmap);
    EXPECT_EQ(bmp->Width, 222);
    EXPECT_EQ(bmp->Height, 136);

    auto jpeg = HeaderOf(JpegOf(640, 480));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->Kind, ui::PictureKind::Jpeg);
    EXPECT_EQ(jpeg->Width, 640);
    EXPECT_EQ(jpeg->Height, 480);

    auto gif = HeaderOf(GifOf(100, 50, 300, 20)); // a frame larger than the screen counts
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->Width, 300);
    EXPECT_EQ(gif->Height, 50);

    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    Put(png, 16, 800, 4, true);
    Put(png, 20, 600, 4, true);
    auto header = HeaderOf(png);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->Width, 800);
}

// A 291-byte JPEG claiming 60000 x 60000 pixels made the platform's decoder run out of memory
// (and the 64-bit Windows build crash) before its size could be asked for.
TEST(PictureHeader, HugeClaimsAreRefusedAsUnreadablePictures) {
    EXPECT_EQ(Refusal(JpegOf(60000, 60000)), ui::errors::InvalidPicture);
    EXPECT_EQ(Refusal(BitmapOf(20000, 20000)), ui::errors::InvalidPicture);
    EXPECT_EQ(Refusal(BitmapOf(0x7FFFFFFF, 0x7FFFFFFF)), ui::errors::InvalidPicture);
    EXPECT_EQ(Refusal(GifOf(10, 10, 65535, 65535)), ui::errors::InvalidPicture);
    EXPECT_EQ(Refusal(JpegOf(6000, 4000)), 0); // a 24-megapixel photo is fine
}

TEST(PictureHeader, OtherDataAndBrokenHeadersAreUnreadable) {
    const std::string text = "Not a picture at all.";
    const Bytes cases[] = {
        Bytes(text.begin(), text.end()),
        Bytes{},
        Bytes{'B', 'M', 1, 2},
        BitmapOf(10, 10, 7),                 // no such depth
        BitmapOf(0, 10),                     // no pixels
        JpegOf(10, 0),                       // the height comes later (DNL): no size known now
        Bytes{0xFF, 0xD8, 0xFF},             // cut in its first marker
        Bytes{0xFF, 0xD8, 0xFF, 0xDA, 0, 2}, // data before any frame header
        Bytes{'G', 'I', 'F', '8', '9', 'a', 1},
        Bytes{'I', 'I', '*', 0}, // a TIFF, which is not offered
    };
    for (const Bytes& bytes : cases)
        EXPECT_EQ(Refusal(bytes), ui::errors::InvalidPicture) << bytes.size();
}

TEST(PictureHeader, SegmentLengthsThatLeadNowhereEnd) {
    Bytes loop{0xFF, 0xD8};
    for (int i = 0; i < 100; ++i) // a long run of empty segments, then nothing
        loop.insert(loop.end(), {0xFF, 0xFE, 0x00, 0x02});
    EXPECT_EQ(Refusal(loop), ui::errors::InvalidPicture);
    Bytes zero{0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x00}; // a length below its own two bytes
    EXPECT_EQ(Refusal(zero), ui::errors::InvalidPicture);
}

} // namespace
