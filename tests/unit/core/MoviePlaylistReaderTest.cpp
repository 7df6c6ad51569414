// What the movie playlist reader makes of .mpls bytes written by the playlist writer: play item
// times and names, the streams of the last item and their menu texts, chapters from entry
// marks, the loop-menu filter, and the results for files it refuses.
#include "common/PlaylistSentinel.h"
#include "common/TestMain.h"

#include "PlaylistWriter.h"
#include "disc/MoviePlaylistReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <numeric>

using namespace PlaylistWriter;

namespace {

QStringList Items(const PlaylistContents &contents)
{
    QStringList lines;
    for (const PlayItemRecord &item : contents.playItems) {
        lines << QStringLiteral("%1 in %2 start %3 duration %4")
                     .arg(item.clipName)
                     .arg(item.inMs)
                     .arg(item.startMs)
                     .arg(item.durationMs);
    }
    return lines;
}

QStringList Streams(const QVector<StreamRecord> &streams)
{
    QStringList lines;
    for (const StreamRecord &stream : streams) {
        lines << QStringLiteral("%1 %2").arg(stream.pid).arg(stream.text);
    }
    return lines;
}

// Everything the contents hold, one line each, so that a difference shows where it is.
QStringList Describe(const PlaylistContents &contents)
{
    QStringList lines = Items(contents);
    for (const QString &line : Streams(contents.audio)) {
        lines << QStringLiteral("audio ") + line;
    }
    for (const QString &line : Streams(contents.subtitles)) {
        lines << QStringLiteral("subtitle ") + line;
    }
    for (qint64 chapter : contents.chapters) {
        lines << QStringLiteral("chapter %1").arg(chapter);
    }
    return lines;
}

Stream Audio(quint8 coding, const QByteArray &language, quint16 pid = 0x1100)
{
    return Stream{coding, 1, pid, language};
}

Stream Video(quint16 pid = 0x1011)
{
    return Stream{0x1B, 1, pid, {}};
}

// An item with one video stream and nothing else.
PlayItem Item(const QByteArray &clip, quint32 inTicks, quint32 outTicks)
{
    PlayItem item;
    item.clip = clip;
    item.inTime = inTicks;
    item.outTime = outTicks;
    return item;
}

PlayItem ItemWithAudio(const QByteArray &clip, const QVector<Stream> &audio,
                       const QVector<Stream> &subtitles = {})
{
    PlayItem item = Item(clip, 0, 45000);
    item.audio = audio;
    item.subtitles = subtitles;
    return item;
}

QByteArray OneItem(const PlayItem &item)
{
    return Write(Playlist{{item}, {}});
}

// Offsets in a file from the writer, for patching single fields: items follow one another by
// their length fields; a single-angle item's stream table starts 34 bytes in, its entries 16
// bytes after that, and every entry the writer makes takes 16 bytes with its attributes.
qint64 U32At(const QByteArray &data, qint64 at)
{
    return qFromBigEndian<quint32>(data.constData() + at);
}

qint64 ItemAt(const QByteArray &data, int index)
{
    qint64 position = U32At(data, 8) + 10;
    for (int i = 0; i < index; ++i) {
        position += 2 + qFromBigEndian<quint16>(data.constData() + position);
    }
    return position;
}

qint64 StreamTableAt(const QByteArray &data, int item)
{
    return ItemAt(data, item) + 34;
}

qint64 StreamEntryAt(const QByteArray &data, int item, int entry)
{
    return StreamTableAt(data, item) + 16 + 16 * entry;
}

QByteArray Patched8(QByteArray data, qint64 at, quint8 value)
{
    data[at] = char(value);
    return data;
}

QByteArray Patched16(QByteArray data, qint64 at, quint16 value)
{
    qToBigEndian(value, data.data() + at);
    return data;
}

QByteArray Patched32(QByteArray data, qint64 at, quint32 value)
{
    qToBigEndian(value, data.data() + at);
    return data;
}

// Three items whose second and third do not repeat a clip, each with streams, and entry marks.
Playlist RichPlaylist()
{
    PlayItem first = SimpleItem("00010", 10000);
    PlayItem second = SimpleItem("00011", 20000);
    second.subtitles = {Stream{0x90, 1, 0x1200, "fra"}};
    PlayItem third = SimpleItem("00012", 5000);
    third.audio << Audio(0x82, "spa", 0x1101);
    third.subtitles = {Stream{0x90, 1, 0x1200, "eng"}, Stream{0x92, 2, 0x1800, "jpn"}};
    return Playlist{{first, second, third}, {Mark{1, 0, 0}, Mark{1, 1, 45000}, Mark{1, 2, 0}}};
}

// As many items of 1 ms, and entry marks at their starts, as a playlist holds.
Playlist Most()
{
    Playlist most;
    for (int i = 0; i < MoviePlaylistReader::kMaxPlayItems; ++i) {
        most.items << Item(QByteArray::number(i).rightJustified(5, '0'), 0, 45);
        most.marks << Mark{1, quint16(i), 0};
    }
    return most;
}

int ParseInto(const QByteArray &data, PlaylistContents &contents)
{
    return MoviePlaylistReader::Parse(data, contents);
}

} // namespace

class MoviePlaylistReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void refusesWhatDoesNotStartWithMpls_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("result");

        const QByteArray valid = OneItem(SimpleItem("00001", 1000));
        QTest::newRow("empty") << QByteArray() << int(MoviePlaylistReader::kNotMoviePlaylist);
        QTest::newRow("shorter than the magic")
            << QByteArray("MPL") << int(MoviePlaylistReader::kNotMoviePlaylist);
        QTest::newRow("lower case")
            << QByteArray("mpls") + valid.mid(4) << int(MoviePlaylistReader::kNotMoviePlaylist);
        QTest::newRow("other structure")
            << QByteArray("HDMV") + valid.mid(4) << int(MoviePlaylistReader::kNotMoviePlaylist);
        QTest::newRow("magic one byte late")
            << QByteArray(" MPLS") + valid.mid(5) << int(MoviePlaylistReader::kNotMoviePlaylist);
        QTest::newRow("magic alone")
            << QByteArray("MPLS") << int(MoviePlaylistReader::kOutsideData);
        QTest::newRow("header without mark address")
            << valid.left(12) << int(MoviePlaylistReader::kOutsideData);
    }

    void refusesWhatDoesNotStartWithMpls()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, result);
        PlaylistContents contents = Sentinel();
        QCOMPARE(ParseInto(data, contents), result);
        QCOMPARE(Describe(contents), Describe(Sentinel()));
    }

    void versionAfterTheMagicIsNotChecked_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::newRow("0100") << QByteArray("0100");
        QTest::newRow("0300") << QByteArray("0300");
        QTest::newRow("blank") << QByteArray("    ");
    }

    void versionAfterTheMagicIsNotChecked()
    {
        QFETCH(QByteArray, version);
        QByteArray data = OneItem(SimpleItem("00001", 1000));
        data.replace(4, 4, version);
        PlaylistContents contents;
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(Items(contents), QStringList{"00001.M2TS in 0 start 0 duration 1000"});
    }

    void readsPlayItemTimesAndNames_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("items");

        QTest::newRow("one item") << Write({{Item("00001", 0, 45000)}, {}})
                                  << QStringList{"00001.M2TS in 0 start 0 duration 1000"};
        // 44 and 90 ticks are 0 and 2 ms each; their difference of 46 ticks would be 1 ms.
        QTest::newRow("in and out divided before subtracting")
            << Write({{Item("00001", 44, 90)}, {}})
            << QStringList{"00001.M2TS in 0 start 0 duration 2"};
        QTest::newRow("times past 2^31 ticks are unsigned")
            << Write({{Item("00001", 0x80000000u, 0xFFFFFFFFu)}, {}})
            << QStringList{"00001.M2TS in 47721858 start 0 duration 47721859"};
        QTest::newRow("start adds up durations, not out times")
            << Write({{Item("00005", 45000, 495000), Item("00006", 900000, 1012500),
                       Item("00007", 0, 13500)},
                      {}})
            << QStringList{"00005.M2TS in 1000 start 0 duration 10000",
                           "00006.M2TS in 20000 start 10000 duration 2500",
                           "00007.M2TS in 0 start 12500 duration 300"};
        QTest::newRow("out at in lasts nothing")
            << Write({{Item("00001", 90000, 90000), Item("00002", 0, 45000)}, {}})
            << QStringList{"00001.M2TS in 2000 start 0 duration 0",
                           "00002.M2TS in 0 start 0 duration 1000"};

        PlayItem named = Item("98765", 0, 45000);
        named.codec = "FMTS";
        QTest::newRow("clip name and codec as written")
            << Write({{named}, {}}) << QStringList{"98765.FMTS in 0 start 0 duration 1000"};
    }

    void readsPlayItemTimesAndNames()
    {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, items);
        PlaylistContents contents = Sentinel();
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(Items(contents), items);
    }

    void audioTextFollowsCodingType_data()
    {
        QTest::addColumn<int>("coding");
        QTest::addColumn<QStringList>("audio");

        QTest::newRow("0x80 LPCM") << 0x80 << QStringList{"4352 English LPCM"};
        QTest::newRow("0x81 AC3") << 0x81 << QStringList{"4352 English AC3"};
        QTest::newRow("0x82 DTS") << 0x82 << QStringList{"4352 English DTS"};
        QTest::newRow("0x83 TRUEHD") << 0x83 << QStringList{"4352 English TRUEHD"};
        QTest::newRow("0x84 EAC3") << 0x84 << QStringList{"4352 English EAC3"};
        QTest::newRow("0x85 DTS HD") << 0x85 << QStringList{"4352 English DTS HD"};
        QTest::newRow("0x86 DTS HD XLL") << 0x86 << QStringList{"4352 English DTS HD XLL"};
        QTest::newRow("0xA1 secondary EAC3") << 0xA1 << QStringList{"4352 English EAC3"};
        QTest::newRow("0xA2 language alone") << 0xA2 << QStringList{"4352 English"};
        QTest::newRow("0x87 skipped") << 0x87 << QStringList{};
        QTest::newRow("0xA0 skipped") << 0xA0 << QStringList{};
        QTest::newRow("0xA3 skipped") << 0xA3 << QStringList{};
        QTest::newRow("0x1B video skipped") << 0x1B << QStringList{};
    }

    void audioTextFollowsCodingType()
    {
        QFETCH(int, coding);
        QFETCH(QStringList, audio);
        // A French stream follows, so a skipped entry must still be stepped over correctly.
        const QByteArray data = OneItem(
            ItemWithAudio("00001", {Audio(quint8(coding), "eng"), Audio(0x81, "fra", 0x1101)}));
        PlaylistContents contents;
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(Streams(contents.audio), audio + QStringList{"4353 French AC3"});
        QVERIFY(contents.subtitles.isEmpty());
    }

    void languageNames_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QString>("name");

        QTest::newRow("eng") << QByteArray("eng") << "English";
        QTest::newRow("msa") << QByteArray("msa") << "Malay";
        QTest::newRow("zho") << QByteArray("zho") << "Chinese";
        QTest::newRow("spa") << QByteArray("spa") << "Spanish";
        QTest::newRow("fra") << QByteArray("fra") << "French";
        QTest::newRow("hin") << QByteArray("hin") << "Hindi";
        QTest::newRow("jpn") << QByteArray("jpn") << "Japanese";
        QTest::newRow("kor") << QByteArray("kor") << "Korean";
        QTest::newRow("tha") << QByteArray("tha") << "Thai";
        QTest::newRow("por") << QByteArray("por") << "Portugal";
        QTest::newRow("unknown code upper-cased") << QByteArray("deu") << "DEU";
        QTest::newRow("upper-case ENG is no known code") << QByteArray("ENG") << "ENG";
        QTest::newRow("mixed case") << QByteArray("Fra") << "FRA";
    }

    // The language sits at a different place in audio, graphics and text attributes.
    void languageNames()
    {
        QFETCH(QByteArray, code);
        QFETCH(QString, name);

        PlaylistContents graphics;
        QCOMPARE(ParseInto(OneItem(ItemWithAudio("00001", {Audio(0x81, code)},
                                                 {Stream{0x90, 1, 0x1200, code}})),
                           graphics),
                 int(MoviePlaylistReader::kOk));
        QCOMPARE(Streams(graphics.audio), QStringList{"4352 " + name + " AC3"});
        QCOMPARE(Streams(graphics.subtitles), QStringList{"4608 " + name});

        PlaylistContents text;
        QCOMPARE(
            ParseInto(OneItem(ItemWithAudio("00001", {}, {Stream{0x92, 1, 0x1800, code}})), text),
            int(MoviePlaylistReader::kOk));
        QCOMPARE(Streams(text.subtitles), QStringList{"6144 " + name});
    }

    void pidDependsOnStreamType_data()
    {
        QTest::addColumn<int>("streamType");
        QTest::addColumn<int>("pid");

        QTest::newRow("type 1: main clip") << 1 << 0x1234;
        QTest::newRow("type 2: sub-path and sub-clip") << 2 << 0x1234;
        QTest::newRow("type 3: sub-path") << 3 << 0x1234;
        QTest::newRow("type 4: none read") << 4 << 0;
        QTest::newRow("type 0: none read") << 0 << 0;
        QTest::newRow("type 5: none read") << 5 << 0;
    }

    void pidDependsOnStreamType()
    {
        QFETCH(int, streamType);
        QFETCH(int, pid);
        const QByteArray data =
            OneItem(ItemWithAudio("00001", {Stream{0x81, quint8(streamType), 0x1234, "eng"}},
                                  {Stream{0x90, quint8(streamType), 0x1234, "fra"}}));
        PlaylistContents contents;
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(Streams(contents.audio), QStringList{QStringLiteral("%1 English AC3").arg(pid)});
        QCOMPARE(Streams(contents.subtitles), QStringList{QStringLiteral("%1 French").arg(pid)});
    }

    void streamsOfTheLastItem_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("audio");
        QTest::addColumn<QStringList>("subtitles");

        const Stream graphicsEng{0x90, 1, 0x1200, "eng"};
        const Stream graphicsFra{0x90, 1, 0x1201, "fra"};
        const Stream interactiveKor{0x91, 1, 0x1400, "kor"};
        const Stream textJpn{0x92, 1, 0x1800, "jpn"};
        const Stream textTha{0x92, 1, 0x1801, "tha"};

        QTest::newRow("graphics subtitles")
            << OneItem(ItemWithAudio("00001", {}, {graphicsEng, graphicsFra})) << QStringList{}
            << QStringList{"4608 English", "4609 French"};
        QTest::newRow("interactive graphics among subtitles")
            << OneItem(ItemWithAudio("00001", {}, {interactiveKor})) << QStringList{}
            << QStringList{"5120 Korean"};
        QTest::newRow("text subtitles when there are no graphics")
            << OneItem(ItemWithAudio("00001", {}, {textJpn, textTha})) << QStringList{}
            << QStringList{"6144 Japanese", "6145 Thai"};
        QTest::newRow("graphics hide text subtitles")
            << OneItem(ItemWithAudio("00001", {}, {textJpn, graphicsFra, textTha, interactiveKor}))
            << QStringList{} << QStringList{"4609 French", "5120 Korean"};

        PlayItem videos =
            ItemWithAudio("00001", {Audio(0x81, "eng"), Audio(0x80, "jpn", 0x1101)}, {graphicsEng});
        videos.video = {Video(0x1011), Video(0x1012), Video(0x1013)};
        QTest::newRow("three video entries stepped over")
            << OneItem(videos) << QStringList{"4352 English AC3", "4353 Japanese LPCM"}
            << QStringList{"4608 English"};

        // The counts say how many entries to walk; what each is comes from its coding type.
        PlayItem swapped = ItemWithAudio("00001", {graphicsFra}, {Audio(0x84, "spa")});
        QTest::newRow("kind from coding type, not from the count")
            << OneItem(swapped) << QStringList{"4352 Spanish EAC3"} << QStringList{"4609 French"};

        QTest::newRow("earlier item's streams dropped")
            << Write({{ItemWithAudio("00001", {Audio(0x81, "fra")}, {graphicsFra}),
                       ItemWithAudio("00002", {Audio(0x82, "eng")}, {textJpn})},
                      {}})
            << QStringList{"4352 English DTS"} << QStringList{"6144 Japanese"};
        QTest::newRow("last item without streams has none")
            << Write({{ItemWithAudio("00001", {Audio(0x81, "fra")}, {graphicsFra}),
                       Item("00002", 0, 45000)},
                      {}})
            << QStringList{} << QStringList{};
    }

    void streamsOfTheLastItem()
    {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, audio);
        QFETCH(QStringList, subtitles);
        PlaylistContents contents = Sentinel();
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(Streams(contents.audio), audio);
        QCOMPARE(Streams(contents.subtitles), subtitles);
    }

    // Counts are signed: one of 0x80 or more means no entries at all.
    void negativeStreamCountsMeanNone_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("audio");
        QTest::addColumn<QStringList>("subtitles");

        const Stream graphics{0x90, 1, 0x1200, "eng"};
        for (int count : {0x80, 0xFF}) {
            PlayItem noVideo = ItemWithAudio("00001", {Audio(0x81, "eng")}, {graphics});
            noVideo.video.clear();
            noVideo.videoCountOverride = quint8(count);
            QTest::addRow("video count 0x%X", count)
                << OneItem(noVideo) << QStringList{"4352 English AC3"}
                << QStringList{"4608 English"};

            const QByteArray noAudio = OneItem(ItemWithAudio("00001", {}, {graphics}));
            QTest::addRow("audio count 0x%X", count)
                << Patched8(noAudio, StreamTableAt(noAudio, 0) + 5, quint8(count)) << QStringList{}
                << QStringList{"4608 English"};

            const QByteArray noSubtitles = OneItem(ItemWithAudio("00001", {Audio(0x81, "eng")}));
            QTest::addRow("subtitle count 0x%X", count)
                << Patched8(noSubtitles, StreamTableAt(noSubtitles, 0) + 6, quint8(count))
                << QStringList{"4352 English AC3"} << QStringList{};
        }
    }

    void negativeStreamCountsMeanNone()
    {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, audio);
        QFETCH(QStringList, subtitles);
        PlaylistContents contents;
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(Streams(contents.audio), audio);
        QCOMPARE(Streams(contents.subtitles), subtitles);
    }

    void moreThanThreeVideoStreams_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("contents"); // as described; the sentinel when refused

        auto withVideos = [](const QByteArray &clip, int count) {
            PlayItem item = ItemWithAudio(clip, {Audio(0x81, "eng")});
            item.video.clear();
            for (int i = 0; i < count; ++i) {
                item.video << Video(quint16(0x1011 + i));
            }
            return item;
        };
        const QStringList sentinel = Describe(Sentinel());

        QTest::newRow("three in the last item")
            << OneItem(withVideos("00001", 3)) << int(MoviePlaylistReader::kOk)
            << QStringList{"00001.M2TS in 0 start 0 duration 1000", "audio 4352 English AC3"};
        QTest::newRow("four in the last item")
            << OneItem(withVideos("00001", 4)) << int(MoviePlaylistReader::kTooManyVideoStreams)
            << sentinel;
        QTest::newRow("four in the last of two items")
            << Write({{withVideos("00001", 1), withVideos("00002", 4)}, {Mark{1, 0, 0}}})
            << int(MoviePlaylistReader::kTooManyVideoStreams) << sentinel;

        // The count alone decides; the entries it would walk need not be there.
        PlayItem overCounted = withVideos("00001", 1);
        overCounted.videoCountOverride = 0x7F;
        QTest::newRow("127 counted, one written")
            << OneItem(overCounted) << int(MoviePlaylistReader::kTooManyVideoStreams) << sentinel;

        QTest::newRow("four in an earlier item: parsing goes on")
            << Write({{withVideos("00001", 4), withVideos("00002", 1)}, {Mark{1, 1, 0}}})
            << int(MoviePlaylistReader::kOk)
            << QStringList{"00001.M2TS in 0 start 0 duration 1000",
                           "00002.M2TS in 0 start 1000 duration 1000", "audio 4352 English AC3",
                           "chapter 1000"};
    }

    void moreThanThreeVideoStreams()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, result);
        QFETCH(QStringList, contents);
        PlaylistContents read = Sentinel();
        QCOMPARE(ParseInto(data, read), result);
        QCOMPARE(Describe(read), contents);
    }

    void streamTableAfterAngles_data()
    {
        QTest::addColumn<int>("angles");
        QTest::addColumn<int>("angleClips");

        // Zero and one angle both put the table right after the angle count and flags.
        QTest::newRow("angle count 0") << 0 << 0;
        QTest::newRow("angle count 1") << 1 << 0;
        QTest::newRow("angle count 3") << 3 << 2;
        QTest::newRow("angle count 9") << 9 << 8;
    }

    void streamTableAfterAngles()
    {
        QFETCH(int, angles);
        QFETCH(int, angleClips);
        PlayItem multiAngle =
            ItemWithAudio("00001", {Audio(0x81, "eng")}, {Stream{0x90, 1, 0x1200, "hin"}});
        multiAngle.angleCount = quint8(angles);
        for (int i = 0; i < angleClips; ++i) {
            multiAngle.angleClips << QByteArray::number(2 + i).rightJustified(5, '0');
        }
        // A second item after it shows the item length still leads to the next item.
        PlayItem last = multiAngle;
        last.clip = "00100";
        last.audio = {Audio(0x83, "kor", 0x1105)};
        const QByteArray data = Write({{multiAngle, last}, {Mark{1, 1, 0}}});
        PlaylistContents contents;
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(Describe(contents),
                 (QStringList{"00001.M2TS in 0 start 0 duration 1000",
                              "00100.M2TS in 0 start 1000 duration 1000",
                              "audio 4357 Korean TRUEHD", "subtitle 4608 Hindi", "chapter 1000"}));
    }

    void chaptersFromEntryMarks_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QList<qint64>>("chapters");

        const PlayItem tenSeconds = Item("00001", 0, 450000);
        // The second item starts 1 s into its clip: 10 000 - 1 000 + 2 000.
        QTest::newRow("mark on the second item")
            << Write({{tenSeconds, Item("00002", 45000, 900000)}, {Mark{1, 1, 90000}}})
            << QList<qint64>{11000};
        QTest::newRow("mark at an item's in time starts the item")
            << Write({{tenSeconds, Item("00002", 45000, 900000)}, {Mark{1, 1, 45000}}})
            << QList<qint64>{10000};
        // In 89 ticks is 1 ms, the mark at 90 ticks 2 ms: 0 - 1 + 2, not (90 - 89) / 45.
        QTest::newRow("time stamp divided before adding")
            << Write({{Item("00001", 89, 450000)}, {Mark{1, 0, 90}}}) << QList<qint64>{1};
        QTest::newRow("time stamp past 2^31 ticks is unsigned")
            << Write({{Item("00001", 0, 0xFFFFFFFFu)}, {Mark{1, 0, 0xFFFFFFFFu}}})
            << QList<qint64>{95443717};
        QTest::newRow("only entry marks")
            << Write({{tenSeconds},
                      {Mark{0, 0, 45000}, Mark{1, 0, 90000}, Mark{2, 0, 135000}, Mark{3, 0, 180000},
                       Mark{0x81, 0, 225000}, Mark{1, 0, 270000}}})
            << QList<qint64>{2000, 6000};
        QTest::newRow("marks past the last item skipped")
            << Write({{tenSeconds, Item("00002", 0, 45000)},
                      {Mark{1, 2, 0}, Mark{1, 1, 45000}, Mark{1, 0x7FFF, 0}, Mark{1, 0xFFFF, 0}}})
            << QList<qint64>{11000};
        QList<qint64> everyMs(MoviePlaylistReader::kMaxMarks);
        std::iota(everyMs.begin(), everyMs.end(), 0);
        QTest::newRow("999 items and marks, the most a playlist holds") << Write(Most()) << everyMs;
        QTest::newRow("no marks: none") << Write({{tenSeconds}, {}}) << QList<qint64>{};
        QTest::newRow("no items: every mark skipped")
            << Write({{}, {Mark{1, 0, 0}}}) << QList<qint64>{};
    }

    void chaptersFromEntryMarks()
    {
        QFETCH(QByteArray, data);
        QFETCH(QList<qint64>, chapters);
        PlaylistContents contents = Sentinel();
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(contents.chapters, chapters);
    }

    void loopMenuKeepsOnlyChapters_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("items");
        QTest::addColumn<bool>("filtered");

        // Each item lasts 1 s; the mark sits 1 s into the last one.
        auto playlist = [](const QList<QByteArray> &clips, const QByteArray &lastCodec = "M2TS") {
            Playlist list;
            for (const QByteArray &clip : clips) {
                list.items << ItemWithAudio(clip, {Audio(0x81, "eng")});
            }
            list.items.last().codec = lastCodec;
            list.marks = {Mark{1, quint16(clips.size() - 1), 45000}};
            return Write(list);
        };
        QTest::newRow("second and third alike")
            << playlist({"00001", "00002", "00002"}) << 3 << true;
        QTest::newRow("all three alike") << playlist({"00001", "00001", "00001"}) << 3 << true;
        QTest::newRow("second and third alike of four")
            << playlist({"00001", "00002", "00002", "00003"}) << 4 << true;
        QTest::newRow("first and second alike")
            << playlist({"00001", "00001", "00002"}) << 3 << false;
        QTest::newRow("first and third alike")
            << playlist({"00001", "00002", "00001"}) << 3 << false;
        QTest::newRow("second and fourth alike")
            << playlist({"00001", "00002", "00003", "00002"}) << 4 << false;
        QTest::newRow("two items alike") << playlist({"00001", "00001"}) << 2 << false;
        QTest::newRow("same clip, other codec")
            << playlist({"00001", "00002", "00002"}, "M2TX") << 3 << false;
    }

    void loopMenuKeepsOnlyChapters()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, items);
        QFETCH(bool, filtered);
        PlaylistContents contents = Sentinel();
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(contents.chapters, QList<qint64>{1000 * items});
        if (filtered) {
            const PlaylistContents sentinel = Sentinel();
            QCOMPARE(Items(contents), Items(sentinel));
            QCOMPARE(Streams(contents.audio), Streams(sentinel.audio));
            QCOMPARE(Streams(contents.subtitles), Streams(sentinel.subtitles));
        } else {
            QCOMPARE(contents.playItems.size(), items);
            QCOMPARE(Streams(contents.audio), QStringList{"4352 English AC3"});
            QVERIFY(contents.subtitles.isEmpty());
        }
    }

    void playlistWithoutItems()
    {
        PlaylistContents contents = Sentinel();
        QCOMPARE(ParseInto(Write({}), contents), int(MoviePlaylistReader::kOk));
        QCOMPARE(Describe(contents), QStringList{});
    }

    void outsideDataLeavesContentsAlone_data()
    {
        QTest::addColumn<QByteArray>("data");

        const QByteArray rich = Write(RichPlaylist());
        const quint32 size = quint32(rich.size());
        const qint64 markStart = U32At(rich, 12);
        for (quint32 address : {size - 5, size - 1, size, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            QTest::addRow("PlayList address 0x%X", address) << Patched32(rich, 8, address);
            QTest::addRow("mark address 0x%X", address) << Patched32(rich, 12, address);
        }
        QTest::newRow("item count 0x7FFF") << Patched16(rich, U32At(rich, 8) + 6, 0x7FFF);
        QTest::newRow("mark count 4 of 3") << Patched16(rich, markStart + 4, 4);
        QTest::newRow("mark count 0x7FFF") << Patched16(rich, markStart + 4, 0x7FFF);
        QTest::newRow("first item length 0x7FFF") << Patched16(rich, ItemAt(rich, 0), 0x7FFF);
        QTest::newRow("second item length 0x7FFF") << Patched16(rich, ItemAt(rich, 1), 0x7FFF);
        QTest::newRow("audio count 0x7F in the last item")
            << Patched8(rich, StreamTableAt(rich, 2) + 5, 0x7F);
        QTest::newRow("subtitle count 0x7F in the last item")
            << Patched8(rich, StreamTableAt(rich, 2) + 6, 0x7F);
        QTest::newRow("audio count 0x7F in the first item")
            << Patched8(rich, StreamTableAt(rich, 0) + 5, 0x7F);
        QTest::newRow("entry length 0xFF") << Patched8(rich, StreamEntryAt(rich, 2, 0), 0xFF);
        QTest::newRow("attributes length 0xFF")
            << Patched8(rich, StreamEntryAt(rich, 2, 0) + 10, 0xFF);
        QTest::newRow("cut inside the last item") << rich.left(ItemAt(rich, 2) + 40);
        QTest::newRow("cut before the marks") << rich.left(markStart);
        QTest::newRow("cut inside the mark count") << rich.left(markStart + 5);

        PlayItem multiAngle = ItemWithAudio("00001", {Audio(0x81, "eng")});
        multiAngle.angleCount = 2;
        multiAngle.angleClips = {"00002"};
        const QByteArray angles = Write({{multiAngle}, {}});
        QTest::newRow("angle count 0x7F") << Patched8(angles, ItemAt(angles, 0) + 34, 0x7F);

        // Malformed rather than outside: it would give negative lengths and chapter times.
        QTest::newRow("an item out a tick before in")
            << Write({{Item("00001", 90000, 89999), Item("00002", 0, 45000)}, {Mark{1, 1, 0}}});

        // More than the format allows.
        Playlist moreItems = Most();
        moreItems.items << Item("01000", 0, 45);
        QTest::newRow("1,000 play items") << Write(moreItems);
        Playlist moreMarks = Most();
        moreMarks.marks << Mark{1, 0, 0};
        QTest::newRow("1,000 marks") << Write(moreMarks);

        // Records whose length declares fewer bytes than the fields read of them: the next
        // record would overlap them.
        Playlist zeroLength = RichPlaylist();
        zeroLength.zeroLengthItems = 0x7FFF - 3;
        QTest::newRow("zero-length items after three real ones") << Write(zeroLength);
        const qint64 lastItem = ItemAt(rich, 2);
        const quint16 lastItemLength = qFromBigEndian<quint16>(rich.constData() + lastItem);
        QTest::newRow("last item a byte shorter than its streams")
            << Patched16(rich, lastItem, quint16(lastItemLength - 1));
        const QByteArray mainClipAudio =
            OneItem(ItemWithAudio("00001", {Audio(0x81, "eng", 0x1105)}));
        QTest::newRow("stream entry shorter than its packet identifier")
            << Patched8(mainClipAudio, StreamEntryAt(mainClipAudio, 0, 1), 2);
        QTest::newRow("text attributes shorter than their language")
            << Patched8(rich, StreamEntryAt(rich, 2, 4) + 10, 4);
        QTest::newRow("mark list a byte shorter than its marks")
            << Patched32(rich, markStart, quint32(U32At(rich, markStart) - 1));
        const qint64 playList = U32At(rich, 8);
        QTest::newRow("PlayList a byte shorter than its items")
            << Patched32(rich, playList, quint32(U32At(rich, playList) - 1));
    }

    void outsideDataLeavesContentsAlone()
    {
        QFETCH(QByteArray, data);
        PlaylistContents contents = Sentinel();
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOutsideData));
        QCOMPARE(Describe(contents), Describe(Sentinel()));
    }

    // Lengths that lead past the end are refused even where the reader has nothing more to read
    // (after the last item, stream or mark), and item lengths count up to 0xFFFF: one of 0x8000
    // or more is no step backwards to bytes read before.
    void lengthsPastTheEndAreRefused_data()
    {
        QTest::addColumn<QByteArray>("data");

        const QByteArray rich = Write(RichPlaylist());
        QTest::newRow("last item length 0x7FFF") << Patched16(rich, ItemAt(rich, 2), 0x7FFF);
        QTest::newRow("last attributes length 0xFF")
            << Patched8(rich, StreamEntryAt(rich, 2, 4) + 10, 0xFF);
        QTest::newRow("last mark cut short") << rich.left(rich.size() - 1);
        QTest::newRow("first item length 0xFFFE") << Patched16(rich, ItemAt(rich, 0), 0xFFFE);
        QTest::newRow("second item length 0xFFFF") << Patched16(rich, ItemAt(rich, 1), 0xFFFF);
    }

    void lengthsPastTheEndAreRefused()
    {
        QFETCH(QByteArray, data);
        PlaylistContents contents = Sentinel();
        QCOMPARE(ParseInto(data, contents), int(MoviePlaylistReader::kOutsideData));
        QCOMPARE(Describe(contents), Describe(Sentinel()));
    }

    void readsFromFile_data()
    {
        QTest::addColumn<QByteArray>("fileContents"); // null: no file at all
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("contents");

        QTest::newRow("playlist") << Write({{SimpleItem("00003", 2000)}, {Mark{1, 0, 45000}}})
                                  << int(MoviePlaylistReader::kOk)
                                  << QStringList{"00003.M2TS in 0 start 0 duration 2000",
                                                 "audio 4352 English AC3", "chapter 1000"};
        QTest::newRow("not a playlist")
            << QByteArray("<html></html>") << int(MoviePlaylistReader::kNotMoviePlaylist)
            << Describe(Sentinel());
        QTest::newRow("missing file")
            << QByteArray() << int(MoviePlaylistReader::kCannotOpen) << Describe(Sentinel());
        // Filled up with zeros after its marks, which nothing reads.
        const QByteArray small = Write({{SimpleItem("00003", 2000)}, {}});
        const QByteArray padding(MoviePlaylistReader::kMaxFileSize - small.size(), '\0');
        QTest::newRow("playlist of the largest size read")
            << small + padding << int(MoviePlaylistReader::kOk)
            << QStringList{"00003.M2TS in 0 start 0 duration 2000", "audio 4352 English AC3"};
        QTest::newRow("a byte larger")
            << small + padding + '\0' << int(MoviePlaylistReader::kCannotOpen)
            << Describe(Sentinel());
    }

    void readsFromFile()
    {
        QFETCH(QByteArray, fileContents);
        QFETCH(int, result);
        QFETCH(QStringList, contents);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("00000.mpls"));
        if (!fileContents.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(fileContents), fileContents.size());
        }
        MoviePlaylistReader reader;
        PlaylistContents read = Sentinel();
        QCOMPARE(reader.Read(path, read), result);
        QCOMPARE(Describe(read), contents);
    }
};

TAVRIX_CORE_TEST_MAIN(MoviePlaylistReaderTest)
#include "MoviePlaylistReaderTest.moc"
