// disc-scan: shows what a Blu-ray folder or image holds, the way the player reads it.
//   disc-scan FOLDER|IMAGE      the disc's name, thumbnail and titles, longest first, and its
//                               episodes in order
//   disc-scan --playlist FILE   one playlist file as the reader returns it
// What it prints is bounded as the scan and the reader bound what they keep (kMaxDiscRecords,
// MoviePlaylistReader::kMaxPlayItems and kMaxMarks): some tens of megabytes at most.
#include "JsonWriter.h"

#include "disc/EpisodeReader.h"
#include "disc/MoviePlaylistReader.h"
#include "disc/SourceClassification.h"
#include "disc/TitleScan.h"

#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

void WriteStreams(JsonWriter &json, const QVector<StreamRecord> &streams)
{
    json.BeginArray();
    for (const StreamRecord &stream : streams) {
        json.BeginObject().Member("pid", stream.pid).Member("text", stream.text).EndObject();
    }
    json.EndArray();
}

void WritePlayItems(JsonWriter &json, const QVector<PlayItemRecord> &items)
{
    json.BeginArray();
    for (const PlayItemRecord &item : items) {
        json.BeginObject();
        json.Member("clip", item.clipName).Member("inMs", item.inMs);
        json.Member("startMs", item.startMs).Member("durationMs", item.durationMs);
        json.EndObject();
    }
    json.EndArray();
}

void WriteChapters(JsonWriter &json, const QVector<qint64> &chapters)
{
    json.BeginArray();
    for (const qint64 chapter : chapters) {
        json.Value(chapter);
    }
    json.EndArray();
}

void WriteScan(JsonWriter &json, const DiscScan &scan)
{
    json.BeginObject().Key("disc").BeginObject();
    json.Member("name", QString::fromLocal8Bit(scan.metadata.name));
    json.Member("thumbnail", QString::fromLocal8Bit(scan.metadata.thumbnail));
    json.EndObject();
    json.Key("titles").BeginArray();
    for (const ScannedTitle &title : scan.titles) {
        json.BeginObject().Member("key", title.key).Member("number", title.number);
        json.Member("duration", title.durationText);
        json.Key("chapters");
        WriteChapters(json, title.contents.chapters);
        json.Key("audio");
        WriteStreams(json, title.contents.audio);
        json.Key("subtitles");
        WriteStreams(json, title.contents.subtitles);
        json.Key("playItems");
        WritePlayItems(json, title.contents.playItems);
        json.EndObject();
    }
    json.EndArray();
    json.Key("episodes").BeginArray();
    for (const Episode &episode : FindEpisodes(scan)) {
        json.BeginObject().Member("title", episode.titleKey);
        json.Member("startMs", episode.startMs).Member("lengthMs", episode.lengthMs);
        json.Key("clips").BeginArray();
        for (const QString &clip : episode.clips) {
            json.Value(clip);
        }
        json.EndArray().EndObject();
    }
    json.EndArray().EndObject();
}

void WritePlaylist(JsonWriter &json, int result, const PlaylistContents &contents)
{
    json.BeginObject().Key("result").Value(result).Key("playItems");
    WritePlayItems(json, contents.playItems);
    json.Key("chapters");
    WriteChapters(json, contents.chapters);
    json.Key("audio");
    WriteStreams(json, contents.audio);
    json.Key("subtitles");
    WriteStreams(json, contents.subtitles);
    json.EndObject();
}

// Ends the run with the output written out. A failed write (a full disc, a closed pipe) fails the
// run. std::exit leaves main's scan unfreed: the system takes it back at once, where freeing
// its thousands of blocks one by one would cost a tenth of a large disc's run.
[[noreturn]] void Finish(JsonWriter &json)
{
    json.Flush();
    std::fputc('\n', stdout);
    std::exit(std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1);
}

int Usage()
{
    std::fputs("usage: disc-scan FOLDER | disc-scan IMAGE | disc-scan --playlist FILE\n", stderr);
    return 64;
}

} // namespace

int main(int argc, char *argv[])
{
    // No application object: nothing here needs one, and making it costs more than a small
    // disc's whole scan.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    JsonWriter json(stdout);
    if (arguments.size() == 2 && arguments[0] == QLatin1String("--playlist")) {
        PlaylistContents contents;
        const int result = MoviePlaylistReader().Read(arguments[1], contents);
        WritePlaylist(json, result, contents);
        Finish(json);
    }
    if (arguments.size() == 1 && !arguments[0].startsWith(QLatin1String("--"))) {
        const QString &disc = arguments[0];
        const bool image = QFileInfo(disc).isFile();
        DiscContents read;
        if (image) {
            read = ScanDiscImage(disc);
        } else {
            read.kind = ClassifyDiscFolder(disc);
            if (read.kind == DiscFolderKind::BluRay) {
                read.scan = ScanBluRayFolder(disc);
            }
        }
        if (read.kind != DiscFolderKind::BluRay) {
            std::fprintf(stderr, "disc-scan: %s is not a Blu-ray %s\n", qPrintable(disc),
                         image ? "image" : "folder");
            return 2;
        }
        WriteScan(json, read.scan);
        Finish(json);
    }
    return Usage();
}
