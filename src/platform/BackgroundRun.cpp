#include "platform/BackgroundRun.h"

#include "platform/ChildProcess.h"

#include <QTimer>

BackgroundRun::BackgroundRun(const QString &program, const QStringList &arguments,
                             int timeLimitMs, QObject *parent)
    : QObject(parent), m_process(std::make_unique<QProcess>())
{
    EndWithPlayer(*m_process);
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_output = KeepOutput(*m_process, QProcess::StandardOutput, kBackgroundRunOutputLimit);
    connect(m_process.get(), &QProcess::finished, this,
            [this](int, QProcess::ExitStatus status) { Report(status == QProcess::NormalExit); });
    // Queued, so that a start that fails at once reports after the caller has connected.
    connect(
        m_process.get(), &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                Report(false);
            }
        },
        Qt::QueuedConnection);
    m_limit = new QTimer(this);
    m_limit->setSingleShot(true);
    connect(m_limit, &QTimer::timeout, this, [this] {
        KillProcessGroup(*m_process);
        Report(false);
    });
    m_process->start(program, arguments);
    m_process->closeWriteChannel();
    m_limit->start(timeLimitMs);
}

BackgroundRun::~BackgroundRun()
{
    m_process->disconnect(this);
    if (m_process->state() != QProcess::NotRunning) {
        KillProcessGroup(*m_process);
        m_process->waitForFinished(1000);
    }
}

void BackgroundRun::Report(bool completed)
{
    if (m_reported) {
        return;
    }
    m_reported = true;
    m_limit->stop();
    emit Finished(completed, completed ? *m_output : QByteArray());
}
