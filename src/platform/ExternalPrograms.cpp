#include "platform/ExternalPrograms.h"

#include "platform/AppDataFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

QString EngineProgram()
{
    const QString chosen = qEnvironmentVariable("TAVRIX_ENGINE");
    if (!chosen.isEmpty()) {
        return chosen;
    }
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/Player");
    if (QFileInfo(beside).isExecutable()) {
        return beside;
    }
    return QStringLiteral("mplayer");
}

QString ProbeProgram()
{
    const QString chosen = qEnvironmentVariable("TAVRIX_PROBE");
    return chosen.isEmpty() ? AppDataFolder() + QStringLiteral("tool") : chosen;
}

QString ProbeSource()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tool");
}

QUrl UserGuideUrl(const QString &section)
{
    QUrl guide = QUrl::fromLocalFile(QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/help/user-guide.html"));
    if (!section.isEmpty()) {
        guide.setFragment(section);
    }
    return guide;
}
