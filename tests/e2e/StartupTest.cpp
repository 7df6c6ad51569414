#include "common/ProcessGroups.h"
#include "common/TestMain.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QStandardPaths>

#include <csignal>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
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
constexpr int kGroupEndLimitMs = 3000;

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

    void firstCopyShowsItsWindowAtItsFirstStartSize();
    void secondCopyEndsAtOnceWithoutAWindow();
    void secondCopyRestoresTheMinimisedWindow();
    void newCopyRunsAfterTheFirstWasKilled();
    void anotherUserHoldingTheLockNameStopsNoCopy();
    void engineGroupEndsWithAKilledPlayer();

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
    QProcessEnvironment m_usualEnvironment;
    QProcessEnvironment m_environment;
    std::vector<std::unique_ptr<QProcess>> m_copies;
};

void StartupTest::initTestCase()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "needs the display of the test command");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(), "needs xdotool");
    QVERIFY2(QFileInfo(kProgram).isExecutable(), qPrintable(kProgram));
    QVERIFY(m_sandbox.isValid());

    // Without a runtime folder the single-instance lock is a name in the abstract socket
    // namespace, which each network namespace has of its own: in a namespace of the test's own,
    // the copies started here meet each other and no other player on the machine.
    QVERIFY2(::unshare(CLONE_NEWNET) == 0, "needs a network namespace of its own (root)");
    QVERIFY(QDir(m_sandbox.path()).mkpath(QStringLiteral("tmp")));
    QVERIFY(QDir(m_sandbox.path()).mkpath(QStringLiteral("work")));
    // An engine started through a wrapper script that runs a long child of its own, not by exec.
    const QString wrapper = m_sandbox.path() + QStringLiteral("/engine-wrapper");
    {
        QFile script(wrapper);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho $$ > \"$0.pid\"\nsleep 60\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("HOME"), qEnvironmentVariable("HOME"));
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                         qEnvironmentVariable("XDG_CONFIG_HOME"));
    m_environment.insert(QStringLiteral("TMPDIR"), m_sandbox.path() + QStringLiteral("/tmp"));
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_environment.insert(QStringLiteral("TAVRIX_ENGINE"), wrapper);
    m_environment.insert(QStringLiteral("TAVRIX_PROBE"),
                         QStandardPaths::findExecutable(QStringLiteral("true")));
    m_usualEnvironment = m_environment;
}

void StartupTest::init()
{
    m_environment = m_usualEnvironment;
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

void StartupTest::firstCopyShowsItsWindowAtItsFirstStartSize()
{
    QVERIFY(!QFileInfo::exists(AppDataFolder()));

    QProcess *first = StartCopy({});
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

    // Nothing ends the program or opens a second window meanwhile.
    QTest::qWait(1000);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(WindowsWithTitle(false), QStringList{window});
}

void StartupTest::secondCopyEndsAtOnceWithoutAWindow()
{
    // A link planted where the lock once was a file, to a file only its owner may use: neither
    // copy may touch it.
    const QString target = m_sandbox.path() + QStringLiteral("/work/private");
    const QString planted =
        m_sandbox.path() + QStringLiteral("/tmp/Tavrix_BluRay_Player_2019_For_Windows");
    const QByteArray content("owner only\n");
    {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0600) == 0);
    QFile::remove(planted);
    QVERIFY(QFile::link(target, planted));

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

    struct stat status = {};
    QVERIFY(::stat(QFile::encodeName(target).constData(), &status) == 0);
    QCOMPARE(status.st_mode & 07777, mode_t(0600));
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    QVERIFY(QFileInfo(planted).isSymLink());
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

void StartupTest::anotherUserHoldingTheLockNameStopsNoCopy()
{
    // Without a runtime folder the lock is an abstract name, which any user can bind: the names a
    // copy binds there are learnt from the kernel's list of sockets, then held by another user.
    m_environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcess *learnt = StartCopy();
    QVERIFY(learnt != nullptr);
    QVERIFY(!WaitForOneWindow(kWindowLimitMs).isEmpty());
    QSet<QByteArray> sockets;
    const QString descriptors = QStringLiteral("/proc/%1/fd/").arg(learnt->processId());
    for (const QString &name : QDir(descriptors).entryList(QDir::System)) {
        char target[64] = {};
        if (::readlink(QFile::encodeName(descriptors + name), target, sizeof target - 1) > 0) {
            sockets.insert(QByteArray(target).mid(8).chopped(1)); // "socket:[INODE]"
        }
    }
    QFile table(QStringLiteral("/proc/net/unix"));
    QVERIFY(table.open(QIODevice::ReadOnly));
    QList<QByteArray> names;
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 8 && sockets.contains(fields[6]) && fields[7].startsWith('@')) {
            names.append(fields[7].mid(1));
        }
    }
    QVERIFY2(!names.isEmpty(), "the copy bound no abstract name");
    learnt->kill();
    QVERIFY(learnt->waitForFinished(5000));
    QVERIFY(WaitUntil([] { return WindowsWithTitle(false).isEmpty(); }, 5000));

    int held[2];
    QVERIFY(::pipe(held) == 0);
    const pid_t stranger = ::fork();
    if (stranger == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        bool holding = ::setresgid(65534, 65534, 65534) == 0 && ::setresuid(65534, 65534, 65534) == 0;
        for (const QByteArray &name : names) {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            holding = holding &&
                      ::bind(fd, reinterpret_cast<const sockaddr *>(&address),
                             socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size())) == 0 &&
                      ::listen(fd, 9) == 0;
        }
        const char said = holding ? 'h' : 'x';
        if (::write(held[1], &said, 1) == 1) {
            ::pause();
        }
        ::_exit(0);
    }
    QVERIFY(stranger > 0);
    char said = 0;
    QVERIFY(::read(held[0], &said, 1) == 1);
    ::close(held[0]);
    ::close(held[1]);
    QCOMPARE(said, 'h');

    QProcess *copy = StartCopy();
    QVERIFY(copy != nullptr);
    const QString window = WaitForOneWindow(kWindowLimitMs);
    ::kill(stranger, SIGKILL);
    ::waitpid(stranger, nullptr, 0);
    QVERIFY2(!window.isEmpty(), "this user's copy did not start");
    QCOMPARE(WindowPid(window), QString::number(copy->processId()));
}

void StartupTest::engineGroupEndsWithAKilledPlayer()
{
    const QString film = m_sandbox.path() + QStringLiteral("/work/film.mkv");
    {
        QFile file(film);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(4096, '\x47')) == 4096);
    }
    // The film is the only recent file; the player plays it from the File menu.
    QVERIFY(QDir().mkpath(AppDataFolder()));
    {
        QFile recent(AppDataFolder() + QStringLiteral("/RecentConfig.txt"));
        QVERIFY(recent.open(QIODevice::WriteOnly));
        recent.write(QFile::encodeName(film) + '\n');
    }
    const QString groupFile = m_environment.value(QStringLiteral("TAVRIX_ENGINE")) + ".pid";
    QFile::remove(groupFile);

    QProcess *player = StartCopy();
    QVERIFY(player != nullptr);
    const QString window = WaitForOneWindow(kWindowLimitMs);
    QVERIFY(!window.isEmpty());
    QVERIFY(WaitUntil([&] { return WindowsWithTitle(true).contains(window); }, kWindowLimitMs));
    Xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"),
             window, QStringLiteral("40"), QStringLiteral("12"), QStringLiteral("click"),
             QStringLiteral("1")});
    QTest::qWait(500);
    // The File menu's third entry is Recent Files; the film is that submenu's first entry.
    Xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"),
             QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
             QStringLiteral("Right"), QStringLiteral("Return")});

    pid_t engine = 0;
    QVERIFY2(WaitUntil(
                 [&] {
                     QFile file(groupFile);
                     engine = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
                     return engine > 0;
                 },
                 kWindowLimitMs),
             "the engine did not start");
    QCOMPARE(ProcessGroups::GroupOf(engine), engine);
    QVERIFY2(WaitUntil([&] { return ProcessGroups::LiveProcessesIn(engine) >= 2; }, kWindowLimitMs),
             "the wrapper's child did not start");

    player->kill();
    QVERIFY(player->waitForFinished(5000));
    QVERIFY2(
        WaitUntil([&] { return ProcessGroups::LiveProcessesIn(engine) == 0; }, kGroupEndLimitMs),
        "processes of the engine's group outlived the player");
}

TAVRIX_CORE_TEST_MAIN(StartupTest)
#include "StartupTest.moc"
