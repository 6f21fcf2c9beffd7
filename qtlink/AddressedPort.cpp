#include "AddressedPort.h"

namespace ornis {

AddressedPort::AddressedPort(QObject *parent)
    : ForwardingPort(parent)
{
    setInner(&serial_);
}

AddressedPort::~AddressedPort()
{
    setInner(nullptr);
    close();
}

Status AddressedPort::open(const QString &text)
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

void AddressedPort::close()
{
    serial_.close();
    network_.close();
}

bool AddressedPort::isOpen() const
{
    return serial_.isOpen() || network_.isOpen();
}

void AddressedPort::setDtr(bool on)
{
    serial_.setDtr(on);
    network_.setDtr(on);
}

} // namespace ornis
