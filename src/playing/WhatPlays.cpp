#include "playing/WhatPlays.h"

#include "disc/DiscImage.h"

#include "disc/DurationProbe.h"
#include "disc/EngineTitleMap.h"
#include "disc/SourceClassification.h"
#include "disc/TitleScan.h"
#include "platform/AppDataFolder.h"
#include "platform/BackgroundRun.h"
#include "platform/EnginePath.h"
#include "platform/ExternalPrograms.h"
#include "playing/PlayListModel.h"
#include "util/TimeText.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// A first file whose probe takes longer starts without its length; the engine tells it later.
constexpr int kFirstProbeWaitMs = 1000;

qint64 DurationOf(const QString &clockText)
{
    return ParseTime(clockText.toLatin1().constData());
}

// The file the probe reads for a DVD folder's clock: the first part of title set 1, where the
// engine's first title usually lies. Which set holds a title picked from the engine's list is
// not read from the disc, so that title is measured by set 1 too.
QString FirstVobOf(const QString &dvdFolder)
{
    return dvdFolder + QStringLiteral("/VIDEO_TS/VTS_01_1.VOB");
}

} // namespace

WhatPlays::WhatPlays(int probeTimeLimitMs, QObject *parent) : QObject(parent)
{
    m_probes = new DurationProbeQueue(QThread::idealThreadCount(), probeTimeLimitMs, this);
    connect(m_probes, &DurationProbeQueue::Measured, this, &WhatPlays::OnMeasured);
    connect(m_probes, &DurationProbeQueue::Idle, this, &WhatPlays::RenderBusy);
    m_firstProbeWait = new QTimer(this);
    m_firstProbeWait->setSingleShot(true);
    m_firstProbeWait->setInterval(kFirstProbeWaitMs);
    connect(m_firstProbeWait, &QTimer::timeout, this, &WhatPlays::PlayWhatWaitedForItsDuration);
}

WhatPlays::~WhatPlays()
{
    m_probes->Cancel();
    EndScan();
    // A cancelled scan ends after the read it is in, on its own shared state: nobody waits for
    // it, and it goes once it has ended.
    for (QThread *scan : findChildren<QThread *>()) {
        scan->setParent(nullptr);
        connect(scan, &QThread::finished, scan, &QObject::deleteLater);
    }
}

std::optional<int> WhatPlays::EngineTitleNumber() const
{
    if (m_source.kind != kSourceBluRay || !m_source.titleChosen) {
        return std::nullopt;
    }
    // The engine's own number when it gave one; the scan's count only when it gave no list.
    const auto engine = m_engineTitleNumbers.find(m_source.titleKey);
    if (engine != m_engineTitleNumbers.end()) {
        return engine->second;
    }
    const DiscTitle *title = Title(m_source.titleKey);
    if (m_engineTitleListAnswered || title == nullptr) {
        return std::nullopt;
    }
    return title->scanNumber;
}

MediumFacts WhatPlays::Facts() const
{
    MediumFacts facts;
    if (m_source.kind == kSourceBluRay) {
        const DiscTitle *title = Title(m_source.titleKey);
        if (title != nullptr && !title->playItems.isEmpty()) {
            facts.startTimeMs = title->playItems.first().inMs;
        }
    } else if (m_source.kind == kSourceDvd) {
        const auto start = m_fileStartsMs.constFind(FirstVobOf(m_source.path));
        if (start != m_fileStartsMs.constEnd()) {
            facts.startTimeMs = *start;
        }
    } else if (m_source.kind == kSourceFile) {
        // Zero until the probe tells: the engine's own figure would echo a tag of the file.
        facts.startTimeMs = m_fileStartsMs.value(m_source.path, 0);
        const auto streams = m_fileStreams.constFind(m_source.path);
        if (streams != m_fileStreams.constEnd()) {
            facts.streams = *streams;
        }
    }
    return facts;
}

QString WhatPlays::ShownName() const
{
    if (m_source.kind == kSourceFile) {
        const QString title = m_fileTitles.value(m_source.path);
        return title.isEmpty() ? QFileInfo(m_source.path).fileName() : title;
    }
    if (m_source.kind == kSourceBluRay && !m_discName.isEmpty()) {
        return m_discName;
    }
    if (const auto image = m_imageNames.constFind(m_source.path); image != m_imageNames.cend()) {
        return *image;
    }
    return QFileInfo(QDir::cleanPath(m_source.path)).fileName();
}

const DiscTitle *WhatPlays::Title(const QString &key) const
{
    const auto found = m_titles.find(key);
    return found != m_titles.end() ? &found->second : nullptr;
}

int WhatPlays::AudioChoice(const QString &key) const
{
    const auto found = m_audioChoice.find(key);
    return found != m_audioChoice.end() ? found->second : 0;
}

int WhatPlays::SubtitleChoice(const QString &key) const
{
    const auto found = m_subtitleChoice.find(key);
    return found != m_subtitleChoice.end() ? found->second : 0;
}

void WhatPlays::ChooseMainTitleTracks(std::optional<int> audio, std::optional<int> subtitle)
{
    if (audio) {
        m_audioChoice[m_mainTitleKey] = *audio;
    }
    if (subtitle) {
        m_subtitleChoice[m_mainTitleKey] = *subtitle;
    }
}

bool WhatPlays::Measuring() const
{
    return !m_probes->IsIdle();
}

bool WhatPlays::Busy() const
{
    return Measuring() || ReadingDisc();
}

void WhatPlays::Choose(const Source &source)
{
    // A disc still being read would take the place of what was chosen since.
    EndScan();
    if (source.path != m_source.path) {
        m_removedPlayingRow.reset();
    }
    m_source = source;
    m_startWhenTitlesKnown = false;
}

void WhatPlays::OpenFiles(const QStringList &paths)
{
    const QVector<PLAY_LIST_INFO> entries = EntriesToOpen(paths);
    if (entries.isEmpty()) {
        return;
    }
    // A list file's entries become the play list, in the list's own order.
    if (std::any_of(paths.begin(), paths.end(), M3uList::IsListFile)) {
        ClearPlayList();
    }
    // Files opened together play on to the end of the batch; one alone ends by itself.
    m_batch.clear();
    if (entries.size() > 1) {
        for (const PLAY_LIST_INFO &entry : entries) {
            m_batch.insert(entry.strPath);
        }
    }
    // Decided against the list as it was before this call.
    const QVector<PLAY_LIST_INFO> fresh = PlayListModel::NotYetListed(m_playList, entries);
    const PLAY_LIST_INFO &first = entries.first();
    // The file that plays is measured first; the new rows follow in their order.
    QStringList toMeasure;
    if (first.nType == kSourceFile) {
        toMeasure.append(first.strPath);
    }
    for (const PLAY_LIST_INFO &entry : fresh) {
        if (entry.nType == kSourceFile && entry.strPath != first.strPath) {
            toMeasure.append(entry.strPath);
        }
    }
    if (first.nType != kSourceFile) {
        // A play list can start with a disc.
        JoinPlayList(fresh);
        OpenDisc(first.strPath);
        return;
    }
    // The first file is measured alone and the window gets the new rows once it has started:
    // nothing that grows with a long list stands before the engine's start.
    MeasureAhead(toMeasure, true);
    AddToPlayList(fresh, true);
    Source chosen;
    chosen.kind = kSourceFile;
    chosen.path = first.strPath;
    Choose(chosen);
    PlayOnceMeasured(first.strPath);
}

void WhatPlays::OpenSources(const QStringList &paths)
{
    if (paths.isEmpty()) {
        return;
    }
    // A folder or a disc image opens as a disc rather than as a video file.
    const auto isDisc = [](const QString &path) {
        return QFileInfo(path).isDir() || IsDiscImageName(path);
    };
    QStringList files;
    for (const QString &path : paths) {
        if (!isDisc(path)) {
            files.append(path);
        }
    }
    if (!isDisc(paths.first())) {
        OpenFiles(files);
        return;
    }
    OpenDisc(paths.first(), EntriesToOpen(files));
}

void WhatPlays::ListDisc(const PLAY_LIST_INFO &disc)
{
    if (!PlayListModel::Find(m_playList, disc.strPath)) {
        AddToPlayList({disc});
    }
    const QVector<PLAY_LIST_INFO> joining = std::exchange(m_joiningAfterDisc, {});
    JoinPlayList(PlayListModel::NotYetListed(m_playList, joining));
}

void WhatPlays::JoinPlayList(const QVector<PLAY_LIST_INFO> &fresh)
{
    AddToPlayList(fresh);
    QStringList toMeasure;
    for (const PLAY_LIST_INFO &entry : fresh) {
        if (entry.nType == kSourceFile) {
            toMeasure.append(entry.strPath);
        }
    }
    if (!toMeasure.isEmpty()) {
        MeasureAhead(toMeasure, false);
    }
}

void WhatPlays::OpenDisc(const QString &path, const QVector<PLAY_LIST_INFO> &joining)
{
    // Whatever plays stops before the disc is even tested; the disc plays at once, and the
    // list's rows go on being measured.
    emit StopWanted();
    m_batch.clear();
    StopWaitingForAFirstDuration();
    EndScan();
    m_joiningAfterDisc = joining;
    if (QFileInfo(path).isFile()) {
        // Even telling what an image holds reads it: off the window's thread too.
        ReadDisc(path, [path](const std::atomic<bool> *cancelled) {
            return ScanDiscImage(path, cancelled);
        });
        return;
    }
    const QString root = DiscRootOf(path);
    switch (ClassifyDiscFolder(root)) {
    case DiscFolderKind::BluRay:
        ReadDisc(root, [root](const std::atomic<bool> *cancelled) {
            return DiscContents{DiscFolderKind::BluRay, ScanBluRayFolder(root, cancelled), {}};
        });
        break;
    case DiscFolderKind::Dvd: PlayDvd(root); break;
    case DiscFolderKind::NotRecognised:
        m_joiningAfterDisc.clear();
        emit NotRecognised(root);
        break;
    }
}

void WhatPlays::PlayEntry(const PLAY_LIST_INFO &entry)
{
    if (entry.nType == kSourceDvd || entry.nType == kSourceBluRay) {
        OpenDisc(entry.strPath);
        return;
    }
    Source chosen;
    chosen.kind = kSourceFile;
    chosen.path = entry.strPath;
    chosen.durationSec = DurationOf(entry.strDuration);
    Choose(chosen);
    if (!entry.strDuration.isEmpty()) {
        emit StartWanted();
        return;
    }
    // The rest of the list goes on being measured behind it.
    m_unmeasured.insert(entry.strPath);
    m_probes->MeasureFirst(entry.strPath);
    RenderBusy();
    PlayOnceMeasured(entry.strPath);
}

bool WhatPlays::BatchGoesOnAfter(const QString &path) const
{
    const std::optional<PLAY_LIST_INFO> next = Neighbour(true);
    return path == m_source.path && m_batch.contains(path) && next &&
           m_batch.contains(next->strPath);
}

std::optional<PLAY_LIST_INFO> WhatPlays::Neighbour(bool forward) const
{
    std::optional<int> target;
    if (m_removedPlayingRow && !m_playListRows.contains(m_source.path)) {
        const int row = forward ? *m_removedPlayingRow : *m_removedPlayingRow - 1;
        if (row >= 0 && row < m_playList.size()) {
            target = row;
        }
    } else {
        target = PlayListModel::Neighbour(m_playList, m_source.path,
                                          forward ? PlayListModel::Step::Next
                                                  : PlayListModel::Step::Previous);
    }
    return target ? std::optional<PLAY_LIST_INFO>(m_playList[*target]) : std::nullopt;
}

void WhatPlays::ReadDisc(const QString &path,
                         std::function<DiscContents(const std::atomic<bool> *cancelled)> read)
{
    // What plays and the last disc stay until this one turns out to be a disc with something
    // to play; a title of the last one that waited for the engine's list no longer starts.
    if (m_titleQuery != nullptr) {
        delete std::exchange(m_titleQuery, nullptr);
        m_engineTitleListAsked = false;
    }
    m_startWhenTitlesKnown = false;
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    auto contents = std::make_shared<DiscContents>();
    auto episodes = std::make_shared<QVector<Episode>>();
    QThread *thread = QThread::create([read = std::move(read), cancelled, contents, episodes] {
        *contents = read(cancelled.get());
        // Matching every title's play items against the episodes is no work for the window's
        // thread either.
        if (contents->kind == DiscFolderKind::BluRay && !cancelled->load()) {
            *episodes = FindEpisodes(contents->scan);
        }
    });
    thread->setParent(this);
    connect(thread, &QThread::finished, this, [this, thread, contents, episodes, path] {
        thread->deleteLater();
        if (thread != m_scan) {
            return;
        }
        m_scan = nullptr;
        m_scanCancelled.reset();
        ShowDisc(*contents, *episodes, path);
        RenderBusy();
    });
    m_scan = thread;
    m_scanCancelled = cancelled;
    thread->start();
    RenderBusy();
}

void WhatPlays::EndScan()
{
    if (m_scan == nullptr) {
        return;
    }
    m_scanCancelled->store(true);
    m_scan = nullptr;
    m_joiningAfterDisc.clear();
    m_scanCancelled.reset();
    RenderBusy();
}

void WhatPlays::ShowDisc(const DiscContents &contents, const QVector<Episode> &episodes,
                         const QString &path)
{
    switch (contents.kind) {
    case DiscFolderKind::BluRay:
        // A disc without a title is refused as any other folder that is no disc.
        if (contents.scan.titles.isEmpty()) {
            m_joiningAfterDisc.clear();
            emit NotRecognised(path);
        } else {
            ShowScan(contents.scan, episodes, path);
        }
        break;
    case DiscFolderKind::Dvd:
        // An image carries the name it was written under, as a folder has its own.
        if (!contents.volumeName.isEmpty()) {
            m_imageNames.insert(path, contents.volumeName);
        }
        PlayDvd(path);
        break;
    case DiscFolderKind::NotRecognised:
        m_joiningAfterDisc.clear();
        emit NotRecognised(path);
        break;
    }
}

void WhatPlays::ShowScan(const DiscScan &scan, const QVector<Episode> &episodes,
                         const QString &discFolder)
{
    m_discFolder = discFolder;
    m_titles.clear();
    m_audioChoice.clear();
    m_subtitleChoice.clear();
    m_engineTitleNumbers.clear();
    m_engineTitleListAsked = false;
    m_engineTitleListAnswered = false;
    ScannedDisc shown;
    shown.name = QString::fromLocal8Bit(scan.metadata.name);
    m_discName = shown.name;
    shown.thumbnail = scan.thumbnail;
    m_episodes = episodes;
    shown.episodes = episodes;
    for (const ScannedTitle &scanned : scan.titles) {
        DiscTitle &title = m_titles[scanned.key];
        title.scanNumber = scanned.number;
        title.durationText = scanned.durationText;
        title.playItems = scanned.contents.playItems;
        title.copyKeys = scanned.copyKeys;
        title.audio = scanned.contents.audio;
        title.subtitles = scanned.contents.subtitles;
        title.chapterStartsMs = scanned.contents.chapters;
        m_audioChoice[scanned.key] = title.audio.isEmpty() ? 0 : 1;
        m_subtitleChoice[scanned.key] = 0;
        PLAY_LIST_INFO entry;
        entry.strPath = scanned.key;
        entry.strDuration = scanned.durationText;
        shown.titles.append(entry);
    }
    // A new load forgets a title picked on the last one: Play starts the main title.
    m_mainTitleKey = shown.titles.isEmpty() ? QString() : shown.titles.first().strPath;
    Source chosen;
    chosen.kind = kSourceBluRay;
    chosen.path = discFolder;
    chosen.titleKey = m_mainTitleKey;
    // Whatever started while the disc was read gives way to its page.
    emit StopWanted();
    Choose(chosen);
    if (!m_joiningAfterDisc.isEmpty()) {
        PLAY_LIST_INFO row;
        row.nType = kSourceBluRay;
        row.strPath = discFolder;
        row.strDuration = shown.titles.first().strDuration;
        ListDisc(row);
    }
    emit DiscScanned(shown);
}

void WhatPlays::PlayDvd(const QString &path)
{
    PLAY_LIST_INFO entry;
    entry.nType = kSourceDvd;
    entry.strPath = path;
    ListDisc(entry);
    Source chosen;
    chosen.kind = kSourceDvd;
    chosen.path = path;
    Choose(chosen);
    // A folder's clock is measured again each time, beside the start: the engine's own figure
    // would echo the disc's volume name. An image cannot be probed by a path: its clock counts
    // from zero.
    if (QFileInfo(path).isDir()) {
        const QString vob = FirstVobOf(path);
        m_fileStartsMs.remove(vob);
        m_probes->MeasureFirst(vob);
        RenderBusy();
    }
    emit StartWanted();
}

void WhatPlays::PickDvdTitle(int title, qint64 lengthSec)
{
    Source chosen = m_source;
    chosen.dvdTitle = title;
    chosen.durationSec = lengthSec;
    chosen.startSec = 0;
    Choose(chosen);
    emit StartWanted();
}

void WhatPlays::PickTitle(const QString &titleKey)
{
    if (Title(titleKey) == nullptr) {
        return;
    }
    // A title of the scanned disc, also when a file has played since.
    Source chosen;
    chosen.kind = kSourceBluRay;
    chosen.path = m_discFolder;
    chosen.titleKey = titleKey;
    chosen.titleChosen = true;
    Choose(chosen);
    PlayCurrentTitle();
}

void WhatPlays::PickEpisode(int index)
{
    if (index < 0 || index >= m_episodes.size()) {
        return;
    }
    const Episode &episode = m_episodes[index];
    const DiscTitle *title = Title(episode.titleKey);
    if (title == nullptr || title->playItems.isEmpty()) {
        return;
    }
    Source chosen;
    chosen.kind = kSourceBluRay;
    chosen.path = m_discFolder;
    chosen.titleKey = episode.titleKey;
    chosen.titleChosen = true;
    Choose(chosen);
    // An episode that ends before its title does is ended there by the owner of playback; one
    // that is a title of its own, or the last of a Play All, ends with the title.
    const PlayItemRecord &last = title->playItems.last();
    const qint64 endMs = episode.startMs + episode.lengthMs;
    PlayCurrentTitle(WholeSeconds(episode.startMs),
                     endMs < last.startMs + last.durationMs ? endMs : 0);
}

void WhatPlays::PlayCurrentTitle(int startSec, qint64 endMs)
{
    if (m_source.kind != kSourceBluRay) {
        return;
    }
    // Unless a title was picked, the engine plays its main title: that title's figures go with it.
    if (!m_source.titleChosen) {
        m_source.titleKey = m_mainTitleKey;
    }
    const DiscTitle *title = Title(m_source.titleKey);
    if (title == nullptr) {
        return;
    }
    m_source.durationSec = DurationOf(title->durationText);
    m_source.startSec = startSec;
    m_source.endMs = endMs;
    if (!PlayListModel::Find(m_playList, m_discFolder)) {
        PLAY_LIST_INFO entry;
        entry.nType = kSourceBluRay;
        entry.strPath = m_discFolder;
        entry.strDuration = title->durationText;
        AddToPlayList({entry});
    }
    m_startWhenTitlesKnown = false;
    if (m_source.titleChosen) {
        // The engine numbers titles its own way: it is asked once per disc, in the background.
        if (!m_engineTitleListAsked) {
            AskEngineForTitles();
        }
        if (m_titleQuery != nullptr) {
            m_startWhenTitlesKnown = true;
            return;
        }
        // Never a guess: a title the engine cannot name is not played as another one.
        if (!EngineTitleNumber()) {
            emit TitleNotOffered();
            return;
        }
    }
    emit StartWanted();
}

void WhatPlays::PlayMainTitle(int startSec)
{
    m_source.titleChosen = false;
    PlayCurrentTitle(startSec);
}

void WhatPlays::Play()
{
    if (m_source.path.isEmpty()) {
        emit OpenWanted();
    } else if (m_source.kind == kSourceBluRay) {
        PlayCurrentTitle();
    } else if (m_source.kind == kSourceDvd) {
        PlayDvd(m_source.path);
    } else {
        OpenFiles({m_source.path});
    }
}

void WhatPlays::MarkUnplayable(const QString &path, bool unplayable)
{
    if (unplayable) {
        m_unplayable.insert(path);
    } else {
        m_unplayable.remove(path);
    }
}

bool WhatPlays::LearnLength(int seconds)
{
    if (m_source.durationSec != 0 || seconds <= 0) {
        return false;
    }
    m_source.durationSec = seconds;
    // A DVD's row has its length from nowhere else.
    if (m_source.kind == kSourceDvd) {
        ShowRowDuration(m_source.path, FormatTime(seconds));
    }
    return true;
}

void WhatPlays::AskEngineForTitles()
{
    m_engineTitleListAsked = true;
    m_titleQuery = new BackgroundRun(
        EngineProgram(), EngineTitleListArguments(EnginePathFor(m_discFolder, AppDataFolder())),
        kEngineTitleListTimeLimitMs, this);
    connect(m_titleQuery, &BackgroundRun::Finished, this, &WhatPlays::TakeEngineTitles);
    RenderBusy();
}

void WhatPlays::TakeEngineTitles(bool completed, const QByteArray &output)
{
    std::exchange(m_titleQuery, nullptr)->deleteLater();
    const std::map<QString, int> engineTitles =
        completed ? ParseEngineTitleList(output) : std::map<QString, int>();
    m_engineTitleListAnswered = !engineTitles.empty();
    std::map<QString, QVector<PlayItemRecord>> playItems;
    // Whichever copy of a title the engine lists, the title plays under its number.
    for (const auto &[key, title] : m_titles) {
        playItems[PlaylistNumber(key)] = title.playItems;
        for (const QString &copy : title.copyKeys) {
            playItems[PlaylistNumber(copy)] = title.playItems;
        }
    }
    for (const auto &[key, title] : m_titles) {
        if (const std::optional<int> number =
                EngineTitleFor(PlaylistNumber(key), engineTitles, playItems)) {
            m_engineTitleNumbers[key] = *number;
        }
    }
    RenderBusy();
    if (std::exchange(m_startWhenTitlesKnown, false)) {
        PlayCurrentTitle(m_source.startSec, m_source.endMs);
    }
}

void WhatPlays::AddToPlayList(const QVector<PLAY_LIST_INFO> &entries, bool afterStart)
{
    for (const PLAY_LIST_INFO &entry : entries) {
        if (!m_playListRows.contains(entry.strPath)) {
            m_playListRows.insert(entry.strPath, m_playList.size());
        }
        m_playList.append(entry);
    }
    if (!afterStart) {
        ShowPendingRows();
    }
}

void WhatPlays::ShowPendingRows()
{
    if (m_rowsShown < m_playList.size()) {
        // As they are now: a row measured meanwhile comes with its duration.
        const QVector<PLAY_LIST_INFO> pending = m_playList.mid(m_rowsShown);
        m_rowsShown = int(m_playList.size());
        emit RowsAdded(pending);
    }
}

void WhatPlays::ClearPlayList()
{
    m_playList.clear();
    m_batch.clear();
    m_unmeasured.clear();
    m_fileStartsMs.clear();
    m_fileStreams.clear();
    m_fileTitles.clear();
    RowsEdited();
}

void WhatPlays::PlayOnceMeasured(const QString &path)
{
    m_startWhenMeasured = path;
    m_firstProbeWait->start();
}

void WhatPlays::PlayWhatWaitedForItsDuration()
{
    const QString awaited = m_startWhenMeasured;
    StopWaitingForAFirstDuration();
    // Anything started meanwhile has taken its place.
    if (!awaited.isEmpty() && awaited == m_source.path && m_source.kind == kSourceFile) {
        emit StartWanted();
    }
}

void WhatPlays::StopWaitingForAFirstDuration()
{
    m_firstProbeWait->stop();
    m_startWhenMeasured.clear();
    // Once what was waited for has started: queued behind the start.
    QMetaObject::invokeMethod(this, &WhatPlays::CatchUpAfterStart, Qt::QueuedConnection);
}

void WhatPlays::CatchUpAfterStart()
{
    m_probes->RunAlongside();
    ShowPendingRows();
}

void WhatPlays::MeasureAhead(const QStringList &first, bool firstAlone)
{
    m_probes->Cancel();
    QStringList toMeasure = first;
    // Rows an earlier open had not measured yet go on being measured behind these.
    const QSet<QString> ahead(first.begin(), first.end());
    for (const PLAY_LIST_INFO &entry : m_playList) {
        if (m_unmeasured.contains(entry.strPath) && !ahead.contains(entry.strPath)) {
            toMeasure.append(entry.strPath);
        }
    }
    m_unmeasured.unite(ahead);
    m_probes->Measure(toMeasure, firstAlone);
    RenderBusy();
}

void WhatPlays::ShowRowDuration(const QString &path, const QString &durationText)
{
    const auto row = m_playListRows.constFind(path);
    if (row != m_playListRows.constEnd() && m_playList[*row].strDuration.isEmpty()) {
        m_playList[*row].strDuration = durationText;
        // A row the window has not been given yet comes to it with its duration.
        if (*row < m_rowsShown) {
            emit RowMeasured(*row, m_playList[*row]);
        }
    }
}

void WhatPlays::OnMeasured(const QString &path, const ProbeFindings &findings)
{
    const QString &durationText = findings.durationText;
    m_unmeasured.remove(path);
    if (findings.startMs && *findings.startMs >= 0) {
        m_fileStartsMs.insert(path, *findings.startMs);
    }
    if (findings.streams) {
        m_fileStreams.insert(path, *findings.streams);
    }
    if (!findings.title.isEmpty()) {
        m_fileTitles.insert(path, findings.title);
    }
    ShowRowDuration(path, durationText);
    if (!m_startWhenMeasured.isEmpty() && path == m_startWhenMeasured) {
        m_source.durationSec = DurationOf(durationText);
        PlayWhatWaitedForItsDuration();
    } else if (m_source.kind == kSourceFile && path == m_source.path) {
        MediumFacts facts;
        if (findings.startMs && *findings.startMs >= 0) {
            facts.startTimeMs = *findings.startMs;
        }
        facts.streams = findings.streams;
        emit FactsMeasured(facts);
    } else if (m_source.kind == kSourceDvd && path == FirstVobOf(m_source.path)) {
        emit FactsMeasured(Facts());
    }
}

void WhatPlays::EndBackgroundWork()
{
    m_probes->Cancel();
    StopWaitingForAFirstDuration();
    EndScan();
    if (m_titleQuery != nullptr) {
        // Asked again at the next pick.
        delete std::exchange(m_titleQuery, nullptr);
        m_engineTitleListAsked = false;
    }
    m_startWhenTitlesKnown = false;
    RenderBusy();
}

void WhatPlays::RenderBusy()
{
    emit BusyChanged(Busy());
}
