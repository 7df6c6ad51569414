#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The disc's own name and thumbnail file name, from its English metadata file
// (BDMV/META/DL/bdmt_eng.xml). Both are narrow text; empty when not found.
struct DiscMetadata
{
    QByteArray name;
    QByteArray thumbnail; // the href as written; see ThumbnailPath for a file to load
};

// The longest name or thumbnail file name that is kept; a longer one leaves the previous value.
inline constexpr int kMaxDiscMetadataText = 255;

// The most of a metadata file that is read. A real one is about a kilobyte (the XML header, a
// name of at most 255 bytes kept, a few thumbnail lines); a thousand times that still reads in
// a moment, and a larger file is no metadata file.
inline constexpr qint64 kMaxMetadataFileSize = 1024 * 1024;

// The largest thumbnail picture that is loaded. Discs carry JPEG pictures of 640x360 at most,
// some tens of kilobytes; this holds even an uncompressed 1280x720 one.
inline constexpr qint64 kMaxThumbnailFileSize = 4 * 1024 * 1024;

// Reads the metadata line by line (lines longer than 2047 characters count as several lines).
// The last line naming each wins; a line with both markers counts for the name only. The
// thumbnail is the href's value in double quotes, whatever attributes follow it.
DiscMetadata ParseDiscMetadata(const QByteArray &contents);

// The same for a whole file's bytes, whichever system wrote its line ends.
DiscMetadata ParseDiscMetadataFile(QByteArray contents);

// The same for a file; a file that is no regular file, is larger than kMaxMetadataFileSize or
// cannot be read whole at once gives empty texts.
DiscMetadata ReadDiscMetadata(const QString &path);

// Whether an href can name a file inside the metadata folder at all: it is not empty, holds no
// NUL, is not absolute and takes no ".." step.
bool IsRelativeHrefInside(const QByteArray &href);

// The canonical path of the thumbnail an href names, when that is a regular file inside the
// metadata folder (an absolute href, one with a ".." step, or a link that leads outside names
// none) of 1 to kMaxThumbnailFileSize bytes; otherwise empty. Files under /proc state no size,
// so they are refused with the empty ones.
QString ThumbnailPath(const QString &metadataFolder, const QByteArray &href);
