#include "common/TestMain.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/prctl.h>
#include <vector>

// Starts the built program on the display the test command provides and watches its windows
// from outside with xdotool, as a user's desktop would see them.
namespace {

const QString kProgram = QStringLiteral(TAVRIX_BIN_DIR "/tavrix-bluray-player");
const QString kTitle = QStringLiteral("Tavrix BluRay Player");
const QString kTitlePattern = QStringLiteral("^Tavrix BluRay Player$");

constexpr int kWindowLimitMs = 10000;
constexpr int kSecondCopyLimitMs = 2000;
constexpr int kRestoreLimitMs = 2000;

struct Geometry
{
    int width = -1;
    int height = -1;
};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstCopyShowsItsWindowAndIgnoresAFileArgument();
    void secondCopyEndsAtOnceWithoutAWindow();
    void secondCopyRestoresTheMinimisedWindow();
    void newCopyRunsAfterTheFirstWasKilled();

private:
    // Starts a copy of the program with the test's own home, configuration and temporary
    // folders. The copy dies with the test process, whatever ends it.
    QProcess *StartCopy(const QStringList &arguments = {});
    // Waits for exactly one window with the program's title to exist and returns its id.
    QString WaitForOneWindow(int limitMs);
    bool WaitUntil(const std::function<bool()> &condition, int limitMs);

    static QString Xdotool(const QStringList &arguments);
    static QStringList WindowsWithTitle(bool onlyVisible);
    static Geometry WindowGeometry(const QString &window);
    static QString WindowPid(const QString &window);

    QString AppDataFolder() const;

    QTemporaryDir m_sandbox;
    QProcessEnvironment m_environment;
    std::vector<std::unique_ptr<QProcess>> m_copies;
};

void StartupTest::initTestCase()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "needs the display of the test command");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(), "needs xdotool");
    QVERIFY2(QFileInfo(kProgram).isExecutable(), qPrintable(kProgram));
    QVERIFY(m_sandbox.isValid());

    // The single-instance lock lives in the temporary folder, so every copy started here shares
    // one that nothing outside the test uses. The log file lands in the working folder.
    QVERIFY(QDir(m_sandbox.path()).mkpath(QStringLiteral("tmp")));
    QVERIFY(QDir(m_sandbox.path()).mkpath(QStringLiteral("work")));
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("HOME"), qEnvironmentVariable("HOME"));
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                         qEnvironmentVariable("XDG_CONFIG_HOME"));
    m_environment.insert(QStringLiteral("TMPDIR"), m_sandbox.path() + QStringLiteral("/tmp"));
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
}

void StartupTest::init()
{
    QVERIFY2(WindowsWithTitle(false).isEmpty(),
             "a window with the program's title is open on this display already");
    QDir(AppDataFolder()).removeRecursively();
    QVERIFY(!QFileInfo::exists(AppDataFolder()));
}

void StartupTest::cleanup()
{
    for (const auto &copy : m_copies) {
        if (copy->state() != QProcess::NotRunning) {
            copy->kill();
            copy->waitForFinished(5000);
        }
    }
    m_copies.clear();
    // The next case starts on a display without the program's windows.
    WaitUntil([] { return WindowsWithTitle(false).isEmpty(); }, 5000);
}

QString StartupTest::AppDataFolder() const
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tavrix BluRay Player");
}

QProcess *StartupTest::StartCopy(const QStringList &arguments)
{
    auto copy = std::make_unique<QProcess>();
    copy->setProgram(kProgram);
    copy->setArguments(arguments);
    copy->setProcessEnvironment(m_environment);
    copy->setWorkingDirectory(m_sandbox.path() + QStringLiteral("/work"));
    copy->setProcessChannelMode(QProcess::ForwardedChannels);
    copy->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    copy->start();
    QProcess *started = copy.get();
    m_copies.push_back(std::move(copy));
    return started->waitForStarted(5000) ? started : nullptr;
}

bool StartupTest::WaitUntil(const std::function<bool()> &condition, int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(50);
    }
    return true;
}

QString StartupTest::WaitForOneWindow(int limitMs)
{
    QStringList windows;
    WaitUntil(
        [&] {
            windows = WindowsWithTitle(false);
            return !windows.isEmpty();
        },
        limitMs);
    return windows.size() == 1 ? windows.first() : QString();
}

QString StartupTest::Xdotool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(5000)) {
        tool.kill();
        tool.waitForFinished();
        return QString();
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QStringList StartupTest::WindowsWithTitle(bool onlyVisible)
{
    QStringList arguments{QStringLiteral("search")};
    if (onlyVisible) {
        arguments << QStringLiteral("--onlyvisible");
    }
    arguments << QStringLiteral("--name") << kTitlePattern;
    return Xdotool(arguments).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

Geometry StartupTest::WindowGeometry(const QString &window)
{
    Geometry geometry;
    const QStringList lines =
        Xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("WIDTH="))) {
            geometry.width = line.mid(6).toInt();
        } else if (line.startsWith(QLatin1String("HEIGHT="))) {
            geometry.height = line.mid(7).toInt();
        }
    }
    return geometry;
}

QString StartupTest::WindowPid(const QString &window)
{
    return Xdotool({QStringLiteral("getwindowpid"), window}).trimmed();
}

void StartupTest::firstCopyShowsItsWindowAndIgnoresAFileArgument()
{
    const QString film = m_sandbox.path() + QStringLiteral("/work/holiday film.mkv");
    {
        QFile file(film);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(4096, '\x47')) == 4096);
    }
    QVERIFY(!QFileInfo::exists(AppDataFolder()));

    QProcess *first = StartCopy({film});
    QVERIFY(first != nullptr);
    const QString window = WaitForOneWindow(kWindowLimitMs);
    QVERIFY2(!window.isEmpty(), "no single window titled exactly \"Tavrix BluRay Player\"");
    QCOMPARE(WindowPid(window), QString::number(first->processId()));
    QVERIFY(WindowsWithTitle(true).contains(window));

    Geometry geometry;
    QVERIFY(WaitUntil(
        [&] {
            geometry = WindowGeometry(window);
            return geometry.width == 1000 && geometry.height == 680;
        },
        kWindowLimitMs));

    QVERIFY(QFileInfo(AppDataFolder()).isDir());

    // The file given on the command line neither ends the program nor opens a second window.
    QTest::qWait(1000);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(WindowsWithTitle(false), QStringList{window});
}

void StartupTest::secondCopyEndsAtOnceWithoutAWindow()
{
    QProcess *first = StartCopy();
    QVERIFY(first != nullptr);
    const QString window = WaitForOneWindow(kWindowLimitMs);
    QVERIFY(!window.isEmpty());

    QProcess *second = StartCopy();
    QVERIFY(second != nullptr);
    QVERIFY2(second->waitForFinished(kSecondCopyLimitMs), "the second copy kept running");
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);

    QCOMPARE(WindowsWithTitle(false), QStringList{window});
    QCOMPARE(first->state(), QProcess::Running);
    QVERIFY(WindowsWithTitle(true).contains(window));
}

void StartupTest::secondCopyRestoresTheMinimisedWindow()
{
    QProcess *first = StartCopy();
    QVERIFY(first != nullptr);
    const QString window = WaitForOneWindow(kWindowLimitMs);
    QVERIFY(!window.isEmpty());
    QVERIFY(WaitUntil([&] { return WindowsWithTitle(true).contains(window); }, kWindowLimitMs));

    Xdotool({QStringLiteral("windowminimize"), window});
    QVERIFY2(WaitUntil([&] { return !WindowsWithTitle(true).contains(window); }, 5000),
             "the window manager did not minimise the window");
    QCOMPARE(first->state(), QProcess::Running);

    QProcess *second = StartCopy();
    QVERIFY(second != nullptr);
    QVERIFY2(second->waitForFinished(kSecondCopyLimitMs), "the second copy kept running");
    QCOMPARE(second->exitCode(), 0);
    QVERIFY2(WaitUntil([&] { return WindowsWithTitle(true).contains(window); }, kRestoreLimitMs),
             "the minimised window did not come back");

    // Back in its normal state: same window, its own size, not maximised.
    QCOMPARE(WindowsWithTitle(false), QStringList{window});
    const Geometry geometry = WindowGeometry(window);
    QCOMPARE(geometry.width, 1000);
    QCOMPARE(geometry.height, 680);
    QCOMPARE(first->state(), QProcess::Running);
}

void StartupTest::newCopyRunsAfterTheFirstWasKilled()
{
    QProcess *first = StartCopy();
    QVERIFY(first != nullptr);
    QVERIFY(!WaitForOneWindow(kWindowLimitMs).isEmpty());

    first->kill();
    QVERIFY(first->waitForFinished(5000));
    QCOMPARE(first->exitStatus(), QProcess::CrashExit);
    QVERIFY(WaitUntil([] { return WindowsWithTitle(false).isEmpty(); }, 5000));

    QProcess *next = StartCopy();
    QVERIFY(next != nullptr);
    const QString window = WaitForOneWindow(kWindowLimitMs);
    QVERIFY2(!window.isEmpty(), "the new copy showed no window");
    QCOMPARE(WindowPid(window), QString::number(next->processId()));
    QTest::qWait(2000);
    QCOMPARE(next->state(), QProcess::Running);
    QVERIFY(WindowsWithTitle(true).contains(window));
}

TAVRIX_CORE_TEST_MAIN(StartupTest)
#include "StartupTest.moc"
