#pragma once

#include "disc/ProbeReport.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QProcess;
class QTimer;

// What one probe found; nothing when it could not start or ran out of time.
struct ProbeFindings
{
    QString durationText;
    qint64 startMs = -1; // where the medium's clock starts, -1 when the probe did not say
    std::optional<MediumStreams> streams;
    QString title; // the medium's own title tag
};

// The time one probe may take before it is given up.
inline constexpr int kProbeTimeLimitMs = 30000;

// How much of a probe's report is kept; the rest is read and dropped, so a probe that floods its
// standard error costs no memory. ffmpeg writes its "Duration: " line after its banner and the
// file's header and tags, a few KiB in all; a file whose tags alone fill this goes unmeasured.
inline constexpr qsizetype kProbeReportLimit = 64 * 1024;

// Measures files with the probe program in the background, in the order given, with at most a
// given number of probes running at once. Only the first kProbeReportLimit bytes of a report
// count. A probe that cannot start, or that runs past the time limit and is stopped, reports no
// findings. Nothing waits: each result arrives as a signal.
class DurationProbeQueue : public QObject
{
    Q_OBJECT

public:
    DurationProbeQueue(int probesAtOnce, int timeLimitMs, QObject *parent = nullptr);
    // Ends the running probes, as Cancel does.
    ~DurationProbeQueue() override;

    // Adds the paths behind those still waiting. With `firstAlone`, when nothing else is being
    // measured or waiting, the first path is measured with no probe beside it: its file waits
    // for it to start playing, and the others would take cores from it.
    void Measure(const QStringList &paths, bool firstAlone);
    // Puts the path before those still waiting; nothing when it is being measured already.
    void MeasureFirst(const QString &path);
    // The probe measured alone is no longer waited for: the others start beside it.
    void RunAlongside();
    // Ends every running probe at once and forgets the waiting ones; none of them reports.
    void Cancel();
    bool IsIdle() const { return m_waiting.empty() && m_running.empty(); }

signals:
    void Measured(const QString &path, const ProbeFindings &findings);
    // After the last waiting path has reported.
    void Idle();

private:
    struct Probe;

    // Starts waiting probes while fewer than allowed run and none runs alone; with
    // `firstAlone`, the first one started runs alone.
    void StartWaiting(bool firstAlone);
    void Finish(quint64 serial, bool started);

    const int m_probesAtOnce;
    const int m_timeLimitMs;
    std::deque<QString> m_waiting;
    std::vector<std::unique_ptr<Probe>> m_running;
    quint64 m_lastSerial = 0;
    quint64 m_aloneSerial = 0; // the probe running alone, or 0
};
