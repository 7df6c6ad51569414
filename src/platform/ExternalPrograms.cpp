#include "platform/ExternalPrograms.h"

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
