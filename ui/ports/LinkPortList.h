#pragma once

#include "config/Status.h"

#include <QStringList>

namespace ornis {

class QtLinkPort;

// The ports the user can choose in the port list, by entry index. At most one is open;
// port() is the one the transfers use, a closed one (every send fails) when none is open.
class LinkPortList
{
public:
    virtual ~LinkPortList() = default;

    [[nodiscard]] virtual QStringList names() const = 0;
    // Looks for the machine's ports anew (an adapter plugged in since); the port in use
    // stays open and listed, though its index may change.
    virtual void refresh() = 0;
    // Opens entry `index`; on failure nothing is open and the message says why.
    [[nodiscard]] virtual Status open(int index) = 0;
    // Opens a port by the name, device path or network address (tcp://HOST:PORT,
    // rfc2217://HOST:PORT) the user typed. The entry of that name, or once opened a new
    // entry for it, is then the one in use; a network address stays listed at the next
    // start. A network address only starts connecting: a failure comes later from port().
    [[nodiscard]] virtual Status openTyped(const QString &nameOrPath) = 0;
    // The entry of the open port; -1 when none is open.
    [[nodiscard]] virtual int inUse() const = 0;
    // Closing a closed port does nothing.
    virtual void close() = 0;
    // DTR for every later opening.
    virtual void setDtr(bool on) = 0;
    [[nodiscard]] virtual QtLinkPort &port() = 0;
};

} // namespace ornis
