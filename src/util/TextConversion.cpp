#include "util/TextConversion.h"

QString ToWide(const char *narrow)
{
    return narrow == nullptr ? QString() : QString::fromLocal8Bit(narrow);
}

QByteArray ToNarrow(const QString &wide)
{
    return wide.toLocal8Bit();
}

QString MenuEntryText(const QString &outside)
{
    QString shown = outside;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    for (const QChar splitter : {QLatin1Char('\t'), QLatin1Char('\n'), QLatin1Char('\r')}) {
        shown.replace(splitter, QLatin1Char(' '));
    }
    return shown;
}
