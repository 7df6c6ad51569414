#include "disc/EngineTitleMap.h"

#include "platform/ChildProcess.h"
#include "platform/ExternalPrograms.h"

#include <QFileInfo>
#include <QRegularExpression>

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

std::map<QString, int> QueryEngineTitleList(const QString &discFolder, int timeLimitMs)
{
    const std::optional<QByteArray> output =
        RunToEnd(EngineProgram(),
                 {QStringLiteral("-identify"), QStringLiteral("-frames"), QStringLiteral("0"),
                  QStringLiteral("-vo"), QStringLiteral("null"), QStringLiteral("-ao"),
                  QStringLiteral("null"), QStringLiteral("br://"), QStringLiteral("-bluray-device"),
                  discFolder},
                 timeLimitMs);
    return output ? ParseEngineTitleList(*output) : std::map<QString, int>();
}

QString PlaylistNumber(const QString &titleKey)
{
    return QFileInfo(titleKey).completeBaseName();
}
