#pragma once

#include "sim/PtyLine.h"
#include "sim/VirtualExchange.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>
#include <optional>

// The virtual exchange served on a pseudo-terminal from the test's own event loop: every
// byte the program sends is answered at once. It can vanish, closing the line, when a
// byte arrives after it has answered a given number.
class PtyExchange : public QObject
{
    Q_OBJECT

public:
    PtyExchange();

    [[nodiscard]] bool isOpen() const { return line_.isOpen(); }
    [[nodiscard]] QString slavePath() const { return QString::fromStdString(line_.slavePath()); }
    // pts/N: the name the adapter shows for the slave
    [[nodiscard]] QString portName() const { return slavePath().mid(5); }
    [[nodiscard]] ornis::sim::VirtualExchange &exchange() { return exchange_; }

    void disappearAfter(std::size_t answered) { disappearAfter_ = answered; }
    void vanish();
    // Puts bytes on the line unasked, as a device does that chatters before being opened.
    bool chatter(const QByteArray &bytes);

private:
    void onReadable();

    ornis::sim::PtyLine line_;
    ornis::sim::VirtualExchange exchange_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::optional<std::size_t> disappearAfter_;
};
