// With the real engine: tracks chosen from the menus and what is drawn of them, the pause kept
// by commands that must keep it, the clock after a seek, and full screen and back.
#include "common/DruiTestAccess.h"
#include "common/Owners.h"
#include "common/MediaMaker.h"
#include "common/TestMain.h"

#include "engine/Snapshots.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>

class TracksAndFullScreenTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString m_clip;
    QString m_engineOutput;
    std::unique_ptr<DRUI> m_window;

    DRUI &Window() { return *m_window; }

    QString EngineOutput()
    {
        QFile output(m_engineOutput);
        return output.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(output.readAll())
                                                : QString();
    }

    QAction *ControlsEntry(const char *data)
    {
        for (QAction *action : DruiTestAccess::ControlsMenu(Window())->actions()) {
            if (action->data().toString() == QLatin1String(data)) {
                return action;
            }
        }
        return nullptr;
    }

    // How wide the bright text in the lower third of the picture is, in pixels: what the
    // engine drew into the video surface, read back from the display.
    QImage SurfacePicture()
    {
        QLabel *surface = DruiTestAccess::VideoSurface(Window());
        return QGuiApplication::primaryScreen()->grabWindow(surface->winId()).toImage();
    }

    // The same frame below the notes' line, drawn again: the engine's redraw may shade colours
    // a little differently.
    static bool SamePicture(const QImage &one, const QImage &other)
    {
        if (one.size() != other.size()) {
            return false;
        }
        for (int y = one.height() / 5; y < one.height(); ++y) {
            for (int x = 0; x < one.width(); ++x) {
                const QRgb a = one.pixel(x, y);
                const QRgb b = other.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) > 32 || std::abs(qGreen(a) - qGreen(b)) > 32 ||
                    std::abs(qBlue(a) - qBlue(b)) > 32) {
                    return false;
                }
            }
        }
        return true;
    }

    int SubtitleWidth()
    {
        const QImage picture = SurfacePicture();
        int left = picture.width();
        int right = -1;
        for (int y = picture.height() * 2 / 3; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (qGray(picture.pixel(x, y)) > 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        return right < left ? 0 : right - left + 1;
    }

private slots:
    void initTestCase()
    {
        m_clip = m_folder.filePath(QStringLiteral("tracks.mkv"));
        QVERIFY(MediaMaker::MakeClipWithTracks(m_clip, 30));
        // The real engine behind a wrapper that keeps a copy of what it prints, so the test
        // can see what the engine answered.
        m_engineOutput = m_folder.filePath(QStringLiteral("engine-output.txt"));
        const QString wrapper = m_folder.filePath(QStringLiteral("engine"));
        QFile script(wrapper);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/bash\nexec > >(tee -a '" + m_engineOutput.toLocal8Bit() +
                     "')\nexec mplayer \"$@\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        qputenv("TAVRIX_ENGINE", wrapper.toLocal8Bit());
    }

    void init()
    {
        m_window = std::make_unique<DRUI>();
        m_window->SetUpWindow();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        Owners::OpenFiles(Window(), {m_clip});
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 1000, 10000);
    }

    void cleanup() { m_window.reset(); }

    void audioTrackChosenFromTheMenuIsTakenByTheEngine()
    {
        QMenu *audio = DruiTestAccess::AudioTrackMenu(Window());
        QCOMPARE(audio->actions().size(), 3);
        QCOMPARE(DruiTestAccess::SubtitleTrackMenu(Window())->actions().size(), 2);
        Pick(audio->actions().at(2));
        QVERIFY(audio->actions().at(2)->isChecked());
        QVERIFY(!audio->actions().at(1)->isChecked());
        QVERIFY(Owners::Session(Window()).Send("get_property switch_audio\n"));
        QTRY_VERIFY_WITH_TIMEOUT(EngineOutput().contains(QStringLiteral("ANS_switch_audio=1")),
                                 5000);
        QVERIFY(Owners::IsPlaying(Window()));
    }

    // What the engine draws is what the Subtitle menu ticks: the default stream at start, the
    // chosen one after a choice, none under "Disable". The two streams differ in width.
    void subtitlesShownAreTheOnesTicked()
    {
        const QString clip = m_folder.filePath(QStringLiteral("subtitles.mkv"));
        QVERIFY(MediaMaker::MakeClipWithTwoSubtitles(clip, 30));
        Owners::OpenFiles(Window(), {clip});
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 1000, 10000);
        QMenu *menu = DruiTestAccess::SubtitleTrackMenu(Window());
        QCOMPARE(menu->actions().size(), 3);
        QTRY_VERIFY(menu->actions().at(1)->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(SubtitleWidth() > 0 && SubtitleWidth() < 40, 5000);

        Pick(menu->actions().at(2));
        QTRY_VERIFY_WITH_TIMEOUT(SubtitleWidth() > 100, 5000);
        QVERIFY(menu->actions().at(2)->isChecked() && !menu->actions().at(1)->isChecked());

        Pick(menu->actions().at(0));
        QTRY_COMPARE_WITH_TIMEOUT(SubtitleWidth(), 0, 5000);
        QVERIFY(menu->actions().at(0)->isChecked());
        QVERIFY(Owners::IsPlaying(Window()));
    }

    // Mute, unmute and a snapshot while paused leave the pause as it is: the picture does not
    // move, and the snapshot is saved at once.
    void pauseSurvivesMuteAndSnapshot()
    {
        // Paused mid-second: the one frame a screenshot draws must not turn the picture's
        // seconds counter.
        // The clock moves in polls of about half a second: a wide window is met soon.
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) % 1000 >= 300 &&
                                     Owners::ElapsedMs(Window()) % 1000 < 700,
                                 20000);
        Owners::Player(Window()).Start();
        QVERIFY(!Owners::IsPlaying(Window()));
        QTest::qWait(500);
        const QImage before = SurfacePicture();
        Window().VolumeBtn();
        Window().VolumeBtn();
        Window().Snapshot();
        const QDir snapshots(Snapshots::DefaultFolder());
        QTRY_COMPARE_WITH_TIMEOUT(snapshots.entryList(QDir::Files).size(), 1, 5000);
        // The engine's volume bar is drawn over the picture for a second, and the player's
        // notes stay in its top corner while paused; the picture itself must be the one from
        // before.
        QTRY_VERIFY_WITH_TIMEOUT(SamePicture(SurfacePicture(), before), 5000);
        QTest::qWait(1000);
        QVERIFY(SamePicture(SurfacePicture(), before));
        QVERIFY(!Owners::IsPlaying(Window()));
        QVERIFY(QDir(snapshots).removeRecursively());
    }

    // After a seek the clock shows where the engine is, not where it was asked to go.
    void clockAfterASeekIsTheEnginesPosition()
    {
        Owners::Player(Window()).SeekTo(17);
        QTest::qWait(2000);
        const QStringList answers =
            EngineOutput()
                .split(QLatin1Char('\n'))
                .filter(QRegularExpression(QStringLiteral("^ANS_TIME_POSITION=")));
        QVERIFY(!answers.isEmpty());
        const double engineSeconds = answers.last().section(QLatin1Char('='), 1).toDouble();
        QVERIFY(engineSeconds > 10);
        const double clockSeconds = Owners::ElapsedMs(Window()) / 1000.0;
        QVERIFY2(
            std::abs(clockSeconds - engineSeconds) <= 1.0,
            qPrintable(QStringLiteral("clock %1, engine %2").arg(clockSeconds).arg(engineSeconds)));
    }

    void fullScreenFromTheControlsMenuAndBackWithEscape()
    {
        const QRect normal = Window().geometry();
        Pick(ControlsEntry("FullScreen"));
        QTRY_VERIFY(Window().isFullScreen());
        QVERIFY(DruiTestAccess::MenuStrip(Window())->isHidden());
        QVERIFY(DruiTestAccess::VideoSurface(Window())->isVisible());
        // A held handle keeps the bar; let go, it goes after a while.
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(DruiTestAccess::VideoSurface(Window()), &move);
        QVERIFY(DruiTestAccess::ControlBar(Window())->isVisible());
        QSlider *seek = DruiTestAccess::SeekSlider(Window());
        seek->setSliderDown(true);
        QTest::qWait(2600);
        QVERIFY(DruiTestAccess::ControlBar(Window())->isVisible());
        seek->setSliderDown(false);
        QTRY_VERIFY_WITH_TIMEOUT(DruiTestAccess::ControlBar(Window())->isHidden(), 5000);
        QTest::keyClick(&Window(), Qt::Key_Escape);
        QTRY_VERIFY(!Window().isFullScreen());
        QVERIFY(DruiTestAccess::MenuStrip(Window())->isVisible());
        QTRY_COMPARE(Window().geometry().size(), normal.size());
        QVERIFY(Owners::IsPlaying(Window()));
    }
};

TAVRIX_WIDGET_TEST_MAIN(TracksAndFullScreenTest)
#include "TracksAndFullScreenTest.moc"
