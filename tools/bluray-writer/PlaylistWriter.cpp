#include "PlaylistWriter.h"

#include "ByteWriter.h"

#include <QtEndian>

#include <algorithm>

namespace PlaylistWriter {

namespace {

bool IsAudio(quint8 coding)
{
    return (coding >= 0x80 && coding <= 0x86) || coding == 0xA1 || coding == 0xA2;
}

void WriteStream(ByteWriter &out, const Stream &stream)
{
    // The stream entry: always nine bytes after its length byte.
    out.U8(9);
    out.U8(stream.streamType);
    switch (stream.streamType) {
    case 1:
        out.U16(stream.pid);
        out.Zeros(6);
        break;
    case 2:
    case 4:
        out.U8(0);
        out.U8(0);
        out.U16(stream.pid);
        out.Zeros(4);
        break;
    default:
        out.U8(0);
        out.U16(stream.pid);
        out.Zeros(5);
        break;
    }
    // The attributes, five bytes after their length byte.
    out.U8(5);
    out.U8(stream.codingType);
    if (IsAudio(stream.codingType)) {
        out.U8(stream.formatAndRate ? stream.formatAndRate : 0x31); // stereo, 48 kHz
        out.Raw(stream.language, 3);
    } else if (stream.codingType == 0x90 || stream.codingType == 0x91) {
        out.Raw(stream.language, 3);
        out.Zeros(1);
    } else if (stream.codingType == 0x92) {
        out.U8(0x01); // UTF-8
        out.Raw(stream.language, 3);
    } else {
        out.U8(stream.formatAndRate ? stream.formatAndRate : 0x41); // 1080i, 24000/1001
        out.Zeros(3);
    }
}

void WritePlayItem(ByteWriter &out, const PlayItem &item)
{
    ByteWriter body;
    body.Raw(item.clip, 5);
    body.Raw(item.codec, 4);
    const bool multiAngle = item.angleCount.has_value();
    body.U8(0);
    body.U8(multiAngle ? 0x10 | 0x01 : 0x01); // multi-angle flag, connection condition 1
    body.U8(0);                               // ref_to_STC_id
    body.U32(item.inTime);
    body.U32(item.outTime);
    body.Zeros(8); // user operation mask
    body.U8(0);    // random access flag
    body.U8(0);    // still mode
    body.U16(0);   // still time
    if (multiAngle) {
        body.U8(*item.angleCount);
        body.U8(0);
        for (const QByteArray &clip : item.angleClips) {
            body.Raw(clip, 5);
            body.Raw(item.codec, 4);
            body.U8(0);
        }
    }
    ByteWriter table;
    table.U16(0); // length, patched below
    table.U16(0);
    table.U8(item.videoCountOverride.value_or(quint8(item.video.size())));
    table.U8(quint8(item.audio.size()));
    table.U8(quint8(item.subtitles.size()));
    table.Zeros(9);
    for (const QVector<Stream> *streams : {&item.video, &item.audio, &item.subtitles}) {
        for (const Stream &stream : *streams) {
            WriteStream(table, stream);
        }
    }
    table.PatchU16(0, quint16(table.Size() - 2));
    body.Append(table);

    out.U16(quint16(body.Size()));
    out.Append(body);
}

} // namespace

QByteArray Write(const Playlist &playlist)
{
    ByteWriter file;
    file.Raw("MPLS0200", 8);
    file.U32(0); // PlayList start, patched below
    file.U32(0); // PlayListMark start
    file.U32(0); // no extension data
    file.Zeros(20);

    // AppInfoPlayList: a sequential playlist with no restrictions.
    file.U32(14);
    file.U8(0);
    file.U8(1);
    file.U16(0);
    file.Zeros(8);
    file.U16(0);

    const qsizetype playListStart = file.Size();
    file.PatchU32(8, quint32(playListStart));
    ByteWriter list;
    list.U16(0);
    list.U16(quint16(playlist.items.size() + playlist.zeroLengthItems));
    list.U16(0); // sub-paths
    for (const PlayItem &item : playlist.items) {
        WritePlayItem(list, item);
    }
    if (playlist.zeroLengthItems > 0) {
        list.Zeros(2 * playlist.zeroLengthItems + 48);
    }
    file.U32(quint32(list.Size()));
    file.Append(list);

    const qsizetype markStart = file.Size();
    file.PatchU32(12, quint32(markStart));
    ByteWriter marks;
    marks.U16(quint16(playlist.marks.size()));
    for (const Mark &mark : playlist.marks) {
        marks.U8(0);
        marks.U8(mark.type);
        marks.U16(mark.playItem);
        marks.U32(mark.timeStamp);
        marks.U16(0xFFFF); // entry elementary stream: none
        marks.U32(0);      // duration
    }
    file.U32(quint32(marks.Size()));
    file.Append(marks);
    return file.Data();
}

PlayItem SimpleItem(const QByteArray &clip, qint64 milliseconds)
{
    PlayItem item;
    item.clip = clip;
    item.inTime = 0;
    item.outTime = quint32(milliseconds * 45);
    item.audio = {Stream{0x81, 1, 0x1100, "eng"}};
    return item;
}

Playlist Chain(const QVector<Piece> &pieces, const QVector<qint64> &markMs)
{
    Playlist playlist;
    QVector<qint64> startMs; // of each item, on the title's time line
    qint64 titleMs = 0;
    for (const Piece &piece : pieces) {
        PlayItem item = SimpleItem(piece.clip, piece.milliseconds);
        item.inTime = quint32(piece.inMs * 45);
        item.outTime = quint32((piece.inMs + piece.milliseconds) * 45);
        playlist.items.append(item);
        startMs.append(titleMs);
        titleMs += piece.milliseconds;
    }
    for (const qint64 mark : markMs) {
        const auto after = std::upper_bound(startMs.begin(), startMs.end(), mark);
        if (mark < titleMs && after != startMs.begin()) {
            const int item = int(after - startMs.begin()) - 1;
            const qint64 clipMs = pieces[item].inMs + mark - startMs[item];
            playlist.marks.append(Mark{1, quint16(item), quint32(clipMs * 45)});
        }
    }
    return playlist;
}

} // namespace PlaylistWriter
