#include "MachinePorts.h"

#include "qtlink/DemoExchangePort.h"

namespace ornis {

MachinePorts::MachinePorts(Demo demo, const QString &addressesPath)
    : serialPorts_(QtSerialPort::availablePorts())
    , addresses_(addressesPath)
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
    names.append(addresses_.addresses());
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
    const QStringList entries = names();
    if (index < 0 || index >= entries.size())
        return Status::failure("No port selected");
    return line_.open(entries.at(index));
}

Status MachinePorts::openTyped(const QString &text)
{
    close();
    Status status = line_.open(text);
    if (status.ok() && looksLikeNetworkAddress(text))
        addresses_.remember(QString::fromStdString(line_.name()));
    return status;
}

void MachinePorts::close()
{
    line_.close();
    demoInUse_ = false;
}

void MachinePorts::setDtr(bool on)
{
    line_.setDtr(on);
}

QtLinkPort &MachinePorts::port()
{
    if (demoInUse_)
        return *demo_;
    return line_;
}

int MachinePorts::demoIndex() const
{
    return demo_ ? int(serialPorts_.size() + addresses_.addresses().size()) : -1;
}

} // namespace ornis
