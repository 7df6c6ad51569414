#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

// Points the player at the scripted engine and reads back what the engine was told.
class EngineDouble
{
public:
    EngineDouble()
    {
        qputenv("TAVRIX_ENGINE", TAVRIX_BIN_DIR "/engine-double");
        qputenv("ENGINE_DOUBLE_LOG", LogPath().toLocal8Bit());
        SetLength(60);
        SetStreams("a");
        qunsetenv("ENGINE_DOUBLE_CRASH_AFTER_MS");
        qunsetenv("ENGINE_DOUBLE_TITLES");
        qunsetenv("ENGINE_DOUBLE_SUBTITLE");
        qunsetenv("ENGINE_DOUBLE_STREAM_IDS");
        qunsetenv("ENGINE_DOUBLE_START_TIME");
        qunsetenv("ENGINE_DOUBLE_VOLUME_ID");
        qunsetenv("ENGINE_DOUBLE_ANSWER_DELAY_MS");
        qunsetenv("ENGINE_DOUBLE_HANG_ON_QUIT");
    }
    ~EngineDouble() { qunsetenv("TAVRIX_ENGINE"); }

    void SetLength(double seconds) { qputenv("ENGINE_DOUBLE_LENGTH", QByteArray::number(seconds)); }
    void SetStreams(const char *streams) { qputenv("ENGINE_DOUBLE_STREAMS", streams); }
    // The subtitle stream the engine shows at start, -1 for none.
    void SetShownSubtitle(int stream)
    {
        qputenv("ENGINE_DOUBLE_SUBTITLE", QByteArray::number(stream));
    }
    // The engine's own ids of the streams, in their order ("4352,4353").
    void SetStreamIds(const QByteArray &ids) { qputenv("ENGINE_DOUBLE_STREAM_IDS", ids); }
    // Where the medium's own clock starts; positions are answered on that clock.
    void SetStartTime(double seconds)
    {
        qputenv("ENGINE_DOUBLE_START_TIME", QByteArray::number(seconds));
    }
    // A DVD's volume name, which the engine prints as it is.
    void SetVolumeName(const QByteArray &name) { qputenv("ENGINE_DOUBLE_VOLUME_ID", name); }
    // Position and length answers come this late.
    void DelayAnswers(int milliseconds)
    {
        qputenv("ENGINE_DOUBLE_ANSWER_DELAY_MS", QByteArray::number(milliseconds));
    }
    // The engine takes no notice of "q", as a hung one would.
    void HangOnQuit() { qputenv("ENGINE_DOUBLE_HANG_ON_QUIT", "1"); }
    void CrashAfter(int milliseconds)
    {
        qputenv("ENGINE_DOUBLE_CRASH_AFTER_MS", QByteArray::number(milliseconds));
    }

    QString LogPath() const { return m_folder.filePath(QStringLiteral("engine.log")); }

    // Every line the engines of this test logged: "ARGS ..." at each start, then commands.
    QStringList Lines() const
    {
        QFile log(LogPath());
        if (!log.open(QIODevice::ReadOnly)) {
            return {};
        }
        QStringList lines = QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n'));
        lines.removeAll(QString());
        return lines;
    }

    // The commands without the polls, which come every half second and would drown the rest.
    QStringList Commands() const
    {
        QStringList commands;
        for (const QString &line : Lines()) {
            if (line != QLatin1String("get_time_length") && line != QLatin1String("get_time_pos")) {
                commands.append(line);
            }
        }
        return commands;
    }

    // Playback starts; title-list questions ("-identify") do not count.
    int Starts() const
    {
        return Lines().filter(QRegularExpression(QStringLiteral("^ARGS(?!.* -frames 0 )"))).size();
    }
    int TitleListQuestions() const { return Lines().filter(QStringLiteral(" -frames 0 ")).size(); }

    // What the engine answers when asked for a disc's titles.
    void SetTitleList(const char *playlists) { qputenv("ENGINE_DOUBLE_TITLES", playlists); }

    // A made-up media file for the player to open.
    QString MakeMedia(const QString &name) const
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("media");
        return path;
    }

private:
    QTemporaryDir m_folder;
};
