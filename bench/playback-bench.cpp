// Plays a 30-second clip in the window with the real engine and prints what the window's own
// process spent: CPU seconds and peak memory. The engine runs in its own process and is not
// counted. Needs a display (run it under xvfb-run).
#include "common/DruiTestAccess.h"
#include "common/MediaMaker.h"
#include "common/Owners.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <sys/resource.h>

namespace {

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QByteArray PeakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return "unknown";
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed();
        }
    }
    return "unknown";
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    QApplication application(argc, argv);

    const QString clip = home.filePath(QStringLiteral("clip.avi"));
    if (!MediaMaker::MakeClip(clip, 30, QStringLiteral("640x360"))) {
        std::fprintf(stderr, "could not make the clip\n");
        return 1;
    }
    DRUI window;
    window.SetUpWindow();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not show\n");
        return 1;
    }

    const double cpuBefore = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    Owners::OpenFiles(window, {clip});
    while (DruiTestAccess::PageStack(window)->currentIndex() == DRUI::kVideoPage &&
           wall.elapsed() < 60000) {
        QTest::qWait(100);
    }
    const double cpu = CpuSeconds() - cpuBefore;
    std::printf("30 s clip played in %.1f s of wall time\n", wall.elapsed() / 1000.0);
    std::printf("window process CPU: %.2f s (%.1f %% of one core)\n", cpu,
                100.0 * cpu / (wall.elapsed() / 1000.0));
    std::printf("window process peak memory: %s\n", PeakMemory().constData());
    return 0;
}
