#pragma once

#include <QString>
#include <QtGlobal>

// Appends Qt's debug messages as "Debug: <text>" lines to "Log.txt" in the current directory and
// drops every other level. A log that cannot be written loses the message quietly.
void LogMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);
