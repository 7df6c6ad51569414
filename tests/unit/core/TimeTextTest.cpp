#include "common/TestMain.h"

#include "util/LanguageName.h"
#include "util/TextConversion.h"
#include "util/TimeText.h"

class TimeTextTest : public QObject
{
    Q_OBJECT

private slots:
    void formatTime_data();
    void formatTime();
    void formatThenParseGivesSecondsBack_data();
    void formatThenParseGivesSecondsBack();
    void parseTime_data();
    void parseTime();
    void parseTimeOfNullIsZero();
    void parseTimeSurvivesHugeFields_data();
    void parseTimeSurvivesHugeFields();
    void emptyTextConvertsToEmpty();
    void textRoundTrip_data();
    void textRoundTrip();
    void namesFromOutsideShowOnOneLine_data();
    void namesFromOutsideShowOnOneLine();
    void languageNames_data();
    void languageNames();
};

void TimeTextTest::formatTime_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << qint64(0) << QStringLiteral("00:00:00");
    QTest::newRow("last second of first minute") << qint64(59) << QStringLiteral("00:00:59");
    QTest::newRow("one minute") << qint64(60) << QStringLiteral("00:01:00");
    QTest::newRow("odd minutes and seconds") << qint64(187) << QStringLiteral("00:03:07");
    QTest::newRow("last second of first hour") << qint64(3599) << QStringLiteral("00:59:59");
    QTest::newRow("one hour") << qint64(3600) << QStringLiteral("01:00:00");
    QTest::newRow("last second of a day") << qint64(86399) << QStringLiteral("23:59:59");
    QTest::newRow("one hundred hours") << qint64(360000) << QStringLiteral("100:00:00");
    QTest::newRow("negative goes to the seconds field") << qint64(-5) << QStringLiteral("00:00:-5");
}

void TimeTextTest::formatTime()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, expected);
    QCOMPARE(FormatTime(seconds), expected);
}

void TimeTextTest::formatThenParseGivesSecondsBack_data()
{
    QTest::addColumn<qint64>("seconds");

    for (const qint64 seconds : {0, 1, 59, 60, 61, 187, 3599, 3600, 3661, 86399, 86400, 360000}) {
        QTest::addRow("%lld", static_cast<long long>(seconds)) << seconds;
    }
}

void TimeTextTest::formatThenParseGivesSecondsBack()
{
    QFETCH(qint64, seconds);
    const QByteArray text = FormatTime(seconds).toLatin1();
    QCOMPARE(ParseTime(text.constData()), seconds);
}

void TimeTextTest::parseTime_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("zero") << QByteArray("00:00:00") << qint64(0);
    QTest::newRow("two fields are hours and minutes") << QByteArray("01:30") << qint64(5400);
    QTest::newRow("single digits") << QByteArray("1:2:3") << qint64(3723);
    QTest::newRow("not a number") << QByteArray("abc") << qint64(0);
    QTest::newRow("fraction dropped") << QByteArray("02:03:04.99") << qint64(7384);
    QTest::newRow("fraction not rounded") << QByteArray("01:02:03.56") << qint64(3723);
    QTest::newRow("hours only") << QByteArray("2") << qint64(7200);
    QTest::newRow("leading space") << QByteArray(" 1:02:03") << qint64(3723);
    QTest::newRow("empty") << QByteArray("") << qint64(0);
    QTest::newRow("empty hours") << QByteArray(":30") << qint64(1800);
    QTest::newRow("empty minutes") << QByteArray("1::5") << qint64(3605);
    QTest::newRow("empty seconds") << QByteArray("01:30:") << qint64(5400);
    QTest::newRow("negative hours") << QByteArray("-01:30") << qint64(-1800);
    QTest::newRow("fourth field ignored") << QByteArray("1:2:3:4") << qint64(3723);
    QTest::newRow("trailing text in fields") << QByteArray("1h:2m:3s") << qint64(3723);
}

void TimeTextTest::parseTime()
{
    QFETCH(QByteArray, text);
    QFETCH(qint64, expected);
    QCOMPARE(ParseTime(text.constData()), expected);
}

void TimeTextTest::parseTimeOfNullIsZero()
{
    QCOMPARE(ParseTime(nullptr), qint64(0));
}

void TimeTextTest::parseTimeSurvivesHugeFields_data()
{
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("huge hours") << QByteArray("99999999999:00:00");
    QTest::newRow("huge negative hours") << QByteArray("-99999999999:00:00");
    QTest::newRow("huge minutes") << QByteArray("0:99999999999:00");
    QTest::newRow("huge seconds") << QByteArray("0:0:99999999999");
    QTest::newRow("beyond 64 bits") << QByteArray("999999999999999999999999:9:9");
    QTest::newRow("hours that overflow once multiplied") << QByteArray("2147483647:59:59");
}

// Any value will do here; the reading has to come back, and the same way every time.
void TimeTextTest::parseTimeSurvivesHugeFields()
{
    QFETCH(QByteArray, text);
    const qint64 first = ParseTime(text.constData());
    QCOMPARE(ParseTime(text.constData()), first);
}

void TimeTextTest::emptyTextConvertsToEmpty()
{
    QVERIFY(ToWide("").isEmpty());
    QVERIFY(ToWide(nullptr).isEmpty());
    QVERIFY(ToNarrow(QString()).isEmpty());
    QVERIFY(ToNarrow(QStringLiteral("")).isEmpty());
}

void TimeTextTest::textRoundTrip_data()
{
    QTest::addColumn<QByteArray>("narrow");
    QTest::addColumn<QString>("wide");

    QTest::newRow("ascii path") << QByteArray("/media/disc/BDMV/index.bdmv")
                                << QStringLiteral("/media/disc/BDMV/index.bdmv");
    QTest::newRow("utf-8 path") << QByteArray("/home/user/Vid\xc3\xa9os/film.m2ts")
                                << (QStringLiteral("/home/user/Vid") + QChar(0xE9) +
                                    QStringLiteral("os/film.m2ts"));
}

void TimeTextTest::textRoundTrip()
{
    QFETCH(QByteArray, narrow);
    QFETCH(QString, wide);
    QCOMPARE(ToWide(narrow.constData()), wide);
    QCOMPARE(ToNarrow(wide), narrow);
    QCOMPARE(ToNarrow(ToWide(narrow.constData())), narrow);
}

TAVRIX_CORE_TEST_MAIN(TimeTextTest)

#include "TimeTextTest.moc"

// A message's list: each name on a line of its own, however it breaks, and a count for the rest.
void TimeTextTest::namesFromOutsideShowOnOneLine_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("expected");
    QTest::newRow("line breaks and separators")
        << QStringList{QStringLiteral("a\nb\u2028c\u2029d")} << QStringLiteral("a b c d");
    QTest::newRow("more than shown")
        << QStringList{"a", "b", "c", "d"} << QStringLiteral("a\nb\n\u2026 (+2)");
}

void TimeTextTest::namesFromOutsideShowOnOneLine()
{
    QFETCH(QStringList, names);
    QTEST(NameList(names, 2), "expected");
}

void TimeTextTest::languageNames_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");

    QTest::newRow("three letters, bibliographic") << "ger" << QStringLiteral("Deutsch");
    QTest::newRow("three letters, terminology") << "deu" << QStringLiteral("Deutsch");
    QTest::newRow("two letters") << "fr" << QStringLiteral("Fran\u00e7ais");
    QTest::newRow("upper case") << "ENG" << QStringLiteral("English");
    QTest::newRow("no language") << "und" << QStringLiteral("und");
    QTest::newRow("not a code") << "<b>x" << QStringLiteral("<b>x");
}

void TimeTextTest::languageNames()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QCOMPARE(LanguageName(code), name);
}
