#include "LowLatency.h"

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace ornis {

bool requestLowLatency(SerialHandle handle)
{
#ifdef Q_OS_LINUX
    serial_struct settings {};
    if (::ioctl(handle, TIOCGSERIAL, &settings) != 0)
        return false;
    if (settings.flags & ASYNC_LOW_LATENCY)
        return true;
    settings.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(handle, TIOCSSERIAL, &settings) == 0;
#else
    Q_UNUSED(handle)
    return false;
#endif
}

} // namespace ornis
