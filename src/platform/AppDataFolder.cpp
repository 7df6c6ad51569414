#include "platform/AppDataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString AppDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tavrix BluRay Player/");
}

bool EnsureFolderExists(const QString &folder)
{
    if (QFileInfo(folder).isDir()) {
        return true;
    }
    return QDir().mkpath(folder);
}
