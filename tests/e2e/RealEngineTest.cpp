// The window with the real engine (MPlayer) and the real probe (ffprobe) on media made here.
#include "common/DruiTestAccess.h"
#include "common/Owners.h"
#include "common/MediaMaker.h"
#include "common/ModalCloser.h"
#include "common/TestMain.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "engine/Snapshots.h"
#include "platform/AppDataFolder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStackedLayout>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <memory>

class RealEngineTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_media;
    QString m_shortClip;
    QString m_longerClip;
    QString m_dvdFolder;
    std::unique_ptr<DRUI> m_window;
    QList<qint64> m_enginePids;

    DRUI &Window() { return *m_window; }
    int Page() { return DruiTestAccess::PageStack(Window())->currentIndex(); }

    void NoteEngine()
    {
        if (const qint64 pid = Owners::EnginePid(Window())) {
            m_enginePids.append(pid);
        }
    }

private slots:
    void initTestCase()
    {
        qunsetenv("TAVRIX_ENGINE");
        qunsetenv("TAVRIX_PROBE");
        // The engine's option parser splits at commas and colons: the per-user folder, where
        // the engine writes its pictures, has both.
        qputenv("XDG_CONFIG_HOME",
                QFile::encodeName(m_media.filePath(QStringLiteral("my, config: here"))));
        m_shortClip = m_media.filePath(QStringLiteral("short clip.avi"));
        m_longerClip = m_media.filePath(QStringLiteral("longer clip.avi"));
        m_dvdFolder = m_media.filePath(QStringLiteral("DVD"));
        QVERIFY(MediaMaker::MakeClip(m_shortClip, 3));
        QVERIFY(MediaMaker::MakeClip(m_longerClip, 5));
        QVERIFY(MediaMaker::MakeDvdFolder(m_dvdFolder, 4));
    }

    void init()
    {
        m_window = std::make_unique<DRUI>();
        m_window->SetUpWindow();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        // No engine outlives the window that drove it.
        for (const qint64 pid : m_enginePids) {
            QVERIFY2(::kill(static_cast<pid_t>(pid), 0) != 0, "an engine outlived its window");
        }
        m_enginePids.clear();
    }

    void clipPlaysPausesResumesAndEnds()
    {
        const Owners::LengthAnswers lengths(Window());
        Owners::OpenFiles(Window(), {m_shortClip});
        NoteEngine();
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(3));
        QCOMPARE(Page(), int(DRUI::kVideoPage));
        QTRY_COMPARE_WITH_TIMEOUT(lengths.Last(), 3, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 1000, 5000);

        Owners::Player(Window()).Start();
        QVERIFY(!Owners::IsPlaying(Window()));
        // An answer asked for before the pause may still come and set the clock; then it stays.
        QTest::qWait(300);
        const qint64 pausedAt = Owners::ElapsedMs(Window());
        QTest::qWait(1500);
        QCOMPARE(Owners::ElapsedMs(Window()), pausedAt);
        QVERIFY(Owners::EnginePid(Window()) != 0);

        Owners::Player(Window()).Start();
        QVERIFY(Owners::IsPlaying(Window()));
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) > pausedAt, 5000);
        // "(End of file)" brings the start page back with the play image.
        QTRY_COMPARE_WITH_TIMEOUT(Page(), int(DRUI::kStartPage), 15000);
        QVERIFY(!Owners::IsPlaying(Window()));
        QCOMPARE(DruiTestAccess::PlayAction(Window())->data().toString(), QStringLiteral("Play"));
    }

    void twoClipsGetTheirDurationsAndNextPlaysTheSecond()
    {
        const Owners::LengthAnswers lengths(Window());
        Owners::OpenFiles(Window(), {m_shortClip, m_longerClip});
        NoteEngine();
        const QVector<PLAY_LIST_INFO> &list = Owners::PlayList(Window());
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].strDuration, QStringLiteral("00:00:03"));
        QCOMPARE(list[1].strDuration, QStringLiteral("00:00:05"));
        QCOMPARE(DruiTestAccess::PlayListTable(Window())->rowCount(), 2);
        QCOMPARE(DruiTestAccess::PlayListTable(Window())->item(1, 0)->text(),
                 QStringLiteral("    longer clip.avi"));
        QTRY_COMPARE_WITH_TIMEOUT(lengths.Last(), 3, 10000);

        Window().PlayNext();
        NoteEngine();
        QCOMPARE(Owners::Chosen(Window()).path, m_longerClip);
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(5));
        QTRY_COMPARE_WITH_TIMEOUT(lengths.Last(), 5, 10000);
        QCOMPARE(Owners::PlayList(Window()).size(), 2);
    }

    // Playback does not wait for a long batch to be measured: the first file plays while the
    // rest are still being probed, and then every row has its duration.
    void threeHundredClipsPlayAtOnceAndAllGetTheirDurations()
    {
        QStringList clips;
        for (int i = 0; i < 300; ++i) {
            clips.append(m_media.filePath(QStringLiteral("batch %1.avi").arg(i)));
            QVERIFY(QFile::copy(i % 2 == 0 ? m_shortClip : m_longerClip, clips.last()));
        }
        Owners::Plays(Window()).OpenFiles(clips);
        QTRY_VERIFY_WITH_TIMEOUT(Owners::IsPlaying(Window()), 10000);
        NoteEngine();
        QVERIFY(Owners::Plays(Window()).Measuring());
        QCOMPARE(Owners::Chosen(Window()).path, clips.first());
        QTRY_COMPARE_WITH_TIMEOUT(Owners::Chosen(Window()).durationSec, qint64(3), 10000);
        // The rows come once the engine has started on the first of them.
        QTRY_COMPARE_WITH_TIMEOUT(DruiTestAccess::PlayListTable(Window())->rowCount(), 300, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!Owners::Plays(Window()).Measuring(), 120000);
        const QVector<PLAY_LIST_INFO> &list = Owners::PlayList(Window());
        for (int i = 0; i < 300; ++i) {
            const QString expected = QString::fromLatin1(i % 2 == 0 ? "00:00:03" : "00:00:05");
            QCOMPARE(list[i].strDuration, expected);
            QCOMPARE(DruiTestAccess::PlayListTable(Window())->item(i, 1)->text(), expected);
        }
        for (const QString &clip : clips) {
            QVERIFY(QFile::remove(clip));
        }
    }

    void dvdFolderPlaysAndLearnsItsLength()
    {
        Owners::OpenDiscFolder(Window(), m_dvdFolder);
        NoteEngine();
        QCOMPARE(Owners::Chosen(Window()).kind, int(kSourceDvd));
        QCOMPARE(Owners::Session(Window()).Arguments().last(3),
                 QStringList({"dvd://1", "-dvd-device", m_dvdFolder}));
        QTRY_VERIFY_WITH_TIMEOUT(Owners::Chosen(Window()).durationSec >= 3, 15000);
        QCOMPARE(DruiTestAccess::SeekSlider(Window())->maximum(),
                 int(Owners::Chosen(Window()).durationSec));
        QCOMPARE(Owners::PlayList(Window()).size(), 1);
        QCOMPARE(Owners::PlayList(Window())[0].nType, int(kSourceDvd));
    }

    // A DVD's titles and chapters come from the engine's own lists: a title plays as itself,
    // and a chapter is sought to.
    void dvdTitlesAndChaptersFromTheEngine()
    {
        const QString dvd = m_media.filePath(QStringLiteral("TWO TITLES"));
        QVERIFY(MediaMaker::MakeDvdWithTwoTitles(dvd));
        Owners::OpenDiscFolder(Window(), dvd);
        NoteEngine();
        QMenu *titles = DruiTestAccess::TitleMenu(Window());
        QMenu *chapters = DruiTestAccess::ChapterMenu(Window());
        QTRY_COMPARE_WITH_TIMEOUT(titles->actions().size(), 2, 15000);
        QCOMPARE(titles->actions().at(1)->text(), QStringLiteral("2. 00:00:08"));
        QCOMPARE(chapters->actions().size(), 3);

        Pick(titles->actions().at(1));
        NoteEngine();
        QCOMPARE(Owners::Session(Window()).Arguments().last(3),
                 QStringList({"dvd://2", "-dvd-device", dvd}));
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(8));
        QTRY_COMPARE_WITH_TIMEOUT(chapters->actions().size(), 2, 15000);
        QCOMPARE(chapters->actions().at(1)->text(), QStringLiteral("2. 00:00:03"));

        Pick(chapters->actions().at(1));
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 3000, 5000);
        QCOMPARE(Owners::Session(Window()).Arguments().last(3).first(),
                 QStringLiteral("dvd://2"));
    }

    // A long film stopped in the middle starts there again, in a new window as after a restart;
    // Start Over goes back to the beginning and forgets the place.
    void stoppedFilmResumesWhereItWasLeft()
    {
        const QString film = m_media.filePath(QStringLiteral("long film.avi"));
        QVERIFY(MediaMaker::MakeClip(film, 240, QStringLiteral("160x120")));
        Owners::OpenFiles(Window(), {film});
        NoteEngine();
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 1000, 10000);
        Owners::Player(Window()).SeekTo(100);
        QTest::qWait(2000);
        const qint64 leftAt = Owners::ElapsedMs(Window()) / 1000;
        QVERIFY(leftAt >= 99);
        Window().StopBtn();

        init();
        Owners::OpenFiles(Window(), {film});
        NoteEngine();
        QTest::qWait(2500);
        const qint64 resumedAt = Owners::ElapsedMs(Window()) / 1000;
        QVERIFY2(
            resumedAt >= leftAt - 1 && resumedAt <= leftAt + 4,
            qPrintable(QStringLiteral("left at %1, resumed at %2").arg(leftAt).arg(resumedAt)));

        QAction *startOver = nullptr;
        for (QAction *entry : DruiTestAccess::ControlsMenu(Window())->actions()) {
            if (entry->data().toString() == QLatin1String("StartOver")) {
                startOver = entry;
            }
        }
        QVERIFY(startOver != nullptr);
        Pick(startOver);
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) < 5000, 5000);
        Window().StopBtn();
        init();
        Owners::OpenFiles(Window(), {film});
        NoteEngine();
        QTest::qWait(1500);
        QVERIFY(Owners::ElapsedMs(Window()) < 10000);
    }

    void snapshotSavesTheVideoPictureInTheSnapshotFolder()
    {
        const QString clip = m_media.filePath(QStringLiteral("long clip.avi"));
        QVERIFY(MediaMaker::MakeClip(clip, 20));
        Owners::OpenFiles(Window(), {clip});
        NoteEngine();
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 1000, 10000);
        Pick(DruiTestAccess::SnapshotAction(Window()));

        const QDir snapshots(Snapshots::DefaultFolder());
        QTRY_COMPARE_WITH_TIMEOUT(snapshots.entryList(QDir::Files).size(), 1, 10000);
        const QString saved = snapshots.entryList(QDir::Files).first();
        QVERIFY2(saved.startsWith(QStringLiteral("Snapshot-")) && saved.endsWith(".JPG"),
                 qPrintable(saved));
        QImage picture;
        QVERIFY(picture.load(snapshots.filePath(saved), "JPEG"));
        QCOMPARE(picture.size(), QSize(320, 240));
        // The engine's own file is gone.
        QTRY_VERIFY(QDir(AppDataFolder()).entryList({QStringLiteral("*.png")}).isEmpty());
    }

    // A medium's tags and file name reach the engine's output, line breaks and all: lines of
    // exactly the engine's own shapes must neither touch a file nor stop playback, while a
    // snapshot the user asks for still works.
    void craftedClipTouchesNothingAndPlaysOn()
    {
        const Owners::LengthAnswers lengths(Window());
        const QString victim = m_media.filePath(QStringLiteral("notes.odt"));
        const QString unasked = AppDataFolder() + QStringLiteral("shot0001.png");
        for (const QString &file : {victim, unasked}) {
            QFile keep(file);
            QVERIFY(EnsureFolderExists(AppDataFolder()) && keep.open(QIODevice::WriteOnly));
            keep.write("keep me");
        }
        const QString title =
            QStringLiteral("XXXXXXXX") + victim +
            QStringLiteral("'*** screenshot \n*** screenshot '") + victim +
            QStringLiteral("' ***\nExiting... (End of file)\n"
                           "*** screenshot 'shot0001.png' ***\nExiting... (Quit)\n"
                           "ID_START_TIME=3000.0\nStarting playback...\nANS_LENGTH=99999.0\n"
                           "ANS_TIME_POSITION=99999.0");
        const QString clip = m_media.filePath(
            QStringLiteral("a\n*** screenshot 'notes.odt' ***\nExiting... (Quit)\n-x, y.mkv"));
        const QString streamTitle =
            QStringLiteral("x\n[lavf] stream 9: audio (ac3), -aid 7, -alang fre, INJECTED");
        QVERIFY(MediaMaker::Run(
            QStringLiteral("ffmpeg"),
            {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f",
             "lavfi", "-i", "sine", "-t", "8", "-metadata", "title=" + title,
             "-metadata:s:a:0", "title=" + streamTitle, clip}));
        QDir::setCurrent(m_media.path());

        Owners::OpenFiles(Window(), {clip});
        NoteEngine();
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 2500, 10000);
        // The clock is the medium's own: no tag set where it starts or how long it is.
        QVERIFY(Owners::ElapsedMs(Window()) < 8000);
        QCOMPARE(lengths.Last(), 8);
        QVERIFY(Owners::EnginePid(Window()) != 0);
        QVERIFY(Owners::IsPlaying(Window()));
        QCOMPARE(Page(), int(DRUI::kVideoPage));
        // The one audio stream the file has, named as the probe read it.
        const QList<QAction *> audio = DruiTestAccess::AudioTrackMenu(Window())->actions();
        QCOMPARE(audio.size(), 2);
        QVERIFY2(audio.last()->text().endsWith(QStringLiteral(" x")), qPrintable(audio.last()->text()));

        Window().Snapshot();
        const QDir snapshots(Snapshots::DefaultFolder());
        QTRY_COMPARE_WITH_TIMEOUT(snapshots.entryList(QDir::Files).size(), 1, 10000);
        for (const QString &file : {victim, unasked}) {
            QFile kept(file);
            QVERIFY2(kept.open(QIODevice::ReadOnly) && kept.readAll() == "keep me",
                     qPrintable(file));
        }
        QVERIFY(QFile::remove(unasked));
        QVERIFY(QDir(snapshots).removeRecursively());
    }

    // Speed, both delays and a loaded subtitle file reach the engine, which says so when asked.
    // The engine's output is copied to a log by a
    // wrapper, since the player reads only the answers it awaits.
    // Tag names that ffmpeg's human report prints unescaped, as a duration line and a stream
    // of their own: in the probe's JSON report they stay tag names, so the file is measured as
    // its 3 s from its true start, with its one audio stream.
    void forgedTagNamesTellTheProbeNothing()
    {
        const QString clip = m_media.filePath(QStringLiteral("forged.mp4"));
        const QString forgedDuration =
            QStringLiteral("x\n  Duration: 10:00:00.00, start: 3600.000000, bitrate: 1 kb/s\ny");
        const QString forgedStream = QStringLiteral(
            "x\n  Stream #0:5(fre): Audio: ac3\n      title           : INJECTED FAKE TRACK\ny");
        QVERIFY(MediaMaker::Run(
            QStringLiteral("ffmpeg"),
            {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f",
             "lavfi", "-i", "sine", "-t", "3", "-movflags", "use_metadata_tags", "-metadata",
             forgedDuration + "=v", "-metadata", forgedStream + "=v", clip}));
        QProcess human;
        human.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-i", clip});
        QVERIFY(human.waitForFinished(30000));
        const QByteArray report = human.readAllStandardError();
        QVERIFY2(report.contains("\n  Duration: 10:00:00.00, start: 3600.000000,") &&
                     report.contains("\n  Stream #0:5(fre): Audio: ac3\n"),
                 "the human report does not show the forged lines");

        Owners::OpenFiles(Window(), {clip});
        NoteEngine();
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(3));
        QMenu *audio = DruiTestAccess::AudioTrackMenu(Window());
        QTRY_VERIFY_WITH_TIMEOUT(!audio->actions().isEmpty(), 10000);
        QCOMPARE(audio->actions().size(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 1000, 10000);
    }

    void speedDelaysAndSubtitleFileReachTheEngine()
    {
        const QString clip = m_media.filePath(QStringLiteral("blue.mkv"));
        QVERIFY(MediaMaker::Run(QStringLiteral("ffmpeg"),
                                {"-v", "error", "-y", "-f", "lavfi", "-i",
                                 "color=c=blue:size=320x240:rate=25", "-f", "lavfi", "-i", "sine",
                                 "-t", "30", "-c:v", "mpeg4", "-c:a", "mp2", clip}));
        const QString subtitles = m_media.filePath(QStringLiteral("words, here.srt"));
        QFile words(subtitles);
        QVERIFY(words.open(QIODevice::WriteOnly));
        words.write("1\n00:00:00,000 --> 00:01:00,000\nHELLO HELLO HELLO\n");
        words.close();
        const QString log = m_media.filePath(QStringLiteral("engine.log"));
        const QString wrapper = m_media.filePath(QStringLiteral("engine"));
        QFile script(wrapper);
        QVERIFY(script.open(QIODevice::WriteOnly));
        // A null sound output: a machine without a sound device has no audio delay to set.
        script.write("#!/bin/sh\nmplayer -ao null \"$@\" | tee -a \"$ENGINE_LOG\"\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("ENGINE_LOG", QFile::encodeName(log));
        qputenv("TAVRIX_ENGINE", QFile::encodeName(wrapper));

        Owners::OpenFiles(Window(), {clip});
        NoteEngine();
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 1000, 10000);
        const auto choose = [](QMenu *menu, const QString &data, auto handler) {
            for (QAction *entry : menu->actions()) {
                if (entry->data().toString() == data) {
                    handler(entry);
                    return;
                }
            }
            QFAIL(qPrintable(data));
        };
        const auto controls = [](QAction *a) { Pick(a); };
        const auto audio = [](QAction *a) { Pick(a); };
        const auto video = [](QAction *a) { Pick(a); };
        choose(DruiTestAccess::ControlsMenu(Window()), QStringLiteral("Faster"), controls);
        choose(DruiTestAccess::ControlsMenu(Window()), QStringLiteral("Faster"), controls);
        choose(DruiTestAccess::AudioMenu(Window()), QStringLiteral("AudioDelayUp"), audio);
        choose(DruiTestAccess::AudioMenu(Window()), QStringLiteral("AudioDelayUp"), audio);
        choose(DruiTestAccess::VideoMenu(Window()), QStringLiteral("SubtitleDelayDown"), video);
        DruiTestAccess::LoadSubtitleFrom(Window(), subtitles);

        QVERIFY(Owners::Session(Window()).Send("get_property speed\nget_property audio_delay\n"
                                               "get_property sub_delay\nget_property sub_file\n"));
        const auto said = [&log] {
            QFile file(log);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        for (const QByteArray &answer : {QByteArray("ANS_speed=1.210000"),
                                        QByteArray("ANS_audio_delay=0.200000"),
                                        QByteArray("ANS_sub_delay=-0.100000"),
                                        QByteArray("ANS_sub_file=0")}) {
            QTRY_VERIFY2_WITH_TIMEOUT(said().contains(answer), said().right(600).constData(), 10000);
        }
        // The file's entry is the one ticked.
        QMenu *subtitleMenu = DruiTestAccess::SubtitleTrackMenu(Window());
        QTRY_VERIFY_WITH_TIMEOUT(subtitleMenu->actions().last()->isChecked(), 5000);
        QCOMPARE(subtitleMenu->actions().last()->text(), QStringLiteral("words, here.srt"));
        qunsetenv("TAVRIX_ENGINE");
    }

    // A transport stream whose own clock starts at 100 s: a drag of the handle and a short step
    // land where asked, and playback goes on.
    void dragAndStepLandOnAMediumThatDoesNotStartAtZero()
    {
        const QString stream = m_media.filePath(QStringLiteral("offset.ts"));
        QVERIFY(MediaMaker::Run(QStringLiteral("ffmpeg"),
                                {"-v", "error", "-y", "-f", "lavfi", "-i",
                                 "testsrc=size=320x240:rate=25", "-t", "40", "-c:v", "mpeg2video",
                                 "-g", "5", "-output_ts_offset", "100", stream}));
        Owners::OpenFiles(Window(), {stream});
        NoteEngine();
        QSlider *slider = DruiTestAccess::SeekSlider(Window());
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 1000, 10000);
        QVERIFY(Owners::ElapsedMs(Window()) < 10000);

        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = slider->sliderPosition();
        const QPoint handle =
            slider->style()
                ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
                .center();
        const auto send = [slider](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
            QMouseEvent event(type, at, slider->mapToGlobal(at), Qt::LeftButton, held, {});
            QApplication::sendEvent(slider, &event);
        };
        const QPoint dropped(handle.x() + slider->width() / 2, handle.y());
        send(QEvent::MouseButtonPress, handle, Qt::LeftButton);
        send(QEvent::MouseMove, QPoint(handle.x() + 20, handle.y()), Qt::LeftButton);
        send(QEvent::MouseMove, dropped, Qt::LeftButton);
        const int target = slider->sliderPosition();
        QVERIFY2(target >= 15, "the handle did not follow the pointer");
        send(QEvent::MouseButtonRelease, dropped, Qt::NoButton);
        // Where the engine says it is, some answers after the seek: the target plus what has
        // played since, give or take a second.
        const auto landsNear = [this](qint64 targetSec) {
            QElapsedTimer since;
            since.start();
            QSignalSpy answers(&Owners::Session(Window()), &EngineSession::PositionAnswered);
            if (!QTest::qWaitFor([&answers] { return answers.size() >= 3; }, 10000)) {
                return false;
            }
            const qint64 clock = Owners::Session(Window()).ClockMs();
            return Owners::IsPlaying(Window()) && clock >= (targetSec - 1) * 1000 &&
                   clock <= targetSec * 1000 + since.elapsed() + 1000;
        };
        QVERIFY(landsNear(target));

        const qint64 before = Owners::Session(Window()).ClockMs() / 1000;
        QTest::keyClick(&Window(), Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(landsNear(before + 5));
        QCOMPARE(Page(), int(DRUI::kVideoPage));
    }

    // Random bytes under a name that says the engine's own start line: the name never reaches
    // the engine, and the file gets the message.
    void junkWhoseNameSaysItPlaysIsReported()
    {
        const QString junk = m_media.filePath(QStringLiteral("junk\nStarting playback...\n.mkv"));
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int block = 0; block < 64; ++block) {
            QByteArray bytes(4096, '\0');
            for (char &byte : bytes) {
                byte = static_cast<char>(QRandomGenerator::global()->generate());
            }
            file.write(bytes);
        }
        file.close();
        QString shownMessage;
        const auto closer = CloseMessageBoxes(shownMessage);
        Owners::OpenFiles(Window(), {junk});
        NoteEngine();
        // The message names the file, its line breaks shown as blanks.
        QTRY_VERIFY_WITH_TIMEOUT(
            shownMessage.startsWith(GetText("Messages/MSG0503") + QLatin1Char('\n')), 15000);
        QVERIFY2(shownMessage.endsWith(QStringLiteral(" Starting playback... .mkv")),
                 qPrintable(shownMessage));
        QCOMPARE(Page(), int(DRUI::kStartPage));
    }

    void folderThatIsNeitherIsRefused()
    {
        QString shownMessage;
        const auto closer = CloseMessageBoxes(shownMessage);
        Owners::OpenDiscFolder(Window(), m_media.path());
        QVERIFY(shownMessage.startsWith(GetText("Messages/MSG0102") + QLatin1Char('\n')));
        QVERIFY(Owners::EnginePid(Window()) == 0);
        QVERIFY(Owners::PlayList(Window()).isEmpty());
        QCOMPARE(Page(), int(DRUI::kStartPage));
    }
};

TAVRIX_WIDGET_TEST_MAIN(RealEngineTest)
#include "RealEngineTest.moc"
