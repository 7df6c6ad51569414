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

// Milliseconds of so many minutes.
constexpr qint64 M(double minutes)
{
    return qint64(minutes * 60 * 1000);
}

// A clip name from a number.
QByteArray C(int number)
{
    return QByteArray::number(number).rightJustified(5, '0');
}

// One playlist of the pieces, with entry marks.
QPair<QByteArray, PlaylistWriter::Playlist> P(int playlist, const QVector<Piece> &pieces,
                                              const QVector<qint64> &marks = {})
{
    return {C(playlist), Chain(pieces, marks)};
}

// One playlist of one clip of the given length.
QPair<QByteArray, PlaylistWriter::Playlist> T(int playlist, int clip, qint64 ms, qint64 inMs = 0)
{
    return P(playlist, {Piece{C(clip), ms, inMs}});
}

// `count` pieces of `ms` each, of clips from firstClip on.
QVector<Piece> Run(int firstClip, int count, qint64 ms)
{
    QVector<Piece> pieces;
    for (int i = 0; i < count; ++i) {
        pieces.append(Piece{C(firstClip + i), ms, 0});
    }
    return pieces;
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

        QTest::newRow("film with chapters, featurettes and a trailer")
            << Shape{P(1, {Piece{C(1), M(110)}},
                       {0, M(10), M(20), M(30), M(40), M(50), M(60), M(70), M(80), M(90), M(100)}),
                     T(2, 2, M(20)), T(3, 3, M(24)), T(4, 4, M(2))}
            << QStringList();

        // Beside them a featurette and an episode with a preview: neither is an episode of its own.
        const auto longer = P(1, {Piece{C(11), M(24)}, Piece{C(18), M(0.5)}});
        const auto playAll = P(9, {Piece{C(11), M(24)}, Piece{C(12), M(24)}, Piece{C(13), M(24)},
                                   Piece{C(14), M(25.5)}});
        QTest::newRow("four episodes in the Play All's order, not the playlists'")
            << Shape{T(2, 11, M(24)), T(3, 12, M(24)),  T(4, 14, M(25.5)),
                     T(5, 13, M(24)), T(6, 15, M(1.5)), T(7, 16, M(0.5)),
                     T(8, 17, M(20)), longer,           playAll}
            << QStringList{"00002 0 1440000 00011.M2TS", "00003 0 1440000 00012.M2TS",
                           "00005 0 1440000 00013.M2TS", "00004 0 1530000 00014.M2TS"};

        QTest::newRow("episodes as stretches of the Play All's one clip")
            << Shape{T(1, 40, M(72)), T(2, 40, M(24), M(24)), T(3, 40, M(24)),
                     T(4, 40, M(24), M(48))}
            << QStringList{"00003 0 1440000 00040.M2TS", "00002 0 1440000 00040.M2TS",
                           "00004 0 1440000 00040.M2TS"};

        QTest::newRow("two episodes without a Play All, in playlist order")
            << Shape{T(1, 51, M(47)), T(2, 50, M(45)), T(3, 52, M(4)), T(4, 53, M(15.5))}
            << QStringList{"00001 0 2820000 00051.M2TS", "00002 0 2700000 00050.M2TS"};

        const Piece opening{C(20), M(1.5)};
        QTest::newRow("Play All only, an opening before each episode's clip, episode marks")
            << Shape{P(1,
                       {opening, Piece{C(21), M(24)}, opening, Piece{C(22), M(23)}, opening,
                        Piece{C(23), M(24.5)}},
                       {0, M(12), M(25.5), M(38), M(49)}),
                     P(2, {opening})}
            << QStringList{"00001 0 1530000 00020.M2TS,00021.M2TS",
                           "00001 1530000 1470000 00020.M2TS,00022.M2TS",
                           "00001 3000000 1560000 00020.M2TS,00023.M2TS"};

        QTest::newRow("film in two clips is no Play All")
            << Shape{P(1, {Piece{C(1), M(50)}, Piece{C(2), M(48)}})} << QStringList();
        QTest::newRow("film of three long pieces among short ones is no Play All")
            << Shape{P(1, Run(1, 1, M(28)) + Run(2, 25, M(1)) + Run(30, 1, M(29)) +
                              Run(31, 25, M(1)) + Run(60, 1, M(30)))}
            << QStringList();

        const Piece sharedOpening{C(30), M(1.5)}, sharedEnding{C(31), M(1.5)};
        Shape shared{P(1, {}), P(5, {sharedOpening}), P(6, {sharedEnding})};
        for (int e = 0; e < 3; ++e) {
            const Piece body{C(32 + e), M(21)};
            shared.append({C(2 + e), Chain({sharedOpening, body, sharedEnding})});
            shared[0].second.items += Chain({sharedOpening, body, sharedEnding}).items;
        }
        QTest::newRow("shared opening and ending around each episode")
            << shared
            << QStringList{"00002 0 1440000 00030.M2TS,00032.M2TS,00031.M2TS",
                           "00003 0 1440000 00030.M2TS,00033.M2TS,00031.M2TS",
                           "00004 0 1440000 00030.M2TS,00034.M2TS,00031.M2TS"};

        QTest::newRow("bumpers and previews")
            << Shape{T(1, 1, M(0.5)), T(2, 2, M(1)),   T(3, 3, M(1.5)), T(4, 4, M(2)),
                     T(5, 5, M(2.5)), T(6, 6, M(3)),   T(7, 7, M(3.5)), T(8, 8, M(4)),
                     T(9, 9, M(4.5)), T(10, 10, M(4)), T(11, 11, M(3)), T(12, 12, M(2))}
            << QStringList();
        QTest::newRow("archives of stills and one title of episode length")
            << Shape{P(1, Run(1000, 300, 5000)), P(2, Run(2000, 280, 5500)), T(3, 3, M(24))}
            << QStringList();
    }

    void episodesOfDiscShapes()
    {
        QFETCH(Shape, disc);
        QFETCH(QStringList, episodes);
        QTemporaryDir folder;
        QVERIFY(DiscWriter::WritePlaylists(disc, folder.path()));

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
