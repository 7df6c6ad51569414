#include "platform/AppDataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString AppDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tavrix BluRay Player/");
}

QString StateFolder()
{
    // Only an absolute $XDG_STATE_HOME counts, as the base directory rules say.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return base + QStringLiteral("/Tavrix BluRay Player/");
}

QString LanguageChoiceFolder()
{
    const QString programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    return QFileInfo::exists(programFolder + QStringLiteral("portable")) ? programFolder
                                                                         : AppDataFolder();
}

bool EnsureFolderExists(const QString &folder)
{
    if (QFileInfo(folder).isDir()) {
        return true;
    }
    return QDir().mkpath(folder);
}
