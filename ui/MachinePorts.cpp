#include "MachinePorts.h"

#include "qtlink/DemoExchangePort.h"

namespace ornis {

MachinePorts::MachinePorts(Demo demo)
    : serialPorts_(QtSerialPort::availablePorts())
{
    if (demo == Demo::With)
        demo_ = std::make_unique<DemoExchangePort>();
}

MachinePorts::~MachinePorts() = default;

QStringList MachinePorts::names() const
{
    QStringList names;
    for (const SerialPortEntry &entry : serialPorts_)
        names.append(entry.name);
    if (demo_)
        names.append(QString::fromLatin1(DemoExchangePort::EntryName));
    return names;
}

Status MachinePorts::open(int index)
{
    close();
    if (index == demoIndex()) {
        demoInUse_ = true;
        // Answers of an earlier, abandoned transfer must not open the next one.
        (void)demo_->flushOutput();
        (void)demo_->flushInput();
        return Status::success();
    }
    if (index < 0 || index >= serialPorts_.size())
        return Status::failure("No port selected");
    return serial_.open(serialPorts_.at(index).name);
}

void MachinePorts::close()
{
    serial_.close();
    demoInUse_ = false;
}

void MachinePorts::setDtr(bool on)
{
    serial_.setDtr(on);
}

QtLinkPort &MachinePorts::port()
{
    if (demoInUse_)
        return *demo_;
    return serial_;
}

int MachinePorts::demoIndex() const
{
    return demo_ ? int(serialPorts_.size()) : -1;
}

} // namespace ornis
