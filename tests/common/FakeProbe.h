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
    // moreScript: shell lines run before the report is printed (a wait); they find the probed
    // path in $path, and may set $streams (the report's list of streams, without its brackets)
    // and $start (where the medium's clock starts, in seconds).
    bool Install(const char *moreScript = "")
    {
        const QString probe = m_folder.filePath(QStringLiteral("probe"));
        QFile script(probe);
        if (!script.open(QIODevice::WriteOnly)) {
            return false;
        }
        script.write("#!/bin/sh\nfor path; do :; done\nstreams=\nstart=0.000000\n");
        script.write(moreScript);
        script.write("printf '{\"streams\": [%s], \"format\": {\"duration\": \"100.000000\", "
                     "\"start_time\": \"%s\"}}\\n' \"$streams\" \"$start\"\n");
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
