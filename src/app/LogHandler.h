#pragma once

#include <QString>
#include <QtGlobal>

// Appends Qt's debug messages as "Debug: <text>" lines to "Log.txt" in the current directory and
// drops every other level. A "Log.txt" there that is not a regular file of this user's (a link,
// a folder, a stranger's file) is left alone: the line goes to "Log.txt" in the per-user state
// folder instead. A log that cannot be written loses the message quietly.
void LogMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);
