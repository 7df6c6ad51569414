#include "disc/DurationProbe.h"

#include "platform/ChildProcess.h"
#include "platform/ExternalPrograms.h"

#include <QProcess>
#include <QTimer>

#include <algorithm>

namespace {

const QByteArray kDurationMarker = QByteArrayLiteral("Duration: ");
constexpr int kDurationTextLength = 8;
// A stopped probe is gone at once; this only bounds the wait for the system to say so.
constexpr int kStoppedProbeWaitMs = 1000;

} // namespace

struct DurationProbeQueue::Probe
{
    QString path;
    std::unique_ptr<QProcess> process;
    std::shared_ptr<const QByteArray> report;
    std::unique_ptr<QTimer> timer;
    bool timedOut = false;
};

QString DurationTextFromProbeOutput(const QByteArray &standardError)
{
    const qsizetype marker = standardError.indexOf(kDurationMarker);
    if (marker < 0) {
        return QString();
    }
    return QString::fromLocal8Bit(
        standardError.mid(marker + kDurationMarker.size(), kDurationTextLength));
}

DurationProbeQueue::DurationProbeQueue(int probesAtOnce, int timeLimitMs, QObject *parent)
    : QObject(parent), m_probesAtOnce(std::max(1, probesAtOnce)), m_timeLimitMs(timeLimitMs)
{
}

DurationProbeQueue::~DurationProbeQueue()
{
    Cancel();
}

void DurationProbeQueue::Measure(const QStringList &paths)
{
    m_waiting.insert(m_waiting.end(), paths.begin(), paths.end());
    StartWaiting();
}

void DurationProbeQueue::MeasureFirst(const QString &path)
{
    m_waiting.push_front(path);
    StartWaiting();
}

void DurationProbeQueue::Cancel()
{
    m_waiting.clear();
    for (const std::unique_ptr<Probe> &probe : m_running) {
        probe->process->disconnect();
        probe->timer->disconnect();
        if (probe->process->state() != QProcess::NotRunning) {
            KillProcessGroup(*probe->process);
            probe->process->waitForFinished(kStoppedProbeWaitMs);
        }
    }
    m_running.clear();
}

void DurationProbeQueue::StartWaiting()
{
    while (static_cast<int>(m_running.size()) < m_probesAtOnce && !m_waiting.empty()) {
        auto probe = std::make_unique<Probe>();
        Probe *raw = probe.get();
        probe->path = m_waiting.front();
        m_waiting.pop_front();
        probe->process = std::make_unique<QProcess>();
        QProcess &process = *probe->process;
        EndWithPlayer(process);
        // The report is on standard error; standard output is not read at all.
        process.setStandardOutputFile(QProcess::nullDevice());
        probe->report = KeepOutput(process, QProcess::StandardError, kProbeReportLimit);
        probe->timer = std::make_unique<QTimer>();
        probe->timer->setSingleShot(true);
        connect(probe->timer.get(), &QTimer::timeout, this, [raw] {
            raw->timedOut = true;
            KillProcessGroup(*raw->process);
        });
        // Whatever the probe said counts, also when it crashed, unless it was stopped for taking
        // too long.
        connect(&process, &QProcess::finished, this,
                [this, raw](int, QProcess::ExitStatus) { Finish(raw, true); });
        // Queued: a start that fails at once reports after this loop, not from inside it.
        connect(
            &process, &QProcess::errorOccurred, this,
            [this, raw](QProcess::ProcessError error) {
                if (error == QProcess::FailedToStart) {
                    Finish(raw, false);
                }
            },
            Qt::QueuedConnection);
        m_running.push_back(std::move(probe));
        // A list of arguments: no path, whatever its characters, can add arguments of its own.
        process.start(ProbeProgram(), {QStringLiteral("-i"), raw->path});
        process.closeWriteChannel();
        raw->timer->start(m_timeLimitMs);
    }
}

void DurationProbeQueue::Finish(Probe *probe, bool started)
{
    const auto found =
        std::find_if(m_running.begin(), m_running.end(),
                     [probe](const std::unique_ptr<Probe> &running) { return running.get() == probe; });
    if (found == m_running.end()) {
        return;
    }
    std::unique_ptr<Probe> finished = std::move(*found);
    m_running.erase(found);
    finished->timer->stop();
    finished->process->disconnect();
    const QString path = finished->path;
    const QString text = started && !finished->timedOut ? DurationTextFromProbeOutput(*finished->report)
                                                        : QString();
    // The process may still be inside its own signal: it goes once that has returned.
    finished->process.release()->deleteLater();
    StartWaiting();
    emit Measured(path, text);
    if (IsIdle()) {
        emit Idle();
    }
}
