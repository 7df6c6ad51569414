// A stand-in for the playback engine in slave mode, for tests. It answers the way MPlayer does
// and logs what it receives. Told what to do through the environment:
//   ENGINE_DOUBLE_LOG           file that gets "ARGS" and then every command line received
//   ENGINE_DOUBLE_LENGTH        media length in seconds (default 6)
//   ENGINE_DOUBLE_STREAMS       streams to announce, in order: "a" audio, "s" subtitle
//                               (default "a")
//   ENGINE_DOUBLE_CRASH_AFTER_MS  die by a signal this long after start, saying nothing
//   ENGINE_DOUBLE_TITLES        for "-identify": the disc's playlists in the engine's title order,
//                               comma-separated ("00004,00001"); "hang" never answers
//   ENGINE_DOUBLE_SUBTITLE      the subtitle stream shown at start, as a medium's default
//                               subtitle would be (default -1: none)
//   ENGINE_DOUBLE_STREAM_IDS    the engine's ids of the streams, comma-separated in the order of
//                               ENGINE_DOUBLE_STREAMS, as a disc's PIDs ("4352,4353,4608");
//                               default: each kind counts from 0
//   ENGINE_DOUBLE_HANG_ON_QUIT  "1": "q" is logged and ignored, as by a hung engine
//   ENGINE_DOUBLE_START_TIME    where the medium's own clock starts, in seconds: said as
//                               ID_START_TIME before playback, and positions are answered on that
//                               clock (a seek's target counts from the start)
//   ENGINE_DOUBLE_VOLUME_ID     a DVD's volume name, said as ID_DVD_VOLUME_ID before anything
//                               else about the medium, line breaks and all
//   ENGINE_DOUBLE_ANSWER_DELAY_MS  position and length answers come this late, telling what was
//                               true when asked
// Besides the engine's own commands it takes "say TEXT", which prints TEXT as a line of output,
// so that a test can put any line in front of the player.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <utility>

#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double EnvNumber(const char *name, double fallback)
{
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atof(value) : fallback;
}

void Say(const std::string &text)
{
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

class Log
{
public:
    explicit Log(const char *path) : m_file(path != nullptr ? std::fopen(path, "a") : nullptr) {}
    ~Log()
    {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }
    void Line(const std::string &text)
    {
        if (m_file != nullptr) {
            std::fprintf(m_file, "%s\n", text.c_str());
            std::fflush(m_file);
        }
    }

private:
    FILE *m_file;
};

// Playback time that runs while not paused.
class MediaClock
{
public:
    double Position() const
    {
        if (m_paused) {
            return m_base;
        }
        return m_base + std::chrono::duration<double>(Clock::now() - m_since).count();
    }
    void Seek(double seconds)
    {
        m_base = seconds;
        m_since = Clock::now();
    }
    void SetPaused(bool paused)
    {
        if (paused == m_paused) {
            return;
        }
        m_base = Position();
        m_since = Clock::now();
        m_paused = paused;
    }
    bool Paused() const { return m_paused; }

private:
    double m_base = 0;
    Clock::time_point m_since = Clock::now();
    bool m_paused = false;
};

std::string Format(const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Lists the disc's titles the way the engine does for "-identify -frames 0", then ends.
int Identify()
{
    const char *setting = std::getenv("ENGINE_DOUBLE_TITLES");
    const std::string titles = setting != nullptr ? setting : "";
    if (titles == "hang") {
        for (;;) {
            pause();
        }
    }
    int number = 1;
    for (size_t start = 0; start < titles.size();) {
        size_t end = titles.find(',', start);
        if (end == std::string::npos) {
            end = titles.size();
        }
        Say("ID_BLURAY_TITLE_" + std::to_string(number++) +
            "_PLAYLIST=" + titles.substr(start, end - start) + "\n");
        start = end + 1;
    }
    Say("ID_BLURAY_TITLES=" + std::to_string(number - 1) + "\n");
    return 0;
}

// The engine's id of each stream, in announcement order; empty when none are given.
std::deque<int> StreamIds()
{
    const char *setting = std::getenv("ENGINE_DOUBLE_STREAM_IDS");
    std::deque<int> ids;
    for (const char *next = setting; next != nullptr && *next != '\0';) {
        char *end = nullptr;
        ids.push_back(static_cast<int>(std::strtol(next, &end, 10)));
        next = *end == ',' ? end + 1 : nullptr;
    }
    return ids;
}

} // namespace

int main(int argc, char *argv[])
{
    Log log(std::getenv("ENGINE_DOUBLE_LOG"));
    std::string arguments = "ARGS";
    for (int i = 1; i < argc; ++i) {
        arguments += std::string(" ") + argv[i];
    }
    log.Line(arguments);

    // "-identify -frames 0" asks only for the disc's list; "-identify" alone comes with playback.
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-frames") == 0 && std::strcmp(argv[i + 1], "0") == 0) {
            return Identify();
        }
    }

    const double length = EnvNumber("ENGINE_DOUBLE_LENGTH", 6);
    const char *streamsSetting = std::getenv("ENGINE_DOUBLE_STREAMS");
    const std::string streams = streamsSetting != nullptr ? streamsSetting : "a";
    const double crashAfterMs = EnvNumber("ENGINE_DOUBLE_CRASH_AFTER_MS", -1);
    const bool hangOnQuit = EnvNumber("ENGINE_DOUBLE_HANG_ON_QUIT", 0) != 0;
    const double startTime = EnvNumber("ENGINE_DOUBLE_START_TIME", 0);
    const auto answerDelay =
        std::chrono::milliseconds(static_cast<int>(EnvNumber("ENGINE_DOUBLE_ANSWER_DELAY_MS", 0)));
    std::deque<int> ids = StreamIds();
    const auto started = Clock::now();

    Say(std::string("Playing ") + (argc > 1 ? argv[argc - 1] : "") + ".\n");
    if (const char *volume = std::getenv("ENGINE_DOUBLE_VOLUME_ID")) {
        Say(std::string("ID_DVD_VOLUME_ID=") + volume + "\n");
    }
    int audio = 0;
    int subtitles = 0;
    int firstAudioId = -2;
    for (size_t stream = 0; stream < streams.size(); ++stream) {
        const std::string number = std::to_string(stream);
        const bool isAudio = streams[stream] == 'a';
        int id = isAudio ? audio++ : subtitles++;
        if (!ids.empty()) {
            id = ids.front();
            ids.pop_front();
        }
        if (isAudio) {
            if (firstAudioId == -2) {
                firstAudioId = id;
            }
            Say("[lavf] stream " + number + ": audio (ac3), -aid " + std::to_string(id) + "\n");
        } else if (streams[stream] == 's') {
            Say("[lavf] stream " + number + ": subtitle (srt), -sid " + std::to_string(id) + "\n");
        }
    }
    if (startTime > 0) {
        Say(Format("ID_START_TIME=%.2f\n", startTime));
    }
    Say("VIDEO:  [H264]  320x240  24bpp  25.000 fps\n");
    Say("Starting playback...\n");
    int audioTrack = firstAudioId;
    int subtitleTrack = static_cast<int>(EnvNumber("ENGINE_DOUBLE_SUBTITLE", -1));

    MediaClock media;
    std::string pending;
    std::deque<std::pair<Clock::time_point, std::string>> answers; // late ones, in order
    const auto answer = [&](const std::string &text) {
        if (answerDelay.count() == 0) {
            Say(text);
        } else {
            answers.emplace_back(Clock::now() + answerDelay, text);
        }
    };
    for (;;) {
        while (!answers.empty() && answers.front().first <= Clock::now()) {
            Say(answers.front().second);
            answers.pop_front();
        }
        if (crashAfterMs >= 0 &&
            std::chrono::duration<double, std::milli>(Clock::now() - started).count() >=
                crashAfterMs) {
            std::signal(SIGSEGV, SIG_DFL);
            std::raise(SIGSEGV);
        }
        if (media.Position() >= length) {
            Say("\nExiting... (End of file)\n");
            return 0;
        }
        pollfd input{STDIN_FILENO, POLLIN, 0};
        if (poll(&input, 1, 20) <= 0) {
            continue;
        }
        char buffer[512];
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            return 0;
        }
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string command = pending.substr(0, end);
            pending.erase(0, end + 1);
            log.Line(command);
            if (command.rfind("say ", 0) == 0) {
                Say(command.substr(4) + "\n");
                continue;
            }
            const size_t prefix = command.rfind("pausing_keep_force ", 0) == 0 ? 19
                                  : command.rfind("pausing_keep ", 0) == 0      ? 13
                                                                                : 0;
            const bool keepPause = prefix > 0;
            const std::string bare = command.substr(prefix);
            if (bare.rfind("switch_audio ", 0) == 0) {
                audioTrack = std::atoi(bare.c_str() + 13);
            } else if (bare.rfind("sub_demux ", 0) == 0) {
                subtitleTrack = std::atoi(bare.c_str() + 10);
            } else if (bare == "get_property switch_audio") {
                Say("ANS_switch_audio=" + std::to_string(audioTrack) + "\n");
            } else if (bare == "get_property sub_demux") {
                Say("ANS_sub_demux=" + std::to_string(subtitleTrack) + "\n");
            }
            if (command == "pause") {
                media.SetPaused(!media.Paused());
                continue;
            }
            if (!keepPause) {
                media.SetPaused(false);
            }
            if (command == "q" && !hangOnQuit) {
                Say("\nExiting... (Quit)\n");
                return 0;
            }
            if (bare == "get_time_length") {
                answer(Format("ANS_LENGTH=%.2f\n", length));
            } else if (bare == "get_time_pos") {
                answer(Format("ANS_TIME_POSITION=%.1f\n", startTime + media.Position()));
            } else if (command.rfind("seek ", 0) == 0) {
                media.Seek(std::atof(command.c_str() + 5));
            }
        }
    }
}
