// What the player reads from the engine's lines and how it builds the engine's command line.
#include "common/TestMain.h"

#include "playing/PlayListInfo.h"
#include "disc/EngineTitleMap.h"
#include "engine/EngineCommandLine.h"
#include "engine/EngineLineReader.h"
#include "engine/EngineOutput.h"

Q_DECLARE_METATYPE(EngineLine)

class EngineProtocolTest : public QObject
{
    Q_OBJECT

private slots:
    void classifiesLinesByTheirWholeShape_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<EngineLine>("kind");
        QTest::addColumn<int>("length");

        QTest::newRow("position") << QByteArray("ANS_TIME_POSITION=12.3\n")
                                  << EngineLine::TimePosition << 0;
        QTest::newRow("length") << QByteArray("ANS_LENGTH=6.01\n") << EngineLine::Length << 6;
        QTest::newRow("length with spaces")
            << QByteArray("ANS_LENGTH=  5400.00 \r\n") << EngineLine::Length << 5400;
        QTest::newRow("length unreadable")
            << QByteArray("ANS_LENGTH=abc\n") << EngineLine::Length << 0;
        QTest::newRow("length negative truncates toward zero")
            << QByteArray("ANS_LENGTH=-2.9\n") << EngineLine::Length << -2;
        QTest::newRow("length past int") << QByteArray("ANS_LENGTH=1e300\n") << EngineLine::Length
                                         << std::numeric_limits<int>::max();
        QTest::newRow("length not a number")
            << QByteArray("ANS_LENGTH=nan\n") << EngineLine::Length << 0;
        QTest::newRow("percent") << QByteArray("ANS_PERCENT_POSITION=5\n")
                                 << EngineLine::PercentPosition << 0;
        QTest::newRow("playing") << QByteArray("Playing /a b/clip.avi.\n") << EngineLine::Playing
                                 << 0;
        QTest::newRow("end of file")
            << QByteArray("Exiting... (End of file)\n") << EngineLine::EndOfFile << 0;
        QTest::newRow("quit") << QByteArray("Exiting... (Quit)\r\n") << EngineLine::Quit << 0;
        QTest::newRow("screenshot")
            << QByteArray("*** screenshot 'shot0001.png' ***\n") << EngineLine::Screenshot << 0;
        QTest::newRow("audio") << QByteArray("[lavf] stream 1: audio (mp2), -aid 0\n")
                               << EngineLine::AudioStream << 0;
        QTest::newRow("audio with language and title")
            << QByteArray("[lavf] stream 2: audio (vorbis), -aid 1, -alang ger, Director's")
            << EngineLine::AudioStream << 0;
        QTest::newRow("subtitle") << QByteArray("[lavf] stream 2: subtitle (srt), -sid 0\n")
                                  << EngineLine::SubtitleStream << 0;
        QTest::newRow("video") << QByteArray("VIDEO:  [MP4V]  320x240  24bpp  25.000 fps\n")
                               << EngineLine::VideoStarted << 0;
        QTest::newRow("dvd video")
            << QByteArray("VIDEO:  MPEG2  720x480  (aspect 3)  29.970 fps  8000.0 kbps")
            << EngineLine::VideoStarted << 0;

        QTest::newRow("dvd title")
            << QByteArray("ID_DVD_TITLE_2_LENGTH=8.000") << EngineLine::DvdTitleLength << 0;
        QTest::newRow("dvd title 0")
            << QByteArray("ID_DVD_TITLE_0_LENGTH=8.000") << EngineLine::Other << 0;
        QTest::newRow("dvd title 99, a disc's last")
            << QByteArray("ID_DVD_TITLE_99_LENGTH=8.000") << EngineLine::DvdTitleLength << 0;
        QTest::newRow("chapters") << QByteArray("CHAPTERS: 00:00:00.000,00:01:03.500,")
                                  << EngineLine::Chapters << 0;
        QTest::newRow("chapters running backwards")
            << QByteArray("CHAPTERS: 00:00:09.000,00:00:03.000,") << EngineLine::Other << 0;
        QTest::newRow("a chapter twice")
            << QByteArray("CHAPTERS: 00:00:03.000,00:00:03.000,") << EngineLine::Other << 0;
        // A medium's tags and file name are printed by the engine too: a marker inside a line
        // is not the engine speaking.
        QTest::newRow("tag holding a screenshot marker")
            << QByteArray(" title: XXXXXXXX/home/u/notes.odt'*** screenshot \n")
            << EngineLine::Other << 0;
        QTest::newRow("file name holding a screenshot line")
            << QByteArray("Playing a\n*** screenshot 'victim.txt' ***.mkv.\n") << EngineLine::Other
            << 0;
        QTest::newRow("screenshot without its closing marker")
            << QByteArray("*** screenshot 'shot0001.png") << EngineLine::Other << 0;
        QTest::newRow("screenshot line with more after its closing marker")
            << QByteArray("*** screenshot 'shot0001.png' ***.txt") << EngineLine::Other << 0;
        QTest::newRow("tag holding the end of file")
            << QByteArray(" title: Exiting... (End of file)\n") << EngineLine::Other << 0;
        QTest::newRow("quit inside a line")
            << QByteArray("Playing (Quit)\n") << EngineLine::Other << 0;
        QTest::newRow("audio stream with a subtitle id")
            << QByteArray("[lavf] stream 1: audio (mp2), -sid 0\n") << EngineLine::Other << 0;
        QTest::newRow("audio stream with a subtitle language")
            << QByteArray("[lavf] stream 1: audio (mp2), -aid 0, -slang eng") << EngineLine::Other
            << 0;
        QTest::newRow("subtitle stream with an audio language")
            << QByteArray("[lavf] stream 2: subtitle (srt), -sid 0, -alang eng")
            << EngineLine::Other << 0;
        QTest::newRow("chapter name holding an audio marker")
            << QByteArray("CHAPTER: 1, -aid 3\n") << EngineLine::Other << 0;
        QTest::newRow("video marker inside a line")
            << QByteArray(" comment: VIDEO:  [H264]  320x240\n") << EngineLine::Other << 0;
        QTest::newRow("answer not at start")
            << QByteArray(" ANS_LENGTH=5\n") << EngineLine::Other << 0;
        QTest::newRow("answer without its sign")
            << QByteArray("ANS_LENGTH5\n") << EngineLine::Other << 0;
        QTest::newRow("playing needs its blank")
            << QByteArray("Playing\n") << EngineLine::Other << 0;
        // A DVD's volume name can print it: where a medium's clock starts comes from the probe.
        QTest::newRow("start time") << QByteArray("ID_START_TIME=0.53\n") << EngineLine::Other << 0;
        QTest::newRow("empty") << QByteArray() << EngineLine::Other << 0;
    }

    void classifiesLinesByTheirWholeShape()
    {
        QFETCH(QByteArray, line);
        QFETCH(EngineLine, kind);
        QFETCH(int, length);
        const EngineEvent event = ClassifyEngineLine(line);
        QCOMPARE(event.kind, kind);
        QCOMPARE(event.lengthSeconds, length);
    }

    // A stream announcement names the engine's own id, and the language and title the medium
    // gives it; answers about the current tracks carry the id.
    void readsStreamDetails_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("id");
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QByteArray>("title");

        QTest::newRow("audio, bare") << QByteArray("[lavf] stream 1: audio (mp2), -aid 3") << 3
                                     << QByteArray() << QByteArray();
        QTest::newRow("audio, language and title")
            << QByteArray("[lavf] stream 2: audio (vorbis), -aid 1, -alang ger, Director's, cut")
            << 1 << QByteArray("ger") << QByteArray("Director's, cut");
        QTest::newRow("subtitle, language")
            << QByteArray("[lavf] stream 3: subtitle (srt), -sid 0, -slang fre") << 0
            << QByteArray("fre") << QByteArray();
        QTest::newRow("subtitle answer")
            << QByteArray("ANS_sub_demux=-1") << -1 << QByteArray() << QByteArray();
        QTest::newRow("audio answer")
            << QByteArray("ANS_switch_audio=2") << 2 << QByteArray() << QByteArray();
    }

    void readsStreamDetails()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, id);
        QFETCH(QByteArray, language);
        QFETCH(QByteArray, title);
        const EngineEvent event = ClassifyEngineLine(line);
        QVERIFY(event.kind != EngineLine::Other);
        QCOMPARE(event.streamId, id);
        QCOMPARE(event.language, language);
        QCOMPARE(event.title, title);
    }

    // Output in any chunking gives the same lines; an overlong line is dropped whole and the
    // lines around it survive.
    void cutsOutputIntoBoundedLines_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QList<QByteArray>>("lines");

        const QByteArray longest(EngineLineReader::kMaxLineBytes, 'x');
        QTest::newRow("plain") << QByteArray("ANS_LENGTH=6.01\r\nVIDEO: x\npartial")
                               << QList<QByteArray>{"ANS_LENGTH=6.01", "VIDEO: x"};
        QTest::newRow("longest line kept")
            << QByteArray("a\n" + longest + "\nb\n") << QList<QByteArray>{"a", longest, "b"};
        QTest::newRow("overlong line dropped")
            << QByteArray("a\n" + longest + "y\nb\n") << QList<QByteArray>{"a", "b"};
        QTest::newRow("endless line")
            << QByteArray(3 * EngineLineReader::kMaxLineBytes, 'z') << QList<QByteArray>{};
    }

    void cutsOutputIntoBoundedLines()
    {
        QFETCH(QByteArray, output);
        QFETCH(QList<QByteArray>, lines);
        for (const qsizetype chunk : {qsizetype(1), qsizetype(7), output.size() + 1}) {
            EngineLineReader reader;
            for (qsizetype at = 0; at < output.size(); at += chunk) {
                reader.Append(output.mid(at, chunk));
            }
            QList<QByteArray> read;
            while (const std::optional<QByteArray> line = reader.NextLine()) {
                read.append(*line);
            }
            QCOMPARE(read, lines);
        }
    }

    void holdsABoundedNumberOfLines()
    {
        EngineLineReader reader;
        for (int i = 0; i < EngineLineReader::kMaxHeldLines + 5; ++i) {
            reader.Append(QByteArray::number(i) + '\n');
        }
        QCOMPARE(reader.NextLine(), std::optional<QByteArray>("5"));
        int left = 1;
        while (reader.NextLine()) {
            ++left;
        }
        QCOMPARE(left, EngineLineReader::kMaxHeldLines);
    }

    void readsTheEnginesTitleList()
    {
        const QByteArray output = "ID_BLURAY_TITLES=4\n"
                                  "ID_BLURAY_TITLE_1_PLAYLIST=00004\n"
                                  "ID_BLURAY_TITLE_1_LENGTH=12.000\n"
                                  "ID_BLURAY_TITLE_2_PLAYLIST=00001\r\n"
                                  "ID_BLURAY_TITLE_3_PLAYLIST=00004\n"
                                  "ID_BLURAY_TITLE_x_PLAYLIST=00009\n"
                                  "ID_BLURAY_TITLE_4_PLAYLIST=\n"
                                  "noise ID_BLURAY_TITLE_5_PLAYLIST=00007\n";
        const std::map<QString, int> expected = {{"00004", 1}, {"00001", 2}};
        QCOMPARE(ParseEngineTitleList(output), expected);
        QCOMPARE(PlaylistNumber(QStringLiteral("/media/MY DISC/BDMV/PLAYLIST/00004.mpls")),
                 QStringLiteral("00004"));
    }

    // A playlist the engine leaves out as a copy plays as the listed one with the same clips
    // and times; one with other content has no engine number at all.
    void mapsPlaylistsToTheEnginesTitles_data()
    {
        QTest::addColumn<QString>("playlist");
        QTest::addColumn<int>("number"); // -1: none

        QTest::newRow("listed") << "00001" << 2;
        QTest::newRow("left out, same content as a listed one") << "00004" << 2;
        QTest::newRow("left out, other in time") << "00005" << -1;
        QTest::newRow("left out, one item fewer") << "00006" << -1;
        QTest::newRow("left out, other clip") << "00007" << -1;
        QTest::newRow("left out, other duration") << "00008" << -1;
        QTest::newRow("not scanned") << "00009" << -1;
    }

    void mapsPlaylistsToTheEnginesTitles()
    {
        QFETCH(QString, playlist);
        QFETCH(int, number);
        const auto item = [](const char *clip, qint64 inMs, qint64 durationMs) {
            PlayItemRecord record;
            record.clipName = QString::fromLatin1(clip);
            record.inMs = inMs;
            record.durationMs = durationMs;
            return record;
        };
        const QVector<PlayItemRecord> main = {item("00001.M2TS", 0, 12000),
                                              item("00002.M2TS", 500, 3000)};
        std::map<QString, QVector<PlayItemRecord>> items = {
            {"00001", main}, {"00004", main}, {"00003", {item("00003.M2TS", 0, 4000)}}};
        items["00005"] = {item("00001.M2TS", 1, 12000), item("00002.M2TS", 500, 3000)};
        items["00006"] = {main.first()};
        items["00007"] = {main.first(), item("00003.M2TS", 500, 3000)};
        items["00008"] = {main.first(), item("00002.M2TS", 500, 3001)};
        const std::map<QString, int> engine = {{"00003", 1}, {"00001", 2}};
        const std::optional<int> found = EngineTitleFor(playlist, engine, items);
        QCOMPARE(found.value_or(-1), number);
    }

    void commandLineEndsBySourceKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("titleChosen");
        QTest::addColumn<int>("titleNumber"); // -1: none known
        QTest::addColumn<QStringList>("ending");

        const QString path = QStringLiteral("/media/my disc");
        const QString filter = QStringLiteral("channels=6,volume=5.1:1,scaletempo");
        QTest::newRow("file") << int(kSourceFile) << false << -1 << QStringList{filter, path};
        QTest::newRow("dvd") << int(kSourceDvd) << false << -1
                             << QStringList{filter, "dvd://1", "-dvd-device", path};
        QTest::newRow("dvd title picked")
            << int(kSourceDvd) << true << 2 << QStringList{filter, "dvd://2", "-dvd-device", path};
        QTest::newRow("blu-ray main title")
            << int(kSourceBluRay) << false << 7
            << QStringList{filter, "br://0", "-bluray-device", path};
        QTest::newRow("blu-ray picked title")
            << int(kSourceBluRay) << true << 3
            << QStringList{filter, "br://3", "-bluray-device", path};
        QTest::newRow("blu-ray picked title without number")
            << int(kSourceBluRay) << true << -1 << QStringList{filter, path};
    }

    void commandLineEndsBySourceKind()
    {
        QFETCH(int, kind);
        QFETCH(bool, titleChosen);
        QFETCH(int, titleNumber);
        QFETCH(QStringList, ending);
        EngineLaunch launch;
        launch.windowId = 4194342;
        launch.sourceKind = kind;
        launch.titleChosen = titleChosen;
        if (titleNumber >= 0) {
            launch.titleNumber = titleNumber;
        }
        launch.path = QStringLiteral("/media/my disc");
        const QStringList arguments = BuildEngineArguments(launch);
        const QStringList opening = {"-demuxer",  "lavf",       "-ni",        "-slave",
                                     "-quiet",    "-identify",  "-wid",       "4194342",
                                     "-vo",       "xv,gl,x11,", "-ass",       "-lavdopts",
                                     "threads=4", "-vf",        "screenshot", "-af"};
        QCOMPARE(arguments.mid(0, opening.size()), opening);
        QCOMPARE(arguments.mid(opening.size()), ending);
    }
};

TAVRIX_CORE_TEST_MAIN(EngineProtocolTest)
#include "EngineProtocolTest.moc"
