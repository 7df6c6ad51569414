#include "engine/Snapshots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace Snapshots {

std::optional<QString> EngineSnapshotFile(const QByteArray &engineFile, const QString &folder)
{
    static const QRegularExpression shape(QStringLiteral("^shot[0-9]{4,9}\\.png$"));
    const QString name = QString::fromLatin1(engineFile);
    if (!shape.match(name).hasMatch()) {
        return std::nullopt;
    }
    const QString path = QDir(folder).filePath(name);
    const QFileInfo file(path);
    if (file.isSymLink() || !file.isFile()) {
        return std::nullopt;
    }
    return path;
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
