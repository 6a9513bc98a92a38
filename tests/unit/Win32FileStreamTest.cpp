// The stream a codec reads a checked file through.

#include "ui/win32/FileStream.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace {

// A stream of a file's first bytes and a tail, as a GIF's first image is shown to its codec:
// read in pieces of every size, across the edges of its window and of the file.
TEST(Win32FileStream, ShowsTheFilesFirstBytesThenTheTail) {
    const auto path = std::filesystem::temp_directory_path() / "moondial-stream.bin";
    std::string contents;
    for (int i = 0; i < 200'000; ++i)
        contents += static_cast<char>('a' + i % 23);
    std::ofstream(path, std::ios::binary) << contents;
    const std::uint64_t length = 150'000;
    const std::string expected = contents.substr(0, length) + ";";

    ui::win32::FileHandle file(CreateFileW(path.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    IStream* stream = ui::win32::CreateFileStream(std::move(file), length, ";");
    STATSTG stat{};
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, length + 1);

    std::string seen;
    for (ULONG piece : {1u, 2u, 255u, 70'000u, 4096u, 100'000u}) {
        std::string buffer(piece, '\0');
        ULONG read = 0;
        ASSERT_EQ(stream->Read(buffer.data(), piece, &read), S_OK);
        seen += buffer.substr(0, read);
    }
    EXPECT_EQ(seen, expected);

    // Back to any place, and on from there.
    LARGE_INTEGER to{};
    to.QuadPart = -3;
    ULARGE_INTEGER at{};
    ASSERT_EQ(stream->Seek(to, STREAM_SEEK_END, &at), S_OK);
    EXPECT_EQ(at.QuadPart, length - 2);
    char last[8] = {};
    ULONG read = 0;
    ASSERT_EQ(stream->Read(last, sizeof last, &read), S_OK);
    EXPECT_EQ(std::string(last, read), expected.substr(length - 2));
    to.QuadPart = 65'530;
    ASSERT_EQ(stream->Seek(to, STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(stream->Read(last, sizeof last, &read), S_OK);
    EXPECT_EQ(std::string(last, read), contents.substr(65'530, 8));
    EXPECT_EQ(stream->Release(), 0u);

    std::filesystem::remove(path); // the stream closed the file with its last reference
}

} // namespace
