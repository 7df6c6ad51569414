#include "platform/SingleInstance.h"

#include "platform/HandOverMessage.h"

#include <QCryptographicHash>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// One copy per user and desktop session. The lock is a socket in the user's runtime folder,
// where nobody else can create a name; without a safe runtime folder it is a name in Linux's
// abstract socket namespace that carries the user id. Anyone may bind an abstract name, so there
// a holder counts only when it is this user (SO_PEERCRED): a stranger sitting on the name makes
// this copy run alone, never stops it and never receives its paths. The fallback leaves no file
// in a shared folder that could be planted, redirected or left behind, and the kernel frees it
// with its holder.
constexpr char kBaseName[] = "tavrix-bluray-player";

// A later copy that has not said all it has to say by then is dropped; it waits as long.
constexpr int kHandOverLimitMs = 3000;
constexpr int kMaxPendingCopies = 4;
constexpr int kHolderLimitMs = 1000;
constexpr char kTaken = '1';
// A display name longer than this goes into the lock's name as a digest.
constexpr qsizetype kMaxSessionNameBytes = 40;

struct LockAddress
{
    sockaddr_un address{};
    socklen_t length = 0;
    QByteArray path; // empty for an abstract name
};

// The desktop session is the X display: the same user on another display is another session.
QByteArray SessionName()
{
    const QByteArray name = qgetenv("DISPLAY").toPercentEncoding();
    return name.size() <= kMaxSessionNameBytes
               ? name
               : QCryptographicHash::hash(name, QCryptographicHash::Sha256).toHex().left(32);
}

// $XDG_RUNTIME_DIR when it is what the base directory rules promise: a folder (not a link to
// one) of this user's own that only this user may use.
QByteArray SafeRuntimeFolder()
{
    const QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
    struct stat status;
    if (!folder.startsWith('/') || ::lstat(folder.constData(), &status) != 0 ||
        !S_ISDIR(status.st_mode) || status.st_uid != ::geteuid() ||
        (status.st_mode & 07777) != 0700) {
        return QByteArray();
    }
    return folder;
}

LockAddress AddressOfThisSession()
{
    LockAddress lock;
    lock.address.sun_family = AF_UNIX;
    const QByteArray name = QByteArray(kBaseName) + '-' + SessionName();
    const QByteArray folder = SafeRuntimeFolder();
    const QByteArray path = folder + '/' + name;
    if (!folder.isEmpty() && path.size() < qsizetype(sizeof lock.address.sun_path)) {
        lock.path = path;
        std::memcpy(lock.address.sun_path, path.constData(), size_t(path.size()) + 1);
        lock.length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(path.size()) + 1);
        return lock;
    }
    // sun_path[0] stays NUL: that makes the name abstract; no NUL ends it.
    const QByteArray abstract = name + '-' + QByteArray::number(::geteuid());
    const size_t length = std::min(size_t(abstract.size()), sizeof lock.address.sun_path - 1);
    std::memcpy(lock.address.sun_path + 1, abstract.constData(), length);
    lock.length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + length);
    return lock;
}

// Only a process of this very user may hand paths over, or be handed them.
bool PeerIsThisUser(int socket)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           length == sizeof peer && peer.uid == ::geteuid();
}

enum class Holder
{
    ThisUser,
    Gone, // a socket left behind by a copy that crashed: nobody listens
    Other,
};

Holder HolderOf(const LockAddress &lock)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return Holder::Other;
    }
    // A stranger's name whose queue is full would hold the connection up: waited for only so long.
    timeval limit{kHolderLimitMs / 1000, (kHolderLimitMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    Holder holder = Holder::Other;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&lock.address), lock.length) == 0) {
        holder = PeerIsThisUser(fd) ? Holder::ThisUser : Holder::Other;
    } else if (errno == ECONNREFUSED) {
        holder = Holder::Gone;
    }
    ::close(fd);
    return holder;
}

// Removes the socket a crashed copy left in the runtime folder; nothing else is removed.
bool RemoveLeftSocket(const LockAddress &lock)
{
    struct stat status;
    return !lock.path.isEmpty() && ::lstat(lock.path.constData(), &status) == 0 &&
           S_ISSOCK(status.st_mode) && status.st_uid == ::geteuid() &&
           ::unlink(lock.path.constData()) == 0;
}

bool SendAll(int socket, const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t written = ::send(socket, bytes.constData() + sent,
                                       static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        sent += written;
    }
    return true;
}

} // namespace

struct SingleInstance::Pending
{
    QByteArray received;
    QSocketNotifier *notifier = nullptr;
    QTimer *deadline = nullptr;
};

SingleInstance::SingleInstance(QObject *parent) : QObject(parent) {}

SingleInstance::~SingleInstance()
{
    while (!m_pending.empty()) {
        Drop(m_pending.begin()->first);
    }
    if (m_lock >= 0) {
        ::close(m_lock);
    }
}

SingleInstance::Lock SingleInstance::TakeLock()
{
    const LockAddress lock = AddressOfThisSession();
    // A second attempt only after a crashed copy's socket has gone.
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Close-on-exec, so that no engine or probe keeps the name after the player has gone.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) {
            return Lock::Unavailable;
        }
        if (::bind(fd, reinterpret_cast<const sockaddr *>(&lock.address), lock.length) == 0) {
            // The name is this copy's from here on, whether or not later copies can reach it.
            m_lock = fd;
            if (::listen(fd, kMaxPendingCopies) == 0) {
                auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
                connect(notifier, &QSocketNotifier::activated, this,
                        &SingleInstance::AcceptWaitingCopies);
            }
            return Lock::Taken;
        }
        const bool inUse = errno == EADDRINUSE;
        ::close(fd);
        if (!inUse) {
            return Lock::Unavailable;
        }
        const Holder holder = HolderOf(lock);
        if (holder == Holder::ThisUser) {
            return Lock::HeldElsewhere;
        }
        if (holder != Holder::Gone || !RemoveLeftSocket(lock)) {
            return Lock::Unavailable;
        }
    }
    return Lock::Unavailable;
}

void SingleInstance::AcceptWaitingCopies()
{
    for (;;) {
        const int connection = ::accept4(m_lock, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (connection < 0) {
            return;
        }
        if (!PeerIsThisUser(connection) || m_pending.size() >= kMaxPendingCopies) {
            ::close(connection);
            continue;
        }
        auto *pending = new Pending;
        pending->notifier = new QSocketNotifier(connection, QSocketNotifier::Read, this);
        pending->deadline = new QTimer(this);
        pending->deadline->setSingleShot(true);
        connect(pending->notifier, &QSocketNotifier::activated, this,
                [this, connection] { ReadFrom(connection); });
        connect(pending->deadline, &QTimer::timeout, this,
                [this, connection] { Drop(connection); });
        pending->deadline->start(kHandOverLimitMs);
        m_pending[connection] = pending;
    }
}

void SingleInstance::ReadFrom(int connection)
{
    Pending &pending = *m_pending.at(connection);
    char chunk[65536];
    for (;;) {
        const ssize_t count = ::recv(connection, chunk, sizeof chunk, 0);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        }
        if (count <= 0) {
            // Gone, or ended before the message did.
            Drop(connection);
            return;
        }
        pending.received.append(chunk, count);
        if (pending.received.size() > HandOverMessage::kMaxBytes) {
            Drop(connection);
            return;
        }
    }
    // A message can only be whole when it ends with the empty record after the last path's NUL.
    const QByteArray &received = pending.received;
    if (!received.endsWith('\0') ||
        (received.size() > 1 && !received.endsWith(QByteArray(2, '\0')))) {
        return;
    }
    const HandOverMessage::Decoded message = HandOverMessage::Decode(pending.received);
    if (message.state == HandOverMessage::State::Incomplete) {
        return;
    }
    const bool taken = message.state == HandOverMessage::State::Complete;
    if (taken) {
        ::send(connection, &kTaken, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    Drop(connection);
    if (taken) {
        emit PathsHandedOver(message.paths);
    }
}

void SingleInstance::Drop(int connection)
{
    const auto found = m_pending.find(connection);
    if (found == m_pending.end()) {
        return;
    }
    Pending *pending = found->second;
    m_pending.erase(found);
    // Either may be the sender of the call that got here.
    pending->notifier->setEnabled(false);
    pending->notifier->deleteLater();
    pending->deadline->stop();
    pending->deadline->deleteLater();
    delete pending;
    ::close(connection);
}

bool SingleInstance::HandOver(const QStringList &paths)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    timeval limit{kHandOverLimitMs / 1000, (kHandOverLimitMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    const LockAddress lock = AddressOfThisSession();
    char answer = 0;
    const bool taken =
        ::connect(fd, reinterpret_cast<const sockaddr *>(&lock.address), lock.length) == 0 &&
                       PeerIsThisUser(fd) && SendAll(fd, HandOverMessage::Encode(paths)) &&
                       ::recv(fd, &answer, 1, 0) == 1 && answer == kTaken;
    ::close(fd);
    return taken;
}
