#pragma once

#include "disc/EpisodeReader.h"
#include "disc/MediumFacts.h"
#include "disc/MoviePlaylistReader.h"
#include "playing/M3uList.h"
#include "playing/PlayListInfo.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class BackgroundRun;
class DurationProbeQueue;
class QThread;
class QTimer;
struct DiscContents;
struct DiscScan;
struct ProbeFindings;

// One title of the scanned Blu-ray disc, as our own playlist reader read it.
struct DiscTitle
{
    int scanNumber = 0; // the scan's count, the engine's number only when it lists none
    QString durationText;
    QVector<PlayItemRecord> playItems;
    QStringList copyKeys; // byte-identical copies, which the engine may list in its place
    QVector<StreamRecord> audio;
    QVector<StreamRecord> subtitles;
    QVector<qint64> chapterStartsMs;
};

// What the disc menu and the navigation page show of a scanned disc.
struct ScannedDisc
{
    QString name;
    QImage thumbnail;               // decoded by the scan, ready to show; null when none
    QVector<PLAY_LIST_INFO> titles; // longest first; strPath is the title key
    QVector<Episode> episodes;      // in the order the disc plays them; none on a film's disc
};

// The owner of what plays: the source (kind, path, title), a scanned disc's titles and the one
// chosen, the play list and the background measuring of its durations. It decides what an open,
// Play, Previous, Next and a title pick start, and tells the window through signals; the window
// renders and starts the engine on Source() when told.
class WhatPlays : public QObject
{
    Q_OBJECT

public:
    // What the next start of the engine plays.
    struct Source
    {
        int kind = kSourceBluRay;
        QString path;     // file, DVD folder or Blu-ray disc folder
        QString titleKey; // a Blu-ray title's playlist path; empty for other kinds
        int dvdTitle = 0; // a DVD title picked from the engine's list; 0: the engine's first
        qint64 durationSec = 0;
        int startSec = 0; // a chapter picked: where to start instead of a resume place
        qint64 endMs = 0; // an episode within a longer title: where it ends; 0: at the title's end
        bool titleChosen = false;
    };

    explicit WhatPlays(int probeTimeLimitMs, QObject *parent = nullptr);
    ~WhatPlays() override;

    const Source &Current() const { return m_source; }
    // The engine's own number of the current Blu-ray title when one was picked; none means the
    // engine plays its main title.
    std::optional<int> EngineTitleNumber() const;
    // What readers the current medium cannot forge told about it. Where its own clock starts:
    // the probe's report for a file (zero until it reports), our playlist reader for a Blu-ray
    // title, the probe's report on the first video file of a DVD folder (none until it reports,
    // none for a DVD image). A file's streams: the probe's report, once it reported.
    MediumFacts Facts() const;
    // What the window calls the current source: a file's own title tag, else its name; a
    // disc's own name, else a DVD image's volume name, else its folder's or file's name.
    QString ShownName() const;

    const QVector<PLAY_LIST_INFO> &PlayList() const { return m_playList; }
    // A first file waits for its duration before it starts.
    bool WaitsForAFirstDuration() const { return !m_startWhenMeasured.isEmpty(); }
    // Durations are being measured; a disc or the engine's title list is being read.
    bool Measuring() const;
    bool ReadingDisc() const { return m_scan != nullptr || m_titleQuery != nullptr; }
    const QString &MainTitleKey() const { return m_mainTitleKey; }
    const DiscTitle *Title(const QString &key) const;
    // The track a title starts with: 0 none, k the k-th stream of its list.
    int AudioChoice(const QString &key) const;
    int SubtitleChoice(const QString &key) const;
    void ChooseMainTitleTracks(std::optional<int> audio, std::optional<int> subtitle);

    // Opening: files join the play list and the first plays once measured; a disc folder or
    // image is recognised and read. A play list file (.m3u, .m3u8) stands for its entries: those
    // that exist join the list, the others are told once, with lists that could not be read.
    void OpenFiles(const QStringList &paths);
    // What the user chose to open, from a dialog, a drop or the command line: the first path
    // decides. A folder or disc image first opens as a disc, and the files after it join the
    // play list without starting; otherwise the files open as above and folders are left out.
    void OpenSources(const QStringList &paths);
    // `joining`: entries that join the play list behind the disc's row once it is a disc.
    void OpenDisc(const QString &path, const QVector<PLAY_LIST_INFO> &joining = {});
    // A play list row or a step to a neighbour.
    void PlayEntry(const PLAY_LIST_INFO &entry);
    // The entry before or after the current source in the play list, if any.
    std::optional<PLAY_LIST_INFO> Neighbour(bool forward) const;
    // The current source was opened with others at once (several files, a drop, a list file),
    // and the entry after it was too: the batch plays on to its end.
    bool BatchGoesOnAfter(const QString &path) const;

    // The current Blu-ray title (the picked one, else the main title) from its start or at a
    // chapter's, to its end or an episode's.
    void PlayCurrentTitle(int startSec = 0, qint64 endMs = 0);
    // The main title, whose chapters the disc menu lists, from a chapter's start.
    void PlayMainTitle(int startSec);
    void PickTitle(const QString &titleKey);
    // The scanned disc's episode at this index: its own title, or its stretch of a longer one.
    void PickEpisode(int index);
    void PickDvdTitle(int title, qint64 lengthSec);
    // The Play control with nothing playing: the current source again, or an open is asked for.
    void Play();

    // What the engine could not play keeps a mark in the play list until it plays.
    void MarkUnplayable(const QString &path, bool unplayable);
    bool IsUnplayable(const QString &path) const { return m_unplayable.contains(path); }
    // A length the engine answered, for a source nothing else measured.
    bool LearnLength(int seconds);
    // Whatever starts now takes the place of a first file still waiting for its duration.
    void StopWaitingForAFirstDuration();
    // Ends all work in the background at once: the probes, a disc scan and the engine's title
    // list; what waited for them does not start.
    void EndBackgroundWork();
    // Editing the play list. What plays goes on when its row goes, and Previous and Next then
    // step from the place it had. Rows out of range are left alone.
    void RemoveRows(const QVector<int> &rows);
    // The row at from ends up at to.
    void MoveRow(int from, int to);
    void ClearPlayList();
    bool SavePlayList(const QString &listPath) const;

signals:
    // The engine is to start on Current().
    void StartWanted();
    // What plays is to stop: a disc is opened.
    void StopWanted();
    void OpenWanted();
    void RowsAdded(const QVector<PLAY_LIST_INFO> &entries);
    void RowMeasured(int row, const PLAY_LIST_INFO &entry);
    // Rows went or moved: the whole list is to be shown again.
    void RowsChanged();
    // Files and play lists named for opening that were not there or could not be read.
    void NotFound(const QStringList &paths);
    void DiscScanned(const ScannedDisc &disc);
    void NotRecognised(const QString &path);
    // A picked title the engine does not offer: it is not played as another one.
    void TitleNotOffered();
    void BusyChanged(bool busy);
    // The probe told about the current file, or the current DVD folder's clock, after it had
    // started.
    void FactsMeasured(const MediumFacts &facts);

private:
    // A new choice of what plays: a title still waiting for the engine's list does not start.
    void Choose(const Source &source);
    // Adds the entries to the list. The window is told at once or, with `afterStart`, once the
    // wait for the first file's probe ends: the rows of a long list then cost its start nothing.
    void AddToPlayList(const QVector<PLAY_LIST_INFO> &entries, bool afterStart = false);
    // Adds entries new to the list at once and measures the files among them behind what plays.
    void JoinPlayList(const QVector<PLAY_LIST_INFO> &fresh);
    // Lists the disc's row, if it is not listed yet, and the entries that wait to join after it.
    void ListDisc(const PLAY_LIST_INFO &disc);
    // Tells the window of the rows it has not been told of yet.
    void ShowPendingRows();
    // What waited for the first file's start: the window's new rows, the other probes.
    void CatchUpAfterStart();
    // The paths to open with each play list file replaced by the entries of it that exist.
    QVector<PLAY_LIST_INFO> EntriesToOpen(const QStringList &paths);
    void RowsEdited();
    // Reads a disc on a thread of its own with `read`: a Blu-ray folder's titles, or what an
    // image holds.
    void ReadDisc(const QString &path,
                  std::function<DiscContents(const std::atomic<bool> *cancelled)> read);
    void ShowDisc(const DiscContents &contents, const QVector<Episode> &episodes,
                  const QString &path);
    void ShowScan(const DiscScan &scan, const QVector<Episode> &episodes,
                  const QString &discFolder);
    void EndScan();
    void AskEngineForTitles();
    void TakeEngineTitles(bool completed, const QByteArray &output);
    void PlayDvd(const QString &path);
    void PlayOnceMeasured(const QString &path);
    void PlayWhatWaitedForItsDuration();
    // Measures these paths, then the rows still unmeasured; with `firstAlone`, the first path
    // with no probe beside it.
    void MeasureAhead(const QStringList &first, bool firstAlone);
    void OnMeasured(const QString &path, const ProbeFindings &findings);
    // The path's row, if it has no duration yet, gets this one.
    void ShowRowDuration(const QString &path, const QString &durationText);
    // Something runs in the background: probes, a disc scan or the engine's title list.
    bool Busy() const;
    void RenderBusy();

    Source m_source;

    // The scanned Blu-ray disc
    QString m_discFolder;
    std::map<QString, DiscTitle> m_titles;
    QString m_mainTitleKey;
    QString m_discName;
    QVector<Episode> m_episodes;
    // DVD images by path to their volume names.
    QHash<QString, QString> m_imageNames;
    std::map<QString, int> m_audioChoice;
    std::map<QString, int> m_subtitleChoice;
    std::map<QString, int> m_engineTitleNumbers;
    bool m_engineTitleListAsked = false;
    bool m_engineTitleListAnswered = false;
    // The engine's title list is asked for in the background; the picked title starts once it
    // came, unless something else was chosen meanwhile.
    BackgroundRun *m_titleQuery = nullptr;
    bool m_startWhenTitlesKnown = false;
    // The disc scan runs on a thread of its own; a newer one or an end of background work
    // cancels it, and only the current one is shown.
    QThread *m_scan = nullptr;
    std::shared_ptr<std::atomic<bool>> m_scanCancelled;
    // Opened behind the disc that is being read: they join the play list once it is a disc.
    QVector<PLAY_LIST_INFO> m_joiningAfterDisc;

    // The play list and its durations
    QVector<PLAY_LIST_INFO> m_playList;
    QHash<QString, int> m_playListRows;
    // Where the row of what plays was before it was removed: the rows from here on came after it.
    std::optional<int> m_removedPlayingRow;
    QHash<QString, qint64> m_fileStartsMs;
    QHash<QString, MediumStreams> m_fileStreams;
    QHash<QString, QString> m_fileTitles;
    QSet<QString> m_unplayable;
    // The entries of the last open, when it opened several.
    QSet<QString> m_batch;
    DurationProbeQueue *m_probes = nullptr;
    QSet<QString> m_unmeasured;
    // The rows the window has been told of: the first ones of the list.
    int m_rowsShown = 0;
    QString m_startWhenMeasured;
    QTimer *m_firstProbeWait = nullptr;
};
