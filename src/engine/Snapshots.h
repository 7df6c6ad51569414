#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// The naming and placing of snapshots, apart from the window.
namespace Snapshots {

// The engine's picture named in its screenshot line, as a path in the engine's working folder:
// only a name of the shape the engine gives its pictures ("shot0001.png") that is a regular file
// there (not a link) is taken. Anything else names nothing, so no line can point elsewhere.
std::optional<QString> EngineSnapshotFile(const QByteArray &engineFile, const QString &folder);

// "Snapshot-2024-03-05 21-07-09.JPG": the local time and the format text as extension.
QString FileName(const QDateTime &time, const QString &format);

// The image format to save in: "PNG", "BMP", or JPEG for anything else.
const char *ImageFormat(const QString &format);

// The snapshot folder: the whole of OutputPath.txt in the given folder, or the Documents
// folder's "Tavrix BluRay Player" folder when the file is missing or empty. Ends with "/".
QString Folder(const QString &appDataFolder);

// The folder named in OutputPath.txt, empty when there is none.
QString StoredFolder(const QString &appDataFolder);

// The default snapshot folder.
QString DefaultFolder();

// Folder and name joined, with backslashes turned into slashes. When a file of that name is
// there already, " (2)", " (3)", ... go before the extension, so no snapshot replaces another.
QString FreeDestination(const QString &folder, const QString &fileName);

} // namespace Snapshots
