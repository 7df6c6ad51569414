#include "common/DruiTestAccess.h"
#include "common/Owners.h"
#include "common/TestMain.h"

#include "app/LanguageManager.h"
#include "platform/AppDataFolder.h"
#include "ui/DRUI.h"

#include <QAction>
#include <QBoxLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpacerItem>
#include <QStackedLayout>
#include <QTableWidget>

#include <algorithm>
#include <memory>

namespace {

const QString kNoTime = QStringLiteral("   --:--:--");

QMenu *MenuNamed(DRUI &window, const QString &name)
{
    if (name == QLatin1String("File")) {
        return DruiTestAccess::FileMenu(window);
    }
    if (name == QLatin1String("Controls")) {
        return DruiTestAccess::ControlsMenu(window);
    }
    if (name == QLatin1String("Video")) {
        return DruiTestAccess::VideoMenu(window);
    }
    if (name == QLatin1String("Audio")) {
        return DruiTestAccess::AudioMenu(window);
    }
    if (name == QLatin1String("Tools")) {
        return DruiTestAccess::ToolsMenu(window);
    }
    if (name == QLatin1String("Help")) {
        return DruiTestAccess::HelpMenu(window);
    }
    return nullptr;
}

QStringList DataOf(const QMenu *menu)
{
    QStringList result;
    for (const QAction *action : menu->actions()) {
        result.append(action->data().toString());
    }
    return result;
}

QStringList TextsOf(const QMenu *menu)
{
    QStringList result;
    for (const QAction *action : menu->actions()) {
        result.append(action->text());
    }
    return result;
}

QPushButton *ButtonWithText(QWidget *root, const QString &text)
{
    const auto buttons = root->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

// The box layout, anywhere below the given one, that holds the widget as a direct item.
QBoxLayout *BoxHolding(QLayout *layout, QWidget *widget)
{
    if (layout == nullptr) {
        return nullptr;
    }
    if (auto *box = qobject_cast<QBoxLayout *>(layout);
        box != nullptr && box->indexOf(widget) >= 0) {
        return box;
    }
    for (int index = 0; index < layout->count(); ++index) {
        if (QBoxLayout *found = BoxHolding(layout->itemAt(index)->layout(), widget)) {
            return found;
        }
    }
    return nullptr;
}

QString RecentFile()
{
    return AppDataFolder() + QStringLiteral("RecentConfig.txt");
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void freshWindowHasItsSizeAndTitle();
    void freshWindowShowsTheStartPageAndIdleControls();
    void fileNameBoxDoesNotGrowWithALongName();
    void startPageButtons_data();
    void startPageButtons();
    void startPageButtonsStandApart();
    void menuStrip_data();
    void menuStrip();
    void menuEntriesInOrder_data();
    void menuEntriesInOrder();
    void initialMenuEntryState_data();
    void initialMenuEntryState();
    void fileMenuTexts();
    void videoTrackSubmenu();
    void audioChannelSubmenu();
    void languageSubmenuMarksTheCurrentLanguage();
    void recentSubmenuOfAFreshHomeHoldsOnlyClearMenu();
    void playListEntryTogglesTheTable_data();
    void playListEntryTogglesTheTable();
    void clearMenuEmptiesTheRecentList_data();
    void clearMenuEmptiesTheRecentList();
    void setUpCreatesTheAppDataFolder();
    void videoPagePaintEnablesTheMenus_data();
    void videoPagePaintEnablesTheMenus();

private:
    // Builds and shows the window the way the program does.
    bool ShowWindow();

    std::unique_ptr<DRUI> m_window;
};

void MainWindowTest::initTestCase()
{
    // The window's close handling quits the application; nothing here may end the test early.
    QApplication::setQuitOnLastWindowClosed(false);
    // Every expected text below is the shipped English one.
    QCOMPARE(CLanguageManager::Instance().GetCurrentLanguage(), QStringLiteral("/English"));
    QCOMPARE(GetText("MainWnd/ProTitle"), QStringLiteral("Tavrix BluRay Player"));
}

void MainWindowTest::init()
{
    // Every case starts from a home without the player's folder.
    QDir(AppDataFolder()).removeRecursively();
    QVERIFY(!QFileInfo::exists(AppDataFolder()));
}

void MainWindowTest::cleanup()
{
    m_window.reset();
}

bool MainWindowTest::ShowWindow()
{
    m_window = std::make_unique<DRUI>();
    m_window->SetUpWindow();
    m_window->show();
    return QTest::qWaitForWindowExposed(m_window.get());
}

// 1000 x 680 where the screen has room for it, less where it has not. (The frame is not known
// before the window is first shown.)
QSize FreshWindowSize(const QWidget &window)
{
    return QSize(1000, 680).boundedTo(window.screen()->availableGeometry().size());
}

void MainWindowTest::freshWindowHasItsSizeAndTitle()
{
    QVERIFY(ShowWindow());
    QCOMPARE(m_window->size(), FreshWindowSize(*m_window));
    QCOMPARE(m_window->windowTitle(), GetText("MainWnd/ProTitle"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Tavrix BluRay Player"));
}

void MainWindowTest::freshWindowShowsTheStartPageAndIdleControls()
{
    QVERIFY(ShowWindow());
    DRUI &window = *m_window;

    QStackedLayout *pages = DruiTestAccess::PageStack(window);
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->currentIndex(), int(DRUI::kStartPage));
    QVERIFY(pages->widget(DRUI::kStartPage)->isVisible());
    QVERIFY(!pages->widget(DRUI::kVideoPage)->isVisible());

    QVERIFY(DruiTestAccess::PlayListTable(window)->isHidden());

    QSlider *seek = DruiTestAccess::SeekSlider(window);
    QVERIFY(!seek->isEnabled());
    QCOMPARE(seek->minimum(), 0);
    QCOMPARE(seek->maximum(), 100);

    QSlider *volume = DruiTestAccess::VolumeSlider(window);
    QVERIFY(volume->isEnabled());
    QCOMPARE(volume->value(), 50);
    QCOMPARE(volume->minimum(), 0);
    QCOMPARE(volume->maximum(), 100);

    QCOMPARE(DruiTestAccess::ElapsedLabel(window)->text(), kNoTime);
    QCOMPARE(DruiTestAccess::TotalLabel(window)->text(), kNoTime);
    QVERIFY(DruiTestAccess::ElapsedLabel(window)->isVisible());
    QVERIFY(DruiTestAccess::TotalLabel(window)->isVisible());

    QVERIFY(DruiTestAccess::FileNameLabel(window)->text().isEmpty());
}

// Word-wrapped text asks for more room as it grows; neither the box nor the window gives in.
void MainWindowTest::fileNameBoxDoesNotGrowWithALongName()
{
    QVERIFY(ShowWindow());
    QLabel *label = DruiTestAccess::FileNameLabel(*m_window);
    const QSize empty = label->size();
    QCOMPARE(label->minimumSize(), label->maximumSize());

    for (const QString &name : {QString(300, QLatin1Char('n')),
                                QStringLiteral("Lorem ipsum dolor sit amet ").repeated(12)}) {
        label->setText(name);
        QCoreApplication::processEvents();
        QTest::qWait(20);
        QCOMPARE(label->size(), empty);
        QCOMPARE(m_window->size(), FreshWindowSize(*m_window));
    }
}

void MainWindowTest::startPageButtons_data()
{
    QTest::addColumn<QByteArray>("textKey");
    QTest::addColumn<QString>("englishText");

    QTest::newRow("open file") << QByteArray("MainWnd/OpenFile") << QStringLiteral("   Open File");
    // As the File menu calls it.
    QTest::newRow("open disc") << QByteArray("MainWnd/OpenDisc") << QStringLiteral("   Open Disc");
}

void MainWindowTest::startPageButtons()
{
    QFETCH(QByteArray, textKey);
    QFETCH(QString, englishText);

    QVERIFY(ShowWindow());
    QWidget *startPage = DruiTestAccess::PageStack(*m_window)->widget(DRUI::kStartPage);
    const QString text = QStringLiteral("   ") + GetText(textKey.constData());
    QCOMPARE(text, englishText);
    QPushButton *button = ButtonWithText(startPage, text);
    QVERIFY2(button != nullptr, qPrintable(text));

    QVERIFY(button->isVisible());
    QCOMPARE(button->width(), 300);
    QVERIFY(button->height() >= 85);
    // Centred under the title, inside the page.
    const QPoint corner = button->mapTo(startPage, QPoint(0, 0));
    const QList<QLabel *> labels = startPage->findChildren<QLabel *>();
    const auto found = std::find_if(labels.begin(), labels.end(), [](const QLabel *label) {
        return label->text() == GetText("MainWnd/ProTitle");
    });
    QVERIFY(found != labels.end());
    const QLabel *title = *found;
    const int titleCentre = title->mapTo(startPage, title->rect().center()).x();
    QVERIFY2(qAbs(corner.x() + button->width() / 2 - titleCentre) <= 2,
             qPrintable(QStringLiteral("%1 / %2").arg(corner.x()).arg(titleCentre)));
    QVERIFY(startPage->rect().contains(QRect(corner, button->size())));
}

// One above the other with a gap between them that gives way on a small screen.
void MainWindowTest::startPageButtonsStandApart()
{
    QVERIFY(ShowWindow());
    QWidget *startPage = DruiTestAccess::PageStack(*m_window)->widget(DRUI::kStartPage);
    QPushButton *openFile = ButtonWithText(startPage, QStringLiteral("   Open File"));
    QPushButton *openFolder = ButtonWithText(startPage, QStringLiteral("   Open Disc"));
    QVERIFY(openFile != nullptr);
    QVERIFY(openFolder != nullptr);
    const QRect upper(openFile->mapTo(startPage, QPoint(0, 0)), openFile->size());
    const QRect lower(openFolder->mapTo(startPage, QPoint(0, 0)), openFolder->size());
    QVERIFY(lower.top() > upper.bottom());
    QCOMPARE(upper.left(), lower.left());
    QBoxLayout *column = BoxHolding(openFile->parentWidget()->layout(), openFile);
    QVERIFY(column != nullptr);
    QSpacerItem *gap = column->itemAt(column->indexOf(openFile) + 1)->spacerItem();
    QVERIFY(gap != nullptr);
    QCOMPARE(gap->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
}

void MainWindowTest::menuStrip_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("menu");

    QTest::newRow("File") << 0 << QStringLiteral("File") << QStringLiteral("File");
    QTest::newRow("Controls") << 1 << QStringLiteral("Controls") << QStringLiteral("Controls");
    QTest::newRow("Video") << 2 << QStringLiteral("Video") << QStringLiteral("Video");
    QTest::newRow("Audio") << 3 << QStringLiteral("Audio") << QStringLiteral("Audio");
    QTest::newRow("Tools") << 4 << QStringLiteral("Tools") << QStringLiteral("Tools");
    QTest::newRow("Help") << 5 << QStringLiteral("Help") << QStringLiteral("Help");
}

void MainWindowTest::menuStrip()
{
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(QString, menu);

    QVERIFY(ShowWindow());
    QLabel *strip = DruiTestAccess::MenuStrip(*m_window);
    QList<QPushButton *> buttons =
        strip->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(buttons.size(), 6);
    std::sort(buttons.begin(), buttons.end(),
              [](const QPushButton *a, const QPushButton *b) { return a->x() < b->x(); });

    QPushButton *button = buttons.at(position);
    QCOMPARE(button->geometry(), QRect(100 * position, 1, 100, 20));
    QCOMPARE(button->text(), text);
    QVERIFY(button->isFlat());
    QVERIFY(button->isVisible());
    QVERIFY(button->menu() != nullptr);
    QCOMPARE(button->menu(), MenuNamed(*m_window, menu));
}

void MainWindowTest::menuEntriesInOrder_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("File") << QStringLiteral("File")
                          << QStringList{"Open File",      "Open Disc", "Recent Files",
                                         "Save Play List", "Eject",     "Close"};
    QTest::newRow("Controls") << QStringLiteral("Controls")
                              << QStringList{"Play",       "Stop",       "Pre",       "Next",
                                             "Forward",    "Backward",   "StartOver", "Slower",
                                             "Faster",     "NormalSpeed", "VolumeUp", "VolumeDown",
                                             "Navigation", "Title",      "Chapter",   "Episodes",
                                             "FullScreen"};
    QTest::newRow("Video") << QStringLiteral("Video")
                           << QStringList{"HalfSize",          "NormalSize",      "DoubleSize",
                                          "Fit2Screen",        "VideoTrack",      "SubtitleTrack",
                                          "NextSubtitleTrack", "LoadSubtitle",      "SubtitleDelayDown",
                                          "SubtitleDelayUp",   "AspectRatio",     "NextAspect",
                                          "StayOnTop"};
    QTest::newRow("Audio") << QStringLiteral("Audio")
                           << QStringList{"AudioTrack", "NextAudioTrack", "AudioChannel", "Mute",
                                          "AudioDelayDown", "AudioDelayUp"};
    QTest::newRow("Tools") << QStringLiteral("Tools")
                           << QStringList{"PlayList", "Preferences", "Snapshot"};
    QTest::newRow("Help") << QStringLiteral("Help") << QStringList{"Help", "Support", "About", "Language"};
}

void MainWindowTest::menuEntriesInOrder()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, entries);

    QVERIFY(ShowWindow());
    QMenu *shown = MenuNamed(*m_window, menu);
    QVERIFY(shown != nullptr);
    QCOMPARE(DataOf(shown), entries);
    // Every entry has a visible text of its own.
    for (const QString &text : TextsOf(shown)) {
        QVERIFY(!text.isEmpty());
    }
}

void MainWindowTest::initialMenuEntryState_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("shortcut");

    const auto row = [](const char *menu, const char *entry, bool enabled, const char *shortcut) {
        QTest::addRow("%s/%s", menu, entry)
            << QString::fromLatin1(menu) << QString::fromLatin1(entry) << enabled
            << QString::fromLatin1(shortcut);
    };
    row("File", "Open File", true, "Ctrl+O");
    row("File", "Open Disc", true, "");
    row("File", "Recent Files", true, "");
    row("File", "Eject", true, "");
    row("File", "Close", true, "Ctrl+Q");

    row("Controls", "Play", true, "Space");
    row("Controls", "Stop", true, "");
    row("Controls", "Pre", false, "<");
    row("Controls", "Next", false, ">");
    row("Controls", "Slower", true, "[");
    row("Controls", "Faster", true, "]");
    row("Controls", "NormalSpeed", true, "Backspace");
    row("Controls", "Forward", false, "Right");
    row("Controls", "Backward", false, "Left");
    row("Controls", "StartOver", false, "Home");
    row("Controls", "VolumeUp", true, "Up");
    row("Controls", "VolumeDown", true, "Down");
    row("Controls", "Navigation", false, "P");
    row("Controls", "Title", false, "");
    row("Controls", "Chapter", false, "");
    row("Controls", "FullScreen", false, "F");

    row("Video", "HalfSize", false, "");
    row("Video", "NormalSize", false, "");
    row("Video", "DoubleSize", false, "");
    row("Video", "Fit2Screen", false, "");
    row("Video", "VideoTrack", false, "");
    row("Video", "SubtitleTrack", false, "");
    row("Video", "SubtitleDelayDown", true, "Z");
    row("Video", "SubtitleDelayUp", true, "X");
    row("Video", "NextAspect", true, "A");
    row("Video", "StayOnTop", true, "T");

    row("Audio", "AudioTrack", false, "");
    row("Audio", "AudioChannel", false, "");
    row("Audio", "Mute", true, "M");
    row("Audio", "AudioDelayDown", true, "-");
    row("Audio", "AudioDelayUp", true, "+");

    row("Tools", "PlayList", true, "");
    row("Tools", "Preferences", true, "");
    row("Tools", "Snapshot", false, "S");

    row("Help", "Help", true, "");
    row("Help", "Support", true, "");
    row("Help", "Language", true, "");
}

void MainWindowTest::initialMenuEntryState()
{
    QFETCH(QString, menu);
    QFETCH(QString, entry);
    QFETCH(bool, enabled);
    QFETCH(QString, shortcut);

    QVERIFY(ShowWindow());
    QAction *action = EntryWithData(MenuNamed(*m_window, menu), entry);
    QVERIFY(action != nullptr);
    QCOMPARE(action->isEnabled(), enabled);
    QCOMPARE(action->shortcut().toString(), shortcut);
    if (entry == QLatin1String("Snapshot")) {
        QCOMPARE(action, DruiTestAccess::SnapshotAction(*m_window));
    }
}

void MainWindowTest::fileMenuTexts()
{
    QVERIFY(ShowWindow());
    QMenu *file = DruiTestAccess::FileMenu(*m_window);
    QCOMPARE(TextsOf(file), (QStringList{"Open File...", "Open Disc...", "Recent Files",
                                         "Save Play List...", "Eject", "Close"}));
    QVERIFY(
        EntryWithData(file, QStringLiteral("Open File"))->text().endsWith(QStringLiteral("...")));
    QCOMPARE(EntryWithData(file, QStringLiteral("Recent Files"))->menu(),
             DruiTestAccess::RecentMenu(*m_window));
}

void MainWindowTest::videoTrackSubmenu()
{
    QVERIFY(ShowWindow());
    QMenu *tracks = DruiTestAccess::VideoTrackMenu(*m_window);
    QCOMPARE(
        EntryWithData(DruiTestAccess::VideoMenu(*m_window), QStringLiteral("VideoTrack"))->menu(),
        tracks);
    const QList<QAction *> entries = tracks->actions();
    QCOMPARE(entries.size(), 2);

    QCOMPARE(entries.at(0)->text(), QStringLiteral("Disable"));
    QCOMPARE(entries.at(0)->data().toInt(), 0);
    QVERIFY(!entries.at(0)->isChecked());

    QCOMPARE(entries.at(1)->text(), QStringLiteral("Video 1"));
    QCOMPARE(entries.at(1)->data().toInt(), 1);
    QVERIFY(entries.at(1)->isCheckable());
    QVERIFY(entries.at(1)->isChecked());
}

void MainWindowTest::audioChannelSubmenu()
{
    QVERIFY(ShowWindow());
    QMenu *channels = DruiTestAccess::AudioChannelMenu(*m_window);
    QCOMPARE(
        EntryWithData(DruiTestAccess::AudioMenu(*m_window), QStringLiteral("AudioChannel"))->menu(),
        channels);
    QCOMPARE(DataOf(channels), (QStringList{"Stereo", "Left", "Right"}));
    QCOMPARE(TextsOf(channels), (QStringList{"Stereo", "Left", "Right"}));
    const QList<QAction *> entries = channels->actions();
    QVERIFY(entries.at(0)->isCheckable());
    QVERIFY(entries.at(0)->isChecked());
    QVERIFY(!entries.at(1)->isChecked());
    QVERIFY(!entries.at(2)->isChecked());
}

void MainWindowTest::languageSubmenuMarksTheCurrentLanguage()
{
    QVERIFY(ShowWindow());
    QAction *language =
        EntryWithData(DruiTestAccess::HelpMenu(*m_window), QStringLiteral("Language"));
    QVERIFY(language != nullptr);
    QMenu *languages = language->menu();
    QVERIFY(languages != nullptr);

    QCOMPARE(TextsOf(languages), (QStringList{"English", "Deutsch", QStringLiteral("Français")}));
    QCOMPARE(DataOf(languages), (QStringList{"/English", "/German", "/French"}));
    for (QAction *choice : languages->actions()) {
        const bool current = choice->data().toString() == QLatin1String("/English");
        QCOMPARE(!choice->icon().isNull(), current);
        QCOMPARE(languages->defaultAction() == choice, current);
    }
}

void MainWindowTest::recentSubmenuOfAFreshHomeHoldsOnlyClearMenu()
{
    QVERIFY(ShowWindow());
    QMenu *recent = DruiTestAccess::RecentMenu(*m_window);
    QCOMPARE(DataOf(recent), QStringList{QStringLiteral("Clear Menu")});
    QCOMPARE(TextsOf(recent), QStringList{GetText("MainWnd/ClearMenu")});
    QVERIFY(!QFileInfo::exists(RecentFile()));
}

void MainWindowTest::playListEntryTogglesTheTable_data()
{
    QTest::addColumn<bool>("throughMenuSignal");

    // The slot on its own, and the entry's own trigger, which reaches the slot through the
    // Tools menu's connection.
    QTest::newRow("slot") << false;
    QTest::newRow("menu signal") << true;
}

void MainWindowTest::playListEntryTogglesTheTable()
{
    QFETCH(bool, throughMenuSignal);

    QVERIFY(ShowWindow());
    QAction *playList =
        EntryWithData(DruiTestAccess::ToolsMenu(*m_window), QStringLiteral("PlayList"));
    QVERIFY(playList != nullptr);
    QTableWidget *table = DruiTestAccess::PlayListTable(*m_window);
    const auto choose = [&] {
        if (throughMenuSignal) {
            playList->trigger();
        } else {
            Pick(playList);
        }
        QCoreApplication::processEvents();
    };

    QVERIFY(table->isHidden());
    choose();
    QVERIFY(table->isVisible());
    QVERIFY(table->width() > 0);
    choose();
    QVERIFY(table->isHidden());
    choose();
    QVERIFY(table->isVisible());
}

void MainWindowTest::clearMenuEmptiesTheRecentList_data()
{
    QTest::addColumn<bool>("throughPopup");

    // The File menu's slot given the entry, and a keyboard choice made in the opened File menu
    // and its Recent Files submenu, as a user makes it.
    QTest::newRow("slot") << false;
    QTest::newRow("keyboard in the open menus") << true;
}

void MainWindowTest::clearMenuEmptiesTheRecentList()
{
    QFETCH(bool, throughPopup);

    const QStringList saved = {QStringLiteral("/media/films/newest.mkv"),
                               QStringLiteral("/media/discs/MIDDLE_DISC"),
                               QStringLiteral("/media/films/oldest film.m2ts")};
    QVERIFY(EnsureFolderExists(AppDataFolder()));
    {
        QFile file(RecentFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
        for (const QString &path : saved) {
            file.write(path.toLocal8Bit() + '\n');
        }
    }

    QVERIFY(ShowWindow());
    QMenu *recent = DruiTestAccess::RecentMenu(*m_window);
    QCOMPARE(DataOf(recent), saved + QStringList{QStringLiteral("Clear Menu")});
    QCOMPARE(TextsOf(recent), saved + QStringList{QStringLiteral("Clear Menu")});
    QAction *clear = EntryWithData(recent, QStringLiteral("Clear Menu"));
    QVERIFY(clear != nullptr);

    if (throughPopup) {
        QMenu *file = DruiTestAccess::FileMenu(*m_window);
        file->popup(m_window->mapToGlobal(QPoint(0, 22)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        file->setActiveAction(EntryWithData(file, QStringLiteral("Recent Files")));
        QTest::keyClick(file, Qt::Key_Right);
        QTRY_VERIFY(recent->isVisible());
        recent->setActiveAction(clear);
        QTest::keyClick(recent, Qt::Key_Return);
        QTRY_VERIFY(!file->isVisible());
    } else {
        Pick(clear);
    }
    QCoreApplication::processEvents();

    QVERIFY(recent->actions().isEmpty());
    QVERIFY(!QFileInfo::exists(RecentFile()));
    // The rest of the player's folder stays.
    QVERIFY(QFileInfo(AppDataFolder()).isDir());
}

void MainWindowTest::setUpCreatesTheAppDataFolder()
{
    QVERIFY(!QFileInfo::exists(AppDataFolder()));
    DRUI window;
    QVERIFY(!QFileInfo::exists(AppDataFolder()));
    window.SetUpWindow();
    QVERIFY(QFileInfo(AppDataFolder()).isDir());
    QVERIFY(AppDataFolder().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + QLatin1Char('/')));
}

void MainWindowTest::videoPagePaintEnablesTheMenus_data()
{
    QTest::addColumn<int>("sourceKind");
    QTest::addColumn<bool>("navigationEnabled");

    // A file's is disabled: the playback tests look at it.
    QTest::newRow("Blu-ray, as a fresh window holds") << int(kSourceBluRay) << true;
}

void MainWindowTest::videoPagePaintEnablesTheMenus()
{
    QFETCH(int, sourceKind);
    QFETCH(bool, navigationEnabled);

    QVERIFY(ShowWindow());
    DRUI &window = *m_window;
    QCOMPARE(Owners::Chosen(window).kind, sourceKind);

    // Painting the start page changes nothing.
    window.repaint();
    QVERIFY(
        !EntryWithData(DruiTestAccess::ControlsMenu(window), QStringLiteral("Next"))->isEnabled());
    QVERIFY(!DruiTestAccess::SnapshotAction(window)->isEnabled());

    DruiTestAccess::PageStack(window)->setCurrentIndex(DRUI::kVideoPage);
    window.repaint();

    const auto checkEnabled = [&](const char *when) {
        for (QAction *action : DruiTestAccess::ControlsMenu(window)->actions()) {
            // Episodes, hidden without a series disc, is no entry to enable.
            const bool expected =
                action->isVisible() &&
                (action->data().toString() != QLatin1String("Navigation") || navigationEnabled);
            QVERIFY2(action->isEnabled() == expected,
                     qPrintable(QStringLiteral("%1: Controls/%2")
                                    .arg(QLatin1String(when), action->data().toString())));
        }
        for (const char *name : {"Video", "Audio", "Tools"}) {
            for (QAction *action : MenuNamed(window, QLatin1String(name))->actions()) {
                QVERIFY2(action->isEnabled(),
                         qPrintable(QStringLiteral("%1: %2/%3")
                                        .arg(QLatin1String(when), QLatin1String(name),
                                             action->data().toString())));
            }
        }
        QVERIFY(DruiTestAccess::SnapshotAction(window)->isEnabled());
    };
    checkEnabled("video page");
    if (QTest::currentTestFailed()) {
        return;
    }
    if (sourceKind == kSourceBluRay) {
        // The file name box follows what plays: for a disc, the disc's name.
        QCOMPARE(DruiTestAccess::FileNameLabel(window)->text(),
                 QStringLiteral("    ") + DruiTestAccess::DiscNameLabel(window)->text());
    }

    DruiTestAccess::PageStack(window)->setCurrentIndex(DRUI::kStartPage);
    window.repaint();
    checkEnabled("back on the start page");
}

TAVRIX_WIDGET_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
