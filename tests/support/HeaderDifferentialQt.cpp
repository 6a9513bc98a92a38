#include "support/HeaderDifferential.h"
#include "ui/Picture.h"
#include "ui/PictureHeader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace testing_support {

namespace {

std::optional<ui::PictureKind> KindOf(const QByteArray& format) {
    if (format == "bmp")
        return ui::PictureKind::Bitmap;
    if (format == "gif")
        return ui::PictureKind::Gif;
    if (format == "jpeg" || format == "jpg")
        return ui::PictureKind::Jpeg;
    if (format == "png")
        return ui::PictureKind::Png;
    return std::nullopt;
}

// Whether Qt decodes a picture from the bytes, under the loader's own allocation limit. Some
// readers size a file from a header alone (GIF's logical screen) when no image follows it.
bool QtDecodes(QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(static_cast<int>(ui::MaxPictureBytes / (1024 * 1024)));
    return !reader.read().isNull();
}

} // namespace

std::string HeaderDisagreement(const unsigned char* data, std::size_t size) {
    std::string why;
    const auto header = ui::ReadPictureHeader(
        [data, size](std::uint64_t offset, void* buffer, std::size_t count) {
            if (offset >= size)
                return std::size_t{0};
            const std::size_t n = std::min<std::size_t>(count, size - offset);
            std::memcpy(buffer, data + offset, n);
            return n;
        },
        why);

    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize seen = reader.size();
    const auto kind = KindOf(reader.format());
    if (!kind || seen.width() <= 0 || seen.height() <= 0)
        return {};

    const std::string qt = reader.format().toStdString() + " " + std::to_string(seen.width()) +
                           " x " + std::to_string(seen.height());
    // The scan's own limits, past anything a real file needs, are no disagreement.
    const bool limit = why.find("16 MB") != std::string::npos ||
                       why.find("than any real one") != std::string::npos;
    if (!header && !limit && QtDecodes(bytes))
        return "Qt reads a " + qt + "; the scan refused it: " + why;
    if (!header)
        return {};
    if (header->Kind != *kind)
        return "Qt reads a " + qt + "; the scan saw another kind";
    if (seen.width() > header->Width || seen.height() > header->Height)
        return "Qt reads a " + qt + "; the scan said " + std::to_string(header->Width) + " x " +
               std::to_string(header->Height);
    return {};
}

} // namespace testing_support
