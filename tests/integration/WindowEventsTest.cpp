// What the window does with its own events against the scripted engine: full screen and back,
// Escape, a double click on the picture, mouse presses, and files or folders dropped on it.
#include "common/FakeProbe.h"
#include "common/Owners.h"
#include "common/TestMain.h"
#include "common/WindowWithEngine.h"

#include "platform/AppDataFolder.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSlider>
#include <QTableWidget>
#include <QUrl>

#include <memory>

class WindowEventsTest : public QObject, protected WindowWithEngine
{
    Q_OBJECT

private:
    FakeProbe m_probe;

    QLabel *Strip() { return DruiTestAccess::MenuStrip(Window()); }
    QLabel *Bar() { return DruiTestAccess::ControlBar(Window()); }
    QTableWidget *Table() { return DruiTestAccess::PlayListTable(Window()); }

    bool IsFull()
    {
        return Window().isFullScreen() || (Window().windowState() & Qt::WindowFullScreen);
    }

    void ShowWindow()
    {
        Window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Window()));
    }

    void PlayFile()
    {
        Owners::OpenFiles(Window(), {m_engine->MakeMedia(QStringLiteral("film.mkv"))});
        WaitForCommand(QStringLiteral("volume 50 2"));
        QVERIFY(Owners::IsPlaying(Window()));
    }

    // Stop, and wait until the engine has gone.
    void StopPlaying()
    {
        Window().StopBtn();
        WaitForCommand(QStringLiteral("q"));
        QTRY_VERIFY_WITH_TIMEOUT(!Owners::IsPlaying(Window()), 5000);
    }

    void ShowPlayList()
    {
        QAction *entry = nullptr;
        for (QAction *action : DruiTestAccess::ToolsMenu(Window())->actions()) {
            if (action->data().toString() == QLatin1String("PlayList")) {
                entry = action;
            }
        }
        QVERIFY(entry != nullptr);
        Pick(entry);
        QVERIFY(!Table()->isHidden());
    }

    void VerifyNormalChrome()
    {
        QVERIFY(!Strip()->isHidden());
        QVERIFY(!Bar()->isHidden());
        QTRY_VERIFY(!IsFull());
    }

    QList<QUrl> Urls(const QStringList &items)
    {
        QList<QUrl> urls;
        for (const QString &item : items) {
            if (item == QLatin1String("<dvd>")) {
                urls.append(QUrl::fromLocalFile(DvdFolder()));
            } else if (item.startsWith(QLatin1String("http"))) {
                urls.append(QUrl(item));
            } else {
                urls.append(QUrl::fromLocalFile(m_engine->MakeMedia(item)));
            }
        }
        return urls;
    }

    // Drops the items on the window the way a drag and drop ends.
    void Drop(QMimeData *data)
    {
        const QPointF at(Window().width() / 2.0, Window().height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(&Window(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Window(), &drop);
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(m_probe.Install());
    }

    void init() { MakeEngineAndWindow(36000); }

    void cleanup() { DropWindowAndEngine(); }

    // ---- Full screen ----

    void fullScreenNeedsAPlayback_data()
    {
        QTest::addColumn<bool>("played");
        QTest::newRow("before any playback") << false;
        QTest::newRow("after Stop") << true;
    }

    void fullScreenNeedsAPlayback()
    {
        QFETCH(bool, played);

        ShowWindow();
        if (played) {
            PlayFile();
            StopPlaying();
        }
        const QSize size = Window().size();
        Window().FullScreenBtn();
        QCoreApplication::processEvents();
        QVERIFY(!Strip()->isHidden());
        QVERIFY(!Bar()->isHidden());
        QVERIFY(!IsFull());
        QCOMPARE(Window().size(), size);
        // A double click on the picture is no way round it.
        QTest::mouseDClick(DruiTestAccess::VideoSurface(Window()), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(!Strip()->isHidden());
        QVERIFY(!IsFull());
    }

    void fullScreenWhilePlayingHidesTheChromeAndBack_data()
    {
        QTest::addColumn<bool>("byDoubleClick");
        QTest::newRow("full screen button") << false;
        QTest::newRow("double click on the picture") << true;
    }

    void fullScreenWhilePlayingHidesTheChromeAndBack()
    {
        QFETCH(bool, byDoubleClick);

        ShowWindow();
        PlayFile();
        ShowPlayList();
        const auto toggle = [&] {
            if (byDoubleClick) {
                QTest::mouseDClick(DruiTestAccess::VideoSurface(Window()), Qt::LeftButton);
            } else {
                Window().FullScreenBtn();
            }
        };

        toggle();
        QVERIFY(Strip()->isHidden());
        QVERIFY(Bar()->isHidden());
        QVERIFY(Table()->isHidden());
        QTRY_VERIFY(IsFull());
        QVERIFY(Owners::IsPlaying(Window()));
        // A moving pointer brings the control bar back for two seconds; then bar and pointer go.
        QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), QPointF(20, 20), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QLabel *picture = DruiTestAccess::VideoSurface(Window());
        QTRY_COMPARE(picture->height(), Window().height());
        QCoreApplication::sendEvent(picture, &move);
        QTRY_VERIFY(!Bar()->isHidden());
        // The bar floats over the bottom of the picture, which keeps its size.
        QTest::qWait(100);
        QCOMPARE(picture->height(), Window().height());
        QCOMPARE(Bar()->mapTo(&Window(), QPoint(0, Bar()->height())).y(), Window().height());
        QVERIFY(Bar()->height() > 0 && Bar()->width() == Window().width());
        QTRY_VERIFY_WITH_TIMEOUT(Bar()->isHidden(), 4000);
        QCOMPARE(DruiTestAccess::VideoSurface(Window())->cursor().shape(), Qt::BlankCursor);

        toggle();
        VerifyNormalChrome();
        // The play list stays away until the Tools menu brings it back.
        QVERIFY(Table()->isHidden());
        QVERIFY(!(Window().windowState() & Qt::WindowFullScreen));
        QVERIFY(Owners::IsPlaying(Window()));
    }

    void escapeLeavesFullScreenAlsoAfterStop()
    {
        ShowWindow();
        PlayFile();
        Window().FullScreenBtn();
        QTRY_VERIFY(IsFull());
        StopPlaying();
        // Stopping alone does not bring the window back.
        QVERIFY(IsFull());
        QVERIFY(Strip()->isHidden());

        QTest::keyClick(&Window(), Qt::Key_Escape);
        VerifyNormalChrome();
    }

    void escapeInTheNormalWindowChangesNothing_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("normal") << false;
        QTest::newRow("maximised") << true;
    }

    void escapeInTheNormalWindowChangesNothing()
    {
        QFETCH(bool, maximised);

        ShowWindow();
        PlayFile();
        if (maximised) {
            Window().setWindowState(Qt::WindowMaximized);
            QTRY_VERIFY(Window().windowState() & Qt::WindowMaximized);
        }
        QTest::keyClick(&Window(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QCOMPARE(bool(Window().windowState() & Qt::WindowMaximized), maximised);
        if (!maximised) {
            QCOMPARE(Window().size(),
                     QSize(1000, 680).boundedTo(Window().screen()->availableGeometry().size()));
        }
        QVERIFY(!IsFull());
        QVERIFY(!Strip()->isHidden());
        QVERIFY(Owners::IsPlaying(Window()));
    }

    // ---- Mouse ----

    void leftPressOnTheWindowIsAccepted()
    {
        ShowWindow();
        const QPointF at(20, 300);
        QMouseEvent press(QEvent::MouseButtonPress, at, Window().mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        press.setAccepted(false);
        QApplication::sendEvent(&Window(), &press);
        QVERIFY(press.isAccepted());
    }

    void clickOnTheSeekGrooveWhileStoppedDoesNothing_data()
    {
        QTest::addColumn<bool>("played");
        QTest::newRow("before any playback") << false;
        QTest::newRow("after Stop") << true;
    }

    void clickOnTheSeekGrooveWhileStoppedDoesNothing()
    {
        QFETCH(bool, played);

        ShowWindow();
        if (played) {
            PlayFile();
            StopPlaying();
        }
        QSlider *slider = DruiTestAccess::SeekSlider(Window());
        QVERIFY(!slider->isEnabled());
        const int starts = m_engine->Starts();
        QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier,
                          QPoint(slider->width() * 3 / 4, slider->height() / 2));
        QCOMPARE(slider->value(), 0);
        QCOMPARE(slider->sliderPosition(), 0);
        QVERIFY(
            m_engine->Commands().filter(QRegularExpression(QStringLiteral("^seek "))).isEmpty());
        QCOMPARE(m_engine->Starts(), starts);
    }

    // ---- Drops ----

    // The first item decides: files are all listed and the first plays; a disc first plays and
    // the files after it join the list.
    void dropOpensAllFiles_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<bool>("dvd");
        QTest::addColumn<int>("playing");
        QTest::addColumn<int>("listed");

        QTest::newRow("a file") << QStringList{"first film.mkv"} << false << 0 << 1;
        QTest::newRow("three files")
            << QStringList{"first film.mkv", "b.mkv", "c.mkv"} << false << 0 << 3;
        QTest::newRow("a DVD folder") << QStringList{"<dvd>"} << true << 0 << 1;
        QTest::newRow("a DVD folder and a file") << QStringList{"<dvd>", "b.mkv"} << true << 0 << 2;
        QTest::newRow("a file and a DVD folder") << QStringList{"b.mkv", "<dvd>"} << false << 0 << 1;
        QTest::newRow("web address before a file")
            << QStringList{"http://example.invalid/x.mkv", "b.mkv"} << false << 1 << 1;
    }

    void dropOpensAllFiles()
    {
        QFETCH(QStringList, items);
        QFETCH(bool, dvd);
        QFETCH(int, playing);
        QFETCH(int, listed);

        const QList<QUrl> urls = Urls(items);
        QMimeData data;
        data.setUrls(urls);
        Drop(&data);

        const QString first = urls[playing].toLocalFile();
        QTRY_COMPARE_WITH_TIMEOUT(m_engine->Starts(), 1, 5000);
        const QString expectedEnd =
            dvd ? QStringLiteral(" dvd://1 -dvd-device ") + first : QLatin1Char(' ') + first;
        QVERIFY2(LastArgs().endsWith(expectedEnd), qPrintable(LastArgs()));
        if (!dvd) {
            QVERIFY(!LastArgs().contains(QStringLiteral("dvd://")));
        }
        QCOMPARE(Owners::PlayList(Window()).size(), listed);
        QCOMPARE(Owners::PlayList(Window()).first().strPath, first);
        // The rows come once the engine has started.
        QTRY_COMPARE(Table()->rowCount(), listed);
        QCOMPARE(Owners::Chosen(Window()).kind, dvd ? int(kSourceDvd) : int(kSourceFile));
    }

    // Delete in the play list takes the selected row out; the file that plays goes on.
    void deleteInThePlayListRemovesTheSelectedRows()
    {
        ShowWindow();
        const QList<QUrl> urls = Urls({"a.mkv", "b.mkv", "c.mkv"});
        QMimeData data;
        data.setUrls(urls);
        Drop(&data);
        WaitForCommand(QStringLiteral("volume 50 2"));
        ShowPlayList();
        Table()->setFocus();
        Table()->selectRow(0);
        QTest::keyClick(Table(), Qt::Key_Delete);
        QCOMPARE(Table()->rowCount(), 2);
        QCOMPARE(Owners::PlayList(Window()).first().strPath, urls[1].toLocalFile());
        QVERIFY(Owners::IsPlaying(Window()));
        QCOMPARE(m_engine->Starts(), 1);
    }

    void dropOfNothingToOpenDoesNothing_data()
    {
        QTest::addColumn<QStringList>("items"); // empty: text, no addresses at all

        QTest::newRow("web address") << QStringList{"http://example.invalid/x.mkv"};
        QTest::newRow("no addresses") << QStringList();
    }

    void dropOfNothingToOpenDoesNothing()
    {
        QFETCH(QStringList, items);

        QMimeData data;
        if (items.isEmpty()) {
            data.setText(QStringLiteral("just some text"));
        } else {
            data.setUrls(Urls(items));
        }
        Drop(&data);

        QVERIFY(Owners::EnginePid(Window()) == 0);
        QVERIFY(Owners::PlayList(Window()).isEmpty());
        QCOMPARE(Table()->rowCount(), 0);
        QCOMPARE(m_engine->Starts(), 0);
    }
};

TAVRIX_WIDGET_TEST_MAIN(WindowEventsTest)
#include "WindowEventsTest.moc"
