#include "DemoExchangePort.h"

#include "sim/DemoConfiguration.h"
#include "sim/Preload.h"

#include <algorithm>

namespace ornis {

DemoExchangePort::DemoExchangePort(QObject *parent)
    : QtLinkPort(parent)
    , exchange_(std::make_unique<sim::VirtualExchange>())
    , clock_(new SteadyLineClock(this))
{
    connectLine();
}

DemoExchangePort::DemoExchangePort(LineClock &clock, QObject *parent)
    : QtLinkPort(parent)
    , exchange_(std::make_unique<sim::VirtualExchange>())
    , clock_(&clock)
{
    connectLine();
}

void DemoExchangePort::connectLine()
{
    // Without block handlers the memory stays blank; the demo still answers.
    (void)writeIntoExchange(demoConfiguration(), *exchange_);
    connect(clock_, &LineClock::woke, this, &DemoExchangePort::deliverDueAnswers);
    answerTimer_.setSingleShot(true);
    connect(&answerTimer_, &QTimer::timeout, this, &QtLinkPort::answerTimerFired);
}

DemoExchangePort::~DemoExchangePort() = default;

Status DemoExchangePort::sendByte(uint8_t byte)
{
    std::vector<uint8_t> answer = exchange_->receive(byte);
    if (answer.empty())
        return Status::success();
    const int64_t due = pacer_.answerDue(clock_->nowNs(), answer.size());
    pending_.push_back({due, std::move(answer)});
    // A later answer is due after the first: the wake-up set for that one stands.
    if (pending_.size() == 1)
        scheduleLine();
    return Status::success();
}

std::optional<uint8_t> DemoExchangePort::readByte()
{
    return input_.readByte();
}

std::size_t DemoExchangePort::bytesAvailable() const
{
    return input_.size();
}

Status DemoExchangePort::flushInput()
{
    input_.clear();
    return Status::success();
}

Status DemoExchangePort::flushOutput()
{
    return Status::success(); // a byte reaches the exchange the moment it is sent
}

void DemoExchangePort::startAnswerTimer(int ticks)
{
    answerTimer_.start(std::max(ticks, 1) * TimerTickMs);
}

void DemoExchangePort::stopAnswerTimer()
{
    answerTimer_.stop();
}

void DemoExchangePort::deliverDueAnswers()
{
    const int64_t now = clock_->nowNs();
    bool arrived = false;
    while (!pending_.empty() && pending_.front().dueNs <= now) {
        const Answer &answer = pending_.front();
        input_.push(answer.bytes);
        pending_.pop_front();
        arrived = true;
    }
    scheduleLine();
    if (arrived && !input_.empty())
        emit bytesArrived(input_.size());
}

void DemoExchangePort::scheduleLine()
{
    if (pending_.empty())
        return;
    clock_->wakeAt(pending_.front().dueNs);
}

} // namespace ornis
