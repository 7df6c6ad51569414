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

QString OneLineText(const QString &outside, int maxLength)
{
    QString shown = outside;
    for (QChar &character : shown) {
        if (character.category() == QChar::Other_Control) {
            character = QLatin1Char(' ');
        }
    }
    if (shown.size() <= maxLength || maxLength < 3) {
        return shown;
    }
    const qsizetype head = (maxLength - 1) / 2;
    return shown.left(head) + QChar(0x2026) + shown.right(maxLength - 1 - head);
}
