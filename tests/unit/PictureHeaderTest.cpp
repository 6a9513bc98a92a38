// The size a picture file gives in its own header, read before any decoder allocates it.

#include "ui/PictureHeader.h"

#include "ui/Error.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <utility>
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

// A reader over the bytes that counts its calls.
struct CountingReader {
    const Bytes& bytes;
    int calls = 0;
    ui::ByteReader Reader() {
        return [this](std::uint64_t offset, void* buffer, std::size_t count) {
            ++calls;
            return ReaderOf(bytes)(offset, buffer, count);
        };
    }
};

// A baseline frame header of the given size: FF C0, its length, precision, size, components.
Bytes FrameOf(std::uint32_t width, std::uint32_t height) {
    Bytes b{0xFF, 0xC0, 0x00, 0x11, 8};
    Put(b, b.size(), height, 2, true);
    Put(b, b.size(), width, 2, true);
    b.insert(b.end(), {3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
    return b;
}

Bytes& Append(Bytes& to, const Bytes& part) {
    to.insert(to.end(), part.begin(), part.end());
    return to;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        Append(all, part);
    return all;
}

const Bytes Start{0xFF, 0xD8};

// A comment segment of the given length, its two length bytes included.
Bytes CommentOf(std::uint32_t length) {
    Bytes b{0xFF, 0xFE};
    Put(b, 2, length, 2, true);
    b.resize(2 + length, 'x');
    return b;
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

using Size = std::pair<std::int64_t, std::int64_t>;

Size JpegSize(const Bytes& bytes) {
    std::string why;
    const auto header = ui::ReadPictureHeader(ReaderOf(bytes), why);
    if (!header)
        return {-1, -1};
    EXPECT_EQ(header->Kind, ui::PictureKind::Jpeg);
    return {header->Width, header->Height};
}

// Between segments the decoders skip any byte but FF, swallow FF fill bytes and skip FF 00 (a
// stuffed zero); a photo with stray bytes there is no corrupt one.
TEST(PictureHeader, JpegBytesTheDecodersSkipAreSkipped) {
    EXPECT_EQ(JpegSize(Join({Start, CommentOf(4), {0, 0}, FrameOf(16, 16)})), Size(16, 16));
    EXPECT_EQ(JpegSize(Join({Start, {0x12, 0xFF, 0x00, 0x34}, FrameOf(20, 10)})), Size(20, 10));
    EXPECT_EQ(JpegSize(Join({Start, {0xFF, 0xFF, 0xFF, 0x00}, FrameOf(20, 10)})), Size(20, 10));
    EXPECT_EQ(JpegSize(Join({{0xFF, 0xD8, 0, 0}, FrameOf(7, 9)})), Size(7, 9));
    // Restart and TEM markers carry no length.
    EXPECT_EQ(JpegSize(Join({Start, {0xFF, 0xD0, 0xFF, 0x01}, FrameOf(5, 6)})), Size(5, 6));
    // A length below its own two bytes skips just those, as the decoder does.
    EXPECT_EQ(JpegSize(Join({Start, {0xFF, 0xE1, 0x00, 0x01}, FrameOf(3, 4)})), Size(3, 4));
    // Progressive and arithmetic-coded frames are read as well.
    for (const unsigned char marker : {0xC1, 0xC2, 0xC9, 0xCA}) {
        Bytes frame = FrameOf(30, 40);
        frame[1] = marker;
        EXPECT_EQ(JpegSize(Join({Start, frame})), Size(30, 40)) << int{marker};
    }
}

// FF 00 is no segment: the frame header the decoder reads first is the one that counts, not a
// small one further on that a wrong step over "FF 00 and its length" lands on.
TEST(PictureHeader, AFrameHiddenBehindAStuffedZeroIsFound) {
    const Bytes huge = FrameOf(60000, 60000);
    Bytes hiding{0xFF, 0x00};
    Put(hiding, 2, static_cast<std::uint32_t>(2 + huge.size()), 2, true);
    const Bytes crafted = Join({Start, hiding, huge, FrameOf(1, 1)});
    EXPECT_EQ(JpegSize(crafted), Size(60000, 60000));
    EXPECT_EQ(Refusal(crafted), ui::errors::InvalidPicture);
}

TEST(PictureHeader, JpegMarkersTheDecodersRefuseAreUnreadable) {
    const Bytes frame = FrameOf(8, 8);
    const Bytes cases[] = {
        Join({Start, {0xFF, 0xD8}, frame}),             // a second start
        Join({Start, {0xFF, 0xD9}, frame}),             // the end
        Join({Start, {0xFF, 0xDA, 0x00, 0x02}, frame}), // data before the frame
        Join({Start, {0xFF, 0xC3, 0x00, 0x02}, frame}), // lossless coding
        Join({Start, {0xFF, 0xC8, 0x00, 0x02}, frame}), // reserved for extensions
        Join({Start, {0xFF, 0x02, 0x00, 0x02}, frame}), // reserved
        Join({Start, {0xFF, 0xF0, 0x00, 0x02}, frame}), // reserved
    };
    for (const Bytes& bytes : cases)
        EXPECT_EQ(Refusal(bytes), ui::errors::InvalidPicture) << std::hex << int{bytes[3]};
}

// Millions of fill bytes are read in blocks: a byte at a time, they kept the program waiting
// for minutes.
TEST(PictureHeader, RunsOfFillBytesAreReadInBlocks) {
    Bytes fill = Start;
    fill.resize(2 + 5'000'000, 0xFF);
    fill.push_back(0xFF); // a marker's own FF after the run
    fill = Join({fill, FrameOf(640, 480)});
    CountingReader counting{fill};
    std::string why;
    const auto header = ui::ReadPictureHeader(counting.Reader(), why);
    ASSERT_TRUE(header) << why;
    EXPECT_EQ(header->Width, 640);
    EXPECT_LE(counting.calls, 5'000'000 / (64 * 1024) + 4);

    Bytes zeros = Start; // stray bytes, likewise
    zeros.resize(2 + 3'000'000, 0);
    zeros = Join({zeros, FrameOf(2, 3)});
    CountingReader countingZeros{zeros};
    EXPECT_TRUE(ui::ReadPictureHeader(countingZeros.Reader(), why));
    EXPECT_LE(countingZeros.calls, 3'000'000 / (64 * 1024) + 4);
}

// No real photo puts its frame header 16 MB in, not even behind a large ICC profile and XMP;
// a file that does is refused after reading that much, not all of it.
TEST(PictureHeader, AHeaderFurtherInThanTheBoundIsUnreadable) {
    Bytes metadata = Start;
    const Bytes largest = CommentOf(0xFFFF);
    for (int i = 0; i < 200; ++i) // 13 MB of segments of the largest size
        Append(metadata, largest);
    EXPECT_EQ(JpegSize(Join({metadata, FrameOf(4000, 3000)})), Size(4000, 3000));

    for (int i = 0; i < 60; ++i) // 17 MB
        Append(metadata, largest);
    const Bytes beyond = Join({metadata, FrameOf(4000, 3000)});
    std::string why;
    EXPECT_FALSE(ui::ReadPictureHeader(ReaderOf(beyond), why));
    EXPECT_NE(why.find("16 MB"), std::string::npos) << why;

    Bytes fill = Start;
    fill.resize(2 + 20'000'000, 0xFF);
    fill = Join({fill, FrameOf(4, 4)});
    CountingReader counting{fill};
    EXPECT_FALSE(ui::ReadPictureHeader(counting.Reader(), why));
    EXPECT_LE(counting.calls, static_cast<int>(ui::MaxHeaderOffset / (64 * 1024)) + 4);
    EXPECT_EQ(Refusal(fill), ui::errors::InvalidPicture);
}

// Qt reads a header of any size it does not know in the old form, with 16-bit sizes; the
// Windows form has 32-bit ones. Where either could apply, the larger reading counts.
TEST(PictureHeader, BitmapHeadersAreReadInEveryFormADecoderReads) {
    const auto bitmap = [](std::uint32_t infoSize, std::initializer_list<std::uint16_t> fields) {
        Bytes b{'B', 'M'};
        Put(b, 14, infoSize, 4);
        for (const std::uint16_t field : fields)
            Put(b, b.size(), field, 2);
        b.resize(64);
        return b;
    };
    std::string why;
    const auto sizeOf = [&why](const Bytes& bytes) {
        const auto header = ui::ReadPictureHeader(ReaderOf(bytes), why);
        return header ? Size(header->Width, header->Height) : Size(-1, -1);
    };
    EXPECT_EQ(sizeOf(bitmap(2, {214, 1536, 1, 24})), Size(214, 1536)) << why;
    EXPECT_EQ(sizeOf(bitmap(12, {65535, 7, 1, 8})), Size(65535, 7)) << why;
    // 32-bit sizes, whose halves the old form would take for a size and the planes.
    EXPECT_EQ(sizeOf(bitmap(56, {300, 0, 200, 0, 1, 32})), Size(300, 200)) << why;
    EXPECT_EQ(sizeOf(bitmap(52, {5, 1, 1, 24, 1, 24})), Size(65541, 1572865)) << why;
    EXPECT_EQ(sizeOf(bitmap(20, {10, 10, 1, 2})), Size(-1, -1)); // two bits a pixel
}

// A GIF with a two-colour table, the given extensions, then one image with its data.
Bytes GifWith(const Bytes& extensions, std::uint32_t screenWidth, std::uint32_t screenHeight,
              std::uint32_t left, std::uint32_t top, std::uint32_t width, std::uint32_t height) {
    Bytes b{'G', 'I', 'F', '8', '9', 'a'};
    Put(b, 6, screenWidth, 2);
    Put(b, 8, screenHeight, 2);
    Put(b, 10, 0x80, 1);
    b.resize(13 + 6);
    b.insert(b.end(), extensions.begin(), extensions.end());
    b.push_back(0x2C);
    for (const std::uint32_t value : {left, top, width, height})
        Put(b, b.size(), value, 2);
    b.insert(b.end(), {0x00, 0x02, 0x02, 0x4C, 0x01, 0x00}); // no local table; code size, data
    return b;
}

Bytes CommentOfSubBlocks(int count, unsigned char size) {
    Bytes comment{0x21, 0xFE};
    for (int i = 0; i < count; ++i) {
        comment.push_back(size);
        comment.resize(comment.size() + size, 'x');
    }
    comment.push_back(0);
    return comment;
}

TEST(PictureHeader, GifImagesAreFoundPastTheirExtensions) {
    // Tens of thousands of extensions before the first image: it is found, and counts.
    Bytes many;
    for (int i = 0; i < 20000; ++i)
        many.insert(many.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});
    EXPECT_EQ(Refusal(GifWith(many, 10, 10, 0, 0, 60000, 60000)), ui::errors::InvalidPicture);
    EXPECT_EQ(Refusal(GifWith(many, 10, 10, 0, 0, 20, 20)), 0);

    // A million one-byte sub-blocks are read in blocks.
    const Bytes gif = GifWith(CommentOfSubBlocks(1'000'000, 1), 100, 50, 0, 0, 100, 50);
    CountingReader counting{gif};
    std::string why;
    const auto header = ui::ReadPictureHeader(counting.Reader(), why);
    ASSERT_TRUE(header) << why;
    EXPECT_EQ(header->Width, 100);
    EXPECT_EQ(header->End, gif.size());
    EXPECT_LE(counting.calls, static_cast<int>(gif.size() / (64 * 1024)) + 4);

    // Beyond the bound, the GIF is refused.
    const Bytes far = GifWith(CommentOfSubBlocks(70'000, 255), 100, 50, 0, 0, 100, 50);
    ASSERT_GT(far.size(), ui::MaxHeaderOffset);
    EXPECT_EQ(Refusal(far), ui::errors::InvalidPicture);
}

// A control or application extension whose block of fixed fields is empty still has its
// sub-blocks after it, as the decoders read it; a zero there ends no extension.
TEST(PictureHeader, GifExtensionsWithAnEmptyFixedBlockGoOnToTheirSubBlocks) {
    for (const unsigned char label : {0xF9, 0xFF}) {
        EXPECT_EQ(Refusal(GifWith({0x21, label, 0, 0}, 20, 20, 0, 0, 20, 20)), 0) << +label;
        EXPECT_EQ(Refusal(GifWith({0x21, label, 0, 2, 'x', 'x', 0}, 20, 20, 0, 0, 20, 20)), 0)
            << +label;
    }
    // A comment has no fixed block: its first zero ends it.
    EXPECT_EQ(Refusal(GifWith({0x21, 0xFE, 0, 0}, 20, 20, 0, 0, 20, 20)),
              ui::errors::InvalidPicture);
}

// A decoder stores each extension before the first image piece by piece, taking minutes over
// millions of them; no real GIF comes near.
TEST(PictureHeader, GifsWithMillionsOfExtensionPiecesAreUnreadable) {
    EXPECT_EQ(Refusal(GifWith(CommentOfSubBlocks(1'100'000, 1), 8, 8, 0, 0, 8, 8)),
              ui::errors::InvalidPicture);
    Bytes comments;
    for (int i = 0; i < 70'000; ++i)
        comments.insert(comments.end(), {0x21, 0xFE, 1, 'x', 0});
    EXPECT_EQ(Refusal(GifWith(comments, 8, 8, 0, 0, 8, 8)), ui::errors::InvalidPicture);
}

// Decoders make room for the logical screen, for the image's own size, and for left + width
// when the screen claims no pixels.
TEST(PictureHeader, GifRoomCoversTheScreenAndTheFirstImagesExtent) {
    std::string why;
    const auto offset = ui::ReadPictureHeader(ReaderOf(GifWith({}, 0, 0, 60000, 60000, 1, 1)), why);
    ASSERT_TRUE(offset) << why;
    EXPECT_EQ(offset->Width, 60001);
    EXPECT_EQ(offset->Height, 60001);
    EXPECT_EQ(Refusal(GifWith({}, 0, 0, 60000, 60000, 1, 1)), ui::errors::InvalidPicture);
    EXPECT_EQ(Refusal(GifWith({}, 200, 100, 10, 10, 20, 20)), 0);

    // The first image ends at its data's empty sub-block: later frames are no part of it.
    const Bytes one = GifWith({}, 20, 20, 0, 0, 20, 20);
    Bytes two = one;
    two.insert(two.end(), one.begin() + 19, one.end()); // a second image
    two.push_back(0x3B);
    const auto header = ui::ReadPictureHeader(ReaderOf(two), why);
    ASSERT_TRUE(header) << why;
    EXPECT_EQ(header->End, one.size());

    // Cut inside its data, the first image leaves the decoder the whole file.
    const Bytes cut(one.begin(), one.end() - 2);
    const auto partial = ui::ReadPictureHeader(ReaderOf(cut), why);
    ASSERT_TRUE(partial) << why;
    EXPECT_EQ(partial->End, 0u);
}

} // namespace
