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
    const QFileInfo source(ProbeSource());
    const QFileInfo copy(target);
    if (!source.exists()) {
        return;
    }
    // A copy this player made earlier of another probe (an older build's) gives way; anything
    // else by that name is left alone.
    if (copy.exists() || copy.isSymLink()) {
        if (copy.isSymLink() || !copy.isFile() || copy.size() == source.size() ||
            !QFile::remove(target)) {
            return;
        }
    }
    QFile::copy(ProbeSource(), target);
}
