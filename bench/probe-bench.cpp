// Measures 20 generated clips with the duration probe, one after the other and side by side,
// and times opening them in the window up to the start of playback (with the engine double,
// so that the engine's own start does not count).
#include "common/DruiTestAccess.h"
#include "common/MediaMaker.h"

#include "disc/DurationProbe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TAVRIX_ENGINE", TAVRIX_BIN_DIR "/engine-double");
    QApplication application(argc, argv);

    constexpr int kClips = 20;
    QStringList clips;
    for (int i = 0; i < kClips; ++i) {
        clips << home.filePath(QStringLiteral("clip%1.avi").arg(i));
        if (!MediaMaker::MakeClip(clips.last(), 2 + i % 5)) {
            std::fprintf(stderr, "could not make the clips\n");
            return 1;
        }
    }
    DRUI window;
    window.SetUpWindow();

    const int cores = QThread::idealThreadCount();
    QElapsedTimer timer;
    timer.start();
    ProbeDurations(clips, 1, kProbeTimeLimitMs);
    const qint64 sequential = timer.restart();
    ProbeDurations(clips, cores, kProbeTimeLimitMs);
    const qint64 sideBySide = timer.restart();
    DruiTestAccess::OpenFiles(window, clips);
    const qint64 toPlayback = timer.elapsed();

    std::printf("probing %d clips one after the other: %lld ms\n", kClips,
                static_cast<long long>(sequential));
    std::printf("probing %d clips side by side (%d at once): %lld ms\n", kClips, cores,
                static_cast<long long>(sideBySide));
    std::printf("opening %d clips in the window, call to start of playback: %lld ms\n", kClips,
                static_cast<long long>(toPlayback));
    return 0;
}
