#include "engine/EngineCommandLine.h"

#include "disc/SourceKind.h"
#include "engine/EngineVocabulary.h"

QStringList BuildEngineArguments(const EngineLaunch &launch)
{
    QStringList arguments = {
        QStringLiteral("-demuxer"),
        QStringLiteral("lavf"),
        QStringLiteral("-ni"),
        QStringLiteral("-slave"),
        QStringLiteral("-quiet"),
        // The engine's identify lines tell where a medium's clock starts and, for a DVD, its
        // titles, their lengths and the chapters of the one playing.
        QStringLiteral("-identify"),
        QStringLiteral("-wid"),
        QString::number(launch.windowId),
        // A list the engine works down by itself until one output works on this display.
        QStringLiteral("-vo"),
        QStringLiteral("xv,gl,x11,"),
        // Text subtitles are drawn only by the engine's own subtitle renderer.
        QStringLiteral("-ass"),
        QStringLiteral("-lavdopts"),
        QStringLiteral("threads=4"),
        QStringLiteral("-vf"),
        QString::fromLatin1(Engine::kScreenshotFilter),
        QStringLiteral("-af"),
        // scaletempo keeps the pitch when the speed changes.
        QStringLiteral("channels=6,volume=5.1:1,scaletempo"),
    };
    if (launch.sourceKind == kSourceDvd) {
        const int title = launch.titleChosen && launch.titleNumber ? *launch.titleNumber : 1;
        arguments << QStringLiteral("dvd://%1").arg(title) << QStringLiteral("-dvd-device");
    } else if (launch.sourceKind == kSourceBluRay) {
        if (!launch.titleChosen) {
            arguments << QStringLiteral("br://0") << QStringLiteral("-bluray-device");
        } else if (launch.titleNumber) {
            arguments << QStringLiteral("br://%1").arg(*launch.titleNumber)
                      << QStringLiteral("-bluray-device");
        }
    }
    arguments << launch.path;
    return arguments;
}
