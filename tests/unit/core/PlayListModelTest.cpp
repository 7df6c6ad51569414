// The play list's rules apart from its table: finding an entry, keeping paths once, stepping to
// a neighbour and the text of a row.
#include "common/TestMain.h"

#include "dialogs/PlayListModel.h"

#include <optional>

namespace {

QVector<PLAY_LIST_INFO> Entries(const QStringList &paths)
{
    QVector<PLAY_LIST_INFO> entries;
    for (const QString &path : paths) {
        PLAY_LIST_INFO entry;
        entry.strPath = path;
        entries.append(entry);
    }
    return entries;
}

QStringList Paths(const QVector<PLAY_LIST_INFO> &entries)
{
    QStringList paths;
    for (const PLAY_LIST_INFO &entry : entries) {
        paths.append(entry.strPath);
    }
    return paths;
}

// -1 for "none", so that the tables can say what they expect in one column.
int OrNone(const std::optional<int> &position)
{
    return position ? *position : -1;
}

} // namespace

class PlayListModelTest : public QObject
{
    Q_OBJECT

private slots:
    void findIsExactAndTakesTheFirst_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("expected");
        const QStringList list = {"/m/a.mkv", "/m/Film.mkv", "/m/b.mkv", "/m/Film.mkv"};
        QTest::newRow("first entry") << list << "/m/a.mkv" << 0;
        QTest::newRow("listed twice: the first") << list << "/m/Film.mkv" << 1;
        QTest::newRow("letter case differs") << list << "/m/film.mkv" << -1;
        QTest::newRow("a prefix of a listed path") << list << "/m/a.mk" << -1;
        QTest::newRow("trailing separator differs")
            << QStringList{"/media/DISC"} << "/media/DISC/" << -1;
        QTest::newRow("empty list") << QStringList{} << "/m/a.mkv" << -1;
    }

    void findIsExactAndTakesTheFirst()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, path);
        QFETCH(int, expected);
        QCOMPARE(OrNone(PlayListModel::Find(Entries(list), path)), expected);
    }

    void notYetListedKeepsNewPathsOnceInTheirOrder_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QStringList>("candidates");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty list takes all")
            << QStringList{} << QStringList{"/m/c.mkv", "/m/a.mkv", "/m/b.mkv"}
            << QStringList{"/m/c.mkv", "/m/a.mkv", "/m/b.mkv"};
        QTest::newRow("listed ones are left out")
            << QStringList{"/m/a.mkv", "/m/b.mkv"}
            << QStringList{"/m/b.mkv", "/m/c.mkv", "/m/a.mkv", "/m/d.mkv"}
            << QStringList{"/m/c.mkv", "/m/d.mkv"};
        QTest::newRow("repeats among the candidates count once")
            << QStringList{} << QStringList{"/m/a.mkv", "/m/b.mkv", "/m/a.mkv", "/m/b.mkv"}
            << QStringList{"/m/a.mkv", "/m/b.mkv"};
        QTest::newRow("listed and repeated")
            << QStringList{"/m/a.mkv"} << QStringList{"/m/a.mkv", "/m/a.mkv"} << QStringList{};
        QTest::newRow("letter case makes another path")
            << QStringList{"/m/film.mkv"} << QStringList{"/m/Film.mkv", "/m/film.mkv"}
            << QStringList{"/m/Film.mkv"};
        QTest::newRow("no candidates") << QStringList{"/m/a.mkv"} << QStringList{} << QStringList{};
    }

    void notYetListedKeepsNewPathsOnceInTheirOrder()
    {
        QFETCH(QStringList, list);
        QFETCH(QStringList, candidates);
        QFETCH(QStringList, expected);
        QCOMPARE(Paths(PlayListModel::NotYetListed(Entries(list), Entries(candidates))), expected);
    }

    void freshEntriesKeepTheirOwnFields()
    {
        PLAY_LIST_INFO dvd;
        dvd.nType = kSourceDvd;
        dvd.strPath = QStringLiteral("/media/DVD");
        PLAY_LIST_INFO file;
        file.strPath = QStringLiteral("/m/a.mkv");
        file.strDuration = QStringLiteral("00:01:40");
        const QVector<PLAY_LIST_INFO> fresh = PlayListModel::NotYetListed({}, {dvd, file});
        QCOMPARE(fresh.size(), 2);
        QCOMPARE(fresh[0].nType, qint32(kSourceDvd));
        QCOMPARE(fresh[1].nType, qint32(kSourceFile));
        QCOMPARE(fresh[1].strDuration, QStringLiteral("00:01:40"));
    }

    void neighbour_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("playing");
        QTest::addColumn<bool>("next");
        QTest::addColumn<int>("expected");
        const QStringList three = {"/m/a.mkv", "/m/b.mkv", "/m/c.mkv"};
        QTest::newRow("empty list") << QStringList{} << "/m/a.mkv" << true << -1;
        QTest::newRow("one entry, next") << QStringList{"/m/a.mkv"} << "/m/a.mkv" << true << -1;
        QTest::newRow("one entry, previous")
            << QStringList{"/m/a.mkv"} << "/m/a.mkv" << false << -1;
        QTest::newRow("playing path not listed") << three << "/m/x.mkv" << true << -1;
        QTest::newRow("nothing playing") << three << "" << true << -1;
        QTest::newRow("playing path in another case") << three << "/m/B.mkv" << true << -1;
        QTest::newRow("next on the last") << three << "/m/c.mkv" << true << -1;
        QTest::newRow("previous on the first") << three << "/m/a.mkv" << false << -1;
        QTest::newRow("next on the first") << three << "/m/a.mkv" << true << 1;
        QTest::newRow("next in the middle") << three << "/m/b.mkv" << true << 2;
        QTest::newRow("previous in the middle") << three << "/m/b.mkv" << false << 0;
        QTest::newRow("previous on the last") << three << "/m/c.mkv" << false << 1;
    }

    void neighbour()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, playing);
        QFETCH(bool, next);
        QFETCH(int, expected);
        const PlayListModel::Step step =
            next ? PlayListModel::Step::Next : PlayListModel::Step::Previous;
        QCOMPARE(OrNone(PlayListModel::Neighbour(Entries(list), playing, step)), expected);
    }

    void rowText_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file") << "/m/Film.mkv"
                              << "    Film.mkv";
        QTest::newRow("name with spaces") << "/home/u/My Film (2).mkv"
                                          << "    My Film (2).mkv";
        QTest::newRow("folder") << "/media/MY_DISC"
                                << "    MY_DISC";
        QTest::newRow("folder with a trailing separator") << "/media/MY_DISC/"
                                                          << "    MY_DISC";
        QTest::newRow("five characters") << "/home"
                                         << "    home";
        QTest::newRow("short path shown whole") << "/mnt"
                                                << "    /mnt";
        QTest::newRow("root shown whole") << "/"
                                          << "    /";
    }

    void rowText()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(PlayListModel::RowText(path), expected);
    }
};

TAVRIX_CORE_TEST_MAIN(PlayListModelTest)
#include "PlayListModelTest.moc"
