// Writes the demo Blu-ray folder of DiscWriter::DemoDisc(), for trying the player and the
// engine by hand and for tests that want a whole disc.
//
//   make-bluray-folder OUTPUT              writes OUTPUT/BDMV/...
//   make-bluray-folder --episodes OUTPUT   the episodic demo disc (EpisodesDemoDisc) instead
#include "DiscWriter.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    const bool episodes = arguments.size() == 3 && arguments.at(1) == QLatin1String("--episodes");
    if (episodes) {
        arguments.removeAt(1);
    }
    // An option is never taken for the folder to write.
    if (arguments.size() != 2 || arguments.at(1).startsWith(QLatin1Char('-'))) {
        const bool asked = arguments.size() == 2 && (arguments.at(1) == QLatin1String("--help") ||
                                                     arguments.at(1) == QLatin1String("-h"));
        std::fprintf(asked ? stdout : stderr, "usage: make-bluray-folder [--episodes] OUTPUT\n");
        return asked ? 0 : 2;
    }
    QString error;
    if (!DiscWriter::Write(episodes ? DiscWriter::EpisodesDemoDisc() : DiscWriter::DemoDisc(),
                           arguments.at(1), &error)) {
        std::fprintf(stderr, "make-bluray-folder: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
