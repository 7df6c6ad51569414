// What the command line asks for, the message a later copy hands the running one, and the
// hand-over itself between two lock holders of one process and a copy of another user.
#include "common/TestMain.h"

#include "app/CommandLine.h"
#include "platform/HandOverMessage.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QSignalSpy>

#include <climits>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using Action = CommandLine::Action;

namespace {

// Paths, each as long as the system allows, whose message takes exactly this many bytes.
QStringList PathsFilling(qsizetype bytes)
{
    QStringList paths;
    for (qsizetype left = bytes - 1; left > 0; left -= PATH_MAX) {
        paths.append(QLatin1Char('/') + QString(std::min<qsizetype>(left, PATH_MAX) - 2, 'x'));
    }
    return paths;
}

} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("paths");

        const int run = int(Action::Run);
        QTest::newRow("nothing") << QStringList{} << run << QStringList{};
        QTest::newRow("bare arguments are paths, and after two dashes")
            << QStringList{"a.mkv", "--", "-b"} << run << QStringList{"/work/a.mkv", "/work/-b"};
        QTest::newRow("open, relative and absolute, in order")
            << QStringList{"--open", "clips/a.mkv", "/m/b c.mkv"} << run
            << QStringList{"/work/clips/a.mkv", "/m/b c.mkv"};
        QTest::newRow("after open a dash is a path")
            << QStringList{"--open", "-x.mkv", "--help"} << run
            << QStringList{"/work/-x.mkv", "/work/--help"};
        QTest::newRow("open with nothing starts the player")
            << QStringList{"--open"} << run << QStringList{};
        QTest::newRow("empty path skipped")
            << QStringList{"--open", "", "a"} << run << QStringList{"/work/a"};
        QTest::newRow("help") << QStringList{"--help", "--open", "a"} << int(Action::ShowUsage)
                              << QStringList{};
        QTest::newRow("unknown option")
            << QStringList{"--play", "a"} << int(Action::RefuseWithUsage) << QStringList{};
        QTest::newRow("unknown option before open")
            << QStringList{"-v", "--open", "a"} << int(Action::RefuseWithUsage) << QStringList{};
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QStringList, paths);
        const CommandLine command = CommandLine::Parse(arguments, QStringLiteral("/work"));
        QCOMPARE(int(command.action), action);
        QCOMPARE(command.paths, paths);
    }

    void decode_data()
    {
        using State = HandOverMessage::State;
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("paths");

        QTest::newRow("two paths") << HandOverMessage::Encode({"/a b", "/c\nd"})
                                   << int(State::Complete) << QStringList{"/a b", "/c\nd"};
        QTest::newRow("no paths") << QByteArray(1, '\0') << int(State::Complete) << QStringList{};
        QTest::newRow("nothing yet") << QByteArray() << int(State::Incomplete) << QStringList{};
        QTest::newRow("cut inside a path")
            << QByteArray("/a\0/b", 5) << int(State::Incomplete) << QStringList{};
        QTest::newRow("cut before the end")
            << QByteArray("/a\0", 3) << int(State::Incomplete) << QStringList{};
        QTest::newRow("relative path")
            << QByteArray("a\0\0", 3) << int(State::Refused) << QStringList{};
        QTest::newRow("bytes after the end")
            << QByteArray("/a\0\0/b", 6) << int(State::Refused) << QStringList{};
        QTest::newRow("path longer than the system's")
            << (QByteArray("/") + QByteArray(5000, 'x')) << int(State::Refused) << QStringList{};
        // PATH_MAX counts the NUL.
        const QByteArray longest = "/" + QByteArray(PATH_MAX - 2, 'x');
        QTest::newRow("path of the system's longest")
            << (longest + QByteArray(2, '\0')) << int(State::Complete)
            << QStringList{QString::fromLatin1(longest)};
        QTest::newRow("path of the system's limit")
            << (longest + "x" + QByteArray(2, '\0')) << int(State::Refused) << QStringList{};
        QTest::newRow("cut path already at the system's limit")
            << (longest + "x") << int(State::Refused) << QStringList{};
        QTest::newRow("cut path of the system's longest")
            << longest << int(State::Incomplete) << QStringList{};
        QTest::newRow("too many paths")
            << (QByteArray("/\0", 2).repeated(HandOverMessage::kMaxPaths + 1) + QByteArray(1, '\0'))
            << int(State::Refused) << QStringList{};
        QTest::newRow("too long") << QByteArray(HandOverMessage::kMaxBytes + 1, '\0')
                                  << int(State::Refused) << QStringList{};
        const QStringList filling = PathsFilling(HandOverMessage::kMaxBytes);
        QTest::newRow("as long as allowed")
            << HandOverMessage::Encode(filling) << int(State::Complete) << filling;
    }

    void decode()
    {
        QFETCH(QByteArray, received);
        QFETCH(int, state);
        QFETCH(QStringList, paths);
        const HandOverMessage::Decoded decoded = HandOverMessage::Decode(received);
        QCOMPARE(int(decoded.state), state);
        QCOMPARE(decoded.paths, paths);
    }

    // A runtime folder that others could create names in, or that is not this user's own
    // folder, holds no lock: the copy takes one elsewhere.
    void lockStaysOutOfAnUnsafeRuntimeFolder_data()
    {
        QTest::addColumn<mode_t>("mode");
        QTest::addColumn<uid_t>("owner");
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("open to others") << mode_t(0777) << ::geteuid() << false;
        QTest::newRow("another user's") << mode_t(0700) << uid_t(65534) << false;
        QTest::newRow("a link to a folder of one's own") << mode_t(0700) << ::geteuid() << true;
    }

    void lockStaysOutOfAnUnsafeRuntimeFolder()
    {
        QFETCH(mode_t, mode);
        QFETCH(uid_t, owner);
        QFETCH(bool, throughLink);
        QVERIFY2(::unshare(CLONE_NEWNET) == 0, "needs a network namespace of its own (root)");
        QTemporaryDir sandbox;
        const QByteArray folder = QFile::encodeName(sandbox.path() + QStringLiteral("/runtime"));
        QVERIFY(::mkdir(folder.constData(), 0700) == 0 && ::chmod(folder.constData(), mode) == 0);
        QVERIFY(::chown(folder.constData(), owner, uid_t(-1)) == 0);
        const QByteArray named = throughLink ? folder + "-link" : folder;
        QVERIFY(!throughLink || ::symlink(folder.constData(), named.constData()) == 0);
        const QByteArray usual = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", named);

        SingleInstance running;
        const SingleInstance::Lock lock = running.TakeLock();
        qputenv("XDG_RUNTIME_DIR", usual);
        QCOMPARE(lock, SingleInstance::Lock::Taken);
        QCOMPARE(QDir(QFile::decodeName(folder)).entryList(QDir::AllEntries | QDir::System |
                                                           QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    // In a network namespace of the test's own, where the lock name is free.
    void laterCopyHandsItsPathsToTheLockHolder()
    {
        QVERIFY2(::unshare(CLONE_NEWNET) == 0, "needs a network namespace of its own (root)");
        QVERIFY(!SingleInstance::HandOver({QStringLiteral("/a")}));

        SingleInstance running;
        QCOMPARE(running.TakeLock(), SingleInstance::Lock::Taken);
        SingleInstance later;
        QCOMPARE(later.TakeLock(), SingleInstance::Lock::HeldElsewhere);
        QSignalSpy handed(&running, &SingleInstance::PathsHandedOver);

        // The later copy waits for the answer, which the running one gives from its event loop.
        const QStringList paths{QStringLiteral("/m/a b.mkv"), QStringLiteral("/m/c.mkv")};
        auto taken =
            std::async(std::launch::async, [paths] { return SingleInstance::HandOver(paths); });
        QTRY_COMPARE(handed.size(), 1);
        QCOMPARE(handed.first().first().toStringList(), paths);
        QVERIFY(taken.get());

        auto refused = std::async(std::launch::async,
                                  [] { return SingleInstance::HandOver({QStringLiteral("rel")}); });
        QTRY_VERIFY(refused.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QVERIFY(!refused.get());
        QCOMPARE(handed.size(), 1);

        // A copy of another user neither hands paths over nor is handed any. Its answer comes
        // through a pipe: the child process may be reaped by someone else.
        int answer[2];
        QVERIFY(::pipe(answer) == 0);
        const pid_t otherUser = ::fork();
        if (otherUser == 0) {
            const bool becameNobody =
                ::setresgid(65534, 65534, 65534) == 0 && ::setresuid(65534, 65534, 65534) == 0;
            const char said = !becameNobody                                      ? 'x'
                              : SingleInstance::HandOver({QStringLiteral("/a")}) ? 't'
                                                                                 : 'n';
            ::_exit(::write(answer[1], &said, 1) == 1 ? 0 : 1);
        }
        ::close(answer[1]);
        QVERIFY(otherUser > 0);
        // The running copy goes on handling events meanwhile, as it would.
        QVERIFY(::fcntl(answer[0], F_SETFL, O_NONBLOCK) == 0);
        char said = 0;
        const auto answered = [&] { return said != 0 || ::read(answer[0], &said, 1) == 1; };
        QTRY_VERIFY_WITH_TIMEOUT(answered(), 10000);
        ::close(answer[0]);
        QCOMPARE(said, 'n');
        QTest::qWait(100);
        QCOMPARE(handed.size(), 1);

        // A message as long as allowed is taken; one byte more is refused as soon as it comes.
        for (const qsizetype bytes :
             {HandOverMessage::kMaxBytes + 1, qsizetype(HandOverMessage::kMaxBytes)}) {
            auto sent = std::async(std::launch::async, [bytes] {
                return SingleInstance::HandOver(PathsFilling(bytes));
            });
            QTRY_VERIFY(sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
            QCOMPARE(sent.get(), bytes == HandOverMessage::kMaxBytes);
        }
        QCOMPARE(handed.size(), 2);
    }

    // A copy that connects to the running one's socket itself, as a stranger's program would.
    void runningCopyHearsOnlyItsOwnUser_data()
    {
        QTest::addColumn<uid_t>("user");
        QTest::addColumn<bool>("heard");
        QTest::newRow("this user") << ::geteuid() << true;
        QTest::newRow("another user") << uid_t(65534) << false;
    }

    void runningCopyHearsOnlyItsOwnUser()
    {
        QFETCH(uid_t, user);
        QFETCH(bool, heard);
        QTemporaryDir runtime;
        const QByteArray usual = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        SingleInstance running;
        const SingleInstance::Lock lock = running.TakeLock();
        qputenv("XDG_RUNTIME_DIR", usual);
        QCOMPARE(lock, SingleInstance::Lock::Taken);
        const QStringList names = QDir(runtime.path()).entryList(QDir::System | QDir::Hidden);
        QCOMPARE(names.size(), 1);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(runtime.filePath(names.first()));
        QVERIFY(size_t(path.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        const QByteArray message = HandOverMessage::Encode({QStringLiteral("/a")});
        QSignalSpy handed(&running, &SingleInstance::PathsHandedOver);

        const uid_t self = ::geteuid();
        int answer[2];
        QVERIFY(::pipe(answer) == 0);
        if (::fork() == 0) {
            // The file system user stays this one, so that the runtime folder lets the copy
            // through to the socket: only the credentials it connects with may turn it away.
            int fd = -1;
            char said = 'x';
            char taken = 0;
            if (::setresuid(user, user, self) == 0 && ::setfsuid(self) >= 0 &&
                (fd = ::socket(AF_UNIX, SOCK_STREAM, 0)) >= 0 &&
                ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
                const bool sent = ::send(fd, message.constData(), size_t(message.size()),
                                         MSG_NOSIGNAL) == message.size();
                said = sent && ::recv(fd, &taken, 1, 0) == 1 ? 't' : 'n';
            }
            ::_exit(::write(answer[1], &said, 1) == 1 ? 0 : 1);
        }
        ::close(answer[1]);
        QVERIFY(::fcntl(answer[0], F_SETFL, O_NONBLOCK) == 0);
        char said = 0;
        QTRY_VERIFY_WITH_TIMEOUT(said != 0 || ::read(answer[0], &said, 1) == 1, 10000);
        ::close(answer[0]);
        QCOMPARE(said, heard ? 't' : 'n');
        QCOMPARE(handed.size(), heard ? 1 : 0);
    }
};

TAVRIX_CORE_TEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
