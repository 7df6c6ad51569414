#include "disc/EngineTitleMap.h"


#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

std::map<QString, int> ParseEngineTitleList(const QByteArray &identifyOutput)
{
    static const QRegularExpression line(
        QStringLiteral("^ID_BLURAY_TITLE_(\\d{1,9})_PLAYLIST=(\\d+)\\s*$"),
        QRegularExpression::MultilineOption);
    std::map<QString, int> titles;
    auto matches = line.globalMatch(QString::fromLatin1(identifyOutput));
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        // Each playlist once, under the first number the engine gave it.
        titles.emplace(match.captured(2), match.captured(1).toInt());
    }
    return titles;
}

namespace {

bool SameContent(const QVector<PlayItemRecord> &one, const QVector<PlayItemRecord> &other)
{
    return std::equal(one.begin(), one.end(), other.begin(), other.end(),
                      [](const PlayItemRecord &a, const PlayItemRecord &b) {
                          return a.clipName == b.clipName && a.inMs == b.inMs &&
                                 a.durationMs == b.durationMs;
                      });
}

} // namespace

std::optional<int> EngineTitleFor(const QString &playlist,
                                  const std::map<QString, int> &engineTitles,
                                  const std::map<QString, QVector<PlayItemRecord>> &playItems)
{
    if (const auto listed = engineTitles.find(playlist); listed != engineTitles.end()) {
        return listed->second;
    }
    const auto items = playItems.find(playlist);
    if (items == playItems.end() || items->second.isEmpty()) {
        return std::nullopt;
    }
    for (const auto &[other, number] : engineTitles) {
        const auto otherItems = playItems.find(other);
        if (otherItems != playItems.end() && SameContent(items->second, otherItems->second)) {
            return number;
        }
    }
    return std::nullopt;
}

QStringList EngineTitleListArguments(const QString &discFolder)
{
    return {QStringLiteral("-identify"), QStringLiteral("-frames"), QStringLiteral("0"),
            QStringLiteral("-vo"),       QStringLiteral("null"),    QStringLiteral("-ao"),
            QStringLiteral("null"),      QStringLiteral("br://"),   QStringLiteral("-bluray-device"),
            discFolder};
}

QString PlaylistNumber(const QString &titleKey)
{
    return QFileInfo(titleKey).completeBaseName();
}
