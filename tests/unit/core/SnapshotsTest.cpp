// The naming and placing of snapshots: the dated file name, the image format, the engine's file
// named in its output line, the chosen folder and a destination that replaces no other file.
#include "common/TestMain.h"

#include "engine/Snapshots.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

namespace {

bool WriteAll(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

} // namespace

class SnapshotsTest : public QObject
{
    Q_OBJECT

private slots:
    void fileNameCarriesTheTimeAndTheFormat_data();
    void fileNameCarriesTheTimeAndTheFormat();
    void imageFormat_data();
    void imageFormat();
    void onlyTheEnginesOwnPictureIsTaken_data();
    void onlyTheEnginesOwnPictureIsTaken();
    void folderComesFromOutputPathOrTheDefault_data();
    void folderComesFromOutputPathOrTheDefault();
    void defaultFolderIsInDocuments();
    void destinationTurnsBackslashesIntoSlashes();
    void destinationNeverReplacesAnExistingFile_data();
    void destinationNeverReplacesAnExistingFile();

private:
    QTemporaryDir m_scratch;
};

void SnapshotsTest::fileNameCarriesTheTimeAndTheFormat_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("name");

    const QDateTime evening(QDate(2024, 3, 5), QTime(21, 7, 9));
    QTest::newRow("JPG, one-digit fields padded")
        << evening << QStringLiteral("JPG") << QStringLiteral("Snapshot-2024-03-05 21-07-09.JPG");
    QTest::newRow("JPEG") << evening << QStringLiteral("JPEG")
                          << QStringLiteral("Snapshot-2024-03-05 21-07-09.JPEG");
    QTest::newRow("PNG") << evening << QStringLiteral("PNG")
                         << QStringLiteral("Snapshot-2024-03-05 21-07-09.PNG");
    QTest::newRow("BMP") << evening << QStringLiteral("BMP")
                         << QStringLiteral("Snapshot-2024-03-05 21-07-09.BMP");
    QTest::newRow("midnight, two-digit fields")
        << QDateTime(QDate(1999, 12, 31), QTime(0, 0, 0)) << QStringLiteral("PNG")
        << QStringLiteral("Snapshot-1999-12-31 00-00-00.PNG");
    QTest::newRow("last second of the day")
        << QDateTime(QDate(2030, 10, 11), QTime(23, 59, 59, 999)) << QStringLiteral("JPG")
        << QStringLiteral("Snapshot-2030-10-11 23-59-59.JPG");
}

void SnapshotsTest::fileNameCarriesTheTimeAndTheFormat()
{
    QFETCH(QDateTime, time);
    QFETCH(QString, format);
    QFETCH(QString, name);

    QCOMPARE(Snapshots::FileName(time, format), name);
}

void SnapshotsTest::imageFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("imageFormat");

    QTest::newRow("PNG") << QStringLiteral("PNG") << QByteArray("PNG");
    QTest::newRow("BMP") << QStringLiteral("BMP") << QByteArray("BMP");
    QTest::newRow("JPG") << QStringLiteral("JPG") << QByteArray("JPEG");
    QTest::newRow("JPEG") << QStringLiteral("JPEG") << QByteArray("JPEG");
    QTest::newRow("empty") << QString() << QByteArray("JPEG");
    QTest::newRow("lower-case png is no PNG") << QStringLiteral("png") << QByteArray("JPEG");
}

void SnapshotsTest::imageFormat()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, imageFormat);

    QCOMPARE(QByteArray(Snapshots::ImageFormat(format)), imageFormat);
}

void SnapshotsTest::onlyTheEnginesOwnPictureIsTaken_data()
{
    QTest::addColumn<QByteArray>("engineFile");
    QTest::addColumn<bool>("taken");

    QTest::newRow("the engine's picture") << QByteArray("shot0001.png") << true;
    QTest::newRow("a later picture") << QByteArray("shot10000.png") << true;
    QTest::newRow("not there") << QByteArray("shot0009.png") << false;
    QTest::newRow("a link to a file elsewhere") << QByteArray("shot0002.png") << false;
    QTest::newRow("a folder") << QByteArray("shot0003.png") << false;
    QTest::newRow("another name in the folder") << QByteArray("RecentConfig.txt") << false;
    QTest::newRow("a path up and out") << QByteArray("../outside/shot0001.png") << false;
    QTest::newRow("an absolute path") << QByteArray("/etc/passwd") << false;
    QTest::newRow("a longer extension") << QByteArray("shot0001.png.txt") << false;
    QTest::newRow("a line break") << QByteArray("shot0001.png\n") << false;
}

void SnapshotsTest::onlyTheEnginesOwnPictureIsTaken()
{
    QFETCH(QByteArray, engineFile);
    QFETCH(bool, taken);

    const QDir folder(m_scratch.filePath(QStringLiteral("engine")));
    const QDir outside(m_scratch.filePath(QStringLiteral("outside")));
    QVERIFY(folder.mkpath(QStringLiteral("shot0003.png")) && outside.mkpath(QStringLiteral(".")));
    for (const QString &file : {folder.filePath(QStringLiteral("shot0001.png")),
                                folder.filePath(QStringLiteral("shot10000.png")),
                                folder.filePath(QStringLiteral("RecentConfig.txt")),
                                outside.filePath(QStringLiteral("shot0001.png"))}) {
        QFile picture(file);
        QVERIFY(picture.open(QIODevice::WriteOnly));
    }
    QFile::link(outside.filePath(QStringLiteral("shot0001.png")),
                folder.filePath(QStringLiteral("shot0002.png")));

    const std::optional<QString> found =
        Snapshots::EngineSnapshotFile(engineFile, folder.path() + QLatin1Char('/'));
    QCOMPARE(found.has_value(), taken);
    if (taken) {
        QCOMPARE(*found, folder.filePath(QString::fromLatin1(engineFile)));
    }
}

void SnapshotsTest::folderComesFromOutputPathOrTheDefault_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("usesDefault");

    QTest::newRow("folder named") << true << QByteArray("/media/shots/") << false;
    QTest::newRow("folder with spaces") << true << QByteArray("/home/u/My Shots/") << false;
    QTest::newRow("empty file") << true << QByteArray() << true;
    QTest::newRow("no file") << false << QByteArray() << true;
}

void SnapshotsTest::folderComesFromOutputPathOrTheDefault()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, contents);
    QFETCH(bool, usesDefault);

    const QString appData =
        m_scratch.filePath(QString::fromLatin1(QTest::currentDataTag())) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(appData));
    if (fileExists) {
        QVERIFY(WriteAll(appData + QStringLiteral("OutputPath.txt"), contents));
    }

    const QString folder = Snapshots::Folder(appData);
    QCOMPARE(folder, usesDefault ? Snapshots::DefaultFolder() : QString::fromLocal8Bit(contents));
    QCOMPARE(Snapshots::StoredFolder(appData),
             fileExists ? QString::fromLocal8Bit(contents) : QString());
}

void SnapshotsTest::defaultFolderIsInDocuments()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(!documents.isEmpty());
    QCOMPARE(Snapshots::DefaultFolder(), documents + QStringLiteral("/Tavrix BluRay Player/"));
}

void SnapshotsTest::destinationTurnsBackslashesIntoSlashes()
{
    const QString name = QStringLiteral("Snapshot-2024-03-05 21-07-09.JPG");
    const QString destination = Snapshots::FreeDestination(QStringLiteral("D:\\Shots\\"), name);
    QVERIFY2(destination.startsWith(QStringLiteral("D:/Shots/Snapshot-")), qPrintable(destination));
    QCOMPARE(destination, QStringLiteral("D:/Shots/") + name);
}

void SnapshotsTest::destinationNeverReplacesAnExistingFile_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");

    const QString name = QStringLiteral("Snapshot-2024-03-05 21-07-09.JPG");
    QTest::newRow("free") << QStringList() << name;
    QTest::newRow("taken once") << QStringList{name}
                                << QStringLiteral("Snapshot-2024-03-05 21-07-09 (2).JPG");
    QTest::newRow("taken twice") << QStringList{name, QStringLiteral(
                                                          "Snapshot-2024-03-05 21-07-09 (2).JPG")}
                                 << QStringLiteral("Snapshot-2024-03-05 21-07-09 (3).JPG");
    // Only the same name counts: another format of the same second is no clash.
    QTest::newRow("other extension there")
        << QStringList{QStringLiteral("Snapshot-2024-03-05 21-07-09.PNG")} << name;
}

void SnapshotsTest::destinationNeverReplacesAnExistingFile()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);

    // A folder with a dot in its name: the extension is the file's, not the folder's.
    QTemporaryDir folder(m_scratch.filePath(QStringLiteral("shots.d-XXXXXX")));
    QVERIFY(folder.isValid());
    const QString path = folder.path() + QLatin1Char('/');
    for (const QString &name : existing) {
        QVERIFY(WriteAll(path + name, "taken"));
    }

    const QString destination =
        Snapshots::FreeDestination(path, QStringLiteral("Snapshot-2024-03-05 21-07-09.JPG"));
    QCOMPARE(destination, path + expected);
    QVERIFY(!QFile::exists(destination));
}

TAVRIX_CORE_TEST_MAIN(SnapshotsTest)
#include "SnapshotsTest.moc"
