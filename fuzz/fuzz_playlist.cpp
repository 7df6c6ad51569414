// libFuzzer target: the movie playlist reader on any bytes. Besides the sanitizers' findings,
// a result the reader does not define, or a refused input that changed the caller's contents,
// counts as a crash.
#include "disc/MoviePlaylistReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

PlaylistContents Sentinel()
{
    PlaylistContents contents;
    contents.playItems = {PlayItemRecord{7, 8, 9, QStringLiteral("SENTINEL")}};
    contents.audio = {StreamRecord{1, QStringLiteral("earlier audio")}};
    contents.subtitles = {StreamRecord{2, QStringLiteral("earlier subtitle")}};
    contents.chapters = {42};
    return contents;
}

bool IsSentinel(const PlaylistContents &contents)
{
    return contents.playItems.size() == 1 && contents.playItems[0].inMs == 7 &&
           contents.playItems[0].startMs == 8 && contents.playItems[0].durationMs == 9 &&
           contents.playItems[0].clipName == QStringLiteral("SENTINEL") &&
           contents.audio.size() == 1 && contents.audio[0].pid == 1 &&
           contents.audio[0].text == QStringLiteral("earlier audio") &&
           contents.subtitles.size() == 1 && contents.subtitles[0].pid == 2 &&
           contents.subtitles[0].text == QStringLiteral("earlier subtitle") &&
           contents.chapters == QVector<qint64>{42};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // No copy: a read one byte past the input reaches past libFuzzer's buffer.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    PlaylistContents contents = Sentinel();
    const int result = MoviePlaylistReader::Parse(bytes, contents);
    switch (result) {
    case MoviePlaylistReader::kOk: break;
    case MoviePlaylistReader::kNotMoviePlaylist:
    case MoviePlaylistReader::kTooManyVideoStreams:
    case MoviePlaylistReader::kOutsideData:
        if (!IsSentinel(contents)) {
            std::abort();
        }
        break;
    default: std::abort();
    }
    return 0;
}
