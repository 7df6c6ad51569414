// Times our disc-scan command against libbluray's bd_list_titles on the same Blu-ray folder:
// a disc written for the purpose, its playlist folder filled up to 1000 playlists (distinct
// ones, byte-identical copies and loop menus) over the disc's real clips.
#include "DiscWriter.h"
#include "PlaylistWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPlaylists = 1000;
constexpr int kRuns = 5;

bool WritePlaylist(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The median wall time of running a program over the disc, in milliseconds.
double MedianMs(const QString &program, const QStringList &arguments)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        process.waitForFinished(-1);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString disc = folder.filePath(QStringLiteral("DISC"));
    QString error;
    if (!DiscWriter::Write(DiscWriter::DemoDisc(), disc, &error)) {
        std::fprintf(stderr, "could not write the disc: %s\n", qPrintable(error));
        return 1;
    }
    using namespace PlaylistWriter;
    const QString playlists = disc + QStringLiteral("/BDMV/PLAYLIST/");
    QByteArray previous;
    for (int n = 10; n < 10 + kPlaylists - 5; ++n) {
        Playlist playlist;
        QByteArray bytes;
        if (n % 10 == 0 && !previous.isEmpty()) {
            bytes = previous; // a byte-identical copy
        } else if (n % 10 == 1) {
            playlist.items = {SimpleItem("00003", 1000), SimpleItem("00002", 1000),
                              SimpleItem("00002", 1000)}; // a loop menu
            bytes = Write(playlist);
        } else {
            PlayItem item = SimpleItem(n % 2 ? "00001" : "00002", 1000 + n % 5000);
            playlist.items = {item, SimpleItem("00002", 500 + n % 3000)};
            playlist.marks = {Mark{1, 0, 0}, Mark{1, 1, 0}};
            bytes = Write(playlist);
            previous = bytes;
        }
        WritePlaylist(playlists + QString::asprintf("%05d.mpls", n), bytes);
    }

    const double ours = MedianMs(QStringLiteral(TAVRIX_BIN_DIR "/disc-scan"), {disc});
    const double theirs = MedianMs(QStringLiteral("bd_list_titles"), {disc, QStringLiteral("-a")});
    std::printf("playlists on the disc: %d\n", kPlaylists);
    std::printf("disc-scan: median %.1f ms over %d runs\n", ours, kRuns);
    std::printf("bd_list_titles -a: median %.1f ms over %d runs\n", theirs, kRuns);
    std::printf("ratio disc-scan / bd_list_titles: %.2f\n", ours / theirs);
    return 0;
}
