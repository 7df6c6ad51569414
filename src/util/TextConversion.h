#pragma once

#include <QByteArray>
#include <QString>

// Narrow text is in the locale's 8-bit encoding: what the engine prints, what disc structures and
// the recent list hold, and what file names are made of on this system.
QString ToWide(const char *narrow);
QByteArray ToNarrow(const QString &wide);
