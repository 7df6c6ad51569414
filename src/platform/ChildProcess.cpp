#include "platform/ChildProcess.h"


#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// How a program's group ends with the player, even with a player killed by SIGKILL, which runs
// no code of its own: before exec, the child starts a watchdog, a process of the new group that
// waits on a pipe whose only write end stays in the player (close-on-exec there, closed in the
// watchdog). The pipe closes when the player closes its ends, once the program has ended or its
// QProcess goes, or when the player dies; the watchdog then kills the group, itself included.
// Being in the group, it also keeps the group's id from going to another process while the
// player may still signal it.

namespace {

// The pipe's read end as the watchdog holds it: fd 3, since a background command of a
// non-interactive shell reads /dev/null on its standard input unless it is pointed elsewhere.
constexpr int kWatchdogInput = 3;

// Runs in the child between fork and exec, where Qt shares the player's memory (vfork), so only
// plain system calls. The watchdog is made without copying the player's memory: a fork of it
// copies its page tables, and every page the player writes afterwards faults once, which cost
// several milliseconds for each program started by a player holding a long play list. A vfork
// child turns into a small shell at once; that shell starts the watchdog in the background
// and ends, so the watchdog is nobody's child but init's, and a wrapper script's bare `wait`
// does not wait for it.
void StartWatchdog(int readEnd, int writeEnd)
{
    const pid_t middle = ::vfork();
    if (middle != 0) {
        while (middle > 0 && ::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
        }
        return;
    }
    // Only the read end stays: no descriptor of the player (the single-instance lock, the
    // windowing connection, other programs' pipes) may live on in the watchdog. Its own write
    // end goes by name, so that even a kernel without close_range lets the pipe close.
    ::close(writeEnd);
    // Through a copy above fd 3, so that the pipe reaches fd 3 by dup2 (which clears
    // close-on-exec) whichever descriptor it had, 3 included.
    const int copy = ::fcntl(readEnd, F_DUPFD, kWatchdogInput + 1);
    if (copy >= 0 && ::dup2(copy, kWatchdogInput) == kWatchdogInput) {
        ::close_range(0, kWatchdogInput - 1, 0);
        ::close_range(kWatchdogInput + 1, ~0U, 0);
        static const char *const kArguments[] = {
            "sh", "-c", "{ read -r line <&3; kill -9 0; } &", nullptr};
        static const char *const kEnvironment[] = {nullptr};
        ::execve("/bin/sh", const_cast<char *const *>(kArguments),
                 const_cast<char *const *>(kEnvironment));
    }
    ::_exit(127);
}

// The player's ends of a watchdog's pipe; they close when the program has ended, or at the
// latest with the process object that owns them.
class WatchdogPipe : public QObject
{
public:
    WatchdogPipe(int readEnd, int writeEnd, QProcess &process)
        : QObject(&process), m_ends{readEnd, writeEnd}
    {
        connect(&process, &QProcess::stateChanged, this, [this](QProcess::ProcessState state) {
            if (state == QProcess::NotRunning) {
                Close();
            }
        });
    }
    ~WatchdogPipe() override { Close(); }

private:
    void Close()
    {
        for (int &end : m_ends) {
            if (end >= 0) {
                ::close(end);
                end = -1;
            }
        }
    }

    int m_ends[2];
};

} // namespace

void EndWithPlayer(QProcess &process)
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) == 0) {
        new WatchdogPipe(ends[0], ends[1], process);
    }
    const int readEnd = ends[0];
    const int writeEnd = ends[1];
    process.setChildProcessModifier([readEnd, writeEnd] {
        ::setpgid(0, 0);
        if (readEnd >= 0) {
            StartWatchdog(readEnd, writeEnd);
        }
        // The program itself goes at once with the player, also when no watchdog could start.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
}

void KillProcessGroup(QProcess &process)
{
    const auto pid = static_cast<pid_t>(process.processId());
    // The child made the group, named by its own id, before exec; a child that had not got that
    // far is alone and killed by itself.
    if (pid <= 0 || ::kill(-pid, SIGKILL) != 0) {
        process.kill();
    }
}

std::shared_ptr<const QByteArray> KeepOutput(QProcess &process, QProcess::ProcessChannel channel,
                                             qsizetype limit)
{
    auto kept = std::make_shared<QByteArray>();
    const bool standardOutput = channel == QProcess::StandardOutput;
    const auto take = [&process, standardOutput, kept, limit] {
        // Everything that came is read, so the pipe keeps flowing; only the start is kept.
        const QByteArray arrived =
            standardOutput ? process.readAllStandardOutput() : process.readAllStandardError();
        kept->append(arrived.left(limit - kept->size()));
    };
    if (standardOutput) {
        QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, take);
    } else {
        QObject::connect(&process, &QProcess::readyReadStandardError, &process, take);
    }
    return kept;
}
