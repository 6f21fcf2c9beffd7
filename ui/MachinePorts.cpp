#include "MachinePorts.h"

#include "qtlink/DemoExchangePort.h"

#include <optional>

namespace ornis {

MachinePorts::MachinePorts(Demo demo, Enumerator enumerate)
    : enumerate_(std::move(enumerate))
    , entries_(enumerate_())
{
    if (demo == Demo::With)
        demo_ = std::make_unique<DemoExchangePort>();
}

MachinePorts::~MachinePorts() = default;

QStringList MachinePorts::names() const
{
    QStringList names;
    for (const SerialPortEntry &entry : entries_)
        names.append(entry.name);
    if (demo_)
        names.append(QString::fromLatin1(DemoExchangePort::EntryName));
    return names;
}

void MachinePorts::refresh()
{
    const int inUse = serial_.isOpen() ? serialInUse_ : -1;
    const std::optional<SerialPortEntry> open
        = inUse >= 0 ? std::optional(entries_.at(inUse)) : std::nullopt;
    entries_ = enumerate_();
    for (const SerialPortEntry &entry : std::as_const(typed_)) {
        if (serialEntryOf(entry.name) < 0)
            entries_.append(entry);
    }
    serialInUse_ = -1;
    if (open) {
        // An adapter in use that the system no longer lists has not failed yet: it stays
        // until it does.
        serialInUse_ = serialEntryOf(open->name);
        if (serialInUse_ < 0) {
            entries_.append(*open);
            serialInUse_ = int(entries_.size()) - 1;
        }
    }
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
    if (index < 0 || index >= entries_.size())
        return Status::failure("No port selected");
    const Status status = serial_.open(entries_.at(index).name);
    if (status.ok())
        serialInUse_ = index;
    return status;
}

Status MachinePorts::openTyped(const QString &nameOrPath)
{
    if (demo_ && nameOrPath == QLatin1String(DemoExchangePort::EntryName))
        return open(demoIndex());
    if (const int index = serialEntryOf(nameOrPath); index >= 0)
        return open(index);
    close();
    const Status status = serial_.open(nameOrPath);
    if (!status.ok())
        return status;
    const SerialPortEntry entry {nameOrPath, nameOrPath, {}};
    typed_.append(entry);
    entries_.append(entry);
    serialInUse_ = int(entries_.size()) - 1;
    return status;
}

int MachinePorts::inUse() const
{
    if (demoInUse_)
        return demoIndex();
    return serial_.isOpen() ? serialInUse_ : -1;
}

void MachinePorts::close()
{
    serial_.close();
    serialInUse_ = -1;
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
    return demo_ ? int(entries_.size()) : -1;
}

int MachinePorts::serialEntryOf(const QString &nameOrPath) const
{
    for (qsizetype index = 0; index < entries_.size(); ++index) {
        const SerialPortEntry &entry = entries_.at(index);
        if (entry.name == nameOrPath || entry.systemLocation == nameOrPath)
            return int(index);
    }
    return -1;
}

} // namespace ornis
