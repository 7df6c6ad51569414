#include "disc/DiscMetadata.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype kLinePiece = 2047;
constexpr qint64 kMaxMetadataFileSize = 16 * 1024 * 1024;
const QByteArray kNameMarker = QByteArrayLiteral("<di:name>");
const QByteArray kNameEnd = QByteArrayLiteral("</");
const QByteArray kThumbnailMarker = QByteArrayLiteral("<di:thumbnail href=\"");
const QByteArray kThumbnailEnd = QByteArrayLiteral("\" />");

// The text from a position up to a closing marker; without the marker, the rest of the line.
QByteArray TextUpTo(const QByteArray &line, qsizetype from, const QByteArray &closing)
{
    const qsizetype end = line.indexOf(closing, from);
    return end < 0 ? line.mid(from) : line.mid(from, end - from);
}

void Keep(QByteArray &field, const QByteArray &text)
{
    if (text.size() <= kMaxDiscMetadataText) {
        field = text;
    }
}

void ReadLine(const QByteArray &line, DiscMetadata &metadata)
{
    const qsizetype name = line.indexOf(kNameMarker);
    if (name >= 0) {
        Keep(metadata.name, TextUpTo(line, name + kNameMarker.size(), kNameEnd));
        return;
    }
    const qsizetype thumbnail = line.indexOf(kThumbnailMarker);
    if (thumbnail >= 0) {
        Keep(metadata.thumbnail,
             TextUpTo(line, thumbnail + kThumbnailMarker.size(), kThumbnailEnd));
    }
}

} // namespace

DiscMetadata ParseDiscMetadata(const QByteArray &contents)
{
    DiscMetadata metadata;
    qsizetype lineStart = 0;
    while (lineStart < contents.size()) {
        const qsizetype newline = contents.indexOf('\n', lineStart);
        const qsizetype lineEnd = newline < 0 ? contents.size() : newline + 1;
        for (qsizetype piece = lineStart; piece < lineEnd; piece += kLinePiece) {
            ReadLine(contents.mid(piece, std::min(kLinePiece, lineEnd - piece)), metadata);
        }
        lineStart = lineEnd;
    }
    return metadata;
}

DiscMetadata ReadDiscMetadata(const QString &path)
{
    QFile file(path);
    // Only a regular file, and no more of it than a metadata file can sensibly hold.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    return ParseDiscMetadata(file.read(kMaxMetadataFileSize));
}

HashResult HashFileHex(const QString &path, QByteArray &hex)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() == 0) {
        return HashResult::kCannotOpenOrEmpty;
    }
    // Read in pieces, so that a large file costs no more memory than a small one.
    QCryptographicHash digest(QCryptographicHash::Sha512);
    if (!digest.addData(&file) || !file.atEnd()) {
        hex = QByteArray(128, '0');
        return HashResult::kIncompleteRead;
    }
    hex = digest.result().toHex().toUpper();
    return HashResult::kOk;
}
