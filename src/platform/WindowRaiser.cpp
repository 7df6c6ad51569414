#include "platform/WindowRaiser.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <vector>

namespace {

// A window may vanish while we look at it; its errors must not end this process.
int IgnoreXError(Display *, XErrorEvent *)
{
    return 0;
}

struct DisplayCloser
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};

struct XFreer
{
    void operator()(unsigned char *data) const { XFree(data); }
};

QString Utf8Title(Display *display, Window window)
{
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *raw = nullptr;
    if (XGetWindowProperty(display, window, netWmName, 0, 4096, False, utf8, &type, &format, &count,
                           &remaining, &raw) != Success) {
        return QString();
    }
    std::unique_ptr<unsigned char, XFreer> data(raw);
    if (data == nullptr || type != utf8 || format != 8) {
        return QString();
    }
    return QString::fromUtf8(reinterpret_cast<const char *>(data.get()),
                             static_cast<qsizetype>(count));
}

QString WindowTitle(Display *display, Window window)
{
    const QString utf8Title = Utf8Title(display, window);
    if (!utf8Title.isNull()) {
        return utf8Title;
    }
    char *name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return QString();
    }
    const QString title = QString::fromLocal8Bit(name);
    XFree(name);
    return title;
}

std::vector<Window> ChildrenOf(Display *display, Window parent)
{
    Window root = 0;
    Window ignoredParent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, parent, &root, &ignoredParent, &children, &count) == 0) {
        return {};
    }
    std::vector<Window> result(children, children + count);
    if (children != nullptr) {
        XFree(children);
    }
    return result;
}

// The client windows the window manager lists; without one, the root's children and, for
// managers that frame windows without keeping that list, their children.
std::vector<Window> CandidateWindows(Display *display, Window root)
{
    const Atom clientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *raw = nullptr;
    if (XGetWindowProperty(display, root, clientList, 0, 65536, False, XA_WINDOW, &type, &format,
                           &count, &remaining, &raw) == Success) {
        std::unique_ptr<unsigned char, XFreer> data(raw);
        if (data != nullptr && type == XA_WINDOW && format == 32 && count > 0) {
            // Xlib hands 32-bit properties back as an array of long.
            const auto *windows = reinterpret_cast<const unsigned long *>(data.get());
            return std::vector<Window>(windows, windows + count);
        }
    }
    std::vector<Window> result;
    for (Window topLevel : ChildrenOf(display, root)) {
        result.push_back(topLevel);
        for (Window child : ChildrenOf(display, topLevel)) {
            result.push_back(child);
        }
    }
    return result;
}

void ClearMaximised(Display *display, Window root, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 0; // remove
    event.xclient.data.l[1] =
        static_cast<long>(XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_VERT", False));
    event.xclient.data.l[2] =
        static_cast<long>(XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_HORZ", False));
    event.xclient.data.l[3] = 1; // asked by an ordinary application
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

} // namespace

bool RestoreWindowWithTitle(const QString &title)
{
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (display == nullptr) {
        return false;
    }
    const auto previousHandler = XSetErrorHandler(IgnoreXError);
    const Window root = DefaultRootWindow(display.get());
    bool found = false;
    for (Window window : CandidateWindows(display.get(), root)) {
        const QString shown = WindowTitle(display.get(), window);
        if (shown == title || shown.endsWith(QStringLiteral(" \u2013 ") + title)) {
            // Mapping an iconic window asks the window manager for the normal state.
            XMapWindow(display.get(), window);
            ClearMaximised(display.get(), root, window);
            found = true;
            break;
        }
    }
    XSync(display.get(), False);
    XSetErrorHandler(previousHandler);
    return found;
}
