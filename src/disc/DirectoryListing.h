#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

struct DirEntry
{
    bool isDirectory = false;
    quint64 size = 0;
    QString path; // the listed folder, a separator, the entry's name
};

// Appends one entry per item of the folder, in name order so that the same folder always lists
// the same way. Names starting with "." are skipped. False, with nothing appended, when the
// folder cannot be listed.
bool ListDirectory(const QString &folder, QVector<DirEntry> &entries);
