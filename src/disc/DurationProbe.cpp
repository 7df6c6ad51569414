#include "disc/DurationProbe.h"

#include "platform/ChildProcess.h"
#include "platform/ExternalPrograms.h"

#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <utility>

struct DurationProbeQueue::Probe
{
    quint64 serial = 0; // tells a late report of a probe that is gone from one that runs
    QString path;
    std::unique_ptr<QProcess> process;
    std::shared_ptr<const QByteArray> report;
    std::unique_ptr<QTimer> timer;
    bool timedOut = false;
};

DurationProbeQueue::DurationProbeQueue(int probesAtOnce, int timeLimitMs, QObject *parent)
    : QObject(parent), m_probesAtOnce(std::max(1, probesAtOnce)), m_timeLimitMs(timeLimitMs)
{
}

DurationProbeQueue::~DurationProbeQueue()
{
    Cancel();
}

void DurationProbeQueue::Measure(const QStringList &paths, bool firstAlone)
{
    const bool alone = firstAlone && IsIdle();
    m_waiting.insert(m_waiting.end(), paths.begin(), paths.end());
    StartWaiting(alone);
}

void DurationProbeQueue::MeasureFirst(const QString &path)
{
    const bool running =
        std::any_of(m_running.begin(), m_running.end(),
                    [&path](const std::unique_ptr<Probe> &probe) { return probe->path == path; });
    if (running) {
        return;
    }
    // Moved, not added twice, when it was waiting already.
    m_waiting.erase(std::remove(m_waiting.begin(), m_waiting.end(), path), m_waiting.end());
    m_waiting.push_front(path);
    // This one is wanted now: one waited for before need not run alone any more.
    m_aloneSerial = 0;
    StartWaiting(false);
}

void DurationProbeQueue::RunAlongside()
{
    m_aloneSerial = 0;
    StartWaiting(false);
}

void DurationProbeQueue::Cancel()
{
    m_waiting.clear();
    m_aloneSerial = 0;
    for (const std::unique_ptr<Probe> &probe : m_running) {
        QProcess *process = probe->process.release();
        process->disconnect();
        // Nothing waits for the end: the process object goes once the system says it has.
        if (process->state() == QProcess::NotRunning) {
            process->deleteLater();
        } else {
            connect(process, &QProcess::finished, process, &QObject::deleteLater);
            KillProcessGroup(*process);
        }
    }
    m_running.clear();
}

void DurationProbeQueue::StartWaiting(bool firstAlone)
{
    while (m_aloneSerial == 0 && static_cast<int>(m_running.size()) < m_probesAtOnce &&
           !m_waiting.empty()) {
        auto probe = std::make_unique<Probe>();
        Probe *raw = probe.get();
        const quint64 serial = ++m_lastSerial;
        probe->serial = serial;
        if (std::exchange(firstAlone, false)) {
            m_aloneSerial = serial;
        }
        probe->path = m_waiting.front();
        m_waiting.pop_front();
        probe->process = std::make_unique<QProcess>();
        QProcess &process = *probe->process;
        EndWithPlayer(process);
        // The report is on standard output; what the probe says on standard error is not read.
        process.setStandardErrorFile(QProcess::nullDevice());
        // One byte past the limit tells a report that is too long from one that just fits.
        probe->report = KeepOutput(process, QProcess::StandardOutput, kProbeReportLimit + 1);
        probe->timer = std::make_unique<QTimer>();
        probe->timer->setSingleShot(true);
        connect(probe->timer.get(), &QTimer::timeout, this, [raw] {
            raw->timedOut = true;
            KillProcessGroup(*raw->process);
        });
        // Whatever the probe said counts, also when it crashed, unless it was stopped for taking
        // too long.
        connect(&process, &QProcess::finished, this,
                [this, serial](int, QProcess::ExitStatus) { Finish(serial, true); });
        // Queued: a start that fails at once reports after this loop, not from inside it.
        connect(
            &process, &QProcess::errorOccurred, this,
            [this, serial](QProcess::ProcessError error) {
                if (error == QProcess::FailedToStart) {
                    Finish(serial, false);
                }
            },
            Qt::QueuedConnection);
        m_running.push_back(std::move(probe));
        // A list of arguments: no path, whatever its characters, can add arguments of its own.
        // Absolute, so that no name is taken for one of the probe's own protocols ("concat:").
        process.start(ProbeProgram(), ProbeOptions() << QFileInfo(raw->path).absoluteFilePath());
        process.closeWriteChannel();
        raw->timer->start(m_timeLimitMs);
    }
}

void DurationProbeQueue::Finish(quint64 serial, bool started)
{
    const auto found = std::find_if(
        m_running.begin(), m_running.end(),
        [serial](const std::unique_ptr<Probe> &running) { return running->serial == serial; });
    if (found == m_running.end()) {
        return;
    }
    std::unique_ptr<Probe> finished = std::move(*found);
    m_running.erase(found);
    const bool alone = serial == m_aloneSerial;
    if (alone) {
        m_aloneSerial = 0;
    }
    finished->timer->stop();
    finished->process->disconnect();
    const QString path = finished->path;
    const bool reported =
        started && !finished->timedOut && finished->report->size() <= kProbeReportLimit;
    const ProbeFindings findings =
        reported ? FindingsFromProbeReport(*finished->report) : ProbeFindings();
    // The process may still be inside its own signal: it goes once that has returned.
    finished->process.release()->deleteLater();
    // A probe that ran alone is waited for: its answer goes first, the others start after it.
    if (!alone) {
        StartWaiting(false);
    }
    emit Measured(path, findings);
    if (alone) {
        StartWaiting(false);
    }
    if (IsIdle()) {
        emit Idle();
    }
}
