#include "TcpLine.h"

#include "WholeWrite.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ornis::sim {

namespace {

void makeNonBlocking(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

} // namespace

TcpLine::~TcpLine()
{
    close();
}

Status TcpLine::listen(uint16_t port, Protocol protocol, uint32_t fixedBaud)
{
    close();
    protocol_ = protocol;
    fixedBaud_ = fixedBaud;
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listen_ < 0)
        return Status::failure(std::string("socket: ") + std::strerror(errno));
    const int on = 1;
    ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listen_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(listen_, 4) != 0
        || ::getsockname(listen_, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        const Status failure
            = Status::failure("127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno));
        close();
        return failure;
    }
    makeNonBlocking(listen_);
    port_ = ntohs(address.sin_port);
    return Status::success();
}

void TcpLine::close()
{
    cut();
    if (listen_ >= 0)
        ::close(listen_);
    listen_ = -1;
}

std::string TcpLine::address() const
{
    return (protocol_ == Protocol::ComPort ? "rfc2217" : "tcp") + std::string("://127.0.0.1:")
        + std::to_string(port_);
}

void TcpLine::accept()
{
    const int client = ::accept4(listen_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (client < 0)
        return;
    client_ = client;
    const int on = 1;
    ::setsockopt(client_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (protocol_ == Protocol::ComPort)
        session_ = std::make_unique<ComPortServer>(fixedBaud_);
}

bool TcpLine::receive(std::vector<uint8_t> &data)
{
    if (listen_ < 0)
        return false;
    if (client_ < 0) {
        accept();
        return true;
    }
    uint8_t buffer[4096];
    const ssize_t got = ::recv(client_, buffer, sizeof buffer, 0);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return true;
    if (got <= 0) {
        cut(); // the program went away; the next one may come
        return true;
    }
    if (!session_) {
        data.insert(data.end(), buffer, buffer + got);
        return true;
    }
    const std::size_t before = data.size();
    std::vector<uint8_t> answers;
    session_->receive(buffer, std::size_t(got), data, answers);
    settingsChanged_ = session_->takeChange() || settingsChanged_;
    // The settings are news once the line carries data with them.
    if (settingsChanged_ && data.size() > before) {
        news_ = "line settings: " + describe(session_->settings());
        settingsChanged_ = false;
    }
    return writeAll(answers.data(), answers.size());
}

bool TcpLine::send(const uint8_t *data, std::size_t size)
{
    if (!session_)
        return writeAll(data, size);
    std::vector<uint8_t> escaped;
    escaped.reserve(size + 1);
    for (std::size_t i = 0; i < size; ++i)
        telnet::appendData(escaped, data[i]);
    return writeAll(escaped.data(), escaped.size());
}

bool TcpLine::writeAll(const uint8_t *data, std::size_t size)
{
    const auto put = [](int fd, const uint8_t *bytes, std::size_t count) {
        return ::send(fd, bytes, count, MSG_NOSIGNAL); // a gone program must not kill us
    };
    if (client_ >= 0 && !writeWhole(client_, data, size, put))
        cut(); // the program is gone or stuck; its answers go nowhere
    return listen_ >= 0;
}

void TcpLine::cut()
{
    if (client_ >= 0)
        ::close(client_);
    client_ = -1;
    session_.reset();
    settingsChanged_ = false;
}

std::string TcpLine::takeNews()
{
    std::string news;
    news.swap(news_);
    return news;
}

} // namespace ornis::sim
