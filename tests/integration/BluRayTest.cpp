// A Blu-ray folder in the window: the disc menu and the Controls menu after a scan, and what
// the engine is told when the main title, a chapter or another title is picked.
#include "common/ModalCloser.h"
#include "common/Owners.h"
#include "common/TestMain.h"
#include "common/WindowWithEngine.h"

#include "app/LanguageManager.h"

#include "DiscWriter.h"
#include "PlaylistWriter.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QStackedLayout>

#include <QTableWidget>
#include <QTimer>
#include <algorithm>

#include <memory>
#include <tuple>

namespace {

using namespace PlaylistWriter;

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class BluRayTest : public QObject, protected WindowWithEngine
{
    Q_OBJECT

private:
    QTemporaryDir m_discs;
    QString m_disc;
    // One hour with chapters at 0, 10, 30 and 40 minutes.
    QString m_chapterDisc;

    // Titles in listing order: 00001 (40 min, chapters), 00002 (a copy of 00001),
    // 00003 (1 h 30 min, two audio and a subtitle stream), 00004 (5 min).
    void MakeDisc()
    {
        m_disc = m_discs.filePath(QStringLiteral("MY DISC"));
        QDir().mkpath(m_disc + QStringLiteral("/BDMV/STREAM"));
        Playlist withChapters;
        withChapters.items = {SimpleItem("00010", 40 * 60 * 1000)};
        withChapters.marks = {Mark{1, 0, 0}, Mark{1, 0, 600 * 45000u}};
        const QByteArray first = Write(withChapters);
        WriteFile(m_disc + "/BDMV/PLAYLIST/00001.mpls", first);
        WriteFile(m_disc + "/BDMV/PLAYLIST/00002.mpls", first);

        Playlist main;
        PlayItem feature = SimpleItem("00020", 90 * 60 * 1000);
        feature.audio = {Stream{0x81, 1, 0x1100, "eng"}, Stream{0x83, 1, 0x1101, "fra"}};
        feature.subtitles = {Stream{0x90, 1, 0x1200, "deu"}};
        main.items = {feature};
        main.marks = {Mark{1, 0, 0}, Mark{1, 0, 1234567u * 45}, Mark{1, 0, 2400u * 45000}};
        WriteFile(m_disc + "/BDMV/PLAYLIST/00003.mpls", Write(main));

        Playlist trailer;
        trailer.items = {SimpleItem("00030", 5 * 60 * 1000)};
        WriteFile(m_disc + "/BDMV/PLAYLIST/00004.mpls", Write(trailer));
        WriteFile(m_disc + "/BDMV/META/DL/bdmt_eng.xml",
                  "<disclib>\n<di:title>\n<di:name>Harbour Lights</di:name>\n</di:title>\n"
                  "<di:thumbnail href=\"missing.jpg\" />\n</disclib>\n");
    }

    QString Key(const char *name) { return m_disc + "/BDMV/PLAYLIST/" + name; }

    // The scan's count of each title, as Other Titles lists them.
    std::map<QString, int> TitleNumbers()
    {
        std::map<QString, int> numbers;
        for (QAction *entry : DruiTestAccess::DiscOtherTitlesAction(Window())->menu()->actions()) {
            const QString key = entry->data().value<PLAY_LIST_INFO>().strPath;
            numbers[key] = Owners::Plays(Window()).Title(key)->scanNumber;
        }
        return numbers;
    }

    // Picks an entry of a disc menu submenu as a click does: the entry is triggered, and the
    // disc menu hands it on.
    void PickFromDisc(QAction *discEntry, int index)
    {
        QAction *entry = discEntry->menu()->actions().at(index);
        entry->trigger();
        Window().BDMenuOperate(entry);
        Owners::SettleDisc(Window());
    }

    QStringList EngineTail(int count)
    {
        return Owners::Session(Window()).Arguments().last(count);
    }

private slots:
    void initTestCase()
    {
        MakeDisc();
        m_chapterDisc = m_discs.filePath(QStringLiteral("CHAPTERS"));
        QDir().mkpath(m_chapterDisc + QStringLiteral("/BDMV/STREAM"));
        Playlist hour;
        hour.items = {SimpleItem("00001", 3600 * 1000)};
        for (const quint32 minute : {0u, 10u, 30u, 40u}) {
            hour.marks.append(Mark{1, 0, minute * 60 * 45000});
        }
        WriteFile(m_chapterDisc + "/BDMV/PLAYLIST/00001.mpls", Write(hour));
    }

    void init()
    {
        MakeEngineAndWindow();
        Owners::OpenDiscFolder(Window(), m_disc);
    }

    void cleanup() { DropWindowAndEngine(); }

    // Nothing of a file that played stays on screen once a disc is opened.
    void discOpenedWhileAFilePlaysForgetsTheFile()
    {
        const QString film = m_engine->MakeMedia(QStringLiteral("film.mkv"));
        Play(film, kSourceFile, 100);
        WaitForCommand(QStringLiteral("volume 50 2"));
        QTRY_VERIFY(Window().windowTitle().startsWith(QStringLiteral("film.mkv")));
        DruiTestAccess::OpenDiscFolder(Window(), m_disc);
        Owners::SettleDisc(Window());
        QCOMPARE(Page(), int(DRUI::kNavigationPage));
        QCOMPARE(Window().windowTitle(), GetText("MainWnd/ProTitle"));
        QCOMPARE(DruiTestAccess::TotalLabel(Window())->text(), QStringLiteral(" 00:00:00"));
        QTableWidget *rows = DruiTestAccess::PlayListTable(Window());
        for (int row = 0; row < rows->rowCount(); ++row) {
            QVERIFY(rows->item(row, 0)->icon().isNull());
        }
    }

    // A list that starts with the disc shows its page while a file still plays: a chapter picked
    // there starts the disc's main title, never a seek in the file.
    void chapterOfTheDiscPageStartsTheDisc()
    {
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")), kSourceFile, 100);
        WaitForCommand(QStringLiteral("volume 50 2"));
        const QString list = m_discs.filePath(QStringLiteral("disc.m3u"));
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_disc.toUtf8() + '\n') > 0);
        file.close();
        Owners::Plays(Window()).OpenFiles({list});
        Owners::SettleDisc(Window());
        PickFromDisc(DruiTestAccess::DiscChapterAction(Window()), 1);
        QTRY_COMPARE(m_engine->Starts(), 2);
        QVERIFY(LastArgs().contains(QStringLiteral(" br://0 -bluray-device ")));
        WaitForCommand(QStringLiteral("seek 1234 2"));
    }

    void scanFillsTheNavigationPage()
    {
        QCOMPARE(Page(), int(DRUI::kNavigationPage));
        QCOMPARE(DruiTestAccess::DiscNameLabel(Window())->text(), QStringLiteral("Harbour Lights"));
        QVERIFY(Owners::EnginePid(Window()) == 0);
        QCOMPARE(Owners::Chosen(Window()).titleKey, Key("00003.mpls"));
        // The copy uses up number 2.
        QCOMPARE(TitleNumbers(),
                 (std::map<QString, int>{
                     {Key("00001.mpls"), 1}, {Key("00003.mpls"), 3}, {Key("00004.mpls"), 4}}));
    }

    void titleMenusListTheTitlesLongestFirst()
    {
        const QList<QAction *> titles =
            DruiTestAccess::DiscOtherTitlesAction(Window())->menu()->actions();
        QStringList texts;
        for (QAction *title : titles) {
            texts << title->text();
        }
        QCOMPARE(texts, QStringList({"1. 01:30:00", "2. 00:40:00", "3. 00:05:00"}));
        QCOMPARE(titles[1]->data().value<PLAY_LIST_INFO>().strPath, Key("00001.mpls"));
        // The same entries sit in the Controls menu's Title submenu.
        QCOMPARE(DruiTestAccess::TitleMenu(Window())->actions(), titles);
    }

    void previousAndNextStepThroughBluRayChapters_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<bool>("next");
        QTest::addColumn<int>("expected");
        QTest::newRow("next, inside the third chapter") << "1810" << true << 2400;
        QTest::newRow("previous, inside the third chapter") << "1810" << false << 600;
        QTest::newRow("previous, inside the first chapter") << "300" << false << -1;
        QTest::newRow("next, inside the last chapter") << "2500" << true << -1;
        QTest::newRow("next, at the very start of a chapter") << "1800" << true << 2400;
        // Right after a step the position is the chapter's start itself: that chapter plays.
        QTest::newRow("previous, at the very start of the fourth chapter")
            << "2400" << false << 1800;
        QTest::newRow("previous, at the very start of the second chapter") << "600" << false << 0;
    }

    void previousAndNextStepThroughBluRayChapters()
    {
        QFETCH(QString, position);
        QFETCH(bool, next);
        QFETCH(int, expected);
        m_engine->SetLength(3600);
        Owners::OpenDiscFolder(Window(), m_chapterDisc);
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        WaitForCommand(QStringLiteral("volume 50 2"));
        QVERIFY(LastArgs().contains(QStringLiteral(" br://0 -bluray-device ")));

        // From a known place, with no answer to move the clock.
        Owners::PollTimer(Window())->stop();
        Owners::Player(Window()).SeekTo(position.toInt());
        Sync();
        const int seeks = Seeks().size();
        const qint64 elapsedMs = Owners::ElapsedMs(Window());
        QCOMPARE(elapsedMs, position.toLongLong() * 1000);
        if (next) {
            Window().PlayNext();
        } else {
            Window().PlayPre();
        }
        if (expected >= 0) {
            QCOMPARE(Owners::ElapsedMs(Window()), qint64(expected) * 1000);
            QTRY_COMPARE_WITH_TIMEOUT(Seeks().mid(seeks),
                                      QStringList{QStringLiteral("seek %1 2").arg(expected)}, 5000);
        } else {
            QCOMPARE(Owners::ElapsedMs(Window()), elapsedMs);
            Sync();
            QCOMPARE(Seeks().size(), seeks);
        }
        QCOMPARE(m_engine->Starts(), 1);
    }

    // A chapter picked starts that title there, and nothing that plays after it.
    void chapterStartIsNotSoughtInTheNextSource_data()
    {
        QTest::addColumn<bool>("dvd");
        QTest::newRow("file") << false;
        QTest::newRow("DVD folder") << true;
    }

    void chapterStartIsNotSoughtInTheNextSource()
    {
        QFETCH(bool, dvd);
        PickFromDisc(DruiTestAccess::DiscChapterAction(Window()), 1);
        WaitForCommand(QStringLiteral("seek 1234 2"));
        Window().StopBtn();
        const int seeks = Seeks().size();
        if (dvd) {
            Owners::OpenDiscFolder(Window(), DvdFolder());
        } else {
            Owners::OpenFiles(Window(), {m_engine->MakeMedia(QStringLiteral("film.mkv"))});
        }
        QTRY_COMPARE(m_engine->Starts(), 2);
        WaitForCommand(QStringLiteral("volume 50 2"));
        Sync();
        QCOMPARE(Seeks().size(), seeks);
    }

    void chapterAudioAndSubtitleMenusDescribeTheMainTitle()
    {
        QStringList chapters;
        for (QAction *chapter : DruiTestAccess::DiscChapterAction(Window())->menu()->actions()) {
            chapters << chapter->text();
        }
        QCOMPARE(chapters, QStringList({"1. 00:00:00", "2. 00:20:34", "3. 00:40:00"}));
        QCOMPARE(DruiTestAccess::ChapterMenu(Window())->actions(),
                 DruiTestAccess::DiscChapterAction(Window())->menu()->actions());

        QMenu *audio = DruiTestAccess::DiscAudioAction(Window())->menu();
        QCOMPARE(audio->actions().size(), 3);
        QCOMPARE(audio->actions()[1]->text(), QStringLiteral("English AC3"));
        QCOMPARE(audio->actions()[2]->text(), QStringLiteral("French TRUEHD"));
        QCOMPARE(audio->activeAction(), audio->actions()[1]);
        const QList<QAction *> audioTracks = DruiTestAccess::AudioTrackMenu(Window())->actions();
        QCOMPARE(audioTracks.size(), 3);
        QVERIFY(audioTracks[1]->isChecked());
        QVERIFY(!audioTracks[0]->isCheckable());

        QMenu *subtitles = DruiTestAccess::DiscSubtitleAction(Window())->menu();
        QCOMPARE(subtitles->actions().size(), 2);
        QCOMPARE(subtitles->actions()[1]->text(), QStringLiteral("DEU"));
        QCOMPARE(subtitles->activeAction(), subtitles->actions()[0]);
        const QList<QAction *> subtitleTracks =
            DruiTestAccess::SubtitleTrackMenu(Window())->actions();
        QVERIFY(subtitleTracks[0]->isChecked());
        QVERIFY(!subtitleTracks[1]->isCheckable());
    }

    // A chapter or title menu lists 25 entries and the rest in submenus of 25, in the disc menu
    // and the Controls menu alike; the last entry, deepest in, still does what it says.
    void longMenusListTheRestInSubmenus_data()
    {
        QTest::addColumn<int>("chapters"); // of the main title, one every ten seconds
        QTest::addColumn<int>("titles");   // the main title and others of 1, 2, ... seconds
        QTest::addColumn<QStringList>("chapterMenu"); // its length and last line
        QTest::addColumn<QStringList>("titleMenu");
        QTest::newRow("25 chapters and titles: all listed")
            << 25 << 25 << QStringList{"25", "25. 00:04:00"} << QStringList{"25", "25. 00:00:01"};
        QTest::newRow("26 chapters") << 26 << 1 << QStringList{"26", "Chapters 26–26"}
                                     << QStringList{"1", "1. 01:04:20"};
        QTest::newRow("999 chapters, the most a title has")
            << 999 << 1 << QStringList{"64", "Chapters 976–999"}
            << QStringList{"1", "1. 03:46:30"};
        QTest::newRow("60 titles") << 2 << 60 << QStringList{"2", "2. 00:00:10"}
                                   << QStringList{"27", "Titles 51–60"};
    }

    void longMenusListTheRestInSubmenus()
    {
        QFETCH(int, chapters);
        QFETCH(int, titles);
        QFETCH(QStringList, chapterMenu);
        QFETCH(QStringList, titleMenu);
        const QString disc = m_discs.filePath(QStringLiteral("MENUS %1").arg(chapters + titles));
        Playlist main{{SimpleItem("00001", (chapters * 10 + 3600) * 1000)}, {}};
        for (int i = 0; i < chapters; ++i) {
            main.marks.append(Mark{1, 0, quint32(i) * 10 * 45000});
        }
        WriteFile(disc + "/BDMV/PLAYLIST/00000.mpls", Write(main));
        for (int i = 1; i < titles; ++i) {
            WriteFile(disc + QStringLiteral("/BDMV/PLAYLIST/%1.mpls").arg(i, 5, 10, QChar('0')),
                      Write({{SimpleItem(QByteArray::number(10000 + i), i * 1000)}, {}}));
        }
        QDir().mkpath(disc + QStringLiteral("/BDMV/STREAM"));
        Owners::OpenDiscFolder(Window(), disc);
        // The last entry, in the last submenu when there are any.
        const auto last = [](QMenu *menu) {
            QAction *entry = menu->actions().last();
            return entry->menu() != nullptr ? entry->menu()->actions().last() : entry;
        };
        for (const auto &[discEntry, controls, expected] :
             {std::tuple(DruiTestAccess::DiscChapterAction(Window()),
                         DruiTestAccess::ChapterMenu(Window()), chapterMenu),
              std::tuple(DruiTestAccess::DiscOtherTitlesAction(Window()),
                         DruiTestAccess::TitleMenu(Window()), titleMenu)}) {
            QMenu *inDisc = discEntry->menu();
            QCOMPARE(QString::number(inDisc->actions().size()), expected[0]);
            QCOMPARE(inDisc->actions().last()->text(), expected[1]);
            QCOMPARE(controls->actions().size(), inDisc->actions().size());
            QCOMPARE(controls->actions().last()->text(), expected[1]);
            QCOMPARE(last(controls), last(inDisc));
        }
        // Picked as the disc menu hands a click on.
        QAction *lastChapter = last(DruiTestAccess::DiscChapterAction(Window())->menu());
        lastChapter->trigger();
        Window().BDMenuOperate(lastChapter);
        QCOMPARE(Owners::Chosen(Window()).startSec, (chapters - 1) * 10);
        WaitForCommand(QStringLiteral("seek %1 2").arg((chapters - 1) * 10));
        QAction *lastTitle = last(DruiTestAccess::TitleMenu(Window()));
        lastTitle->trigger();
        Owners::SettleDisc(Window());
        QCOMPARE(Owners::Chosen(Window()).titleKey,
                 lastTitle->data().value<PLAY_LIST_INFO>().strPath);
    }

    void playMoviePlaysTheMainTitleFromItsStart()
    {
        const QString workingFolder = QDir::currentPath();
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QCOMPARE(EngineTail(3), QStringList({"br://0", "-bluray-device", m_disc}));
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(90 * 60));
        // Nothing holds the disc busy: the player's own folder stays where it was.
        QCOMPARE(QDir::currentPath(), workingFolder);
        QVERIFY(!m_engine->Commands().filter(QRegularExpression("^seek")).size());
    }

    void chapterPickStartsTheMainTitleWithASeek()
    {
        PickFromDisc(DruiTestAccess::DiscChapterAction(Window()), 1);
        QCOMPARE(EngineTail(3), QStringList({"br://0", "-bluray-device", m_disc}));
        QVERIFY(!Owners::Chosen(Window()).titleChosen);
        QTRY_VERIFY(m_engine->Commands().contains(QStringLiteral("seek 1234 2")));
        QVERIFY(Owners::ElapsedMs(Window()) >= 1234000);
    }

    void otherTitlePlaysItsOwnNumberAndBecomesCurrent()
    {
        PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 2);
        QCOMPARE(EngineTail(3), QStringList({"br://4", "-bluray-device", m_disc}));
        QCOMPARE(Owners::Chosen(Window()).titleKey, Key("00004.mpls"));
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(5 * 60));
        // Play Movie then plays the main title, br://0, with the main title's own figures.
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QCOMPARE(EngineTail(3), QStringList({"br://0", "-bluray-device", m_disc}));
        const QString mainTitle = DruiTestAccess::DiscOtherTitlesAction(Window())
                                      ->menu()
                                      ->actions()
                                      .first()
                                      ->data()
                                      .value<PLAY_LIST_INFO>()
                                      .strPath;
        QCOMPARE(Owners::Chosen(Window()).titleKey, mainTitle);
        QVERIFY(Owners::Chosen(Window()).durationSec != qint64(5 * 60));
    }

    // Every Play control starts br://0 with the main title's figures, unless a title was picked
    // in this load of the disc; a new load forgets the pick.
    void playStartsThePickOfThisLoadElseTheMainTitle_data()
    {
        QTest::addColumn<bool>("pick");
        QTest::addColumn<bool>("reload");
        QTest::addColumn<bool>("button");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("minutes");
        QTest::newRow("after the scan, button") << false << false << true << "br://0" << 90;
        QTest::newRow("picked, stopped, button") << true << false << true << "br://4" << 5;
        QTest::newRow("picked, stopped, Controls Play") << true << false << false << "br://4" << 5;
        QTest::newRow("picked, opened again, button") << true << true << true << "br://0" << 90;
        QTest::newRow("picked, opened again, Controls Play") << true << true << false << "br://0" << 90;
    }

    void playStartsThePickOfThisLoadElseTheMainTitle()
    {
        QFETCH(bool, pick);
        QFETCH(bool, reload);
        QFETCH(bool, button);
        QFETCH(QString, expected);
        QFETCH(int, minutes);
        if (pick) {
            PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 2);
            QCOMPARE(EngineTail(3).first(), QStringLiteral("br://4"));
            Window().StopBtn();
        }
        if (reload) {
            Owners::OpenDiscFolder(Window(), m_disc);
        }
        if (button) {
            Window().PlayOrPause();
        } else {
            Pick(DruiTestAccess::PlayAction(Window()));
        }
        QCOMPARE(EngineTail(3), QStringList({expected, "-bluray-device", m_disc}));
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(minutes * 60));
        QCOMPARE(Owners::PlayList(Window()).size(), 1);
    }

    void twoTitlesOfOneDiscGiveOnePlayListRow()
    {
        PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 1);
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QCOMPARE(Owners::PlayList(Window()).size(), 1);
        QCOMPARE(Owners::PlayList(Window())[0].nType, int(kSourceBluRay));
        QCOMPARE(DruiTestAccess::PlayListTable(Window())->item(0, 0)->text(),
                 QStringLiteral("    MY DISC"));
    }

    void controlsMenuChapterSeeksWithinThePlayingTitle()
    {
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QTRY_VERIFY(m_engine->Commands().contains(QStringLiteral("volume 50 2")));
        Pick(DruiTestAccess::ChapterMenu(Window())->actions().at(2));
        QTRY_VERIFY(m_engine->Commands().contains(QStringLiteral("seek 2400 2")));
        QCOMPARE(m_engine->Starts(), 1);
    }

    void controlsMenuTitleRestartsWithItsNumber()
    {
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QTRY_VERIFY(m_engine->Commands().contains(QStringLiteral("volume 50 2")));
        Pick(DruiTestAccess::TitleMenu(Window())->actions().at(1));
        Owners::SettleDisc(Window());
        QCOMPARE(EngineTail(3), QStringList({"br://1", "-bluray-device", m_disc}));
        QTRY_COMPARE(m_engine->Starts(), 2);
        QVERIFY(Owners::Chosen(Window()).titleChosen);
    }

    void pickedTitleGetsTheEnginesOwnNumber()
    {
        // The engine lists the disc's playlists in an order of its own.
        m_engine->SetTitleList("00004,00003,00001");
        PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 2);
        QCOMPARE(EngineTail(3), QStringList({"br://1", "-bluray-device", m_disc}));
        PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 1);
        QCOMPARE(EngineTail(3), QStringList({"br://3", "-bluray-device", m_disc}));
        // Asked once per scanned disc; the main title road stays br://0.
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QCOMPARE(EngineTail(3), QStringList({"br://0", "-bluray-device", m_disc}));
        QCOMPARE(m_engine->TitleListQuestions(), 1);
        Owners::OpenDiscFolder(Window(), m_disc);
        PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 2);
        QCOMPARE(m_engine->TitleListQuestions(), 2);
    }

    // The Chapter menu lists the chapters of the title that plays; at its end the disc's page
    // comes back with the main title's.
    void endOfATitleLandsOnTheDiscsPage()
    {
        const auto chapters = [this] {
            QStringList texts;
            for (QAction *entry : DruiTestAccess::ChapterMenu(Window())->actions()) {
                texts << entry->text();
            }
            return texts;
        };
        const QStringList mainChapters = {"1. 00:00:00", "2. 00:20:34", "3. 00:40:00"};
        QCOMPARE(chapters(), mainChapters);
        m_engine->SetLength(0.5);
        PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 1);
        QTRY_COMPARE(Page(), int(DRUI::kVideoPage));
        QCOMPARE(chapters(), QStringList({"1. 00:00:00", "2. 00:10:00"}));
        QTRY_VERIFY_WITH_TIMEOUT(!Owners::IsPlaying(Window()), 5000);
        QCOMPARE(Page(), int(DRUI::kNavigationPage));
        QCOMPARE(chapters(), mainChapters);
    }

    // The engine may list a byte-identical copy in its original's place.
    void titleListedUnderItsCopyPlaysUnderTheCopysNumber()
    {
        m_engine->SetTitleList("00003,00002,00004");
        PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 1);
        QCOMPARE(EngineTail(3), QStringList({"br://2", "-bluray-device", m_disc}));
        QVERIFY(Owners::IsPlaying(Window()));
    }

    // A disc without titles is no disc: it is refused, and the last disc stays as it was.
    void discWithoutTitlesIsRefused()
    {
        const QString empty = m_discs.filePath(QStringLiteral("EMPTY DISC"));
        QVERIFY(QDir().mkpath(empty + QStringLiteral("/BDMV/STREAM")));
        QVERIFY(QDir().mkpath(empty + QStringLiteral("/BDMV/PLAYLIST")));
        QString shown;
        const auto closer = CloseMessageBoxes(shown);
        Owners::OpenDiscFolder(Window(), empty);
        QTRY_VERIFY(shown.startsWith(GetText("Messages/MSG0102")));
        QCOMPARE(Owners::Chosen(Window()).path, m_disc);
        QCOMPARE(DruiTestAccess::DiscOtherTitlesAction(Window())->menu()->actions().size(), 3);
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QCOMPARE(EngineTail(3), QStringList({"br://0", "-bluray-device", m_disc}));
    }

    // When the engine gave its list, a title it does not offer is refused, not guessed at.
    void titleMissingFromTheEnginesListIsNotPlayed()
    {
        m_engine->SetTitleList("00003");
        QString shown;
        const auto closer = CloseMessageBoxes(shown);
        PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 2);
        QCOMPARE(shown, GetText("Messages/MSG0505"));
        QVERIFY(Owners::EnginePid(Window()) == 0);
    }

    void engineThatNeverAnswersCostsOnlyTheTimeLimit()
    {
        m_engine->SetTitleList("hang");
        PickFromDisc(DruiTestAccess::DiscOtherTitlesAction(Window()), 2);
        QCOMPARE(EngineTail(3), QStringList({"br://4", "-bluray-device", m_disc}));
        QVERIFY(Owners::IsPlaying(Window()));
    }

    // A disc of very many playlists is read, and a title list the engine never gives is asked
    // for, while the window goes on answering; Stop ends the asking at once.
    void windowAnswersWhileADiscIsReadOrItsTitlesAsked_data()
    {
        QTest::addColumn<int>("playlists");
        QTest::addColumn<int>("entries"); // more in BDMV itself
        QTest::newRow("100,000 playlists") << 100000 << 0;
        // Told a disc by named entries, never by a listing.
        QTest::newRow("50,000 entries in BDMV") << 1 << 50000;
        QTest::newRow("a title list that never comes") << 0 << 0;
    }

    void windowAnswersWhileADiscIsReadOrItsTitlesAsked()
    {
        QFETCH(int, playlists);
        QFETCH(int, entries);
        QString disc = m_disc;
        if (playlists > 0) {
            disc = m_discs.filePath(QStringLiteral("MANY %1").arg(entries));
            QDir().mkpath(disc + QStringLiteral("/BDMV/STREAM"));
            QDir().mkpath(disc + QStringLiteral("/BDMV/PLAYLIST"));
            for (int n = 0; n < entries; ++n) {
                QFile(disc + QStringLiteral("/BDMV/%1").arg(n)).open(QIODevice::WriteOnly);
            }
            Playlist one;
            one.items = {SimpleItem("00010", 60 * 1000)};
            const QByteArray bytes = Write(one);
            for (int n = 0; n < playlists; ++n) {
                QFile file(disc + QStringLiteral("/BDMV/PLAYLIST/%1.mpls").arg(n, 5, 10, QLatin1Char('0')));
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            }
        } else {
            m_engine->SetTitleList("hang");
        }
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longestGap = 0;
        QTimer beat;
        QObject::connect(&beat, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - last);
            last = clock.elapsed();
        });
        beat.start(10);
        clock.start();
        if (playlists > 0) {
            Owners::OpenDiscFolder(Window(), disc);
            QCOMPARE(TitleNumbers().size(), size_t(1));
        } else {
            DruiTestAccess::DiscOtherTitlesAction(Window())->menu()->actions().at(2)->trigger();
            QTest::qWait(1000);
            QCOMPARE(m_engine->Starts(), 0);
            Window().StopPlaybackAndProbes();
            QVERIFY(!Owners::Plays(Window()).ReadingDisc());
        }
        QVERIFY2(longestGap < 100, qPrintable(QString::number(longestGap)));
    }

    // The title's own lists name streams the engine did not announce: an entry's number stands
    // for the stream.
    void trackEntryBeyondTheAnnouncedStreams()
    {
        m_engine->SetStreams("");
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        // The title starts with its first stream.
        WaitForCommand(QStringLiteral("pausing_keep_force switch_audio 0"));
        Pick(EntryWithData(DruiTestAccess::AudioTrackMenu(Window()), 2));
        WaitForCommand(QStringLiteral("pausing_keep_force switch_audio 1"));
    }

    // A series disc lists its episodes in both menus, a film's disc none; an episode plays its
    // own title under the engine's number, or its stretch of a Play All, which ends where the
    // episode does unless the whole list is to play or it was sought past.
    void episodesAreListedAndPlayed_data()
    {
        QTest::addColumn<bool>("playAllAlone");
        QTest::addColumn<bool>("wholeList");
        QTest::addColumn<int>("seekTo"); // short of the episode's end at 2400 s, or past it
        QTest::newRow("titles of their own") << false << false << 0;
        QTest::newRow("stretch of a Play All") << true << false << 2399;
        QTest::newRow("stretch, whole list") << true << true << 2399;
        QTest::newRow("stretch, sought past") << true << false << 2401;
    }

    void episodesAreListedAndPlayed()
    {
        QFETCH(bool, playAllAlone);
        QFETCH(bool, wholeList);
        QFETCH(int, seekTo);
        QAction *episodes = DruiTestAccess::DiscMenu(Window())->actions().at(1);
        QAction *inControls = EntryWithData(DruiTestAccess::ControlsMenu(Window()), "Episodes");
        QVERIFY(!episodes->isVisible() && !inControls->isVisible());
        const QVector<Piece> bodies = {{"00011", 1200000}, {"00012", 1200000}, {"00013", 1441000}};
        QVector<QPair<QByteArray, Playlist>> playlists = {{"00001", Chain(bodies)}};
        if (!playAllAlone) {
            playlists = {{"00001", Chain({bodies[2]})}, {"00002", Chain({bodies[0]})},
                         {"00003", Chain({bodies[1]})}, {"00004", Chain(bodies)}};
        }
        const QString disc = m_discs.filePath(QStringLiteral("SERIES %1").arg(playAllAlone));
        QVERIFY(DiscWriter::WritePlaylists(playlists, disc));
        m_engine->SetTitleList("00003,00001,00002,00004");
        m_engine->SetLength(4000);
        Owners::Player(Window()).SetPlayWholeList(wholeList);
        Owners::OpenDiscFolder(Window(), disc);
        QVERIFY(episodes->isVisible() && inControls->isVisible());
        QCOMPARE(episodes->menu()->actions().size(), 3);
        QCOMPARE(episodes->menu()->actions().at(2)->text(), QStringLiteral("Episode 3 – 00:24:01"));
        QCOMPARE(inControls->menu()->actions(), episodes->menu()->actions());

        PickFromDisc(episodes, 1);
        // The engine lists 00003, the second episode of its own, first, and the Play All second.
        QCOMPARE(EngineTail(3).first(), playAllAlone ? "br://2" : "br://1");
        QCOMPARE(Owners::Chosen(Window()).startSec, playAllAlone ? 1200 : 0);
        if (playAllAlone) {
            WaitForCommand(QStringLiteral("seek 1200 2"));
            // The end is watched at the poll: two answers after the seek, or the end itself.
            QSignalSpy answers(&Owners::Session(Window()), &EngineSession::PositionAnswered);
            Owners::Player(Window()).SeekTo(seekTo);
            QTRY_VERIFY_WITH_TIMEOUT(answers.size() >= 2 || Page() == int(DRUI::kNavigationPage),
                                     10000);
            const bool ends = !wholeList && seekTo < 2400;
            QTRY_COMPARE(Page(), int(ends ? DRUI::kNavigationPage : DRUI::kVideoPage));
            QCOMPARE(m_engine->Commands().contains(QStringLiteral("q")), ends);
        }
        // A file that plays next has no episodes.
        Play(m_engine->MakeMedia(QStringLiteral("film.mkv")), kSourceFile, 100);
        QTRY_VERIFY(!inControls->isVisible());
    }

    void discMenuTrackChoicesApplyAtTheNextStart()
    {
        m_engine->SetStreams("aas");
        PickFromDisc(DruiTestAccess::DiscAudioAction(Window()), 2);
        PickFromDisc(DruiTestAccess::DiscSubtitleAction(Window()), 1);
        // The choices are ticked in the disc menu, each the only one in its list.
        for (QAction *discEntry : {DruiTestAccess::DiscAudioAction(Window()),
                                   DruiTestAccess::DiscSubtitleAction(Window())}) {
            const QList<QAction *> entries = discEntry->menu()->actions();
            QCOMPARE(std::count_if(entries.begin(), entries.end(),
                                   [](const QAction *entry) { return entry->isChecked(); }),
                     1);
        }
        QVERIFY(DruiTestAccess::DiscAudioAction(Window())->menu()->actions().at(2)->isChecked());
        QVERIFY(DruiTestAccess::DiscSubtitleAction(Window())->menu()->actions().at(1)->isChecked());
        QVERIFY(Owners::EnginePid(Window()) == 0);
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QTRY_VERIFY(m_engine->Commands().contains(QStringLiteral("pausing_keep_force switch_audio 1")));
        QTRY_VERIFY(m_engine->Commands().contains(QStringLiteral("pausing_keep_force sub_demux 0")));
    }
};

TAVRIX_WIDGET_TEST_MAIN(BluRayTest)
#include "BluRayTest.moc"
