// Programs run as the player's children: each runs in a process group that ends with it, and
// RunToEnd keeps a bounded start of what it writes.
#include "common/ProcessGroups.h"
#include "common/TestMain.h"

#include "platform/BackgroundRun.h"
#include "platform/ChildProcess.h"

#include <QSignalSpy>

#include <sys/types.h>

class ChildProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void groupEndsWithTheProgram_data()
    {
        QTest::addColumn<bool>("killed");
        QTest::newRow("the program ends by itself") << false;
        QTest::newRow("the program is killed") << true;
    }

    void groupEndsWithTheProgram()
    {
        QFETCH(bool, killed);
        // Like a wrapper script, the program starts a child of its own and does not wait for it.
        // It ends by itself once its standard input closes.
        QProcess process;
        EndWithPlayer(process);
        process.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), QStringLiteral("sleep 60 & echo $!; read line")});
        QVERIFY(process.waitForStarted(5000));
        const auto group = static_cast<pid_t>(process.processId());
        QTRY_VERIFY_WITH_TIMEOUT(process.canReadLine(), 5000);
        const auto child = static_cast<pid_t>(process.readLine().trimmed().toInt());
        QVERIFY(child > 0);
        QCOMPARE(ProcessGroups::GroupOf(child), group);

        QCOMPARE(process.state(), QProcess::Running);
        if (killed) {
            KillProcessGroup(process);
        } else {
            process.closeWriteChannel();
        }
        QVERIFY(process.waitForFinished(5000));
        // The child and the group's watchdog go too.
        QTRY_COMPARE_WITH_TIMEOUT(ProcessGroups::LiveProcessesIn(group), 0, 3000);
    }

    // A helper run in the background keeps only the start of a long output, and one past its
    // time limit is ended with everything it started.
    void backgroundRunKeepsTheStartAndEndsAHangingProgram_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("a long output")
            << QStringLiteral("head -c %1 /dev/zero; echo end").arg(3 * kBackgroundRunOutputLimit)
            << true << QByteArray(kBackgroundRunOutputLimit, '\0');
        QTest::newRow("past the limit") << QStringLiteral("echo partial; sleep 60") << false
                                        << QByteArray();
    }

    void backgroundRunKeepsTheStartAndEndsAHangingProgram()
    {
        QFETCH(QString, script);
        QFETCH(bool, completed);
        QFETCH(QByteArray, output);
        BackgroundRun run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, 1500);
        QSignalSpy finished(&run, &BackgroundRun::Finished);
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().at(0).toBool(), completed);
        QCOMPARE(finished.first().at(1).toByteArray(), output);
    }
};

TAVRIX_CORE_TEST_MAIN(ChildProcessTest)
#include "ChildProcessTest.moc"
