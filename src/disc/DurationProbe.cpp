#include "disc/DurationProbe.h"

#include "platform/ChildProcess.h"
#include "platform/ExternalPrograms.h"

#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <memory>
#include <vector>

namespace {

const QByteArray kDurationMarker = QByteArrayLiteral("Duration: ");
constexpr int kDurationTextLength = 8;

// Runs the probes of one batch, keeping at most a given number running.
class ProbeBatch
{
public:
    ProbeBatch(const QStringList &paths, int probesAtOnce, int timeLimitMs)
        : m_paths(paths), m_results(paths.size()), m_probesAtOnce(std::max(1, probesAtOnce)),
          m_timeLimitMs(timeLimitMs)
    {
    }

    QStringList Run()
    {
        if (m_paths.isEmpty()) {
            return {};
        }
        while (m_running < m_probesAtOnce && m_next < m_paths.size()) {
            StartNext();
        }
        if (m_finished < m_paths.size()) {
            // Input waits until the probes are done; timers, the engine and repaints go on.
            m_loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        return m_results;
    }

    // Also when the wait ended early (the application quitting): no probe outlives the batch,
    // and none calls back into it.
    ~ProbeBatch()
    {
        for (const std::shared_ptr<QProcess> &process : m_processes) {
            process->disconnect();
            if (process->state() != QProcess::NotRunning) {
                KillProcessGroup(*process);
                process->waitForFinished();
            }
        }
    }

private:
    void StartNext()
    {
        const int index = m_next++;
        ++m_running;
        auto process = std::make_shared<QProcess>();
        m_processes.push_back(process);
        EndWithPlayer(*process);
        // The report is on standard error; standard output is not read at all.
        process->setStandardOutputFile(QProcess::nullDevice());
        const std::shared_ptr<const QByteArray> report =
            KeepOutput(*process, QProcess::StandardError, kProbeReportLimit);
        auto done = std::make_shared<bool>(false);
        auto timedOut = std::make_shared<bool>(false);
        auto timer = std::make_shared<QTimer>();
        timer->setSingleShot(true);
        QObject::connect(timer.get(), &QTimer::timeout, [process, timedOut] {
            *timedOut = true;
            KillProcessGroup(*process);
        });

        // Whatever the probe said counts, also when it crashed, unless it was stopped for
        // taking too long.
        const auto finish = [this, index, process, report, done, timer, timedOut](bool started) {
            if (*done) {
                return;
            }
            *done = true;
            timer->stop();
            if (started && !*timedOut) {
                m_results[index] = DurationTextFromProbeOutput(*report);
            }
            // The process object may still be inside its own signal; it is let go with the batch.
            process->disconnect();
            --m_running;
            ++m_finished;
            if (m_next < m_paths.size()) {
                StartNext();
            } else if (m_finished == m_paths.size()) {
                m_loop.quit();
            }
        };
        QObject::connect(process.get(), &QProcess::finished,
                         [finish](int, QProcess::ExitStatus) { finish(true); });
        QObject::connect(process.get(), &QProcess::errorOccurred,
                         [finish](QProcess::ProcessError error) {
                             if (error == QProcess::FailedToStart) {
                                 finish(false);
                             }
                         });
        // A list of arguments: no path, whatever its characters, can add arguments of its own.
        process->start(ProbeProgram(), {QStringLiteral("-i"), m_paths[index]});
        process->closeWriteChannel();
        if (!*done) {
            timer->start(m_timeLimitMs);
        }
    }

    const QStringList m_paths;
    QStringList m_results;
    const int m_probesAtOnce;
    const int m_timeLimitMs;
    int m_next = 0;
    int m_running = 0;
    int m_finished = 0;
    QEventLoop m_loop;
    std::vector<std::shared_ptr<QProcess>> m_processes;
};

} // namespace

QString DurationTextFromProbeOutput(const QByteArray &standardError)
{
    const qsizetype marker = standardError.indexOf(kDurationMarker);
    if (marker < 0) {
        return QString();
    }
    return QString::fromLocal8Bit(
        standardError.mid(marker + kDurationMarker.size(), kDurationTextLength));
}

QStringList ProbeDurations(const QStringList &paths, int probesAtOnce, int timeLimitMs)
{
    return ProbeBatch(paths, probesAtOnce, timeLimitMs).Run();
}

QString ProbeDuration(const QString &path)
{
    return ProbeDurations({path}, 1, kProbeTimeLimitMs).value(0);
}
