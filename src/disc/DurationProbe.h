#pragma once

#include "disc/ProbeReport.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <vector>

class QProcess;
class QTimer;

// The time one probe may take before it is given up.
inline constexpr int kProbeTimeLimitMs = 30000;

// The longest report taken; a longer one is read and dropped, so a probe that floods its standard
// output costs no memory, and it yields no findings. The report is some 1.5 KiB a stream and
// 1 KiB for the rest, tag texts included: a disc's transport stream of forty streams writes
// about 55 KiB. Only a file whose tags alone hold about a MiB goes unmeasured.
inline constexpr qsizetype kProbeReportLimit = 1024 * 1024;

// Measures files with the probe program in the background, in the order given, with at most a
// given number of probes running at once. A report longer than kProbeReportLimit counts as
// none. A probe that cannot start, or that runs past the time limit and is stopped, reports no
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
