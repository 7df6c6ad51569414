// Writes the seed inputs of the playlist and metadata fuzzers: a few dozen varied .mpls files
// from the playlist writer and a few metadata texts.
//
//   make-seed-corpus FOLDER   writes FOLDER/playlist/*.mpls and FOLDER/metadata/*.xml
//
// Built with TAVRIX_SEED_CORPUS_NO_MAIN, the file only provides SeedPlaylists() and
// SeedMetadata(), so that a test can replay the same inputs without the folder.
#include "PlaylistWriter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QPair>
#include <QString>
#include <QVector>
#include <QtEndian>

#include <cstdio>

using namespace PlaylistWriter;

namespace {

Stream AudioStream(quint8 coding, const QByteArray &language, quint16 pid)
{
    return Stream{coding, 1, pid, language};
}

PlayItem ClipItem(const QByteArray &clip, quint32 inTicks, quint32 outTicks)
{
    PlayItem item;
    item.clip = clip;
    item.inTime = inTicks;
    item.outTime = outTicks;
    return item;
}

// Every audio coding type, every subtitle kind, every stream type, in one item.
PlayItem ManyStreams(const QByteArray &clip)
{
    PlayItem item = ClipItem(clip, 45000, 45000 * 3600);
    item.video = {Stream{0x1B, 1, 0x1011, {}}, Stream{0x02, 2, 0x1012, {}},
                  Stream{0xEA, 3, 0x1013, {}}};
    const quint8 audio[] = {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0xA1, 0xA2, 0x87};
    const char *languages[] = {"eng", "msa", "zho", "spa", "fra", "hin",
                               "jpn", "kor", "tha", "por", "deu", "ENG"};
    quint16 pid = 0x1100;
    int language = 0;
    for (quint8 coding : audio) {
        item.audio << Stream{coding, quint8(1 + language % 4), pid++, languages[language % 12]};
        ++language;
    }
    for (quint8 coding : {0x90, 0x91, 0x92, 0x90, 0x92}) {
        item.subtitles << Stream{coding, quint8(1 + language % 4), pid++, languages[language % 12]};
        ++language;
    }
    return item;
}

PlayItem MultiAngle(const QByteArray &clip, quint8 angles, int clips)
{
    PlayItem item = SimpleItem(clip, 60000);
    item.angleCount = angles;
    for (int i = 0; i < clips; ++i) {
        item.angleClips << QByteArray::number(500 + i).rightJustified(5, '0');
    }
    item.subtitles = {Stream{0x90, 1, 0x1200, "eng"}};
    return item;
}

QVector<Mark> EntryMarks(int items, int perItem)
{
    QVector<Mark> marks;
    for (int item = 0; item < items; ++item) {
        for (int i = 0; i < perItem; ++i) {
            marks << Mark{1, quint16(item), quint32(45000 * 60 * i)};
        }
    }
    return marks;
}

} // namespace

QVector<QPair<QString, QByteArray>> SeedPlaylists()
{
    QVector<QPair<QString, QByteArray>> seeds;
    auto add = [&seeds](const char *name, const Playlist &playlist) {
        seeds.append({QString::fromLatin1(name), Write(playlist)});
    };

    add("empty", Playlist{});
    add("one-item", Playlist{{SimpleItem("00001", 5400000)}, {Mark{1, 0, 0}}});
    add("two-items",
        Playlist{{SimpleItem("00001", 10000), SimpleItem("00002", 20000)}, EntryMarks(2, 3)});
    add("three-items", Playlist{{SimpleItem("00001", 10000), SimpleItem("00002", 20000),
                                 SimpleItem("00003", 30000)},
                                EntryMarks(3, 4)});
    add("loop-menu",
        Playlist{{SimpleItem("00001", 1000), SimpleItem("00002", 1000), SimpleItem("00002", 1000)},
                 EntryMarks(3, 1)});
    add("first-two-alike",
        Playlist{{SimpleItem("00001", 1000), SimpleItem("00001", 1000), SimpleItem("00002", 1000)},
                 {}});
    add("many-streams", Playlist{{ManyStreams("00010")}, EntryMarks(1, 10)});
    add("many-streams-two-items",
        Playlist{{ManyStreams("00010"), ManyStreams("00011")}, EntryMarks(2, 5)});
    add("angles-0", Playlist{{MultiAngle("00020", 0, 0)}, EntryMarks(1, 2)});
    add("angles-1", Playlist{{MultiAngle("00020", 1, 0)}, EntryMarks(1, 2)});
    add("angles-3", Playlist{{MultiAngle("00020", 3, 2)}, EntryMarks(1, 2)});
    add("angles-9-then-plain",
        Playlist{{MultiAngle("00020", 9, 8), SimpleItem("00021", 5000)}, EntryMarks(2, 2)});

    PlayItem fourVideos = SimpleItem("00030", 1000);
    fourVideos.video = {Stream{0x1B, 1, 0x1011, {}}, Stream{0x1B, 1, 0x1012, {}},
                        Stream{0x1B, 1, 0x1013, {}}, Stream{0x1B, 1, 0x1014, {}}};
    add("four-videos-last", Playlist{{SimpleItem("00001", 1000), fourVideos}, {}});
    add("four-videos-first", Playlist{{fourVideos, SimpleItem("00001", 1000)}, EntryMarks(2, 1)});
    PlayItem negativeVideos = SimpleItem("00031", 1000);
    negativeVideos.video.clear();
    negativeVideos.videoCountOverride = 0xFF;
    add("video-count-negative", Playlist{{negativeVideos}, {}});

    PlayItem textOnly = SimpleItem("00040", 1000);
    textOnly.subtitles = {Stream{0x92, 1, 0x1800, "jpn"}, Stream{0x92, 3, 0x1801, "kor"}};
    add("text-subtitles", Playlist{{textOnly}, {}});
    PlayItem streamTypes = SimpleItem("00041", 1000);
    streamTypes.audio = {AudioStream(0x81, "eng", 0x1100), Stream{0x82, 2, 0x1101, "fra"},
                         Stream{0x83, 3, 0x1102, "spa"}, Stream{0x84, 4, 0x1103, "deu"}};
    add("stream-types", Playlist{{streamTypes}, {}});

    add("mark-types", Playlist{{SimpleItem("00001", 10000), SimpleItem("00002", 10000)},
                               {Mark{0, 0, 0}, Mark{1, 0, 45000}, Mark{2, 1, 90000},
                                Mark{1, 1, 0xFFFFFFFFu}, Mark{1, 2, 0}, Mark{1, 0xFFFF, 0}}});
    add("big-times",
        Playlist{{ClipItem("00050", 0x80000000u, 0xFFFFFFFFu), ClipItem("00051", 90000, 45000)},
                 EntryMarks(2, 2)});
    add("marks-without-items", Playlist{{}, EntryMarks(3, 2)});

    Playlist longList;
    for (int i = 0; i < 40; ++i) {
        longList.items << SimpleItem(QByteArray::number(i).rightJustified(5, '0'), 1000 + i);
    }
    longList.marks = EntryMarks(40, 1);
    add("forty-items", longList);

    // Damaged versions of a rich playlist: fields pointing outside, cut short.
    const QByteArray rich =
        Write(Playlist{{ManyStreams("00060"), MultiAngle("00061", 3, 2)}, EntryMarks(2, 3)});
    auto patched = [&seeds, &rich](const char *name, qsizetype at, const QByteArray &bytes) {
        QByteArray data = rich;
        data.replace(at, bytes.size(), bytes);
        seeds.append({QString::fromLatin1(name), data});
    };
    const quint32 playListStart = qFromBigEndian<quint32>(rich.constData() + 8);
    const quint32 markStart = qFromBigEndian<quint32>(rich.constData() + 12);
    patched("playlist-address-outside", 8, QByteArray("\xFF\xFF\xFF\xF0", 4));
    patched("mark-address-outside", 12, QByteArray("\x00\x10\x00\x00", 4));
    patched("item-count-huge", playListStart + 6, QByteArray("\x7F\xFF", 2));
    patched("mark-count-huge", markStart + 4, QByteArray("\x7F\xFF", 2));
    patched("item-length-huge", playListStart + 10, QByteArray("\xFF\xF0", 2));
    patched("entry-length-huge", playListStart + 10 + 34 + 16, QByteArray("\xFF", 1));
    patched("attributes-length-huge", playListStart + 10 + 34 + 16 + 10, QByteArray("\xFF", 1));
    seeds.append({QStringLiteral("cut-in-half"), rich.left(rich.size() / 2)});
    seeds.append({QStringLiteral("cut-in-marks"), rich.left(rich.size() - 7)});
    seeds.append({QStringLiteral("magic-only"), QByteArray("MPLS0200")});
    return seeds;
}

QVector<QPair<QString, QByteArray>> SeedMetadata()
{
    const QByteArray typical =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<disclib xmlns=\"urn:BDA:bdmv;disclib\" xmlns:di=\"urn:BDA:bdmv;discinfo\">\n"
        "  <di:discinfo>\n"
        "    <di:date>2012-06-05</di:date>\n"
        "    <di:title>\n"
        "      <di:name>The Long Voyage</di:name>\n"
        "    </di:title>\n"
        "    <di:description>\n"
        "      <di:thumbnail href=\"voyage_416.jpg\" size=\"416x240\" />\n"
        "      <di:thumbnail href=\"voyage_640.jpg\" />\n"
        "    </di:description>\n"
        "    <di:language>eng</di:language>\n"
        "  </di:discinfo>\n"
        "</disclib>\n";
    return {
        {QStringLiteral("typical"), typical},
        {QStringLiteral("crlf"), QByteArray(typical).replace("\n", "\r\n")},
        {QStringLiteral("unclosed"), "<di:name>Open\n<di:thumbnail href=\"a.jpg\"/>\n"},
        {QStringLiteral("single-quotes"), "<di:thumbnail href='a.jpg' />\n"},
        {QStringLiteral("both-on-one-line"),
         "<di:name>N</di:name><di:thumbnail href=\"b.jpg\" />\n"},
        {QStringLiteral("long-name"), "<di:name>" + QByteArray(300, 'n') + "</di:name>\n"},
        {QStringLiteral("long-line"), QByteArray(2043, 'x') + "<di:name>Lost</di:name>" +
                                          QByteArray(2100, 'y') +
                                          "<di:thumbnail href=\"far.jpg\" />\n"},
        {QStringLiteral("no-newline"), "<di:name>End"},
    };
}

#ifndef TAVRIX_SEED_CORPUS_NO_MAIN
namespace {

bool WriteAll(const QString &folder, const QString &suffix,
              const QVector<QPair<QString, QByteArray>> &seeds)
{
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
        return false;
    }
    for (const auto &seed : seeds) {
        QFile file(folder + QLatin1Char('/') + seed.first + suffix);
        if (!file.open(QIODevice::WriteOnly) || file.write(seed.second) != seed.second.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return false;
        }
    }
    std::printf("%lld seeds in %s\n", static_cast<long long>(seeds.size()), qPrintable(folder));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool written =
        WriteAll(folder + QStringLiteral("/playlist"), QStringLiteral(".mpls"), SeedPlaylists()) &&
        WriteAll(folder + QStringLiteral("/metadata"), QStringLiteral(".xml"), SeedMetadata());
    return written ? 0 : 1;
}
#endif
