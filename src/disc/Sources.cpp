#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "dialogs/PlayListModel.h"
#include "disc/DurationProbe.h"
#include "disc/SourceClassification.h"
#include "platform/AppDataFolder.h"
#include "platform/ExternalPrograms.h"
#include "util/TimeText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSet>
#include <QTableWidget>
#include <QTimer>

namespace {

const QString kOpenFileFilter = QStringLiteral(
    "*.rmvb *.rm *.mpeg *.mov *.avi *.wmv *.asf *.mp4 *.flv *.fla *.swf *.m4v *.3gp *.dv *.3g2 "
    "*.m4b *.mkv *.mts *.divx *.ogm *.moi *.vob *.ajp *.f4v *.mqv *.svi *.vid *.tod *.hdmov *.mod "
    "*.mxf *.m2ts *.lrv ;;All File(*.*)");

// How often handed-over paths look again whether the window is free to open them.
constexpr int kHandOverRetryMs = 250;
// How many of the paths that do not exist the message names.
constexpr int kMissingPathsShown = 3;

} // namespace

QString DRUI::ChooserStartFolder(const QString &remembered) const
{
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) {
        return remembered;
    }
    // The current folder, unless a disc's playback left it inside the disc.
    const QString current = QDir::currentPath();
    return current.contains(QStringLiteral("/BDMV")) ? QDir::homePath() : current;
}

void DRUI::btnOpenFile()
{
    const QStringList chosen = QFileDialog::getOpenFileNames(
        this, QString(), ChooserStartFolder(m_settings.fileFolder), kOpenFileFilter);
    if (!chosen.isEmpty()) {
        m_settings.fileFolder = QFileInfo(chosen.first()).absolutePath();
    }
    OpenFiles(chosen);
}

void DRUI::btnLoadBDPath()
{
    // The disc chooser shows the last disc folder among its neighbours.
    const QString remembered =
        m_settings.discFolder.isEmpty() ? QString() : QFileInfo(m_settings.discFolder).path();
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QString(), ChooserStartFolder(remembered), QFileDialog::ShowDirsOnly);
    if (!chosen.isEmpty()) {
        m_settings.discFolder = chosen;
    }
    OpenDiscFolder(chosen);
}

void DRUI::OpenDiscFolder(const QString &path)
{
    if (path.isNull()) {
        return;
    }
    // The disc plays at once; the list's rows go on being measured.
    StopWaitingForAFirstDuration();
    StopBtn();
    switch (ClassifyDiscFolder(path)) {
    case DiscFolderKind::BluRay: LoadBluRayTitles(path); break;
    case DiscFolderKind::Dvd: PlayDvdFolder(path); break;
    case DiscFolderKind::NotRecognised: ShowNotRecognisedMessage(); break;
    }
}

void DRUI::ShowNotRecognisedMessage()
{
    ShowMessageBox(this, GetText("Messages/MSG0102"));
}

void DRUI::PlayDvdFolder(const QString &path)
{
    const bool listed = PlayListModel::Find(m_playList, path).has_value();
    PLAY_LIST_INFO entry;
    entry.nType = kSourceDvd;
    entry.strPath = path;
    m_currentPath.clear();
    m_pathToPlay = path;
    m_durationSec = 0;
    m_sourceKey.clear();
    // A start position left by a chapter pick belongs to that title, not to this disc.
    m_startPosSec = 0;
    if (!listed) {
        AddToPlayList({entry});
    }
    m_sourceKind = kSourceDvd;
    m_dvdTitle = 0;
    VideoPlay();
}

void DRUI::PlayDvdTitle(int title)
{
    // The length comes from the list of the engine now playing, before the next one replaces it.
    const auto length = m_engine->DvdTitleLengths().find(title);
    m_durationSec = length != m_engine->DvdTitleLengths().end() ? length->second / 1000 : 0;
    m_dvdTitle = title;
    m_startPosSec = 0;
    m_currentPath.clear();
    VideoPlay();
}

void DRUI::BuildDvdMenus()
{
    m_titleMenu->clear();
    for (const auto &[title, lengthMs] : m_engine->DvdTitleLengths()) {
        m_titleMenu->addAction(QStringLiteral("%1. %2").arg(title).arg(FormatTime(lengthMs / 1000)))
            ->setData(title);
    }
    m_chapterMenu->clear();
    int number = 1;
    for (const qint64 startMs : m_engine->ChapterStarts()) {
        m_chapterMenu
            ->addAction(QStringLiteral("%1. %2").arg(number++).arg(FormatTime(startMs / 1000)))
            ->setData(startMs);
    }
}

void DRUI::OpenFiles(const QStringList &paths)
{
    if (paths.isEmpty()) {
        return;
    }
    QVector<PLAY_LIST_INFO> entries;
    entries.reserve(paths.size());
    for (const QString &path : paths) {
        PLAY_LIST_INFO entry;
        entry.nType = kSourceFile;
        entry.strPath = path;
        entries.append(entry);
    }
    // Decided against the list as it was before this call.
    const QVector<PLAY_LIST_INFO> fresh = PlayListModel::NotYetListed(m_playList, entries);
    AddToPlayList(fresh);
    m_pathToPlay = paths.first();
    m_durationSec = 0;
    m_sourceKind = kSourceFile;
    m_sourceKey.clear();
    m_startPosSec = 0;
    // The file that plays is measured first; the new rows follow in their order.
    QStringList toMeasure{paths.first()};
    for (const PLAY_LIST_INFO &entry : fresh) {
        if (entry.strPath != paths.first()) {
            toMeasure.append(entry.strPath);
        }
    }
    MeasureAhead(toMeasure);
    PlayOnceMeasured(paths.first());
}

void DRUI::PlayOnceMeasured(const QString &path)
{
    m_startWhenMeasured = path;
    m_firstProbeWait->start();
}

void DRUI::MeasureAhead(const QStringList &first)
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
    m_probes->Measure(toMeasure);
    RenderProbesAtWork();
}

void DRUI::ShowMeasuredDuration(const QString &path, const QString &durationText)
{
    m_unmeasured.remove(path);
    const auto row = m_playListRows.constFind(path);
    if (row != m_playListRows.constEnd() && m_playList[*row].strDuration.isEmpty()) {
        m_playList[*row].strDuration = durationText;
        if (QTableWidgetItem *name = m_playListTable->item(*row, 0)) {
            name->setData(Qt::UserRole, QVariant::fromValue(m_playList[*row]));
        }
        if (QTableWidgetItem *duration = m_playListTable->item(*row, 1)) {
            duration->setText(durationText);
        }
    }
    if (!m_startWhenMeasured.isEmpty() && path == m_startWhenMeasured) {
        m_durationSec = ParseTime(durationText.toLatin1().constData());
        PlayWhatWaitedForItsDuration();
    }
}

void DRUI::PlayWhatWaitedForItsDuration()
{
    const QString awaited = m_startWhenMeasured;
    StopWaitingForAFirstDuration();
    // Anything started meanwhile has taken its place.
    if (!awaited.isEmpty() && awaited == m_pathToPlay) {
        VideoPlay();
    }
}

void DRUI::StopWaitingForAFirstDuration()
{
    m_firstProbeWait->stop();
    m_startWhenMeasured.clear();
}

void DRUI::EndProbes()
{
    m_probes->Cancel();
    StopWaitingForAFirstDuration();
    RenderProbesAtWork();
}

void DRUI::RenderProbesAtWork()
{
    if (m_probes->IsIdle()) {
        unsetCursor();
    } else {
        setCursor(Qt::BusyCursor);
    }
}

void DRUI::OpenFromDesktop(const QStringList &paths)
{
    if (m_waitingForHelperProgram || QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(kHandOverRetryMs, this, [this, paths] { OpenFromDesktop(paths); });
        return;
    }
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    QStringList files;
    QString discFolder;
    QStringList missing;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.exists()) {
            missing.append(path);
        } else if (!info.isDir()) {
            files.append(path);
        } else if (discFolder.isEmpty()) {
            discFolder = path;
        }
    }
    if (!files.isEmpty()) {
        OpenFiles(files);
    } else if (!discFolder.isEmpty()) {
        OpenDiscFolder(discFolder);
    }
    if (!missing.isEmpty()) {
        QStringList named = missing.mid(0, kMissingPathsShown);
        if (missing.size() > kMissingPathsShown) {
            named.append(QStringLiteral("…"));
        }
        ShowMessageBox(this, GetText("Messages/MSG0506") + QLatin1Char('\n') +
                                 named.join(QLatin1Char('\n')));
    }
}

void DRUI::InstallProbeTool()
{
    const QString target = AppDataFolder() + QStringLiteral("tool");
    // An existing copy is never replaced; an installed player has none to copy.
    if (QFile::exists(target) || !QFile::exists(ProbeSource())) {
        return;
    }
    QFile::copy(ProbeSource(), target);
}
