#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/DesktopOpen.h"
#include "dialogs/PreferencesDialog.h"
#include "platform/ExternalPrograms.h"
#include "ui/MenuData.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTableWidget>

void DRUI::BDFileMenu(QAction *action)
{
    const QString data = action->data().toString();
    if (data == MenuData::kOpenFile) {
        btnOpenFile();
    } else if (data == MenuData::kOpenDisc) {
        btnLoadBDPath();
    } else if (data == MenuData::kSavePlayList) {
        SavePlayList();
    } else if (data == MenuData::kEject) {
        StopPlaybackAndProbes();
    } else if (data == MenuData::kClose) {
        btnCloseSlot();
    } else if (data == MenuData::kClearMenu) {
        m_recentFiles.Clear(RecentFilePath());
        m_recentMenu->clear();
    } else if (data != MenuData::kRecentFiles) {
        // A recent entry: its data is the path.
        StopBtn();
        OpenSources({data});
    }
}

void DRUI::BDToolMenu(QAction *action)
{
    const QString data = action->data().toString();
    if (data == MenuData::kPlayList) {
        m_playListTable->setVisible(m_playListTable->isHidden());
    } else if (data == MenuData::kPreferences) {
        OpenPreferences();
    } else if (data == MenuData::kSnapshot) {
        Snapshot();
    }
}

void DRUI::OpenPreferences()
{
    CProcessUI preferences;
    preferences.m_nFormatIndex = m_snapshotFormatIndex;
    preferences.m_bPlayWholeList = m_settings.playWholeList;
    preferences.BuildContent();
    preferences.exec();
    if (preferences.m_bCancelled == 0) {
        m_snapshotFormatIndex = preferences.m_nFormatIndex;
        m_snapshotFormat = preferences.m_pFormatCombo->currentText();
        m_settings.playWholeList = preferences.m_bPlayWholeList;
        SaveRememberedSettings();
    }
}

void DRUI::BDHelpMenu(QAction *action)
{
    const QString data = action->data().toString();
    if (data == MenuData::kHelp) {
        btnHelpSlot();
        return;
    }
    if (data == MenuData::kSupport) {
        btnSupportSlot();
        return;
    }
    if (data == MenuData::kAbout) {
        ShowAbout();
        return;
    }
    if (data == MenuData::kLanguage) {
        return;
    }
    CLanguageManager::Instance().SetLanguage(data);
    // The engine ends here and now: nothing it says later may reach the rebuilt window.
    ShutDownEngine();
    StopBtn();
    SetUpWindow();
}

void DRUI::btnOpenUrl(const QString &address)
{
    OpenWithDesktop(this, QUrl(address));
}

void DRUI::btnHelpSlot()
{
    OpenWithDesktop(this, UserGuideUrl(QString()));
}

void DRUI::btnSupportSlot()
{
    OpenWithDesktop(this, UserGuideUrl(QStringLiteral("support")));
}

void DRUI::btnAboutSlot()
{
    OpenWithDesktop(this, UserGuideUrl(QStringLiteral("about")));
}

void DRUI::btnMinSlot()
{
    showMinimized();
}
