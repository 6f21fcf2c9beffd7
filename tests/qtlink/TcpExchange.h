#pragma once

#include "sim/TcpLine.h"
#include "sim/VirtualExchange.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>
#include <optional>

// The virtual exchange served on loopback TCP from the test's own event loop, through the
// same line as ornisset-sim --listen: every byte the program sends is answered at once.
// It can cut the connection when a byte arrives after it has answered a given number.
class TcpExchange : public QObject
{
    Q_OBJECT

public:
    explicit TcpExchange(ornis::sim::TcpLine::Protocol protocol);

    [[nodiscard]] bool isListening() const { return listening_; }
    // tcp://127.0.0.1:PORT or rfc2217://127.0.0.1:PORT
    [[nodiscard]] QString address() const { return QString::fromStdString(line_.address()); }
    [[nodiscard]] ornis::sim::VirtualExchange &exchange() { return exchange_; }

    void disappearAfter(std::size_t answered) { disappearAfter_ = answered; }

private:
    void onReadable();
    // Waits for the next program while none is connected, else for the program's bytes.
    void watchLine();

    ornis::sim::TcpLine line_;
    ornis::sim::VirtualExchange exchange_;
    std::unique_ptr<QSocketNotifier> listener_;
    std::unique_ptr<QSocketNotifier> client_;
    std::optional<std::size_t> disappearAfter_;
    bool listening_ = false;
};
