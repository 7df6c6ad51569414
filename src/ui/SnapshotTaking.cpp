#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/DesktopOpen.h"
#include "dialogs/MessageBox.h"
#include "engine/Snapshots.h"
#include "platform/AppDataFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace {

// Writes the picture to a free name and reads it back: only a file that holds the whole
// picture counts. A failed attempt leaves nothing behind.
bool SaveVerified(const QImage &picture, const QString &destination, const char *format)
{
    if (picture.isNull()) {
        return false;
    }
    if (picture.save(destination, format)) {
        QImageReader written(destination, format);
        if (written.canRead() && written.size() == picture.size()) {
            return true;
        }
    }
    QFile::remove(destination);
    return false;
}

} // namespace

void DRUI::Snapshot()
{
    m_engine->RequestSnapshot();
}

void DRUI::SaveSnapshot(const QString &enginePicture)
{
    const QString destination = Snapshots::FreeDestination(
        Snapshots::Folder(AppDataFolder()),
        Snapshots::FileName(QDateTime::currentDateTime(), m_snapshotFormat));
    EnsureFolderExists(QFileInfo(destination).path());
    if (SaveVerified(QImage(enginePicture), destination,
                     Snapshots::ImageFormat(m_snapshotFormat))) {
        QFile::remove(enginePicture);
        m_engine->ShowOnScreen(GetText("MainWnd/SnapshotSaved") + QLatin1Char(' ') +
                               QFileInfo(destination).fileName());
        return;
    }
    // The engine's picture stays, so nothing is lost. Told once the engine's output has been
    // handled, not in the middle of it.
    QTimer::singleShot(0, this, [window = QPointer<DRUI>(this)] {
        if (window != nullptr) {
            ShowMessageBox(window, GetText("Messages/MSG0502"));
        }
    });
}

void DRUI::btnOpenSnapshotFolder()
{
    m_snapshotFolder = Snapshots::Folder(AppDataFolder());
    EnsureFolderExists(m_snapshotFolder);
    OpenWithDesktop(this, QUrl::fromLocalFile(m_snapshotFolder));
}
