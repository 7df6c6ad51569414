#pragma once

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Makes real media for tests with the same tools the player relies on, so that no binary media
// is kept in the repository.
namespace MediaMaker {

inline bool Run(const QString &program, const QStringList &arguments,
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAll().constData());
        return false;
    }
    return true;
}

// A clip with a test picture and a tone: MPEG-4 video and MP2 audio in AVI.
inline bool MakeClip(const QString &path, int seconds, const QString &size = QStringLiteral("320x240"))
{
    return Run(QStringLiteral("ffmpeg"),
               {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=25",
                "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t",
                QString::number(seconds), "-c:v", "mpeg4", "-c:a", "mp2", path});
}

// A DVD folder (VIDEO_TS with one title) made with ffmpeg and dvdauthor.
inline bool MakeDvdFolder(const QString &folder, int seconds)
{
    const QString program = folder + QStringLiteral(".mpg");
    if (!Run(QStringLiteral("ffmpeg"),
             {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=720x480:rate=30000/1001",
              "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t",
              QString::number(seconds), "-target", "ntsc-dvd", program})) {
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VIDEO_FORMAT"), QStringLiteral("NTSC"));
    return Run(QStringLiteral("dvdauthor"), {"-o", folder, "-t", program}, environment) &&
           Run(QStringLiteral("dvdauthor"), {"-o", folder, "-T"}, environment) &&
           QDir().remove(program);
}

} // namespace MediaMaker
