#include "app/LogHandler.h"

#include <QFile>
#include <QTextStream>

void LogMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg) {
        return;
    }
    QFile log(QStringLiteral("Log.txt"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        return;
    }
    QTextStream stream(&log);
    stream << QStringLiteral("Debug: %1").arg(message) << '\n';
}
