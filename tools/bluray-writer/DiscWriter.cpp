#include "DiscWriter.h"

#include "ByteWriter.h"
#include "PlaylistWriter.h"
#include "TransportScan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QtEndian>

namespace DiscWriter {

namespace {

constexpr int kFrameRate = 25;
const QString kPictureSize = QStringLiteral("320x240");
constexpr quint8 kVideoFormatAndRate = 0x33; // 480p (the nearest listed size), 25 Hz
constexpr quint8 kVideoShape = 2;            // a 4:3 picture
constexpr quint8 kAudioFormatAndRate = 0x31; // stereo, 48 kHz
constexpr quint16 kFirstSubtitlePid = 0x1200;
constexpr quint32 kTicksPerMs = 45; // playlist and clip information times: 45 kHz

// What a written clip holds, read back from its transport stream.
struct ClipFacts
{
    TransportScan::Contents contents;
    quint32 startTicks = 0; // first picture, 45 kHz
    quint32 endTicks = 0;   // end of the last picture, 45 kHz
    // Where the clip's milliseconds count from: the time of the first entry point as libbluray
    // reads it back from the map (the low eight bits of a 45 kHz time are not stored). A play
    // item starting earlier than that gets no time for its first packet.
    quint32 originTicks = 0;
    qint64 Milliseconds() const { return (endTicks - originTicks) / kTicksPerMs; }
};

class Writer
{
public:
    Writer(const Disc &disc, const QString &folder) : m_disc(disc), m_root(folder) {}

    bool Run();
    QString error;

private:
    const Disc &m_disc;
    QDir m_root;
    QHash<QByteArray, ClipFacts> m_clips;

    bool Fail(const QString &text)
    {
        error = text;
        return false;
    }
    QString Path(const QString &relative) const { return m_root.filePath(relative); }
    bool WriteFile(const QString &relative, const QByteArray &bytes);
    bool RunFfmpeg(const QStringList &arguments);

    bool Check();
    bool MakeClip(const Clip &clip, int index);
    bool WritePlaylist(const Title &title);
    bool WriteIndexAndObjects();
    bool WriteMetadata();
};

bool IsNumberName(const QByteArray &name)
{
    if (name.size() != 5) {
        return false;
    }
    for (char c : name) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

QByteArray EscapeXml(const QByteArray &text)
{
    QByteArray escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

QByteArray StreamCodingInfo(const TransportScan::ElementaryStream &stream)
{
    ByteWriter info;
    info.U8(stream.streamType);
    if (TransportScan::IsVideo(stream.streamType)) {
        info.U8(kVideoFormatAndRate);
        info.U8(quint8(kVideoShape << 4));
    } else {
        info.U8(kAudioFormatAndRate);
        info.Raw(stream.language.isEmpty() ? QByteArray("und") : stream.language, 3);
    }
    info.Zeros(21 - int(info.Size())); // the length real clip information files use
    ByteWriter out;
    out.U8(quint8(info.Size()));
    out.Append(info.Data());
    return out.Data();
}

// The entry point map of one video stream: coarse entries (the high bits of the time stamp and
// the full packet number) each leading a run of fine entries (the low bits of both). A coarse
// entry starts wherever the high bits change.
QByteArray EntryPointMap(const QVector<TransportScan::EntryPoint> &points, quint16 pid)
{
    struct Coarse
    {
        quint32 fineId, pts, packet;
    };
    QVector<Coarse> coarse;
    QVector<quint32> fine;
    for (const TransportScan::EntryPoint &point : points) {
        const quint32 highPts = quint32(point.pts >> 19) & 0x3FFF;
        const quint32 highPacket = point.packet >> 17;
        if (coarse.isEmpty() || coarse.last().pts != highPts ||
            (coarse.last().packet >> 17) != highPacket) {
            coarse.append(Coarse{quint32(fine.size()), highPts, point.packet});
        }
        const quint32 lowPts = quint32(point.pts >> 9) & 0x7FF;
        const quint32 lowPacket = point.packet & 0x1FFFF;
        // Every entry starts a closed group of pictures: an angle may change there. The end
        // position offset (three bits) is left at 1; libbluray does not read it.
        fine.append(0x80000000u | (1u << 28) | (lowPts << 17) | lowPacket);
    }

    ByteWriter map; // from the start of the entry point map
    map.U8(0);
    map.U8(1); // one stream
    map.U16(pid);
    const quint64 videoEntries = 1; // the entry point type of a video stream
    map.U48((videoEntries << 34) | (quint64(coarse.size()) << 18) | quint64(fine.size()));
    map.U32(map.Size() + 4); // this stream's map follows
    map.U32(4 + 8 * quint32(coarse.size()));
    for (const Coarse &entry : coarse) {
        map.U32((entry.fineId << 14) | entry.pts);
        map.U32(entry.packet);
    }
    for (quint32 entry : fine) {
        map.U32(entry);
    }
    return map.Data();
}

QByteArray ClipInformation(const ClipFacts &facts, quint32 recordingRate)
{
    const TransportScan::Contents &ts = facts.contents;
    ByteWriter file;
    file.Raw("HDMV0200", 8);
    file.Zeros(5 * 4); // block addresses, patched below
    file.Zeros(12);

    // ClipInfo: a main transport stream of a movie.
    ByteWriter clipInfo;
    clipInfo.U16(0);
    clipInfo.U8(1);  // clip stream type: AV stream
    clipInfo.U8(1);  // application type: main TS of a movie
    clipInfo.U32(0); // no arrival time deltas
    clipInfo.U32(recordingRate);
    clipInfo.U32(ts.packetCount);
    clipInfo.Zeros(128);
    ByteWriter typeInfo;
    typeInfo.U8(0x80);
    typeInfo.Raw("HDMV", 4);
    typeInfo.Zeros(25);
    clipInfo.U16(quint16(typeInfo.Size()));
    clipInfo.Append(typeInfo.Data());
    file.LengthBlock32(clipInfo);

    // SequenceInfo: one arrival time sequence holding one system time sequence.
    const quint32 sequenceStart = file.Size();
    ByteWriter sequence;
    sequence.U8(0);
    sequence.U8(1);
    sequence.U32(0); // its first packet
    sequence.U8(1);
    sequence.U8(0); // first system time sequence id
    sequence.U16(ts.pcrPid);
    sequence.U32(0);
    sequence.U32(facts.startTicks);
    sequence.U32(facts.endTicks);
    file.LengthBlock32(sequence);

    // ProgramInfo: the streams of the program map.
    const quint32 programStart = file.Size();
    ByteWriter program;
    program.U8(0);
    program.U8(1);
    program.U32(0);
    program.U16(ts.pmtPid);
    program.U8(quint8(ts.streams.size()));
    program.U8(0); // no groups
    for (const TransportScan::ElementaryStream &stream : ts.streams) {
        program.U16(stream.pid);
        program.Append(StreamCodingInfo(stream));
    }
    file.LengthBlock32(program);

    // CPI: the entry point map of the video stream.
    const quint32 cpiStart = file.Size();
    ByteWriter cpi;
    cpi.U16(1); // CPI type 1: entry point map
    const TransportScan::ElementaryStream &video = ts.streams[ts.videoIndex];
    cpi.Append(EntryPointMap(ts.entryPoints, video.pid));
    file.LengthBlock32(cpi);

    // ClipMark: empty.
    const quint32 markStart = file.Size();
    file.U32(0);

    file.PatchU32(8, sequenceStart);
    file.PatchU32(12, programStart);
    file.PatchU32(16, cpiStart);
    file.PatchU32(20, markStart);
    return file.Data();
}

// An HDMV navigation command: op count 1, the first operand immediate, no second operand.
void Command(ByteWriter &out, quint8 subGroup, quint8 branchOption, quint32 operand)
{
    out.U8(quint8((1 << 5) | (0 << 3) | subGroup)); // group 0: branch
    out.U8(quint8(0x80 | branchOption));
    out.U8(0);
    out.U8(0);
    out.U32(operand);
    out.U32(0);
}

constexpr quint8 kJump = 1, kJumpTitle = 1;
constexpr quint8 kPlay = 2, kPlayPlaylist = 0;

void WriteHdmvObjectReference(ByteWriter &out, quint16 object)
{
    out.U16(0); // playback type 0: movie
    out.U16(object);
    out.U32(0);
}

bool Writer::WriteFile(const QString &relative, const QByteArray &bytes)
{
    const QString path = Path(relative);
    if (!QDir().mkpath(QFileInfo(path).path())) {
        return Fail(QStringLiteral("cannot make the folder of %1").arg(path));
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        return Fail(QStringLiteral("cannot write %1").arg(path));
    }
    return true;
}

bool Writer::RunFfmpeg(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("ffmpeg"),
                  QStringList{"-nostdin", "-v", "error", "-y"} + arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return Fail(QStringLiteral("ffmpeg failed: %1 %2")
                        .arg(process.errorString(), QString::fromLocal8Bit(process.readAll())));
    }
    return true;
}

bool Writer::Check()
{
    QHash<QByteArray, const Clip *> clips;
    for (const Clip &clip : m_disc.clips) {
        if (!IsNumberName(clip.name) || clips.contains(clip.name)) {
            return Fail(
                QStringLiteral("bad or repeated clip name %1").arg(QString::fromLatin1(clip.name)));
        }
        if (clip.seconds < 1) {
            return Fail(QStringLiteral("clip %1 is shorter than a second")
                            .arg(QString::fromLatin1(clip.name)));
        }
        clips.insert(clip.name, &clip);
    }
    QHash<QByteArray, bool> playlists;
    for (const Title &title : m_disc.titles) {
        if (!IsNumberName(title.playlist) || playlists.contains(title.playlist)) {
            return Fail(QStringLiteral("bad or repeated playlist name %1")
                            .arg(QString::fromLatin1(title.playlist)));
        }
        playlists.insert(title.playlist, true);
        for (const TitleItem &item : title.items) {
            QVector<QByteArray> used = item.angleClips;
            used.prepend(item.clip);
            for (const QByteArray &name : used) {
                if (!clips.contains(name)) {
                    return Fail(
                        QStringLiteral("playlist %1 names the unknown clip %2")
                            .arg(QString::fromLatin1(title.playlist), QString::fromLatin1(name)));
                }
            }
        }
    }
    for (const auto &copy : m_disc.copies) {
        if (!IsNumberName(copy.first) || playlists.contains(copy.first) ||
            !playlists.contains(copy.second)) {
            return Fail(
                QStringLiteral("bad copy %1 of %2")
                    .arg(QString::fromLatin1(copy.first), QString::fromLatin1(copy.second)));
        }
        playlists.insert(copy.first, false);
    }
    return true;
}

bool Writer::MakeClip(const Clip &clip, int index)
{
    static const char *const kPictures[] = {"testsrc",    "testsrc2",    "smptebars",
                                            "rgbtestsrc", "smptehdbars", "yuvtestsrc"};
    const QString picture = QString::fromLatin1(kPictures[index % 6]);
    const QString stream =
        QStringLiteral("BDMV/STREAM/%1.m2ts").arg(QString::fromLatin1(clip.name));
    if (!QDir().mkpath(Path(QStringLiteral("BDMV/STREAM")))) {
        return Fail(QStringLiteral("cannot make %1").arg(Path(QStringLiteral("BDMV/STREAM"))));
    }
    QStringList arguments{
        "-f", "lavfi", "-i",
        QStringLiteral("%1=size=%2:rate=%3").arg(picture, kPictureSize).arg(kFrameRate)};
    for (int a = 0; a < clip.audioLanguages.size(); ++a) {
        const QString tone =
            QStringLiteral("sine=frequency=%1:sample_rate=48000").arg(440 + 220 * a);
        arguments += QStringList{"-f", "lavfi", "-i", tone};
    }
    arguments += QStringList{"-t", QString::number(clip.seconds), "-map", "0:v"};
    for (int a = 0; a < clip.audioLanguages.size(); ++a) {
        arguments += QStringList{
            "-map", QStringLiteral("%1:a").arg(a + 1), QStringLiteral("-metadata:s:a:%1").arg(a),
            QStringLiteral("language=%1").arg(QString::fromLatin1(clip.audioLanguages[a]))};
    }
    // One closed group of pictures a second, so that every second is a place to start from.
    const QString video =
        clip.video == Clip::H264
            ? QStringLiteral("-c:v libx264 -preset veryfast -pix_fmt yuv420p -g %1 -keyint_min %1 "
                             "-sc_threshold 0 -bf 2")
            : QStringLiteral("-c:v mpeg2video -b:v 1500k -g %1 -bf 2 -flags +cgop "
                             "-sc_threshold 1000000000");
    arguments += video.arg(kFrameRate).split(QLatin1Char(' '));
    if (!clip.audioLanguages.isEmpty()) {
        arguments += QStringList{"-c:a", "ac3", "-b:a", "96k", "-ac", "2"};
    }
    // 192-byte packets with arrival time stamps; video 0x1011, audio from 0x1100 on.
    arguments += QStringList{"-f", "mpegts", "-mpegts_m2ts_mode", "1", Path(stream)};
    if (!RunFfmpeg(arguments)) {
        return false;
    }

    QFile file(Path(stream));
    if (!file.open(QIODevice::ReadOnly)) {
        return Fail(QStringLiteral("cannot read %1").arg(file.fileName()));
    }
    QByteArray data = file.readAll();
    file.close();
    if (!TransportScan::PadToAlignedUnits(data) || !WriteFile(stream, data)) {
        return Fail(error.isEmpty()
                        ? QStringLiteral("%1 is not made of 192-byte packets").arg(stream)
                        : error);
    }
    ClipFacts facts;
    QString scanError;
    if (!TransportScan::Scan(data, facts.contents, &scanError)) {
        return Fail(QStringLiteral("%1: %2").arg(stream, scanError));
    }
    facts.startTicks = quint32(facts.contents.firstPts / 2);
    facts.endTicks = quint32(facts.contents.endPts / 2);
    facts.originTicks = quint32(facts.contents.entryPoints.first().pts / 2) & ~0xFFu;
    // Fill in languages the program map does not carry.
    int audio = 0;
    for (TransportScan::ElementaryStream &es : facts.contents.streams) {
        if (!TransportScan::IsVideo(es.streamType)) {
            if (es.language.isEmpty() && audio < clip.audioLanguages.size()) {
                es.language = clip.audioLanguages[audio];
            }
            ++audio;
        }
    }
    const quint32 rate = quint32((data.size() + clip.seconds - 1) / clip.seconds);
    m_clips.insert(clip.name, facts);
    return WriteFile(QStringLiteral("BDMV/CLIPINF/%1.clpi").arg(QString::fromLatin1(clip.name)),
                     ClipInformation(facts, rate));
}

bool Writer::WritePlaylist(const Title &title)
{
    using namespace PlaylistWriter;
    Playlist playlist;
    QVector<qint64> itemStartMs; // on the title's time line
    qint64 titleMs = 0;
    for (const TitleItem &titleItem : title.items) {
        const ClipFacts &facts = m_clips[titleItem.clip];
        const qint64 outMs = titleItem.outMs < 0 ? facts.Milliseconds() : titleItem.outMs;
        if (titleItem.inMs < 0 || titleItem.inMs >= outMs || outMs > facts.Milliseconds()) {
            return Fail(QStringLiteral("playlist %1: %2 to %3 ms lies outside clip %4 (%5 ms)")
                            .arg(QString::fromLatin1(title.playlist))
                            .arg(titleItem.inMs)
                            .arg(outMs)
                            .arg(QString::fromLatin1(titleItem.clip))
                            .arg(facts.Milliseconds()));
        }
        for (const QByteArray &angle : titleItem.angleClips) {
            if (outMs > m_clips[angle].Milliseconds()) {
                return Fail(QStringLiteral("playlist %1: angle clip %2 ends before %3 ms")
                                .arg(QString::fromLatin1(title.playlist))
                                .arg(QString::fromLatin1(angle))
                                .arg(outMs));
            }
        }
        PlayItem item;
        item.clip = titleItem.clip;
        item.inTime = facts.originTicks + quint32(titleItem.inMs * kTicksPerMs);
        item.outTime = facts.originTicks + quint32(outMs * kTicksPerMs);
        if (!titleItem.angleClips.isEmpty()) {
            item.angleCount = quint8(1 + titleItem.angleClips.size());
            item.angleClips = titleItem.angleClips;
        }
        item.video.clear();
        item.audio.clear();
        for (const TransportScan::ElementaryStream &es : facts.contents.streams) {
            if (TransportScan::IsVideo(es.streamType)) {
                if (item.video.isEmpty()) {
                    item.video.append(Stream{es.streamType, 1, es.pid, {}, kVideoFormatAndRate});
                }
            } else {
                item.audio.append(
                    Stream{es.streamType, 1, es.pid, es.language, kAudioFormatAndRate});
            }
        }
        for (int s = 0; s < title.subtitleLanguages.size(); ++s) {
            item.subtitles.append(
                Stream{0x90, 1, quint16(kFirstSubtitlePid + s), title.subtitleLanguages[s]});
        }
        playlist.items.append(item);
        itemStartMs.append(titleMs);
        titleMs += outMs - titleItem.inMs;
    }
    for (qint64 chapter : title.chapterMs) {
        int index = int(itemStartMs.size()) - 1;
        while (index > 0 && itemStartMs[index] > chapter) {
            --index;
        }
        if (chapter < 0 || chapter > titleMs || index < 0) {
            return Fail(QStringLiteral("playlist %1: chapter at %2 ms lies outside the title")
                            .arg(QString::fromLatin1(title.playlist))
                            .arg(chapter));
        }
        const quint32 stamp =
            playlist.items[index].inTime + quint32((chapter - itemStartMs[index]) * kTicksPerMs);
        playlist.marks.append(Mark{1, quint16(index), stamp});
    }
    return WriteFile(
        QStringLiteral("BDMV/PLAYLIST/%1.mpls").arg(QString::fromLatin1(title.playlist)),
        Write(playlist));
}

bool Writer::WriteIndexAndObjects()
{
    QVector<QByteArray> playlists;
    for (const Title &title : m_disc.titles) {
        playlists.append(title.playlist);
    }
    for (const auto &copy : m_disc.copies) {
        playlists.append(copy.first);
    }
    const quint16 startObject = quint16(playlists.size()); // first play and top menu

    ByteWriter objects;
    objects.U32(0); // reserved
    objects.U16(quint16(playlists.size() + 1));
    for (const QByteArray &playlist : playlists) {
        objects.U16(0x8000); // resume intention; menu call and title search allowed
        objects.U16(1);
        Command(objects, kPlay, kPlayPlaylist, quint32(playlist.toUInt()));
    }
    objects.U16(0);
    objects.U16(playlists.isEmpty() ? 0 : 1);
    if (!playlists.isEmpty()) {
        Command(objects, kJump, kJumpTitle, 1);
    }
    ByteWriter movieObjects;
    movieObjects.Raw("MOBJ0200", 8);
    movieObjects.U32(0); // no extension data
    movieObjects.Zeros(28);
    movieObjects.LengthBlock32(objects);

    ByteWriter indexes;
    for (int i = 0; i < 2; ++i) { // first play, top menu
        indexes.U8(0x40);         // object type 1: HDMV
        indexes.Zeros(3);
        WriteHdmvObjectReference(indexes, startObject);
    }
    indexes.U16(quint16(playlists.size()));
    for (int i = 0; i < playlists.size(); ++i) {
        indexes.U8(0x40); // HDMV, access type 0: title search permitted
        indexes.Zeros(3);
        WriteHdmvObjectReference(indexes, quint16(i));
    }
    ByteWriter index;
    index.Raw("INDX0200", 8);
    index.U32(0); // indexes start, patched below
    index.U32(0); // no extension data
    index.Zeros(24);
    ByteWriter appInfo;
    appInfo.Zeros(2);  // no output mode preference, no 3D; no initial video format or rate
    appInfo.Zeros(32); // user data
    index.LengthBlock32(appInfo);
    index.PatchU32(8, index.Size());
    index.LengthBlock32(indexes);

    return WriteFile(QStringLiteral("BDMV/index.bdmv"), index.Data()) &&
           WriteFile(QStringLiteral("BDMV/MovieObject.bdmv"), movieObjects.Data());
}

bool Writer::WriteMetadata()
{
    if (m_disc.name.isEmpty() && !m_disc.withThumbnail) {
        return true;
    }
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<disclib xmlns=\"urn:BDA:bdmv;disclib\" xmlns:di=\"urn:BDA:bdmv;discinfo\">\n"
                     "  <di:discinfo>\n"
                     "    <di:language>eng</di:language>\n";
    if (!m_disc.name.isEmpty()) {
        xml += "    <di:title>\n"
               "      <di:name>" +
               EscapeXml(m_disc.name) +
               "</di:name>\n"
               "    </di:title>\n";
    }
    if (m_disc.withThumbnail) {
        xml += "    <di:description>\n"
               "      <di:thumbnail href=\"thumb.jpg\" />\n"
               "    </di:description>\n";
        if (!QDir().mkpath(Path(QStringLiteral("BDMV/META/DL"))) ||
            !RunFfmpeg({"-f", "lavfi", "-i", "testsrc2=size=416x240:rate=1", "-frames:v", "1",
                        Path(QStringLiteral("BDMV/META/DL/thumb.jpg"))})) {
            return Fail(error.isEmpty() ? QStringLiteral("cannot make the thumbnail") : error);
        }
    }
    xml += "  </di:discinfo>\n"
           "</disclib>\n";
    return WriteFile(QStringLiteral("BDMV/META/DL/bdmt_eng.xml"), xml);
}

bool Writer::Run()
{
    if (!Check()) {
        return false;
    }
    if (!m_root.mkpath(QStringLiteral("."))) {
        return Fail(QStringLiteral("cannot make %1").arg(m_root.path()));
    }
    m_root.setPath(m_root.absolutePath());
    for (int i = 0; i < m_disc.clips.size(); ++i) {
        if (!MakeClip(m_disc.clips[i], i)) {
            return false;
        }
    }
    for (const Title &title : m_disc.titles) {
        if (!WritePlaylist(title)) {
            return false;
        }
    }
    for (const auto &copy : m_disc.copies) {
        QFile original(
            Path(QStringLiteral("BDMV/PLAYLIST/%1.mpls").arg(QString::fromLatin1(copy.second))));
        if (!original.open(QIODevice::ReadOnly) ||
            !WriteFile(QStringLiteral("BDMV/PLAYLIST/%1.mpls").arg(QString::fromLatin1(copy.first)),
                       original.readAll())) {
            return Fail(error.isEmpty() ? QStringLiteral("cannot copy %1").arg(original.fileName())
                                        : error);
        }
    }
    return WriteIndexAndObjects() && WriteMetadata();
}

} // namespace

bool Write(const Disc &disc, const QString &folder, QString *error)
{
    Writer writer(disc, folder);
    const bool written = writer.Run();
    if (!written && error) {
        *error = writer.error;
    }
    return written;
}

bool WritePlaylists(const QVector<QPair<QByteArray, PlaylistWriter::Playlist>> &playlists,
                    const QString &folder, QString *error)
{
    const QDir root(folder);
    if (!root.mkpath(QStringLiteral("BDMV/STREAM")) ||
        !root.mkpath(QStringLiteral("BDMV/PLAYLIST"))) {
        if (error) {
            *error = QStringLiteral("cannot make the folders of %1").arg(folder);
        }
        return false;
    }
    for (const auto &playlist : playlists) {
        QFile file(root.filePath(
            QStringLiteral("BDMV/PLAYLIST/%1.mpls").arg(QString::fromLatin1(playlist.first))));
        const QByteArray bytes = PlaylistWriter::Write(playlist.second);
        if (!IsNumberName(playlist.first) ||
            !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size()) {
            if (error) {
                *error = QStringLiteral("cannot write %1").arg(file.fileName());
            }
            return false;
        }
    }
    return true;
}

Disc DemoDisc()
{
    Disc disc;
    disc.name = "Tavrix Demo Disc";
    disc.clips = {
        Clip{"00001", 12, Clip::Mpeg2, {"eng", "fra"}},
        Clip{"00002", 6, Clip::H264, {"eng"}},
        Clip{"00003", 4, Clip::H264, {"eng"}},
    };
    Title main{"00001", {TitleItem{"00001", 0, -1, {}}}, {0, 4000, 8000}, {"eng"}};
    Title second{"00002", {TitleItem{"00002", 0, -1, {}}}, {0, 3000}, {}};
    Title angles{"00003", {TitleItem{"00002", 0, 4000, {"00003"}}}, {0}, {}};
    Title loopMenu{"00005",
                   {TitleItem{"00003", 0, 1000, {}}, TitleItem{"00002", 0, 1000, {}},
                    TitleItem{"00002", 1000, 2000, {}}},
                   {0},
                   {}};
    disc.titles = {main, second, angles, loopMenu};
    disc.copies = {{"00004", "00001"}};
    return disc;
}

Disc EpisodesDemoDisc()
{
    Disc disc;
    disc.name = "Tavrix Demo Series";
    // Clips are drawn with the pictures in turn: the third and fourth are still bars.
    disc.clips = {Clip{"00001", 5, Clip::H264, {"eng"}}, Clip{"00002", 5, Clip::H264, {"eng"}},
                  Clip{"00003", 900, Clip::H264, {"eng"}}, Clip{"00004", 900, Clip::H264, {"eng"}}};
    const TitleItem opening{"00001", 0, -1, {}}, ending{"00002", 0, -1, {}};
    const TitleItem first{"00003", 0, -1, {}}, second{"00004", 0, -1, {}};
    disc.titles = {
        Title{"00001", {opening, first, ending, opening, second, ending}, {0}, {}},
        Title{"00002", {opening, first, ending}, {0}, {}},
        Title{"00003", {opening, second, ending}, {0}, {}},
        Title{"00004", {opening}, {0}, {}},
    };
    return disc;
}

} // namespace DiscWriter
