#include "common/TestMain.h"

#include "app/LogHandler.h"
#include "platform/AppDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return file.readAll();
}

} // namespace

// Every test runs in a fresh current directory with the log handler installed; the previous
// directory and handler come back afterwards, also when a test fails.
class LogHandlerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void otherLevelsWriteNothing_data();
    void otherLevelsWriteNothing();
    void debugMessagesAppendLinesInOrder_data();
    void debugMessagesAppendLinesInOrder();
    void logThatIsNotOursIsLeftAlone_data();
    void logThatIsNotOursIsLeftAlone();

private:
    QString LogPath() const { return m_folder->filePath(QStringLiteral("Log.txt")); }

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_previousDirectory;
    QtMessageHandler m_previousHandler = nullptr;
};

void LogHandlerTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_previousDirectory = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    m_previousHandler = qInstallMessageHandler(LogMessageHandler);
}

void LogHandlerTest::cleanup()
{
    qInstallMessageHandler(m_previousHandler);
    QDir::setCurrent(m_previousDirectory);
    m_folder.reset();
}

void LogHandlerTest::otherLevelsWriteNothing_data()
{
    QTest::addColumn<int>("level");

    QTest::newRow("warning") << int(QtWarningMsg);
    QTest::newRow("info") << int(QtInfoMsg);
    QTest::newRow("critical") << int(QtCriticalMsg);
}

void LogHandlerTest::otherLevelsWriteNothing()
{
    QFETCH(int, level);

    switch (QtMsgType(level)) {
    case QtWarningMsg: qWarning("not for the log"); break;
    case QtInfoMsg: qInfo("not for the log"); break;
    case QtCriticalMsg: qCritical("not for the log"); break;
    default: QFAIL("unexpected level");
    }
    QVERIFY(!QFileInfo::exists(LogPath()));
}

void LogHandlerTest::debugMessagesAppendLinesInOrder_data()
{
    QTest::addColumn<QByteArray>("existing");

    QTest::newRow("no log yet") << QByteArray();
    QTest::newRow("earlier log kept") << QByteArray("Debug: earlier\n");
}

void LogHandlerTest::debugMessagesAppendLinesInOrder()
{
    QFETCH(QByteArray, existing);

    if (!existing.isEmpty()) {
        QFile file(LogPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(existing), existing.size());
    }

    qDebug("first");
    qWarning("in between");
    qDebug("second");

    QCOMPARE(ReadAll(LogPath()), existing + QByteArray("Debug: first\nDebug: second\n"));
}

void LogHandlerTest::logThatIsNotOursIsLeftAlone_data()
{
    QTest::addColumn<bool>("folder"); // else a link planted to a file of the user's

    QTest::newRow("a folder") << true;
    QTest::newRow("a link to the user's file") << false;
}

void LogHandlerTest::logThatIsNotOursIsLeftAlone()
{
    QFETCH(bool, folder);
    const QString victim = m_folder->filePath(QStringLiteral(".bashrc"));
    QFile(victim).open(QIODevice::WriteOnly);
    QVERIFY(folder ? QDir(m_folder->path()).mkdir(QStringLiteral("Log.txt"))
                   : QFile::link(victim, LogPath()));
    const QString stateLog = StateFolder() + QStringLiteral("Log.txt");
    QFile::remove(stateLog);

    qDebug("kept");

    QCOMPARE(ReadAll(victim), QByteArray());
    QCOMPARE(ReadAll(stateLog), QByteArray("Debug: kept\n"));
}

TAVRIX_CORE_TEST_MAIN(LogHandlerTest)

#include "LogHandlerTest.moc"
