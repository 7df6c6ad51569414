// How a Blu-ray folder becomes the title list: which playlists are titles, their numbers,
// lengths and order, what each carries, and the disc's name and thumbnail.
#include "common/TestMain.h"

#include "PlaylistWriter.h"
#include "disc/PlaylistCopies.h"
#include "disc/PlaylistReadAhead.h"
#include "disc/TitleScan.h"

#include <QBuffer>
#include <QDir>

#include <QFile>
#include <QImage>
#include <QMap>
#include <QtEndian>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <tuple>

namespace {

using PlaylistWriter::PlayItem;
using PlaylistWriter::Playlist;
using PlaylistWriter::Stream;

constexpr quint32 kTicksPerSecond = 45000;
// The longest piece one play item is made of here; its out time still fits in 32 bits.
constexpr qint64 kLongestItemSeconds = 90000;

// A disc folder, "DISC", inside a temporary folder, with an empty BDMV/PLAYLIST folder.
class Disc
{
public:
    Disc() : m_root(m_temporary.path() + QStringLiteral("/DISC"))
    {
        QDir().mkpath(PlaylistFolder());
    }

    QString Path() const { return m_root; }
    QString PlaylistFolder() const { return m_root + QStringLiteral("/BDMV/PLAYLIST"); }

    void Put(const QString &relative, const QByteArray &bytes) const
    {
        const QString path = m_root + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    void PutPlaylist(const QString &name, const QByteArray &bytes) const
    {
        Put(QStringLiteral("BDMV/PLAYLIST/") + name, bytes);
    }

private:
    QTemporaryDir m_temporary;
    QString m_root;
};

// A clip name no other playlist of a test uses, so that playlists made with different ids
// never come out byte-identical and their items never look like a menu loop.
QByteArray Clip(int playlistId, int item)
{
    return QByteArray::number(playlistId * 100 + item).rightJustified(5, '0');
}

// A playlist of items of the given lengths in milliseconds, and of as many items of length 0
// after them as the count can say.
QByteArray Movie(int id, const QVector<qint64> &itemMs, bool zeroLengthItems = false)
{
    Playlist playlist;
    playlist.zeroLengthItems = zeroLengthItems ? 0x7FFF - int(itemMs.size()) : 0;
    for (int i = 0; i < itemMs.size(); ++i) {
        playlist.items.append(PlaylistWriter::SimpleItem(Clip(id, i), itemMs[i]));
    }
    return PlaylistWriter::Write(playlist);
}

// A playlist of the given whole length, in as many items as it takes.
QByteArray MovieOfSeconds(int id, qint64 seconds)
{
    QVector<qint64> itemMs;
    for (qint64 left = seconds; left > 0; left -= kLongestItemSeconds) {
        itemMs.append(std::min(left, kLongestItemSeconds) * 1000);
    }
    return Movie(id, itemMs);
}

// A menu loop: its second and third items play the same clip.
QByteArray LoopMenu(int id)
{
    Playlist playlist;
    playlist.items = {PlaylistWriter::SimpleItem(Clip(id, 0), 20000),
                      PlaylistWriter::SimpleItem(Clip(id, 1), 20000),
                      PlaylistWriter::SimpleItem(Clip(id, 1), 20000)};
    playlist.marks = {{1, 0, 0}};
    return PlaylistWriter::Write(playlist);
}

// As many items, without streams, as a playlist holds, each with a chapter (999 of each).
QByteArray MostItemsAndMarks(int id)
{
    PlayItem item;
    item.video.clear();
    Playlist playlist{QVector<PlayItem>(MoviePlaylistReader::kMaxPlayItems, item), {}};
    for (int i = 0; i < MoviePlaylistReader::kMaxPlayItems; ++i) {
        playlist.items[i].clip = Clip(id, i);
        playlist.marks.append({1, quint16(i), 0});
    }
    return PlaylistWriter::Write(playlist);
}

// A picture of one colour in a format's bytes, or a small JPEG whose header declares `size`.
QByteArray Picture(const QSize &size, const char *format, bool declaredOnly = false)
{
    QImage image(declaredOnly ? QSize(16, 16) : size, QImage::Format_ARGB32);
    image.fill(format == QByteArray("PNG") ? Qt::transparent : Qt::darkCyan);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    QByteArray bytes = buffer.data();
    if (declaredOnly) { // the frame header: FF C0, length, precision, height, width
        qToBigEndian(quint16(size.height()), bytes.data() + bytes.indexOf("\xFF\xC0") + 5);
        qToBigEndian(quint16(size.width()), bytes.data() + bytes.indexOf("\xFF\xC0") + 7);
    }
    return bytes;
}

QString NameOf(const ScannedTitle &title)
{
    return QFileInfo(title.key).fileName();
}

// "file name: number" for the titles found, by file name.
QStringList NumbersByName(const DiscScan &scan)
{
    QMap<QString, int> numbers;
    for (const ScannedTitle &title : scan.titles) {
        numbers.insert(NameOf(title), title.number);
    }
    QStringList lines;
    for (auto it = numbers.cbegin(); it != numbers.cend(); ++it) {
        lines << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
    }
    return lines;
}

QVector<int> NumbersInOrder(const DiscScan &scan)
{
    QVector<int> numbers;
    for (const ScannedTitle &title : scan.titles) {
        numbers.append(title.number);
    }
    return numbers;
}

QStringList Describe(const QVector<PlayItemRecord> &items)
{
    QStringList lines;
    for (const PlayItemRecord &item : items) {
        lines << QStringLiteral("%1 in %2 start %3 length %4")
                     .arg(item.clipName)
                     .arg(item.inMs)
                     .arg(item.startMs)
                     .arg(item.durationMs);
    }
    return lines;
}

QStringList Describe(const QVector<StreamRecord> &streams)
{
    QStringList lines;
    for (const StreamRecord &stream : streams) {
        lines << QStringLiteral("0x%1 %2").arg(stream.pid, 0, 16).arg(stream.text);
    }
    return lines;
}

QVector<PlayItemRecord> ItemsOfLengths(const QVector<qint64> &lengthsMs)
{
    QVector<PlayItemRecord> items;
    for (const qint64 length : lengthsMs) {
        PlayItemRecord item;
        item.durationMs = length;
        items.append(item);
    }
    return items;
}

} // namespace

class TitleScanTest : public QObject
{
    Q_OBJECT

private slots:
    void pipesAndDevicesOnTheDiscAreNotWaitedFor()
    {
        // Opening a pipe for reading waits for a writer; a scan must pass it by.
        Disc disc;
        disc.PutPlaylist(QStringLiteral("00001.mpls"), Movie(1, {60000}));
        const QByteArray pipe = QFile::encodeName(disc.PlaylistFolder() + "/00002.mpls");
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
        const QByteArray metadata = QFile::encodeName(disc.Path() + "/BDMV/META/DL/bdmt_eng.xml");
        QVERIFY(QDir().mkpath(disc.Path() + "/BDMV/META/DL"));
        QCOMPARE(::mkfifo(metadata.constData(), 0600), 0);
        const DiscScan scan = ScanBluRayFolder(disc.Path());
        QCOMPARE(scan.titles.size(), 1);
        QVERIFY(scan.metadata.name.isEmpty());
    }

    void titleLengthCutsEachItemToWholeSeconds_data()
    {
        QTest::addColumn<QVector<qint64>>("lengthsMs");
        QTest::addColumn<qint64>("seconds");

        QTest::newRow("no items") << QVector<qint64>{} << qint64(0);
        QTest::newRow("whole seconds add up") << QVector<qint64>{60000, 3000} << qint64(63);
        QTest::newRow("three items of 1.9 s") << QVector<qint64>{1900, 1900, 1900} << qint64(3);
        QTest::newRow("fractions never carry over") << QVector<qint64>{999, 999, 999} << qint64(0);
        QTest::newRow("just under a minute and a little")
            << QVector<qint64>{59999, 1} << qint64(59);
        QTest::newRow("out before in subtracts") << QVector<qint64>{-2000, 5000} << qint64(3);
        QTest::newRow("negative part second cut toward zero")
            << QVector<qint64>{-1500, 3000} << qint64(2);
        QTest::newRow("all negative") << QVector<qint64>{-3000, -4000} << qint64(-7);
        // 25 000 items of 25 hours: a sum past what 32 bits hold.
        QTest::newRow("sum past 32 bits") << QVector<qint64>(25000, kLongestItemSeconds * 1000)
                                          << qint64(25000) * kLongestItemSeconds;
    }

    void titleLengthCutsEachItemToWholeSeconds()
    {
        QFETCH(QVector<qint64>, lengthsMs);
        QFETCH(qint64, seconds);
        QCOMPARE(TitleDurationSeconds(ItemsOfLengths(lengthsMs)), seconds);
    }

    void discNameAndThumbnailComeFromEnglishMetadata_data()
    {
        QTest::addColumn<QString>("fileName"); // empty: no metadata file
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("thumbnail");
        QTest::addColumn<QByteArray>("picture"); // the thumbnail file's bytes
        QTest::addColumn<QSize>("shown");        // the picture decoded; invalid: none

        const QByteArray jpeg = Picture(QSize(416, 240), "JPG");
        const QString english = QStringLiteral("bdmt_eng.xml");
        QTest::newRow("english file")
            << english << QByteArray("My Film") << QByteArray("thumb.jpg") << jpeg << QSize(416, 240);
        QTest::newRow("no file") << QString() << QByteArray() << QByteArray() << jpeg << QSize();
        QTest::newRow("other language only")
            << QStringLiteral("bdmt_fra.xml") << QByteArray() << QByteArray() << jpeg << QSize();
        // Decoded by the scan: JPEG or PNG, at most 4096 pixels a side, scaled into 640x480.
        for (const auto &[name, picture, shown] : {
                 std::tuple("5700x5700 declared in a few bytes", Picture({5700, 5700}, "JPG", true),
                            QSize()),
                 std::tuple("1280x720 scaled into the box", Picture({1280, 720}, "JPG"),
                            QSize(640, 360)),
                 std::tuple("4096 wide, the widest", Picture({4096, 16}, "JPG"), QSize(640, 2)),
                 std::tuple("4097 wide", Picture({4097, 16}, "JPG"), QSize()),
                 std::tuple("4097 tall", Picture({16, 4097}, "JPG"), QSize()),
                 std::tuple("a transparent PNG", Picture({200, 100}, "PNG"), QSize(200, 100)),
                 std::tuple("a BMP", Picture({200, 100}, "BMP"), QSize())}) {
            QTest::newRow(name) << english << QByteArray("My Film") << QByteArray("thumb.jpg")
                                << picture << shown;
        }
    }

    void discNameAndThumbnailComeFromEnglishMetadata()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, thumbnail);
        QFETCH(QByteArray, picture);
        QFETCH(QSize, shown);
        Disc disc;
        if (!fileName.isEmpty()) {
            disc.Put(QStringLiteral("BDMV/META/DL/") + fileName,
                     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<disclib xmlns=\"urn:BDA:bdmv;disclib\""
                     " xmlns:di=\"urn:BDA:bdmv;discinfo\">\n"
                     "  <di:discinfo>\n"
                     "    <di:title>\n"
                     "      <di:name>My Film</di:name>\n"
                     "    </di:title>\n"
                     "    <di:description>\n"
                     "      <di:thumbnail href=\"thumb.jpg\" />\n"
                     "    </di:description>\n"
                     "  </di:discinfo>\n"
                     "</disclib>\n");
        }
        disc.Put(QStringLiteral("BDMV/META/DL/thumb.jpg"), picture);
        disc.PutPlaylist(QStringLiteral("00000.mpls"), Movie(1, {60000}));

        const DiscScan scan = ScanBluRayFolder(disc.Path());
        QCOMPARE(scan.metadata.name, name);
        QCOMPARE(scan.metadata.thumbnail, thumbnail);
        QCOMPARE(scan.thumbnail.isNull() ? QSize() : scan.thumbnail.size(), shown);
        // In a form the window's pixmaps take as it is.
        QVERIFY(scan.thumbnail.isNull() || scan.thumbnail.format() == QImage::Format_RGB32 ||
                scan.thumbnail.format() == QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(scan.titles.size(), 1);
    }

    void noPlaylistsGiveNoTitles_data()
    {
        QTest::addColumn<QString>("layout");

        QTest::newRow("no PLAYLIST folder") << QStringLiteral("no PLAYLIST");
        QTest::newRow("PLAYLIST is a file") << QStringLiteral("PLAYLIST file");
        QTest::newRow("empty PLAYLIST folder") << QStringLiteral("empty");
        QTest::newRow("no disc folder") << QStringLiteral("no disc");
    }

    void noPlaylistsGiveNoTitles()
    {
        QFETCH(QString, layout);
        Disc disc;
        // Playlists elsewhere in BDMV are not looked at.
        disc.Put(QStringLiteral("BDMV/00000.mpls"), Movie(1, {60000}));
        disc.Put(QStringLiteral("BDMV/BACKUP/PLAYLIST/00000.mpls"), Movie(1, {60000}));
        QString folder = disc.Path();
        if (layout == QLatin1String("no PLAYLIST")) {
            QVERIFY(QDir(disc.PlaylistFolder()).removeRecursively());
        } else if (layout == QLatin1String("PLAYLIST file")) {
            QVERIFY(QDir(disc.PlaylistFolder()).removeRecursively());
            disc.Put(QStringLiteral("BDMV/PLAYLIST"), Movie(2, {60000}));
        } else if (layout == QLatin1String("no disc")) {
            folder += QStringLiteral("/missing");
        }
        const DiscScan scan = ScanBluRayFolder(folder);
        QVERIFY(scan.titles.isEmpty());
        QVERIFY(scan.metadata.name.isEmpty());
    }

    // Between two titles lies one entry that is no title: the second title must still get
    // number 2.
    void entriesWithoutPlayItemsAreSkippedWithoutANumber_data()
    {
        QTest::addColumn<QString>("kind");

        QTest::newRow("not a movie playlist") << QStringLiteral("text");
        QTest::newRow("empty file") << QStringLiteral("empty");
        QTest::newRow("unreadable (dangling link)") << QStringLiteral("dangling link");
        QTest::newRow("menu loop") << QStringLiteral("loop");
        QTest::newRow("zero play items") << QStringLiteral("zero items");
        QTest::newRow("too many video streams") << QStringLiteral("four videos");
        QTest::newRow("cut short") << QStringLiteral("truncated");
        QTest::newRow("zero-length items after three real ones") << QStringLiteral("zero length");
        QTest::newRow("sub-folder holding a playlist") << QStringLiteral("folder");
        // Hostile entries, which must neither hold the scan up nor be read whole.
        QTest::newRow("8 GiB sparse file") << QStringLiteral("sparse");
        QTest::newRow("link to a pipe") << QStringLiteral("link to pipe");
        QTest::newRow("link to /proc/kmsg") << QStringLiteral("link to kmsg");
    }

    void entriesWithoutPlayItemsAreSkippedWithoutANumber()
    {
        QFETCH(QString, kind);
        Disc disc;
        disc.PutPlaylist(QStringLiteral("00000.mpls"), Movie(1, {60000}));
        const QString middle = QStringLiteral("00001.mpls");
        if (kind == QLatin1String("text")) {
            disc.PutPlaylist(middle, "MOBJ0200 not a playlist at all\n");
        } else if (kind == QLatin1String("empty")) {
            disc.PutPlaylist(middle, QByteArray());
        } else if (kind == QLatin1String("dangling link")) {
            QVERIFY(QFile::link(disc.PlaylistFolder() + QStringLiteral("/gone.mpls"),
                                disc.PlaylistFolder() + QLatin1Char('/') + middle));
        } else if (kind == QLatin1String("loop")) {
            disc.PutPlaylist(middle, LoopMenu(2));
        } else if (kind == QLatin1String("zero items")) {
            disc.PutPlaylist(middle, PlaylistWriter::Write(Playlist{}));
        } else if (kind == QLatin1String("four videos")) {
            Playlist playlist;
            playlist.items = {PlaylistWriter::SimpleItem(Clip(2, 0), 60000)};
            playlist.items[0].videoCountOverride = 4;
            disc.PutPlaylist(middle, PlaylistWriter::Write(playlist));
        } else if (kind == QLatin1String("zero length")) {
            disc.PutPlaylist(middle, Movie(2, {60000, 60000, 60000}, true));
        } else if (kind == QLatin1String("truncated")) {
            disc.PutPlaylist(middle, Movie(2, {60000, 60000}).chopped(20));
        } else if (kind == QLatin1String("folder")) {
            disc.PutPlaylist(middle + QStringLiteral("/00000.mpls"), Movie(2, {60000}));
        } else if (kind == QLatin1String("sparse")) {
            // A playlist at its start, and a size whose low 32 bits are the playlist's own.
            const QByteArray playlist = Movie(2, {60000});
            disc.PutPlaylist(middle, playlist);
            QVERIFY(QFile::resize(disc.PlaylistFolder() + QLatin1Char('/') + middle,
                                  (qint64(8) << 30) + playlist.size()));
        } else if (kind == QLatin1String("link to pipe")) {
            const QString pipe = disc.Path() + QStringLiteral("/pipe");
            QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
            QVERIFY(QFile::link(pipe, disc.PlaylistFolder() + QLatin1Char('/') + middle));
        } else if (kind == QLatin1String("link to kmsg")) {
            QVERIFY(QFile::link(QStringLiteral("/proc/kmsg"),
                                disc.PlaylistFolder() + QLatin1Char('/') + middle));
        }
        disc.PutPlaylist(QStringLiteral("00002.mpls"), Movie(3, {30000}));

        const DiscScan scan = ScanBluRayFolder(disc.Path());
        const QStringList expected{"00000.mpls: 1", "00002.mpls: 2"};
        QCOMPARE(NumbersByName(scan), expected);
    }

    // Discs made to fill memory keep no more than the disc's budget of play items, chapters and
    // streams, which the titles in listing order fill.
    void keptRecordsStayWithinTheDiscBudget_data()
    {
        QTest::addColumn<bool>("most"); // else three items and 32,764 of length 0
        QTest::addColumn<int>("playlists");
        QTest::addColumn<int>("titles");
        QTest::newRow("ten playlists of zero-length items, once 1.3 times the budget")
            << false << 10 << 0;
        QTest::newRow("playlists of 999 items and marks past the budget")
            << true << 130 << int(kMaxDiscRecords / (2 * 999));
    }

    void keptRecordsStayWithinTheDiscBudget()
    {
        QFETCH(bool, most);
        QFETCH(int, playlists);
        QFETCH(int, titles);
        Disc disc;
        for (int i = 1; i <= playlists; ++i) {
            disc.PutPlaylist(QString::number(i), most ? MostItemsAndMarks(i)
                                                      : Movie(i, {60000, 60000, 60000}, true));
        }
        const DiscScan scan = ScanBluRayFolder(disc.Path());
        qsizetype kept = 0;
        for (const ScannedTitle &title : scan.titles) {
            kept += title.contents.playItems.size() + title.contents.chapters.size() +
                    title.contents.audio.size() + title.contents.subtitles.size();
        }
        QVERIFY2(kept <= kMaxDiscRecords, qPrintable(QString::number(kept)));
        QCOMPARE(scan.titles.size(), titles);
    }

    void everyFileIsACandidateInNameOrder()
    {
        Disc disc;
        // Name order, not number order: "10" sorts before "9". The extension does not matter.
        disc.PutPlaylist(QStringLiteral("9.mpls"), Movie(1, {60000}));
        disc.PutPlaylist(QStringLiteral("10.mpls"), Movie(2, {60000}));
        disc.PutPlaylist(QStringLiteral("playlist.bak"), Movie(3, {60000}));
        disc.PutPlaylist(QStringLiteral("extensionless"), Movie(4, {60000}));

        const DiscScan scan = ScanBluRayFolder(disc.Path());
        const QStringList expected{"10.mpls: 1", "9.mpls: 2", "extensionless: 3",
                                   "playlist.bak: 4"};
        QCOMPARE(NumbersByName(scan), expected);
        for (const ScannedTitle &title : scan.titles) {
            QCOMPARE(title.key, disc.PlaylistFolder() + QLatin1Char('/') + NameOf(title));
        }
    }

    // Files in listing order, each a playlist id; equal ids are byte-identical files. The
    // expected numbers are per file, 0 for no title.
    void byteIdenticalCopiesUseUpANumber_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QVector<int>>("numbers");

        QTest::newRow("copy between two titles")
            << QStringList{"A", "A", "B"} << QVector<int>{1, 0, 3};
        QTest::newRow("copies of a copy")
            << QStringList{"A", "A", "A", "B"} << QVector<int>{1, 0, 0, 4};
        QTest::newRow("copy of an earlier title after another")
            << QStringList{"A", "B", "A", "C"} << QVector<int>{1, 2, 0, 4};
        QTest::newRow("copy of the first of two of one size")
            << QStringList{"B", "C", "B"} << QVector<int>{1, 2, 0};
        QTest::newRow("copy of the last title")
            << QStringList{"A", "B", "B"} << QVector<int>{1, 2, 0};
        QTest::newRow("copies of a menu loop use no number")
            << QStringList{"L", "L", "A"} << QVector<int>{0, 0, 1};
        QTest::newRow("same items with other chapters is no copy")
            << QStringList{"A", "A+mark"} << QVector<int>{1, 2};
    }

    void byteIdenticalCopiesUseUpANumber()
    {
        QFETCH(QStringList, files);
        QFETCH(QVector<int>, numbers);
        const QMap<QString, QByteArray> contents{
            {QStringLiteral("A"), Movie(1, {60000, 30000})},
            {QStringLiteral("B"), Movie(2, {45000})},
            {QStringLiteral("C"), Movie(3, {15000})},
            {QStringLiteral("L"), LoopMenu(4)},
        };
        Playlist marked;
        marked.items = {PlaylistWriter::SimpleItem(Clip(1, 0), 60000),
                        PlaylistWriter::SimpleItem(Clip(1, 1), 30000)};
        marked.marks = {{1, 1, 0}};
        Disc disc;
        QStringList expected;
        for (int i = 0; i < files.size(); ++i) {
            const QString name = QStringLiteral("%1.mpls").arg(i, 5, 10, QLatin1Char('0'));
            disc.PutPlaylist(name, files[i] == QLatin1String("A+mark")
                                       ? PlaylistWriter::Write(marked)
                                       : contents.value(files[i]));
            if (numbers[i] != 0) {
                expected << QStringLiteral("%1: %2").arg(name).arg(numbers[i]);
            }
        }
        QVERIFY(contents.value("A") != PlaylistWriter::Write(marked));
        QCOMPARE(contents.value("B").size(), contents.value("C").size());

        QCOMPARE(NumbersByName(ScanBluRayFolder(disc.Path())), expected);
    }

    // However little of the playlists may be held as they are, copies are still found.
    void copiesFoundWhateverIsHeld_data()
    {
        QTest::addColumn<qsizetype>("heldBytes");
        QTest::newRow("nothing held") << qsizetype(0);
        QTest::newRow("one playlist held") << Movie(1, {60000, 1}).size();
        QTest::newRow("plenty held") << PlaylistCopies::kHeldBytesLimit;
    }

    void copiesFoundWhateverIsHeld()
    {
        QFETCH(qsizetype, heldBytes);
        PlaylistCopies copies(heldBytes);
        QVector<qsizetype> found; // the index of each one's original, -1 for none
        qsizetype index = 0;
        for (const QByteArray &bytes :
             {Movie(1, {60000, 1}), Movie(2, {45000}), Movie(3, {15000}), Movie(2, {45000}),
              Movie(1, {60000, 1}), Movie(3, {15000})}) {
            found << copies.FirstSeenAt(bytes, index++).value_or(-1);
        }
        QCOMPARE(found, (QVector<qsizetype>{-1, -1, -1, 1, 0, 2}));
    }

    // Items as (in, out) pairs in milliseconds.
    void titleLengthAndItsText_data()
    {
        QTest::addColumn<QVector<QPair<qint64, qint64>>>("items");
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");

        QTest::newRow("three items of 1.9 s")
            << QVector<QPair<qint64, qint64>>{{0, 1900}, {0, 1900}, {0, 1900}} << qint64(3)
            << QStringLiteral("00:00:03");
        QTest::newRow("in time is taken off") << QVector<QPair<qint64, qint64>>{{600000, 4261000}}
                                              << qint64(3661) << QStringLiteral("01:01:01");
        QTest::newRow("two and a half hours in two items")
            << QVector<QPair<qint64, qint64>>{{0, 5400000}, {0, 3600000}} << qint64(9000)
            << QStringLiteral("02:30:00");
    }

    void titleLengthAndItsText()
    {
        using Items = QVector<QPair<qint64, qint64>>;
        QFETCH(Items, items);
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        Playlist playlist;
        for (int i = 0; i < items.size(); ++i) {
            PlayItem item = PlaylistWriter::SimpleItem(Clip(1, i), 0);
            item.inTime = quint32(items[i].first * 45);
            item.outTime = quint32(items[i].second * 45);
            playlist.items.append(item);
        }
        Disc disc;
        disc.PutPlaylist(QStringLiteral("00000.mpls"), PlaylistWriter::Write(playlist));

        const DiscScan scan = ScanBluRayFolder(disc.Path());
        QCOMPARE(scan.titles.size(), 1);
        QCOMPARE(scan.titles[0].durationSec, seconds);
        QCOMPARE(scan.titles[0].durationText, text);
    }

    // One playlist per length in seconds, in listing order (numbers 1, 2, ...); the numbers in
    // the order the titles come out.
    void titlesComeLongestFirst_data()
    {
        QTest::addColumn<QVector<qint64>>("seconds");
        QTest::addColumn<QVector<int>>("order");

        QTest::newRow("longest first") << QVector<qint64>{60, 3600, 600} << QVector<int>{2, 3, 1};
        QTest::newRow("equal lengths keep listing order")
            << QVector<qint64>{60, 120, 60, 120, 60} << QVector<int>{2, 4, 1, 3, 5};
        QTest::newRow("a second decides") << QVector<qint64>{5399, 5400} << QVector<int>{2, 1};
        QTest::newRow("100 hours above 99:59:59")
            << QVector<qint64>{359999, 360000} << QVector<int>{2, 1};
        QTest::newRow("100 hours listed first stays first")
            << QVector<qint64>{360000, 359999} << QVector<int>{1, 2};
        QTest::newRow("past 100 hours above 10 hours")
            << QVector<qint64>{36000, 360001, 7200} << QVector<int>{2, 1, 3};
        QTest::newRow("minutes above seconds") << QVector<qint64>{9, 60} << QVector<int>{2, 1};
        // Enough titles that a sort which is not stable would shuffle equal lengths.
        QVector<qint64> alternating;
        QVector<int> longerThenShorter;
        for (int i = 0; i < 40; ++i) {
            alternating.append(i % 2 == 0 ? 60 : 120);
            longerThenShorter.append(i < 20 ? 2 * i + 2 : 2 * (i - 20) + 1);
        }
        QTest::newRow("many equal lengths keep listing order") << alternating << longerThenShorter;
    }

    void titlesComeLongestFirst()
    {
        QFETCH(QVector<qint64>, seconds);
        QFETCH(QVector<int>, order);
        Disc disc;
        for (int i = 0; i < seconds.size(); ++i) {
            disc.PutPlaylist(QStringLiteral("%1.mpls").arg(i, 5, 10, QLatin1Char('0')),
                             MovieOfSeconds(i + 1, seconds[i]));
        }
        const DiscScan scan = ScanBluRayFolder(disc.Path());
        QCOMPARE(NumbersInOrder(scan), order);
        for (const ScannedTitle &title : scan.titles) {
            QCOMPARE(title.durationSec, seconds[title.number - 1]);
        }
    }

    void hundredHourTitleReadsAsSuch()
    {
        Disc disc;
        disc.PutPlaylist(QStringLiteral("00000.mpls"), MovieOfSeconds(1, 359999));
        disc.PutPlaylist(QStringLiteral("00001.mpls"), MovieOfSeconds(2, 360000));
        const DiscScan scan = ScanBluRayFolder(disc.Path());
        QCOMPARE(scan.titles.size(), 2);
        QCOMPARE(scan.titles[0].durationText, QStringLiteral("100:00:00"));
        QCOMPARE(scan.titles[1].durationText, QStringLiteral("99:59:59"));
    }

    void titleCarriesItemsStreamsAndChapters()
    {
        // The first item's streams never reach the menus; the last item's do.
        PlayItem first = PlaylistWriter::SimpleItem(Clip(1, 0), 60000);
        first.audio = {Stream{0x81, 1, 0x1105, "spa"}};
        PlayItem second = PlaylistWriter::SimpleItem(Clip(1, 1), 0);
        second.inTime = 10 * kTicksPerSecond;
        second.outTime = 40 * kTicksPerSecond;
        second.audio = {Stream{0x81, 1, 0x1100, "eng"}, Stream{0x82, 1, 0x1101, "fra"}};
        second.subtitles = {Stream{0x90, 1, 0x1200, "eng"}, Stream{0x90, 1, 0x1201, "jpn"}};
        Playlist playlist;
        playlist.items = {first, second};
        playlist.marks = {{1, 0, 0},
                          {1, 1, 15 * kTicksPerSecond},
                          {2, 1, 20 * kTicksPerSecond}}; // a link point, no chapter
        Disc disc;
        disc.PutPlaylist(QStringLiteral("00000.mpls"), PlaylistWriter::Write(playlist));

        const DiscScan scan = ScanBluRayFolder(disc.Path());
        QCOMPARE(scan.titles.size(), 1);
        const PlaylistContents &contents = scan.titles[0].contents;
        QCOMPARE(Describe(contents.playItems),
                 (QStringList{"00100.M2TS in 0 start 0 length 60000",
                              "00101.M2TS in 10000 start 60000 length 30000"}));
        QCOMPARE(Describe(contents.audio),
                 (QStringList{"0x1100 English AC3", "0x1101 French DTS"}));
        QCOMPARE(Describe(contents.subtitles), (QStringList{"0x1200 English", "0x1201 Japanese"}));
        QCOMPARE(contents.chapters, (QVector<qint64>{0, 65000}));
        QCOMPARE(scan.titles[0].durationSec, qint64(90));
    }

    // Each title keeps its own playlist's contents, not a neighbour's, whatever the order.
    void eachTitleCarriesItsOwnPlaylist()
    {
        Disc disc;
        disc.PutPlaylist(QStringLiteral("00000.mpls"), Movie(1, {30000}));
        disc.PutPlaylist(QStringLiteral("00001.mpls"), LoopMenu(2));
        disc.PutPlaylist(QStringLiteral("00002.mpls"), Movie(3, {60000, 60000}));
        disc.PutPlaylist(QStringLiteral("00003.mpls"), Movie(4, {45000}));

        const DiscScan scan = ScanBluRayFolder(disc.Path());
        QStringList seen;
        for (const ScannedTitle &title : scan.titles) {
            seen << NameOf(title) + QLatin1Char(' ') +
                        Describe(title.contents.playItems).join(", ");
        }
        QCOMPARE(seen, (QStringList{"00002.mpls 00300.M2TS in 0 start 0 length 60000, "
                                    "00301.M2TS in 0 start 60000 length 60000",
                                    "00003.mpls 00400.M2TS in 0 start 0 length 45000",
                                    "00000.mpls 00100.M2TS in 0 start 0 length 30000"}));
    }
    // Playlists come over in listing order with their own bytes, a failed read as not read,
    // however far the helper ran ahead of a slow taker; large ones are not read far ahead; once
    // cancelled, nothing more is read.
    void readAheadKeepsOrderBoundsAndStops()
    {
        constexpr qsizetype kCount = 300;
        constexpr qsizetype kFirstLarge = 200;
        std::atomic<qsizetype> furthest{-1};
        std::atomic<bool> cancelled{false};
        PlaylistReadAhead readAhead(
            kCount,
            [&](qsizetype index, QByteArray &bytes) {
                for (qsizetype seen = furthest; index > seen;) {
                    furthest.compare_exchange_weak(seen, index);
                }
                bytes =
                    QByteArray(index < kFirstLarge ? 16 : 1 << 20, 'x') + QByteArray::number(index);
                return index % 7 != 3;
            },
            &cancelled);
        for (qsizetype index = 0; index < kFirstLarge; ++index) {
            // The helper runs as far ahead as it may, at the start and once a slot is free.
            if (index < 2) {
                QTest::qWait(50);
            }
            const LoadedPlaylist playlist = readAhead.Take(index);
            QCOMPARE(playlist.read, index % 7 != 3);
            QVERIFY(!playlist.read || playlist.bytes.endsWith('x' + QByteArray::number(index)));
        }
        QTest::qWait(100);
        const qsizetype furthestWhenCancelled = furthest;
        QVERIFY2(furthestWhenCancelled < kFirstLarge + 32, qPrintable(QString::number(furthest)));
        cancelled = true;
        for (qsizetype index = kFirstLarge; index < kCount; ++index) {
            readAhead.Take(index);
        }
        QCOMPARE(qsizetype(furthest), furthestWhenCancelled);
    }
};

TAVRIX_CORE_TEST_MAIN(TitleScanTest)
#include "TitleScanTest.moc"
