#pragma once

#include "QtLinkPort.h"

#include <QList>
#include <QMetaObject>

namespace ornis {

// A port that passes every call on to the port beneath it and relays that port's
// notifications as its own, so that the engine keeps one port for its whole life while
// what lies beneath changes. The port beneath must outlive its time beneath.
class ForwardingPort : public QtLinkPort
{
    Q_OBJECT

public:
    explicit ForwardingPort(QObject *parent = nullptr);
    ~ForwardingPort() override;

    // nullptr: none, every send fails.
    void setInner(QtLinkPort *inner);
    [[nodiscard]] QtLinkPort *inner() const { return inner_; }

    // LinkPort
    Status sendByte(uint8_t byte) override;
    std::optional<uint8_t> readByte() override;
    [[nodiscard]] std::size_t bytesAvailable() const override;
    Status flushInput() override;
    Status flushOutput() override;
    void startAnswerTimer(int ticks) override;
    void stopAnswerTimer() override;
    [[nodiscard]] std::string name() const override;

protected:
    // Each emits this port's own notification; an override may look on before and after.
    virtual void relayBytesArrived(std::size_t count);
    virtual void relayAnswerTimerFired();
    virtual void relayPortFailed(const QString &message);

private:
    void disconnectInner();

    QtLinkPort *inner_ = nullptr;
    QList<QMetaObject::Connection> connections_;
};

} // namespace ornis
