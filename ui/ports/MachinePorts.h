#pragma once

#include "LinkPortList.h"
#include "RememberedAddresses.h"
#include "qtlink/AddressedPort.h"

#include <QList>
#include <functional>
#include <memory>

namespace ornis {

class DemoExchangePort;

// The serial ports of the machine and the device paths the user typed that opened, then the
// network addresses the user typed, newest first, then, in the demo mode, the built-in
// virtual exchange.
class MachinePorts final : public LinkPortList
{
public:
    enum class Demo { Without, With };
    // Lists the machine's serial ports, in the order the user sees them.
    using Enumerator = std::function<QList<SerialPortEntry>()>;

    // `addressesPath`: where the typed network addresses are kept for the next start;
    // empty keeps none.
    explicit MachinePorts(Demo demo, const QString &addressesPath = QString(),
        Enumerator enumerate = &QtSerialPort::availablePorts);
    ~MachinePorts() override;

    [[nodiscard]] QStringList names() const override;
    void refresh() override;
    [[nodiscard]] Status open(int index) override;
    [[nodiscard]] Status openTyped(const QString &text) override;
    [[nodiscard]] int inUse() const override;
    void close() override;
    void setDtr(bool on) override;
    [[nodiscard]] QtLinkPort &port() override;

    // Entry index of the virtual exchange; -1 without the demo mode.
    [[nodiscard]] int demoIndex() const;

private:
    // The serial entry listed under, or opening, `nameOrPath`; -1 when none.
    [[nodiscard]] int serialEntryOf(const QString &nameOrPath) const;
    // The entry of any kind named `text`; -1 when none.
    [[nodiscard]] int entryOf(const QString &text) const;

    Enumerator enumerate_;
    QList<SerialPortEntry> entries_; // the machine's ports, then the typed ones
    QList<SerialPortEntry> typed_; // kept for the whole run, as the user may come back
    RememberedAddresses addresses_;
    AddressedPort line_;
    int lineInUse_ = -1; // the entry line_ opened
    std::unique_ptr<DemoExchangePort> demo_;
    bool demoInUse_ = false;
};

} // namespace ornis
