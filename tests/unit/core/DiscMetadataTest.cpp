// The disc's name and thumbnail from its metadata lines, reading the metadata file, and which
// thumbnail files may be shown.
#include "common/TestMain.h"

#include "disc/DiscMetadata.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray NameLine(const QByteArray &name)
{
    return "    <di:name>" + name + "</di:name>\n";
}

QByteArray ThumbnailLine(const QByteArray &file)
{
    return "    <di:thumbnail href=\"" + file + "\" />\n";
}

} // namespace

class DiscMetadataTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    QString WriteFile(const QString &name, const QByteArray &contents)
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) {
            return QString();
        }
        return path;
    }

private slots:
    void nameAndThumbnailFromLines_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("thumbnail");

        QTest::newRow("metadata file")
            << QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<disclib xmlns:di=\"urn:BDA:bdmv;discinfo\">\n"
                          "  <di:discinfo>\n"
                          "    <di:title>\n") +
                   NameLine("The Long Voyage") + "    </di:title>\n" +
                   ThumbnailLine("voyage_416.jpg") + "  </di:discinfo>\n</disclib>\n"
            << QByteArray("The Long Voyage") << QByteArray("voyage_416.jpg");
        QTest::newRow("nothing") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("no markers")
            << QByteArray("<di:title>\n<name>A</name>\n") << QByteArray() << QByteArray();

        // The name: after the marker up to the first "</", else the rest of the line.
        QTest::newRow("name up to the first closing")
            << QByteArray("<di:name>Act <i>One</i></di:name>\n") << QByteArray("Act <i>One")
            << QByteArray();
        QTest::newRow("unclosed name keeps its newline")
            << QByteArray("<di:name>Open\nnext\n") << QByteArray("Open\n") << QByteArray();
        QTest::newRow("unclosed name on the last line")
            << QByteArray("<di:name>Open") << QByteArray("Open") << QByteArray();
        QTest::newRow("closing before the marker is not its end")
            << QByteArray("</x><di:name>After</di:name>\n") << QByteArray("After") << QByteArray();
        QTest::newRow("last name wins")
            << NameLine("First") + NameLine("Second") << QByteArray("Second") << QByteArray();
        QTest::newRow("empty last name wins")
            << NameLine("First") + NameLine("") << QByteArray("") << QByteArray();

        // Lengths: up to 255 bytes are kept; a longer text leaves the previous one.
        QTest::newRow("255-byte name kept")
            << NameLine(QByteArray(255, 'n')) << QByteArray(255, 'n') << QByteArray();
        QTest::newRow("256-byte name leaves the previous")
            << NameLine("Short") + NameLine(QByteArray(256, 'n')) << QByteArray("Short")
            << QByteArray();
        QTest::newRow("256-byte name alone leaves none")
            << NameLine(QByteArray(256, 'n')) << QByteArray() << QByteArray();
        QTest::newRow("unclosed name: newline counts, 255 in all")
            << "<di:name>" + QByteArray(254, 'n') + "\n"
            << QByteArray(254, 'n') + "\n"
            << QByteArray();
        QTest::newRow("unclosed name: newline counts, 256 in all")
            << NameLine("Short") + "<di:name>" + QByteArray(255, 'n') + "\n"
            << QByteArray("Short") << QByteArray();

        // The thumbnail: the href's value, up to its closing quote.
        QTest::newRow("thumbnail up to the first closing")
            << QByteArray("<di:thumbnail href=\"a.jpg\" /><di:thumbnail href=\"b.jpg\" />\n")
            << QByteArray() << QByteArray("a.jpg");
        QTest::newRow("thumbnail closed without the blank")
            << QByteArray("<di:thumbnail href=\"a.jpg\"/>\n") << QByteArray()
            << QByteArray("a.jpg");
        QTest::newRow("thumbnail with its size")
            << QByteArray("<di:thumbnail href=\"x.jpg\" size=\"416x240\" />\n") << QByteArray()
            << QByteArray("x.jpg");
        QTest::newRow("unclosed href leaves the previous thumbnail")
            << ThumbnailLine("a.jpg") + "<di:thumbnail href=\"b.jpg />\n"
            << QByteArray() << QByteArray("a.jpg");
        // Taken as written: whether it may be shown is ThumbnailPath's to say.
        QTest::newRow("href leading outside")
            << ThumbnailLine("../../../../elsewhere/x.png") << QByteArray()
            << QByteArray("../../../../elsewhere/x.png");
        QTest::newRow("thumbnail in single quotes")
            << QByteArray("<di:thumbnail href='a.jpg' />\n") << QByteArray() << QByteArray();
        QTest::newRow("single quotes leave the previous thumbnail")
            << ThumbnailLine("a.jpg") + "<di:thumbnail href='b.jpg' />\n"
            << QByteArray() << QByteArray("a.jpg");
        QTest::newRow("last thumbnail wins") << ThumbnailLine("a.jpg") + ThumbnailLine("b.jpg")
                                             << QByteArray() << QByteArray("b.jpg");
        QTest::newRow("255-byte thumbnail kept")
            << ThumbnailLine(QByteArray(255, 't')) << QByteArray() << QByteArray(255, 't');
        QTest::newRow("256-byte thumbnail leaves the previous")
            << ThumbnailLine("a.jpg") + ThumbnailLine(QByteArray(256, 't')) << QByteArray()
            << QByteArray("a.jpg");

        // One line with both markers counts for the name alone, whatever their order.
        QTest::newRow("name and thumbnail on one line")
            << ThumbnailLine("a.jpg") + "<di:name>N</di:name><di:thumbnail href=\"b.jpg\" />\n"
            << QByteArray("N") << QByteArray("a.jpg");
        QTest::newRow("thumbnail and name on one line")
            << ThumbnailLine("a.jpg") + "<di:thumbnail href=\"b.jpg\" /><di:name>N</di:name>\n"
            << QByteArray("N") << QByteArray("a.jpg");

        // Lines longer than 2047 characters are read in pieces of 2047, from each line's start.
        const QByteArray filler2047(2047, 'x');
        QTest::newRow("marker at the start of the second piece")
            << filler2047 + "<di:name>Far</di:name>\n"
            << QByteArray("Far") << QByteArray();
        QTest::newRow("marker across the piece boundary")
            << QByteArray(2043, 'x') + "<di:name>Lost</di:name>\n"
            << QByteArray() << QByteArray();
        QTest::newRow("closing in the next piece: text to the piece's end")
            << QByteArray(2030, 'x') + "<di:name>Long Name</di:name>\n"
            << QByteArray("Long Nam") << QByteArray();
        QTest::newRow("thumbnail across the piece boundary")
            << QByteArray(2040, 'x') + "<di:thumbnail href=\"a.jpg\" />\n"
            << QByteArray() << QByteArray();
        QTest::newRow("pieces count from each line's start")
            << QByteArray(2040, 'x') + "\n" + "<di:name>Next</di:name>\n"
            << QByteArray("Next") << QByteArray();
        // An unclosed name takes its piece's rest: the newline when it is the 2047th character.
        QTest::newRow("newline as the 2047th character")
            << QByteArray(2033, 'x') + "<di:name>Edge\n"
            << QByteArray("Edge\n") << QByteArray();
        QTest::newRow("newline as the 2048th character")
            << QByteArray(2034, 'x') + "<di:name>Edge\n"
            << QByteArray("Edge") << QByteArray();
    }

    void nameAndThumbnailFromLines()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, thumbnail);
        const DiscMetadata metadata = ParseDiscMetadata(contents);
        QCOMPARE(metadata.name, name);
        QCOMPARE(metadata.thumbnail, thumbnail);
    }

    void readsMetadataFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("thumbnail");

        QTest::newRow("metadata file")
            << QStringLiteral("file") << QByteArray("Disc") << QByteArray("d.jpg");
        QTest::newRow("lines ended by CR LF")
            << QStringLiteral("crlf") << QByteArray("Open\n") << QByteArray();
        QTest::newRow("missing file") << QStringLiteral("missing") << QByteArray() << QByteArray();
        QTest::newRow("pipe") << QStringLiteral("pipe") << QByteArray() << QByteArray();
        QTest::newRow("larger than a metadata file")
            << QStringLiteral("large") << QByteArray() << QByteArray();
    }

    void readsMetadataFile()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, thumbnail);
        const QString fileName = kind + QStringLiteral(".xml");
        const QByteArray lines = NameLine("Disc") + ThumbnailLine("d.jpg");
        pid_t writer = 0;
        if (kind == QLatin1String("file")) {
            QVERIFY(!WriteFile(fileName, lines).isEmpty());
        } else if (kind == QLatin1String("crlf")) {
            QVERIFY(!WriteFile(fileName, "<di:name>Open\r\n").isEmpty());
        } else if (kind == QLatin1String("pipe")) {
            const QByteArray pipe = QFile::encodeName(m_folder.filePath(fileName));
            QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
            // Its writer waits for a reader, which the player must never be.
            writer = ::fork();
            if (writer == 0) {
                ::open(pipe.constData(), O_WRONLY);
                ::_exit(0);
            }
            QTest::qWait(100);
        } else if (kind == QLatin1String("large")) {
            const QByteArray padding(kMaxMetadataFileSize + 1 - lines.size(), ' ');
            QVERIFY(!WriteFile(fileName, lines + padding).isEmpty());
        }
        const DiscMetadata metadata = ReadDiscMetadata(m_folder.filePath(fileName));
        if (writer > 0) {
            QTest::qWait(200);
            const pid_t ended = ::waitpid(writer, nullptr, WNOHANG);
            ::kill(writer, SIGKILL);
            ::waitpid(writer, nullptr, 0);
            QCOMPARE(ended, 0);
        }
        QCOMPARE(metadata.name, name);
        QCOMPARE(metadata.thumbnail, thumbnail);
    }

    // A disc whose metadata folder holds thumb.jpg, with a picture outside the disc beside it;
    // href is what the metadata names, shown the file it must lead to (empty: none).
    void thumbnailOnlyFromInsideTheMetadataFolder_data()
    {
        QTest::addColumn<QByteArray>("href");
        QTest::addColumn<QString>("shown");

        QTest::newRow("file beside the metadata") << QByteArray("thumb.jpg") << "thumb.jpg";
        QTest::newRow("file in a sub-folder") << QByteArray("sub/small.jpg") << "sub/small.jpg";
        QTest::newRow("link that stays inside") << QByteArray("inside.jpg") << "thumb.jpg";
        QTest::newRow("parent steps leading outside")
            << QByteArray("../../../../elsewhere/x.png") << QString();
        QTest::newRow("absolute path") << QByteArray("/etc/passwd") << QString();
        QTest::newRow("link leading outside") << QByteArray("outside.png") << QString();
        QTest::newRow("pipe") << QByteArray("pipe.jpg") << QString();
        QTest::newRow("empty file") << QByteArray("empty.jpg") << QString();
        QTest::newRow("larger than a thumbnail") << QByteArray("large.jpg") << QString();
        QTest::newRow("missing file") << QByteArray("missing.jpg") << QString();
        QTest::newRow("no href") << QByteArray() << QString();
    }

    void thumbnailOnlyFromInsideTheMetadataFolder()
    {
        QFETCH(QByteArray, href);
        QFETCH(QString, shown);
        const QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("DISC/BDMV/META/DL/"));
        const QString outside = root.filePath(QStringLiteral("elsewhere/x.png"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("sub")));
        QVERIFY(QDir().mkpath(QFileInfo(outside).path()));
        for (const QString &picture : {folder + "thumb.jpg", folder + "sub/small.jpg", outside}) {
            QFile file(picture);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write("JFIF"), 4);
        }
        QFile large(folder + QStringLiteral("large.jpg"));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(kMaxThumbnailFileSize + 1));
        QFile empty(folder + QStringLiteral("empty.jpg"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(folder + QStringLiteral("thumb.jpg"), folder + "inside.jpg"));
        QVERIFY(QFile::link(outside, folder + QStringLiteral("outside.png")));
        QCOMPARE(::mkfifo(QFile::encodeName(folder + QStringLiteral("pipe.jpg")).constData(), 0600),
                 0);

        const QString path = ThumbnailPath(folder, href);
        QCOMPARE(path, shown.isEmpty() ? QString() : QFileInfo(folder + shown).canonicalFilePath());
        if (!shown.isEmpty()) {
            QVERIFY(!path.isEmpty());
        }
    }
};

TAVRIX_CORE_TEST_MAIN(DiscMetadataTest)
#include "DiscMetadataTest.moc"
