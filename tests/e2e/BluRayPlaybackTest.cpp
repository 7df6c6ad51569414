// A Blu-ray folder written for the test, opened in the window and played by the real engine:
// the main title through "br://0", and a picked title that must be that very playlist.
#include "common/DruiTestAccess.h"
#include "common/MediaMaker.h"
#include "common/ModalCloser.h"
#include "common/Owners.h"
#include "common/TestMain.h"

#include "DiscWriter.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QStackedLayout>
#include <QTemporaryDir>

#include <dirent.h>

#include <memory>

class BluRayPlaybackTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString m_disc;
    std::unique_ptr<DRUI> m_window;

    DRUI &Window() { return *m_window; }
    int Page() { return DruiTestAccess::PageStack(Window())->currentIndex(); }

    // What the engine itself lists of a disc's titles, asked independently of the player.
    static QString EngineTitleList(const QString &disc)
    {
        QProcess identify;
        identify.start(QStringLiteral("mplayer"), {"-identify", "-frames", "0", "-vo", "null",
                                                   "-ao", "null", "br://", "-bluray-device", disc});
        identify.waitForFinished(30000);
        return QString::fromLatin1(identify.readAllStandardOutput());
    }

    // The folder's entries in the order the file system lists them, which is the order the
    // engine's library meets them in.
    static QStringList ListingOrder(const QString &folder)
    {
        QStringList names;
        if (DIR *directory = ::opendir(QFile::encodeName(folder).constData())) {
            while (const dirent *entry = ::readdir(directory)) {
                names << QFile::decodeName(entry->d_name);
            }
            ::closedir(directory);
        }
        return names;
    }

    QAction *OtherTitle(const QString &duration)
    {
        for (QAction *title : DruiTestAccess::DiscOtherTitlesAction(Window())->menu()->actions()) {
            if (title->text().endsWith(duration)) {
                return title;
            }
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        qunsetenv("TAVRIX_ENGINE");
        m_disc = m_folder.filePath(QStringLiteral("DEMO DISC"));
        QString error;
        QVERIFY2(DiscWriter::Write(DiscWriter::DemoDisc(), m_disc, &error), qPrintable(error));
    }

    void init()
    {
        m_window = std::make_unique<DRUI>();
        m_window->SetUpWindow();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        Owners::OpenDiscFolder(Window(), m_disc);
        QCOMPARE(Page(), int(DRUI::kNavigationPage));
        QCOMPARE(DruiTestAccess::DiscNameLabel(Window())->text(),
                 QStringLiteral("Tavrix Demo Disc"));
    }

    void cleanup() { m_window.reset(); }

    void playMoviePlaysTheMainTitleToItsEnd()
    {
        const Owners::LengthAnswers lengths(Window());
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QCOMPARE(Owners::Session(Window()).Arguments().last(3),
                 QStringList({"br://0", "-bluray-device", m_disc}));
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(12));
        QTRY_COMPARE_WITH_TIMEOUT(lengths.Last(), 12, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 2000, 10000);
        // The end lands back on the disc's page.
        QTRY_COMPARE_WITH_TIMEOUT(Page(), int(DRUI::kNavigationPage), 30000);
        QVERIFY(!Owners::IsPlaying(Window()));
    }

    void pickedTitlePlaysThatVeryPlaylist_data()
    {
        QTest::addColumn<QString>("duration");
        QTest::addColumn<bool>("exactLength");
        QTest::newRow("6 s title") << QStringLiteral("00:00:06") << true;
        // With several angles the engine's demuxer reckons the length from the angle's own
        // time stamps, which can be a second off; the title number still tells the playlist.
        QTest::newRow("4 s title with two angles") << QStringLiteral("00:00:04") << false;
    }

    void pickedTitlePlaysThatVeryPlaylist()
    {
        const Owners::LengthAnswers lengths(Window());
        QFETCH(QString, duration);
        QFETCH(bool, exactLength);
        QAction *title = OtherTitle(duration);
        QVERIFY(title != nullptr);
        const QString playlist =
            QFileInfo(title->data().value<PLAY_LIST_INFO>().strPath).completeBaseName();
        title->trigger();
        Owners::SettleDisc(Window());

        // What the engine itself calls that playlist, asked here independently of the player.
        const QRegularExpression line(QStringLiteral("ID_BLURAY_TITLE_(\\d+)_PLAYLIST=") +
                                      playlist);
        const QRegularExpressionMatch match = line.match(EngineTitleList(m_disc));
        QVERIFY(match.hasMatch());
        QCOMPARE(Owners::Session(Window()).Arguments().last(3),
                 QStringList({"br://" + match.captured(1), "-bluray-device", m_disc}));

        const int seconds = duration.right(2).toInt();
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(seconds));
        QTRY_VERIFY_WITH_TIMEOUT(lengths.Last() > 0, 15000);
        const int engineLength = lengths.Last();
        QVERIFY2(exactLength ? engineLength == seconds : std::abs(engineLength - seconds) <= 1,
                 qPrintable(QStringLiteral("engine length %1").arg(engineLength)));

        // Play Movie afterwards plays the main title with the main title's own figures.
        DruiTestAccess::DiscMenu(Window())->actions().first()->trigger();
        QCOMPARE(Owners::Session(Window()).Arguments().last(3),
                 QStringList({"br://0", "-bluray-device", m_disc}));
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(12));
        QCOMPARE(Owners::Plays(Window()).Title(Owners::Chosen(Window()).titleKey)->chapterStartsMs,
                 (QVector<qint64>{0, 4000, 8000}));
    }

    // Episode 2 of the episodic demo disc plays its own title, playlist 00003, under the number
    // the engine itself gives that playlist.
    void pickedEpisodePlaysItsPlaylist()
    {
        const Owners::LengthAnswers lengths(Window());
        const QString disc = m_folder.filePath(QStringLiteral("EPISODES"));
        QString error;
        QVERIFY2(DiscWriter::Write(DiscWriter::EpisodesDemoDisc(), disc, &error), qPrintable(error));
        Owners::OpenDiscFolder(Window(), disc);
        QMenu *episodes = DruiTestAccess::DiscMenu(Window())->actions().at(1)->menu();
        QCOMPARE(episodes->actions().size(), 2);
        QCOMPARE(episodes->actions().at(1)->text(), QStringLiteral("Episode 2 – 00:15:10"));
        episodes->actions().at(1)->trigger();
        Owners::SettleDisc(Window());

        QProcess identify;
        identify.start(QStringLiteral("mplayer"),
                       {"-identify", "-frames", "0", "-vo", "null", "-ao", "null", "br://",
                        "-bluray-device", disc});
        QVERIFY(identify.waitForFinished(30000));
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("ID_BLURAY_TITLE_(\\d+)_PLAYLIST=00003"))
                .match(QString::fromLatin1(identify.readAllStandardOutput()));
        QVERIFY(match.hasMatch());
        QCOMPARE(Owners::Session(Window()).Arguments().last(3),
                 QStringList({"br://" + match.captured(1), "-bluray-device", disc}));
        // With the player's demuxer the engine reckons this title of three clips at 900 s.
        QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(910));
        QTRY_COMPARE_WITH_TIMEOUT(lengths.Last(), 900, 15000);
    }

    // An image of the disc, chosen in File, Open Disc, shows the same disc and plays a picked
    // title from the image.
    void imageChosenAsADiscPlaysThePickedTitle()
    {
        const Owners::LengthAnswers lengths(Window());
        const QString image = m_folder.filePath(QStringLiteral("DEMO DISC.iso"));
        QVERIFY(QFileInfo::exists(image) || MediaMaker::MakeDiscImage(m_disc, image));
        const auto chooser = WhenModal<QFileDialog>(
            [&image](QFileDialog *files) { ChooseInFileDialog(files, image); });
        Window().btnLoadBDPath();
        Owners::SettleDisc(Window());
        QCOMPARE(Page(), int(DRUI::kNavigationPage));
        QCOMPARE(DruiTestAccess::DiscNameLabel(Window())->text(),
                 QStringLiteral("Tavrix Demo Disc"));
        QVERIFY(!DruiTestAccess::DiscThumbnailLabel(Window())->pixmap().isNull());
        QAction *title = OtherTitle(QStringLiteral("00:00:06"));
        QVERIFY(title != nullptr);
        title->trigger();
        Owners::SettleDisc(Window());

        QCOMPARE(Owners::Session(Window()).Arguments().last(2),
                 QStringList({"-bluray-device", image}));
        QTRY_COMPARE_WITH_TIMEOUT(lengths.Last(), 6, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(Owners::ElapsedMs(Window()) >= 1000, 10000);
    }

    // A byte-identical copy of the main playlist that the file system lists before it is the one
    // the engine offers; picking the title plays it whatever the order.
    void copyListedFirstPlaysAsTheTitle()
    {
        const Owners::LengthAnswers lengths(Window());
        const QString disc = m_folder.filePath(QStringLiteral("COPY FIRST"));
        QVERIFY(DiscWriter::Write(DiscWriter::DemoDisc(), disc));
        const QString playlists = disc + QStringLiteral("/BDMV/PLAYLIST/");
        // The demo disc's 00004 is such a copy; more are made until one comes first.
        QString copy;
        for (int number = 4; number < 100 && copy.isEmpty(); ++number) {
            const QString name = QStringLiteral("%1.mpls").arg(number, 5, 10, QLatin1Char('0'));
            QVERIFY(number == 4 ||
                    QFile::copy(playlists + QStringLiteral("00001.mpls"), playlists + name));
            const QStringList order = ListingOrder(playlists);
            if (order.indexOf(name) < order.indexOf(QStringLiteral("00001.mpls"))) {
                copy = QFileInfo(name).completeBaseName();
            }
        }
        QVERIFY(!copy.isEmpty());

        const QString titles = EngineTitleList(disc);
        const QRegularExpressionMatch listed =
            QRegularExpression(QStringLiteral("ID_BLURAY_TITLE_(\\d+)_PLAYLIST=") + copy)
                .match(titles);
        QVERIFY2(listed.hasMatch() && !titles.contains(QStringLiteral("PLAYLIST=00001")),
                 "the engine lists the original: nothing to tell apart");

        Owners::OpenDiscFolder(Window(), disc);
        QAction *title = OtherTitle(QStringLiteral("00:00:12"));
        QVERIFY(title != nullptr);
        title->trigger();
        Owners::SettleDisc(Window());
        QCOMPARE(Owners::Session(Window()).Arguments().last(3),
                 QStringList({"br://" + listed.captured(1), "-bluray-device", disc}));
        QTRY_COMPARE_WITH_TIMEOUT(lengths.Last(), 12, 15000);
        QVERIFY(Owners::IsPlaying(Window()));
    }

    // Two playlists a user-operation bit apart play the same: the engine lists only one of
    // them. Picking either plays the engine's title with that content, never another title.
    void nearCopyPlaysTheTitleWithTheSameContent()
    {
        const QString disc = m_folder.filePath(QStringLiteral("NEAR COPY"));
        QVERIFY(DiscWriter::Write(DiscWriter::DemoDisc(), disc));
        QFile nearCopy(disc + QStringLiteral("/BDMV/PLAYLIST/00004.mpls"));
        QVERIFY(nearCopy.open(QIODevice::ReadWrite));
        QByteArray bytes = nearCopy.readAll();
        constexpr int kLastUserOperationByte = 55;
        bytes[kLastUserOperationByte] = char(bytes[kLastUserOperationByte] ^ 1);
        QVERIFY(nearCopy.seek(0) && nearCopy.write(bytes) == bytes.size());
        nearCopy.close();

        const QString titles = EngineTitleList(disc);
        const QRegularExpressionMatch listed =
            QRegularExpression(QStringLiteral("ID_BLURAY_TITLE_(\\d+)_PLAYLIST=0000[14]"))
                .match(titles);
        QVERIFY(listed.hasMatch());
        QVERIFY2(!(titles.contains(QStringLiteral("PLAYLIST=00001")) &&
                   titles.contains(QStringLiteral("PLAYLIST=00004"))),
                 "the engine lists both: nothing to tell apart");

        Owners::OpenDiscFolder(Window(), disc);
        int picked = 0;
        for (QAction *title : DruiTestAccess::DiscOtherTitlesAction(Window())->menu()->actions()) {
            if (!title->text().endsWith(QStringLiteral("00:00:12"))) {
                continue;
            }
            title->trigger();
            Owners::SettleDisc(Window());
            QCOMPARE(Owners::Session(Window()).Arguments().last(3),
                     QStringList({"br://" + listed.captured(1), "-bluray-device", disc}));
            QCOMPARE(Owners::Chosen(Window()).durationSec, qint64(12));
            ++picked;
        }
        QCOMPARE(picked, 2);
    }
};

TAVRIX_WIDGET_TEST_MAIN(BluRayPlaybackTest)
#include "BluRayPlaybackTest.moc"
