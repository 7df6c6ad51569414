// The window against the scripted engine: the commands it sends and the states it shows from
// start to end of a playback.
#include "common/ModalCloser.h"
#include "common/Owners.h"
#include "common/TestMain.h"
#include "common/WindowWithEngine.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "engine/ResumeStore.h"
#include "platform/AppDataFolder.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedLayout>
#include <QTimer>

#include <csignal>
#include <memory>

class PlaybackTest : public QObject, protected WindowWithEngine
{
    Q_OBJECT

private:
    // The engine's lines are read when it writes them; this gives the window the chance.
    void LetEngineTalk(int milliseconds = 300) { QTest::qWait(milliseconds); }

    // Polls whose own answers come late, so that what a test prints is what is awaited.
    void AwaitAnswers(int polls)
    {
        // Nothing is asked before the medium plays.
        QTRY_VERIFY(Owners::Session(Window()).MediumPlays());
        for (int poll = 0; poll < polls; ++poll) {
            Owners::Player(Window()).Poll();
        }
    }

private slots:
    void init() { MakeEngineAndWindow(); }

    void cleanup() { DropWindowAndEngine(); }

    void startSendsVolumeAndShowsThePlayingState()
    {
        const QString clip = m_engine->MakeMedia(QStringLiteral("a b.mkv"));
        Play(clip);
        WaitForCommand(QStringLiteral("volume 50 2"));
        QCOMPARE(
            m_engine->Commands().first(),
            QStringLiteral("ARGS -demuxer lavf -ni -slave -quiet -identify -wid %1 -vo xv,gl,x11, "
                           "-ass -lavdopts threads=4 -vf screenshot -af "
                           "channels=6,volume=5.1:1,scaletempo %2")
                .arg(DruiTestAccess::VideoSurface(Window())->winId())
                .arg(clip));
        QCOMPARE(Page(), int(DRUI::kVideoPage));
        QVERIFY(Owners::IsPlaying(Window()));
        QVERIFY(DruiTestAccess::SeekSlider(Window())->isEnabled());
        QVERIFY(Owners::PollTimer(Window())->isActive());
        QCOMPARE(Owners::PollTimer(Window())->interval(), 500);
        QCOMPARE(DruiTestAccess::PlayAction(Window())->data().toString(), QStringLiteral("Pause"));
        // The file name box follows what plays once the window repaints.
        Window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Window()));
        Window().repaint();
        QCOMPARE(DruiTestAccess::FileNameLabel(Window())->text(), QStringLiteral("    a b.mkv"));
        // A file has no navigation page to go back to, nor episodes.
        for (QAction *entry : DruiTestAccess::ControlsMenu(Window())->actions()) {
            QCOMPARE(entry->isEnabled(),
                     entry->isVisible() && entry->data() != QStringLiteral("Navigation"));
        }
    }

    // However the medium names itself, the title bar shows one line of plain text.
    void titleBarNamesTheMediumOnOneLine()
    {
        Play(m_engine->MakeMedia(QStringLiteral("two\nlines\t\x1b.mkv")), kSourceFile, 60);
        QTRY_VERIFY(Window().windowTitle().startsWith(QStringLiteral("two lines")));
        for (const QChar c : Window().windowTitle()) {
            QVERIFY(c.category() != QChar::Other_Control);
        }
    }

    // Where the medium was left, unless that is not before its end.
    void startPositionIsSoughtOnlyWhenSet_data()
    {
        QTest::addColumn<int>("leftAt");
        QTest::addColumn<int>("durationSec");
        QTest::addColumn<int>("seek"); // 0: none
        QTest::newRow("none") << 0 << 0 << 0;
        QTest::newRow("left before the end") << 4000 << 4001 << 4000;
        QTest::newRow("left at the end") << 4000 << 4000 << 0;
    }

    void startPositionIsSoughtOnlyWhenSet()
    {
        QFETCH(int, leftAt);
        QFETCH(int, durationSec);
        QFETCH(int, seek);
        m_engine->SetLength(5000);
        const QString film = m_engine->MakeMedia(QStringLiteral("film.mkv"));
        ResumeStore places(StateFolder() + QStringLiteral("resume.txt"));
        places.Forget(film);
        if (leftAt > 0) {
            QVERIFY(places.Remember(film, leftAt, 2 * leftAt));
        }
        Play(film, kSourceFile, durationSec);
        WaitForCommand(QStringLiteral("volume 50 2"));
        Sync();
        QCOMPARE(Seeks(), seek > 0 ? QStringList{QStringLiteral("seek %1 2").arg(seek)}
                                   : QStringList());
        QVERIFY(Owners::ElapsedMs(Window()) >= qint64(seek) * 1000);
    }

    // However it is opened again: the File menu, the command line, a drop, the running copy.
    void openingThePlayingFileTogglesPauseWithoutRestarting()
    {
        const QString clip = m_engine->MakeMedia(QStringLiteral("film.mkv"));
        Owners::OpenFiles(Window(), {clip});
        WaitForCommand(QStringLiteral("volume 50 2"));
        Owners::OpenFiles(Window(), {clip});
        WaitForCommand(QStringLiteral("pause"));
        QVERIFY(!Owners::IsPlaying(Window()));
        QVERIFY(!Owners::PollTimer(Window())->isActive());
        QCOMPARE(DruiTestAccess::PlayAction(Window())->data().toString(), QStringLiteral("Resume"));

        const int commandsWhilePaused = m_engine->Lines().size();
        Window().OpenFromDesktop({clip});
        QTRY_VERIFY(Owners::IsPlaying(Window()));
        QVERIFY(Owners::PollTimer(Window())->isActive());
        // Resuming sends nothing itself; the next poll ends the engine's pause.
        QCOMPARE(m_engine->Lines().mid(commandsWhilePaused).filter(QStringLiteral("pause")).size(),
                 0);
        QTRY_VERIFY(m_engine->Lines().size() > commandsWhilePaused);
        QCOMPARE(m_engine->Starts(), 1);
    }

    // Between answers the clock steps 507 ms a poll; each answer sets it to the engine's own
    // position.
    void clockStepsBetweenAnswersAndTakesTheEnginesPosition()
    {
        m_engine->DelayAnswers(1000);
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")));
        Owners::PollTimer(Window())->stop();
        LetEngineTalk();
        for (int tick = 0; tick < 10; ++tick) {
            Owners::Player(Window()).Poll();
        }
        QCOMPARE(Owners::ElapsedMs(Window()), qint64(5070));
        QTRY_VERIFY(Owners::ElapsedMs(Window()) < 5000);
        QCOMPARE(DruiTestAccess::ElapsedLabel(Window())->text(), QStringLiteral("00:00:00 "));
    }

    void sliderFollowsTheClockEveryFifthPositionAnswer()
    {
        m_engine->DelayAnswers(5000);
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")), kSourceFile, 100);
        Owners::PollTimer(Window())->stop();
        LetEngineTalk();
        QSlider *slider = DruiTestAccess::SeekSlider(Window());
        QSignalSpy answers(&Owners::Session(Window()), &EngineSession::PositionAnswered);
        AwaitAnswers(4);
        for (int answer = 1; answer <= 4; ++answer) {
            Owners::Session(Window()).Send("say ANS_TIME_POSITION=20.0\n");
        }
        QTRY_COMPARE(answers.size(), 4);
        QCOMPARE(slider->value(), 0);
        AwaitAnswers(1);
        Owners::Session(Window()).Send("say ANS_TIME_POSITION=20.0\n");
        QTRY_COMPARE(slider->value(), 20);
    }

    void dvdLearnsItsLengthFromTheFirstAnswerOnly()
    {
        m_engine->DelayAnswers(5000);
        Play(DvdFolder(), kSourceDvd);
        Owners::PollTimer(Window())->stop();
        LetEngineTalk();
        const Owners::LengthAnswers lengths(Window());
        EngineSession &engine = Owners::Session(Window());
        AwaitAnswers(2);
        engine.Send("say ANS_LENGTH=5400.00\n");
        QTRY_COMPARE(Owners::Chosen(Window()).durationSec, qint64(5400));
        QCOMPARE(DruiTestAccess::SeekSlider(Window())->maximum(), 5400);
        QCOMPARE(DruiTestAccess::TotalLabel(Window())->text(), QStringLiteral(" 01:30:00"));
        engine.Send("say ANS_LENGTH=5399.00\n");
        QTRY_COMPARE(lengths.Last(), 5399);
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(5400));
    }

    void fileLengthNeverComesFromTheEngine()
    {
        m_engine->DelayAnswers(5000);
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")), kSourceFile, 100);
        Owners::PollTimer(Window())->stop();
        const Owners::LengthAnswers lengths(Window());
        AwaitAnswers(1);
        Owners::Session(Window()).Send("say ANS_LENGTH=5400.00\n");
        QTRY_COMPARE(lengths.Last(), 5400);
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(100));
        // The clock never runs past the length.
        Owners::Player(Window()).SeekTo(200);
        QCOMPARE(Owners::ElapsedMs(Window()), qint64(100000));
    }

    // The ticks show what the engine answers it shows, a default subtitle included.
    void streamsFillTheTrackMenusWhenTheVideoStarts_data()
    {
        QTest::addColumn<QByteArray>("ids"); // the engine's own stream ids; empty: from 0
        QTest::addColumn<int>("shownSubtitle"); // its id
        QTest::addColumn<int>("ticked");        // the subtitle entry that shows it
        QTest::newRow("no subtitle shown") << QByteArray() << -1 << 0;
        QTest::newRow("a default subtitle shown") << QByteArray() << 0 << 1;
        QTest::newRow("a default subtitle shown, ids are a disc's PIDs")
            << QByteArray("4352,4353,4608,4354") << 4608 << 1;
    }

    void streamsFillTheTrackMenusWhenTheVideoStarts()
    {
        QFETCH(QByteArray, ids);
        QFETCH(int, shownSubtitle);
        QFETCH(int, ticked);
        // Audio announced after the first subtitle belongs to no menu.
        m_engine->SetStreams("aasa");
        m_engine->SetStreamIds(ids);
        m_engine->SetShownSubtitle(shownSubtitle);
        // Measured beforehand, the file's streams would be the probe's.
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")), kSourceFile, 60);
        WaitForCommand(QStringLiteral("pausing_keep_force get_property sub_demux"));
        const QList<QAction *> audio = DruiTestAccess::AudioTrackMenu(Window())->actions();
        QCOMPARE(audio.size(), 3);
        QCOMPARE(audio[0]->text(), QStringLiteral("Disable"));
        QCOMPARE(audio[2]->text(), QStringLiteral("Audio 2"));
        QCOMPARE(audio[2]->data().toInt(), 2);
        QVERIFY(audio[1]->isChecked());
        const QList<QAction *> subtitles = DruiTestAccess::SubtitleTrackMenu(Window())->actions();
        QCOMPARE(subtitles.size(), 2);
        QTRY_COMPARE(subtitles[ticked]->isChecked(), true);
        QVERIFY(!subtitles[1 - ticked]->isChecked());
    }

    void endOfFileReturnsToTheStartPage()
    {
        m_engine->SetLength(0.5);
        Play(m_engine->MakeMedia(QStringLiteral("short.mkv")), kSourceFile, 75);
        QTRY_VERIFY_WITH_TIMEOUT(!Owners::IsPlaying(Window()), 5000);
        QCOMPARE(Page(), int(DRUI::kStartPage));
        QVERIFY(Owners::IsStopped(Window()));
        QVERIFY(!Owners::PollTimer(Window())->isActive());
        QVERIFY(!DruiTestAccess::SeekSlider(Window())->isEnabled());
        QCOMPARE(DruiTestAccess::ElapsedLabel(Window())->text(), QStringLiteral("00:00:00 "));
        QCOMPARE(DruiTestAccess::TotalLabel(Window())->text(), QStringLiteral(" 00:01:15"));
        QCOMPARE(m_engine->Starts(), 1);
    }

    // Files opened together play on to the end of the batch; with the preference on, so does
    // every list. The last one's end is an end like any other; off, a file opened alone ends.
    void endOfFileGoesOnThroughThePlayListOnlyWhenChosen_data()
    {
        QTest::addColumn<bool>("wholeList");
        QTest::addColumn<bool>("together");
        QTest::addColumn<int>("plays");
        QTest::newRow("off, opened one by one") << false << false << 1;
        QTest::newRow("off, opened together") << false << true << 3;
        QTest::newRow("on, opened one by one") << true << false << 3;
    }

    void endOfFileGoesOnThroughThePlayListOnlyWhenChosen()
    {
        QFETCH(bool, wholeList);
        QFETCH(bool, together);
        QFETCH(int, plays);
        m_engine->SetLength(together ? 0.5 : 3600);
        Owners::Player(Window()).SetPlayWholeList(wholeList);
        const QStringList clips = {m_engine->MakeMedia(QStringLiteral("one.mkv")),
                                   m_engine->MakeMedia(QStringLiteral("two.mkv")),
                                   m_engine->MakeMedia(QStringLiteral("three.mkv"))};
        int setUp = 0; // starts before the one that counts
        if (together) {
            Owners::OpenFiles(Window(), clips);
        } else {
            // Each one opened by itself; then the first again, which plays to its end.
            for (const QString &clip : clips) {
                Owners::OpenFiles(Window(), {clip});
                ++setUp;
                QTRY_COMPARE(m_engine->Starts(), setUp);
            }
            m_engine->SetLength(0.5);
            Owners::OpenFiles(Window(), {clips[0]});
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_engine->Starts(), setUp + plays, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!Owners::IsPlaying(Window()), 5000);
        QTest::qWait(800);
        QCOMPARE(m_engine->Starts(), setUp + plays);
        QCOMPARE(Page(), int(DRUI::kStartPage));
        QStringList played;
        for (const QString &args :
             m_engine->Lines().filter(QRegularExpression(QStringLiteral("^ARGS ")))) {
            played.append(args.section(QLatin1Char(' '), -1));
        }
        QCOMPARE(played.mid(setUp), clips.mid(0, plays));
    }

    void stopQuitsTheEngineAndAllowsARestartOfTheSamePath_data()
    {
        QTest::addColumn<bool>("hung");
        QTest::newRow("an engine that leaves when told") << false;
        // Ended a short while after it was told, with everything it started.
        QTest::newRow("a hung engine") << true;
    }

    void stopQuitsTheEngineAndAllowsARestartOfTheSamePath()
    {
        QFETCH(bool, hung);
        if (hung) {
            m_engine->HangOnQuit();
        }
        const QString clip = m_engine->MakeMedia(QStringLiteral("film.mkv"));
        Play(clip);
        WaitForCommand(QStringLiteral("volume 50 2"));
        const auto pid = static_cast<pid_t>(Owners::EnginePid(Window()));
        Window().StopBtn();
        WaitForCommand(QStringLiteral("q"));
        QCOMPARE(Page(), int(DRUI::kStartPage));
        QCOMPARE(DruiTestAccess::ElapsedLabel(Window())->text(), QStringLiteral("00:00:00 "));
        QVERIFY(!DruiTestAccess::SeekSlider(Window())->isEnabled());
        // The engine's "(Quit)" then shows the play state.
        QTRY_VERIFY(!Owners::IsPlaying(Window()));
        QTRY_VERIFY_WITH_TIMEOUT(::kill(pid, 0) != 0, 5000);
        QTRY_VERIFY(Owners::EnginePid(Window()) == 0);
        Play(clip);
        QTRY_COMPARE(m_engine->Starts(), 2);
    }

    // Answers asked before a stop that come after it bring nothing of the medium back.
    void answersAfterAStopShowNothing()
    {
        m_engine->DelayAnswers(500);
        m_engine->HangOnQuit();
        Play(DvdFolder(), kSourceDvd);
        Owners::PollTimer(Window())->stop();
        AwaitAnswers(2);
        Window().StopBtn();
        // The hung engine is ended a while after its late answers came.
        QTRY_VERIFY_WITH_TIMEOUT(Owners::EnginePid(Window()) == 0, 5000);
        QCOMPARE(DruiTestAccess::ElapsedLabel(Window())->text(), QStringLiteral("00:00:00 "));
        QCOMPARE(DruiTestAccess::TotalLabel(Window())->text(), QStringLiteral(" 00:00:00"));
    }

    void anotherPathReplacesTheEngineWithoutAskingItToQuit()
    {
        Play(m_engine->MakeMedia(QStringLiteral("one.mkv")));
        WaitForCommand(QStringLiteral("volume 50 2"));
        const qint64 firstPid = Owners::EnginePid(Window());
        Play(m_engine->MakeMedia(QStringLiteral("two.mkv")));
        QTRY_COMPARE(m_engine->Starts(), 2);
        QVERIFY(!m_engine->Commands().contains(QStringLiteral("q")));
        QVERIFY(::kill(static_cast<pid_t>(firstPid), 0) != 0);
    }

    // What never played is not remembered among the recent files, and its row says it failed.
    void crashedEngineEndsThePlayback_data()
    {
        QTest::addColumn<int>("crashAfterMs");
        QTest::addColumn<bool>("played");
        QTest::newRow("while it plays") << 300 << true;
        QTest::newRow("before it played") << 0 << false;
    }

    void crashedEngineEndsThePlayback()
    {
        QFETCH(int, crashAfterMs);
        QFETCH(bool, played);
        m_engine->CrashAfter(crashAfterMs);
        QString shown;
        const auto closer = CloseMessageBoxes(shown);
        const QString film = m_engine->MakeMedia(played ? QStringLiteral("film.mkv")
                                                        : QStringLiteral("broken.mkv"));
        Owners::OpenFiles(Window(), {film});
        QTRY_VERIFY_WITH_TIMEOUT(!Owners::IsPlaying(Window()), 5000);
        QCOMPARE(Page(), int(DRUI::kStartPage));
        QVERIFY(!Owners::PollTimer(Window())->isActive());
        QVERIFY(!DruiTestAccess::SeekSlider(Window())->isEnabled());
        QTRY_COMPARE(shown.startsWith(GetText("Messages/MSG0503")), !played);
        QTRY_COMPARE(DruiTestAccess::PlayListTable(Window())->item(0, 0)->icon().isNull(), played);
        QCOMPARE(EntryWithData(DruiTestAccess::RecentMenu(Window()), film) != nullptr, played);
    }

    void crashWhilePausedAlsoEndsThePlayback()
    {
        m_engine->CrashAfter(600);
        const QString clip = m_engine->MakeMedia(QStringLiteral("film.mkv"));
        Play(clip);
        Play(clip);
        QVERIFY(!Owners::IsPlaying(Window()));
        QTRY_COMPARE_WITH_TIMEOUT(Page(), int(DRUI::kStartPage), 5000);
        QCOMPARE(DruiTestAccess::PlayAction(Window())->data().toString(), QStringLiteral("Play"));
        // The path is no longer loaded: playing it starts a new engine.
        m_engine->CrashAfter(-1);
        Play(clip);
        QTRY_COMPARE(m_engine->Starts(), 2);
    }

    void engineThatCannotStartIsReported()
    {
        qputenv("TAVRIX_ENGINE", "/nonexistent/engine");
        QString shownMessage;
        // The message box runs modally; a timer closes it from inside its own loop.
        const auto closer = CloseMessageBoxes(shownMessage);
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")));
        // The message names the program it could not start.
        QTRY_COMPARE(shownMessage, GetText("Messages/MSG0501") + "\n/nonexistent/engine");
        QVERIFY(!Owners::IsPlaying(Window()));
        QVERIFY(Owners::EnginePid(Window()) == 0);
        QVERIFY(!Owners::PollTimer(Window())->isActive());
        QCOMPARE(Page(), int(DRUI::kStartPage));
    }

    // The window never waits for the engine: a hung one is ended in the background.
    void closingTheWindowEndsTheEngine_data()
    {
        QTest::addColumn<bool>("throughFileClose");
        QTest::addColumn<bool>("hung");
        QTest::newRow("File, Close") << true << false;
        QTest::newRow("frame's close button") << false << false;
        QTest::newRow("an engine that hangs") << true << true;
    }

    void closingTheWindowEndsTheEngine()
    {
        QFETCH(bool, throughFileClose);
        QFETCH(bool, hung);
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")));
        WaitForCommand(QStringLiteral("volume 50 2"));
        const auto pid = static_cast<pid_t>(Owners::EnginePid(Window()));
        if (hung) {
            ::kill(pid, SIGSTOP);
        }
        QElapsedTimer closing;
        closing.start();
        if (throughFileClose) {
            Window().btnCloseSlot();
        } else {
            Window().close();
        }
        QVERIFY(closing.elapsed() < 1000);
        QVERIFY(Owners::EnginePid(Window()) == 0);
        QTRY_VERIFY_WITH_TIMEOUT(::kill(pid, 0) != 0, 5000);
        if (!hung) {
            QVERIFY(m_engine->Commands().contains(QStringLiteral("q")));
        }
    }

    void destroyingTheWindowEndsTheEngine()
    {
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")));
        WaitForCommand(QStringLiteral("volume 50 2"));
        const qint64 pid = Owners::EnginePid(Window());
        m_window.reset();
        QVERIFY(::kill(static_cast<pid_t>(pid), 0) != 0);
    }
};

TAVRIX_WIDGET_TEST_MAIN(PlaybackTest)
#include "PlaybackTest.moc"
