// What a chosen folder holds, decided from the folders inside it, and the directory listing the
// decision reads.
#include "common/TestMain.h"

#include "disc/DirectoryListing.h"
#include "disc/SourceClassification.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

QString KindName(DiscFolderKind kind)
{
    switch (kind) {
    case DiscFolderKind::BluRay: return QStringLiteral("BluRay");
    case DiscFolderKind::Dvd: return QStringLiteral("Dvd");
    case DiscFolderKind::NotRecognised: return QStringLiteral("NotRecognised");
    }
    return QStringLiteral("unknown");
}

} // namespace

class SourceClassificationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;

    QString Root() const { return m_root->path(); }

    void MakeFolders(const QStringList &folders)
    {
        for (const QString &folder : folders) {
            QVERIFY2(QDir(Root()).mkpath(folder), qPrintable(folder));
        }
    }

    void MakeFile(const QString &relativePath, const QByteArray &contents = "x")
    {
        QFile file(Root() + QLatin1Char('/') + relativePath);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(relativePath));
        file.write(contents);
    }

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
    }

    void cleanup() { m_root.reset(); }

    void classify_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("expected");

        QTest::newRow("Blu-ray") << QStringList{"disc/BDMV/STREAM", "disc/BDMV/PLAYLIST"}
                                 << QStringList{} << "disc"
                                 << "BluRay";
        QTest::newRow("Blu-ray by its index") << QStringList{"disc/BDMV"}
                                          << QStringList{"disc/BDMV/index.bdmv"} << "disc"
                                          << "BluRay";
        QTest::newRow("DVD") << QStringList{"disc/VIDEO_TS"}
                             << QStringList{"disc/VIDEO_TS/VIDEO_TS.IFO"} << "disc" << "Dvd";
        QTest::newRow("VIDEO_TS without its IFO") << QStringList{"disc/VIDEO_TS/VTS_01_0.IFO"}
                                                  << QStringList{} << "disc" << "NotRecognised";
        QTest::newRow("both: Blu-ray is looked for first")
            << QStringList{"disc/BDMV/STREAM", "disc/BDMV/PLAYLIST", "disc/VIDEO_TS"}
            << QStringList{"disc/VIDEO_TS/VIDEO_TS.IFO"} << "disc" << "BluRay";
        QTest::newRow("BDMV without STREAM")
            << QStringList{"disc/BDMV/PLAYLIST", "disc/BDMV/CLIPINF"} << QStringList{} << "disc"
            << "NotRecognised";
        QTest::newRow("empty BDMV") << QStringList{"disc/BDMV"} << QStringList{} << "disc"
                                    << "NotRecognised";
        QTest::newRow("BDMV without STREAM decides over VIDEO_TS")
            << QStringList{"disc/BDMV/PLAYLIST", "disc/VIDEO_TS"} << QStringList{} << "disc"
            << "NotRecognised";
        QTest::newRow("STREAM as a file, not a folder")
            << QStringList{"disc/BDMV"} << QStringList{"disc/BDMV/STREAM"} << "disc"
            << "NotRecognised";
        QTest::newRow("lower-case bdmv/stream")
            << QStringList{"disc/bdmv/stream"} << QStringList{} << "disc"
            << "NotRecognised";
        QTest::newRow("lower-case stream inside BDMV")
            << QStringList{"disc/BDMV/stream"} << QStringList{} << "disc"
            << "NotRecognised";
        QTest::newRow("lower-case video_ts")
            << QStringList{"disc/video_ts"} << QStringList{} << "disc"
            << "NotRecognised";
        QTest::newRow("the BDMV folder itself")
            << QStringList{"disc/BDMV/STREAM"} << QStringList{} << "disc/BDMV"
            << "NotRecognised";
        QTest::newRow("the VIDEO_TS folder itself")
            << QStringList{"disc/VIDEO_TS"} << QStringList{} << "disc/VIDEO_TS"
            << "NotRecognised";
        QTest::newRow("STREAM in a parent's name is no stream folder")
            << QStringList{"MYSTREAMS/disc/BDMV/AUXDATA", "MYSTREAMS/disc/BDMV/PLAYLIST"}
            << QStringList{} << "MYSTREAMS/disc" << "NotRecognised";
        QTest::newRow("STREAM in a parent's name, BDMV empty")
            << QStringList{"MYSTREAMS/disc/BDMV"} << QStringList{} << "MYSTREAMS/disc"
            << "NotRecognised";
        QTest::newRow("BDMV is a file") << QStringList{"disc"} << QStringList{"disc/BDMV"} << "disc"
                                        << "NotRecognised";
        QTest::newRow("VIDEO_TS is a file")
            << QStringList{"disc"} << QStringList{"disc/VIDEO_TS"} << "disc"
            << "NotRecognised";
        QTest::newRow("empty folder") << QStringList{"disc"} << QStringList{} << "disc"
                                      << "NotRecognised";
        QTest::newRow("folder of media files")
            << QStringList{"disc"} << QStringList{"disc/a.mkv", "disc/b.m2ts"} << "disc"
            << "NotRecognised";
        QTest::newRow("missing folder") << QStringList{} << QStringList{} << "nowhere"
                                        << "NotRecognised";
        QTest::newRow("Blu-ray chosen with a trailing separator")
            << QStringList{"disc/BDMV/STREAM", "disc/BDMV/PLAYLIST"} << QStringList{} << "disc/"
            << "BluRay";
        QTest::newRow("DVD chosen with a trailing separator")
            << QStringList{"disc/VIDEO_TS"} << QStringList{"disc/VIDEO_TS/VIDEO_TS.IFO"}
            << "disc/" << "Dvd";
    }

    void classify()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(QString, chosen);
        QFETCH(QString, expected);
        MakeFolders(folders);
        for (const QString &file : files) {
            MakeFile(file);
        }
        QCOMPARE(KindName(ClassifyDiscFolder(Root() + QLatin1Char('/') + chosen)), expected);
    }

    void listingIsSortedAndSkipsHiddenNames()
    {
        MakeFolders({"folder/b-dir", "folder/.hidden-dir"});
        MakeFile(QStringLiteral("folder/c.mkv"), "12345");
        MakeFile(QStringLiteral("folder/a.txt"), "");
        MakeFile(QStringLiteral("folder/.hidden"), "secret");
        const QString folder = Root() + QStringLiteral("/folder");

        QVector<DirEntry> entries;
        QVERIFY(ListDirectory(folder, entries));
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0].path, folder + QStringLiteral("/a.txt"));
        QCOMPARE(entries[1].path, folder + QStringLiteral("/b-dir"));
        QCOMPARE(entries[2].path, folder + QStringLiteral("/c.mkv"));
        QVERIFY(!entries[0].isDirectory);
        QVERIFY(entries[1].isDirectory);
        QVERIFY(!entries[2].isDirectory);
        QCOMPARE(entries[0].size, quint64(0));
        QCOMPARE(entries[2].size, quint64(5));
    }

    void listingAppendsAndJoinsWithOneSeparator_data()
    {
        QTest::addColumn<bool>("trailingSeparator");
        QTest::newRow("folder without a trailing separator") << false;
        QTest::newRow("folder with a trailing separator") << true;
    }

    void listingAppendsAndJoinsWithOneSeparator()
    {
        QFETCH(bool, trailingSeparator);
        MakeFolders({"folder/BDMV"});
        const QString folder = Root() + QStringLiteral("/folder");
        QVector<DirEntry> entries(1);
        entries[0].path = QStringLiteral("kept");
        QVERIFY(ListDirectory(trailingSeparator ? folder + QLatin1Char('/') : folder, entries));
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].path, QStringLiteral("kept"));
        QCOMPARE(entries[1].path, folder + QStringLiteral("/BDMV"));
    }

    void listingThatFailsLeavesTheListAlone_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("missing folder") << "nowhere";
        QTest::newRow("a file, not a folder") << "file.mkv";
    }

    void listingThatFailsLeavesTheListAlone()
    {
        QFETCH(QString, relativePath);
        MakeFile(QStringLiteral("file.mkv"));
        QVector<DirEntry> entries(1);
        entries[0].path = QStringLiteral("kept");
        QVERIFY(!ListDirectory(Root() + QLatin1Char('/') + relativePath, entries));
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].path, QStringLiteral("kept"));
    }

    void emptyFolderListsNothing()
    {
        MakeFolders({"empty"});
        QVector<DirEntry> entries;
        QVERIFY(ListDirectory(Root() + QStringLiteral("/empty"), entries));
        QVERIFY(entries.isEmpty());
    }
};

TAVRIX_CORE_TEST_MAIN(SourceClassificationTest)
#include "SourceClassificationTest.moc"
