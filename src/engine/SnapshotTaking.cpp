#include "ui/DRUI.h"

#include "engine/EngineVocabulary.h"
#include "engine/Snapshots.h"
#include "platform/AppDataFolder.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QUrl>

void DRUI::Snapshot()
{
    if (m_engine != nullptr) {
        SendEngineCommand(Engine::kScreenshot);
    }
}

void DRUI::SaveSnapshot(const QByteArray &engineLine)
{
    const std::optional<QByteArray> engineFile = Snapshots::EngineFileFromLine(engineLine);
    if (!engineFile) {
        return;
    }
    const QString source = QString::fromLocal8Bit(*engineFile);
    if (!QFileInfo::exists(source)) {
        return;
    }
    const QString destination = Snapshots::FreeDestination(
        Snapshots::Folder(AppDataFolder()),
        Snapshots::FileName(QDateTime::currentDateTime(), m_snapshotFormat));
    EnsureFolderExists(QFileInfo(destination).path());
    QImage(source).save(destination, Snapshots::ImageFormat(m_snapshotFormat));
    QFile::remove(source);
}

void DRUI::btnOpenSnapshotFolder()
{
    m_snapshotFolder = Snapshots::Folder(AppDataFolder());
    EnsureFolderExists(m_snapshotFolder);
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_snapshotFolder));
}
