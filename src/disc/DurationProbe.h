#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <vector>

class QProcess;
class QTimer;

// The duration a probe reported on its standard error: hh:mm:ss, without the fraction, from the
// first line that starts (after its indent) with "Duration: " and a clock; empty when there is
// none. The probed file's own name is taken out of the report first, so that a name cannot
// pass for that line.
QString DurationTextFromProbeOutput(const QByteArray &standardError,
                                    const QString &probedPath = QString());

// Where the medium's own clock starts, in milliseconds, from the "start: " figure of that same
// line; -1 when the line or the figure is missing. ffmpeg marks the continuation lines of a
// tag, so no tag can make a line of this shape.
qint64 StartTimeMsFromProbeOutput(const QByteArray &standardError,
                                  const QString &probedPath = QString());

// The time one probe may take before it is given up.
inline constexpr int kProbeTimeLimitMs = 30000;

// How much of a probe's report is kept; the rest is read and dropped, so a probe that floods its
// standard error costs no memory. ffmpeg writes its "Duration: " line after its banner and the
// file's header and tags, a few KiB in all; a file whose tags alone fill this goes unmeasured.
inline constexpr qsizetype kProbeReportLimit = 64 * 1024;

// Measures files with the probe program in the background, in the order given, with at most a
// given number of probes running at once. Only the first kProbeReportLimit bytes of a report
// count. A probe that cannot start, or that runs past the time limit and is stopped, reports an
// empty text. Nothing waits: each result arrives as a signal.
class DurationProbeQueue : public QObject
{
    Q_OBJECT

public:
    DurationProbeQueue(int probesAtOnce, int timeLimitMs, QObject *parent = nullptr);
    // Ends the running probes, as Cancel does.
    ~DurationProbeQueue() override;

    // Adds the paths behind those still waiting.
    void Measure(const QStringList &paths);
    // Puts the path before those still waiting; nothing when it is being measured already.
    void MeasureFirst(const QString &path);
    // Ends every running probe at once and forgets the waiting ones; none of them reports.
    void Cancel();
    bool IsIdle() const { return m_waiting.empty() && m_running.empty(); }

signals:
    // startMs: where the medium's clock starts, -1 when the probe did not say.
    void Measured(const QString &path, const QString &durationText, qint64 startMs);
    // After the last waiting path has reported.
    void Idle();

private:
    struct Probe;

    void StartWaiting();
    void Finish(quint64 serial, bool started);

    const int m_probesAtOnce;
    const int m_timeLimitMs;
    std::deque<QString> m_waiting;
    std::vector<std::unique_ptr<Probe>> m_running;
    quint64 m_lastSerial = 0;
};
