#pragma once

#include "config/Status.h"

#include <QString>

namespace ornis {

// What the user gives as the port of the link: a serial port's name or device path
// (ttyUSB0, COM3, /dev/pts/3), or the address of a serial device server on the network,
// tcp://HOST:PORT (the bytes as they are) or rfc2217://HOST:PORT (Telnet with the
// COM-PORT-OPTION).
struct PortAddress
{
    enum class Kind { Serial, Tcp, Rfc2217 };

    Kind kind = Kind::Serial;
    QString serialPort; // Serial: the name or path as given
    QString host; // Tcp, Rfc2217: a name or an address (IPv6 without brackets)
    quint16 port = 0;

    [[nodiscard]] bool isNetwork() const { return kind != Kind::Serial; }
    // The address as the program writes it: rfc2217://10.0.0.5:4001, tcp://[::1]:4001; a
    // serial port as given.
    [[nodiscard]] QString text() const;
};

// Reads `text` (blanks around it ignored). A text with "://" must be a whole network
// address; anything else is a serial port. On failure the message says what is wrong.
[[nodiscard]] Status parsePortAddress(const QString &text, PortAddress &address);

// Whether `text` names a network address rather than a serial port (valid or not).
[[nodiscard]] bool looksLikeNetworkAddress(const QString &text);

} // namespace ornis
