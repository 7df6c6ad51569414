#include "platform/ChildProcess.h"

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>

void EndWithPlayer(QProcess &process)
{
    // Runs in the child between fork and exec.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}
