#include "MachinePorts.h"

#include "qtlink/DemoExchangePort.h"
#include "qtlink/PortAddress.h"

#include <optional>

namespace ornis {

MachinePorts::MachinePorts(Demo demo, const QString &addressesPath, Enumerator enumerate)
    : enumerate_(std::move(enumerate))
    , entries_(enumerate_())
    , addresses_(addressesPath)
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
    names.append(addresses_.addresses());
    if (demo_)
        names.append(QString::fromLatin1(DemoExchangePort::EntryName));
    return names;
}

void MachinePorts::refresh()
{
    const int inUse = line_.isOpen() ? lineInUse_ : -1;
    const QString inUseName = inUse >= 0 ? names().at(inUse) : QString();
    const std::optional<SerialPortEntry> openSerial
        = inUse >= 0 && inUse < entries_.size() ? std::optional(entries_.at(inUse)) : std::nullopt;
    entries_ = enumerate_();
    for (const SerialPortEntry &entry : std::as_const(typed_)) {
        if (serialEntryOf(entry.name) < 0)
            entries_.append(entry);
    }
    // An adapter in use that the system no longer lists has not failed yet: it stays
    // until it does.
    if (openSerial && serialEntryOf(openSerial->name) < 0)
        entries_.append(*openSerial);
    lineInUse_ = inUse >= 0 ? entryOf(inUseName) : -1;
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
    const Status status = line_.open(entries.at(index));
    if (status.ok())
        lineInUse_ = index;
    return status;
}

Status MachinePorts::openTyped(const QString &text)
{
    if (const int index = entryOf(text); index >= 0)
        return open(index);
    close();
    const Status status = line_.open(text);
    if (!status.ok())
        return status;
    if (looksLikeNetworkAddress(text)) {
        addresses_.remember(QString::fromStdString(line_.name()));
        lineInUse_ = entryOf(QString::fromStdString(line_.name()));
        return status;
    }
    const SerialPortEntry entry {text, text, {}};
    typed_.append(entry);
    entries_.append(entry);
    lineInUse_ = int(entries_.size()) - 1;
    return status;
}

int MachinePorts::inUse() const
{
    if (demoInUse_)
        return demoIndex();
    return line_.isOpen() ? lineInUse_ : -1;
}

void MachinePorts::close()
{
    line_.close();
    lineInUse_ = -1;
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
    return demo_ ? int(entries_.size() + addresses_.addresses().size()) : -1;
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

int MachinePorts::entryOf(const QString &text) const
{
    if (const int serial = serialEntryOf(text); serial >= 0)
        return serial;
    return int(names().indexOf(text));
}

} // namespace ornis
