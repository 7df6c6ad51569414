#include "platform/SingleInstance.h"

#include "platform/HandOverMessage.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The lock is a name in Linux's abstract socket namespace: one for every user of the machine,
// with no file behind it that anyone could plant, redirect or chmod, and gone with the last
// descriptor of the process that bound it.
constexpr char kLockName[] = "Tavrix_BluRay_Player_2019_For_Windows";

// A later copy that has not said all it has to say by then is dropped; it waits as long.
constexpr int kHandOverLimitMs = 3000;
constexpr int kMaxPendingCopies = 4;
constexpr char kTaken = '1';

socklen_t LockAddress(sockaddr_un &address)
{
    address = sockaddr_un{};
    static_assert(sizeof kLockName < sizeof address.sun_path, "the name must fit after the NUL");
    address.sun_family = AF_UNIX;
    // sun_path[0] stays NUL: that makes the name abstract. The name's own NUL is not part of it.
    std::memcpy(address.sun_path + 1, kLockName, sizeof kLockName - 1);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + sizeof kLockName);
}

// Only a process of this very user may hand paths over, or be handed them.
bool PeerIsThisUser(int socket)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           length == sizeof peer && peer.uid == ::geteuid();
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
    // Close-on-exec, so that no engine or probe keeps the name after the player has gone.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return Lock::Unavailable;
    }
    sockaddr_un address;
    const socklen_t length = LockAddress(address);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0) {
        const bool heldElsewhere = errno == EADDRINUSE;
        ::close(fd);
        return heldElsewhere ? Lock::HeldElsewhere : Lock::Unavailable;
    }
    // The name is this copy's from here on, whether or not later copies can reach it.
    m_lock = fd;
    if (::listen(fd, kMaxPendingCopies) == 0) {
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &SingleInstance::AcceptWaitingCopies);
    }
    return Lock::Taken;
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
    sockaddr_un address;
    const socklen_t length = LockAddress(address);
    char answer = 0;
    const bool taken = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0 &&
                       PeerIsThisUser(fd) && SendAll(fd, HandOverMessage::Encode(paths)) &&
                       ::recv(fd, &answer, 1, 0) == 1 && answer == kTaken;
    ::close(fd);
    return taken;
}
