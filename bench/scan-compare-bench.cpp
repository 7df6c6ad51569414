// Times our disc-scan command against libbluray's bd_list_titles on the same Blu-ray folder,
// side by side: a disc written for the purpose with 1000 playlists shaped like those of the
// real discs that carry so many, which hide the feature among decoys stitched from many short
// pieces of the disc's clips: every playlist names only clips the disc has, with their real
// streams, subtitle entries and a chapter per piece; some are byte-identical copies, some loop
// menus, and every one is a title of the disc's index. Then the time from choosing that folder
// in the window to its navigation page being drawn.
#include "DiscWriter.h"
#include "common/DruiTestAccess.h"

#include <QApplication>
#include <QStackedLayout>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPlaylists = 1000;
constexpr int kRuns = 10;

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
    return (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
}

QByteArray PlaylistName(int n)
{
    return QByteArray::number(n).rightJustified(5, '0');
}

// The demo disc, filled up to kPlaylists playlists: every tenth a copy of the title before it,
// every tenth after that a loop menu, the rest titles of 5 to 30 pieces cut from the clips (no
// two alike), with a chapter at each piece and two to four subtitle languages.
DiscWriter::Disc RealWorldDisc()
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
    for (int n = 10; n < 10 + kPlaylists - playlists; ++n) {
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
    const QString disc = folder.filePath(QStringLiteral("DISC"));
    QString error;
    if (!DiscWriter::Write(RealWorldDisc(), disc, &error)) {
        std::fprintf(stderr, "could not write the disc: %s\n", qPrintable(error));
        return 1;
    }

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
    std::printf("playlists on the disc: %d\n", kPlaylists);
    std::printf("disc-scan: median %.1f ms over %d runs\n", ourMedian, kRuns);
    std::printf("bd_list_titles -a: median %.1f ms over %d runs\n", theirMedian, kRuns);
    std::printf("ratio disc-scan / bd_list_titles: %.2f\n", ourMedian / theirMedian);

    // The window: from the chosen folder to the navigation page drawn, the median of kRuns.
    DRUI window;
    window.SetUpWindow();
    window.show();
    std::vector<double> openTimes;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        DruiTestAccess::OpenDiscFolder(window, disc);
        window.repaint();
        QCoreApplication::processEvents();
        openTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (DruiTestAccess::PageStack(window)->currentIndex() != DRUI::kNavigationPage) {
            std::fprintf(stderr, "the navigation page did not show\n");
            return 1;
        }
    }
    std::printf("window: folder chosen to navigation page drawn, median %.1f ms over %d runs\n",
                Median(openTimes), kRuns);
    return 0;
}
