#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <optional>

// The naming and placing of snapshots, apart from the window.
namespace Snapshots {

// The engine's picture named in its screenshot line, as a path in the engine's working folder:
// only a name of the shape the engine gives its pictures ("shot0001.png") that is a regular file
// there (not a link) is taken. Anything else names nothing, so no line can point elsewhere.
std::optional<QString> EngineSnapshotFile(const QByteArray &engineFile, const QString &folder);

// Whether the engine's picture named in its screenshot line is a link: the engine wrote through
// it, somewhere the player does not follow.
bool EngineSnapshotIsLink(const QByteArray &engineFile, const QString &folder);

// "Snapshot-2024-03-05 21-07-09.JPG": the local time and the format text as extension.
QString FileName(const QDateTime &time, const QString &format);

// The image format to save in: "PNG", "BMP", or JPEG for anything else.
const char *ImageFormat(const QString &format);

// The snapshot folder: the folder named in OutputPath.txt in the given folder, or the Documents
// folder's "Tavrix BluRay Player" folder when there is none. Ends with "/".
QString Folder(const QString &appDataFolder);

// The folder named in OutputPath.txt (a regular file of at most 64 KiB), without its line end
// and ending with "/"; empty when there is none.
QString StoredFolder(const QString &appDataFolder);

// The default snapshot folder.
QString DefaultFolder();

// Creates the snapshot file, new and empty, at folder and name joined (backslashes turned into
// slashes) and opens it for reading and writing. When anything is at that name already, a dangling
// link included, " (2)", " (3)", ... go before the extension: no snapshot replaces another or is
// written through a link. The created path, or empty (and file closed) when none could be made.
QString CreateDestination(const QString &folder, const QString &fileName, QFile &file);

// Removes a file CreateDestination made, while the name still leads to that very file.
void RemoveCreated(QFile &file, const QString &path);

} // namespace Snapshots
