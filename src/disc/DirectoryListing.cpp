#include "disc/DirectoryListing.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString WithSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

bool ListDirectory(const QString &folder, QVector<DirEntry> &entries)
{
    const QDir directory(folder);
    if (!QFileInfo(folder).isDir() || !directory.isReadable()) {
        return false;
    }
    const QString prefix = WithSeparator(folder);
    const QStringList names =
        directory.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString &name : names) {
        if (name.startsWith(QLatin1Char('.'))) {
            continue;
        }
        DirEntry entry;
        entry.path = prefix + name;
        const QFileInfo info(entry.path);
        entry.isDirectory = info.isDir();
        entry.size = entry.isDirectory ? 0 : static_cast<quint64>(info.size());
        entries.append(entry);
    }
    return true;
}
