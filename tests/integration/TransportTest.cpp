// Seeking, jumping, volume and previous/next against the scripted engine: what the window sends
// and what it shows.
#include "common/FakeProbe.h"
#include "common/Owners.h"
#include "common/TestMain.h"
#include "common/WindowWithEngine.h"

#include "engine/ResumeStore.h"
#include "platform/AppDataFolder.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>

#include <memory>

class TransportTest : public QObject, protected WindowWithEngine
{
    Q_OBJECT

private:
    FakeProbe m_probe;

    // Starts a file with a known length and waits until the engine has it.
    void PlayFile(qint64 durationSec, const QString &name = QStringLiteral("film.mkv"))
    {
        Play(m_engine->MakeMedia(name), kSourceFile, durationSec);
        WaitForCommand(QStringLiteral("volume 50 2"));
    }

    void Trigger(const QString &menuData)
    {
        Pick(EntryWithData(DruiTestAccess::ControlsMenu(Window()), menuData));
    }

    QMouseEvent Press(Qt::MouseButton button, int x, QSlider *slider)
    {
        const QPointF at(x, slider->height() / 2);
        return QMouseEvent(QEvent::MouseButtonPress, at, slider->mapToGlobal(at), button, button,
                           Qt::NoModifier);
    }

    QSlider *SeekSlider() { return DruiTestAccess::SeekSlider(Window()); }
    QSlider *VolumeSlider() { return DruiTestAccess::VolumeSlider(Window()); }

private slots:
    void initTestCase() { QVERIFY(m_probe.Install()); }

    void init()
    {
        // Long enough that no seek here reaches the end of the media.
        MakeEngineAndWindow(36000);
    }

    void cleanup() { DropWindowAndEngine(); }

    void releaseWhileStoppedSeeksNothing_data()
    {
        QTest::addColumn<bool>("started");
        QTest::newRow("never started") << false;
        QTest::newRow("after Stop") << true;
    }

    void releaseWhileStoppedSeeksNothing()
    {
        QFETCH(bool, started);
        if (started) {
            PlayFile(3600);
            Window().StopBtn();
        }
        const qint64 elapsedMs = Owners::ElapsedMs(Window());
        const QString elapsedText = DruiTestAccess::ElapsedLabel(Window())->text();
        Window().SliderSeek(40);
        Window().SliderRelease();
        QCOMPARE(SeekSlider()->value(), 0);
        QCOMPARE(Owners::ElapsedMs(Window()), elapsedMs);
        QCOMPARE(DruiTestAccess::ElapsedLabel(Window())->text(), elapsedText);
        QVERIFY(!Owners::PollTimer(Window())->isActive());
        if (started) {
            QTRY_VERIFY_WITH_TIMEOUT(!Owners::IsPlaying(Window()), 5000);
            QVERIFY(Seeks().isEmpty());
        }
    }

    void releaseSeeksWhereTheSliderWasMoved_data()
    {
        QTest::addColumn<bool>("moved");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("label");
        QTest::newRow("moved") << true << 125 << 125 << "00:02:05 ";
        QTest::newRow("moved to the end") << true << 3600 << 3600 << "01:00:00 ";
        QTest::newRow("moved below the start") << true << -7 << 0 << "00:00:00 ";
        QTest::newRow("not moved since the start") << false << 0 << 0 << "00:00:00 ";
    }

    void releaseSeeksWhereTheSliderWasMoved()
    {
        QFETCH(bool, moved);
        QFETCH(int, value);
        QFETCH(int, expected);
        QFETCH(QString, label);
        PlayFile(3600);
        // While the handle moves, the clock tells where it would land.
        SeekSlider()->setSliderDown(true);
        if (moved) {
            SeekSlider()->setSliderPosition(value);
        }
        QCOMPARE(DruiTestAccess::ElapsedLabel(Window())->text(), label);
        SeekSlider()->setSliderDown(false);
        QCOMPARE(SeekSlider()->value(), expected);
        QCOMPARE(Owners::ElapsedMs(Window()), qint64(expected) * 1000);
        QCOMPARE(DruiTestAccess::ElapsedLabel(Window())->text(), label);
        QTRY_COMPARE_WITH_TIMEOUT(Seeks(), QStringList{QStringLiteral("seek %1 2").arg(expected)},
                                  5000);
    }

    void pressOnTheSeekSliderSeeksToThatPlace_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("startValue");
        QTest::addColumn<int>("expected");
        QTest::newRow("left, a quarter along") << int(Qt::LeftButton) << 100 << 0 << 900;
        QTest::newRow("left, at the left edge") << int(Qt::LeftButton) << 0 << 1800 << 0;
        QTest::newRow("left, where the knob already is") << int(Qt::LeftButton) << 100 << 900 << -1;
        QTest::newRow("right button") << int(Qt::RightButton) << 100 << 0 << -1;
    }

    void pressOnTheSeekSliderSeeksToThatPlace()
    {
        QFETCH(int, button);
        QFETCH(int, x);
        QFETCH(int, startValue);
        QFETCH(int, expected);
        PlayFile(3600);
        QSlider *slider = SeekSlider();
        slider->setFixedWidth(400);
        QCOMPARE(slider->width(), 400);
        QCOMPARE(slider->maximum(), 3600);
        slider->setValue(startValue);

        QMouseEvent press = Press(Qt::MouseButton(button), x, slider);
        Window().SliderMouseLButtonPress(slider, &press);
        if (expected >= 0) {
            QCOMPARE(slider->value(), expected);
            QCOMPARE(Owners::ElapsedMs(Window()), qint64(expected) * 1000);
            QTRY_COMPARE_WITH_TIMEOUT(Seeks(),
                                      QStringList{QStringLiteral("seek %1 2").arg(expected)}, 5000);
        } else {
            QCOMPARE(slider->value(), startValue);
            Sync();
            QVERIFY(Seeks().isEmpty());
        }
    }

    void pressOnTheVolumeSliderSetsTheVolume()
    {
        PlayFile(3600);
        QSlider *slider = VolumeSlider();
        slider->setFixedWidth(200);
        QMouseEvent press = Press(Qt::LeftButton, 150, slider);
        Window().SliderMouseLButtonPress(slider, &press);
        QCOMPARE(slider->value(), 75);
        QTRY_COMPARE_WITH_TIMEOUT(Matching(QStringLiteral("^pausing_keep_force set_property volume ")),
                                  QStringList{QStringLiteral("pausing_keep_force set_property volume 75")}, 5000);
        QVERIFY(Seeks().isEmpty());
    }

    void pressReachesTheSliderThroughTheWindow()
    {
        PlayFile(3600);
        QSlider *slider = SeekSlider();
        slider->setFixedWidth(400);
        QMouseEvent press = Press(Qt::LeftButton, 100, slider);
        QCoreApplication::sendEvent(slider, &press);
        QTRY_COMPARE_WITH_TIMEOUT(Seeks().value(0), QStringLiteral("seek 900 2"), 5000);
        Sync();
        QCOMPARE(Seeks().size(), 1);
    }

    void pressWhileStoppedIsLeftToTheSlider_data()
    {
        QTest::addColumn<bool>("started");
        QTest::newRow("never started") << false;
        QTest::newRow("after Stop") << true;
    }

    void pressWhileStoppedIsLeftToTheSlider()
    {
        QFETCH(bool, started);
        if (started) {
            PlayFile(3600);
            Window().StopBtn();
        }
        QSlider *slider = SeekSlider();
        slider->setFixedWidth(400);
        const qint64 elapsedMs = Owners::ElapsedMs(Window());
        QMouseEvent press = Press(Qt::LeftButton, 100, slider);
        QCoreApplication::sendEvent(slider, &press);
        QCOMPARE(slider->sliderPosition(), 0);
        QCOMPARE(Owners::ElapsedMs(Window()), elapsedMs);
        QVERIFY(!Owners::PollTimer(Window())->isActive());
        if (started) {
            QTRY_VERIFY_WITH_TIMEOUT(!Owners::IsPlaying(Window()), 5000);
            QVERIFY(Seeks().isEmpty());
        }
    }

    // A minute from the engine's clock, wherever a seek put it: the slider follows the clock
    // only now and then.
    void jumpsFromTheControlsMenu_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("at");
        QTest::addColumn<bool>("resumed"); // else sought as a chapter is
        QTest::addColumn<int>("expected");
        QTest::newRow("forward after a resume") << "Forward" << 127 << true << 187;
        QTest::newRow("forward exactly to the end") << "Forward" << 5340 << false << 5400;
        QTest::newRow("forward past the end") << "Forward" << 5370 << false << 5396;
        QTest::newRow("backward") << "Backward" << 100 << false << 40;
        QTest::newRow("backward past the start") << "Backward" << 30 << true << 0;
    }

    void jumpsFromTheControlsMenu()
    {
        QFETCH(QString, entry);
        QFETCH(int, at);
        QFETCH(bool, resumed);
        QFETCH(int, expected);
        const QString film = m_engine->MakeMedia(QStringLiteral("film.mkv"));
        if (resumed) {
            QVERIFY(ResumeStore(StateFolder() + QStringLiteral("resume.txt"))
                        .Remember(film, at, 5400));
        }
        Play(film, kSourceFile, 5400);
        if (!resumed) {
            WaitForCommand(QStringLiteral("volume 50 2"));
            Owners::Player(Window()).SeekTo(at);
        }
        WaitForCommand(QStringLiteral("seek %1 2").arg(at));
        Trigger(entry);
        QCOMPARE(Owners::ElapsedMs(Window()), qint64(expected) * 1000);
        QTRY_VERIFY_WITH_TIMEOUT(Seeks().endsWith(QStringLiteral("seek %1 2").arg(expected)), 5000);
    }

    // A DVD before its first length answer: no end to stop short of.
    void forwardWithoutAKnownLengthGoesOn()
    {
        Play(DvdFolder(), kSourceDvd);
        WaitForCommand(QStringLiteral("volume 50 2"));
        Owners::PollTimer(Window())->stop();
        Trigger(QStringLiteral("Forward"));
        WaitForCommand(QStringLiteral("seek 60 2"));
    }

    void jumpWithoutAnEngineDoesNothing()
    {
        QSlider *slider = SeekSlider();
        slider->setValue(50);
        Trigger(QStringLiteral("Forward"));
        Trigger(QStringLiteral("Backward"));
        // Nothing to step to either: nothing is polled.
        Trigger(QStringLiteral("Next"));
        QCOMPARE(slider->value(), 50);
        QCOMPARE(Owners::ElapsedMs(Window()), qint64(0));
        QVERIFY(Owners::EnginePid(Window()) == 0);
        QVERIFY(!Owners::PollTimer(Window())->isActive());
    }

    void volumeStepsFromTheControlsMenu_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("sliderAfter");
        QTest::addColumn<bool>("muted");
        QTest::newRow("up") << "VolumeUp" << 50 << "pausing_keep_force set_property volume 55" << 55 << false;
        QTest::newRow("up at the top")
            << "VolumeUp" << 100 << "pausing_keep_force set_property volume 100" << 100 << false;
        QTest::newRow("up from silence")
            << "VolumeUp" << 0 << "pausing_keep_force set_property volume 5" << 5 << false;
        QTest::newRow("down") << "VolumeDown" << 50 << "pausing_keep_force set_property volume 45" << 45 << false;
        QTest::newRow("down to silence")
            << "VolumeDown" << 3 << "pausing_keep_force set_property volume 0" << 0 << true;
        // From the level before the mute, which the step ends.
        QTest::newRow("up while muted")
            << "VolumeUp" << -80 << "pausing_keep_force set_property volume 85" << 85 << false;
    }

    void volumeStepsFromTheControlsMenu()
    {
        QFETCH(QString, entry);
        QFETCH(int, start);
        QFETCH(QString, command);
        QFETCH(int, sliderAfter);
        QFETCH(bool, muted);
        PlayFile(3600);
        Window().VolumeSliderSeek(std::abs(start));
        if (start < 0) {
            Window().VolumeBtn();
        }
        Trigger(entry);
        QCOMPARE(VolumeSlider()->value(), sliderAfter);
        QCOMPARE(Owners::Player(Window()).IsMuted(), muted);
        QTRY_VERIFY_WITH_TIMEOUT(
            Matching(QStringLiteral("^pausing_keep_force set_property volume ")).endsWith(command),
            5000);
    }

    void muteButtonSilencesAndRestoresHalfVolume()
    {
        PlayFile(3600);
        Window().VolumeSliderSeek(80);
        Window().VolumeBtn();
        QCOMPARE(VolumeSlider()->value(), 0);
        QVERIFY(Owners::Player(Window()).IsMuted());
        Window().VolumeBtn();
        QCOMPARE(VolumeSlider()->value(), 50);
        QVERIFY(!Owners::Player(Window()).IsMuted());
        QTRY_COMPARE_WITH_TIMEOUT(
            Matching(QStringLiteral("^pausing_keep_force set_property volume \\d+$")),
            QStringList({QStringLiteral("pausing_keep_force set_property volume 80"),
                         QStringLiteral("pausing_keep_force set_property volume 0"),
                         QStringLiteral("pausing_keep_force set_property volume 50")}),
            5000);
    }

    // A click on the groove, the wheel or a key moves the slider without a drag: the level holds.
    void volumeSetWithoutADragHolds()
    {
        VolumeSlider()->setValue(70);
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")), kSourceFile, 3600);
        WaitForCommand(QStringLiteral("volume 70 2"));
    }

    void volumeWithoutAnEngineOnlyMovesTheSlider_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("sliderAfter");
        QTest::addColumn<bool>("muted");
        QTest::newRow("up") << "VolumeUp" << 50 << 55 << false;
        QTest::newRow("down to silence") << "VolumeDown" << 3 << 0 << true;
        QTest::newRow("mute button") << "" << 80 << 0 << true;
    }

    void volumeWithoutAnEngineOnlyMovesTheSlider()
    {
        QFETCH(QString, entry);
        QFETCH(int, start);
        QFETCH(int, sliderAfter);
        QFETCH(bool, muted);
        Window().VolumeSliderSeek(start);
        if (entry.isEmpty()) {
            Window().VolumeBtn();
        } else {
            Trigger(entry);
        }
        QCOMPARE(VolumeSlider()->value(), sliderAfter);
        QCOMPARE(Owners::Player(Window()).IsMuted(), muted);
        QVERIFY(Owners::EnginePid(Window()) == 0);
        QVERIFY(m_engine->Lines().isEmpty());
    }

    void previousAndNextStepThroughThePlayList_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("playing");
        QTest::addColumn<bool>("next");
        QTest::addColumn<int>("expected");
        QTest::newRow("one entry, next") << 1 << 0 << true << -1;
        QTest::newRow("one entry, previous") << 1 << 0 << false << -1;
        QTest::newRow("first of two, previous") << 2 << 0 << false << -1;
        QTest::newRow("first of two, next") << 2 << 0 << true << 1;
        QTest::newRow("last of two, next") << 2 << 1 << true << -1;
        QTest::newRow("last of two, previous") << 2 << 1 << false << 0;
    }

    void previousAndNextStepThroughThePlayList()
    {
        QFETCH(int, entries);
        QFETCH(int, playing);
        QFETCH(bool, next);
        QFETCH(int, expected);
        QStringList files;
        for (int i = 0; i < entries; ++i) {
            files.append(m_engine->MakeMedia(QStringLiteral("clip %1.mkv").arg(i + 1)));
        }
        Owners::OpenFiles(Window(), files);
        if (playing > 0) {
            Owners::OpenFiles(Window(), {files[playing]});
        }
        QTRY_VERIFY_WITH_TIMEOUT(LastArgs().endsWith(QLatin1Char(' ') + files[playing]), 5000);
        Sync();
        QCOMPARE(Owners::PlayList(Window()).size(), entries);
        const int starts = m_engine->Starts();
        const qint64 pid = Owners::EnginePid(Window());

        if (next) {
            Window().PlayNext();
        } else {
            Window().PlayPre();
        }
        if (expected >= 0) {
            QCOMPARE(Owners::Chosen(Window()).path, files[expected]);
            QTRY_COMPARE_WITH_TIMEOUT(m_engine->Starts(), starts + 1, 5000);
            QVERIFY(LastArgs().endsWith(QLatin1Char(' ') + files[expected]));
        } else {
            QCOMPARE(Owners::Chosen(Window()).path, files[playing]);
            QVERIFY(!Owners::IsStopped(Window()));
            QCOMPARE(Owners::EnginePid(Window()), pid);
            Sync();
            QCOMPARE(m_engine->Starts(), starts);
            QVERIFY(!m_engine->Commands().contains(QStringLiteral("q")));
        }
        QCOMPARE(Owners::PlayList(Window()).size(), entries);
    }

    // The play list keeps its place after a stop or an end: the neighbour starts.
    void previousAndNextAfterStopOrEnd_data()
    {
        QTest::addColumn<bool>("ended");
        QTest::addColumn<bool>("next");
        QTest::newRow("stopped on the first, next") << false << true;
        QTest::newRow("the second ended, previous") << true << false;
    }

    void previousAndNextAfterStopOrEnd()
    {
        QFETCH(bool, ended);
        QFETCH(bool, next);
        const QStringList files{m_engine->MakeMedia(QStringLiteral("one.mkv")),
                                m_engine->MakeMedia(QStringLiteral("two.mkv"))};
        m_engine->SetLength(ended ? 1 : 60);
        Owners::OpenFiles(Window(), files);
        const QString from = files[next ? 0 : 1];
        if (!next) {
            Owners::OpenFiles(Window(), {from});
        }
        QTRY_VERIFY_WITH_TIMEOUT(LastArgs().endsWith(QLatin1Char(' ') + from), 5000);
        if (ended) {
            QTRY_VERIFY_WITH_TIMEOUT(Owners::IsStopped(Window()), 10000);
        } else {
            Window().StopBtn();
        }
        QTRY_COMPARE(Page(), int(DRUI::kStartPage));
        const int starts = m_engine->Starts();
        next ? Window().PlayNext() : Window().PlayPre();
        QTRY_COMPARE_WITH_TIMEOUT(m_engine->Starts(), starts + 1, 5000);
        QVERIFY(LastArgs().endsWith(QLatin1Char(' ') + files[next ? 1 : 0]));
    }
};

TAVRIX_WIDGET_TEST_MAIN(TransportTest)
#include "TransportTest.moc"
