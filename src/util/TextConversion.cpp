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
        const QChar::Category category = character.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph) {
            character = QLatin1Char(' ');
        }
    }
    if (shown.size() <= maxLength || maxLength < 3) {
        return shown;
    }
    const qsizetype head = (maxLength - 1) / 2;
    return shown.left(head) + QChar(0x2026) + shown.right(maxLength - 1 - head);
}

QString NameList(const QStringList &names, int shown)
{
    QStringList lines;
    for (const QString &name : names.mid(0, shown)) {
        lines.append(OneLineText(name, kShownNameLength));
    }
    if (names.size() > shown) {
        lines.append(QStringLiteral("\u2026 (+%1)").arg(names.size() - shown));
    }
    return lines.join(QLatin1Char('\n'));
}
