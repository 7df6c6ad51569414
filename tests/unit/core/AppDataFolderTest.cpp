#include "common/TestMain.h"

#include "platform/AppDataFolder.h"
#include "platform/ExternalPrograms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class AppDataFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void folderIsInConfigHome_data();
    void folderIsInConfigHome();
    void ensureFolderExists_data();
    void ensureFolderExists();
    void appDataFolderCanBeCreated();
    void probeCopyOfAnotherProbeGivesWay_data();
    void probeCopyOfAnotherProbeGivesWay();

private:
    QTemporaryDir m_scratch;
};

void AppDataFolderTest::folderIsInConfigHome_data()
{
    QTest::addColumn<QString>("configHome");

    QTest::newRow("test home") << QString();
    QTest::newRow("changed while running") << m_scratch.filePath(QStringLiteral("other config"));
}

void AppDataFolderTest::folderIsInConfigHome()
{
    QFETCH(QString, configHome);

    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    QVERIFY(!previous.isEmpty());
    if (!configHome.isEmpty()) {
        qputenv("XDG_CONFIG_HOME", configHome.toLocal8Bit());
    }
    const QString expected =
        qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tavrix BluRay Player/");
    const QString folder = AppDataFolder();
    qputenv("XDG_CONFIG_HOME", previous);

    QCOMPARE(folder, expected);
    QVERIFY(folder.endsWith(QLatin1Char('/')));
}

void AppDataFolderTest::ensureFolderExists_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("plainFile"); // made before the call when not empty
    QTest::addColumn<bool>("exists");

    const QString root = m_scratch.path();
    QTest::newRow("missing with missing parents")
        << root + QStringLiteral("/new/parent/child") << QString() << true;
    QTest::newRow("missing with trailing slash")
        << root + QStringLiteral("/slash/child/") << QString() << true;
    QTest::newRow("existing") << root << QString() << true;
    QTest::newRow("plain file at the path")
        << root + QStringLiteral("/file") << root + QStringLiteral("/file") << false;
    QTest::newRow("plain file as a parent") << root + QStringLiteral("/parentfile/child")
                                            << root + QStringLiteral("/parentfile") << false;
}

void AppDataFolderTest::ensureFolderExists()
{
    QFETCH(QString, folder);
    QFETCH(QString, plainFile);
    QFETCH(bool, exists);

    if (!plainFile.isEmpty()) {
        QFile file(plainFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a folder");
    }

    QCOMPARE(EnsureFolderExists(folder), exists);
    QCOMPARE(QFileInfo(folder).isDir(), exists);
    if (!plainFile.isEmpty()) {
        QVERIFY(QFileInfo(plainFile).isFile());
    }
}

void AppDataFolderTest::appDataFolderCanBeCreated()
{
    const QString folder = AppDataFolder();
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(EnsureFolderExists(folder));
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(EnsureFolderExists(folder));
}

// The build's probe is copied into the per-user folder; an older build's copy is replaced, and
// a link of that name is never written through.
void AppDataFolderTest::probeCopyOfAnotherProbeGivesWay_data()
{
    QTest::addColumn<bool>("link");
    QTest::newRow("an older probe's copy") << false;
    QTest::newRow("a link") << true;
}

void AppDataFolderTest::probeCopyOfAnotherProbeGivesWay()
{
    QFETCH(bool, link);
    QVERIFY(QFileInfo(ProbeSource()).size() > 2);
    QVERIFY(EnsureFolderExists(AppDataFolder()));
    const QString copy = AppDataFolder() + QStringLiteral("tool");
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("old"));
    QFile::remove(copy);
    QFile old(link ? target : copy);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("ff") == 2);
    old.close();
    QVERIFY(!link || QFile::link(target, copy));
    InstallProbe();
    QCOMPARE(QFileInfo(link ? target : copy).size(), link ? 2 : QFileInfo(ProbeSource()).size());
    QFile::remove(copy);
}

TAVRIX_CORE_TEST_MAIN(AppDataFolderTest)

#include "AppDataFolderTest.moc"
