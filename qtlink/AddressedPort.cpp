#include "AddressedPort.h"

namespace ornis {

LinePort::LinePort(QObject *parent)
    : ForwardingPort(parent)
{
    setInner(&serial_);
}

LinePort::~LinePort()
{
    setInner(nullptr);
    close();
}

Status LinePort::open(const QString &text)
{
    close();
    PortAddress address;
    if (Status parsed = parsePortAddress(text, address); !parsed.ok())
        return parsed;
    if (!address.isNetwork()) {
        setInner(&serial_);
        return serial_.open(address.serialPort);
    }
    setInner(&network_);
    network_.open(address);
    return Status::success();
}

void LinePort::close()
{
    serial_.close();
    network_.close();
}

bool LinePort::isOpen() const
{
    return serial_.isOpen() || network_.isOpen();
}

void LinePort::setDtr(bool on)
{
    serial_.setDtr(on);
    network_.setDtr(on);
}

} // namespace ornis
