#pragma once

#include <QDir>
#include <QFile>
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
inline bool MakeClip(const QString &path, int seconds,
                     const QString &size = QStringLiteral("320x240"))
{
    return Run(QStringLiteral("ffmpeg"),
               {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=25", "-f",
                "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t",
                QString::number(seconds), "-c:v", "mpeg4", "-c:a", "mp2", path});
}

// A Matroska clip with two audio streams (a low and a high tone) and one subtitle stream.
inline bool MakeClipWithTracks(const QString &path, int seconds)
{
    const QString subtitles = path + QStringLiteral(".srt");
    {
        QFile file(subtitles);
        if (!file.open(QIODevice::WriteOnly)) {
            return false;
        }
        file.write("1\n00:00:00,500 --> 00:00:30,000\nA line of subtitle\n");
    }
    const bool made = Run(QStringLiteral("ffmpeg"), {"-v",
                                                     "error",
                                                     "-y",
                                                     "-f",
                                                     "lavfi",
                                                     "-i",
                                                     "testsrc=size=320x240:rate=25",
                                                     "-f",
                                                     "lavfi",
                                                     "-i",
                                                     "sine=frequency=440:sample_rate=44100",
                                                     "-f",
                                                     "lavfi",
                                                     "-i",
                                                     "sine=frequency=880:sample_rate=44100",
                                                     "-i",
                                                     subtitles,
                                                     "-map",
                                                     "0",
                                                     "-map",
                                                     "1",
                                                     "-map",
                                                     "2",
                                                     "-map",
                                                     "3",
                                                     "-t",
                                                     QString::number(seconds),
                                                     "-c:v",
                                                     "mpeg4",
                                                     "-c:a",
                                                     "mp2",
                                                     "-c:s",
                                                     "srt",
                                                     path});
    QFile::remove(subtitles);
    return made;
}

// A black Matroska clip with two text subtitle streams, the first marked as the default: the
// first says "I" and the second a long line, each in cues every half second, so that either
// shows soon after it is chosen.
inline bool MakeClipWithTwoSubtitles(const QString &path, int seconds)
{
    QStringList inputs;
    for (const char *text : {"I", "WWWWWWWWWWWWWWWWWWWW"}) {
        inputs.append(path + QStringLiteral(".%1.srt").arg(inputs.size()));
        QFile file(inputs.last());
        if (!file.open(QIODevice::WriteOnly)) {
            return false;
        }
        for (int cue = 0; cue < seconds * 2; ++cue) {
            const int start = cue * 500;
            const auto at = [](int ms) {
                return QStringLiteral("00:%1:%2,%3")
                    .arg(ms / 60000, 2, 10, QLatin1Char('0'))
                    .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
                    .arg(ms % 1000, 3, 10, QLatin1Char('0'));
            };
            file.write(QStringLiteral("%1\n%2 --> %3\n%4\n\n")
                           .arg(cue + 1)
                           .arg(at(start), at(start + 500), QString::fromLatin1(text))
                           .toLatin1());
        }
    }
    const bool made =
        Run(QStringLiteral("ffmpeg"),
            {"-v", "error", "-y", "-f", "lavfi", "-i", "color=black:size=320x240:rate=25", "-i",
             inputs[0], "-i", inputs[1], "-map", "0", "-map", "1", "-map", "2", "-t",
             QString::number(seconds), "-c:v", "mpeg4", "-c:s", "srt", "-disposition:s:0",
             "default", "-disposition:s:1", "0", path});
    for (const QString &input : inputs) {
        QFile::remove(input);
    }
    return made;
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

// A DVD folder with two titles, of 5 s with chapters at 0, 2 and 4 s and of 8 s with chapters
// at 0 and 3 s.
inline bool MakeDvdWithTwoTitles(const QString &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VIDEO_FORMAT"), QStringLiteral("NTSC"));
    const QList<QPair<int, QString>> titles = {{5, QStringLiteral("0,00:00:02,00:00:04")},
                                               {8, QStringLiteral("0,00:00:03")}};
    for (const auto &[seconds, chapters] : titles) {
        const QString program = folder + QStringLiteral("-%1.mpg").arg(seconds);
        if (!Run(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-y", "-f", "lavfi", "-i",
                  "testsrc=size=720x480:rate=30000/1001", "-f", "lavfi", "-i",
                  "sine=frequency=440:sample_rate=48000", "-t", QString::number(seconds),
                  "-target", "ntsc-dvd", program}) ||
            !Run(QStringLiteral("dvdauthor"), {"-o", folder, "-t", "-c", chapters, program},
                 environment) ||
            !QDir().remove(program)) {
            return false;
        }
    }
    return Run(QStringLiteral("dvdauthor"), {"-o", folder, "-T"}, environment);
}

// A disc image of a folder: UDF beside ISO 9660, as disc images are made, or ISO 9660 alone.
inline bool MakeDiscImage(const QString &folder, const QString &image, bool udf = true,
                          const QString &volume = QStringLiteral("CDROM"))
{
    return Run(QStringLiteral("genisoimage"),
               {udf ? "-udf" : "-r", "-quiet", "-V", volume, "-o", image, folder});
}

} // namespace MediaMaker
