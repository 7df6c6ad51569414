// The engine session on its own, against the scripted engine: which state each step leaves,
// and what it says when the engine ends.
#include "common/EngineDouble.h"
#include "common/TestMain.h"

#include "engine/EngineSession.h"

#include <QSignalSpy>
#include <QTemporaryDir>

using State = EngineSession::State;
Q_DECLARE_METATYPE(EngineSession::State)

class EngineSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void stepsLeaveTheStateTheEngineIsIn_data()
    {
        QTest::addColumn<QString>(
            "program"); // "double", a missing program, or one that says nothing
        QTest::addColumn<double>("length");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<State>("state");
        QTest::addColumn<QString>(
            "ended"); // "": no Ended; else "end of file" / "quit" / "unplayable"
        QTest::addColumn<bool>("failed");

        const QString engine = QStringLiteral("double");
        QTest::newRow("start") << engine << 60.0 << QStringList{"start"} << State::Playing << ""
                               << false;
        QTest::newRow("pause") << engine << 60.0 << QStringList{"start", "pause"} << State::Paused
                               << "" << false;
        QTest::newRow("pause, resume") << engine << 60.0 << QStringList{"start", "pause", "resume"}
                                       << State::Playing << "" << false;
        QTest::newRow("resume while playing changes nothing")
            << engine << 60.0 << QStringList{"start", "resume"} << State::Playing << "" << false;
        QTest::newRow("quit ends with the process")
            << engine << 60.0 << QStringList{"start", "quit", "wait"} << State::Stopped << "quit"
            << false;
        QTest::newRow("quit while paused")
            << engine << 60.0 << QStringList{"start", "pause", "quit", "wait"} << State::Stopped
            << "quit" << false;
        QTest::newRow("the medium's end") << engine << 0.5 << QStringList{"start", "wait"}
                                          << State::Stopped << "end of file" << false;
        QTest::newRow("released at once, nothing said")
            << engine << 60.0 << QStringList{"start", "release"} << State::Stopped << "" << false;
        QTest::newRow("nothing to pause")
            << engine << 60.0 << QStringList{"pause", "resume"} << State::Stopped << "" << false;
        QTest::newRow("a second start replaces the first quietly")
            << engine << 60.0 << QStringList{"start", "start"} << State::Playing << "" << false;
        QTest::newRow("a program that cannot start")
            << QStringLiteral("/nonexistent/engine") << 60.0 << QStringList{"start", "wait"}
            << State::Stopped << "" << true;
        QTest::newRow("an engine that ends without playing")
            << QStringLiteral("/bin/true") << 60.0 << QStringList{"start", "wait"} << State::Stopped
            << "unplayable" << false;
    }

    void stepsLeaveTheStateTheEngineIsIn()
    {
        QFETCH(QString, program);
        QFETCH(double, length);
        QFETCH(QStringList, steps);
        QFETCH(State, state);
        QFETCH(QString, ended);
        QFETCH(bool, failed);

        EngineDouble engine;
        engine.SetLength(length);
        QTemporaryDir folder;
        EngineSession session;
        QSignalSpy endings(&session, &EngineSession::Ended);
        QSignalSpy failures(&session, &EngineSession::FailedToStart);
        for (const QString &step : steps) {
            if (step == QLatin1String("start")) {
                session.Start(program == QLatin1String("double")
                                  ? qEnvironmentVariable("TAVRIX_ENGINE")
                                  : program,
                              {QStringLiteral("film.mkv")}, folder.path());
            } else if (step == QLatin1String("pause")) {
                session.Pause();
            } else if (step == QLatin1String("resume")) {
                session.Resume();
            } else if (step == QLatin1String("quit")) {
                session.Quit();
            } else if (step == QLatin1String("release")) {
                session.Release();
            } else if (step == QLatin1String("wait")) {
                QTRY_VERIFY_WITH_TIMEOUT(!endings.isEmpty() || !failures.isEmpty(), 5000);
            }
        }
        QTest::qWait(100);
        QCOMPARE(session.CurrentState(), state);
        QCOMPARE(failures.size(), failed ? 1 : 0);
        QCOMPARE(endings.size(), ended.isEmpty() ? 0 : 1);
        if (!ended.isEmpty()) {
            QCOMPARE(endings.first().at(0).toBool(), ended == QLatin1String("end of file"));
            QCOMPARE(endings.first().at(1).toBool(), ended == QLatin1String("unplayable"));
        }
    }

    // Streams a reader the medium cannot forge told replace the announced ones; announcements
    // after that, a medium's forged ones included, change nothing.
    void streamsOfAReaderOutweighAnnouncements()
    {
        EngineDouble engine;
        engine.SetLength(3600);
        engine.SetStreams("aa");
        QTemporaryDir folder;
        EngineSession session;
        QSignalSpy videoStarts(&session, &EngineSession::VideoStarted);
        QSignalSpy learnt(&session, &EngineSession::StreamsLearnt);
        session.Start(qEnvironmentVariable("TAVRIX_ENGINE"), {QStringLiteral("film.mkv")},
                      folder.path());
        QTRY_COMPARE(videoStarts.size(), 1);
        QCOMPARE(session.AudioStreams().size(), 2);

        MediumFacts facts;
        facts.streams = MediumStreams{{{0, QStringLiteral("ger"), QStringLiteral("Kino")}}, {}};
        session.Learn(facts);
        QCOMPARE(learnt.size(), 1);
        QSignalSpy tracks(&session, &EngineSession::AudioTrackAnswered);
        QVERIFY(session.Send("say [lavf] stream 9: audio (ac3), -aid 7, -alang fre\n"));
        session.AskForCurrentTracks();
        QTRY_COMPARE(tracks.size(), 1);
        QCOMPARE(session.AudioStreams().size(), 1);
        QCOMPARE(session.AudioStreams().first().title, QStringLiteral("Kino"));
    }

    // Steps: "start" (or "start S": the medium's clock starts at S seconds, as a reader the
    // medium cannot forge told; "start S untold": only the engine says so), "poll", "seek N",
    // "say LINE" (the engine prints it), "settle" (every line printed so far has been read).
    void clockTakesOnlyAwaitedAnswers_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<int>("answerDelayMs");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("clockMs");

        const QString answer30 = QStringLiteral("say ANS_TIME_POSITION=30.0");
        QTest::newRow("an answer nobody asked for")
            << 3600.0 << 0 << QStringList{"start", "settle", answer30, "settle"} << 0;
        QTest::newRow("an answer while one is awaited, then a late one not awaited")
            << 3600.0 << 500 << QStringList{"start", "settle", "poll", answer30, "settle"} << 30000;
        QTest::newRow("an answer to a question asked before a seek")
            << 3600.0 << 500 << QStringList{"start", "settle", "poll", "seek 100", "settle"}
            << 100000;
        QTest::newRow("a length nobody asked for")
            << 3600.0 << 0
            << QStringList{"start", "settle", "say ANS_LENGTH=10.00", "settle", "seek 100"}
            << 100000;
        QTest::newRow("an answer of the very start after a seek")
            << 3600.0 << 500
            << QStringList{"start", "settle", "seek 100", "poll", "say ANS_TIME_POSITION=0.0",
                           "settle"}
            << 0;
        QTest::newRow("positions count from the medium's start")
            << 3600.0 << 0 << QStringList{"start 1000", "settle", "poll", "settle"} << 0;
        QTest::newRow("a start time only the engine said before playback")
            << 3600.0 << 0 << QStringList{"start 1000 untold", "settle", "poll", "settle"}
            << 1000000;
        QTest::newRow("a start time said during playback is a stranger's")
            << 3600.0 << 0
            << QStringList{"start 1000", "settle", "say ID_START_TIME=500.00", "poll", "settle"}
            << 0;
        QTest::newRow("a start time said during playback of a medium that stated none")
            << 3600.0 << 0
            << QStringList{"start", "settle", "say ID_START_TIME=500.00", "seek 100", "poll",
                           "settle"}
            << 100000;
        QTest::newRow("a new start forgets the last medium's start time")
            << 3600.0 << 500
            << QStringList{"start 1000", "settle", "start", "settle", "poll", answer30, "settle"}
            << 30000;
    }

    void clockTakesOnlyAwaitedAnswers()
    {
        QFETCH(double, length);
        QFETCH(int, answerDelayMs);
        QFETCH(QStringList, steps);
        QFETCH(int, clockMs);

        EngineDouble engine;
        engine.SetLength(length);
        engine.DelayAnswers(answerDelayMs);
        QTemporaryDir folder;
        EngineSession session;
        QSignalSpy tracks(&session, &EngineSession::AudioTrackAnswered);
        qsizetype starts = 0;
        for (const QString &step : steps) {
            const QString argument = step.section(QLatin1Char(' '), 1);
            if (step.startsWith(QLatin1String("start"))) {
                ++starts;
                const double startTime = argument.section(QLatin1Char(' '), 0, 0).toDouble();
                engine.SetStartTime(startTime);
                MediumFacts facts;
                if (!argument.isEmpty() && !argument.endsWith(QLatin1String(" untold"))) {
                    facts.startTimeMs = qint64(startTime * 1000);
                }
                session.Start(qEnvironmentVariable("TAVRIX_ENGINE"), {QStringLiteral("film.mkv")},
                              folder.path(), facts);
            } else if (step == QLatin1String("poll")) {
                session.Poll();
            } else if (step.startsWith(QLatin1String("seek "))) {
                session.Seek(argument.toInt());
            } else if (step.startsWith(QLatin1String("say "))) {
                QVERIFY(session.Send("say %s\n", qPrintable(argument)));
            } else if (step == QLatin1String("settle")) {
                // The question the player asks of itself once a medium plays, then late answers;
                // then the engine's answer to a question of its own comes behind everything it
                // printed before.
                QTRY_COMPARE_WITH_TIMEOUT(
                    engine.Lines().count(QStringLiteral("pausing_keep_force get_time_pos")),
                    starts, 5000);
                QTest::qWait(answerDelayMs + 100);
                const qsizetype answered = tracks.size();
                session.AskForCurrentTracks();
                QTRY_VERIFY_WITH_TIMEOUT(tracks.size() > answered, 5000);
            }
        }
        // Answers tell the engine's position when asked, a little after the step they follow.
        QVERIFY2(qAbs(session.ClockMs() - clockMs) < 900,
                 qPrintable(QString::number(session.ClockMs())));
    }
};

TAVRIX_CORE_TEST_MAIN(EngineSessionTest)
#include "EngineSessionTest.moc"
