#include "disc/MoviePlaylistReader.h"

#include "disc/BigEndianReader.h"
#include "platform/BoundedFileRead.h"

#include <QStringBuilder>

#include <algorithm>
#include <utility>

namespace {

// Times in a playlist count 45 000 ticks a second.
constexpr quint32 kTicksPerMs = 45;
constexpr int kMaxPrimaryVideoStreams = 3;
constexpr quint8 kMultiAngleFlag = 0x10;
constexpr quint8 kEntryMark = 1;
constexpr qint64 kMarkSize = 14;
constexpr qint64 kAngleEntrySize = 10;
constexpr qsizetype kClipNameSize = 5;
constexpr qsizetype kCodecSize = 4;
// After its length field a play item holds 32 bytes of fixed fields, the angles of a
// multi-angle item, then a stream table whose head takes 16 bytes before its entries.
constexpr qint64 kPlayItemFieldsSize = 32;
constexpr qint64 kStreamTableHeadSize = 16;
constexpr qint64 kMinPlayItemSize = 2 + kPlayItemFieldsSize + kStreamTableHeadSize;
// Play items name few clips many times over; this many names are made once and shared.
constexpr qsizetype kMaxSharedClipNames = 16;

struct LanguageName
{
    const char *code;
    const char *name;
};

constexpr LanguageName kLanguageNames[] = {
    {"eng", "English"}, {"msa", "Malay"},    {"zho", "Chinese"},  {"spa", "Spanish"},
    {"fra", "French"},  {"hin", "Hindi"},    {"jpn", "Japanese"}, {"kor", "Korean"},
    {"tha", "Thai"},    {"por", "Portugal"},
};

// A fixed-width text field up to its first NUL, as the C string it was written as.
QLatin1String FieldText(QByteArrayView field)
{
    const qsizetype nul = field.indexOf('\0');
    return QLatin1String(field.data(), nul < 0 ? field.size() : nul);
}

// The clip file name "name.codec", read as one C string.
QString ClipName(QByteArrayView name, QByteArrayView codec)
{
    char text[kClipNameSize + 1 + kCodecSize];
    const qsizetype nameSize = std::min<qsizetype>(name.size(), kClipNameSize);
    const qsizetype codecSize = std::min<qsizetype>(codec.size(), kCodecSize);
    std::copy_n(name.data(), nameSize, text);
    text[nameSize] = '.';
    std::copy_n(codec.data(), codecSize, text + nameSize + 1);
    return FieldText(QByteArrayView(text, nameSize + 1 + codecSize));
}

QString StreamText(QByteArrayView code, const char *suffix)
{
    for (const LanguageName &known : kLanguageNames) {
        if (code == known.code) {
            return QLatin1String(known.name) % QLatin1String(suffix);
        }
    }
    return QString(FieldText(code)).toUpper() + QLatin1String(suffix);
}

enum class StreamList
{
    None,
    Audio,
    Graphics,
    Text,
};

struct CodingType
{
    StreamList list = StreamList::None;
    const char *suffix = "";
    qint64 languageOffset = 3; // in the attributes
};

CodingType Coding(quint8 type)
{
    switch (type) {
    case 0x80: return {StreamList::Audio, " LPCM"};
    case 0x81: return {StreamList::Audio, " AC3"};
    case 0x82: return {StreamList::Audio, " DTS"};
    case 0x83: return {StreamList::Audio, " TRUEHD"};
    case 0x84: return {StreamList::Audio, " EAC3"};
    case 0x85: return {StreamList::Audio, " DTS HD"};
    case 0x86: return {StreamList::Audio, " DTS HD XLL"};
    case 0xA1: return {StreamList::Audio, " EAC3"};
    case 0xA2: return {StreamList::Audio, ""};
    case 0x90:
    case 0x91: return {StreamList::Graphics, "", 2};
    case 0x92: return {StreamList::Text, ""};
    default: return {};
    }
}

class PlaylistParser
{
public:
    explicit PlaylistParser(const QByteArray &data) : m_reader(data) {}

    int Parse(PlaylistContents &contents);

private:
    int ParsePlayItem(qint64 &position);
    QString SharedClipName(QByteArrayView name, QByteArrayView codec);
    void ParseStreamEntry(qint64 &position);
    void ParseMarks(qint64 markStart);
    // A record whose declared end comes before the end of what was read of it is a lie that
    // makes the next record overlap it: a chain of zero lengths would walk two bytes a record.
    void RequireInside(qint64 readEnd, qint64 declaredEnd)
    {
        if (readEnd > declaredEnd) {
            m_reader.Fail();
        }
    }

    BigEndianReader m_reader;
    QVector<PlayItemRecord> m_items;
    QVector<StreamRecord> m_audio;
    QVector<StreamRecord> m_graphics;
    QVector<StreamRecord> m_text;
    QVector<qint64> m_chapters;
    struct ClipNameText
    {
        QByteArrayView name;
        QByteArrayView codec;
        QString text;
    };
    QVector<ClipNameText> m_clipNames;
    qint64 m_runningStartMs = 0;
    bool m_keepStreams = false;
};

int PlaylistParser::Parse(PlaylistContents &contents)
{
    if (m_reader.Bytes(0, 4) != "MPLS") {
        return MoviePlaylistReader::kNotMoviePlaylist;
    }
    const qint64 playListStart = m_reader.U32(8);
    const qint64 markStart = m_reader.U32(12);
    const qint64 playListEnd = playListStart + 4 + m_reader.U32(playListStart);
    const int itemCount = m_reader.U16(playListStart + 6);
    if (itemCount > MoviePlaylistReader::kMaxPlayItems) {
        m_reader.Fail();
    }
    if (m_reader.Failed()) {
        return MoviePlaylistReader::kOutsideData;
    }

    // No more items than the bytes can hold, whatever the count says.
    m_items.reserve(std::min<qint64>(itemCount, m_reader.Size() / kMinPlayItemSize));
    int result = MoviePlaylistReader::kOk;
    qint64 position = playListStart + 10;
    for (int item = 0; item < itemCount; ++item) {
        // Only the streams of the last play item reach the menus; the others are only walked.
        m_keepStreams = item + 1 == itemCount;
        result = ParsePlayItem(position);
        if (m_reader.Failed()) {
            return MoviePlaylistReader::kOutsideData;
        }
    }
    RequireInside(position, playListEnd);
    if (m_reader.Failed()) {
        return MoviePlaylistReader::kOutsideData;
    }
    if (result != MoviePlaylistReader::kOk) {
        return result;
    }
    ParseMarks(markStart);
    if (m_reader.Failed()) {
        return MoviePlaylistReader::kOutsideData;
    }

    contents.chapters = m_chapters;
    // A menu loop repeats one clip; such a playlist is no title.
    if (m_items.size() >= 3 && m_items[1].clipName == m_items[2].clipName) {
        return MoviePlaylistReader::kOk;
    }
    contents.playItems = m_items;
    contents.audio = m_audio;
    contents.subtitles = m_graphics.isEmpty() ? m_text : m_graphics;
    return MoviePlaylistReader::kOk;
}

int PlaylistParser::ParsePlayItem(qint64 &position)
{
    const qint64 start = position;
    const qint64 end = start + 2 + m_reader.U16(start);
    PlayItemRecord record;
    record.clipName = SharedClipName(m_reader.Bytes(start + 2, kClipNameSize),
                                     m_reader.Bytes(start + 7, kCodecSize));
    const quint32 inTicks = m_reader.U32(start + 14);
    const quint32 outTicks = m_reader.U32(start + 18);
    // An item that ends before it starts would give negative lengths and chapter times.
    if (outTicks < inTicks) {
        m_reader.Fail();
    }
    record.inMs = inTicks / kTicksPerMs;
    record.durationMs = outTicks / kTicksPerMs - record.inMs;
    record.startMs = m_runningStartMs;
    m_runningStartMs += record.durationMs;
    m_items.append(std::move(record));

    const qint64 fieldsEnd = start + 2 + kPlayItemFieldsSize;
    qint64 table = fieldsEnd;
    if (m_reader.U8(start + 12) & kMultiAngleFlag) {
        const qint8 angles = static_cast<qint8>(m_reader.U8(fieldsEnd));
        table = angles == 0 ? fieldsEnd + 2 : fieldsEnd + 2 + kAngleEntrySize * (angles - 1);
    }
    const qint8 videoCount = static_cast<qint8>(m_reader.U8(table + 4));
    const qint8 audioCount = static_cast<qint8>(m_reader.U8(table + 5));
    const qint8 subtitleCount = static_cast<qint8>(m_reader.U8(table + 6));
    int result = MoviePlaylistReader::kOk;
    qint64 entry = table + kStreamTableHeadSize;
    if (videoCount > kMaxPrimaryVideoStreams) {
        result = MoviePlaylistReader::kTooManyVideoStreams;
    } else {
        const int entries = std::max<int>(videoCount, 0) + std::max<int>(audioCount, 0) +
                            std::max<int>(subtitleCount, 0);
        for (int i = 0; i < entries && !m_reader.Failed(); ++i) {
            ParseStreamEntry(entry);
        }
    }
    // The item's length counts up to 0xFFFF, so it never leads back over what was read; it
    // must hold every field read of the item and lie inside the data.
    RequireInside(entry, end);
    m_reader.Has(start, end - start);
    position = end;
    return result;
}

QString PlaylistParser::SharedClipName(QByteArrayView name, QByteArrayView codec)
{
    for (const ClipNameText &known : std::as_const(m_clipNames)) {
        if (known.name == name && known.codec == codec) {
            return known.text;
        }
    }
    const QString text = ClipName(name, codec);
    if (m_clipNames.size() < kMaxSharedClipNames) {
        m_clipNames.append({name, codec, text});
    }
    return text;
}

void PlaylistParser::ParseStreamEntry(qint64 &position)
{
    const qint64 entry = position;
    const quint8 entryLength = m_reader.U8(entry);
    int pid = 0;
    qint64 entryReadEnd = entry + 2; // the stream type
    switch (m_reader.U8(entry + 1)) {
    case 1:
        pid = m_reader.U16(entry + 2);
        entryReadEnd = entry + 4;
        break;
    case 2:
        pid = m_reader.U16(entry + 4);
        entryReadEnd = entry + 6;
        break;
    case 3:
        pid = m_reader.U16(entry + 3);
        entryReadEnd = entry + 5;
        break;
    default: break;
    }
    const qint64 attributes = entry + 1 + entryLength;
    const quint8 attributesLength = m_reader.U8(attributes);
    const qint64 attributesEnd = attributes + 1 + attributesLength;
    m_reader.Has(entry, 1 + qint64(entryLength));
    m_reader.Has(attributes, 1 + qint64(attributesLength));
    RequireInside(entryReadEnd, attributes);
    const CodingType coding = Coding(m_reader.U8(attributes + 1));
    // Every stream's language must lie inside the data and its attributes, whether the stream
    // is kept or not.
    const qint64 languageAt = attributes + coding.languageOffset;
    RequireInside(coding.list == StreamList::None ? attributes + 2 : languageAt + 3,
                  attributesEnd);
    const QByteArrayView language =
        coding.list == StreamList::None ? QByteArrayView() : m_reader.Bytes(languageAt, 3);
    if (coding.list != StreamList::None && m_keepStreams) {
        const StreamRecord stream{pid, StreamText(language, coding.suffix)};
        switch (coding.list) {
        case StreamList::Audio: m_audio.append(stream); break;
        case StreamList::Graphics: m_graphics.append(stream); break;
        case StreamList::Text: m_text.append(stream); break;
        case StreamList::None: break;
        }
    }
    position = attributesEnd;
}

void PlaylistParser::ParseMarks(qint64 markStart)
{
    m_chapters.clear();
    const qint64 marksEnd = markStart + 4 + m_reader.U32(markStart);
    const int markCount = m_reader.U16(markStart + 4);
    if (markCount > MoviePlaylistReader::kMaxMarks) {
        m_reader.Fail();
    }
    m_reader.Has(markStart + 6, kMarkSize * markCount);
    RequireInside(markStart + 6 + kMarkSize * markCount, marksEnd);
    for (int i = 0; i < markCount && !m_reader.Failed(); ++i) {
        const qint64 mark = markStart + 6 + kMarkSize * i;
        const quint8 type = m_reader.U8(mark + 1);
        const quint16 item = m_reader.U16(mark + 2);
        const quint32 timeStamp = m_reader.U32(mark + 4);
        if (type == kEntryMark && item < m_items.size()) {
            const PlayItemRecord &target = m_items[item];
            m_chapters.append(target.startMs - target.inMs + timeStamp / kTicksPerMs);
        }
    }
}

} // namespace

int MoviePlaylistReader::Parse(const QByteArray &data, PlaylistContents &contents)
{
    return PlaylistParser(data).Parse(contents);
}

int MoviePlaylistReader::Read(const QString &path, PlaylistContents &contents)
{
    QByteArray data;
    if (!ReadRegularFile(path, kMaxFileSize, data)) {
        return kCannotOpen;
    }
    return Parse(data, contents);
}
