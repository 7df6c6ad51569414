// Where playback was left: what is kept, what is forgotten, and what a damaged file gives.
#include "common/TestMain.h"

#include "engine/ResumeStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

class ResumeStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void keepsAndForgets_data()
    {
        QTest::addColumn<QByteArray>("stored"); // the file before, written as it stands; "FIFO"
        QTest::addColumn<QString>("key");
        QTest::addColumn<qint64>("position"); // -1: forget instead; -2: only look
        QTest::addColumn<qint64>("length");
        QTest::addColumn<qint64>("found"); // what the key gives afterwards; -1: nothing

        const QString film = QStringLiteral("/films/a film.mkv");
        QTest::newRow("kept") << QByteArray() << film << qint64(4320) << qint64(7200)
                              << qint64(4320);
        QTest::newRow("replaces the earlier place")
            << QByteArray("100\t/films/a film.mkv\n") << film << qint64(900) << qint64(7200)
            << qint64(900);
        QTest::newRow("a short medium is not kept")
            << QByteArray("100\t/films/a film.mkv\n") << film << qint64(60) << qint64(120)
            << qint64(-1);
        QTest::newRow("the last minute is the end")
            << QByteArray("100\t/films/a film.mkv\n") << film << qint64(7150) << qint64(7200)
            << qint64(-1);
        QTest::newRow("the first seconds are the start")
            << QByteArray() << film << qint64(5) << qint64(7200) << qint64(-1);
        QTest::newRow("forgotten at the end of play")
            << QByteArray("100\t/films/a film.mkv\n") << film << qint64(-1) << qint64(0)
            << qint64(-1);
        QTest::newRow("a line break in the key is not kept")
            << QByteArray() << QStringLiteral("/films/a\nb.mkv") << qint64(900) << qint64(7200)
            << qint64(-1);
        QTest::newRow("a disc title by its playlist")
            << QByteArray("300\t/discs/X/BDMV/PLAYLIST/00001.mpls\n")
            << QStringLiteral("/discs/X/BDMV/PLAYLIST/00002.mpls") << qint64(600) << qint64(5400)
            << qint64(600);
        QTest::newRow("damaged lines are skipped")
            << QByteArray("garbage\n\t/x\n-5\t/films/a film.mkv\nabc\t/y\n\xff\xfe\x00\n") << film
            << qint64(-1) << qint64(0) << qint64(-1);
        // A FIFO would never end; a file this large was not written by the player.
        QTest::newRow("a FIFO") << QByteArray("FIFO") << film << qint64(-2) << qint64(0)
                                << qint64(-1);
        QTest::newRow("larger than any file of places")
            << QByteArray("600\t/films/a film.mkv\n") + QByteArray(2 * 1024 * 1024, '\n') << film
            << qint64(-2) << qint64(0) << qint64(-1);
    }

    void keepsAndForgets()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, key);
        QFETCH(qint64, position);
        QFETCH(qint64, length);
        QFETCH(qint64, found);

        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("state/resume.txt"));
        if (!stored.isEmpty()) {
            QVERIFY(QDir().mkpath(folder.filePath(QStringLiteral("state"))));
            QFile written(file);
            QVERIFY(stored == "FIFO" ? ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0
                                     : written.open(QIODevice::WriteOnly) &&
                                           written.write(stored) == stored.size());
        }
        ResumeStore store(file);
        if (position >= 0) {
            store.Remember(key, position, length);
        } else if (position == -1) {
            store.Forget(key);
        }
        QCOMPARE(ResumeStore(file).PositionFor(key).value_or(-1), found);
    }

    // Only the newest places are kept, the oldest forgotten first.
    void keepsABoundedNumberOfPlaces()
    {
        QTemporaryDir folder;
        ResumeStore store(folder.filePath(QStringLiteral("resume.txt")));
        for (int n = 0; n <= ResumeStore::kMaxPlaces; ++n) {
            QVERIFY(store.Remember(QStringLiteral("/films/%1.mkv").arg(n), 600, 7200));
        }
        QVERIFY(!store.PositionFor(QStringLiteral("/films/0.mkv")));
        QCOMPARE(store.PositionFor(QStringLiteral("/films/1.mkv")).value_or(-1), qint64(600));
        QCOMPARE(store.PositionFor(QStringLiteral("/films/%1.mkv").arg(ResumeStore::kMaxPlaces))
                     .value_or(-1),
                 qint64(600));
    }
};

TAVRIX_CORE_TEST_MAIN(ResumeStoreTest)
#include "ResumeStoreTest.moc"
