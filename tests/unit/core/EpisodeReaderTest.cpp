// Which discs hold a series, and its episodes: the titles or stretches of a title they play,
// in the order the disc plays them.
#include "common/TestMain.h"

#include "DiscWriter.h"
#include "disc/EpisodeReader.h"
#include "disc/TitleScan.h"

#include <QFileInfo>

namespace {

using PlaylistWriter::Chain;
using PlaylistWriter::Piece;
using Shape = QVector<QPair<QByteArray, PlaylistWriter::Playlist>>;

constexpr qint64 kMinute = 60 * 1000;

// A clip name from a number.
QByteArray C(int number)
{
    return QByteArray::number(number).rightJustified(5, '0');
}

// One playlist of one clip of the given length.
QPair<QByteArray, PlaylistWriter::Playlist> Single(int playlist, int clip, qint64 ms,
                                                   qint64 inMs = 0)
{
    return {C(playlist), Chain({Piece{C(clip), ms, inMs}})};
}

// A playlist of `count` pieces of `ms` each, the first `longMs` long, of clips from firstClip on.
QPair<QByteArray, PlaylistWriter::Playlist> Pieces(int playlist, int firstClip, int count,
                                                   qint64 ms, qint64 longMs)
{
    QVector<Piece> pieces;
    for (int i = 0; i < count; ++i) {
        pieces.append(Piece{C(firstClip + i), i == 0 ? longMs : ms, 0});
    }
    return {C(playlist), Chain(pieces)};
}

} // namespace

Q_DECLARE_METATYPE(Shape)

class EpisodeReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void episodesOfDiscShapes_data()
    {
        QTest::addColumn<Shape>("disc");
        // "playlist startMs lengthMs clip,clip" for each episode, in order.
        QTest::addColumn<QStringList>("episodes");

        QVector<qint64> everyTenMinutes;
        for (qint64 at = 0; at < 110 * kMinute; at += 10 * kMinute) {
            everyTenMinutes.append(at);
        }
        QTest::newRow("film with chapters, featurettes and a trailer")
            << Shape{{C(1), Chain({Piece{C(1), 110 * kMinute}}, everyTenMinutes)},
                     Single(2, 2, 20 * kMinute),
                     Single(3, 3, 24 * kMinute),
                     Single(4, 4, 2 * kMinute)}
            << QStringList();

        // Beside them a featurette and an episode with a preview: neither is an episode of its own.
        QTest::newRow("four episodes in the Play All's order, not the playlists'")
            << Shape{{C(9), Chain({Piece{C(11), 24 * kMinute}, Piece{C(12), 24 * kMinute},
                                   Piece{C(13), 24 * kMinute}, Piece{C(14), 51 * kMinute / 2}})},
                     Single(2, 11, 24 * kMinute),
                     Single(3, 12, 24 * kMinute),
                     Single(4, 14, 51 * kMinute / 2),
                     Single(5, 13, 24 * kMinute),
                     Single(6, 15, 3 * kMinute / 2),
                     Single(7, 16, kMinute / 2),
                     Single(8, 17, 20 * kMinute),
                     {C(1), Chain({Piece{C(11), 24 * kMinute}, Piece{C(18), kMinute / 2}})}}
            << QStringList{"00002 0 1440000 00011.M2TS", "00003 0 1440000 00012.M2TS",
                           "00005 0 1440000 00013.M2TS", "00004 0 1530000 00014.M2TS"};

        QTest::newRow("episodes as stretches of the Play All's one clip")
            << Shape{Single(1, 40, 72 * kMinute), Single(2, 40, 24 * kMinute, 24 * kMinute),
                     Single(3, 40, 24 * kMinute), Single(4, 40, 24 * kMinute, 48 * kMinute)}
            << QStringList{"00003 0 1440000 00040.M2TS", "00002 0 1440000 00040.M2TS",
                           "00004 0 1440000 00040.M2TS"};

        QTest::newRow("two episodes without a Play All, in playlist order")
            << Shape{Single(1, 51, 47 * kMinute), Single(2, 50, 45 * kMinute),
                     Single(3, 52, 4 * kMinute), Single(4, 53, 31 * kMinute / 2)}
            << QStringList{"00001 0 2820000 00051.M2TS", "00002 0 2700000 00050.M2TS"};

        const Piece opening{C(20), 3 * kMinute / 2};
        QTest::newRow("Play All only, an opening before each episode's clip, episode marks")
            << Shape{{C(1),
                      Chain({opening, Piece{C(21), 24 * kMinute}, opening,
                             Piece{C(22), 23 * kMinute}, opening, Piece{C(23), 49 * kMinute / 2}},
                            {0, 12 * kMinute, 51 * kMinute / 2, 38 * kMinute, 49 * kMinute})},
                     {C(2), Chain({opening})}}
            << QStringList{"00001 0 1530000 00020.M2TS,00021.M2TS",
                           "00001 1530000 1470000 00020.M2TS,00022.M2TS",
                           "00001 3000000 1560000 00020.M2TS,00023.M2TS"};

        QTest::newRow("film in two clips is no Play All")
            << Shape{{C(1), Chain({Piece{C(1), 50 * kMinute}, Piece{C(2), 48 * kMinute}})}}
            << QStringList();
        Shape branching{{C(1), Chain({})}};
        for (int reel = 0; reel < 3; ++reel) {
            branching[0].second.items +=
                Pieces(1, 100 * reel + 1, 26, kMinute, (28 + reel) * kMinute).second.items;
        }
        QTest::newRow("film of three long pieces among short ones is no Play All")
            << branching << QStringList();

        const Piece sharedOpening{C(30), 3 * kMinute / 2}, sharedEnding{C(31), 3 * kMinute / 2};
        Shape shared{
            {C(1), Chain({})}, {C(5), Chain({sharedOpening})}, {C(6), Chain({sharedEnding})}};
        for (int e = 0; e < 3; ++e) {
            const Piece body{C(32 + e), 21 * kMinute};
            shared.append({C(2 + e), Chain({sharedOpening, body, sharedEnding})});
            shared[0].second.items += Chain({sharedOpening, body, sharedEnding}).items;
        }
        QTest::newRow("shared opening and ending around each episode")
            << shared
            << QStringList{"00002 0 1440000 00030.M2TS,00032.M2TS,00031.M2TS",
                           "00003 0 1440000 00030.M2TS,00033.M2TS,00031.M2TS",
                           "00004 0 1440000 00030.M2TS,00034.M2TS,00031.M2TS"};

        Shape bumpers;
        for (int i = 1; i <= 12; ++i) {
            bumpers.append(Single(i, i, 30000 + 20000 * i));
        }
        QTest::newRow("bumpers and previews") << bumpers << QStringList();
        QTest::newRow("one title of episode length")
            << Shape{Single(1, 1, 24 * kMinute), Single(2, 2, kMinute)} << QStringList();

        QTest::newRow("archives of stills")
            << Shape{Pieces(1, 1000, 300, 5000, 5000), Pieces(2, 2000, 280, 5500, 5500),
                     Single(3, 3, 3 * kMinute)}
            << QStringList();
    }

    void episodesOfDiscShapes()
    {
        QFETCH(Shape, disc);
        QFETCH(QStringList, episodes);
        QTemporaryDir folder;
        QString error;
        QVERIFY2(DiscWriter::WritePlaylists(disc, folder.path(), &error), qPrintable(error));

        QStringList found;
        for (const Episode &episode : FindEpisodes(ScanBluRayFolder(folder.path()))) {
            found << QStringLiteral("%1 %2 %3 %4")
                         .arg(QFileInfo(episode.titleKey).completeBaseName())
                         .arg(episode.startMs)
                         .arg(episode.lengthMs)
                         .arg(episode.clips.join(QLatin1Char(',')));
        }
        QCOMPARE(found, episodes);
    }
};

TAVRIX_CORE_TEST_MAIN(EpisodeReaderTest)
#include "EpisodeReaderTest.moc"
