#include "app/LogHandler.h"

#include <QFile>

void LogMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg) {
        return;
    }
    QFile log(QStringLiteral("Log.txt"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        return;
    }
    // In the locale's encoding, like every other text file of the player.
    log.write(QStringLiteral("Debug: %1\n").arg(message).toLocal8Bit());
}
