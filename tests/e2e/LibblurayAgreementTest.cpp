// Our title scan against libbluray's own listing (bd_list_titles) of discs written for the
// test. Every difference must be explained by one of the scan's own rules:
//   1. a title's length adds its play items each cut to whole seconds, so it may be shorter
//      than libbluray's by less than one second per item;
//   2. a loop-menu playlist (three or more items, the second and third of the same clip) is no
//      title;
//   3. a byte-identical copy of a playlist earlier in name order is no title;
//   4. a title's audio and subtitle lists are those of its last play item (libbluray shows the
//      first item's), so they are compared for titles of one item.
#include "common/TestMain.h"

#include "DiscWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>

namespace {

struct ListedTitle
{
    QString playlist; // "00004"
    qint64 seconds = 0;
    int chapters = 0;
    int clips = 0;
    QStringList audio;     // language codes
    QStringList subtitles; // language codes of the graphics streams
};

QByteArray Output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

std::map<QString, ListedTitle> LibblurayTitles(const QString &disc)
{
    static const QRegularExpression title(QStringLiteral(
        "^index:\\s+\\d+ duration: (\\d+):(\\d\\d):(\\d\\d) chapters:\\s+(\\d+) angles:\\s+\\d+ "
        "clips:\\s+(\\d+) \\(playlist: (\\d{5})\\.mpls\\)"));
    std::map<QString, ListedTitle> titles;
    ListedTitle *current = nullptr;
    const QString listing = QString::fromLocal8Bit(Output(
        QStringLiteral("bd_list_titles"), {disc, QStringLiteral("-a"), QStringLiteral("-l")}));
    for (const QString &line : listing.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = title.match(line);
        if (match.hasMatch()) {
            ListedTitle listed;
            listed.playlist = match.captured(6);
            listed.seconds = match.captured(1).toLongLong() * 3600 +
                             match.captured(2).toLongLong() * 60 + match.captured(3).toLongLong();
            listed.chapters = match.captured(4).toInt();
            listed.clips = match.captured(5).toInt();
            current = &(titles[listed.playlist] = listed);
        } else if (current != nullptr && line.trimmed().startsWith(QLatin1String("AUD:"))) {
            current->audio = line.trimmed().mid(4).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        } else if (current != nullptr && line.trimmed().startsWith(QLatin1String("PG :"))) {
            current->subtitles = line.trimmed().mid(4).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        }
    }
    return titles;
}

// The menu text our reader gives a language code.
QString LanguageName(const QString &code)
{
    static const std::map<QString, QString> names = {
        {"eng", "English"}, {"fra", "French"}, {"jpn", "Japanese"}, {"spa", "Spanish"}};
    const auto name = names.find(code);
    return name != names.end() ? name->second : code.toUpper();
}

QStringList Texts(const QJsonArray &streams)
{
    QStringList texts;
    for (const QJsonValue &stream : streams) {
        texts << stream.toObject().value(QStringLiteral("text")).toString();
    }
    return texts;
}

QByteArray Digest(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha512)
               : QByteArray();
}

} // namespace

class LibblurayAgreementTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    // Checks one disc; `loopMenus` names the playlists that rule 2 drops.
    void Compare(const QString &disc, const QStringList &loopMenus)
    {
        const std::map<QString, ListedTitle> theirs = LibblurayTitles(disc);
        QVERIFY2(!theirs.empty(), "bd_list_titles listed nothing");
        const QJsonObject scan =
            QJsonDocument::fromJson(Output(QStringLiteral(TAVRIX_BIN_DIR "/disc-scan"), {disc}))
                .object();
        std::map<QString, QJsonObject> ours;
        for (const QJsonValue &title : scan.value(QStringLiteral("titles")).toArray()) {
            const QString key = title.toObject().value(QStringLiteral("key")).toString();
            ours[QFileInfo(key).completeBaseName()] = title.toObject();
        }
        for (const auto &[playlist, _] : ours) {
            QVERIFY2(theirs.count(playlist) != 0, qPrintable("only we list " + playlist));
        }

        const QString playlists = disc + QStringLiteral("/BDMV/PLAYLIST/");
        std::map<QByteArray, QString> firstWithDigest;
        for (const auto &[playlist, listed] : theirs) {
            const QByteArray digest = Digest(playlists + playlist + QStringLiteral(".mpls"));
            const bool copy = firstWithDigest.count(digest) != 0;
            firstWithDigest.emplace(digest, playlist);
            if (loopMenus.contains(playlist) || copy) {
                QVERIFY2(ours.count(playlist) == 0,
                         qPrintable(playlist + " should have been dropped by our own rules"));
                continue;
            }
            QVERIFY2(ours.count(playlist) != 0, qPrintable("we miss " + playlist));
            const QJsonObject &title = ours[playlist];
            const QJsonArray items = title.value(QStringLiteral("playItems")).toArray();
            const QStringList duration =
                title.value(QStringLiteral("duration")).toString().split(QLatin1Char(':'));
            const qint64 ourSeconds = duration[0].toLongLong() * 3600 +
                                      duration[1].toLongLong() * 60 + duration[2].toLongLong();
            QVERIFY2(ourSeconds <= listed.seconds && listed.seconds - ourSeconds < items.size(),
                     qPrintable(QStringLiteral("%1: %2 s against %3 s")
                                    .arg(playlist)
                                    .arg(ourSeconds)
                                    .arg(listed.seconds)));
            QCOMPARE(items.size(), listed.clips);
            QCOMPARE(title.value(QStringLiteral("chapters")).toArray().size(), listed.chapters);
            if (items.size() != 1) {
                continue;
            }
            QStringList audio;
            for (const QString &code : listed.audio) {
                audio << LanguageName(code) + QStringLiteral(" AC3");
            }
            QCOMPARE(Texts(title.value(QStringLiteral("audio")).toArray()), audio);
            QStringList subtitles;
            for (const QString &code : listed.subtitles) {
                subtitles << LanguageName(code);
            }
            QCOMPARE(Texts(title.value(QStringLiteral("subtitles")).toArray()), subtitles);
        }
    }

private slots:
    void demoDiscAgrees()
    {
        const QString disc = m_folder.filePath(QStringLiteral("DEMO"));
        QString error;
        QVERIFY2(DiscWriter::Write(DiscWriter::DemoDisc(), disc, &error), qPrintable(error));
        Compare(disc, {QStringLiteral("00005")});
    }

    void discWithFractionalItemsAndManyLanguagesAgrees()
    {
        using namespace DiscWriter;
        Disc disc;
        disc.name = "Fractions";
        disc.clips = {Clip{"00001", 10, Clip::Mpeg2, {"eng", "fra", "deu"}},
                      Clip{"00002", 6, Clip::H264, {"eng"}}, Clip{"00003", 4, Clip::H264, {"jpn"}}};
        // 9.5 s + 5.5 s: 14 s to us (each item cut first), 15 s to libbluray.
        Title main{"00001",
                   {TitleItem{"00001", 0, 9500, {}}, TitleItem{"00002", 0, 5500, {}}},
                   {0, 4000, 9500},
                   {"eng", "fra"}};
        Title whole{"00002", {TitleItem{"00002", 0, -1, {}}}, {0, 3000}, {}};
        Title angles{"00003", {TitleItem{"00002", 0, 4000, {"00003"}}}, {0}, {}};
        Title loopMenu{"00005",
                       {TitleItem{"00003", 0, 1000, {}}, TitleItem{"00002", 0, 1000, {}},
                        TitleItem{"00002", 1000, 2000, {}}},
                       {0},
                       {}};
        Title part{"00006", {TitleItem{"00003", 500, 3500, {}}}, {0}, {"spa"}};
        disc.titles = {main, whole, angles, loopMenu, part};
        disc.copies = {{"00004", "00002"}};
        const QString folder = m_folder.filePath(QStringLiteral("FRACTIONS"));
        QString error;
        QVERIFY2(Write(disc, folder, &error), qPrintable(error));
        Compare(folder, {QStringLiteral("00005")});
    }
};

TAVRIX_CORE_TEST_MAIN(LibblurayAgreementTest)
#include "LibblurayAgreementTest.moc"
