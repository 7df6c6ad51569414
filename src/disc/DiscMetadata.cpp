#include "disc/DiscMetadata.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

constexpr qsizetype kLinePiece = 2047;
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
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    return ParseDiscMetadata(file.readAll());
}

HashResult HashFileHex(const QString &path, QByteArray &hex)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) {
        return HashResult::kCannotOpenOrEmpty;
    }
    const QByteArray content = file.readAll();
    if (content.size() != file.size()) {
        hex = QByteArray(128, '0');
        return HashResult::kIncompleteRead;
    }
    hex = QCryptographicHash::hash(content, QCryptographicHash::Sha512).toHex().toUpper();
    return HashResult::kOk;
}
