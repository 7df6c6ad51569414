#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

// A duration probe that measures every file as 100 s at once, so that opening files is quick.
// It is the player's probe (TAVRIX_PROBE) from Install() until this object goes.
class FakeProbe
{
public:
    ~FakeProbe() { qunsetenv("TAVRIX_PROBE"); }

    // Writes the script and points the player at it; false when the script could not be made.
    // moreScript: shell lines run before the report is printed (a wait, lines of the report).
    bool Install(const char *moreScript = "")
    {
        const QString probe = m_folder.filePath(QStringLiteral("probe"));
        QFile script(probe);
        if (!script.open(QIODevice::WriteOnly)) {
            return false;
        }
        script.write("#!/bin/sh\n");
        script.write(moreScript);
        script.write("echo '  Duration: 00:01:40.00, start: 0.000000' >&2\nexit 1\n");
        script.close();
        if (!script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
            return false;
        }
        qputenv("TAVRIX_PROBE", probe.toLocal8Bit());
        return true;
    }

private:
    QTemporaryDir m_folder;
};
