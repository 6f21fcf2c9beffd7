#pragma once

#include <QList>

#include <functional>
#include <memory>

#include "ui/LinkPortList.h"
#include "qtlink/QtSerialPort.h"

namespace ornis {

class DemoExchangePort;

// The serial ports of the machine, then the device paths the user typed that opened, then,
// in the demo mode, the built-in virtual exchange.
class MachinePorts final : public LinkPortList
{
public:
    enum class Demo { Without, With };
    // Lists the machine's serial ports, in the order the user sees them.
    using Enumerator = std::function<QList<SerialPortEntry>()>;

    explicit MachinePorts(Demo demo, Enumerator enumerate = &QtSerialPort::availablePorts);
    ~MachinePorts() override;

    [[nodiscard]] QStringList names() const override;
    void refresh() override;
    [[nodiscard]] Status open(int index) override;
    [[nodiscard]] Status openTyped(const QString &nameOrPath) override;
    [[nodiscard]] int inUse() const override;
    void close() override;
    void setDtr(bool on) override;
    [[nodiscard]] QtLinkPort &port() override;

    // Entry index of the virtual exchange; -1 without the demo mode.
    [[nodiscard]] int demoIndex() const;

private:
    // The serial entry listed under, or opening, `nameOrPath`; -1 when none.
    [[nodiscard]] int serialEntryOf(const QString &nameOrPath) const;

    Enumerator enumerate_;
    QList<SerialPortEntry> entries_; // the machine's ports, then the typed ones
    QList<SerialPortEntry> typed_; // kept for the whole run, as the user may come back
    QtSerialPort serial_;
    int serialInUse_ = -1;
    std::unique_ptr<DemoExchangePort> demo_;
    bool demoInUse_ = false;
};

} // namespace ornis
