#pragma once

#include "PtyExchange.h"
#include "TcpExchange.h"
#include "WaitOnPort.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "qtlink/AddressedPort.h"
#include "qtlink/QtSerialPort.h"
#include "sim/LineDriver.h"
#include "sim/SimulatedPort.h"
#include "tests/link/FixedClock.h"
#include "tests/link/RecordingObserver.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

// A transfer engine wired to the virtual exchange through one implementation of the port,
// so that the same transfer tests run against each of them.
class LinkUnderTest
{
public:
    virtual ~LinkUnderTest() = default;

    ornis::ExchangeConfig config = ornis::factoryConfig();
    FixedClock clock;
    RecordingObserver observer;

    [[nodiscard]] virtual ornis::TransferEngine &engine() = 0;
    [[nodiscard]] virtual ornis::sim::VirtualExchange &exchange() = 0;
    // The name that "Timeout on" must report.
    [[nodiscard]] virtual std::string expectedPortName() const = 0;
    // Lets the line run until the engine is idle; false when it never got there.
    [[nodiscard]] virtual bool runToIdle() = 0;
    // Lets the line run until at least `arrivals` arrivals have been handled.
    [[nodiscard]] virtual bool runArrivals(std::size_t arrivals) = 0;
    // The far end is gone for good once it has answered `answered` bytes.
    virtual void disappearAfter(std::size_t answered) = 0;
    [[nodiscard]] virtual bool lineUp() const = 0;
};

// In process, without time: the answer timer fires as soon as nothing waits.
class SimulatedLink final : public LinkUnderTest
{
public:
    SimulatedLink()
        : port_(exchange_)
        , engine_(config, port_, clock, observer)
    {
    }

    ornis::TransferEngine &engine() override { return engine_; }
    ornis::sim::VirtualExchange &exchange() override { return exchange_; }
    std::string expectedPortName() const override { return port_.name(); }
    bool runToIdle() override
    {
        while (!engine_.isIdle()) {
            cutLineIfDue();
            if (ornis::sim::runToIdle(engine_, port_, 1) == 0 && !engine_.isIdle()
                && !engine_.answerTimerArmed()) {
                return false;
            }
        }
        return true;
    }
    bool runArrivals(std::size_t arrivals) override
    {
        return ornis::sim::deliver(engine_, port_, arrivals) == arrivals;
    }
    void disappearAfter(std::size_t answered) override { disappearAfter_ = answered; }
    bool lineUp() const override { return !cut_; }

private:
    void cutLineIfDue()
    {
        if (disappearAfter_ && exchange_.bytesReceived() >= *disappearAfter_ && !cut_) {
            port_.disconnect();
            cut_ = true;
        }
    }

    ornis::sim::VirtualExchange exchange_;
    ornis::sim::SimulatedPort port_;
    ornis::TransferEngine engine_;
    std::optional<std::size_t> disappearAfter_;
    bool cut_ = false;
};

// Through a Qt adapter of type Port, in the event loop.
template<typename Port> class EventLoopLink : public LinkUnderTest
{
public:
    EventLoopLink()
        : engine_(config, port_, clock, observer)
        , arrivals_(&port_, &ornis::QtLinkPort::bytesArrived)
    {
        ornis::connectPortToEngine(port_, engine_);
    }

    [[nodiscard]] bool opened() const { return opened_; }
    [[nodiscard]] Port &port() { return port_; }

    ornis::TransferEngine &engine() override { return engine_; }
    bool runToIdle() override
    {
        return waitOnPort(port_, [this] { return engine_.isIdle(); });
    }
    bool runArrivals(std::size_t arrivals) override
    {
        const qsizetype target = arrivals_.size() + qsizetype(arrivals);
        return waitOnPort(port_, [&] { return arrivals_.size() >= target; });
    }
    bool lineUp() const override { return port_.isOpen(); }

protected:
    Port port_;
    bool opened_ = false;

private:
    ornis::TransferEngine engine_;
    QSignalSpy arrivals_;
};

// Through the QSerialPort adapter over a real pseudo-terminal.
class PtyLink final : public EventLoopLink<ornis::QtSerialPort>
{
public:
    PtyLink() { opened_ = far_.isOpen() && port_.open(far_.slavePath()).ok(); }

    [[nodiscard]] PtyExchange &farEnd() { return far_; }

    ornis::sim::VirtualExchange &exchange() override { return far_.exchange(); }
    std::string expectedPortName() const override { return far_.portName().toStdString(); }
    void disappearAfter(std::size_t answered) override { far_.disappearAfter(answered); }

private:
    PtyExchange far_;
};

// Through the port opened by its text, over loopback TCP, raw or with RFC 2217.
class TcpLink final : public EventLoopLink<ornis::AddressedPort>
{
public:
    explicit TcpLink(ornis::sim::TcpLine::Protocol protocol)
        : far_(protocol)
    {
        opened_ = far_.isListening() && port_.open(far_.address()).ok();
    }

    ornis::sim::VirtualExchange &exchange() override { return far_.exchange(); }
    std::string expectedPortName() const override { return far_.address().toStdString(); }
    void disappearAfter(std::size_t answered) override { far_.disappearAfter(answered); }

private:
    TcpExchange far_;
};
