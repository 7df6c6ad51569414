// Reading the facts out of the probe's JSON report, and the background queue of probes: order of
// the results, the arguments each probe gets, the report's size limit, the time limit, probes
// that cannot start and probes ended early. The probes here are small shell scripts standing in
// for ffprobe.
#include "common/TestMain.h"

#include "disc/DurationProbe.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <memory>
#include <optional>

#include <algorithm>
#include <sys/types.h>

namespace {

// A report as the probe writes it: the format's fields, and the streams list unless null. The
// JSON is written with ' for ", which no report here holds otherwise.
QByteArray Report(const QByteArray &format, const QByteArray &streams = QByteArray())
{
    const QByteArray list = streams.isNull() ? QByteArray() : "'streams': " + streams + ", ";
    return QByteArray("{" + list + "'format': {" + format + "}}").replace('\'', '"');
}

// Measures the paths with a queue and waits until every one has reported; the texts come back
// in the order of the paths.
QStringList ProbeDurations(const QStringList &paths, int probesAtOnce, int timeLimitMs,
                           bool firstAlone = false)
{
    DurationProbeQueue queue(probesAtOnce, timeLimitMs);
    QHash<QString, QString> measured;
    QObject::connect(&queue, &DurationProbeQueue::Measured,
                     [&measured](const QString &path, const ProbeFindings &findings) {
                         measured.insert(path, findings.durationText);
                     });
    QEventLoop loop;
    QObject::connect(&queue, &DurationProbeQueue::Idle, &loop, &QEventLoop::quit);
    queue.Measure(paths, firstAlone);
    if (!queue.IsIdle()) {
        loop.exec();
    }
    QStringList texts;
    for (const QString &path : paths) {
        texts.append(measured.value(path));
    }
    return texts;
}

} // namespace

class DurationProbeTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_folder;

    QString FilePath(const QString &name) const { return m_folder->filePath(name); }

    // Writes an executable probe script; "@DIR@" in its body becomes the test's folder. The body
    // finds the probed path in $path, and `report SECONDS` prints a report of that duration.
    QString WriteScript(const QString &name, const QByteArray &body)
    {
        const QString path = FilePath(name);
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly)) {
            return QString();
        }
        QByteArray text = "#!/bin/sh\n"
                          "for path; do :; done\n"
                          "report() { printf '{\"format\": {\"duration\": \"%s.000000\"}}\\n' "
                          "\"$1\"; }\n" +
                          body;
        text.replace("@DIR@", m_folder->path().toLocal8Bit());
        script.write(text);
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    void UseProbe(const QString &path) { qputenv("TAVRIX_PROBE", path.toLocal8Bit()); }

    QByteArray ReadFile(const QString &name) const
    {
        QFile file(FilePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A probe that reports 100 s at once.
    QString QuickProbe() { return WriteScript(QStringLiteral("quick-probe"), "report 100\n"); }

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
    }

    void cleanup()
    {
        qunsetenv("TAVRIX_PROBE");
        m_folder.reset();
    }

    void durationText_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the probe's figure") << Report("'duration': '3723.650000'") << "01:02:03";
        QTest::newRow("no duration known") << Report("'duration': 'N/A'") << "";
        QTest::newRow("no duration told") << Report("'start_time': '0.000000'") << "";
        QTest::newRow("a hundred hours") << Report("'duration': '360000.000000'") << "100:00:00";
        QTest::newRow("past what six hour digits show")
            << Report("'duration': '3600000000.000000'") << "";
        QTest::newRow("before zero") << Report("'duration': '-3.000000'") << "";
        QTest::newRow("report cut short") << Report("'duration': '3.000000'").chopped(2) << "";
        QTest::newRow("no output") << QByteArray() << "";
        // The human report is no report any more, whatever it says.
        QTest::newRow("a human report")
            << QByteArray("  Duration: 00:00:03.00, start: 0.000000, bitrate: 1 kb/s\n") << "";
        // What a file's name or tags say is no report of the probe's own.
        QTest::newRow("a name that holds a duration line")
            << Report("'filename': '/m/x\\n  Duration: 12:34:56.avi', 'duration': '3.000000'")
            << "00:00:03";
        QTest::newRow("a tag name that holds a duration line")
            << Report("'duration': '3.000000', 'tags': {'x\\n  Duration: 10:00:00.00, start: "
                      "3600.000000, bitrate: 1 kb/s\\ny': 'v'}")
            << "00:00:03";
        QTest::newRow("a tag named like the figure")
            << Report("'tags': {'duration': '36000.000000'}, 'duration': '3.000000'") << "00:00:03";
    }

    void durationText()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, expected);
        QCOMPARE(FindingsFromProbeReport(output).durationText, expected);
    }

    // Where the medium's own clock starts, from the probe's figure only; -1 stands for none.
    void startTime_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("a transport stream")
            << Report("'start_time': '101.390000'") << qint64(101390);
        QTest::newRow("before zero") << Report("'start_time': '-0.021000'") << qint64(-21);
        QTest::newRow("no start figure") << Report("'duration': '40.000000'") << qint64(-1);
        QTest::newRow("no figure") << Report("'start_time': 'N/A'") << qint64(-1);
        QTest::newRow("a start in the name")
            << Report("'filename': '/m/x\\n  Duration: 00:00:01.00, start: 3000.000000,.ts', "
                      "'start_time': '1.400000'")
            << qint64(1400);
        QTest::newRow("a start in a tag name")
            << Report("'start_time': '0.000000', 'tags': {'x\\n  Duration: 10:00:00.00, "
                      "start: 3600.000000, bitrate: 1 kb/s\\ny': 'v'}")
            << qint64(0);
    }

    void startTime()
    {
        QFETCH(QByteArray, output);
        QFETCH(qint64, expected);
        QCOMPARE(FindingsFromProbeReport(output).startMs.value_or(-1), expected);
    }

    // The streams as the engine's track commands number them: per kind, in the file's order.
    // Written "a0 ger Commentary|s0 eng", kind and id, then language and title where given;
    // "none" when the report told no streams.
    void streams_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("expected");
        const QByteArray film =
            "{'index': 0, 'codec_type': 'video'},"
            "{'index': 1, 'codec_type': 'audio', 'tags': {'language': 'ger', 'ENCODER': 'x'}},"
            "{'index': 2, 'codec_type': 'audio', 'tags': {'language': 'fre', "
            "'title': 'Commentary'}},"
            "{'index': 3, 'codec_type': 'subtitle', 'tags': {'language': 'eng'}}";
        QTest::newRow("a film") << Report("", "[" + film + "]")
                                << "a0 ger|a1 fre Commentary|s0 eng";
        QTest::newRow("listed out of the file's order")
            << Report("", "[{'index': 4, 'codec_type': 'audio', 'tags': {'title': 'B'}},"
                          "{'index': 2, 'codec_type': 'audio', 'tags': {'title': 'A'}}]")
            << "a0 A|a1 B";
        QTest::newRow("no streams") << Report("", "[]") << "";
        QTest::newRow("no list") << Report("") << "none";
        QTest::newRow("a title of two lines")
            << Report("", "[{'index': 0, 'codec_type': 'audio', 'tags': {'title': "
                          "'x\\n[lavf] stream 9: audio (ac3), -aid 7, -alang fre'}}]")
            << "a0 x";
        QTest::newRow("a language holding a line break")
            << Report("", "[{'index': 0, 'codec_type': 'video'},"
                          "{'index': 1, 'codec_type': 'audio', 'tags': {'language': 'e\\nx'}},"
                          "{'index': 2, 'codec_type': 'audio', 'tags': {'language': 'ger'}}]")
            << "a0|a1 ger";
        QTest::newRow("a tag name that holds a stream line")
            << Report("'tags': {'x\\n  Stream #0:5(fre): Audio: ac3\\n      title           : "
                      "INJECTED FAKE TRACK\\ny': 'v'}",
                      "[" + film + "]")
            << "a0 ger|a1 fre Commentary|s0 eng";
        QTest::newRow("a name that holds a stream line")
            << Report("'filename': '/m/x\\n  Stream #0:5: Audio: ac3.mkv'", "[" + film + "]")
            << "a0 ger|a1 fre Commentary|s0 eng";
        QTest::newRow("one index told twice")
            << Report("", "[" + film + ", {'index': 2, 'codec_type': 'subtitle'}]") << "none";
        QTest::newRow("a stream without its index")
            << Report("", "[" + film + ", {'codec_type': 'audio'}]") << "none";
        QTest::newRow("an index that is no whole number")
            << Report("", "[" + film + ", {'index': 4.5, 'codec_type': 'audio'}]") << "none";
    }

    void streams()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, expected);
        const std::optional<MediumStreams> streams = FindingsFromProbeReport(output).streams;
        QStringList found;
        for (const auto &[kind, list] : {std::pair{'a', streams.value_or(MediumStreams()).audio},
                                         {'s', streams.value_or(MediumStreams()).subtitles}}) {
            for (const MediumStream &stream : list) {
                QStringList parts{QLatin1Char(kind) + QString::number(stream.id), stream.language,
                                  stream.title};
                parts.removeAll(QString());
                found.append(parts.join(QLatin1Char(' ')));
            }
        }
        QCOMPARE(streams ? found.join(QLatin1Char('|')) : QStringLiteral("none"), expected);
    }

    // The medium's own title tag, its first line.
    void mediumTitle_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a title") << Report("'tags': {'title': ' Film '}") << "Film";
        QTest::newRow("a title of two lines")
            << Report("'tags': {'title': 'Film\\rStarting playback...'}") << "Film";
        QTest::newRow("a title of two lines, the second no valid text")
            << Report("'tags': {'title': 'Film\\r.\\ud800'}") << "Film";
        QTest::newRow("no title") << Report("'tags': {'comment': 'Film'}") << "";
        QTest::newRow("a stream's title")
            << Report("", "[{'index': 0, 'tags': {'title': 'A'}}]") << "";
    }

    void mediumTitle()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, expected);
        QCOMPARE(FindingsFromProbeReport(output).title, expected);
    }

    void resultsComeBackInTheOrderOfThePaths_data()
    {
        QTest::addColumn<int>("probesAtOnce");
        QTest::addColumn<bool>("firstAlone");
        QTest::newRow("one at a time") << 1 << false;
        QTest::newRow("four at once") << 4 << false;
        QTest::newRow("more at once than files") << 16 << false;
        QTest::newRow("four at once, the first alone") << 4 << true;
    }

    void resultsComeBackInTheOrderOfThePaths()
    {
        QFETCH(int, probesAtOnce);
        QFETCH(bool, firstAlone);
        // File N reports N minutes. Earlier files take longer, so with several probes at once
        // they finish in the reverse order. Each probe notes which probes run beside it.
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("running")));
        UseProbe(WriteScript(QStringLiteral("probe"),
                             "n=$(basename \"$path\" .mkv)\n"
                             "touch '@DIR@/running/'\"$n\"\n"
                             "ls '@DIR@/running' | wc -l >> '@DIR@/counts'\n"
                             "echo $(ls '@DIR@/running') >> '@DIR@/beside'\n"
                             "sleep 0.$((7 - n))\n"
                             "rm '@DIR@/running/'\"$n\"\n"
                             "report $((n * 60))\n"));
        QStringList paths;
        QStringList expected;
        for (int n = 1; n <= 6; ++n) {
            paths.append(QStringLiteral("/media/films/%1.mkv").arg(n));
            expected.append(QStringLiteral("00:0%1:00").arg(n));
        }
        QCOMPARE(ProbeDurations(paths, probesAtOnce, 20000, firstAlone), expected);

        const QList<QByteArray> counts = ReadFile(QStringLiteral("counts")).split('\n');
        int most = 0;
        int probes = 0;
        for (const QByteArray &count : counts) {
            if (!count.trimmed().isEmpty()) {
                ++probes;
                most = std::max(most, count.trimmed().toInt());
            }
        }
        QCOMPARE(probes, 6);
        QVERIFY2(most <= probesAtOnce,
                 qPrintable(QStringLiteral("%1 probes ran at once").arg(most)));
        // Alone, file 1 ran with no other probe beside it; else the next ones started beside it.
        const QList<QByteArray> beside = ReadFile(QStringLiteral("beside")).split('\n');
        const bool seenBeside =
            std::any_of(beside.begin(), beside.end(), [](const QByteArray &running) {
                const QList<QByteArray> names = running.split(' ');
                return names.contains("1") && names.size() > 1;
            });
        QCOMPARE(seenBeside, !firstAlone && probesAtOnce > 1);
        if (firstAlone) {
            QCOMPARE(most, probesAtOnce);
        }
    }

    // A first path measured alone, once no longer waited for, lets the others start beside it.
    void runAlongsideLetsTheOthersStart()
    {
        UseProbe(WriteScript(QStringLiteral("probe"),
                             "echo \"$path\" >> '@DIR@/started'\nexec sleep 30\n"));
        DurationProbeQueue queue(3, 20000);
        queue.Measure({QStringLiteral("/m/a.mkv"), QStringLiteral("/m/b.mkv"),
                       QStringLiteral("/m/c.mkv"), QStringLiteral("/m/d.mkv")},
                      true);
        const auto started = [this] { return ReadFile(QStringLiteral("started")).count('\n'); };
        QTRY_COMPARE(started(), 1);
        QTest::qWait(300);
        QCOMPARE(started(), 1);
        queue.RunAlongside();
        QTRY_COMPARE(started(), 3);
        QTest::qWait(300);
        QCOMPARE(started(), 3);
        queue.Cancel();
    }

    // The options of the JSON report, then the absolute path behind "--", so that no path is an
    // option or names one of the probe's protocols.
    void eachProbeGetsItsOptionsAndThePathAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("relative");
        QTest::newRow("plain") << "film.mkv" << false;
        QTest::newRow("quotes, blanks and a dash") << "a \"quoted\" -name.mkv" << false;
        QTest::newRow("shell characters") << "$(touch x) `y` 'z'; & | > <.mkv" << false;
        QTest::newRow("leading dash") << "-name.mkv" << true;
        QTest::newRow("blanks around it") << "  padded.mkv  " << true;
        QTest::newRow("a protocol's name") << "concat:padded.mkv" << true;
    }

    void eachProbeGetsItsOptionsAndThePathAlone()
    {
        QFETCH(QString, name);
        QFETCH(bool, relative);
        UseProbe(WriteScript(QStringLiteral("probe"),
                             "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } "
                             "> '@DIR@/argv'\n"
                             "report 7\n"));
        const QString path = relative ? name : FilePath(name);
        QCOMPARE(ProbeDurations({path}, 1, 20000), QStringList{QStringLiteral("00:00:07")});
        const QStringList argv = QString::fromLocal8Bit(ReadFile(QStringLiteral("argv")))
                                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(argv, QStringList({"8", "-v", "error", "-print_format", "json", "-show_format",
                                    "-show_streams", "--", QFileInfo(path).absoluteFilePath()}));
    }

    void crashedProbeStillCountsWhatItSaid()
    {
        UseProbe(WriteScript(QStringLiteral("probe"), "report 123\nkill -SEGV $$\n"));
        QCOMPARE(ProbeDurations({FilePath(QStringLiteral("film.mkv"))}, 1, 10000),
                 QStringList{QStringLiteral("00:02:03")});
    }

    void onlyStandardOutputIsRead()
    {
        UseProbe(WriteScript(QStringLiteral("probe"), "report 100 >&2\n"));
        QCOMPARE(ProbeDurations({QStringLiteral("/media/a.mkv")}, 1, 20000),
                 QStringList{QString()});
    }

    // Blanks after the report keep it a report; only its length counts.
    void reportPastTheLimitCountsAsNone_data()
    {
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("expected");
        const int report = int(QByteArray("{\"format\": {\"duration\": \"100.000000\"}}\n").size());
        QTest::newRow("report ending at the limit")
            << int(kProbeReportLimit) - report << "00:01:40";
        QTest::newRow("report one byte past the limit")
            << int(kProbeReportLimit) - report + 1 << "";
        QTest::newRow("report, then a flood") << 8 * int(kProbeReportLimit) << "";
    }

    void reportPastTheLimitCountsAsNone()
    {
        QFETCH(int, after);
        QFETCH(QString, expected);
        // The probe ends only once all it wrote has been taken from the pipe.
        UseProbe(WriteScript(QStringLiteral("probe"),
                             QStringLiteral("report 100\nhead -c %1 /dev/zero | tr '\\0' ' '\n")
                                 .arg(after)
                                 .toLatin1()));
        QCOMPARE(ProbeDurations({QStringLiteral("/media/a.mkv")}, 1, 20000), QStringList{expected});
    }

    void probePastTheTimeLimitIsStopped_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("probesAtOnce");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("alone") << QStringList{"slow.mkv"} << 1 << QStringList{""};
        QTest::newRow("before a quick one, one at a time")
            << QStringList{"slow.mkv", "quick.mkv"} << 1 << QStringList{"", "00:01:40"};
        QTest::newRow("beside a quick one")
            << QStringList{"quick.mkv", "slow.mkv"} << 2 << QStringList{"00:01:40", ""};
    }

    void probePastTheTimeLimitIsStopped()
    {
        QFETCH(QStringList, names);
        QFETCH(int, probesAtOnce);
        QFETCH(QStringList, expected);
        // The slow probe becomes the sleep itself, so its process is the one to stop.
        UseProbe(WriteScript(QStringLiteral("probe"), "case \"$path\" in *slow*)\n"
                                                      "  echo $$ > '@DIR@/slow.pid'\n"
                                                      "  exec sleep 30;;\n"
                                                      "esac\n"
                                                      "report 100\n"));
        QStringList paths;
        for (const QString &name : names) {
            paths.append(QStringLiteral("/media/") + name);
        }
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(ProbeDurations(paths, probesAtOnce, 500), expected);
        // Only to show it did not wait for the probe's own 30 s.
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));

        const pid_t pid =
            static_cast<pid_t>(ReadFile(QStringLiteral("slow.pid")).trimmed().toLong());
        QVERIFY(pid > 0);
        errno = 0;
        QVERIFY2(::kill(pid, 0) != 0 && errno == ESRCH, "the stopped probe is still there");
    }

    void probeThatCannotStartGivesEmptyTexts_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing program") << false;
        QTest::newRow("file that is not executable") << true;
    }

    void probeThatCannotStartGivesEmptyTexts()
    {
        QFETCH(bool, exists);
        const QString program = FilePath(QStringLiteral("not-a-probe"));
        if (exists) {
            QFile file(program);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\necho '{\"format\": {\"duration\": \"100.000000\"}}'\n");
            file.close();
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        }
        UseProbe(program);
        QCOMPARE(ProbeDurations({QStringLiteral("/media/a.mkv"), QStringLiteral("/media/b.mkv"),
                                 QStringLiteral("/media/c.mkv")},
                                2, 20000),
                 QStringList({QString(), QString(), QString()}));
    }

    void noPathsGiveNoResults()
    {
        UseProbe(QuickProbe());
        QVERIFY(ProbeDurations({}, 4, 20000).isEmpty());
    }

    // A path put first is measured before those already waiting; ending the queue ends its
    // running probe at once, and neither it nor those waiting report later.
    void measureFirstAndCancel()
    {
        UseProbe(WriteScript(QStringLiteral("probe"), "echo \"$path\" >> '@DIR@/started'\n"
                                                      "case \"$path\" in *hangs*)\n"
                                                      "  echo $$ > '@DIR@/pid'\n"
                                                      "  exec sleep 30;;\n"
                                                      "esac\n"
                                                      "report 100\n"));
        {
            // The hanging probe is stopped by the time limit, then the rest go in their order.
            // A path already waiting is moved, one already running left alone.
            DurationProbeQueue queue(1, 500);
            queue.Measure({QStringLiteral("/m/hangs.mkv"), QStringLiteral("/m/b.mkv"),
                           QStringLiteral("/m/first.mkv")},
                          false);
            queue.MeasureFirst(QStringLiteral("/m/first.mkv"));
            queue.MeasureFirst(QStringLiteral("/m/hangs.mkv"));
            QTRY_VERIFY_WITH_TIMEOUT(queue.IsIdle(), 10000);
            QCOMPARE(ReadFile(QStringLiteral("started")),
                     QByteArray("/m/hangs.mkv\n/m/first.mkv\n/m/b.mkv\n"));
        }
        QVERIFY(QFile::remove(FilePath(QStringLiteral("started"))));
        QVERIFY(QFile::remove(FilePath(QStringLiteral("pid"))));
        DurationProbeQueue queue(1, 20000);
        int reports = 0;
        connect(&queue, &DurationProbeQueue::Measured, [&reports] { ++reports; });
        queue.Measure({QStringLiteral("/m/hangs.mkv"), QStringLiteral("/m/b.mkv")}, false);
        QTRY_VERIFY(ReadFile(QStringLiteral("pid")).endsWith('\n'));
        const pid_t pid = static_cast<pid_t>(ReadFile(QStringLiteral("pid")).trimmed().toLong());
        queue.Cancel();
        QVERIFY(queue.IsIdle());
        QVERIFY(pid > 0);
        QTRY_VERIFY2(::kill(pid, 0) != 0 && errno == ESRCH, "the ended probe is still there");
        QTest::qWait(300);
        QCOMPARE(reports, 0);
        QCOMPARE(ReadFile(QStringLiteral("started")), QByteArray("/m/hangs.mkv\n"));
    }
};

TAVRIX_CORE_TEST_MAIN(DurationProbeTest)
#include "DurationProbeTest.moc"
