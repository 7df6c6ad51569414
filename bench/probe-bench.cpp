// Opens N clips in the window at once with the real probe and the engine double: the time from
// the call until the engine starts for 2000 clips against 1 clip (medians), and until every
// duration of 300 clips is known against the floor of running the probe 300 times on the same
// cores with xargs.
#include "common/DruiTestAccess.h"
#include "common/Owners.h"
#include "common/MediaMaker.h"

#include "platform/ExternalPrograms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <time.h>
#include <vector>

namespace {

constexpr qint64 kGiveUpMs = 600000;
constexpr int kStartRuns = 11;

// Runs the event loop until the condition holds; the time taken, or -1 when it never did. It
// sleeps between events, looking at least every few milliseconds: a loop that spun would take
// a core from the probes it times.
qint64 TimeUntil(const QElapsedTimer &clock, const std::function<bool()> &condition)
{
    QTimer look;
    look.start(5);
    while (!condition()) {
        if (clock.elapsed() > kGiveUpMs) {
            return -1;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return clock.elapsed();
}

qint64 Nanoseconds(const statx_timestamp &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// Opens the clips in a window of its own: the time until the engine runs, as the engine itself
// tells by making its log. The window's own loop learns of the start only once it has done
// what came before in its queue, such as showing a long list's rows.
qint64 StartedMs(const QStringList &clips, const QString &log)
{
    QFile::remove(log);
    qputenv("ENGINE_DOUBLE_LOG", QFile::encodeName(log));
    DRUI window;
    window.SetUpWindow();
    QElapsedTimer clock;
    clock.start();
    timespec opened{};
    clock_gettime(CLOCK_REALTIME, &opened);
    Owners::Plays(window).OpenFiles(clips);
    const QByteArray logPath = QFile::encodeName(log);
    struct statx made
    {
    };
    if (TimeUntil(
            clock,
            [&] { return statx(AT_FDCWD, logPath.constData(), 0, STATX_BTIME, &made) == 0; }) < 0 ||
        (made.stx_mask & STATX_BTIME) == 0) {
        return -1;
    }
    return (Nanoseconds(made.stx_btime) - (qint64(opened.tv_sec) * 1000000000 + opened.tv_nsec)) /
           1000000;
}

qint64 Median(std::vector<qint64> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool AllMeasured(DRUI &window)
{
    for (const PLAY_LIST_INFO &entry : Owners::PlayList(window)) {
        if (entry.strDuration.isEmpty()) {
            return false;
        }
    }
    return true;
}

// The probe run N times, as many at once as there are cores, by xargs.
qint64 FloorMs(const QStringList &clips, int cores)
{
    QProcess xargs;
    xargs.start(QStringLiteral("xargs"),
                QStringList{QStringLiteral("-0"), QStringLiteral("-n"), QStringLiteral("1"),
                            QStringLiteral("-P"), QString::number(cores), ProbeProgram()}
                    << ProbeOptions());
    QElapsedTimer clock;
    clock.start();
    for (const QString &clip : clips) {
        xargs.write(QFile::encodeName(clip) + '\0');
    }
    xargs.closeWriteChannel();
    xargs.setStandardOutputFile(QProcess::nullDevice());
    xargs.setStandardErrorFile(QProcess::nullDevice());
    xargs.waitForFinished(kGiveUpMs);
    return clock.elapsed();
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TAVRIX_ENGINE", TAVRIX_BIN_DIR "/engine-double");
    QApplication application(argc, argv);

    // One real clip, copied: every probe reads a real file.
    const QString original = home.filePath(QStringLiteral("original.avi"));
    if (!MediaMaker::MakeClip(original, 3)) {
        std::fprintf(stderr, "could not make the clip\n");
        return 1;
    }
    const int cores = QThread::idealThreadCount();
    std::printf("%d cores; probe: %s\n", cores, qPrintable(ProbeProgram()));
    const auto clipsOf = [&home, &original](int count) {
        QStringList clips;
        for (int i = 0; i < count; ++i) {
            clips << home.filePath(QStringLiteral("n%1-clip%2.avi").arg(count).arg(i));
            if (!QFile::exists(clips.last()) && !QFile::copy(original, clips.last())) {
                return QStringList();
            }
        }
        return clips;
    };
    const QStringList one = clipsOf(1);
    const QStringList many = clipsOf(2000);
    const QStringList measured = clipsOf(300);
    if (one.isEmpty() || many.isEmpty() || measured.isEmpty()) {
        std::fprintf(stderr, "could not copy the clip\n");
        return 1;
    }

    // The median time until the engine starts, for one clip and for many, taken in turns; the
    // first opening, not counted, copies the probe into place and reads its libraries.
    const QString log = home.filePath(QStringLiteral("engine.log"));
    StartedMs(one, log);
    std::vector<qint64> startedOne;
    std::vector<qint64> startedMany;
    for (int run = 0; run < kStartRuns; ++run) {
        startedOne.push_back(StartedMs(one, log));
        startedMany.push_back(StartedMs(many, log));
    }
    qunsetenv("ENGINE_DOUBLE_LOG");
    const qint64 oneMs = Median(startedOne);
    const qint64 manyMs = Median(startedMany);
    std::printf("engine started, 2000 paths: %lld ms   1 path: %lld ms   ratio %.2f (goal <= 150 "
                "ms; medians of %d)\n",
                static_cast<long long>(manyMs), static_cast<long long>(oneMs),
                double(manyMs) / double(oneMs), kStartRuns);
    std::fflush(stdout);

    DRUI window;
    window.SetUpWindow();
    QElapsedTimer clock;
    clock.start();
    Owners::Plays(window).OpenFiles(measured);
    const qint64 known = TimeUntil(clock, [&window] { return AllMeasured(window); });
    window.close();
    const qint64 floor = FloorMs(measured, cores);
    std::printf("all durations known, 300 clips: %lld ms   probe run 300 times by xargs -P %d: "
                "%lld ms   ratio %.2f (goal <= 1.15)\n",
                static_cast<long long>(known), cores, static_cast<long long>(floor),
                double(known) / double(floor));
    return 0;
}
