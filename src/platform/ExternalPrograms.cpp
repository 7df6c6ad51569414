#include "platform/ExternalPrograms.h"

#include "platform/AppDataFolder.h"

#include <QCoreApplication>
#include <QFile>
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
    if (!chosen.isEmpty()) {
        return chosen;
    }
    // Run from its build folder the player has a copy beside it; installed, it uses the system's.
    return QFileInfo::exists(ProbeSource()) ? AppDataFolder() + QStringLiteral("tool")
                                            : QStringLiteral("ffprobe");
}

QStringList ProbeOptions()
{
    return {QStringLiteral("-v"),   QStringLiteral("error"),        QStringLiteral("-print_format"),
            QStringLiteral("json"), QStringLiteral("-show_format"), QStringLiteral("-show_streams"),
            QStringLiteral("--")};
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

void InstallProbe()
{
    const QString target = AppDataFolder() + QStringLiteral("tool");
    if (QFile::exists(target) || !QFile::exists(ProbeSource())) {
        return;
    }
    QFile::copy(ProbeSource(), target);
}
