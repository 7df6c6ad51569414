// Times a window's start, from exec to its window mapped on the X display: the player against a
// bare QMainWindow that shows one empty window (this program itself, run with --bare), and, as
// the floor of any window that shows text, a QMainWindow showing one line of it (--text): the
// bare window never loads a font. Needs a
// display (run it under xvfb-run); a window manager, when one runs, reparents the windows and
// is allowed for.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTemporaryDir>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 9;
constexpr int kGiveUpMs = 20000;

using Clock = std::chrono::steady_clock;

pid_t WindowPid(Display *display, Window window, Atom pidAtom)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long left = 0;
    unsigned char *data = nullptr;
    pid_t pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &items, &left, &data) == Success &&
        data != nullptr && format == 32 && items == 1) {
        pid = static_cast<pid_t>(*reinterpret_cast<unsigned long *>(data));
    }
    XFree(data);
    return pid;
}

// Whether the mapped window, or one a window manager's frame holds, belongs to the process.
bool BelongsTo(Display *display, Window window, pid_t pid, Atom pidAtom, int depth = 0)
{
    if (WindowPid(display, window, pidAtom) == pid) {
        return true;
    }
    Window root = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    bool found = false;
    if (depth < 3 && XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count && !found; ++i) {
            found = BelongsTo(display, children[i], pid, pidAtom, depth + 1);
        }
        XFree(children);
    }
    return found;
}

// Starts the program and returns the milliseconds until one of its windows is mapped, or -1.
double StartMs(Display *display, char *const arguments[])
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    XSync(display, True);
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(arguments[0], arguments);
        _exit(127);
    }
    double elapsed = -1;
    while (pid > 0 && elapsed < 0) {
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (waited > kGiveUpMs) {
            break;
        }
        if (XPending(display) == 0) {
            pollfd wanted{ConnectionNumber(display), POLLIN, 0};
            poll(&wanted, 1, 50);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && BelongsTo(display, event.xmap.window, pid, pidAtom)) {
            elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
    }
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    return elapsed;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && (std::strcmp(argv[1], "--bare") == 0 || std::strcmp(argv[1], "--text") == 0)) {
        QApplication application(argc, argv);
        QMainWindow window;
        if (std::strcmp(argv[1], "--text") == 0) {
            window.setCentralWidget(new QLabel(QStringLiteral("Tavrix BluRay Player")));
        }
        window.show();
        return application.exec();
    }
    // The player keeps its files in a home of its own, and its single-instance lock there too.
    QTemporaryDir home;
    setenv("HOME", qPrintable(home.path()), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(home.filePath(QStringLiteral(".config"))), 1);
    setenv("XDG_RUNTIME_DIR", qPrintable(home.path()), 1);
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) {
        std::fprintf(stderr, "cannot find this program\n");
        return 1;
    }
    char bare[] = "--bare";
    char *const bareArguments[] = {self, bare, nullptr};
    char text[] = "--text";
    char *const textArguments[] = {self, text, nullptr};
    char player[] = TAVRIX_BIN_DIR "/tavrix-bluray-player";
    char *const playerArguments[] = {player, nullptr};
    // Turn about, so that neither always starts on caches the other has just warmed.
    std::vector<double> bareTimes;
    std::vector<double> playerTimes;
    std::vector<double> textTimes;
    StartMs(display, bareArguments);
    StartMs(display, playerArguments);
    StartMs(display, textArguments);
    for (int run = 0; run < kRuns; ++run) {
        bareTimes.push_back(StartMs(display, bareArguments));
        playerTimes.push_back(StartMs(display, playerArguments));
        textTimes.push_back(StartMs(display, textArguments));
    }
    const auto failed = [](const std::vector<double> &times) {
        return std::count(times.begin(), times.end(), -1.0);
    };
    if (failed(bareTimes) + failed(playerTimes) + failed(textTimes) > 0) {
        std::fprintf(stderr, "a window never showed\n");
        return 1;
    }
    const double ours = Median(playerTimes);
    const double reference = Median(bareTimes);
    std::printf("window start, exec to mapped: player %.0f ms   bare QMainWindow: %.0f ms   ratio "
                "%.2f (goal <= 1.3; medians of %d)\n",
                ours, reference, ours / reference, kRuns);
    std::printf("window start, floor for a window with text: QMainWindow with one label %.0f ms, "
                "%.2f of the bare one's\n",
                Median(textTimes), Median(textTimes) / reference);
    XCloseDisplay(display);
    return 0;
}
