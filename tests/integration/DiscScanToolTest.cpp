// The disc-scan command: its JSON for a disc and for one playlist, and its refusals.
#include "common/TestMain.h"

#include "DiscWriter.h"
#include "PlaylistWriter.h"
#include "common/MediaMaker.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using namespace PlaylistWriter;

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run DiscScan(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(TAVRIX_BIN_DIR "/disc-scan"), arguments);
    tool.waitForFinished();
    return {tool.exitCode(), tool.readAllStandardOutput(), tool.readAllStandardError()};
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class DiscScanToolTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString m_disc;

private slots:
    void initTestCase()
    {
        m_disc = m_folder.filePath(QStringLiteral("DISC"));
        QVERIFY(QDir().mkpath(m_disc + "/BDMV/STREAM"));
        Playlist short_;
        short_.items = {SimpleItem("00002", 5500)};
        QVERIFY(WriteFile(m_disc + "/BDMV/PLAYLIST/00001.mpls", Write(short_)));
        Playlist main;
        PlayItem first = SimpleItem("00001", 10000);
        PlayItem second = SimpleItem("00003", 20000);
        second.inTime = 45000;
        second.outTime = 45000 + 20000 * 45;
        second.audio = {Stream{0x81, 1, 0x1100, "eng"}, Stream{0xA2, 3, 0x1101, "jpn"}};
        second.subtitles = {Stream{0x90, 1, 0x1200, "fra"}};
        main.items = {first, second};
        main.marks = {Mark{1, 0, 0}, Mark{1, 1, 90000}};
        QVERIFY(WriteFile(m_disc + "/BDMV/PLAYLIST/00002.mpls", Write(main)));
        QVERIFY(WriteFile(m_disc + "/BDMV/META/DL/bdmt_eng.xml",
                          "<di:name>Quote \"and\" slash \\ tab\t caf\xc3\xa9</di:name>\n"
                          "<di:thumbnail href=\"thumb.jpg\" size=\"416x240\" />\n"));
    }

    void scanPrintsTheTitlesLongestFirst()
    {
        const Run run = DiscScan({m_disc});
        QCOMPARE(run.exitCode, 0);
        const QString playlists = m_disc + "/BDMV/PLAYLIST/";
        const QByteArray expected =
            "{\"disc\":{\"name\":\"Quote \\\"and\\\" slash \\\\ tab\\u0009 "
            "caf\xc3\xa9\",\"thumbnail\":\"thumb.jpg\"},"
            "\"titles\":[{\"key\":\"" +
            playlists.toUtf8() +
            "00002.mpls\",\"number\":2,"
            "\"duration\":\"00:00:30\",\"chapters\":[0,11000],"
            "\"audio\":[{\"pid\":4352,\"text\":\"English "
            "AC3\"},{\"pid\":4353,\"text\":\"Japanese\"}],"
            "\"subtitles\":[{\"pid\":4608,\"text\":\"French\"}],"
            "\"playItems\":[{\"clip\":\"00001.M2TS\",\"inMs\":0,\"startMs\":0,\"durationMs\":10000}"
            ","
            "{\"clip\":\"00003.M2TS\",\"inMs\":1000,\"startMs\":10000,\"durationMs\":20000}]},"
            "{\"key\":\"" +
            playlists.toUtf8() +
            "00001.mpls\",\"number\":1,"
            "\"duration\":\"00:00:05\",\"chapters\":[],"
            "\"audio\":[{\"pid\":4352,\"text\":\"English AC3\"}],\"subtitles\":[],"
            "\"playItems\":[{\"clip\":\"00002.M2TS\",\"inMs\":0,\"startMs\":0,\"durationMs\":5500}]"
            "}"
            "],\"episodes\":[]}\n";
        QCOMPARE(run.out, expected);
    }

    void scanPrintsTheEpisodesInOrder()
    {
        const QString disc = m_folder.filePath(QStringLiteral("SERIES"));
        const Piece first{"00011", 1440000}, second{"00012", 1440000};
        QVERIFY(DiscWriter::WritePlaylists({{"00001", Chain({second, first})},
                                            {"00002", Chain({first})},
                                            {"00003", Chain({Piece{"00010", 90000}, second})}},
                                           disc));
        const QByteArray out = DiscScan({disc}).out;
        const QByteArray title = "{\"title\":\"" + disc.toUtf8() + "/BDMV/PLAYLIST/";
        QCOMPARE(out.mid(out.indexOf(",\"episodes\":")),
                 ",\"episodes\":[" + title +
                     "00003.mpls\",\"startMs\":0,\"lengthMs\":1530000,\"clips\":"
                     "[\"00010.M2TS\",\"00012.M2TS\"]}," +
                     title +
                     "00002.mpls\",\"startMs\":0,\"lengthMs\":1440000,\"clips\":"
                     "[\"00011.M2TS\"]}]}\n");
    }

    // Output that cannot be written is a failed run, not a scan reported as done.
    void outputThatCannotBeWrittenFails()
    {
        QProcess tool;
        tool.setStandardOutputFile(QStringLiteral("/dev/full"));
        tool.start(QStringLiteral(TAVRIX_BIN_DIR "/disc-scan"), {m_disc});
        QVERIFY(tool.waitForFinished());
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), 1);
    }

    void playlistPrintsWhatTheReaderReturns()
    {
        const Run run =
            DiscScan({QStringLiteral("--playlist"), m_disc + "/BDMV/PLAYLIST/00001.mpls"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(
            run.out,
            QByteArray("{\"result\":0,\"playItems\":[{\"clip\":\"00002.M2TS\",\"inMs\":0,"
                       "\"startMs\":0,\"durationMs\":5500}],\"chapters\":[],"
                       "\"audio\":[{\"pid\":4352,\"text\":\"English AC3\"}],\"subtitles\":[]}\n"));
    }

    void rejectedPlaylistStillPrintsItsResult_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("result");
        QTest::newRow("not a playlist") << QByteArray("XXXX0200") << 2;
        QTest::newRow("cut short")
            << Write(Playlist{{SimpleItem("00001", 1000)}, {}}).left(60) << 4;
        // Once printed as 32,767 items, 2 MB of them.
        Playlist zeroLength{
            {SimpleItem("00001", 1000), SimpleItem("00002", 1000), SimpleItem("00003", 1000)}, {}};
        zeroLength.zeroLengthItems = 0x7FFF - 3;
        QTest::newRow("zero-length items after three real ones") << Write(zeroLength) << 4;
    }

    void rejectedPlaylistStillPrintsItsResult()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, result);
        const QString path = m_folder.filePath(QStringLiteral("odd.mpls"));
        QVERIFY(WriteFile(path, bytes));
        const Run run = DiscScan({QStringLiteral("--playlist"), path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("{\"result\":") + QByteArray::number(result) +
                              ",\"playItems\":[],\"chapters\":[],\"audio\":[],\"subtitles\":[]}\n");
    }

    void imagePrintsWhatItsFolderPrints()
    {
        const QString folder = m_folder.filePath(QStringLiteral("demo"));
        QString error;
        QVERIFY2(DiscWriter::Write(DiscWriter::DemoDisc(), folder, &error), qPrintable(error));
        // A playlist past the size cap, which neither way may read.
        QFile main(folder + "/BDMV/PLAYLIST/00001.mpls");
        QVERIFY(main.open(QIODevice::ReadOnly));
        QVERIFY(WriteFile(folder + "/BDMV/PLAYLIST/00009.mpls",
                          main.readAll().leftJustified(2 * 1024 * 1024 + 1, '\0')));
        const QString image = m_folder.filePath(QStringLiteral("demo.iso"));
        QVERIFY(MediaMaker::MakeDiscImage(folder, image));

        const Run fromFolder = DiscScan({folder});
        const Run fromImage = DiscScan({image});
        QCOMPARE(fromImage.exitCode, 0);
        QVERIFY(fromFolder.out.contains("00001.mpls"));
        QCOMPARE(QByteArray(fromImage.out).replace(image.toUtf8(), folder.toUtf8()),
                 fromFolder.out);
    }

    void folderThatIsNoBluRayIsRefused()
    {
        const Run run = DiscScan({m_folder.path()});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY(run.err.contains("not a Blu-ray folder"));
    }
};

TAVRIX_CORE_TEST_MAIN(DiscScanToolTest)
#include "DiscScanToolTest.moc"
