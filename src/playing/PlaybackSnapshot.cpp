#include "playing/Playback.h"

#include "app/LanguageManager.h"
#include "engine/Snapshots.h"
#include "platform/AppDataFolder.h"
#include "util/TextConversion.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

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

} // namespace

void Playback::TakeSnapshot()
{
    m_engine->RequestSnapshot();
}

void Playback::SaveSnapshot(const QString &enginePicture, bool writtenThroughLink)
{
    // The picture went wherever the link leads: nothing to save, and the link stays.
    if (writtenThroughLink) {
        emit SnapshotNotSaved("Messages/MSG0507");
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
    emit SnapshotNotSaved("Messages/MSG0502");
}
