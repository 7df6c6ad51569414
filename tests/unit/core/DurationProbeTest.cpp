// Reading the duration out of the probe's report, and the background queue of probes: order of
// the results, the arguments each probe gets, the time limit, probes that cannot start and
// probes ended early. The probes here are
// small shell scripts standing in for ffmpeg.
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

#include <algorithm>
#include <sys/types.h>

namespace {

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

    // Writes an executable shell script; "@DIR@" in its body becomes the test's folder.
    QString WriteScript(const QString &name, const QByteArray &body)
    {
        const QString path = FilePath(name);
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly)) {
            return QString();
        }
        QByteArray text = "#!/bin/sh\n" + body;
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

    // A probe that says "Duration: 00:01:40.00" on standard error and, like ffmpeg given no
    // output file, exits with 1.
    QString QuickProbe()
    {
        return WriteScript(QStringLiteral("quick-probe"),
                           "echo '  Duration: 00:01:40.00, start: 0.000000, bitrate: 8 kb/s' >&2\n"
                           "exit 1\n");
    }

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
        QTest::addColumn<QString>("probedPath");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ffmpeg's line")
            << QByteArray("Input #0, matroska,webm, from 'a.mkv':\n"
                          "  Duration: 01:02:03.45, start: 0.000000, bitrate: 1 kb/s\n")
            << "a.mkv"
            << "01:02:03";
        QTest::newRow("only the first report counts")
            << QByteArray("  Duration: 00:00:01.00, start\n  Duration: 02:00:00.00, start\n") << ""
            << "00:00:01";
        QTest::newRow("no duration known") << QByteArray("  Duration: N/A, start: 0.000000") << ""
                                           << "";
        QTest::newRow("a hundred hours") << QByteArray("Duration: 100:00:00.00") << ""
                                         << "100:00:00";
        QTest::newRow("output ends sooner") << QByteArray("Duration: 00:1") << ""
                                            << "";
        QTest::newRow("output ends at the marker") << QByteArray("Duration: ") << ""
                                                   << "";
        QTest::newRow("marker without its blank") << QByteArray("Duration:00:01:40.00") << ""
                                                  << "";
        QTest::newRow("no marker") << QByteArray("a.mkv: No such file or directory\n") << ""
                                   << "";
        QTest::newRow("no output") << QByteArray() << ""
                                   << "";
        // What a file's name or tags say is no report of the probe's own.
        QTest::newRow("a name that holds a duration line")
            << QByteArray("Input #0, avi, from '/m/x\n  Duration: 12:34:56.avi':\n"
                          "  Duration: 00:00:03.00, start: 0.000000\n")
            << "/m/x\n  Duration: 12:34:56.avi"
            << "00:00:03";
        QTest::newRow("a tag that mentions a duration")
            << QByteArray("  Metadata:\n    title           : Duration: 12:34:56.00\n"
                          "  Duration: 00:00:03.00, start: 0.000000\n")
            << ""
            << "00:00:03";
    }

    void durationText()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, probedPath);
        QFETCH(QString, expected);
        QCOMPARE(DurationTextFromProbeOutput(output, probedPath), expected);
    }

    // Where the medium's own clock starts, from the probe's line only.
    void startTime_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("probedPath");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("a transport stream") << QByteArray("  Duration: 00:00:40.00, start: "
                                                          "101.390000, bitrate: 1 kb/s\n")
                                            << "" << qint64(101390);
        QTest::newRow("before zero")
            << QByteArray("  Duration: 00:00:40.00, start: -0.021000,") << "" << qint64(-21);
        QTest::newRow("no start figure")
            << QByteArray("  Duration: 00:00:40.00\n") << "" << qint64(-1);
        QTest::newRow("a start in the name")
            << QByteArray("Input #0, mpegts, from '/m/x\n  Duration: 00:00:01.00, start: "
                          "3000.000000,.ts':\n  Duration: 00:00:40.00, start: 1.400000,\n")
            << "/m/x\n  Duration: 00:00:01.00, start: 3000.000000,.ts" << qint64(1400);
    }

    void startTime()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, probedPath);
        QFETCH(qint64, expected);
        QCOMPARE(StartTimeMsFromProbeOutput(output, probedPath), expected);
    }

    // The streams as the engine's track commands number them: per kind, in the file's order.
    // Written "a0 ger Commentary|s0 eng", kind and id, then language and title where given.
    void streams_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("probedPath");
        QTest::addColumn<QString>("expected");
        const QByteArray film = "  Stream #0:0: Video: h264\n"
                                "  Stream #0:1(ger): Audio: ac3, 48000 Hz (default)\n"
                                "    Metadata:\n      ENCODER         : x\n"
                                "  Stream #0:2(fre): Audio: ac3\n"
                                "    Metadata:\n      title           : Commentary\n"
                                "  Stream #0:3(eng): Subtitle: subrip\n";
        QTest::newRow("a film") << film << ""
                                << "a0 ger|a1 fre Commentary|s0 eng";
        QTest::newRow("a title that carries a stream line")
            << QByteArray("  Stream #0:0(eng): Audio: ac3\n    Metadata:\n"
                          "      title           : x\n"
                          "                      :   Stream #0:1(fre): Audio: ac3\n")
            << ""
            << "a0 eng x";
        QTest::newRow("streams of a transport stream, one in two programs")
            << QByteArray("  Program 1\n  Stream #0:1[0x1100](eng): Audio: ac3\n  Program 2\n"
                          "  Stream #0:1[0x1100](eng): Audio: ac3\n"
                          "  Stream #0:0[0x1011]: Video: h264\n"
                          "  Stream #0:2[0x1200]: Subtitle: hdmv_pgs_subtitle\n")
            << ""
            << "a0 eng|s0";
        QTest::newRow("a name that holds a stream line")
            << QByteArray("Input #0, matroska, from '/m/x\n  Stream #0:5: Audio: ac3.mkv':\n")
            << "/m/x\n  Stream #0:5: Audio: ac3.mkv"
            << "";
        QTest::newRow("one stream told twice in two ways")
            << film + "  Stream #0:2(fre): Subtitle: subrip\n"
            << ""
            << "";
        QTest::newRow("a stream line of another shape") << film + "  Stream #0:4(e\n"
                                                        << ""
                                                        << "";
    }

    void streams()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, probedPath);
        QFETCH(QString, expected);
        const MediumStreams streams = StreamsFromProbeOutput(output, probedPath);
        QStringList found;
        for (const auto &[kind, list] : {std::pair{'a', streams.audio}, {'s', streams.subtitles}}) {
            for (const MediumStream &stream : list) {
                QStringList parts{QLatin1Char(kind) + QString::number(stream.id), stream.language,
                                  stream.title};
                parts.removeAll(QString());
                found.append(parts.join(QLatin1Char(' ')));
            }
        }
        QCOMPARE(found.join(QLatin1Char('|')), expected);
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
                             "n=$(basename \"$2\" .mkv)\n"
                             "touch '@DIR@/running/'\"$n\"\n"
                             "ls '@DIR@/running' | wc -l >> '@DIR@/counts'\n"
                             "echo $(ls '@DIR@/running') >> '@DIR@/beside'\n"
                             "sleep 0.$((7 - n))\n"
                             "rm '@DIR@/running/'\"$n\"\n"
                             "echo \"  Duration: 00:0$n:00.00, start: 0.000000\" >&2\n"
                             "exit 1\n"));
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
                             "echo \"$2\" >> '@DIR@/started'\nexec sleep 30\n"));
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

    void eachProbeGetsTheInputOptionAndThePathAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("relative");
        QTest::newRow("plain") << "film.mkv" << false;
        QTest::newRow("quotes, blanks and a dash") << "a \"quoted\" -name.mkv" << false;
        QTest::newRow("shell characters") << "$(touch x) `y` 'z'; & | > <.mkv" << false;
        QTest::newRow("leading dash") << "-name.mkv" << true;
        QTest::newRow("blanks around it") << "  padded.mkv  " << true;
    }

    void eachProbeGetsTheInputOptionAndThePathAlone()
    {
        QFETCH(QString, name);
        QFETCH(bool, relative);
        UseProbe(WriteScript(QStringLiteral("probe"),
                             "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } "
                             "> '@DIR@/argv'\n"
                             "echo 'Duration: 00:00:07.00, start' >&2\n"
                             "exit 1\n"));
        const QString path = relative ? name : FilePath(name);
        QCOMPARE(ProbeDurations({path}, 1, 20000), QStringList{QStringLiteral("00:00:07")});
        const QStringList argv = QString::fromLocal8Bit(ReadFile(QStringLiteral("argv")))
                                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(argv, QStringList({QStringLiteral("2"), QStringLiteral("-i"), path}));
    }

    void crashedProbeStillCountsWhatItSaid()
    {
        UseProbe(WriteScript(QStringLiteral("probe"),
                             "echo '  Duration: 00:02:03.00, start' >&2\nkill -SEGV $$\n"));
        QCOMPARE(ProbeDurations({FilePath(QStringLiteral("film.mkv"))}, 1, 10000),
                 QStringList{QStringLiteral("00:02:03")});
    }

    void onlyStandardErrorIsRead()
    {
        UseProbe(WriteScript(QStringLiteral("probe"), "echo 'Duration: 00:01:40.00, start'\n"));
        QCOMPARE(ProbeDurations({QStringLiteral("/media/a.mkv")}, 1, 20000),
                 QStringList{QString()});
    }

    void onlyTheStartOfAFloodedReportCounts_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("expected");
        const int report = QByteArray("Duration: 00:01:40").size();
        QTest::newRow("report, then a flood") << 0 << 128 * int(kProbeReportLimit) << "00:01:40";
        QTest::newRow("report ending at the limit")
            << int(kProbeReportLimit) - report << 0 << "00:01:40";
        QTest::newRow("report past the limit") << int(kProbeReportLimit) << 0 << "";
    }

    void onlyTheStartOfAFloodedReportCounts()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(QString, expected);
        // The probe ends only once all it wrote has been taken from the pipe.
        UseProbe(WriteScript(QStringLiteral("probe"),
                             QStringLiteral("head -c %1 /dev/zero | tr '\\0' '\\n' >&2\n"
                                            "printf 'Duration: 00:01:40.00, start' >&2\n"
                                            "head -c %2 /dev/zero >&2\n"
                                            "exit 1\n")
                                 .arg(before)
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
        UseProbe(WriteScript(QStringLiteral("probe"), "case \"$2\" in *slow*)\n"
                                                      "  echo $$ > '@DIR@/slow.pid'\n"
                                                      "  exec sleep 30;;\n"
                                                      "esac\n"
                                                      "echo 'Duration: 00:01:40.00, start' >&2\n"
                                                      "exit 1\n"));
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
            file.write("#!/bin/sh\necho 'Duration: 00:01:40.00' >&2\n");
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
        UseProbe(WriteScript(QStringLiteral("probe"), "echo \"$2\" >> '@DIR@/started'\n"
                                                      "case \"$2\" in *hangs*)\n"
                                                      "  echo $$ > '@DIR@/pid'\n"
                                                      "  exec sleep 30;;\n"
                                                      "esac\n"
                                                      "echo 'Duration: 00:01:40.00' >&2\n"));
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
