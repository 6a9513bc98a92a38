// The picture loader, the program's own art and the windows that show them, on the backend of
// the build.

#include "ui/Picture.h"

#include "support/HeapInUse.h"
#include "ui/Error.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string Data = MOONDIAL_TEST_DATA;

struct Size {
    int width, height;
    friend bool operator==(Size, Size) = default;
    friend std::ostream& operator<<(std::ostream& out, Size s) {
        return out << s.width << " x " << s.height;
    }
};

Size SizeOf(const ui::Picture& picture) {
    return {picture.WidthPixels(), picture.HeightPixels()};
}

// The failure number of loading the file, or 0 when it loads.
template <typename Load> std::int32_t FailureOf(Load&& load) {
    try {
        load();
    } catch (const ui::Error& failure) {
        return failure.Number;
    }
    return 0;
}

std::int32_t LoadFailure(const std::string& path) {
    return FailureOf([&] { ui::LoadPicture(path); });
}

TEST(Pictures, TheProgramsArtDecodesAtItsOwnSize) {
    EXPECT_EQ(SizeOf(ui::ResourcePicture("clock")), (Size{143, 143}));      // RGB PNG
    EXPECT_EQ(SizeOf(ui::ResourcePicture("alarmclock")), (Size{163, 163})); // palette PNG
    EXPECT_EQ(SizeOf(ui::ResourcePicture("lips")), (Size{222, 136}));       // RGB PNG
    EXPECT_EQ(SizeOf(ui::ResourcePicture("lips_small")), (Size{111, 68}));  // GIF
    EXPECT_EQ(FailureOf([] { ui::ResourcePicture("moon"); }), ui::errors::InvalidArgument);
}

TEST(Pictures, AJpegFileDecodes) {
    const ui::Picture picture = ui::LoadPicture(Data + "/lips.jpg");
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(SizeOf(picture), (Size{222, 136}));
}

TEST(Pictures, TheEmptyPathGivesTheEmptyPicture) {
    const ui::Picture picture = ui::LoadPicture("");
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(SizeOf(picture), (Size{0, 0}));
}

TEST(Pictures, MissingFilesAndFoldersAreToldApart) {
    EXPECT_EQ(LoadFailure(Data + "/missing.jpg"), ui::errors::FileNotFound);
    EXPECT_EQ(LoadFailure(Data + "/missing/lips.jpg"), ui::errors::PathNotFound);
    EXPECT_EQ(LoadFailure(Data), 75); // a folder is no picture file
}

// Files the test writes into a folder of its own.
class BadPictures : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ =
            std::filesystem::temp_directory_path() / ("moondial-" + std::string(test->name()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Write(const char* name, const std::vector<char>& bytes) {
        const auto path = folder_ / name;
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::ssize(bytes));
        return path.string();
    }

private:
    std::filesystem::path folder_;
};

std::vector<char> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void PutLittleEndian(std::vector<char>& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

TEST_F(BadPictures, DataThatCannotBeDecodedIsAnInvalidPicture) {
    std::vector<char> cut = Bytes(Data + "/lips.jpg");
    ASSERT_GT(cut.size(), 1000u);
    cut.resize(120); // inside the quantisation tables, before the frame header
    EXPECT_EQ(LoadFailure(Write("cut.jpg", cut)), ui::errors::InvalidPicture);

    const std::string text = "Not a picture at all, only a few words of text.\r\n";
    EXPECT_EQ(LoadFailure(Write("text.jpg", {text.begin(), text.end()})),
              ui::errors::InvalidPicture);
}

TEST_F(BadPictures, AHugePictureIsRefusedFromItsHeader) {
    // A 24-bit bitmap header that claims 20000 x 20000 pixels (1.2 GB), and no pixels.
    std::vector<char> header(54 + 64, 0);
    header[0] = 'B';
    header[1] = 'M';
    PutLittleEndian(header, 2, static_cast<std::uint32_t>(header.size()), 4); // file size
    PutLittleEndian(header, 10, 54, 4);                                       // pixel offset
    PutLittleEndian(header, 14, 40, 4);                                       // info size
    PutLittleEndian(header, 18, 20000, 4);                                    // width
    PutLittleEndian(header, 22, 20000, 4);                                    // height
    PutLittleEndian(header, 26, 1, 2);                                        // planes
    PutLittleEndian(header, 28, 24, 2);                                       // bits per pixel
    const std::string path = Write("huge.bmp", header);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(LoadFailure(path), ui::errors::InvalidPicture);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// Where lips.jpg's frame header begins, stepping over its segments.
std::size_t FrameHeaderAt(const std::vector<char>& jpeg) {
    std::size_t at = 2;
    while (at + 4 < jpeg.size()) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (marker == 0xC0 || marker == 0xC2)
            return at;
        at += 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8 |
                   static_cast<unsigned char>(jpeg[at + 3]));
    }
    ADD_FAILURE() << "no frame header";
    return 0;
}

// Stray bytes between segments, which every decoder skips: a photo, not a corrupt file.
TEST_F(BadPictures, AJpegWithStrayBytesBeforeItsFrameHeaderDecodes) {
    std::vector<char> jpeg = Bytes(Data + "/lips.jpg");
    const auto frame = static_cast<std::ptrdiff_t>(FrameHeaderAt(jpeg));
    jpeg.insert(jpeg.begin() + frame, {0, 0});
    const ui::Picture picture = ui::LoadPicture(Write("stray.jpg", jpeg));
    EXPECT_EQ(SizeOf(picture), (Size{222, 136}));
}

// A frame header claiming 30000 x 20000 pixels behind FF 00 (no segment), and a 1 x 1 one in a
// comment after it where a scan that took FF 00 for a segment landed: the decoder reads the
// large one, so the file is refused, at once.
TEST_F(BadPictures, AJpegHidingItsFrameBehindAStuffedZeroIsRefused) {
    std::vector<char> jpeg = Bytes(Data + "/lips.jpg");
    const std::size_t at = FrameHeaderAt(jpeg);
    const std::size_t length =
        static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]);
    std::vector<char> large(jpeg.begin() + static_cast<std::ptrdiff_t>(at),
                            jpeg.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
    std::vector<char> fake = large;
    for (std::vector<char>* frame : {&large, &fake}) {
        const bool isLarge = frame == &large;
        (*frame)[5] = static_cast<char>(isLarge ? 20000 >> 8 : 0); // height
        (*frame)[6] = static_cast<char>(isLarge ? 20000 & 0xFF : 1);
        (*frame)[7] = static_cast<char>(isLarge ? 30000 >> 8 : 0); // width
        (*frame)[8] = static_cast<char>(isLarge ? 30000 & 0xFF : 1);
    }
    std::vector<char> crafted(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(at));
    const std::size_t skip = 2 + large.size() + 4;
    crafted.insert(crafted.end(),
                   {'\xFF', 0, static_cast<char>(skip >> 8), static_cast<char>(skip & 0xFF)});
    crafted.insert(crafted.end(), large.begin(), large.end());
    crafted.insert(crafted.end(), {'\xFF', '\xFE', 0, static_cast<char>(2 + fake.size())});
    crafted.insert(crafted.end(), fake.begin(), fake.end());
    crafted.insert(crafted.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at + 2 + length),
                   jpeg.end());

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(LoadFailure(Write("hidden.jpg", crafted)), ui::errors::InvalidPicture);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// The setup dialog loads the picture on every choice and every Browse, and the preview lives as
// long as the display settings: a load must leave nothing behind, whatever it gives.
TEST_F(BadPictures, LoadingThePictureAgainAndAgainKeepsNoMemory) {
    const std::string seeds = Data + "/../fuzz/seeds/picture_loader";
    const std::string text = "Not a picture at all.\r\n";
    const struct {
        const char* kind;
        std::string path;
    } files[] = {{"bitmap", seeds + "/tiny24.bmp"},
                 {"GIF", seeds + "/tiny.gif"},
                 {"JPEG", seeds + "/lips.jpg"},
                 {"PNG", seeds + "/tiny.png"},
                 {"unreadable file", Write("text.jpg", {text.begin(), text.end()})}};
    constexpr int Loads = 10000;
    // 2.5 KB kept by each load would be 25 MB here; what a first load sets up once is not
    // counted, nor the small change of a heap's own bookkeeping.
    constexpr std::int64_t MostGrowth = 512 * 1024;
    for (const auto& file : files) {
        const std::int32_t outcome = LoadFailure(file.path); // the first load sets up the decoder
        EXPECT_EQ(outcome,
                  file.kind == std::string("unreadable file") ? ui::errors::InvalidPicture : 0)
            << file.kind;
        const std::int64_t before = testing_support::HeapInUse();
        for (int i = 0; i < Loads; ++i)
            LoadFailure(file.path);
        const std::int64_t growth = testing_support::HeapInUse() - before;
        EXPECT_LT(growth, MostGrowth)
            << Loads << " loads of the " << file.kind << " kept " << growth << " bytes";
    }
}

TEST(PictureBoxes, AnAutoSizedBoxTakesThePicturesSizeAndKeepsItsPlace) {
    ui::Form form;
    ui::PictureBox fixed(form, 150, 300, 1500, 1500);
    ui::PictureBox autoSized(form, 150, 300, 1500, 1500);
    autoSized.SetAutoSize(true);
    const ui::Picture lips = ui::ResourcePicture("lips");
    fixed.SetPicture(lips);
    autoSized.SetPicture(lips);

    EXPECT_EQ(fixed.Width(), 1500);
    EXPECT_EQ(fixed.Height(), 1500);
    EXPECT_EQ(autoSized.Width(), 222 * 15);
    EXPECT_EQ(autoSized.Height(), 136 * 15);
    EXPECT_EQ(autoSized.Left(), 150);
    EXPECT_EQ(autoSized.Top(), 300);

    autoSized.Move(3000, 4500); // keeps the size
    EXPECT_EQ(autoSized.Left(), 3000);
    EXPECT_EQ(autoSized.Top(), 4500);
    EXPECT_EQ(autoSized.Width(), 222 * 15);
}

} // namespace
