#include "ui/RecentFileList.h"

#include <QFile>
#include <QSaveFile>

void RecentFileList::Load(const QString &file)
{
    m_paths.clear();
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return;
    }
    while (!input.atEnd()) {
        QByteArray line = input.readLine();
        if (line.endsWith('\n')) {
            line.chop(1);
        }
        if (!line.isEmpty()) {
            m_paths.append(QString::fromLocal8Bit(line));
        }
    }
}

bool RecentFileList::Record(const QString &path, const QString &file)
{
    if (m_paths.contains(path)) {
        return false;
    }
    m_paths.prepend(path);
    if (m_paths.size() > kMaxRecorded) {
        m_paths.removeLast();
    }
    // Written whole and then moved into place, so a crash never leaves half a list behind.
    QSaveFile output(file);
    if (output.open(QIODevice::WriteOnly | QIODevice::Text)) {
        for (const QString &entry : m_paths) {
            output.write(entry.toLocal8Bit() + '\n');
        }
        output.commit();
    }
    return true;
}

void RecentFileList::Clear(const QString &file)
{
    m_paths.clear();
    QFile::remove(file);
}
