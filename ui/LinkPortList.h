#pragma once

#include <QStringList>

#include "config/Status.h"

namespace ornis {

class QtLinkPort;

// The ports the user can choose in the port list, by entry index. At most one is open;
// port() is the one the transfers use, a closed one (every send fails) when none is open.
class LinkPortList
{
public:
    virtual ~LinkPortList() = default;

    [[nodiscard]] virtual QStringList names() const = 0;
    // Opens entry `index`; on failure nothing is open and the message says why.
    [[nodiscard]] virtual Status open(int index) = 0;
    // Opens the port the user typed: a device path or a network address (tcp://HOST:PORT,
    // rfc2217://HOST:PORT), which then stays among names(), also at the next start. A
    // network address only starts connecting: a failure comes later from port().
    [[nodiscard]] virtual Status openTyped(const QString &text) = 0;
    // Closing a closed port does nothing.
    virtual void close() = 0;
    // DTR for every later opening.
    virtual void setDtr(bool on) = 0;
    [[nodiscard]] virtual QtLinkPort &port() = 0;
};

} // namespace ornis
