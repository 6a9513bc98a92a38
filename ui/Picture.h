#pragma once
// Decoded pictures: the program's own art and the user's picture files.

#include <memory>
#include <string>

namespace ui {

class Picture {
public:
    Picture() = default; // the empty picture

    bool Empty() const { return !data_; }
    int WidthPixels() const;
    int HeightPixels() const;

    struct Data; // the backend's decoded image
    explicit Picture(std::shared_ptr<const Data> data) : data_(std::move(data)) {}
    const Data* Get() const { return data_.get(); }

private:
    std::shared_ptr<const Data> data_;
};

// Pictures larger than this are refused as unreadable, from the size their own header gives,
// before any decoder allocates them: 32 megapixels hold any camera's photo and keep the peak
// of a load (decoder and picture together) well below 320 MB.
constexpr long long MaxPicturePixels = 32LL * 1024 * 1024;
constexpr long long MaxPictureBytes = 128LL * 1024 * 1024;

// Decodes a Windows bitmap, GIF or JPEG file (a PNG named so is taken too). The empty path
// gives the empty picture. Fails with errors::FileNotFound, errors::PathNotFound,
// errors::InvalidPicture (data of another kind, data that cannot be decoded, or a picture too
// large), or another number for any other failure.
Picture LoadPicture(const std::string& path);

// The program's own art, embedded in the executable: "clock", "alarmclock", "lips",
// "lips_small", "setup_banner", "about_banner", "about_bar", "exit_bar", "ok_bar", "logo",
// "globe".
Picture ResourcePicture(const std::string& name);

} // namespace ui
