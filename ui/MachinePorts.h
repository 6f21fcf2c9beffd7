#pragma once

#include <QList>

#include <memory>

#include "ui/LinkPortList.h"
#include "ui/RememberedAddresses.h"
#include "qtlink/LinePort.h"

namespace ornis {

class DemoExchangePort;

// The serial ports of the machine, then the network addresses the user typed, newest
// first, then, in the demo mode, the built-in virtual exchange.
class MachinePorts final : public LinkPortList
{
public:
    enum class Demo { Without, With };

    // `addressesPath`: where the typed addresses are kept for the next start; empty keeps
    // none.
    explicit MachinePorts(Demo demo, const QString &addressesPath = QString());
    ~MachinePorts() override;

    [[nodiscard]] QStringList names() const override;
    [[nodiscard]] Status open(int index) override;
    [[nodiscard]] Status openTyped(const QString &text) override;
    void close() override;
    void setDtr(bool on) override;
    [[nodiscard]] QtLinkPort &port() override;

    // Entry index of the virtual exchange; -1 without the demo mode.
    [[nodiscard]] int demoIndex() const;

private:
    QList<SerialPortEntry> serialPorts_;
    RememberedAddresses addresses_;
    LinePort line_;
    std::unique_ptr<DemoExchangePort> demo_;
    bool demoInUse_ = false;
};

} // namespace ornis
