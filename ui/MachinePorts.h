#pragma once

#include <QList>

#include <memory>

#include "ui/LinkPortList.h"
#include "qtlink/QtSerialPort.h"

namespace ornis {

class DemoExchangePort;

// The serial ports of the machine, then, in the demo mode, the built-in virtual exchange.
class MachinePorts final : public LinkPortList
{
public:
    enum class Demo { Without, With };

    explicit MachinePorts(Demo demo);
    ~MachinePorts() override;

    [[nodiscard]] QStringList names() const override;
    [[nodiscard]] Status open(int index) override;
    void close() override;
    void setDtr(bool on) override;
    [[nodiscard]] QtLinkPort &port() override;

    // Entry index of the virtual exchange; -1 without the demo mode.
    [[nodiscard]] int demoIndex() const;

private:
    QList<SerialPortEntry> serialPorts_;
    QtSerialPort serial_;
    std::unique_ptr<DemoExchangePort> demo_;
    bool demoInUse_ = false;
};

} // namespace ornis
