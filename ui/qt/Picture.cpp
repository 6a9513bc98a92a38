#include "ui/Picture.h"

#include "ui/Error.h"
#include "ui/PictureHeader.h"
#include "ui/Units.h"
#include "ui/qt/Widgets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace ui {

int Picture::WidthPixels() const {
    return data_ ? data_->pixmap.width() : 0;
}
int Picture::HeightPixels() const {
    return data_ ? data_->pixmap.height() : 0;
}

namespace {

[[noreturn]] void Unreadable(const QString& why) {
    throw Error(errors::InvalidPicture, "Invalid picture: " + why.toStdString());
}

Picture Decode(QImageReader& reader) {
    const QSize size = reader.size(); // read from the header, before any pixel is decoded
    if (size.isValid()) {
        const long long pixels = 1LL * size.width() * size.height();
        if (pixels > MaxPicturePixels || pixels * 4 > MaxPictureBytes)
            Unreadable(
                QStringLiteral("%1 x %2 pixels is too large").arg(size.width()).arg(size.height()));
    }
    reader.setAllocationLimit(static_cast<int>(MaxPictureBytes / (1024 * 1024)));
    QImage image = reader.read();
    if (image.isNull())
        Unreadable(reader.errorString());
    auto data = std::make_shared<Picture::Data>();
    // Handed over, not copied: a large picture is held once, not twice, while it is converted.
    data->pixmap = QPixmap::fromImage(std::move(image));
    return Picture(std::move(data));
}

} // namespace

Picture LoadPicture(const std::string& path) {
    if (path.empty())
        return {};
    const QString file = QString::fromStdString(path);
    const QFileInfo info(file);
    if (!info.exists()) {
        if (!info.absoluteDir().exists())
            throw Error(errors::PathNotFound, "Path not found");
        throw Error(errors::FileNotFound, "File not found");
    }
    if (info.isDir())
        throw Error(75, "Path/File access error");
    QFile bytes(file);
    if (!bytes.open(QIODevice::ReadOnly))
        throw Error(75, "Path/File access error: " + bytes.errorString().toStdString());
    CheckPictureHeader([&bytes](std::uint64_t offset, void* buffer, std::size_t count) {
        if (!bytes.seek(static_cast<qint64>(offset)))
            return std::size_t{0};
        const qint64 got = bytes.read(static_cast<char*>(buffer), static_cast<qint64>(count));
        return got < 0 ? std::size_t{0} : static_cast<std::size_t>(got);
    });
    // The decoder reads the file whose header was checked, not whatever the path names by now.
    if (!bytes.seek(0))
        throw Error(75, "Path/File access error: " + bytes.errorString().toStdString());
    QImageReader reader(&bytes);
    reader.setDecideFormatFromContent(true);
    return Decode(reader);
}

const QPixmap& Picture::Data::At(double scale) const {
    const double art = ArtScaleFor(scale);
    if (art == 1.5 && !larger[0].isNull())
        return larger[0];
    if (art >= 1.5 && !larger[1].isNull())
        return larger[1];
    return pixmap;
}

Picture ResourcePicture(const std::string& name) {
    static const char* const kinds[] = {".bmp", ".gif", ".ico"};
    for (const char* kind : kinds) {
        const QString art = QStringLiteral(":/art/") + QString::fromStdString(name);
        QImageReader reader(art + kind);
        if (!reader.canRead())
            continue;
        auto data = std::make_shared<Picture::Data>(*Decode(reader).Get());
        const struct {
            const char* suffix;
            double scale;
        } larger[] = {{"@1.5x", 1.5}, {"@2x", 2.0}};
        for (int i = 0; i < 2; ++i) {
            QImageReader drawn(art + larger[i].suffix + kind);
            if (!drawn.canRead())
                continue;
            data->larger[i] = Decode(drawn).Get()->pixmap;
            data->larger[i].setDevicePixelRatio(larger[i].scale);
        }
        return Picture(std::move(data));
    }
    throw Error(errors::InvalidArgument, "No picture named " + name + " in the program");
}

} // namespace ui
