// Times our disc-scan command against libbluray's bd_list_titles on the same Blu-ray folder,
// side by side: discs written for the purpose with 1000 and 10,000 playlists shaped like those of
// the real discs that carry so many, which hide the feature among decoys stitched from many short
// pieces of the disc's clips: every playlist names only clips the disc has, with their real
// streams, subtitle entries and a chapter per piece; some are byte-identical copies, some loop
// menus, and every one is a title of the disc's index. Then the time from choosing the smaller
// disc in the window to its navigation page being drawn.
#include "DiscWriter.h"
#include "common/DruiTestAccess.h"
#include "common/Owners.h"

#include <QApplication>
#include <QStackedLayout>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 11;

// The wall time of one run of a program, in milliseconds.
double RunMs(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    return double(timer.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    return times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

QByteArray PlaylistName(int n)
{
    return QByteArray::number(n).rightJustified(5, '0');
}

// The demo disc, filled up to `count` playlists: every tenth a copy of the title before it,
// every tenth after that a loop menu, the rest titles of 5 to 30 pieces cut from the clips (no
// two alike), with a chapter at each piece and two to four subtitle languages.
DiscWriter::Disc RealWorldDisc(int count)
{
    using DiscWriter::Title;
    using DiscWriter::TitleItem;
    DiscWriter::Disc disc = DiscWriter::DemoDisc();
    // Lengths a little under the clips' own (12, 6 and 4 s), so that every cut lies inside.
    const QVector<QPair<QByteArray, qint64>> clips{
        {"00001", 11000}, {"00002", 5000}, {"00003", 3000}};
    const QVector<QByteArray> languages{"eng", "fra", "spa", "jpn"};
    const int playlists = int(disc.titles.size() + disc.copies.size());
    QByteArray previous = "00001";
    for (int n = 10; n < 10 + count - playlists; ++n) {
        if (n % 10 == 0) {
            disc.copies.append({PlaylistName(n), previous});
            continue;
        }
        Title title;
        title.playlist = PlaylistName(n);
        if (n % 10 == 1) {
            title.items = {TitleItem{"00003", 0, 1000, {}}, TitleItem{"00002", 0, 1000, {}},
                           TitleItem{"00002", 1000, 2000, {}}};
            title.chapterMs = {0};
        } else {
            qint64 startMs = 0;
            for (int i = 0; i < 5 + n % 26; ++i) {
                const auto &[clip, lengthMs] = clips[(n + i) % clips.size()];
                const qint64 inMs = (n * 37 + i) % 1000;
                const qint64 outMs = lengthMs - (n * 53) % 1000;
                title.items.append(TitleItem{clip, inMs, outMs, {}});
                title.chapterMs.append(startMs);
                startMs += outMs - inMs;
            }
            title.subtitleLanguages = languages.mid(0, 2 + n % 3);
            previous = title.playlist;
        }
        disc.titles.append(title);
    }
    return disc;
}

} // namespace

int main(int argc, char *argv[])
{
    // The window part draws offscreen unless a display is given.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QTemporaryDir folder;
    QString smallDisc;
    for (const int count : {1000, 10000}) {
        const QString disc = folder.filePath(QStringLiteral("DISC%1").arg(count));
        QString error;
        if (!DiscWriter::Write(RealWorldDisc(count), disc, &error)) {
            std::fprintf(stderr, "could not write the disc: %s\n", qPrintable(error));
            return 1;
        }
        smallDisc = smallDisc.isEmpty() ? disc : smallDisc;

        // Turn about, so that neither program always runs on caches the other has just warmed.
        const QString ours = QStringLiteral(TAVRIX_BIN_DIR "/disc-scan");
        const QString theirs = QStringLiteral("bd_list_titles");
        std::vector<double> ourTimes;
        std::vector<double> theirTimes;
        RunMs(ours, {disc});
        RunMs(theirs, {disc, QStringLiteral("-a")});
        for (int run = 0; run < kRuns; ++run) {
            ourTimes.push_back(RunMs(ours, {disc}));
            theirTimes.push_back(RunMs(theirs, {disc, QStringLiteral("-a")}));
        }
        const double ourMedian = Median(ourTimes);
        const double theirMedian = Median(theirTimes);
        std::printf("disc-scan, %5d playlists: %6.1f ms   bd_list_titles -a: %6.1f ms   ratio "
                    "%.2f (goal <= 0.30; medians of %d)\n",
                    count, ourMedian, theirMedian, ourMedian / theirMedian, kRuns);
        std::fflush(stdout);
    }

    // The window: from the chosen folder to the navigation page drawn, the median of kRuns.
    DRUI window;
    window.SetUpWindow();
    window.show();
    std::vector<double> openTimes;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        Owners::OpenDiscFolder(window, smallDisc);
        window.repaint();
        QCoreApplication::processEvents();
        openTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (DruiTestAccess::PageStack(window)->currentIndex() != DRUI::kNavigationPage) {
            std::fprintf(stderr, "the navigation page did not show\n");
            return 1;
        }
    }
    std::printf("window, 1000 playlists: folder chosen to navigation page drawn, %.1f ms (median "
                "of %d)\n",
                Median(openTimes), kRuns);
    return 0;
}
