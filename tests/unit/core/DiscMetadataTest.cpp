// The disc's name and thumbnail from its metadata lines, and the SHA-512 text of a file.
#include "common/TestMain.h"

#include "disc/DiscMetadata.h"

#include <QFile>
#include <QTemporaryDir>

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

        // The thumbnail: after the marker up to the first "\" />".
        QTest::newRow("thumbnail up to the first closing")
            << QByteArray("<di:thumbnail href=\"a.jpg\" /><di:thumbnail href=\"b.jpg\" />\n")
            << QByteArray() << QByteArray("a.jpg");
        QTest::newRow("thumbnail closed without the blank")
            << QByteArray("<di:thumbnail href=\"a.jpg\"/>\n") << QByteArray()
            << QByteArray("a.jpg\"/>\n");
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

    void readsMetadataFile()
    {
        const QString path =
            WriteFile(QStringLiteral("bdmt_eng.xml"), NameLine("Disc") + ThumbnailLine("disc.jpg"));
        QVERIFY(!path.isEmpty());
        const DiscMetadata metadata = ReadDiscMetadata(path);
        QCOMPARE(metadata.name, QByteArray("Disc"));
        QCOMPARE(metadata.thumbnail, QByteArray("disc.jpg"));

        const DiscMetadata missing =
            ReadDiscMetadata(m_folder.filePath(QStringLiteral("none.xml")));
        QVERIFY(missing.name.isEmpty());
        QVERIFY(missing.thumbnail.isEmpty());
    }

    void hashesFileContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("hex");

        // Published SHA-512 test vectors.
        QTest::newRow("abc") << QByteArray("abc")
                             << QByteArray(
                                    "DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE6"
                                    "4B55D39A2192992A274FC1A836BA3C23A3FEEBBD454D4423643CE8"
                                    "0E2A9AC94FA54CA49F");
        QTest::newRow("two blocks")
            << QByteArray("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")
            << QByteArray("204A8FC6DDA82F0A0CED7BEB8E08A41657C16EF468B228A8279BE331A703C335"
                          "96FD15C13B1B07F9AA1D3BEA57789CA031AD85C7A71DD70354EC631238CA3445");
        QTest::newRow("a million a") << QByteArray(1000000, 'a')
                                     << QByteArray("E718483D0CE769644E2E42C7BC15B4638E1F98B13B20"
                                                   "44285632A803AFA973EBDE0FF244877EA60A4CB0432C"
                                                   "E577C31BEB009C5C2C49AA2E4EADB217AD8CC09B");
    }

    void hashesFileContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, hex);
        const QString path = WriteFile(QStringLiteral("content.bin"), content);
        QVERIFY(!path.isEmpty());
        QByteArray text = "earlier";
        QCOMPARE(HashFileHex(path, text), HashResult::kOk);
        QCOMPARE(text, hex);
    }

    void hashWithoutContentLeavesText_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("empty file") << true;
        QTest::newRow("missing file") << false;
    }

    void hashWithoutContentLeavesText()
    {
        QFETCH(bool, fileExists);
        const QString path = fileExists ? WriteFile(QStringLiteral("empty.bin"), QByteArray())
                                        : m_folder.filePath(QStringLiteral("missing.bin"));
        QVERIFY(!path.isEmpty());
        QCOMPARE(QFile::exists(path), fileExists);
        QByteArray text = "earlier";
        QCOMPARE(HashFileHex(path, text), HashResult::kCannotOpenOrEmpty);
        QCOMPARE(text, QByteArray("earlier"));
    }
};

TAVRIX_CORE_TEST_MAIN(DiscMetadataTest)
#include "DiscMetadataTest.moc"
