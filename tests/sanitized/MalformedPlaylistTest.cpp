// The playlist and metadata readers, built with the address and undefined-behaviour checkers,
// on damaged input: every cut of valid playlists, fields patched to point past the end, the
// fuzzers' seeds and deterministic mutations of them, and generated metadata text. Every input
// is copied into a buffer of exactly its size, so that a read one byte past it is caught.
#include "PlaylistWriter.h"
#include "common/PlaylistSentinel.h"
#include "disc/DiscMetadata.h"
#include "disc/MoviePlaylistReader.h"

#include <QPair>
#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

#include <iterator>
#include <memory>

// From tools/bluray-writer/make-seed-corpus.cpp, compiled into this test.
QVector<QPair<QString, QByteArray>> SeedPlaylists();
QVector<QPair<QString, QByteArray>> SeedMetadata();

using namespace PlaylistWriter;

namespace {

// A copy of some bytes in an allocation of exactly their size.
class ExactBytes
{
public:
    explicit ExactBytes(const QByteArray &bytes)
        : m_buffer(new char[size_t(bytes.size())]),
          m_data(QByteArray::fromRawData(m_buffer.get(), bytes.size()))
    {
        std::copy(bytes.cbegin(), bytes.cend(), m_buffer.get());
    }
    const QByteArray &Data() const { return m_data; }

private:
    std::unique_ptr<char[]> m_buffer;
    QByteArray m_data;
};

// Parses an exact-size copy of the bytes into a sentinel (see ParseIntoSentinel).
int Parse(const QByteArray &bytes, QString *why)
{
    const ExactBytes exact(bytes);
    return ParseIntoSentinel(exact.Data(), why);
}

// Where the fields of a well-formed playlist are, for patching them.
struct Field
{
    QString name;
    qint64 offset;
    int width; // bytes
};

QVector<Field> Fields(const QByteArray &data)
{
    auto u8 = [&data](qint64 at) { return quint8(data[at]); };
    auto u16 = [&data](qint64 at) { return qFromBigEndian<quint16>(data.constData() + at); };
    auto u32 = [&data](qint64 at) { return qFromBigEndian<quint32>(data.constData() + at); };

    QVector<Field> fields{{QStringLiteral("PlayList address"), 8, 4},
                          {QStringLiteral("mark address"), 12, 4}};
    const qint64 playList = u32(8);
    const qint64 marks = u32(12);
    fields << Field{QStringLiteral("item count"), playList + 6, 2}
           << Field{QStringLiteral("mark count"), marks + 4, 2};
    qint64 item = playList + 10;
    for (int i = 0; i < u16(playList + 6); ++i) {
        const QString at = QStringLiteral("item %1 ").arg(i);
        fields << Field{at + QStringLiteral("length"), item, 2};
        qint64 table = item + 34;
        if (u8(item + 12) & 0x10) {
            fields << Field{at + QStringLiteral("angle count"), item + 34, 1};
            table = item + 36 + 10 * qMax(0, u8(item + 34) - 1);
        }
        fields << Field{at + QStringLiteral("video count"), table + 4, 1}
               << Field{at + QStringLiteral("audio count"), table + 5, 1}
               << Field{at + QStringLiteral("subtitle count"), table + 6, 1};
        qint64 entry = table + 16;
        const int entries = u8(table + 4) + u8(table + 5) + u8(table + 6);
        for (int e = 0; e < entries; ++e) {
            const qint64 attributes = entry + 1 + u8(entry);
            fields << Field{at + QStringLiteral("entry %1 length").arg(e), entry, 1}
                   << Field{at + QStringLiteral("entry %1 attributes length").arg(e), attributes,
                            1};
            entry = attributes + 1 + u8(attributes);
        }
        item += 2 + u16(item);
    }
    return fields;
}

QByteArray Patched(QByteArray data, const Field &field, quint32 value)
{
    for (int i = 0; i < field.width; ++i) {
        data[field.offset + i] = char(value >> (8 * (field.width - 1 - i)));
    }
    return data;
}

Stream Audio(quint8 coding, const QByteArray &language, quint16 pid)
{
    return Stream{coding, 1, pid, language};
}

PlayItem ManyStreams(const QByteArray &clip)
{
    PlayItem item = SimpleItem(clip, 90000);
    item.video = {Stream{0x1B, 1, 0x1011, {}}, Stream{0x1B, 2, 0x1012, {}},
                  Stream{0x1B, 3, 0x1013, {}}};
    quint16 pid = 0x1100;
    for (quint8 coding : {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0xA1, 0xA2}) {
        item.audio << Audio(coding, "eng", pid++);
    }
    item.subtitles = {Stream{0x90, 1, 0x1200, "fra"}, Stream{0x91, 2, 0x1201, "deu"},
                      Stream{0x92, 3, 0x1800, "jpn"}, Stream{0x90, 4, 0x1202, "kor"}};
    return item;
}

PlayItem MultiAngle(const QByteArray &clip, quint8 angles)
{
    PlayItem item = SimpleItem(clip, 30000);
    item.angleCount = angles;
    for (int i = 1; i < angles; ++i) {
        item.angleClips << QByteArray::number(700 + i).rightJustified(5, '0');
    }
    item.subtitles = {Stream{0x90, 1, 0x1200, "eng"}};
    return item;
}

QVector<Mark> Marks(int items, int perItem)
{
    QVector<Mark> marks;
    for (int item = 0; item < items; ++item) {
        for (int i = 0; i < perItem; ++i) {
            marks << Mark{quint8(i % 3 == 2 ? 2 : 1), quint16(item), quint32(45000 * 10 * i)};
        }
    }
    return marks;
}

// Valid playlists with something of everything.
QVector<QPair<const char *, QByteArray>> ValidPlaylists()
{
    return {
        {"three items", Write({{SimpleItem("00001", 10000), SimpleItem("00002", 20000),
                                SimpleItem("00003", 30000)},
                               Marks(3, 2)})},
        {"multi-angle",
         Write({{MultiAngle("00010", 0), MultiAngle("00011", 1), MultiAngle("00012", 3)},
                Marks(3, 1)})},
        {"many streams", Write({{ManyStreams("00020"), ManyStreams("00021")}, Marks(2, 1)})},
        {"many marks", Write({{SimpleItem("00030", 600000)}, Marks(1, 60)})},
        {"everything",
         Write({{ManyStreams("00040"), MultiAngle("00041", 4), SimpleItem("00042", 5000)},
                Marks(4, 5)})},
    };
}

// Text that the metadata reader has to find its way through: markers, closings, newlines and
// stray bytes in every mixture, some of it in lines longer than the reader's pieces.
QByteArray GeneratedMetadata(QRandomGenerator &random)
{
    static const QByteArray fragments[] = {
        "<di:name>", "</",    "</di:name>", "<di:thumbnail href=\"",
        "\" />",     "\"/>",  "\n",         "\r\n",
        "Title",     "x.jpg", " ",          "<",
        ">",         "\"",    "'",
    };
    QByteArray text;
    const int pieces = int(random.bounded(1, 200));
    for (int i = 0; i < pieces; ++i) {
        switch (random.bounded(4)) {
        case 0:
        case 1: text += fragments[random.bounded(int(std::size(fragments)))]; break;
        case 2:
            text += QByteArray(int(random.bounded(1, 2100)), char('a' + random.bounded(26)));
            break;
        default:
            for (int b = int(random.bounded(1, 16)); b > 0; --b) {
                text += char(random.bounded(256));
            }
            break;
        }
    }
    return text;
}

} // namespace

class MalformedPlaylistTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCutOfValidPlaylists_data()
    {
        QTest::addColumn<QByteArray>("data");
        for (const auto &playlist : ValidPlaylists()) {
            QTest::newRow(playlist.first) << playlist.second;
        }
    }

    void everyCutOfValidPlaylists()
    {
        QFETCH(QByteArray, data);
        QString why;
        QCOMPARE(Parse(data, &why), int(MoviePlaylistReader::kOk));
        int outside = 0;
        for (qsizetype size = 0; size < data.size(); ++size) {
            const int result = Parse(data.left(size), &why);
            if (result < 0) {
                QFAIL(qPrintable(QStringLiteral("cut at %1: %2").arg(size).arg(why)));
            }
            outside += result == MoviePlaylistReader::kOutsideData;
        }
        // Most cuts lose bytes the reader needs.
        QVERIFY2(outside > data.size() / 2, qPrintable(QString::number(outside)));
    }

    void fieldsPointingPastTheEnd_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("result"); // -1: any of the reader's results

        for (const auto &playlist : ValidPlaylists()) {
            const QByteArray &data = playlist.second;
            const quint32 size = quint32(data.size());
            for (const Field &field : Fields(data)) {
                QVector<quint32> values;
                if (field.width == 4) {
                    values = {size - 1, size, size + 1, 0x7FFFFFFF, 0xFFFFFFFF};
                } else if (field.width == 2) {
                    values = {0, 1, 0x7FFF, 0x8000, 0xFFFF};
                } else {
                    values = {0, 0x7F, 0x80, 0xFF};
                }
                for (quint32 value : values) {
                    // An address past the last byte but one leaves no room for what it holds.
                    const int result =
                        field.width == 4 ? int(MoviePlaylistReader::kOutsideData) : -1;
                    QTest::addRow("%s: %s 0x%X", playlist.first, qPrintable(field.name), value)
                        << Patched(data, field, value) << result;
                }
            }
        }
        // Items of length 0, each starting two bytes after the last, as many as the count can
        // say: a disc of such playlists once held gigabytes.
        Playlist zeroLength{{SimpleItem("00001", 10000), SimpleItem("00002", 20000),
                             SimpleItem("00003", 30000)},
                            Marks(3, 2)};
        zeroLength.zeroLengthItems = 0x7FFF - 3;
        QTest::newRow("zero-length items after three real ones")
            << Write(zeroLength) << int(MoviePlaylistReader::kOutsideData);
    }

    void fieldsPointingPastTheEnd()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, result);
        QString why;
        const int actual = Parse(data, &why);
        QVERIFY2(actual >= 0, qPrintable(why));
        if (result >= 0) {
            QCOMPARE(actual, result);
        }
    }

    void seedsAndTheirMutations()
    {
        const auto seeds = SeedPlaylists();
        QVERIFY(seeds.size() >= 24);
        QRandomGenerator random(0x5EED);
        int parsed = 0;
        for (const auto &seed : seeds) {
            QString why;
            QVERIFY2(Parse(seed.second, &why) >= 0,
                     qPrintable(seed.first + QStringLiteral(": ") + why));
            for (int mutation = 0; mutation < 300; ++mutation) {
                QByteArray data = seed.second;
                for (int change = int(random.bounded(1, 5)); change > 0 && !data.isEmpty();
                     --change) {
                    const int at = int(random.bounded(int(data.size())));
                    switch (random.bounded(5)) {
                    case 0: data[at] = char(data[at] ^ (1 << random.bounded(8))); break;
                    case 1:
                        data[at] = char(QByteArray("\x00\x7F\x80\xFF", 4)[random.bounded(4)]);
                        break;
                    case 2: data.truncate(at); break;
                    case 3: data.remove(at, 1); break;
                    default: data.insert(at, char(random.bounded(256))); break;
                    }
                }
                if (Parse(data, &why) < 0) {
                    QFAIL(qPrintable(QStringLiteral("%1, mutation %2 (%3): %4")
                                         .arg(seed.first)
                                         .arg(mutation)
                                         .arg(QString::fromLatin1(data.toHex()))
                                         .arg(why)));
                }
                ++parsed;
            }
        }
        QVERIFY(parsed > 0);
    }

    void metadataOnGeneratedText()
    {
        QVector<QByteArray> inputs;
        for (const auto &seed : SeedMetadata()) {
            inputs << seed.second;
        }
        QRandomGenerator random(0xD15C);
        for (int i = 0; i < 3000; ++i) {
            inputs << GeneratedMetadata(random);
        }
        int named = 0;
        for (const QByteArray &input : inputs) {
            const ExactBytes exact(input);
            const DiscMetadata metadata = ParseDiscMetadata(exact.Data());
            QVERIFY(metadata.name.size() <= kMaxDiscMetadataText);
            QVERIFY(metadata.thumbnail.size() <= kMaxDiscMetadataText);
            // Whatever is found was in the text.
            QVERIFY(input.contains(metadata.name));
            QVERIFY(input.contains(metadata.thumbnail));
            named += !metadata.name.isEmpty();
        }
        // The generated text does reach the reader's markers.
        QVERIFY2(named > inputs.size() / 10, qPrintable(QString::number(named)));
    }
};

QTEST_GUILESS_MAIN(MalformedPlaylistTest)
#include "MalformedPlaylistTest.moc"
