// The play list's rules apart from its table: finding an entry, keeping paths once, stepping to
// a neighbour, the text of a row, editing the list, and list files.
#include "common/FakeProbe.h"
#include "common/TestMain.h"

#include "playing/PlayListModel.h"
#include "playing/WhatPlays.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>

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
    void initTestCase() { QVERIFY(m_probe.Install()); }

    // Each step: "open NAME...", "list NAME..." (a list file of relative entries, opened),
    // "play NAME", "remove ROW...", "move FROM TO", "clear", "save" (saved, cleared, opened),
    // "plant" (a link to e where the list is saved; e written to is told),
    // "wait" (until the probes are done; rows still without a duration are told as "NAME?").
    // Files a to e and the DVD folder dvd are there; other names are not. Expected: the rows |
    // what plays ("(disc)" for a disc) | the entry Previous plays | Next's | what was told.
    void editing_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("delete rows") << QStringList{"open a b c d", "remove 3 1"} << "a c|a||c|";
        QTest::newRow("rows out of range are left alone")
            << QStringList{"open a b", "remove -1 2", "move 2 0", "move 0 2", "move -1 0"}
            << "a b|a||b|";
        QTest::newRow("delete the playing row: it goes on, steps go from its place")
            << QStringList{"open a b c", "play b", "remove 1"} << "a c|b|a|c|";
        QTest::newRow("delete the playing row and its neighbours")
            << QStringList{"open a b c d e", "play c", "remove 1 2 3"} << "a e|c|a|e|";
        QTest::newRow("the place of a deleted playing row moves up as rows above go")
            << QStringList{"open a b c d", "play c", "remove 2", "remove 0"} << "b d|c|b|d|";
        QTest::newRow("the place of a deleted playing row moves with the rows")
            << QStringList{"open a b c d", "play b", "remove 1", "move 2 0"} << "d a c|b|a|c|";
        QTest::newRow("rows moved down across the place of a deleted playing row")
            << QStringList{"open a b c d", "play b", "remove 1", "move 1 2", "move 0 2"}
            << "d c a|b||d|";
        QTest::newRow("reorder") << QStringList{"open a b c", "move 0 2"} << "b c a|a|c||";
        QTest::newRow("clear") << QStringList{"open a b", "play b", "remove 1", "clear"} << "|b|||";
        QTest::newRow("save and load") << QStringList{"open c a b", "save"} << "c a b|c||a|";
        QTest::newRow("saving again replaces the list")
            << QStringList{"open a b", "save", "remove 1", "save"} << "a|a|||";
        QTest::newRow("a link planted in the list's place is replaced, not written through")
            << QStringList{"open a", "plant", "save"} << "a|a|||";
        QTest::newRow("load: relative entries, the missing ones told once")
            << QStringList{"list a x b y"} << "a b|a||b|x y";
        QTest::newRow("load: a list named in a list is told, not listed")
            << QStringList{"list a list.m3u"} << "a|a|||list";
        QTest::newRow("a process's memory is no file to open")
            << QStringList{"open a /proc/self/mem"} << "a|a|||mem";
        QTest::newRow("nor to list") << QStringList{"list a /proc/self/mem"} << "a|a|||mem";
        QTest::newRow("a list's entries become the play list, in its order")
            << QStringList{"open a d", "list b a c"} << "b a c|b||a|";
        QTest::newRow("a list can start with a disc")
            << QStringList{"list dvd a"} << "dvd a|dvd (disc)||a|";
        QTest::newRow("a list that cannot be read")
            << QStringList{"open nolist.m3u"} << "||||nolist";
        QTest::newRow("rows still unmeasured at later opens are measured")
            << QStringList{"open a b c", "open d", "open e", "wait"} << "a b c d e|e|d||";
    }

    void editing()
    {
        QFETCH(QStringList, steps);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkpath("dvd/VIDEO_TS"));
        QVERIFY(QFile(folder.filePath("dvd/VIDEO_TS/VIDEO_TS.IFO")).open(QIODevice::WriteOnly));
        const auto path = [&folder](const QString &name) {
            const QString plain = folder.filePath(name);
            return QFileInfo(plain).isDir() || name.contains('.') ? plain : plain + ".mkv";
        };
        const auto name = [](const QString &of) { return QFileInfo(of).completeBaseName(); };
        for (const char *file : {"a", "b", "c", "d", "e"}) {
            QFile made(path(file));
            QVERIFY(made.open(QIODevice::WriteOnly));
        }
        WhatPlays list(10000);
        QSignalSpy notFound(&list, &WhatPlays::NotFound);
        QSignalSpy busy(&list, &WhatPlays::BusyChanged);
        QStringList told;
        for (const QString &step : steps) {
            QStringList words = step.split(QLatin1Char(' '));
            const QString verb = words.takeFirst();
            QStringList paths;
            for (const QString &word : words) {
                paths.append(word.startsWith('/') ? word : path(word));
            }
            if (verb == "open") {
                list.OpenFiles(paths);
            } else if (verb == "list") {
                QFile file(path("list.m3u"));
                QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                for (const QString &entry : paths) {
                    file.write(QDir(folder.path()).relativeFilePath(entry).toUtf8() + '\n');
                }
                file.close();
                list.OpenFiles({file.fileName()});
            } else if (verb == "play") {
                list.PlayEntry(list.PlayList()[*PlayListModel::Find(list.PlayList(), paths[0])]);
            } else if (verb == "remove") {
                QVector<int> rows;
                for (const QString &word : words) {
                    rows.append(word.toInt());
                }
                list.RemoveRows(rows);
            } else if (verb == "move") {
                list.MoveRow(words[0].toInt(), words[1].toInt());
            } else if (verb == "clear") {
                list.ClearPlayList();
            } else if (verb == "wait") {
                QTRY_VERIFY(!busy.isEmpty() && !busy.last().first().toBool());
                for (const PLAY_LIST_INFO &entry : list.PlayList()) {
                    if (entry.strDuration.isEmpty()) {
                        told.append(name(entry.strPath) + "?");
                    }
                }
            } else if (verb == "plant") {
                QVERIFY(QFile::link(path("e"), path("saved.m3u8")));
            } else if (list.SavePlayList(path("saved.m3u8"))) {
                list.ClearPlayList();
                list.OpenFiles({path("saved.m3u8")});
            } else {
                told.append("not saved");
            }
        }
        if (QFileInfo(path("e")).size() != 0) {
            told.append("e written");
        }
        for (const QList<QVariant> &signal : notFound) {
            for (const QString &missing : signal[0].toStringList()) {
                told.append(name(missing));
            }
        }
        QStringList rows;
        for (const PLAY_LIST_INFO &entry : list.PlayList()) {
            rows.append(name(entry.strPath));
        }
        const bool disc = list.Current().kind != kSourceFile && !list.Current().path.isEmpty();
        const QStringList seen = {
            rows.join(' '), name(list.Current().path) + (disc ? " (disc)" : ""),
            name(list.Neighbour(false).value_or(PLAY_LIST_INFO()).strPath),
            name(list.Neighbour(true).value_or(PLAY_LIST_INFO()).strPath), told.join(' ')};
        QTEST(seen.join('|'), "expected");
    }

    void listFileEntries_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("comments, blank lines, CRLF and a byte order mark")
            << QByteArray("\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:1,a\r\n/m/a.mkv\r\n\r\n  \r\nb.mkv")
            << QStringList{"/m/a.mkv", "/lists/b.mkv"};
        QTest::newRow("relative to the list's folder")
            << QByteArray("../m/a.mkv\nsub/b c.mkv\n")
            << QStringList{"/m/a.mkv", "/lists/sub/b c.mkv"};
        QTest::newRow("file URLs") << QByteArray("file:///m/a%20b.mkv\nfile://localhost/m/c.mkv\n")
                                   << QStringList{"/m/a b.mkv", "/m/c.mkv"};
        QTest::newRow("other URLs stay as written")
            << QByteArray("file://host/m/a.mkv\nhttp://host/b.mkv\n")
            << QStringList{"file://host/m/a.mkv", "http://host/b.mkv"};
        QStringList kept;
        for (int i = 0; i < M3uList::kMaxEntries; ++i) {
            kept.append("/m/" + QString::number(i));
        }
        QTest::newRow("entries past the bound are left out")
            << (kept.join('\n') + "\n/m/more").toUtf8() << kept;
        const QStringList odd = {"/m/two\nlines.mkv", "/m/space .mkv", "/m/été #1.mkv"};
        QTest::newRow("written lists read back") << M3uList::Write(odd) << odd;
        const QStringList blankEnds = {"/m/a.mkv ", QString::fromUtf8("/m/b.mkv\u00A0")};
        QTest::newRow("written entries ending in blanks read back")
            << M3uList::Write(blankEnds) << blankEnds;
    }

    void listFileEntries()
    {
        QFETCH(QByteArray, contents);
        QTEST(M3uList::Parse(contents, QStringLiteral("/lists")), "expected");
    }

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

private:
    FakeProbe m_probe;
};

TAVRIX_CORE_TEST_MAIN(PlayListModelTest)
#include "PlayListModelTest.moc"
