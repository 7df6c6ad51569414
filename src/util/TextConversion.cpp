#include "util/TextConversion.h"

QString ToWide(const char *narrow)
{
    return narrow == nullptr ? QString() : QString::fromLocal8Bit(narrow);
}

QByteArray ToNarrow(const QString &wide)
{
    return wide.toLocal8Bit();
}
