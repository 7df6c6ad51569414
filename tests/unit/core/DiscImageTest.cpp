// What a disc image holds, told from its UDF file system, whatever shape the image has.
#include "common/MediaMaker.h"
#include "common/TestMain.h"

#include "disc/DiscImage.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <sys/stat.h>

namespace {

// The offset of the directory entry of a name (8-bit characters), or -1.
qsizetype EntryOf(const QByteArray &image, const QByteArray &name)
{
    const QByteArray identifier = char(8) + name;
    for (qsizetype at = 0; at + 40 + identifier.size() < image.size(); at += 4) {
        const int implementationUse = quint8(image[at + 36]) | quint8(image[at + 37]) << 8;
        if (image[at] == 1 && image[at + 1] == 1 && image[at + 19] == identifier.size() &&
            image.mid(at + 38 + implementationUse, identifier.size()) == identifier) {
            return at;
        }
    }
    return -1;
}

// Points the PLAYLIST folder's contents at a block of allocation descriptors whose one
// descriptor names that block again as the next such block: a chain without end. Taken from
// the image genisoimage writes: a file entry (tag 261) with short allocation descriptors.
bool LoopAllocationExtents(QByteArray &image)
{
    const auto at = [&image](qsizetype offset) { return image.data() + offset; };
    const auto u32 = [&](qsizetype offset) { return qFromLittleEndian<quint32>(at(offset)); };
    qsizetype partition = -1; // where the partition starts, from its descriptor (tag 5)
    for (qsizetype block = 16 * 2048; block + 2048 <= image.size() && partition < 0;
         block += 2048) {
        if (image[block] == 5 && image[block + 1] == 0) {
            partition = u32(block + 188);
        }
    }
    const qsizetype entry = EntryOf(image, "PLAYLIST");
    const qsizetype fileEntry = (partition + u32(entry + 24)) * 2048;
    if (partition < 0 || entry < 0 || image[fileEntry] != char(261 & 0xFF) ||
        image[fileEntry + 34] & 7) {
        return false;
    }
    const qsizetype descriptor = fileEntry + 176 + u32(fileEntry + 168);
    const quint32 block = u32(descriptor + 4);
    const quint32 nextExtent = 3u << 30 | 2048;
    QByteArray extents(2048, '\0');
    for (const auto &[offset, value] : QVector<QPair<int, quint32>>{
             {0, 258}, {12, block}, {20, 8}, {24, nextExtent}, {28, block}}) {
        qToLittleEndian(value, extents.data() + offset);
    }
    quint8 sum = 0;
    for (int i = 0; i < 16; ++i) {
        sum += i == 4 ? 0 : quint8(extents[i]);
    }
    extents[4] = char(sum);
    image.replace((partition + block) * 2048, 2048, extents);
    qToLittleEndian(nextExtent, at(descriptor));
    return true;
}

} // namespace

class DiscImageTest : public QObject
{
    Q_OBJECT

private slots:
    void kindComesFromTheFileSystemInside_data()
    {
        QTest::addColumn<QStringList>("files"); // empty files written into the image
        QTest::addColumn<QString>("shape");
        QTest::addColumn<DiscFolderKind>("kind");

        const QStringList bluRay{"BDMV/index.bdmv", "BDMV/PLAYLIST/00001.mpls"};
        const QStringList dvd{"VIDEO_TS/VIDEO_TS.IFO"};
        QTest::newRow("Blu-ray") << bluRay << "udf" << DiscFolderKind::BluRay;
        QTest::newRow("DVD") << dvd << "udf" << DiscFolderKind::Dvd;
        QTest::newRow("BDMV without PLAYLIST")
            << QStringList{"BDMV/index.bdmv"} << "udf" << DiscFolderKind::NotRecognised;
        QTest::newRow("lower-case video_ts")
            << QStringList{"video_ts/VIDEO_TS.IFO"} << "udf" << DiscFolderKind::NotRecognised;
        QTest::newRow("empty UDF") << QStringList{} << "udf" << DiscFolderKind::NotRecognised;
        QTest::newRow("ISO 9660 alone") << dvd << "iso9660" << DiscFolderKind::NotRecognised;
        QTest::newRow("cut before its anchor") << bluRay << "cut" << DiscFolderKind::NotRecognised;
        // PLAYLIST is BDMV again, and so on down: nothing walks it for ever.
        QTest::newRow("PLAYLIST loops back to BDMV") << bluRay << "loop" << DiscFolderKind::BluRay;
        QTest::newRow("PLAYLIST's extents loop")
            << bluRay << "extents" << DiscFolderKind::NotRecognised;
        QTest::newRow("not an image") << QStringList{} << "text" << DiscFolderKind::NotRecognised;
        QTest::newRow("a pipe") << QStringList{} << "pipe" << DiscFolderKind::NotRecognised;
    }

    void kindComesFromTheFileSystemInside()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, shape);
        QFETCH(DiscFolderKind, kind);
        QTemporaryDir scratch;
        const QString contents = scratch.filePath(QStringLiteral("contents"));
        QVERIFY(QDir().mkpath(contents));
        for (const QString &file : files) {
            QFile written(contents + QLatin1Char('/') + file);
            QVERIFY(QDir().mkpath(QFileInfo(written).path()) && written.open(QIODevice::WriteOnly));
        }
        const QString image = scratch.filePath(QStringLiteral("disc.iso"));
        QFile file(image);
        if (shape == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(image).constData(), 0600), 0);
        } else if (shape == QLatin1String("text")) {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a disc\n") > 0);
        } else {
            QVERIFY(MediaMaker::MakeDiscImage(contents, image, shape != QLatin1String("iso9660")));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QByteArray bytes = file.readAll();
            if (shape == QLatin1String("cut")) {
                QVERIFY(file.resize(64 * 1024));
            } else if (shape == QLatin1String("loop")) {
                // The entry's file location (extent length, block, partition) made BDMV's; the
                // descriptor's checksum covers only its tag.
                const qsizetype playlist = EntryOf(bytes, "PLAYLIST");
                const qsizetype bdmv = EntryOf(bytes, "BDMV");
                QVERIFY(playlist >= 0 && bdmv >= 0);
                QVERIFY(file.seek(playlist + 20) && file.write(bytes.mid(bdmv + 20, 10)) == 10);
            } else if (shape == QLatin1String("extents")) {
                QVERIFY(LoopAllocationExtents(bytes));
                QVERIFY(file.seek(0) && file.write(bytes) == bytes.size());
            }
        }
        file.close();
        QCOMPARE(DiscImage(image).Kind(), kind);
    }
};

TAVRIX_CORE_TEST_MAIN(DiscImageTest)
#include "DiscImageTest.moc"
