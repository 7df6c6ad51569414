// The Video, Audio, Tools and Help menus and the keyboard shortcuts against the scripted
// engine: what each entry sends, which entry carries the check, the window sizes, snapshots
// written from the engine's pictures and the switch of the interface language.
#include "common/FakeProbe.h"
#include "common/Owners.h"
#include "common/ModalCloser.h"
#include "common/TestMain.h"
#include "common/WindowWithEngine.h"

#include "app/IniFile.h"
#include "app/LanguageManager.h"
#include "engine/Snapshots.h"
#include "platform/AppDataFolder.h"
#include "platform/ExternalPrograms.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedLayout>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <memory>

// Puts another language manager in place of the process's one and back. The shipped
// config.ini beside the test program must never be written by a test.
class LanguageManagerTestAccess
{
public:
    static std::unique_ptr<CLanguageManager> Swap(std::unique_ptr<CLanguageManager> other)
    {
        std::swap(CLanguageManager::s_instance, other);
        return other;
    }
};

namespace {

const QStringList kStripKeys = {"MainWnd/File",  "MainWnd/Controls", "MainWnd/Video",
                                "MainWnd/Audio", "MainWnd/Tools",    "MainWnd/Help"};

// The data of the checked entries, in menu order.
QVariantList CheckedData(QMenu *menu)
{
    QVariantList checked;
    for (QAction *action : menu->actions()) {
        if (action->isChecked()) {
            checked.append(action->data());
        }
    }
    return checked;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

// A picture as the engine would leave it: a real PNG file.
bool MakeEnginePicture(const QString &path)
{
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(30, 140, 200));
    return QDir().mkpath(QFileInfo(path).path()) && picture.save(path, "PNG");
}

QStringList FilesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class MenuActionsTest : public QObject, protected WindowWithEngine
{
    Q_OBJECT

public slots:
    // Receives what the window hands to the desktop to open.
    void CaptureUrl(const QUrl &url) { m_openedUrls.append(url); }

private:
    FakeProbe m_probe;
    QTemporaryDir m_scratch;
    QList<QUrl> m_openedUrls;
    QByteArray m_shippedConfig;

    // The language swap of the running case: its files and the manager it replaced.
    std::unique_ptr<QTemporaryDir> m_languageCopy;
    std::unique_ptr<CLanguageManager> m_savedLanguageManager;

    void NewWindow()
    {
        m_window.reset();
        m_window = std::make_unique<DRUI>();
        m_window->SetUpWindow();
    }

    // Every line the engine printed before this call has been read by the window once the
    // answer to a length question asked behind it has. The refresh timer must be stopped, or
    // its own length answers could come in between.
    void WaitUntilRead()
    {
        QSignalSpy lengths(&Owners::Session(Window()), &EngineSession::LengthAnswered);
        Owners::Player(Window()).Poll();
        QTRY_VERIFY_WITH_TIMEOUT(!lengths.isEmpty(), 5000);
    }

    // The commands the engine received from the given position of its command list on.
    QStringList CommandsFrom(int position) const { return m_engine->Commands().mid(position); }

    // Starts a file and waits until the engine has announced its streams and video.
    void StartPlaying(const char *streams)
    {
        m_engine->SetStreams(streams);
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")), kSourceFile, 100);
        WaitForCommand(QStringLiteral("volume 50 2"));
        // The engine's first answer, asked soon after the start, is behind the test's commands.
        QTRY_VERIFY(Owners::Session(Window()).HasAnsweredPosition());
        const int audio = int(std::count(streams, streams + qstrlen(streams), 'a'));
        const int subtitles = int(std::count(streams, streams + qstrlen(streams), 's'));
        if (audio > 0) {
            QTRY_COMPARE_WITH_TIMEOUT(DruiTestAccess::AudioTrackMenu(Window())->actions().size(),
                                      audio + 1, 5000);
        }
        if (subtitles > 0) {
            QTRY_COMPARE_WITH_TIMEOUT(DruiTestAccess::SubtitleTrackMenu(Window())->actions().size(),
                                      subtitles + 1, 5000);
        }
    }

    void ShowAndActivate()
    {
        Window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Window()));
        QApplication::setActiveWindow(&Window());
        QVERIFY(QTest::qWaitForWindowActive(&Window()));
    }

    QMenu *LanguageMenu()
    {
        QAction *language =
            EntryWithData(DruiTestAccess::HelpMenu(Window()), QStringLiteral("Language"));
        return language == nullptr ? nullptr : language->menu();
    }

    QStringList StripTexts()
    {
        QList<QPushButton *> buttons =
            DruiTestAccess::MenuStrip(Window())->findChildren<QPushButton *>(
                QString(), Qt::FindDirectChildrenOnly);
        std::sort(buttons.begin(), buttons.end(),
                  [](const QPushButton *a, const QPushButton *b) { return a->x() < b->x(); });
        QStringList texts;
        for (const QPushButton *button : buttons) {
            texts.append(button->text());
        }
        return texts;
    }

    // The menu strip texts a language file gives; empty texts for a file that is not there.
    static QStringList StripTextsOf(const QString &languageFile)
    {
        const IniFile file = IniFile::Load(languageFile);
        QStringList texts;
        for (const QString &key : kStripKeys) {
            texts.append(
                file.Value(QStringLiteral("MainWnd"), key.section(QLatin1Char('/'), 1), QString()));
        }
        return texts;
    }

    // A language manager on a copy of the shipped resources, with one language more whose
    // file is missing, in place of the process's manager until the case ends.
    void SwapInLanguageCopy()
    {
        m_languageCopy = std::make_unique<QTemporaryDir>();
        QVERIFY(m_languageCopy->isValid());
        const QString source = QStringLiteral(TAVRIX_SOURCE_DIR "/src/resources");
        const QString copy = m_languageCopy->path();
        QVERIFY(QDir().mkpath(copy + QStringLiteral("/Languages")));
        QByteArray config = ReadAll(source + QStringLiteral("/config.ini"));
        QVERIFY(config.contains("/German="));
        if (!config.endsWith('\n')) {
            config.append('\n');
        }
        config.append("/Missing=Missing\n");
        QVERIFY(WriteAll(copy + QStringLiteral("/config.ini"), config));
        const QStringList languages =
            QDir(source + QStringLiteral("/Languages")).entryList({QStringLiteral("*.ini")});
        QVERIFY(languages.contains(QStringLiteral("German.ini")));
        for (const QString &file : languages) {
            QVERIFY(QFile::copy(source + QStringLiteral("/Languages/") + file,
                                copy + QStringLiteral("/Languages/") + file));
        }
        CLanguageManager::Instance(); // the process's own manager exists before it is put aside
        m_savedLanguageManager =
            LanguageManagerTestAccess::Swap(std::make_unique<CLanguageManager>(copy));
        QCOMPARE(CLanguageManager::Instance().GetCurrentLanguage(), QStringLiteral("/English"));
    }

    QString LanguageFile(const QString &language) const
    {
        return m_languageCopy->path() + QStringLiteral("/Languages") + language +
               QStringLiteral(".ini");
    }

    void ChooseLanguage(const QString &language)
    {
        QMenu *languages = LanguageMenu();
        QVERIFY(languages != nullptr);
        QAction *entry = EntryWithData(languages, language);
        QVERIFY2(entry != nullptr, qPrintable(language));
        Pick(entry);
        // The old content goes once control is back in the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(m_probe.Install());
        QCOMPARE(CLanguageManager::Instance().GetCurrentLanguage(), QStringLiteral("/English"));
        m_shippedConfig =
            ReadAll(QCoreApplication::applicationDirPath() + QStringLiteral("/config.ini"));
        QVERIFY(!m_shippedConfig.isEmpty());
    }

    void cleanupTestCase()
    {
        // No case wrote the shipped language choice.
        QCOMPARE(ReadAll(QCoreApplication::applicationDirPath() + QStringLiteral("/config.ini")),
                 m_shippedConfig);
    }

    void init()
    {
        QDir(AppDataFolder()).removeRecursively();
        QDir(Snapshots::DefaultFolder()).removeRecursively();
        MakeEngineAndWindow(36000);
    }

    void cleanup()
    {
        DropWindowAndEngine();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        m_openedUrls.clear();
        if (m_savedLanguageManager) {
            LanguageManagerTestAccess::Swap(std::move(m_savedLanguageManager));
            m_savedLanguageManager.reset();
        }
        m_languageCopy.reset();
        QCOMPARE(CLanguageManager::Instance().GetCurrentLanguage(), QStringLiteral("/English"));
    }

    // ---- Video menu ----

    void subtitleEntrySendsItsStreamAndTakesTheCheck_data()
    {
        QTest::addColumn<int>("first"); // entry chosen before, so that the check has to move
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("fileLoaded");
        QTest::addColumn<QStringList>("commands");
        const QString none = QStringLiteral("pausing_keep_force sub_demux -1");
        QTest::newRow("Disable") << 2 << 0 << false << QStringList{none};
        QTest::newRow("Subtitle 1") << 0 << 1 << false
                                    << QStringList{"pausing_keep_force sub_demux 0"};
        QTest::newRow("Subtitle 2") << 0 << 2 << false
                                    << QStringList{"pausing_keep_force sub_demux 1"};
        // Disable hides a loaded file too; a stream shown leaves the file's choice to the engine.
        QTest::newRow("Disable, a file loaded")
            << 2 << 0 << true << QStringList{none, "pausing_keep_force set_property sub_file -1"};
        QTest::newRow("Subtitle 1, a file loaded")
            << 0 << 1 << true << QStringList{"pausing_keep_force sub_demux 0"};
    }

    void subtitleEntrySendsItsStreamAndTakesTheCheck()
    {
        QFETCH(int, first);
        QFETCH(int, entry);
        QFETCH(bool, fileLoaded);
        QFETCH(QStringList, commands);

        StartPlaying("ass");
        QMenu *menu = DruiTestAccess::SubtitleTrackMenu(Window());
        if (fileLoaded) {
            DruiTestAccess::LoadSubtitleFrom(Window(), m_engine->MakeMedia(QStringLiteral("s.srt")));
        }
        if (first != 0) {
            Pick(EntryWithData(menu, first));
            QCOMPARE(CheckedData(menu), QVariantList{first});
        }
        Sync();
        const int before = m_engine->Commands().size();
        Pick(EntryWithData(menu, entry));
        Sync();
        QCOMPARE(CommandsFrom(before)
                     .filter(QRegularExpression(QStringLiteral("^(?!.*osd_show_text)"))),
                 commands + QStringList{QStringLiteral("mark %1").arg(m_marks)});
        QCOMPARE(CheckedData(menu), QVariantList{entry});
    }

    void trackEntryWithoutAnEngineDoesNothing_data()
    {
        QTest::addColumn<QString>("menuName");
        QTest::addColumn<QVariant>("entry");
        QTest::addColumn<QVariant>("checked");

        QTest::newRow("subtitle") << QStringLiteral("subtitle") << QVariant(2) << QVariant(0);
        QTest::newRow("subtitle Disable")
            << QStringLiteral("subtitle") << QVariant(0) << QVariant(1);
        QTest::newRow("audio") << QStringLiteral("audio") << QVariant(2) << QVariant(1);
        QTest::newRow("audio Disable") << QStringLiteral("audio") << QVariant(0) << QVariant(1);
        QTest::newRow("channel Left")
            << QStringLiteral("channel") << QVariant(QStringLiteral("Left"))
            << QVariant(QStringLiteral("Stereo"));
    }

    void trackEntryWithoutAnEngineDoesNothing()
    {
        QFETCH(QString, menuName);
        QFETCH(QVariant, entry);
        QFETCH(QVariant, checked);

        QMenu *menu =
            menuName == QLatin1String("subtitle") ? DruiTestAccess::SubtitleTrackMenu(Window())
            : menuName == QLatin1String("audio")  ? DruiTestAccess::AudioTrackMenu(Window())
                                                  : DruiTestAccess::AudioChannelMenu(Window());
        if (menuName != QLatin1String("channel")) {
            // The entries as a playback leaves them behind.
            menu->clear();
            for (int k = 0; k <= 2; ++k) {
                QAction *action = menu->addAction(QStringLiteral("Entry %1").arg(k));
                action->setData(k);
                action->setCheckable(k == checked.toInt());
                action->setChecked(k == checked.toInt());
            }
        }
        QAction *action = EntryWithData(menu, entry);
        QVERIFY(action != nullptr);
        if (menuName == QLatin1String("subtitle")) {
            Pick(action);
        } else {
            Pick(action);
        }
        QVERIFY(Owners::EnginePid(Window()) == 0);
        QCOMPARE(m_engine->Starts(), 0);
        QCOMPARE(CheckedData(menu), QVariantList{checked});
    }

    void videoTrackDisableHidesThePicture_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::newRow("before any playback") << false;
        QTest::newRow("while playing") << true;
    }

    void videoTrackDisableHidesThePicture()
    {
        QFETCH(bool, playing);

        if (playing) {
            StartPlaying("a");
        }
        QLabel *surface = DruiTestAccess::VideoSurface(Window());
        QMenu *menu = DruiTestAccess::VideoTrackMenu(Window());
        QVERIFY(!surface->isHidden());
        QCOMPARE(CheckedData(menu), QVariantList{1});

        Pick(EntryWithData(menu, 0));
        QVERIFY(surface->isHidden());
        QCOMPARE(CheckedData(menu), QVariantList{0});

        Pick(EntryWithData(menu, 1));
        QVERIFY(!surface->isHidden());
        QCOMPARE(CheckedData(menu), QVariantList{1});
        if (playing) {
            QVERIFY(Owners::IsPlaying(Window()));
        }
    }

    void windowSizeEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QSize>("start");
        QTest::addColumn<QSize>("size"); // invalid: maximised instead

        const QSize fresh(600, 400);
        QTest::newRow("half") << QStringLiteral("HalfSize") << QSize(700, 500) << QSize(500, 340);
        QTest::newRow("normal") << QStringLiteral("NormalSize") << fresh << QSize(1000, 680);
        QTest::newRow("double") << QStringLiteral("DoubleSize") << fresh << QSize(2000, 1360);
        QTest::newRow("fit to screen") << QStringLiteral("Fit2Screen") << fresh << QSize();
    }

    void windowSizeEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QSize, start);
        QFETCH(QSize, size);

        Window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Window()));
        // Sizes fit on the screen, the window's frame included.
        const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size() -
                           (Window().frameGeometry().size() - Window().geometry().size());
        size = size.boundedTo(room);
        // Start from a size the entry does not give.
        Window().resize(start);
        QTRY_COMPARE(Window().size(), start);
        QVERIFY(start != size);

        QAction *action = EntryWithData(DruiTestAccess::VideoMenu(Window()), entry);
        QVERIFY(action != nullptr);
        Pick(action);
        if (size.isValid()) {
            QTRY_COMPARE_WITH_TIMEOUT(Window().size(), size, 2000);
            QVERIFY(!(Window().windowState() & Qt::WindowMaximized));
        } else {
            QTRY_VERIFY(Window().windowState() & Qt::WindowMaximized);
        }
    }

    // ---- Audio menu ----

    void audioTrackEntrySendsItsStreamAndTakesTheCheck_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QByteArray>("ids"); // the engine's own stream ids; empty: 0 and 1
        QTest::addColumn<QString>("command");

        // The engine's "no audio" is -2, not -1.
        QTest::newRow("Disable") << 0 << 0 << QByteArray()
                                 << QStringLiteral("pausing_keep_force switch_audio -2");
        QTest::newRow("Audio 1") << 2 << 1 << QByteArray()
                                 << QStringLiteral("pausing_keep_force switch_audio 0");
        QTest::newRow("Audio 2") << 0 << 2 << QByteArray()
                                 << QStringLiteral("pausing_keep_force switch_audio 1");
        QTest::newRow("Audio 2 of a disc's PIDs")
            << 0 << 2 << QByteArray("4352,4353")
            << QStringLiteral("pausing_keep_force switch_audio 4353");
    }

    void audioTrackEntrySendsItsStreamAndTakesTheCheck()
    {
        QFETCH(int, first);
        QFETCH(int, entry);
        QFETCH(QByteArray, ids);
        QFETCH(QString, command);

        m_engine->SetStreamIds(ids);
        StartPlaying("aa");
        QMenu *menu = DruiTestAccess::AudioTrackMenu(Window());
        QCOMPARE(CheckedData(menu), QVariantList{1});
        if (first != 0) {
            Pick(EntryWithData(menu, first));
            QCOMPARE(CheckedData(menu), QVariantList{first});
        }
        Sync();
        const int before = m_engine->Commands().size();
        Pick(EntryWithData(menu, entry));
        Sync();
        QCOMPARE(CommandsFrom(before),
                 (QStringList{command, QStringLiteral("mark %1").arg(m_marks)}));
        QCOMPARE(CheckedData(menu), QVariantList{entry});
    }

    // Speed, delays and aspect ratio go to the engine as numbers it reads, whatever the locale,
    // and hold until the next medium.
    void adjustmentsSendTheirValues_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("command");
        const QString set = QStringLiteral("pausing_keep_force set_property ");
        QTest::newRow("faster twice") << QStringList{"Faster", "Faster"} << set + "speed 1.210";
        QTest::newRow("slower, then normal")
            << QStringList{"Slower", "NormalSpeed"} << set + "speed 1.000";
        QStringList slowest;
        slowest.fill(QStringLiteral("Slower"), 20);
        QTest::newRow("a quarter at the slowest") << slowest << set + "speed 0.250";
        QTest::newRow("audio delay") << QStringList{"AudioDelayUp", "AudioDelayUp"}
                                     << set + "audio_delay 0.200";
        QTest::newRow("subtitle delay") << QStringList{"SubtitleDelayDown"}
                                        << set + "sub_delay -0.100";
        QTest::newRow("16:9") << QStringList{"Aspect16To9"}
                              << QStringLiteral("pausing_keep_force switch_ratio 1.778");
        QTest::newRow("auto after 4:3") << QStringList{"Aspect4To3", "AspectAuto"}
                                        << QStringLiteral("pausing_keep_force switch_ratio -1");
        QTest::newRow("the next ratio comes round to auto")
            << QStringList{"NextAspect", "NextAspect", "NextAspect", "NextAspect"}
            << QStringLiteral("pausing_keep_force switch_ratio -1");
    }

    void adjustmentsSendTheirValues()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, command);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto english = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        StartPlaying("a");
        QMenu *video = DruiTestAccess::VideoMenu(Window());
        QMenu *aspects = EntryWithData(video, QStringLiteral("AspectRatio"))->menu();
        for (const QString &data : entries) {
            if (QAction *entry = EntryWithData(DruiTestAccess::ControlsMenu(Window()), data)) {
                Pick(entry);
            } else if (QAction *audio = EntryWithData(DruiTestAccess::AudioMenu(Window()), data)) {
                Pick(audio);
            } else {
                QAction *aspect = EntryWithData(aspects, data);
                Pick(aspect != nullptr ? aspect : EntryWithData(video, data));
            }
        }
        Sync();
        QStringList sent = m_engine->Commands();
        sent.removeIf([](const QString &line) {
            return line.contains(QLatin1String("osd_show_text")) || line.startsWith("mark ");
        });
        QCOMPARE(sent.last(), command);
        Play(m_engine->MakeMedia(QStringLiteral("next.mkv")), kSourceFile, 100);
        const Playback &next = Owners::Player(Window());
        QCOMPARE(next.Speed(), 1.0);
        QCOMPARE(next.AudioDelayMs() + next.SubtitleDelayMs(), 0);
        QCOMPARE(next.AspectRatio(), Playback::Aspect::Auto);
    }

    void audioChannelWhilePausedKeepsThePause_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("command");

        QTest::newRow("Left") << QString() << QStringLiteral("Left")
                              << QStringLiteral("pausing_keep_force balance -1 1");
        QTest::newRow("Right") << QString() << QStringLiteral("Right")
                               << QStringLiteral("pausing_keep_force balance 1 1");
        QTest::newRow("Stereo after Left") << QStringLiteral("Left") << QStringLiteral("Stereo")
                                           << QStringLiteral("pausing_keep_force balance 0 1");
    }

    void audioChannelWhilePausedKeepsThePause()
    {
        QFETCH(QString, first);
        QFETCH(QString, channel);
        QFETCH(QString, command);

        const QString clip = m_engine->MakeMedia(QStringLiteral("film.mkv"));
        Play(clip);
        WaitForCommand(QStringLiteral("volume 50 2"));
        QTRY_VERIFY(Owners::Session(Window()).HasAnsweredPosition());
        Play(clip);
        WaitForCommand(QStringLiteral("pause"));
        QVERIFY(!Owners::IsPlaying(Window()));

        QMenu *menu = DruiTestAccess::AudioChannelMenu(Window());
        if (!first.isEmpty()) {
            Pick(EntryWithData(menu, first));
            QCOMPARE(CheckedData(menu), QVariantList{first});
        }
        Sync();
        const int before = m_engine->Commands().size();
        Pick(EntryWithData(menu, channel));
        Sync();
        QCOMPARE(CommandsFrom(before),
                 (QStringList{command, QStringLiteral("mark %1").arg(m_marks)}));
        QCOMPARE(CheckedData(menu), QVariantList{channel});
        QVERIFY(!Owners::IsPlaying(Window()));
        QVERIFY(!Owners::PollTimer(Window())->isActive());
        QCOMPARE(m_engine->Commands().filter(QStringLiteral("pause")).size(), 1);

        // The next start plays in stereo again.
        Play(m_engine->MakeMedia(QStringLiteral("next.mkv")));
        QTRY_COMPARE_WITH_TIMEOUT(m_engine->Starts(), 2, 5000);
        QCOMPARE(CheckedData(menu), QVariantList{QStringLiteral("Stereo")});
    }

    // ---- Tools menu: snapshots ----

    void snapshotEntryAsksTheEngine_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::newRow("while playing") << true;
        QTest::newRow("no engine") << false;
    }

    void snapshotEntryAsksTheEngine()
    {
        QFETCH(bool, playing);

        if (playing) {
            StartPlaying("a");
            Sync();
        }
        const int before = m_engine->Commands().size();
        Pick(
            EntryWithData(DruiTestAccess::ToolsMenu(Window()), QStringLiteral("Snapshot")));
        if (playing) {
            Sync();
            QCOMPARE(CommandsFrom(before), (QStringList{QStringLiteral("pausing_keep screenshot 0"),
                                                        QStringLiteral("mark %1").arg(m_marks)}));
        } else {
            QVERIFY(Owners::EnginePid(Window()) == 0);
            QVERIFY(m_engine->Lines().isEmpty());
        }
    }

    void snapshotIsSavedInTheChosenFormat_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("imageFormat");

        QTest::newRow("JPG") << QStringLiteral("JPG") << QByteArray("jpeg");
        QTest::newRow("JPEG") << QStringLiteral("JPEG") << QByteArray("jpeg");
        QTest::newRow("PNG") << QStringLiteral("PNG") << QByteArray("png");
        QTest::newRow("BMP") << QStringLiteral("BMP") << QByteArray("bmp");
    }

    void snapshotIsSavedInTheChosenFormat()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, imageFormat);

        StartPlaying("a");
        Owners::PollTimer(Window())->stop();
        if (format != QLatin1String("JPG")) {
            Owners::Player(Window()).SetSnapshotFormat(format);
        } else {
            // The format a fresh window starts with.
            QCOMPARE(Owners::Player(Window()).SnapshotFormat(), format);
        }
        const QString folder = Snapshots::DefaultFolder();
        QVERIFY(!QFileInfo::exists(folder));
        const QString picture = AppDataFolder() + QStringLiteral("shot0001.png");
        QVERIFY(MakeEnginePicture(picture));

        const QDateTime before = QDateTime::currentDateTime().addMSecs(-1000);
        Window().Snapshot();
        QVERIFY(Owners::Say(Window(), "*** screenshot 'shot0001.png' ***"));
        WaitUntilRead();
        const QDateTime after = QDateTime::currentDateTime();

        const QStringList files = FilesIn(folder);
        QCOMPARE(files.size(), 1);
        const QString name = files.first();
        QVERIFY2(name.endsWith(QLatin1Char('.') + format), qPrintable(name));
        const QDateTime taken =
            QDateTime::fromString(name.left(name.lastIndexOf(QLatin1Char('.'))),
                                  QStringLiteral("'Snapshot-'yyyy-MM-dd hh-mm-ss"));
        QVERIFY2(taken.isValid(), qPrintable(name));
        QVERIFY(taken >= before && taken <= after);

        QImageReader reader(folder + name);
        QCOMPARE(QImageReader::imageFormat(folder + name), imageFormat);
        QCOMPARE(reader.size(), QSize(64, 48));
        QVERIFY(!QFileInfo::exists(picture));
    }

    void snapshotGoesToTheFolderOfOutputPath()
    {
        StartPlaying("a");
        Owners::PollTimer(Window())->stop();
        const QString chosen =
            m_scratch.filePath(QStringLiteral("chosen shots")) + QLatin1Char('/');
        QDir(chosen).removeRecursively();
        QVERIFY(WriteAll(AppDataFolder() + QStringLiteral("OutputPath.txt"), chosen.toLocal8Bit()));
        const QString picture = AppDataFolder() + QStringLiteral("shot0002.png");
        QVERIFY(MakeEnginePicture(picture));

        Window().Snapshot();
        QVERIFY(Owners::Say(Window(), "*** screenshot 'shot0002.png' ***"));
        WaitUntilRead();

        const QStringList files = FilesIn(chosen);
        QCOMPARE(files.size(), 1);
        QCOMPARE(QImageReader::imageFormat(chosen + files.first()), QByteArray("jpeg"));
        QVERIFY(!QFileInfo::exists(Snapshots::DefaultFolder()));
        QVERIFY(!QFileInfo::exists(picture));
    }

    void twoSnapshotsInOneSecondAreBothKept()
    {
        StartPlaying("a");
        Owners::PollTimer(Window())->stop();
        const QString first = AppDataFolder() + QStringLiteral("shot0001.png");
        const QString second = AppDataFolder() + QStringLiteral("shot0002.png");
        QVERIFY(MakeEnginePicture(first));
        QVERIFY(MakeEnginePicture(second));

        // Both lines at the start of a second, so that both are saved within it.
        QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().msec() < 200, 2000);
        Window().Snapshot();
        Window().Snapshot();
        QVERIFY(Owners::Say(Window(), "*** screenshot 'shot0001.png' ***\n"
                                      "say *** screenshot 'shot0002.png' ***"));
        WaitUntilRead();

        QStringList files = FilesIn(Snapshots::DefaultFolder());
        QCOMPARE(files.size(), 2);
        // " (2)" sorts before ".", so the second snapshot's name comes first.
        std::sort(files.begin(), files.end(),
                  [](const QString &a, const QString &b) { return a.size() < b.size(); });
        QVERIFY2(files.at(0).endsWith(QStringLiteral(".JPG")), qPrintable(files.at(0)));
        const QString stem = files.at(0).chopped(4);
        QCOMPARE(files.at(1), stem + QStringLiteral(" (2).JPG"));
        for (const QString &file : files) {
            QCOMPARE(QImageReader::imageFormat(Snapshots::DefaultFolder() + file),
                     QByteArray("jpeg"));
        }
        QVERIFY(!QFileInfo::exists(first));
        QVERIFY(!QFileInfo::exists(second));
    }

    // A screenshot line can come from a medium's tags or file name: none of these may touch a
    // file. "VICTIM" stands for a picture outside the per-user folder, "OWN" for the engine's.
    void screenshotLinesThatTouchNothing_data()
    {
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<QString>("message"); // the message box's text, empty for none

        QTest::newRow("not asked for")
            << false << QByteArray("*** screenshot 'OWN' ***") << true << QString();
        QTest::newRow("a file elsewhere")
            << true << QByteArray("*** screenshot 'VICTIM' ***") << true << QString();
        QTest::newRow("a marker inside a tag")
            << true << QByteArray(" title: x'*** screenshot 'OWN' ***") << true << QString();
        QTest::newRow("no picture of that name")
            << true << QByteArray("*** screenshot 'shot0009.png' ***") << true << QString();
        QTest::newRow("the snapshot folder cannot be written")
            << true << QByteArray("*** screenshot 'OWN' ***") << false
            << GetText("Messages/MSG0502");
        QTest::newRow("the engine wrote through a link")
            << true << QByteArray("*** screenshot 'LINK' ***") << true
            << GetText("Messages/MSG0507");
    }

    void screenshotLinesThatTouchNothing()
    {
        QFETCH(bool, asked);
        QFETCH(QByteArray, line);
        QFETCH(bool, folderWritable);
        QFETCH(QString, message);

        StartPlaying("a");
        Owners::PollTimer(Window())->stop();
        const QString own = AppDataFolder() + QStringLiteral("shot0001.png");
        const QString victim = m_scratch.filePath(QStringLiteral("victim/holiday.png"));
        const QString link = AppDataFolder() + QStringLiteral("shot0002.png");
        QVERIFY(MakeEnginePicture(own) && MakeEnginePicture(victim));
        QFile::remove(link);
        QVERIFY(QFile::link(victim, link));
        if (!folderWritable) {
            // A snapshot folder below a plain file can never be made.
            QVERIFY(WriteAll(AppDataFolder() + QStringLiteral("OutputPath.txt"),
                             victim.toLocal8Bit() + "/shots/"));
        }
        line.replace("OWN", "shot0001.png")
            .replace("VICTIM", victim.toLocal8Bit())
            .replace("LINK", "shot0002.png");

        QString shown;
        const auto closer = CloseMessageBoxes(shown);
        if (asked) {
            Window().Snapshot();
        }
        QVERIFY(Owners::Say(Window(), line));
        WaitUntilRead();
        QTest::qWait(100);

        QVERIFY(QFileInfo::exists(own) && QFileInfo::exists(victim) && QFileInfo(link).isSymLink());
        QVERIFY(FilesIn(Snapshots::DefaultFolder()).isEmpty());
        QCOMPARE(shown, message);
        QVERIFY(Owners::IsPlaying(Window()));
    }

    // ---- Help menu ----

    void helpEntriesOpenTheUserGuide_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("section");

        QTest::newRow("Help") << QStringLiteral("Help") << QString();
        QTest::newRow("Support") << QStringLiteral("Support") << QStringLiteral("support");
    }

    void helpEntriesOpenTheUserGuide()
    {
        QFETCH(QString, entry);
        QFETCH(QString, section);

        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "CaptureUrl");
        Pick(EntryWithData(DruiTestAccess::HelpMenu(Window()), entry));
        QCOMPARE(m_openedUrls.size(), 1);
        const QUrl url = m_openedUrls.first();
        QVERIFY(url.isLocalFile());
        QVERIFY2(url.path().endsWith(QStringLiteral("help/user-guide.html")),
                 qPrintable(url.toString()));
        QCOMPARE(url.fragment(), section);
        // The guide is there beside the program, with the section the entry points at.
        const QByteArray guide = ReadAll(url.toLocalFile());
        QVERIFY2(!guide.isEmpty(), qPrintable(url.toLocalFile()));
        if (!section.isEmpty()) {
            QVERIFY(guide.contains("id=\"" + section.toLatin1() + "\""));
        }
        // Nothing else happened to the window.
        QCOMPARE(DruiTestAccess::PageStack(Window())->currentIndex(), int(DRUI::kStartPage));
    }

    void languageEntryRebuildsTheWindowInThatLanguage_data()
    {
        QTest::addColumn<QStringList>("choices"); // chosen one after the other
        QTest::addColumn<bool>("fileExists");

        QTest::newRow("German") << QStringList{"/German"} << true;
        QTest::newRow("French") << QStringList{"/French"} << true;
        QTest::newRow("back to English") << QStringList{"/German", "/English"} << true;
        QTest::newRow("language without a file") << QStringList{"/Missing"} << false;
    }

    void languageEntryRebuildsTheWindowInThatLanguage()
    {
        QFETCH(QStringList, choices);
        QFETCH(bool, fileExists);

        SwapInLanguageCopy();
        NewWindow();
        const QStringList english = StripTextsOf(LanguageFile(QStringLiteral("/English")));
        QCOMPARE(StripTexts(), english);

        for (const QString &language : choices) {
            Owners::OpenFiles(Window(), {m_engine->MakeMedia(QStringLiteral("film.mkv"))});
            WaitForCommand(QStringLiteral("volume 50 2"));
            QTRY_VERIFY(Owners::Session(Window()).HasAnsweredPosition());
            QCOMPARE(DruiTestAccess::PlayListTable(Window())->rowCount(), 1);
            const int quits = m_engine->Commands().count(QStringLiteral("q"));

            ChooseLanguage(language);

            QTRY_COMPARE_WITH_TIMEOUT(m_engine->Commands().count(QStringLiteral("q")), quits + 1,
                                      5000);
            QCOMPARE(CLanguageManager::Instance().GetCurrentLanguage(), language);
            QCOMPARE(DruiTestAccess::PageStack(Window())->currentIndex(), int(DRUI::kStartPage));
            QVERIFY(Owners::PlayList(Window()).isEmpty());
            QCOMPARE(DruiTestAccess::PlayListTable(Window())->rowCount(), 0);
            // The end of the stopped engine reaches the new content without harm.
            QTRY_VERIFY_WITH_TIMEOUT(!Owners::IsPlaying(Window()), 5000);

            const QStringList expected = StripTextsOf(LanguageFile(language));
            QCOMPARE(QFileInfo::exists(LanguageFile(language)), fileExists);
            if (fileExists && language != QLatin1String("/English")) {
                QVERIFY(expected != english);
            }
            QCOMPARE(StripTexts(), expected);

            // The Language submenu of the new content marks the new language, and only it.
            QMenu *languages = LanguageMenu();
            QVERIFY(languages != nullptr);
            QStringList marked;
            for (QAction *action : languages->actions()) {
                if (!action->icon().isNull()) {
                    marked.append(action->data().toString());
                }
            }
            QCOMPARE(marked, QStringList{language});
            QVERIFY(languages->defaultAction() != nullptr);
            QCOMPARE(languages->defaultAction()->data().toString(), language);
        }
        if (!fileExists) {
            // Without its file a language has no texts at all.
            QCOMPARE(StripTexts(), QStringList(kStripKeys.size(), QString()));
        }
    }

    // ---- Keyboard shortcuts ----

    // The user guide lists exactly the keys the window carries, each once; the play list's own
    // Delete and the wheel are no commands of the window.
    void userGuideListsTheKeysTheWindowCarries()
    {
        QFile guide(UserGuideUrl(QString()).toLocalFile());
        QVERIFY(guide.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(guide.readAll());
        const QString table = page.section(QStringLiteral("id=\"shortcuts\""), 1).section(
            QStringLiteral("</table>"), 0, 0);
        QStringList listed;
        static const QRegularExpression row(QStringLiteral("<tr><td>([^<]*)</td>"));
        for (auto match = row.globalMatch(table); match.hasNext();) {
            const QString keys =
                match.next().captured(1).replace("&lt;", "<").replace("&gt;", ">");
            for (const QString &key : keys.split(QRegularExpression(QStringLiteral(" / | or ")))) {
                if (key != QLatin1String("Delete") && !key.contains(QLatin1Char(' '))) {
                    listed.append(QKeySequence(key).toString());
                }
            }
        }
        QStringList carried;
        for (const QAction *action : Window().actions()) {
            for (const QKeySequence &sequence : action->shortcuts()) {
                carried.append(sequence.toString());
            }
        }
        listed.sort();
        carried.sort();
        QCOMPARE(carried, listed);
    }

    void keysWhilePlaying_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("volume");
        QTest::addColumn<bool>("playingAfter");
        QTest::addColumn<bool>("inPlayList");

        const int none = Qt::NoModifier;
        QTest::newRow("Up") << int(Qt::Key_Up) << none
                            << QStringLiteral("pausing_keep_force set_property volume 55") << 55 << true
                            << false;
        QTest::newRow("Down") << int(Qt::Key_Down) << none
                              << QStringLiteral("pausing_keep_force set_property volume 45") << 45 << true
                              << false;
        QTest::newRow("Space") << int(Qt::Key_Space) << none << QStringLiteral("pause") << 50
                               << false << false;
        QTest::newRow("S") << int(Qt::Key_S) << none << QStringLiteral("pausing_keep screenshot 0")
                           << 50 << true << false;
        QTest::newRow("Right") << int(Qt::Key_Right) << none << QStringLiteral("seek 80 2") << 50
                               << true << false;
        QTest::newRow("M") << int(Qt::Key_M) << none
                           << QStringLiteral("pausing_keep_force set_property volume 0") << 0 << true
                           << false;
        QTest::newRow("Shift+Right") << int(Qt::Key_Right) << int(Qt::ShiftModifier)
                                     << QStringLiteral("seek 25 2") << 50 << true << false;
        QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << int(Qt::ControlModifier)
                                   << QStringLiteral("seek 10 2") << 50 << true << false;
        // The next track, round to the first (Disable), with a note; none without subtitles.
        QTest::newRow("B") << int(Qt::Key_B) << none
                           << QStringLiteral("pausing_keep_force switch_audio -2") << 50 << true
                           << false;
        QTest::newRow("V without subtitles") << int(Qt::Key_V) << none << QString() << 50 << true
                                             << false;
        // The play list's own keys move through its rows, not the volume.
        QTest::newRow("Down in the play list")
            << int(Qt::Key_Down) << none << QString() << 50 << true << true;
    }

    void keysWhilePlaying()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, command);
        QFETCH(int, volume);
        QFETCH(bool, playingAfter);
        QFETCH(bool, inPlayList);

        ShowAndActivate();
        StartPlaying("a");
        // Entries come alive once the video page has been painted.
        Window().repaint();
        QTableWidget *playList = DruiTestAccess::PlayListTable(Window());
        if (inPlayList) {
            playList->show();
            playList->setFocus();
            QTRY_VERIFY(playList->hasFocus());
        }
        // Steps go from a known place: twenty seconds in.
        Owners::PollTimer(Window())->stop();
        Sync();
        QTest::qWait(200);
        Owners::Player(Window()).SeekTo(20);
        Sync();
        const int before = m_engine->Commands().size();
        QTest::keyClick(inPlayList ? static_cast<QWidget *>(playList) : &Window(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        Sync();
        QStringList expected{QStringLiteral("mark %1").arg(m_marks)};
        if (!command.isEmpty()) {
            expected.prepend(command);
        }
        // Notes on the picture aside, exactly the key's command reached the engine.
        const QStringList sent = CommandsFrom(before);
        const QStringList notes = sent.filter(QStringLiteral(" osd_show_text "));
        QCOMPARE(
            QStringList(sent).filter(QRegularExpression(QStringLiteral("^(?!.* osd_show_text )"))),
            expected);
        QCOMPARE(notes.isEmpty(),
                 command.isEmpty() || command.startsWith(QLatin1String("pausing_keep ")));
        QCOMPARE(DruiTestAccess::VolumeSlider(Window())->value(), volume);
        QCOMPARE(Owners::IsPlaying(Window()), playingAfter);
    }

    void wheelOverThePictureSetsTheVolume()
    {
        StartPlaying("a");
        QLabel *surface = DruiTestAccess::VideoSurface(Window());
        for (const int notch : {120, 120, -120}) {
            QWheelEvent wheel(QPointF(10, 10), surface->mapToGlobal(QPointF(10, 10)), QPoint(),
                              QPoint(0, notch), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QCoreApplication::sendEvent(surface, &wheel);
        }
        QCOMPARE(DruiTestAccess::VolumeSlider(Window())->value(), 55);
        QTRY_VERIFY(
            m_engine->Commands().contains(QStringLiteral("pausing_keep_force set_property volume 60")));
    }

    // The volume, mute and the window's place, kept when the window closes, come back in the
    // next window, as after a restart.
    void settingsSurviveARestart_data()
    {
        QTest::addColumn<bool>("mute");
        QTest::newRow("a volume") << false;
        QTest::newRow("muted") << true;
    }

    void settingsSurviveARestart()
    {
        QFETCH(bool, mute);
        Window().VolumeSliderSeek(35);
        if (mute) {
            Window().VolumeBtn();
        }
        const QRect place(40, 60, 700, 500);
        Window().setGeometry(place);
        Window().close();
        NewWindow();
        QCOMPARE(DruiTestAccess::VolumeSlider(Window())->value(), mute ? 0 : 35);
        QCOMPARE(Owners::Player(Window()).IsMuted(), mute);
        QCOMPARE(Window().geometry(), place);
        // Unmuting gives the level the Controls have always given.
        if (mute) {
            Window().VolumeBtn();
            QCOMPARE(DruiTestAccess::VolumeSlider(Window())->value(), 50);
        }
        QVERIFY(QFile::remove(AppDataFolder() + QStringLiteral("Settings.ini")));
    }

    void volumeKeyWithoutPlaybackMovesOnlyTheSlider()
    {
        ShowAndActivate();
        QTest::keyClick(&Window(), Qt::Key_Up);
        QCOMPARE(DruiTestAccess::VolumeSlider(Window())->value(), 55);
        QTest::keyClick(&Window(), Qt::Key_Down);
        QTest::keyClick(&Window(), Qt::Key_Down);
        QCOMPARE(DruiTestAccess::VolumeSlider(Window())->value(), 45);
        QCOMPARE(m_engine->Starts(), 0);
    }

    void fullScreenKeyTogglesFullScreenWhilePlaying()
    {
        ShowAndActivate();
        StartPlaying("a");
        Window().repaint();
        QTest::keyClick(&Window(), Qt::Key_F);
        QTRY_VERIFY(Window().windowState() & Qt::WindowFullScreen);
        QVERIFY(DruiTestAccess::MenuStrip(Window())->isHidden());
        QApplication::setActiveWindow(&Window());
        QTest::keyClick(&Window(), Qt::Key_F);
        QTRY_VERIFY(!(Window().windowState() & Qt::WindowFullScreen));
        QVERIFY(!DruiTestAccess::MenuStrip(Window())->isHidden());
    }
};

TAVRIX_WIDGET_TEST_MAIN(MenuActionsTest)
#include "MenuActionsTest.moc"
