#include "ui/Picture.h"

#include "ui/Error.h"
#include "ui/PictureHeader.h"
#include "ui/Units.h"
#include "ui/qt/Impl.h"
#include "ui/qt/Picture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace ui {

int Picture::WidthPixels() const {
    return data_ ? data_->size.width() : 0;
}
int Picture::HeightPixels() const {
    return data_ ? data_->size.height() : 0;
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
    // Handed over, not copied: a large picture is held once, not twice, while it is converted.
    return Picture(std::make_shared<Picture::Data>(QPixmap::fromImage(std::move(image))));
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

const QPixmap& Picture::Data::Drawing(ArtDrawing drawing) const {
    static const struct {
        const char* suffix;
        double scale;
    } drawings[] = {{"", 1.0}, {"@1.5x", 1.5}, {"@2x", 2.0}};
    const int which = static_cast<int>(drawing);
    std::optional<QPixmap>& kept = drawings_[which];
    if (kept)
        return *kept;
    kept.emplace();
    QImageReader reader(artName + QLatin1String(drawings[which].suffix) + artKind,
                        artKind.mid(1).toLatin1());
    reader.setAutoDetectImageFormat(false);
    if (!artName.isEmpty() && reader.canRead()) {
        try {
            *kept = Decode(reader).Get()->At(1.0);
            kept->setDevicePixelRatio(drawings[which].scale);
        } catch (const Error&) {
            // asked for while painting: another drawing serves, or none
        }
    }
    return *kept;
}

const QPixmap& Picture::Data::At(double scale) const {
    return Drawing(ArtDrawingFor(scale, [this](ArtDrawing d) { return !Drawing(d).isNull(); }));
}

Picture ResourcePicture(const std::string& name) {
    static const char* const kinds[] = {".png", ".gif", ".ico"};
    const QString art = QStringLiteral(":/art/") + QString::fromStdString(name);
    for (const char* kind : kinds) {
        // Named by its kind: no image plugin is loaded to recognise a bitmap.
        QImageReader reader(art + QLatin1String(kind), QByteArray(kind + 1));
        reader.setAutoDetectImageFormat(false);
        if (!reader.canRead())
            continue;
        // Its size from the header; the pixels when first drawn.
        const QSize size = reader.size();
        auto data = size.isValid() ? std::make_shared<Picture::Data>()
                                   : std::make_shared<Picture::Data>(*Decode(reader).Get());
        if (size.isValid())
            data->size = size;
        data->artName = art;
        data->artKind = QLatin1String(kind);
        return Picture(std::move(data));
    }
    throw Error(errors::InvalidArgument, "No picture named " + name + " in the program");
}

} // namespace ui
