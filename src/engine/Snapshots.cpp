#include "engine/Snapshots.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Snapshots {

namespace {

const QByteArray kScreenshotMarker = QByteArrayLiteral("*** screenshot ");
// The name starts after the marker and its opening quote.
constexpr qsizetype kNameOffset = 16;

} // namespace

std::optional<QByteArray> EngineFileFromLine(const QByteArray &line)
{
    QByteArray name = line.mid(kNameOffset);
    const qsizetype quote = name.indexOf('\'');
    if (quote >= 0) {
        name.truncate(quote);
    }
    if (name.size() > kMaxEngineFileName) {
        return std::nullopt;
    }
    return name;
}

QString FileName(const QDateTime &time, const QString &format)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return QStringLiteral("Snapshot-") +
           QString::asprintf("%04d-%02d-%02d %02d-%02d-%02d.", date.year(), date.month(),
                             date.day(), clock.hour(), clock.minute(), clock.second()) +
           format;
}

const char *ImageFormat(const QString &format)
{
    if (format == QLatin1String("PNG")) {
        return "PNG";
    }
    if (format == QLatin1String("BMP")) {
        return "BMP";
    }
    return "JPEG";
}

QString StoredFolder(const QString &appDataFolder)
{
    QFile stored(appDataFolder + QStringLiteral("OutputPath.txt"));
    if (!stored.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return QString();
    }
    return QString::fromLocal8Bit(stored.readAll());
}

QString DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           QStringLiteral("/Tavrix BluRay Player/");
}

QString Folder(const QString &appDataFolder)
{
    const QString stored = StoredFolder(appDataFolder);
    return stored.isEmpty() ? DefaultFolder() : stored;
}

QString FreeDestination(const QString &folder, const QString &fileName)
{
    const QString destination =
        QString(folder + fileName).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!QFileInfo::exists(destination)) {
        return destination;
    }
    const qsizetype dot = destination.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? destination : destination.left(dot);
    const QString extension = dot < 0 ? QString() : destination.mid(dot);
    for (int copy = 2;; ++copy) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(stem).arg(copy).arg(extension);
        if (!QFileInfo::exists(candidate)) {
            return candidate;
        }
    }
}

} // namespace Snapshots
