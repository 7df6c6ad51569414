// The naming and placing of snapshots: the dated file name, the image format, the engine's file
// named in its output line, the chosen folder and a destination that replaces no other file.
#include "common/TestMain.h"

#include "engine/Snapshots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>
#include <sys/stat.h>

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
    QTest::addColumn<bool>("link"); // the engine wrote through a link

    QTest::newRow("the engine's picture") << QByteArray("shot0001.png") << true << false;
    QTest::newRow("a later picture") << QByteArray("shot10000.png") << true << false;
    QTest::newRow("not there") << QByteArray("shot0009.png") << false << false;
    QTest::newRow("a link to a file elsewhere") << QByteArray("shot0002.png") << false << true;
    QTest::newRow("a folder") << QByteArray("shot0003.png") << false << false;
    QTest::newRow("another name in the folder") << QByteArray("RecentConfig.txt") << false << false;
    QTest::newRow("a path up and out") << QByteArray("../outside/shot0001.png") << false << false;
    QTest::newRow("an absolute path") << QByteArray("/etc/passwd") << false << false;
    QTest::newRow("a longer extension") << QByteArray("shot0001.png.txt") << false << false;
    QTest::newRow("a line break") << QByteArray("shot0001.png\n") << false << false;
    QTest::newRow("more after .png, a file there")
        << QByteArray("shot0004.png.jpg") << false << false;
    QTest::newRow("a line break after .png, a file there")
        << QByteArray("shot0005.png\n") << false << false;
}

void SnapshotsTest::onlyTheEnginesOwnPictureIsTaken()
{
    QFETCH(QByteArray, engineFile);
    QFETCH(bool, taken);
    QFETCH(bool, link);

    const QDir folder(m_scratch.filePath(QStringLiteral("engine")));
    const QDir outside(m_scratch.filePath(QStringLiteral("outside")));
    QVERIFY(folder.mkpath(QStringLiteral("shot0003.png")) && outside.mkpath(QStringLiteral(".")));
    for (const QString &file : {folder.filePath(QStringLiteral("shot0001.png")),
                                folder.filePath(QStringLiteral("shot10000.png")),
                                folder.filePath(QStringLiteral("RecentConfig.txt")),
                                folder.filePath(QStringLiteral("shot0004.png.jpg")),
                                folder.filePath(QStringLiteral("shot0005.png\n")),
                                outside.filePath(QStringLiteral("shot0001.png"))}) {
        QFile picture(file);
        QVERIFY(picture.open(QIODevice::WriteOnly));
    }
    QFile::link(outside.filePath(QStringLiteral("shot0001.png")),
                folder.filePath(QStringLiteral("shot0002.png")));

    const std::optional<QString> found =
        Snapshots::EngineSnapshotFile(engineFile, folder.path() + QLatin1Char('/'));
    QCOMPARE(found.has_value(), taken);
    QCOMPARE(Snapshots::EngineSnapshotIsLink(engineFile, folder.path() + QLatin1Char('/')), link);
    if (taken) {
        QCOMPARE(*found, folder.filePath(QString::fromLatin1(engineFile)));
    }
}

void SnapshotsTest::folderComesFromOutputPathOrTheDefault_data()
{
    QTest::addColumn<QString>("kind"); // "file", "fifo" or "none"
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected"); // empty: the default folder

    QTest::newRow("folder named") << "file" << QByteArray("/media/shots/") << "/media/shots/";
    QTest::newRow("folder with spaces")
        << "file" << QByteArray("/home/u/My Shots/") << "/home/u/My Shots/";
    QTest::newRow("empty file") << "file" << QByteArray() << QString();
    QTest::newRow("no file") << "none" << QByteArray() << QString();
    // Edited by hand: the line end is no part of the name, and the name is a folder's.
    QTest::newRow("line end") << "file" << QByteArray("/media/shots/\n") << "/media/shots/";
    QTest::newRow("CR LF, no closing slash")
        << "file" << QByteArray("/media/shots\r\n") << "/media/shots/";
    QTest::newRow("no closing slash") << "file" << QByteArray("/media/shots") << "/media/shots/";
    QTest::newRow("a FIFO") << "fifo" << QByteArray() << QString();
    QTest::newRow("larger than any folder name")
        << "file" << QByteArray("/") + QByteArray(300000, 'a') << QString();
}

void SnapshotsTest::folderComesFromOutputPathOrTheDefault()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, contents);
    QFETCH(QString, expected);

    const QString appData =
        m_scratch.filePath(QString::fromLatin1(QTest::currentDataTag())) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(appData));
    const QString stored = appData + QStringLiteral("OutputPath.txt");
    if (kind == QLatin1String("file")) {
        QVERIFY(WriteAll(stored, contents));
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(stored).constData(), 0600) == 0);
    }

    QCOMPARE(Snapshots::Folder(appData), expected.isEmpty() ? Snapshots::DefaultFolder() : expected);
    QCOMPARE(Snapshots::StoredFolder(appData), expected);
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
    const QString folder = m_scratch.filePath(QStringLiteral("slashes")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(folder));
    QFile file;
    const QString destination = Snapshots::CreateDestination(
        QString(folder).replace(QLatin1Char('/'), QLatin1Char('\\')), name, file);
    QCOMPARE(destination, folder + name);
    QVERIFY(file.isOpen());
}

void SnapshotsTest::destinationNeverReplacesAnExistingFile_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QStringList>("danglingLinks");
    QTest::addColumn<QString>("expected");

    const QString name = QStringLiteral("Snapshot-2024-03-05 21-07-09.JPG");
    const QString second = QStringLiteral("Snapshot-2024-03-05 21-07-09 (2).JPG");
    const QString third = QStringLiteral("Snapshot-2024-03-05 21-07-09 (3).JPG");
    QTest::newRow("free") << QStringList() << QStringList() << name;
    QTest::newRow("taken once") << QStringList{name} << QStringList() << second;
    QTest::newRow("taken twice") << QStringList{name, second} << QStringList() << third;
    // Only the same name counts: another format of the same second is no clash.
    QTest::newRow("other extension there")
        << QStringList{QStringLiteral("Snapshot-2024-03-05 21-07-09.PNG")} << QStringList()
        << name;
    // Planted by another user of a shared folder: the save would land where they point.
    QTest::newRow("dangling links") << QStringList() << QStringList{name, second} << third;
}

void SnapshotsTest::destinationNeverReplacesAnExistingFile()
{
    QFETCH(QStringList, existing);
    QFETCH(QStringList, danglingLinks);
    QFETCH(QString, expected);

    // A folder with a dot in its name: the extension is the file's, not the folder's.
    QTemporaryDir folder(m_scratch.filePath(QStringLiteral("shots.d-XXXXXX")));
    QVERIFY(folder.isValid());
    const QString path = folder.path() + QLatin1Char('/');
    for (const QString &name : existing) {
        QVERIFY(WriteAll(path + name, "taken"));
    }
    const QString target = m_scratch.filePath(QStringLiteral("elsewhere"));
    QFile::remove(target);
    for (const QString &name : danglingLinks) {
        QVERIFY(QFile::link(target, path + name));
    }

    QFile file;
    const QString destination = Snapshots::CreateDestination(
        path, QStringLiteral("Snapshot-2024-03-05 21-07-09.JPG"), file);
    QCOMPARE(destination, path + expected);
    QVERIFY(file.isOpen() && file.write("picture") == 7 && file.flush());
    QCOMPARE(QFileInfo(destination).size(), 7);
    QVERIFY(!QFileInfo(destination).isSymLink() && !QFileInfo::exists(target));
}

TAVRIX_CORE_TEST_MAIN(SnapshotsTest)
#include "SnapshotsTest.moc"
