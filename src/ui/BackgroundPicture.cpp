#include "ui/BackgroundPicture.h"

#include <QImageReader>

namespace {

QImage Decode(const QString &path, const QSize &box)
{
    QImageReader reader(path);
    const QSize stored = reader.size();
    // A JPEG decodes at a fraction of its size in a fraction of the time.
    if (stored.isValid()) {
        reader.setScaledSize(stored.scaled(box, Qt::KeepAspectRatio));
    }
    return reader.read();
}

} // namespace

BackgroundPicture::BackgroundPicture(const QString &path, const QSize &box)
    // Without a thread to be had, the decoding waits for the first Image().
    : m_decoding(std::async(std::launch::async | std::launch::deferred, Decode, path, box))
{
}

const QImage &BackgroundPicture::Image()
{
    if (m_decoding.valid()) {
        m_image = m_decoding.get();
    }
    return m_image;
}
