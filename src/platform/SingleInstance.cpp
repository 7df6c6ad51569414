#include "platform/SingleInstance.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The lock is a name in Linux's abstract socket namespace: one for every user of the machine,
// with no file behind it that anyone could plant, redirect or chmod, and gone with the last
// descriptor of the process that bound it.
constexpr char kLockName[] = "Tavrix_BluRay_Player_2019_For_Windows";

} // namespace

bool IsAnotherInstanceRunning()
{
    // Close-on-exec, so that no engine or probe keeps the name after the player has gone.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    static_assert(sizeof kLockName < sizeof address.sun_path, "the name must fit after the NUL");
    address.sun_family = AF_UNIX;
    // sun_path[0] stays NUL: that makes the name abstract. The name's own NUL is not part of it.
    std::memcpy(address.sun_path + 1, kLockName, sizeof kLockName - 1);
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + sizeof kLockName);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0) {
        // The descriptor stays open on purpose: the name is this process's for its whole life.
        // The socket never listens, so nobody can connect to it.
        return false;
    }
    const bool heldElsewhere = errno == EADDRINUSE;
    ::close(fd);
    return heldElsewhere;
}
