#include "disc/DiscMetadata.h"

#include "platform/BoundedFileRead.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {

constexpr qsizetype kLinePiece = 2047;
const QByteArray kNameMarker = QByteArrayLiteral("<di:name>");
const QByteArray kNameEnd = QByteArrayLiteral("</");
const QByteArray kThumbnailMarker = QByteArrayLiteral("<di:thumbnail href=\"");

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
        // The value ends at its closing quote: other attributes, such as the picture's size,
        // may follow it. Without that quote there is no value.
        const qsizetype start = thumbnail + kThumbnailMarker.size();
        const qsizetype end = line.indexOf('"', start);
        if (end >= 0) {
            Keep(metadata.thumbnail, line.mid(start, end - start));
        }
    }
}

bool HasParentStep(const QString &relative)
{
    for (const QStringView step : QStringView(relative).split(QLatin1Char('/'))) {
        if (step == QLatin1String("..")) {
            return true;
        }
    }
    return false;
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

DiscMetadata ParseDiscMetadataFile(QByteArray contents)
{
    // Lines as a text-mode read gives them, whichever system wrote the file.
    return ParseDiscMetadata(contents.replace("\r\n", "\n"));
}

DiscMetadata ReadDiscMetadata(const QString &path)
{
    QByteArray contents;
    if (!ReadRegularFile(path, kMaxMetadataFileSize, contents)) {
        return {};
    }
    return ParseDiscMetadataFile(std::move(contents));
}

bool IsRelativeHrefInside(const QByteArray &href)
{
    const QString relative = QFile::decodeName(href);
    return !relative.isEmpty() && !href.contains('\0') && !relative.startsWith(QLatin1Char('/')) &&
           !HasParentStep(relative);
}

QString ThumbnailPath(const QString &metadataFolder, const QByteArray &href)
{
    if (!IsRelativeHrefInside(href)) {
        return {};
    }
    const QString relative = QFile::decodeName(href);
    const QString folder = QFileInfo(metadataFolder).canonicalFilePath();
    if (folder.isEmpty()) {
        return {};
    }
    // Links resolved: what is checked is the very file that gets loaded.
    const QString file = QFileInfo(folder + QLatin1Char('/') + relative).canonicalFilePath();
    const QFileInfo info(file);
    if (file.isEmpty() || !file.startsWith(folder + QLatin1Char('/')) || !info.isFile() ||
        info.size() <= 0 || info.size() > kMaxThumbnailFileSize) {
        return {};
    }
    return file;
}
