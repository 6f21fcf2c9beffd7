#pragma once

#include "LineClock.h"
#include "QtLinkPort.h"
#include "link/InputQueue.h"
#include "sim/LinePacer.h"
#include "sim/VirtualExchange.h"

#include <QTimer>
#include <deque>
#include <memory>
#include <vector>

namespace ornis {

// The built-in virtual exchange of the demo mode: an in-process VirtualExchange whose
// memory holds a plausible configuration, answering at the pace of a 2400-baud line.
// Answers always arrive from the event loop, never inside sendByte().
class DemoExchangePort final : public QtLinkPort
{
    Q_OBJECT

public:
    static constexpr const char *EntryName = "Demo";
    static constexpr int Baud = LineBaud;

    explicit DemoExchangePort(QObject *parent = nullptr);
    // The line runs by `clock`, which outlives the port.
    explicit DemoExchangePort(LineClock &clock, QObject *parent = nullptr);
    ~DemoExchangePort() override;

    [[nodiscard]] sim::VirtualExchange &exchange() { return *exchange_; }

    // LinkPort
    Status sendByte(uint8_t byte) override;
    std::optional<uint8_t> readByte() override;
    [[nodiscard]] std::size_t bytesAvailable() const override;
    Status flushInput() override;
    Status flushOutput() override;
    void startAnswerTimer(int ticks) override;
    void stopAnswerTimer() override;
    [[nodiscard]] std::string name() const override { return EntryName; }

private:
    struct Answer
    {
        int64_t dueNs; // fully arrived then
        std::vector<uint8_t> bytes;
    };

    void connectLine();
    void deliverDueAnswers();
    void scheduleLine();

    std::unique_ptr<sim::VirtualExchange> exchange_;
    sim::LinePacer pacer_ {Baud};
    LineClock *clock_; // a child of the port's own when none was given
    std::deque<Answer> pending_; // answers still on the line
    InputQueue input_; // answers arrived, not yet read
    QTimer answerTimer_;
};

} // namespace ornis
