#include "disc/ThumbnailPicture.h"

#include <QBuffer>
#include <QImageReader>

QImage DecodeThumbnail(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format != "jpeg" && format != "png") {
        return {};
    }
    // Read from the header alone; both decoders allocate what it declares.
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.width() > kMaxThumbnailSide ||
        declared.height() > kMaxThumbnailSide) {
        return {};
    }
    if (declared.width() > kThumbnailBox.width() || declared.height() > kThumbnailBox.height()) {
        reader.setScaledSize(
            declared.scaled(kThumbnailBox, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    const QImage picture = reader.read();
    if (picture.isNull()) {
        return {};
    }
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32);
}
