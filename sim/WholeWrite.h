#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <poll.h>
#include <sys/types.h>

namespace ornis::sim {

// Writes all `size` bytes to the non-blocking descriptor `fd` through `put` (a write or a
// send of the descriptor), waiting up to a second for room whenever it is full: nobody
// reads the far end for a moment. False when the descriptor failed or stayed full.
template<typename Put>
[[nodiscard]] bool writeWhole(int fd, const uint8_t *data, std::size_t size, Put put)
{
    while (size > 0) {
        const ssize_t written = put(fd, data, size);
        if (written > 0) {
            data += written;
            size -= std::size_t(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd wait {fd, POLLOUT, 0};
            if (::poll(&wait, 1, 1000) > 0 && (wait.revents & POLLOUT))
                continue;
        }
        return false;
    }
    return true;
}

} // namespace ornis::sim
