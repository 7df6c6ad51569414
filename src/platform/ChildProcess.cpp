#include "platform/ChildProcess.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>

void EndWithPlayer(QProcess &process)
{
    // Runs in the child between fork and exec.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

std::optional<QByteArray> RunToEnd(const QString &program, const QStringList &arguments,
                                   int timeLimitMs)
{
    QProcess process;
    EndWithPlayer(process);
    process.setStandardErrorFile(QProcess::nullDevice());
    QEventLoop loop;
    bool completed = false;
    QObject::connect(&process, &QProcess::finished, &loop, [&](int, QProcess::ExitStatus status) {
        completed = status == QProcess::NormalExit;
        loop.quit();
    });
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            loop.quit();
        }
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        process.kill();
        loop.quit();
    });
    process.start(program, arguments);
    process.closeWriteChannel();
    limit.start(timeLimitMs);
    if (process.state() != QProcess::NotRunning || process.error() != QProcess::FailedToStart) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (!completed) {
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}
