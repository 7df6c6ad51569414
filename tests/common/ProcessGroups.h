#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <sys/types.h>

// What /proc tells of process groups, for the tests that check that no process is left behind.
namespace ProcessGroups {

// The process group of a live process; -1 for one that is gone or a zombie.
inline pid_t GroupOf(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    // "pid (name) state parent group ..."; the name may hold blanks and parentheses.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 3 || fields[0] == "Z") {
        return -1;
    }
    return static_cast<pid_t>(fields[2].toInt());
}

// How many live processes the group has.
inline int LiveProcessesIn(pid_t group)
{
    int count = 0;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        const int pid = entry.toInt(&isPid);
        if (isPid && GroupOf(pid) == group) {
            ++count;
        }
    }
    return count;
}

} // namespace ProcessGroups
