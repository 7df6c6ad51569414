// Times the scan of a Blu-ray folder into titles over a made-up disc of 1000 playlists, then
// of an image of the same disc (made with genisoimage), and prints the figures, one a line.
// It judges nothing.
#include "PlaylistWriter.h"
#include "disc/TitleScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPlaylists = 1000;
constexpr int kRuns = 7;
constexpr quint32 kTicksPerMs = 45;

using PlaylistWriter::PlayItem;
using PlaylistWriter::Playlist;
using PlaylistWriter::Stream;

QByteArray Clip(int number)
{
    return QByteArray::number(number % 100000).rightJustified(5, '0');
}

// A title as discs have them: several items, the last with a few audio and subtitle streams,
// and a chapter every few minutes.
QByteArray Distinct(int id)
{
    Playlist playlist;
    const int items = 2 + id % 7;
    for (int i = 0; i < items; ++i) {
        PlayItem item = PlaylistWriter::SimpleItem(Clip(id * 10 + i), 0);
        item.inTime = quint32(i * 1000 * kTicksPerMs);
        item.outTime =
            item.inTime + quint32((600000 + (id * 7919 + i * 104729) % 1800000) * kTicksPerMs);
        item.audio = {Stream{0x81, 1, 0x1100, "eng"}, Stream{0x83, 1, 0x1101, "eng"},
                      Stream{0x82, 1, 0x1102, "fra"}, Stream{0x84, 1, 0x1103, "spa"}};
        item.subtitles = {Stream{0x90, 1, 0x1200, "eng"}, Stream{0x90, 1, 0x1201, "fra"},
                          Stream{0x90, 1, 0x1202, "spa"}, Stream{0x90, 1, 0x1203, "jpn"},
                          Stream{0x92, 2, 0x1800, "kor"}};
        playlist.items.append(item);
        for (quint32 at = 0; at < item.outTime - item.inTime; at += 300000 * kTicksPerMs) {
            playlist.marks.append({1, quint16(i), item.inTime + at});
        }
    }
    return PlaylistWriter::Write(playlist);
}

QByteArray LoopMenu(int id)
{
    Playlist playlist;
    for (int i = 0; i < 4; ++i) {
        playlist.items.append(PlaylistWriter::SimpleItem(Clip(id * 10 + std::min(i, 1)), 30000));
    }
    playlist.marks.append({1, 0, 0});
    return PlaylistWriter::Write(playlist);
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The median and the shortest of kRuns runs of a scan, in milliseconds; `titles` gets the
// count of titles it found.
std::pair<double, double> TimeScan(const std::function<DiscScan()> &scan, qsizetype &titles)
{
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        titles = scan().titles.size();
        runs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    return {runs[runs.size() / 2], runs.front()};
}

// The process's peak resident memory in KiB, or -1 when it cannot be read.
long PeakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir temporary;
    const QString disc = temporary.path() + QStringLiteral("/DISC");
    const QString folder = disc + QStringLiteral("/BDMV/PLAYLIST/");
    if (!temporary.isValid() || !QDir().mkpath(folder)) {
        std::fprintf(stderr, "scan-bench: cannot make a temporary disc folder\n");
        return 1;
    }

    // 600 distinct titles, 250 byte-identical copies of them and 150 menu loops, mixed.
    int distinct = 0;
    QVector<QByteArray> written;
    for (int n = 0; n < kPlaylists; ++n) {
        QByteArray bytes;
        if (n % 20 >= 17) {
            bytes = LoopMenu(n);
        } else if (n % 20 >= 12 && !written.isEmpty()) {
            bytes = written[(n * 31) % written.size()];
        } else {
            bytes = Distinct(n);
            written.append(bytes);
            ++distinct;
        }
        if (!WriteFile(folder + QStringLiteral("%1.mpls").arg(n, 5, 10, QLatin1Char('0')), bytes)) {
            std::fprintf(stderr, "scan-bench: cannot write the playlists\n");
            return 1;
        }
    }

    qsizetype titles = 0;
    const auto [median, shortest] = TimeScan([&disc] { return ScanBluRayFolder(disc); }, titles);
    std::printf("scan of %d playlists (%d distinct, %d runs): median %.1f ms\n", kPlaylists,
                distinct, kRuns, median);
    std::printf("scan of %d playlists: min %.1f ms\n", kPlaylists, shortest);
    std::printf("titles found: %lld\n", static_cast<long long>(titles));

    // The same disc as an image, recognised and scanned as the player does it.
    const QString image = temporary.path() + QStringLiteral("/DISC.iso");
    if (!WriteFile(disc + QStringLiteral("/BDMV/index.bdmv"), "INDX0200") ||
        QProcess::execute(QStringLiteral("genisoimage"), {"-quiet", "-udf", "-o", image, disc}) !=
            0) {
        std::printf("image: not made (genisoimage missing?)\n");
    } else {
        qsizetype imageTitles = 0;
        const auto [imageMedian, imageShortest] =
            TimeScan([&image] { return ScanDiscImage(image).scan; }, imageTitles);
        std::printf("image scan of %d playlists: median %.1f ms (%.2f times the folder's)\n",
                    kPlaylists, imageMedian, imageMedian / median);
        std::printf("image scan of %d playlists: min %.1f ms\n", kPlaylists, imageShortest);
        std::printf("titles found in the image: %lld\n", static_cast<long long>(imageTitles));
    }
    const long peak = PeakMemoryKiB();
    if (peak >= 0) {
        std::printf("peak memory: %.1f MiB\n", double(peak) / 1024.0);
    } else {
        std::printf("peak memory: unknown\n");
    }
    return 0;
}
