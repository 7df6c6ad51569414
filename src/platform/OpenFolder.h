#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

struct RegularFileEntry
{
    QString path;    // the listed folder, a separator, the entry's name
    QByteArray name; // the name as the file system spells it, for opening in the folder
};

// A folder held open while its regular files are read, so that opening each of them costs no
// walk along the folder's whole path.
class OpenFolder
{
public:
    // Lists the regular files of the folder, links to regular files included, in the same order
    // and with the same names skipped as ListDirectory. The kind of each entry comes with the
    // listing itself, so a plain file costs no look-up; only a link, or an entry of a kind the
    // file system does not tell, is looked up.
    explicit OpenFolder(const QString &folder);
    ~OpenFolder();
    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;

    // Empty when the folder cannot be listed.
    const QVector<RegularFileEntry> &Files() const { return m_files; }
    // For opening the files by their names; -1 when the folder cannot be listed.
    int Descriptor() const { return m_descriptor; }

private:
    int m_descriptor = -1;
    QVector<RegularFileEntry> m_files;
};
