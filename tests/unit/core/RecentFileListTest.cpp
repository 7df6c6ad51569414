// The recent list and its file: order, limit, duplicates and the file's lines.
#include "common/TestMain.h"

#include "ui/RecentFileList.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

class RecentFileListTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString File() const { return m_folder.filePath(QStringLiteral("RecentConfig.txt")); }

    QByteArray FileContents() const
    {
        QFile file(File());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void WriteFile(const QByteArray &contents)
    {
        QFile file(File());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

private slots:
    void cleanup() { QFile::remove(File()); }

    void newestComesFirstInListAndFile()
    {
        RecentFileList list;
        list.Load(File());
        QVERIFY(list.Paths().isEmpty());
        for (const char *path : {"/m/A.mkv", "/m/B.mkv", "/m/C.mkv"}) {
            QVERIFY(list.Record(QString::fromLatin1(path), File()));
        }
        QCOMPARE(list.Paths(), QStringList({"/m/C.mkv", "/m/B.mkv", "/m/A.mkv"}));
        QCOMPARE(FileContents(), QByteArray("/m/C.mkv\n/m/B.mkv\n/m/A.mkv\n"));

        // A listed path changes neither the order nor the file.
        QFile::remove(File());
        QVERIFY(!list.Record(QStringLiteral("/m/B.mkv"), File()));
        QVERIFY(!QFile::exists(File()));
        QCOMPARE(list.Paths().first(), QStringLiteral("/m/C.mkv"));
    }

    void pathsDifferingInCaseAreTwoEntries()
    {
        RecentFileList list;
        QVERIFY(list.Record(QStringLiteral("/m/film.mkv"), File()));
        QVERIFY(list.Record(QStringLiteral("/m/FILM.mkv"), File()));
        QCOMPARE(list.Paths().size(), 2);
    }

    void eleventhPathPushesTheOldestOut()
    {
        RecentFileList list;
        for (int i = 1; i <= 11; ++i) {
            list.Record(QStringLiteral("/m/%1.mkv").arg(i), File());
        }
        QCOMPARE(list.Paths().size(), 10);
        QCOMPARE(list.Paths().first(), QStringLiteral("/m/11.mkv"));
        QCOMPARE(list.Paths().last(), QStringLiteral("/m/2.mkv"));
        QCOMPARE(FileContents().count('\n'), 10);
    }

    void longerHandEditedListLosesOnlyOneEntry()
    {
        QByteArray contents;
        for (int i = 1; i <= 15; ++i) {
            contents += "/m/" + QByteArray::number(i) + ".mkv\n";
        }
        WriteFile(contents);
        RecentFileList list;
        list.Load(File());
        QCOMPARE(list.Paths().size(), 15);
        list.Record(QStringLiteral("/m/new.mkv"), File());
        QCOMPARE(list.Paths().size(), 15);
        QCOMPARE(list.Paths().first(), QStringLiteral("/m/new.mkv"));
        QCOMPARE(list.Paths().last(), QStringLiteral("/m/14.mkv"));
    }

    void loadSkipsEmptyLinesAndReadsALastLineWithoutEnd()
    {
        WriteFile("/m/a b.mkv\n\n/m/B\xc3\xa9.mkv\n\n/m/last.mkv");
        RecentFileList list;
        list.Load(File());
        QCOMPARE(list.Paths(),
                 QStringList({"/m/a b.mkv", QString::fromUtf8("/m/B\xc3\xa9.mkv"), "/m/last.mkv"}));
    }

    // A FIFO would never end; a file this large holds no list of the player's.
    void loadReadsNothingOfWhatIsNoList_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("a FIFO") << true;
        QTest::newRow("larger than any list") << false;
    }

    void loadReadsNothingOfWhatIsNoList()
    {
        QFETCH(bool, fifo);
        if (fifo) {
            QVERIFY(::mkfifo(QFile::encodeName(File()).constData(), 0600) == 0);
        } else {
            WriteFile(QByteArray("/m/a.mkv\n").repeated(300000));
        }
        RecentFileList list;
        list.Load(File());
        QVERIFY(list.Paths().isEmpty());
    }

    void recordKeepsEveryEntrysBytes_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("after"); // the same bytes when the path is not recorded

        QTest::newRow("latin-1 entry survives")
            << QByteArray("/m/caf\xe9.mkv\n") << QStringLiteral("/m/B.mkv")
            << QByteArray("/m/B.mkv\n/m/caf\xe9.mkv\n");
        QTest::newRow("crlf line ends read as line ends")
            << QByteArray("/m/A.mkv\r\n") << QStringLiteral("/m/B.mkv")
            << QByteArray("/m/B.mkv\n/m/A.mkv\n");
        QTest::newRow("listed path found by its bytes")
            << QByteArray("/m/B\xc3\xa9.mkv\n/m/A.mkv\n") << QString::fromUtf8("/m/B\xc3\xa9.mkv")
            << QByteArray("/m/B\xc3\xa9.mkv\n/m/A.mkv\n");
        QTest::newRow("line feed refused")
            << QByteArray("/m/A.mkv\n") << QStringLiteral("/m/a\nb.mkv")
            << QByteArray("/m/A.mkv\n");
        QTest::newRow("carriage return refused")
            << QByteArray("/m/A.mkv\n") << QStringLiteral("/m/a\rb.mkv")
            << QByteArray("/m/A.mkv\n");
    }

    void recordKeepsEveryEntrysBytes()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, path);
        QFETCH(QByteArray, after);

        WriteFile(before);
        RecentFileList list;
        list.Load(File());
        const QStringList paths = list.Paths();
        const bool expectRecorded = after != before;

        QCOMPARE(list.Record(path, File()), expectRecorded);
        QCOMPARE(FileContents(), after);
        QCOMPARE(list.Paths(), expectRecorded ? QStringList(path) + paths : paths);
    }

    void clearEmptiesTheListAndDeletesTheFile()
    {
        RecentFileList list;
        list.Record(QStringLiteral("/m/A.mkv"), File());
        QVERIFY(QFile::exists(File()));
        list.Clear(File());
        QVERIFY(list.Paths().isEmpty());
        QVERIFY(!QFile::exists(File()));
        list.Load(File());
        QVERIFY(list.Paths().isEmpty());
    }

    void unwritableFileStillUpdatesTheList()
    {
        RecentFileList list;
        const QString missingFolder = m_folder.filePath(QStringLiteral("gone/RecentConfig.txt"));
        QVERIFY(list.Record(QStringLiteral("/m/A.mkv"), missingFolder));
        QCOMPARE(list.Paths(), QStringList{"/m/A.mkv"});
    }
};

TAVRIX_CORE_TEST_MAIN(RecentFileListTest)
#include "RecentFileListTest.moc"
