#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/MessageBox.h"
#include "dialogs/PlayListModel.h"
#include "disc/DurationProbe.h"
#include "disc/SourceClassification.h"
#include "platform/AppDataFolder.h"
#include "platform/ExternalPrograms.h"
#include "util/TimeText.h"

#include <QFile>
#include <QFileDialog>
#include <QThread>

namespace {

const QString kOpenFileFilter = QStringLiteral(
    "*.rmvb *.rm *.mpeg *.mov *.avi *.wmv *.asf *.mp4 *.flv *.fla *.swf *.m4v *.3gp *.dv *.3g2 "
    "*.m4b *.mkv *.mts *.divx *.ogm *.moi *.vob *.ajp *.f4v *.mqv *.svi *.vid *.tod *.hdmov *.mod "
    "*.mxf *.m2ts *.lrv ;;All File(*.*)");

} // namespace

void DRUI::btnOpenFile()
{
    OpenFiles(QFileDialog::getOpenFileNames(this, QString(), QStringLiteral("."), kOpenFileFilter));
}

void DRUI::btnLoadBDPath()
{
    OpenDiscFolder(
        QFileDialog::getExistingDirectory(this, QString(), QString(), QFileDialog::ShowDirsOnly));
}

void DRUI::OpenDiscFolder(const QString &path)
{
    if (path.isNull()) {
        return;
    }
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
    VideoPlay();
}

void DRUI::OpenFiles(const QStringList &paths)
{
    if (paths.isEmpty()) {
        return;
    }
    m_waitingForHelperProgram = true;
    const QStringList durations =
        ProbeDurations(paths, QThread::idealThreadCount(), kProbeTimeLimitMs);
    m_waitingForHelperProgram = false;
    QVector<PLAY_LIST_INFO> entries;
    for (int i = 0; i < paths.size(); ++i) {
        PLAY_LIST_INFO entry;
        entry.nType = kSourceFile;
        entry.strPath = paths[i];
        entry.strDuration = durations.value(i);
        entries.append(entry);
    }
    // Decided against the list as it was before this call, as each file was measured.
    const QVector<PLAY_LIST_INFO> fresh = PlayListModel::NotYetListed(m_playList, entries);
    m_pathToPlay = paths.first();
    const QByteArray firstDuration = entries.first().strDuration.toLocal8Bit();
    m_durationSec = firstDuration.isEmpty() ? 0 : ParseTime(firstDuration.constData());
    AddToPlayList(fresh);
    m_sourceKind = kSourceFile;
    m_sourceKey.clear();
    m_startPosSec = 0;
    VideoPlay();
}

void DRUI::InstallProbeTool()
{
    const QString target = AppDataFolder() + QStringLiteral("tool");
    // An existing copy is never replaced.
    if (QFile::exists(target)) {
        return;
    }
    QFile::copy(ProbeSource(), target);
}
