#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>

#include <optional>

// Writes Blu-ray movie playlist files (.mpls) from a short description, laid out as the format
// publishes them, so that tests and test discs can be made without any disc at hand.
namespace PlaylistWriter {

struct Stream
{
    quint8 codingType = 0x81; // 0x1B H.264, 0x02 MPEG-2 video, 0x81 AC-3, 0x90 graphics, ...
    quint8 streamType = 1;    // 1: in the main clip; 2, 3, 4: in a sub-path
    quint16 pid = 0x1100;
    QByteArray language = "eng";
    // Video and audio entries: the format (high nibble) and rate (low nibble) byte of the
    // attributes; 0 writes 0x41 for video (1080i, 23.976) and 0x31 for audio (stereo, 48 kHz).
    quint8 formatAndRate = 0;
};

struct PlayItem
{
    QByteArray clip = "00001"; // clip information file name, five characters
    QByteArray codec = "M2TS";
    quint32 inTime = 0; // 45 kHz ticks
    quint32 outTime = 45000;
    // Multi-angle items: the angle count written (it may differ from the clips given, to
    // write unusual files) and the clips of the angles after the first.
    std::optional<quint8> angleCount;
    QVector<QByteArray> angleClips;
    QVector<Stream> video{Stream{0x1B, 1, 0x1011, {}}};
    QVector<Stream> audio;
    QVector<Stream> subtitles; // counted among the graphics and text subtitle entries
    std::optional<quint8> videoCountOverride; // a count to write instead of video.size()
};

struct Mark
{
    quint8 type = 1; // 1: entry mark (a chapter)
    quint16 playItem = 0;
    quint32 timeStamp = 0; // 45 kHz ticks, on the play item's clip
};

struct Playlist
{
    QVector<PlayItem> items;
    QVector<Mark> marks;
    // Play items of length 0 after the others, counted with them: two zero bytes each, and the
    // 48 zero bytes of fields a reader taking the last of them would read. No disc holds them.
    int zeroLengthItems = 0;
};

QByteArray Write(const Playlist &playlist);

// One item of the given clip and length with an H.264 video and English AC-3 audio stream.
PlayItem SimpleItem(const QByteArray &clip, qint64 milliseconds);

// A stretch of a clip, in milliseconds.
struct Piece
{
    QByteArray clip = "00001";
    qint64 milliseconds = 1000;
    qint64 inMs = 0;
};

// A playlist of simple items that play the pieces one after another, with an entry mark at each
// of markMs on the title's time line (a mark that lies past the last piece is left out).
Playlist Chain(const QVector<Piece> &pieces, const QVector<qint64> &markMs = {});

} // namespace PlaylistWriter
