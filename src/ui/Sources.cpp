#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/DiscChooser.h"
#include "dialogs/MessageBox.h"
#include "disc/DiscImage.h"
#include "look/Look.h"
#include "platform/AppDataFolder.h"
#include "platform/ExternalPrograms.h"
#include "util/TextConversion.h"
#include "util/TimeText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

namespace {

// A readable first entry with every type the engine plays and disc images, then everything: a file
// without an extension is still a file.
const QString kOpenFileFilter = QStringLiteral(
    "Video files (*.mkv *.mp4 *.m4v *.avi *.mov *.wmv *.asf *.mpg *.mpeg *.ts *.m2ts *.mts "
    "*.webm *.ogv *.ogg *.ogm *.flv *.f4v *.3gp *.3g2 *.vob *.divx *.rm *.rmvb *.dv *.mxf "
    "*.mod *.tod *.hdmov *.lrv *.swf *.m3u *.m3u8 *.iso);;Disc images (*.iso);;All files (*)");

// How often handed-over paths look again whether the window is free to open them.
constexpr int kHandOverRetryMs = 250;
// How many of the entries that could not be opened the message names.
constexpr int kNotFoundShown = 10;
// How many of the paths that do not exist the message names.
constexpr int kMissingPathsShown = 3;

} // namespace

QString DRUI::ChooserStartFolder(const QString &remembered) const
{
    return !remembered.isEmpty() && QFileInfo(remembered).isDir() ? remembered
                                                                  : QDir::currentPath();
}

void DRUI::btnOpenFile()
{
    const QStringList chosen = QFileDialog::getOpenFileNames(
        this, QString(), ChooserStartFolder(m_settings.fileFolder), kOpenFileFilter);
    if (!chosen.isEmpty()) {
        m_settings.fileFolder = QFileInfo(chosen.first()).absolutePath();
    }
    m_whatPlays->OpenSources(chosen);
}

void DRUI::btnLoadBDPath()
{
    // The disc chooser shows the last disc folder among its neighbours.
    const QString remembered =
        m_settings.discFolder.isEmpty() ? QString() : QFileInfo(m_settings.discFolder).path();
    const QString chosen = DiscChooser::Choose(this, ChooserStartFolder(remembered));
    if (!chosen.isEmpty()) {
        m_settings.discFolder = chosen;
    }
    OpenDiscFolder(chosen);
}

void DRUI::ConnectWhatPlays()
{
    connect(m_whatPlays, &WhatPlays::OpenWanted, this, &DRUI::btnOpenFile);
    connect(m_whatPlays, &WhatPlays::RowsAdded, this, &DRUI::ShowAddedPlayListRows);
    connect(m_whatPlays, &WhatPlays::RowMeasured, this, &DRUI::ShowMeasuredDuration);
    connect(m_whatPlays, &WhatPlays::RowsChanged, this, &DRUI::ShowPlayList);
    // Told once the open is done, not in the middle of it.
    connect(
        m_whatPlays, &WhatPlays::NotFound, this,
        [this](const QStringList &paths) {
            ShowMessageBox(this, "Messages/MSG0511", NameList(paths, kNotFoundShown));
        },
        Qt::QueuedConnection);
    connect(m_whatPlays, &WhatPlays::DiscScanned, this, &DRUI::ShowScannedDisc);
    connect(m_whatPlays, &WhatPlays::NotRecognised, this, [this](const QString &path) {
        ShowMessageBox(this, "Messages/MSG0102", OneLineText(path, kShownNameLength));
    });
    connect(m_whatPlays, &WhatPlays::TitleNotOffered, this,
            [this] { ShowMessageBox(this, "Messages/MSG0505"); });
    connect(m_whatPlays, &WhatPlays::BusyChanged, this, &DRUI::RenderBusy);
}

void DRUI::OpenDiscFolder(const QString &path)
{
    if (path.isNull()) {
        return;
    }
    m_whatPlays->OpenDisc(path);
}

void DRUI::BuildDvdMenus()
{
    ClearEntryMenu(m_titleMenu);
    QList<QAction *> titles;
    for (const auto &[title, lengthMs] : m_playback->DvdTitleLengths()) {
        auto *entry = new QAction(
            QStringLiteral("%1. %2").arg(title).arg(FormatTime(lengthMs / 1000)), m_titleMenu);
        entry->setData(title);
        connect(entry, &QAction::triggered, this,
                [this, title = title] { m_playback->PickDvdTitle(title); });
        titles.append(entry);
    }
    AddEntriesByScreenful(m_titleMenu, titles, "MainWnd/TitleRange");
    ClearEntryMenu(m_chapterMenu);
    AddEntriesByScreenful(m_chapterMenu, ChapterEntries(m_playback->ChapterStarts(), m_chapterMenu),
                          "MainWnd/ChapterRange");
}

void DRUI::RenderBusy(bool busy)
{
    if (busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void DRUI::OpenFromDesktop(const QStringList &paths)
{
    if (QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(kHandOverRetryMs, this, [this, paths] { OpenFromDesktop(paths); });
        return;
    }
    BringToFront();
    QStringList present;
    QStringList missing;
    for (const QString &path : paths) {
        (QFileInfo::exists(path) ? present : missing).append(path);
    }
    m_whatPlays->OpenSources(present);
    if (!missing.isEmpty()) {
        ShowMessageBox(this, "Messages/MSG0506", NameList(missing, kMissingPathsShown));
    }
}
