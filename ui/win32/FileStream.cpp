#include "ui/win32/FileStream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ui::win32 {

std::size_t ReadFileAt(HANDLE file, std::uint64_t offset, void* buffer, std::size_t count) {
    // An offset in the request reads there and leaves no shared position to keep right.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!ReadFile(file, buffer, want, &got, &at))
        return 0;
    return got;
}

namespace {

class FileStream final : public IStream {
public:
    FileStream(FileHandle file, std::uint64_t length, std::string tail)
        : file_(std::move(file)), length_(length), tail_(std::move(tail)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (id == IID_IUnknown || id == IID_ISequentialStream || id == IID_IStream) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    // Codecs read a few bytes at a time (a GIF's sub-blocks two reads each): small reads come
    // from a window of the file, so that each costs no system call.
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override {
        auto* out = static_cast<unsigned char*>(buffer);
        ULONG done = 0;
        while (done < count && position_ < length_) {
            const auto want = static_cast<std::size_t>(
                std::min<std::uint64_t>(count - done, length_ - position_));
            std::size_t got = 0;
            if (position_ - windowStart_ < windowFilled_) {
                const auto from = static_cast<std::size_t>(position_ - windowStart_);
                got = std::min(want, windowFilled_ - from);
                std::memcpy(out + done, window_.data() + from, got);
            } else if (want >= window_.size()) {
                got = ReadFileAt(file_.Get(), position_, out + done, want);
            } else {
                windowStart_ = position_;
                windowFilled_ = ReadFileAt(file_.Get(), position_, window_.data(),
                                           static_cast<std::size_t>(std::min<std::uint64_t>(
                                               window_.size(), length_ - position_)));
                if (windowFilled_ == 0)
                    break;
                continue;
            }
            if (got == 0)
                break;
            done += static_cast<ULONG>(got);
            position_ += got;
        }
        if (done < count && position_ >= length_ && position_ - length_ < tail_.size()) {
            const auto from = static_cast<std::size_t>(position_ - length_);
            const std::size_t n = std::min<std::size_t>(count - done, tail_.size() - from);
            std::memcpy(out + done, tail_.data() + from, n);
            done += static_cast<ULONG>(n);
            position_ += n;
        }
        if (read)
            *read = done;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG* written) override {
        if (written)
            *written = 0;
        return STG_E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                   ULARGE_INTEGER* moved) override {
        std::int64_t base = 0;
        switch (origin) {
        case STREAM_SEEK_SET:
            break;
        case STREAM_SEEK_CUR:
            base = static_cast<std::int64_t>(position_);
            break;
        case STREAM_SEEK_END:
            base = static_cast<std::int64_t>(Size());
            break;
        default:
            return STG_E_INVALIDFUNCTION;
        }
        const std::int64_t target = base + move.QuadPart;
        if (target < 0)
            return STG_E_INVALIDFUNCTION;
        position_ = static_cast<std::uint64_t>(target);
        if (moved)
            moved->QuadPart = position_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = Size();
        stat->grfMode = STGM_READ | STGM_SHARE_DENY_WRITE;
        return S_OK;
    }
    // Nothing to change, copy or lock in a read-only view.
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                     ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override {
        if (clone)
            *clone = nullptr;
        return E_NOTIMPL;
    }

private:
    ~FileStream() = default;
    std::uint64_t Size() const { return length_ + tail_.size(); }

    FileHandle file_;
    const std::uint64_t length_;
    const std::string tail_;
    std::uint64_t position_ = 0;
    std::vector<unsigned char> window_ = std::vector<unsigned char>(64 * 1024);
    std::uint64_t windowStart_ = 0;
    std::size_t windowFilled_ = 0;
    LONG references_ = 1;
};

} // namespace

IStream* CreateFileStream(FileHandle file, std::uint64_t length, std::string tail) {
    return new FileStream(std::move(file), length, std::move(tail));
}

} // namespace ui::win32
