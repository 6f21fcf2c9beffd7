#pragma once

#include "ForwardingPort.h"
#include "QtNetworkPort.h"
#include "QtSerialPort.h"

namespace ornis {

// The port of the link opened by the text the user gives for it: a serial port's name or
// device path, tcp://HOST:PORT or rfc2217://HOST:PORT (see PortAddress). The window and
// the command line open every port through it; the engine keeps it while the device or
// the connection beneath changes.
class AddressedPort final : public ForwardingPort
{
    Q_OBJECT

public:
    explicit AddressedPort(QObject *parent = nullptr);
    ~AddressedPort() override;

    // Opens what `text` names, closing what was open. A serial port opens at once or fails
    // with the reason; a network address is checked and then only starts connecting, and
    // a failure to connect comes later through portFailed().
    [[nodiscard]] Status open(const QString &text);
    void close();
    [[nodiscard]] bool isOpen() const;
    // DTR for this and every later opening, serial or network.
    void setDtr(bool on);
    [[nodiscard]] bool dtr() const { return serial_.dtr(); }

    [[nodiscard]] QtSerialPort &serial() { return serial_; }
    [[nodiscard]] QtNetworkPort &network() { return network_; }

private:
    QtSerialPort serial_;
    QtNetworkPort network_;
};

} // namespace ornis
