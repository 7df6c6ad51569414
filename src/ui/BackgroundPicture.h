#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <future>

// A picture decoded on a thread of its own from the moment this is made, so that building the
// window around it does not wait for the decoding: the start page's background is the largest
// picture of the program and takes a tenth of its start.
class BackgroundPicture
{
public:
    // Decodes the picture at `path` at the largest size that fits in `box`.
    BackgroundPicture(const QString &path, const QSize &box);

    // The picture; waits for the decoding the first time. Null when it cannot be read.
    const QImage &Image();

private:
    std::future<QImage> m_decoding;
    QImage m_image;
};
