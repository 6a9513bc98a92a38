#pragma once
// A read-only COM stream over a file the program already holds open, so that a codec reads
// the very file whose header was checked, not whatever its path names by then.

#include <cstddef>
#include <cstdint>
#include <objidl.h>
#include <string>
#include <utility>
#include <windows.h>

namespace ui::win32 {

// One open file, closed with its holder.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    FileHandle(FileHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    FileHandle& operator=(FileHandle&&) = delete;

    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// Up to count bytes of the file at offset, whatever its file pointer; 0 at the end or on a
// failure.
std::size_t ReadFileAt(HANDLE file, std::uint64_t offset, void* buffer, std::size_t count);

// A stream of the file's first `length` bytes followed by `tail`, with one reference, which
// the caller releases. It owns the file: a codec may keep the stream as long as it likes.
IStream* CreateFileStream(FileHandle file, std::uint64_t length, std::string tail = {});

} // namespace ui::win32
