// Programs run as the player's children: each runs in a process group that ends with it, and
// RunToEnd keeps a bounded start of what it writes.
#include "common/ProcessGroups.h"
#include "common/TestMain.h"

#include "platform/ChildProcess.h"

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

    void runToEndKeepsTheStartOfALongOutput()
    {
        const std::optional<QByteArray> output = RunToEnd(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("head -c %1 /dev/zero; echo end").arg(3 * kRunToEndOutputLimit)},
            20000);
        QVERIFY(output.has_value());
        QCOMPARE(*output, QByteArray(kRunToEndOutputLimit, '\0'));
    }
};

TAVRIX_CORE_TEST_MAIN(ChildProcessTest)
#include "ChildProcessTest.moc"
