#pragma once

#include "disc/SourceClassification.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <atomic>
#include <memory>

struct udfread;

// A Blu-ray or DVD image file read through its UDF file system with libudfread: no mounting,
// nothing extracted. An image is written by strangers: only a regular file is opened (without
// blocking, checked again once open), every block read lies inside the file, and every step
// (opening the file system, listing a folder, finding a file) may read at most
// kMaxStructureBytes of it, so a directory that claims a gigabyte or allocation extents that
// point at each other end in a failed step, not in a long read. Files are read only whole and
// only up to the cap the caller gives. Not for use from two threads at once.
class DiscImage
{
public:
    // Far above the file system structures of a real disc (a playlist folder of 2000 entries
    // takes about 100 KiB), small enough to read in a moment.
    static constexpr qint64 kMaxStructureBytes = 4 * 1024 * 1024;

    // When `cancelled` becomes true (from another thread), every read fails from then on.
    explicit DiscImage(const QString &path, const std::atomic<bool> *cancelled = nullptr);
    ~DiscImage();
    DiscImage(const DiscImage &) = delete;
    DiscImage &operator=(const DiscImage &) = delete;

    const QString &Path() const { return m_path; }

    // A Blu-ray holds BDMV/index.bdmv and a folder BDMV/PLAYLIST, a DVD VIDEO_TS/VIDEO_TS.IFO
    // (names letter-case exact); the Blu-ray test comes first. An image without a UDF file
    // system is neither: the engine reads none but UDF.
    DiscFolderKind Kind();

    // The names of the regular files of a folder ("BDMV/PLAYLIST"), sorted as text; empty when
    // there is no such folder.
    QStringList FileNames(const QString &folder);

    // A whole regular file ("BDMV/index.bdmv") of at most maxBytes bytes. False, with the
    // contents emptied, for a file that is missing, larger (nothing of it is read) or not
    // readable in full.
    bool ReadFile(const QString &path, qint64 maxBytes, QByteArray &contents);

    // The file system's volume identifier, the name the disc was written under ("TESTDVD");
    // empty when there is none or no file system.
    QString VolumeName() const;

    struct Input;

private:
    bool IsRegularFile(const QString &folder, const QString &name);

    QString m_path;
    std::unique_ptr<Input> m_input;
    udfread *m_udf = nullptr;
};

// A path the player takes for a disc image rather than a video file: a name ending in ".iso"
// (any letter case) that is no folder.
bool IsDiscImageName(const QString &path);
