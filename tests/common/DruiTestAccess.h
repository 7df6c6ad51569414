#pragma once

#include "dialogs/MessageBox.h"
#include "ui/DRUI.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <algorithm>

// Access to the private parts of the main window and the message window, for the widget
// tests only. Each accessor hands back the member itself, so a test sees the live object.
class DruiTestAccess
{
public:
    // Widgets
    static QLabel *MenuStrip(DRUI &window) { return window.m_menuStrip; }
    static QStackedLayout *PageStack(DRUI &window) { return window.m_pageStack; }
    static QSlider *SeekSlider(DRUI &window) { return window.m_seekSlider; }
    static QSlider *VolumeSlider(DRUI &window) { return window.m_volumeSlider; }
    static QLabel *ElapsedLabel(DRUI &window) { return window.m_elapsedLabel; }
    static QLabel *TotalLabel(DRUI &window) { return window.m_totalLabel; }
    static QLabel *FileNameLabel(DRUI &window) { return window.m_fileNameLabel; }
    static QLabel *DiscNameLabel(DRUI &window) { return window.m_discNameLabel; }
    static QTableWidget *PlayListTable(DRUI &window) { return window.m_playListTable; }

    // Menus
    static QMenu *FileMenu(DRUI &window) { return window.m_fileMenu; }
    static QMenu *RecentMenu(DRUI &window) { return window.m_recentMenu; }
    static QMenu *ControlsMenu(DRUI &window) { return window.m_controlsMenu; }
    static QMenu *TitleMenu(DRUI &window) { return window.m_titleMenu; }
    static QMenu *ChapterMenu(DRUI &window) { return window.m_chapterMenu; }
    static QMenu *VideoMenu(DRUI &window) { return window.m_videoMenu; }
    static QMenu *VideoTrackMenu(DRUI &window) { return window.m_videoTrackMenu; }
    static QMenu *AudioMenu(DRUI &window) { return window.m_audioMenu; }
    static QMenu *AudioChannelMenu(DRUI &window) { return window.m_audioChannelMenu; }
    static QMenu *ToolsMenu(DRUI &window) { return window.m_toolsMenu; }
    static QAction *SnapshotAction(DRUI &window) { return window.m_snapshotAction; }
    static QMenu *HelpMenu(DRUI &window) { return window.m_helpMenu; }

    static QLabel *VideoSurface(DRUI &window) { return window.m_videoSurface; }
    static QMenu *AudioTrackMenu(DRUI &window) { return window.m_audioTrackMenu; }
    static QMenu *SubtitleTrackMenu(DRUI &window) { return window.m_subtitleTrackMenu; }
    static QAction *PlayAction(DRUI &window) { return window.m_playAction; }
    // What Open Disc does once its chooser returned, or was cancelled.
    static void OpenDiscFolder(DRUI &window, const QString &path) { window.OpenDiscFolder(path); }
    // What Subtitle > Load File does once its chooser returned the path.
    static void LoadSubtitleFrom(DRUI &window, const QString &path)
    {
        window.LoadSubtitleFrom(path);
    }

    static QMenu *DiscMenu(DRUI &window) { return window.m_discMenu; }
    static QAction *DiscChapterAction(DRUI &window) { return window.m_discChapterAction; }
    static QAction *DiscAudioAction(DRUI &window) { return window.m_discAudioAction; }
    static QAction *DiscSubtitleAction(DRUI &window) { return window.m_discSubtitleAction; }
    static QAction *DiscOtherTitlesAction(DRUI &window) { return window.m_discOtherTitlesAction; }
    static QLabel *DiscThumbnailLabel(DRUI &window) { return window.m_discThumbnailLabel; }
    // Window events, snapshots and preferences
    static QLabel *ControlBar(DRUI &window) { return window.m_controlBar; }
    static bool IsFullScreen(DRUI &window) { return window.m_isFullScreen; }
    static int &SnapshotFormatIndex(DRUI &window) { return window.m_snapshotFormatIndex; }
};

// The entry of the menu that carries this data; null when none does.
inline QAction *EntryWithData(QMenu *menu, const QVariant &data)
{
    const QList<QAction *> entries = menu != nullptr ? menu->actions() : QList<QAction *>();
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&data](const QAction *entry) { return entry->data() == data; });
    return found != entries.end() ? *found : nullptr;
}

// What a click on the entry does once its menu has come alive.
inline void Pick(QAction *entry)
{
    QVERIFY(entry != nullptr);
    entry->setEnabled(true);
    entry->trigger();
}

class MessageBoxTestAccess
{
public:
    static QLabel *MessageLabel(CMessageBox &box) { return box.m_pMessageLabel; }
};

#include "dialogs/PreferencesDialog.h"

// Access to the preferences dialog's private parts, for its tests.
class PreferencesTestAccess
{
public:
    static QLineEdit *FolderEdit(CProcessUI &dialog) { return dialog.m_pFolderEdit; }
    static QString Folder(CProcessUI &dialog) { return dialog.m_strFolder; }
};
