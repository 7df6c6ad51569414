// What a disc image holds, told from its UDF file system, whatever shape the image has.
#include "common/MediaMaker.h"
#include "common/TestMain.h"

#include "disc/DiscImage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

// Points the directory entry of a folder at the entry of another, so that the folder holds
// itself or its parent: the descriptor's checksum covers only its tag, which stays as it was.
bool LinkFolderTo(QByteArray &image, const QByteArray &folder, const QByteArray &target)
{
    const auto entryOf = [&image](const QByteArray &name) -> qsizetype {
        const QByteArray identifier = char(8) + name; // 8-bit characters, then the name
        for (qsizetype at = 0; at + 38 + identifier.size() < image.size(); at += 4) {
            const auto byte = [&](qsizetype offset) { return quint8(image[at + offset]); };
            const int implementationUse = byte(36) | byte(37) << 8;
            if (byte(0) == 1 && byte(1) == 1 && byte(19) == identifier.size() &&
                image.mid(at + 38 + implementationUse, identifier.size()) == identifier) {
                return at;
            }
        }
        return -1;
    };
    const qsizetype from = entryOf(folder);
    const qsizetype to = entryOf(target);
    if (from < 0 || to < 0) {
        return false;
    }
    // The file entry's location: extent length, block and partition.
    image.replace(from + 20, 10, image.mid(to + 20, 10));
    return true;
}

} // namespace

class DiscImageTest : public QObject
{
    Q_OBJECT

private slots:
    void kindComesFromTheFileSystemInside_data()
    {
        QTest::addColumn<QStringList>("files"); // written into the image; "NAME/" an empty folder
        QTest::addColumn<QString>("shape");
        QTest::addColumn<DiscFolderKind>("kind");

        const QStringList bluRay{"BDMV/index.bdmv", "BDMV/PLAYLIST/00001.mpls"};
        const QStringList dvd{"VIDEO_TS/VIDEO_TS.IFO"};
        QTest::newRow("Blu-ray") << bluRay << "udf" << DiscFolderKind::BluRay;
        QTest::newRow("DVD") << dvd << "udf" << DiscFolderKind::Dvd;
        QTest::newRow("both: Blu-ray first") << bluRay + dvd << "udf" << DiscFolderKind::BluRay;
        QTest::newRow("BDMV without PLAYLIST")
            << QStringList{"BDMV/index.bdmv"} << "udf" << DiscFolderKind::NotRecognised;
        QTest::newRow("BDMV without index.bdmv")
            << QStringList{"BDMV/PLAYLIST/"} << "udf" << DiscFolderKind::NotRecognised;
        QTest::newRow("index.bdmv a folder") << QStringList{"BDMV/index.bdmv/", "BDMV/PLAYLIST/"}
                                             << "udf" << DiscFolderKind::NotRecognised;
        QTest::newRow("lower-case video_ts")
            << QStringList{"video_ts/VIDEO_TS.IFO"} << "udf" << DiscFolderKind::NotRecognised;
        QTest::newRow("empty UDF") << QStringList{} << "udf" << DiscFolderKind::NotRecognised;
        QTest::newRow("ISO 9660 alone") << dvd << "iso9660" << DiscFolderKind::NotRecognised;
        QTest::newRow("cut before its anchor")
            << bluRay << "cut" << DiscFolderKind::NotRecognised;
        QTest::newRow("PLAYLIST loops back to BDMV")
            << bluRay << "loop" << DiscFolderKind::BluRay;
        QTest::newRow("not an image") << QStringList{} << "text" << DiscFolderKind::NotRecognised;
        QTest::newRow("a folder") << QStringList{} << "folder" << DiscFolderKind::NotRecognised;
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
            const QString path = contents + QLatin1Char('/') + file;
            QVERIFY(QDir().mkpath(file.endsWith(QLatin1Char('/')) ? path : QFileInfo(path).path()));
            QFile written(path);
            QVERIFY(file.endsWith(QLatin1Char('/')) ||
                    (written.open(QIODevice::WriteOnly) && written.write("x") == 1));
        }
        const QString image = scratch.filePath(QStringLiteral("disc.iso"));
        if (shape == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(image));
        } else if (shape == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(image).constData(), 0600), 0);
        } else if (shape == QLatin1String("text")) {
            QFile text(image);
            QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a disc\n") > 0);
        } else {
            QVERIFY(MediaMaker::MakeDiscImage(contents, image, shape != QLatin1String("iso9660")));
            QFile file(image);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QByteArray bytes = file.readAll();
            if (shape == QLatin1String("cut")) {
                bytes.truncate(64 * 1024);
            } else if (shape == QLatin1String("loop")) {
                QVERIFY(LinkFolderTo(bytes, "PLAYLIST", "BDMV"));
            }
            QVERIFY(file.resize(0) && file.seek(0) && file.write(bytes) == bytes.size());
        }
        QCOMPARE(DiscImage(image).Kind(), kind);
    }
};

TAVRIX_CORE_TEST_MAIN(DiscImageTest)
#include "DiscImageTest.moc"
