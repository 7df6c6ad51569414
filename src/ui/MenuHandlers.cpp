#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "ui/MenuData.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTableWidget>

void DRUI::BDFileMenu(QAction *action)
{
    const QString data = action->data().toString();
    if (data == MenuData::kOpenFile) {
        btnOpenFile();
    } else if (data == MenuData::kOpenDisc) {
        btnLoadBDPath();
    } else if (data == MenuData::kEject) {
        StopBtn();
    } else if (data == MenuData::kClose) {
        btnCloseSlot();
    } else if (data == MenuData::kClearMenu) {
        m_recentFiles.Clear(RecentFilePath());
        m_recentMenu->clear();
    } else if (data != MenuData::kRecentFiles) {
        // A recent entry: its data is the path.
        StopBtn();
        if (QFileInfo(data).isDir()) {
            OpenDiscFolder(data);
        } else {
            OpenFiles({data});
        }
    }
}

void DRUI::BDToolMenu(QAction *action)
{
    const QString data = action->data().toString();
    if (data == MenuData::kPlayList) {
        m_playListTable->setVisible(m_playListTable->isHidden());
    }
}

void DRUI::BDHelpMenu(QAction *action)
{
    const QString data = action->data().toString();
    if (data == MenuData::kHelp || data == MenuData::kSupport || data == MenuData::kLanguage) {
        return;
    }
    CLanguageManager::Instance().SetLanguage(data);
    StopBtn();
    SetUpWindow();
}
