// Opening files and disc folders against the scripted engine: the play list they build, what
// plays, the recent menu and folders that are no disc.
#include "common/FakeProbe.h"
#include "common/Owners.h"
#include "common/MediaMaker.h"
#include "common/ModalCloser.h"
#include "common/TestMain.h"
#include "common/WindowWithEngine.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "look/Look.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <memory>

class SourcesTest : public QObject, protected WindowWithEngine
{
    Q_OBJECT

private:
    FakeProbe m_probe;

    QString Media(const QString &name) { return m_engine->MakeMedia(name); }

    QString DvdArgsEnd(const QString &folder) const
    {
        return QStringLiteral(" dvd://1 -dvd-device ") + folder;
    }

    // Waits for an engine started on that source.
    void WaitForStart(const QString &argumentsEnd, int starts)
    {
        QTRY_COMPARE_WITH_TIMEOUT(m_engine->Starts(), starts, 5000);
        QVERIFY2(LastArgs().endsWith(argumentsEnd), qPrintable(LastArgs()));
    }

    QStringList ListedPaths()
    {
        QStringList paths;
        for (const PLAY_LIST_INFO &entry : Owners::PlayList(Window())) {
            paths.append(entry.strPath);
        }
        return paths;
    }

    QTableWidget *Table() { return DruiTestAccess::PlayListTable(Window()); }

    // An image of a DVD folder, beside it: VIDEO_TS.IFO is all that tells a DVD image.
    QString DvdImage()
    {
        const QString folder = DvdFolder(QStringLiteral("IMAGED_DVD"));
        QFile ifo(folder + QStringLiteral("/VIDEO_TS/VIDEO_TS.IFO"));
        const QString image = folder + QStringLiteral(".iso");
        if (!ifo.open(QIODevice::WriteOnly) ||
            !MediaMaker::MakeDiscImage(folder, image, true, QStringLiteral("TESTDVD"))) {
            qWarning("no DVD image");
        }
        return image;
    }

    QStringList RecentData()
    {
        QStringList data;
        for (QAction *action : DruiTestAccess::RecentMenu(Window())->actions()) {
            data.append(action->data().toString());
        }
        return data;
    }

    // An entry of File, Recent Files.
    void RecentEntry(const QString &path)
    {
        QAction *entry = DruiTestAccess::RecentMenu(Window())->addAction(path);
        entry->setData(path);
        Pick(entry);
    }

private slots:
    void initTestCase() { QVERIFY(m_probe.Install()); }

    // A probe slower than the wait for it: once it reports, the streams it read replace those
    // the engine announced.
    void streamsOfALateProbeReplaceTheAnnounced()
    {
        QVERIFY(
            m_probe.Install("sleep 2\nstreams='{\"index\": 1, \"codec_type\": \"audio\", \"tags\": "
                            "{\"language\": \"ger\"}}'\n"));
        m_engine->SetStreams("aa");
        Owners::OpenFiles(Window(), {Media(QStringLiteral("late.mkv"))});
        QTRY_COMPARE_WITH_TIMEOUT(DruiTestAccess::AudioTrackMenu(Window())->actions().size(), 2,
                                  5000);
        QVERIFY(m_probe.Install());
    }

    void init() { MakeEngineAndWindow(36000); }

    void cleanup() { DropWindowAndEngine(); }

    void openFilesListsEachPathOnce_data()
    {
        QTest::addColumn<QList<QStringList>>("calls");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("playing");
        QTest::newRow("twice in one call and again later")
            << QList<QStringList>{{"a.mkv", "a.mkv"}, {"a.mkv"}} << QStringList{"a.mkv"} << "a.mkv";
        QTest::newRow("letter case makes another file")
            << QList<QStringList>{{"film.mkv"}, {"Film.mkv"}} << QStringList{"film.mkv", "Film.mkv"}
            << "Film.mkv";
        QTest::newRow("only the unlisted are added, in order")
            << QList<QStringList>{{"a.mkv", "b.mkv"}, {"c.mkv", "a.mkv", "d.mkv", "b.mkv"}}
            << QStringList{"a.mkv", "b.mkv", "c.mkv", "d.mkv"} << "c.mkv";
        QTest::newRow("the first of the call plays though listed")
            << QList<QStringList>{{"a.mkv", "b.mkv"}, {"b.mkv", "c.mkv", "a.mkv", "d.mkv"}}
            << QStringList{"a.mkv", "b.mkv", "c.mkv", "d.mkv"} << "b.mkv";
    }

    void openFilesListsEachPathOnce()
    {
        QFETCH(QList<QStringList>, calls);
        QFETCH(QStringList, listed);
        QFETCH(QString, playing);
        for (const QStringList &names : calls) {
            QStringList paths;
            for (const QString &name : names) {
                paths.append(Media(name));
            }
            Owners::OpenFiles(Window(), paths);
        }
        QStringList expected;
        for (const QString &name : listed) {
            expected.append(Media(name));
        }
        QCOMPARE(ListedPaths(), expected);
        QCOMPARE(Table()->rowCount(), listed.size());
        const QString playingPath = Media(playing);
        QCOMPARE(Owners::Chosen(Window()).path, playingPath);
        QTRY_VERIFY_WITH_TIMEOUT(LastArgs().endsWith(QLatin1Char(' ') + playingPath), 5000);

        const QImage mark = QIcon(QString::fromLatin1(Images::kPlayStatus)).pixmap(16).toImage();
        QVERIFY(!mark.isNull());
        for (int row = 0; row < listed.size(); ++row) {
            const QTableWidgetItem *item = Table()->item(row, 0);
            QVERIFY(item != nullptr);
            QCOMPARE(item->text(), QStringLiteral("    ") + listed[row]);
            QCOMPARE(Owners::PlayList(Window())[row].strDuration,
                     QStringLiteral("00:01:40"));
            if (listed[row] == playing) {
                QVERIFY2(!item->icon().isNull(), qPrintable(listed[row]));
                QCOMPARE(item->icon().pixmap(16).toImage(), mark);
            } else {
                QVERIFY2(item->icon().isNull(), qPrintable(listed[row]));
            }
        }
    }

    void doubleClickOnNoEntryDoesNothing_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("row past the end") << 1 << 0;
        QTest::newRow("column past the end") << 0 << 2;
        QTest::newRow("no row") << -1 << 0;
    }

    void doubleClickOnNoEntryDoesNothing()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        const QString file = Media(QStringLiteral("a.mkv"));
        Owners::OpenFiles(Window(), {file});
        WaitForCommand(QStringLiteral("volume 50 2"));
        const qint64 engine = Owners::EnginePid(Window());

        Window().PlayListItemDoubleClick(row, column);
        QVERIFY(!Owners::IsStopped(Window()));
        QCOMPARE(Owners::EnginePid(Window()), engine);
        QVERIFY(Owners::PollTimer(Window())->isActive());
        Sync();
        QVERIFY(!m_engine->Commands().contains(QStringLiteral("q")));
        QCOMPARE(m_engine->Starts(), 1);
    }

    void doubleClickOnAFileRowStartsThatFile_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("another file") << 1 << 0;
        QTest::newRow("another file, by its duration") << 1 << 1;
        QTest::newRow("the file playing, from its start") << 0 << 0;
    }

    void doubleClickOnAFileRowStartsThatFile()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        const QStringList files = {Media(QStringLiteral("a.mkv")), Media(QStringLiteral("b.mkv"))};
        Owners::OpenFiles(Window(), files);
        WaitForStart(QLatin1Char(' ') + files[0], 1);

        QCOMPARE(Table()->item(row, 1)->text(), QStringLiteral("00:01:40"));
        Window().PlayListItemDoubleClick(row, column);
        WaitForStart(QLatin1Char(' ') + files[row], 2);
        QCOMPARE(Owners::Chosen(Window()).path, files[row]);
        QVERIFY(Owners::IsPlaying(Window()));
        QCOMPARE(ListedPaths(), files);
        QVERIFY(!Table()->item(row, 0)->icon().isNull());
        QVERIFY(Table()->item(1 - row, 0)->icon().isNull());
    }

    void doubleClickOnADvdRowOpensTheFolderAsADisc()
    {
        const QString file = Media(QStringLiteral("a.mkv"));
        const QString dvd = DvdFolder();
        Owners::OpenFiles(Window(), {file});
        // Each engine logs its start before the next one replaces it.
        WaitForStart(QLatin1Char(' ') + file, 1);
        Owners::OpenDiscFolder(Window(), dvd);
        WaitForStart(DvdArgsEnd(dvd), 2);
        QCOMPARE(ListedPaths(), QStringList({file, dvd}));
        QCOMPARE(Owners::PlayList(Window())[1].nType, qint32(kSourceDvd));
        QCOMPARE(Table()->item(1, 0)->text(), QStringLiteral("    MY_DVD"));

        Window().PlayListItemDoubleClick(0, 0);
        WaitForStart(QLatin1Char(' ') + file, 3);
        Window().PlayListItemDoubleClick(1, 0);
        WaitForStart(DvdArgsEnd(dvd), 4);
        QCOMPARE(Owners::Chosen(Window()).kind, int(kSourceDvd));
        QCOMPARE(ListedPaths(), QStringList({file, dvd}));
        QVERIFY(!Table()->item(1, 0)->icon().isNull());
        QVERIFY(Table()->item(0, 0)->icon().isNull());
    }

    // What the desktop hands over opens as the File menu would: the files, else one folder as a
    // disc; a path that does not exist only gets the message.
    void openFromDesktop_data()
    {
        QTest::addColumn<QStringList>("names"); // "DVD" is a DVD folder, "gone" does not exist
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<bool>("reported");
        QTest::newRow("files; a folder among them is left")
            << QStringList{"a.mkv", "DVD", "b.mkv"} << QStringList{"a.mkv", "b.mkv"} << false;
        QTest::newRow("one disc folder") << QStringList{"DVD"} << QStringList{"DVD"} << false;
        QTest::newRow("only a path that does not exist")
            << QStringList{"gone"} << QStringList{} << true;
        QTest::newRow("a file and a path that does not exist")
            << QStringList{"gone", "a.mkv"} << QStringList{"a.mkv"} << true;
    }

    void openFromDesktop()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, listed);
        QFETCH(bool, reported);
        const auto pathOf = [this](const QString &name) {
            if (name == QLatin1String("DVD")) {
                return DvdFolder();
            }
            return name == QLatin1String("gone") ? QDir::temp().filePath(QStringLiteral("gone.mkv"))
                                                 : Media(name);
        };
        QStringList paths;
        for (const QString &name : names) {
            paths.append(pathOf(name));
        }
        QStringList expected;
        for (const QString &name : listed) {
            expected.append(pathOf(name));
        }
        QString shownMessage;
        const auto closer = CloseMessageBoxes(shownMessage);
        Window().OpenFromDesktop(paths);
        QTRY_COMPARE(m_engine->Starts(), listed.isEmpty() ? 0 : 1);
        QCOMPARE(ListedPaths(), expected);
        QCOMPARE(shownMessage.startsWith(GetText("Messages/MSG0506")), reported);
        QCOMPARE(shownMessage.contains(QStringLiteral("gone.mkv")), reported);
    }

    // The Open Disc chooser takes a disc's folder (here its own VIDEO_TS folder, which stands
    // for the disc) or an image; Open on any other folder looks into it.
    void discChooserOpensAFolderOrAnImage_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("its VIDEO_TS folder") << "VIDEO_TS";
        QTest::newRow("a DVD image") << "image";
        QTest::newRow("a folder of no disc") << "other";
    }

    void discChooserOpensAFolderOrAnImage()
    {
        QFETCH(QString, chosen);
        const QString dvd = DvdFolder();
        const QString image = DvdImage();
        const QString other = QFileInfo(dvd).path() + QStringLiteral("/NO_DISC");
        QVERIFY(QDir().mkpath(other));
        const QString path = chosen == QLatin1String("VIDEO_TS") ? dvd + "/VIDEO_TS"
                             : chosen == QLatin1String("image")  ? image
                                                                 : other;
        QString shownAfterOpen;
        const auto chooser = WhenModal<QFileDialog>([&](QFileDialog *files) {
            ChooseInFileDialog(files, path);
            if (files->isVisible()) {
                shownAfterOpen = files->directory().absolutePath();
                files->reject();
            }
        });
        Window().btnLoadBDPath();
        if (chosen == QLatin1String("other")) {
            QCOMPARE(shownAfterOpen, other);
            QTest::qWait(300);
            QCOMPARE(m_engine->Starts(), 0);
        } else {
            WaitForStart(DvdArgsEnd(chosen == QLatin1String("image") ? image : dvd), 1);
        }
    }

    // A probe that hangs holds nothing up: the first file plays without its length, Play pressed
    // during that wait is not undone when the wait ends, and closing the window ends at once with
    // no probe left behind.
    void hangingProbesNeitherHoldPlaybackNorOutliveTheWindow()
    {
        QTemporaryDir folder;
        const QString probe = folder.filePath(QStringLiteral("probe"));
        const QString pidFile = folder.filePath(QStringLiteral("pids"));
        QFile script(probe);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho $$ >> '" + QFile::encodeName(pidFile) + "'\nexec sleep 60\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray fakeProbe = qgetenv("TAVRIX_PROBE");
        qputenv("TAVRIX_PROBE", QFile::encodeName(probe));
        const QString a = Media(QStringLiteral("a.mkv"));
        Owners::Plays(Window()).OpenFiles({a});
        WaitForStart(QLatin1Char(' ') + a, 1);
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(0));

        Window().StopBtn();
        QVERIFY(QFile::remove(pidFile));
        Owners::Plays(Window()).OpenFiles({Media(QStringLiteral("b.mkv")), Media(QStringLiteral("c.mkv"))});
        Owners::Player(Window()).Start();
        QTest::qWait(1500);
        QVERIFY(Owners::IsPlaying(Window()));
        QCOMPARE(m_engine->Starts(), 2);
        qputenv("TAVRIX_PROBE", fakeProbe);
        // As many probes as cores, at most one a file; the first file's is among them again.
        const auto started = [&pidFile] {
            QFile pids(pidFile);
            return pids.open(QIODevice::ReadOnly) ? pids.readAll().trimmed().split('\n')
                                                  : QList<QByteArray>();
        };
        QTRY_COMPARE(started().size(), std::min(3, QThread::idealThreadCount()));
        QVERIFY(Owners::Plays(Window()).Measuring());

        QVERIFY(Window().close());
        QVERIFY(!Owners::Plays(Window()).Measuring());
        for (const QByteArray &pid : started()) {
            QTRY_VERIFY2(::kill(static_cast<pid_t>(pid.toLong()), 0) != 0 && errno == ESRCH,
                         "a probe outlived the window");
        }
    }

    void openingTheSameDvdAgainRestartsIt()
    {
        const QString dvd = DvdFolder();
        Owners::OpenDiscFolder(Window(), dvd);
        WaitForStart(DvdArgsEnd(dvd), 1);
        Owners::OpenDiscFolder(Window(), dvd);
        WaitForStart(DvdArgsEnd(dvd), 2);
        QVERIFY(Owners::IsPlaying(Window()));
        QCOMPARE(ListedPaths(), QStringList{dvd});
        QCOMPARE(Table()->rowCount(), 1);
    }

    // A DVD folder's clock starts where the probe says its first video file starts; an image's,
    // which no probe can read by a path, at zero. The engine's own figure counts for neither:
    // the disc's volume name can print a line of its shape first.
    void dvdClockStartsWhereTheProbeSays_data()
    {
        QTest::addColumn<bool>("image");
        QTest::addColumn<double>("engineStart"); // where the engine's positions start, seconds
        QTest::newRow("folder") << false << 100.0;
        QTest::newRow("image") << true << 0.0;
    }

    void dvdClockStartsWhereTheProbeSays()
    {
        QFETCH(bool, image);
        QFETCH(double, engineStart);
        QVERIFY(m_probe.Install(
            "case \"$path\" in */VIDEO_TS/VTS_01_1.VOB) start=100.000000;; esac\n"));
        m_engine->SetStartTime(engineStart);
        m_engine->SetVolumeName("MY_DVD\nID_START_TIME=5000.00");
        const QString dvd = image ? DvdImage() : DvdFolder();
        Owners::OpenDiscFolder(Window(), dvd);
        WaitForStart(DvdArgsEnd(dvd), 1);
        QTRY_VERIFY(!Owners::Plays(Window()).Measuring());
        // Answers that come after the probe's report.
        QSignalSpy answers(&Owners::Session(Window()), &EngineSession::PositionAnswered);
        QTRY_VERIFY_WITH_TIMEOUT(answers.size() >= 2, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(Owners::Session(Window()).ClockMs() >= 1000, 5000);
        QVERIFY2(Owners::Session(Window()).ClockMs() < 10000,
                 qPrintable(QString::number(Owners::Session(Window()).ClockMs())));
        QVERIFY(m_probe.Install());
    }

    // A DVD's row gets the engine's length; an image goes by the name it was written under.
    void dvdRowHasItsLengthAndItsName_data()
    {
        QTest::addColumn<bool>("image");
        QTest::addColumn<QString>("name");
        QTest::newRow("folder") << false << QStringLiteral("MY_DVD");
        QTest::newRow("image") << true << QStringLiteral("TESTDVD");
    }

    void dvdRowHasItsLengthAndItsName()
    {
        QFETCH(bool, image);
        QFETCH(QString, name);
        m_engine->SetLength(95);
        const QString dvd = image ? DvdImage() : DvdFolder();
        Owners::OpenDiscFolder(Window(), dvd);
        WaitForStart(DvdArgsEnd(dvd), 1);
        QTRY_COMPARE(Owners::PlayList(Window()).first().strDuration, QStringLiteral("00:01:35"));
        QTRY_COMPARE(Table()->item(0, 1)->text(), QStringLiteral("00:01:35"));
        QVERIFY(Window().windowTitle().startsWith(name + QStringLiteral(" \u2013 ")));
    }

    void folderThatIsNoDiscIsReportedAndStopsPlayback_data()
    {
        QTest::addColumn<QStringList>("inside");
        QTest::addColumn<bool>("exists");
        QTest::newRow("empty folder") << QStringList{} << true;
        QTest::newRow("folder of files") << QStringList{"a.mkv"} << true;
        QTest::newRow("BDMV without STREAM") << QStringList{"BDMV/PLAYLIST"} << true;
        QTest::newRow("folder that does not exist") << QStringList{} << false;
    }

    void folderThatIsNoDiscIsReportedAndStopsPlayback()
    {
        QFETCH(QStringList, inside);
        QFETCH(bool, exists);
        const QString file = Media(QStringLiteral("film.mkv"));
        Owners::OpenFiles(Window(), {file});
        WaitForCommand(QStringLiteral("volume 50 2"));

        const QString folder =
            QFileInfo(m_engine->LogPath()).absolutePath() + QStringLiteral("/NOT_A_DISC");
        if (exists) {
            QVERIFY(QDir().mkpath(folder));
        }
        for (const QString &entry : inside) {
            if (entry.endsWith(QStringLiteral(".mkv"))) {
                QFile media(folder + QLatin1Char('/') + entry);
                QVERIFY(media.open(QIODevice::WriteOnly));
            } else {
                QVERIFY(QDir().mkpath(folder + QLatin1Char('/') + entry));
            }
        }
        QString shownMessage;
        const auto closer = CloseMessageBoxes(shownMessage);
        Owners::OpenDiscFolder(Window(), folder);
        // The message names the folder chosen.
        QTRY_COMPARE(shownMessage,
                     GetText("Messages/MSG0102") + QLatin1Char('\n') + folder);
        QVERIFY(Owners::IsStopped(Window()));
        WaitForCommand(QStringLiteral("q"));
        QCOMPARE(ListedPaths(), QStringList{file});
        QCOMPARE(m_engine->Starts(), 1);
    }

    void nullPathDoesNothing()
    {
        Owners::OpenFiles(Window(), {Media(QStringLiteral("film.mkv"))});
        WaitForCommand(QStringLiteral("volume 50 2"));
        const qint64 engine = Owners::EnginePid(Window());
        QString shownMessage;
        const auto closer = CloseMessageBoxes(shownMessage);
        DruiTestAccess::OpenDiscFolder(Window(), QString());
        QVERIFY(!Owners::IsStopped(Window()));
        QCOMPARE(Owners::EnginePid(Window()), engine);
        Sync();
        QVERIFY(!m_engine->Commands().contains(QStringLiteral("q")));
        QVERIFY(shownMessage.isEmpty());
        QCOMPARE(Owners::PlayList(Window()).size(), 1);
    }

    void recentEntryOpensByItsKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder: opened as a disc") << "folder";
        QTest::newRow("image: opened as a disc") << "image";
        QTest::newRow("file: opened as a file") << "file";
    }

    void recentEntryOpensByItsKind()
    {
        QFETCH(QString, kind);
        const bool dvd = kind != QLatin1String("file");
        const QString playing = Media(QStringLiteral("playing.mkv"));
        Owners::OpenFiles(Window(), {playing});
        WaitForStart(QLatin1Char(' ') + playing, 1);

        const QString path = kind == QLatin1String("folder") ? DvdFolder()
                             : dvd                           ? DvdImage()
                                                             : Media(QStringLiteral("recent.mkv"));
        RecentEntry(path);
        WaitForStart(dvd ? DvdArgsEnd(path) : QLatin1Char(' ') + path, 2);
        QCOMPARE(ListedPaths(), QStringList({playing, path}));
        const PLAY_LIST_INFO &entry = Owners::PlayList(Window()).last();
        QCOMPARE(entry.nType, qint32(dvd ? kSourceDvd : kSourceFile));
        // Files are measured on the way in; DVD folders are not.
        QCOMPARE(entry.strDuration, dvd ? QString() : QStringLiteral("00:01:40"));
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(dvd ? 0 : 100));
    }

    // Recorded once the engine tells where it is in the medium.
    void everyStartIsRecordedInTheRecentMenu_data()
    {
        QTest::addColumn<bool>("dvd");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("file") << false << QStringLiteral("film.mkv") << QStringLiteral("film.mkv");
        QTest::newRow("DVD folder") << true << QString() << QString();
        // An ampersand in a name is no shortcut mark, and markup is no markup.
        QTest::newRow("name with an ampersand and markup")
            << false << QStringLiteral("<b>Tom & Jerry<br>.mkv")
            << QStringLiteral("<b>Tom && Jerry<br>.mkv");
    }

    void everyStartIsRecordedInTheRecentMenu()
    {
        QFETCH(bool, dvd);
        QFETCH(QString, name);
        QFETCH(QString, shown);
        const QString path = dvd ? DvdFolder() : Media(name);
        if (dvd) {
            Owners::OpenDiscFolder(Window(), path);
        } else {
            Owners::OpenFiles(Window(), {path});
        }
        QTRY_COMPARE(DruiTestAccess::RecentMenu(Window())->actions().first()->data().toString(),
                     path);
        const QList<QAction *> entries = DruiTestAccess::RecentMenu(Window())->actions();
        QVERIFY(entries.size() >= 2);
        QCOMPARE(entries.first()->text(), dvd ? path : path.chopped(name.size()) + shown);
        QCOMPARE(entries.last()->data().toString(), QStringLiteral("Clear Menu"));
    }

    void eleventhPathLeavesTenRecentEntries()
    {
        QStringList paths;
        for (int i = 1; i <= 11; ++i) {
            paths.append(Media(QStringLiteral("clip%1.mkv").arg(i)));
            Owners::OpenFiles(Window(), {paths.last()});
            QTRY_COMPARE(RecentData().value(0), paths.last());
        }
        QStringList expected;
        for (int i = 10; i >= 1; --i) {
            expected.append(paths[i]);
        }
        expected.append(QStringLiteral("Clear Menu"));
        QCOMPARE(RecentData(), expected);
    }
};

TAVRIX_WIDGET_TEST_MAIN(SourcesTest)
#include "SourcesTest.moc"
