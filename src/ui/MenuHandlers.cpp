#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/DesktopOpen.h"
#include "dialogs/PreferencesDialog.h"
#include "engine/Snapshots.h"
#include "platform/AppDataFolder.h"
#include "platform/ExternalPrograms.h"
#include "ui/MenuData.h"
#include "util/TimeText.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QUrl>

namespace {

// The program a name stands for on this system, or a word saying there is none.
QString FoundProgram(const QString &program)
{
    const QString found = program.contains(QLatin1Char('/'))
                              ? program
                              : QStandardPaths::findExecutable(program);
    return found.isEmpty() ? program + QStringLiteral(" (") + GetText("MainWnd/NotFound") +
                                 QLatin1Char(')')
                           : found;
}

} // namespace

void DRUI::OpenPreferences()
{
    CProcessUI preferences;
    preferences.m_nFormatIndex = m_snapshotFormatIndex;
    preferences.m_bPlayWholeList = m_settings.playWholeList;
    preferences.BuildContent();
    preferences.exec();
    if (preferences.m_bCancelled == 0) {
        m_snapshotFormatIndex = preferences.m_nFormatIndex;
        m_playback->SetSnapshotFormat(preferences.m_pFormatCombo->currentText());
        m_settings.playWholeList = preferences.m_bPlayWholeList;
        m_playback->SetPlayWholeList(m_settings.playWholeList);
        SaveRememberedSettings();
    }
}

void DRUI::SwitchLanguage(const QString &language)
{
    CLanguageManager::Instance().SetLanguage(language);
    // The engine ends here and now: nothing it says later may reach the rebuilt window.
    m_playback->Close();
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

void DRUI::StayOnTop(bool onTop)
{
    // Changing the flags hides the window; it comes back where it was.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) {
        show();
    }
}

void DRUI::ShowAbout()
{
    QMessageBox about(this);
    about.setWindowTitle(GetText("MainWnd/About"));
    about.setIcon(QMessageBox::Information);
    about.setTextFormat(Qt::PlainText);
    about.setText(QStringLiteral("%1 %2").arg(GetText("MainWnd/ProTitle"),
                                               QStringLiteral(TAVRIX_VERSION)));
    about.setInformativeText(
        QStringLiteral("%1: %2\n%3: %4\n\n%5")
            .arg(GetText("MainWnd/Engine"), FoundProgram(EngineProgram()),
                 GetText("MainWnd/Probe"), FoundProgram(ProbeProgram()),
                 GetText("MainWnd/Licences")));
    about.exec();
}

void DRUI::btnOpenSnapshotFolder()
{
    m_snapshotFolder = Snapshots::Folder(AppDataFolder());
    EnsureFolderExists(m_snapshotFolder);
    OpenWithDesktop(this, QUrl::fromLocalFile(m_snapshotFolder));
}
