#include "ui/DRUI.h"

#include "app/LanguageManager.h"
#include "dialogs/DesktopOpen.h"
#include "dialogs/MessageBox.h"
#include "engine/Snapshots.h"
#include "platform/AppDataFolder.h"
#include "look/Look.h"
#include "util/TextConversion.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace {

// Writes the picture into the file just created and reads it back through the same open file:
// only a file that holds the whole picture counts.
bool SaveVerified(const QImage &picture, QFile &file, const char *format)
{
    if (picture.isNull() || !picture.save(&file, format) || !file.flush() || !file.seek(0)) {
        return false;
    }
    QImageReader written(&file, format);
    return written.canRead() && written.size() == picture.size();
}

// Told once the engine's output has been handled, not in the middle of it.
void TellLater(DRUI *window, const char *message)
{
    QTimer::singleShot(0, window, [window = QPointer<DRUI>(window), message] {
        if (window != nullptr) {
            ShowMessageBox(window, GetText(message));
        }
    });
}

} // namespace

void DRUI::Snapshot()
{
    m_engine->RequestSnapshot();
}

void DRUI::SaveSnapshot(const QString &enginePicture, bool writtenThroughLink)
{
    // The picture went wherever the link leads: nothing to save, and the link stays.
    if (writtenThroughLink) {
        TellLater(this, "Messages/MSG0507");
        return;
    }
    const QString folder =
        QString(Snapshots::Folder(AppDataFolder())).replace(QLatin1Char('\\'), QLatin1Char('/'));
    EnsureFolderExists(folder);
    QFile file;
    const QString destination = Snapshots::CreateDestination(
        folder, Snapshots::FileName(QDateTime::currentDateTime(), m_snapshotFormat), file);
    if (!destination.isEmpty() &&
        SaveVerified(QImage(enginePicture), file, Snapshots::ImageFormat(m_snapshotFormat))) {
        file.close();
        QFile::remove(enginePicture);
        m_engine->ShowOnScreen(GetText("MainWnd/SnapshotSaved") + QLatin1Char(' ') +
                               OneLineText(QFileInfo(destination).fileName(), kNoteNameLength));
        return;
    }
    // A failed attempt leaves nothing behind but the engine's picture, so nothing is lost.
    if (!destination.isEmpty()) {
        Snapshots::RemoveCreated(file, destination);
    }
    TellLater(this, "Messages/MSG0502");
}

void DRUI::btnOpenSnapshotFolder()
{
    m_snapshotFolder = Snapshots::Folder(AppDataFolder());
    EnsureFolderExists(m_snapshotFolder);
    OpenWithDesktop(this, QUrl::fromLocalFile(m_snapshotFolder));
}
