#pragma once
// Loopback ports for tests of instruments that do not answer.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>

namespace dot11b::instrument {

// A loopback socket of our own: bound and listening but never accepting or
// reading, so a client's connect succeeds and its writes stall.
class DeafListener {
public:
    DeafListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int small = 4096;
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 1) != 0) {
            throw std::runtime_error("cannot listen");
        }
        socklen_t size = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
    }
    ~DeafListener() { ::close(fd_); }
    std::uint16_t port() const { return port_; }

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

// A port on which nothing listens: bound once to find a free one, then closed.
inline std::uint16_t closed_port() {
    const DeafListener probe;
    return probe.port();
}

}  // namespace dot11b::instrument
