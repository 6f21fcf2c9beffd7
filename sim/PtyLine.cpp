#include "PtyLine.h"

#include "WholeWrite.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace ornis::sim {

namespace {

Status systemFailure(const char *what)
{
    return Status::failure(std::string(what) + ": " + std::strerror(errno));
}

} // namespace

PtyLine::~PtyLine()
{
    close();
}

Status PtyLine::open()
{
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return systemFailure("posix_openpt");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        const Status failure = systemFailure("grantpt/unlockpt");
        close();
        return failure;
    }
    const char *path = ::ptsname(master_);
    if (!path) {
        const Status failure = systemFailure("ptsname");
        close();
        return failure;
    }
    slavePath_ = path;
    heldSlave_ = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (heldSlave_ < 0) {
        const Status failure = systemFailure(path);
        close();
        return failure;
    }
    // Raw from the start: no echo, no line editing, no CR/LF mapping of the binary bytes.
    termios raw {};
    if (::tcgetattr(heldSlave_, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(heldSlave_, TCSANOW, &raw);
    }
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    return Status::success();
}

void PtyLine::close()
{
    if (heldSlave_ >= 0)
        ::close(heldSlave_);
    if (master_ >= 0)
        ::close(master_);
    heldSlave_ = -1;
    master_ = -1;
}

long PtyLine::read(uint8_t *data, std::size_t size)
{
    if (master_ < 0)
        return -1;
    for (;;) {
        const ssize_t got = ::read(master_, data, size);
        if (got >= 0)
            return long(got);
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

bool PtyLine::receive(std::vector<uint8_t> &data)
{
    uint8_t buffer[256];
    const long got = read(buffer, sizeof buffer);
    if (got < 0)
        return false;
    data.insert(data.end(), buffer, buffer + got);
    return true;
}

bool PtyLine::write(const uint8_t *data, std::size_t size)
{
    // A full slave input queue (nobody reads it) is waited for until it drains.
    return master_ >= 0
        && writeWhole(master_, data, size, [](int fd, const uint8_t *bytes, std::size_t count) {
               return ::write(fd, bytes, count);
           });
}

} // namespace ornis::sim
