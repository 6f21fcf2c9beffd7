#include "DemoExchangePort.h"

#include "DemoConfiguration.h"
#include "sim/Preload.h"

#include <algorithm>

namespace ornis {

DemoExchangePort::DemoExchangePort(QObject *parent)
    : QtLinkPort(parent)
    , exchange_(std::make_unique<sim::VirtualExchange>())
{
    // Without block handlers the memory stays blank; the demo still answers.
    (void)writeIntoExchange(demoConfiguration(), *exchange_);
    clock_.start();
    lineTimer_.setSingleShot(true);
    lineTimer_.setTimerType(Qt::PreciseTimer);
    connect(&lineTimer_, &QTimer::timeout, this, &DemoExchangePort::deliverDueAnswers);
    answerTimer_.setSingleShot(true);
    connect(&answerTimer_, &QTimer::timeout, this, &QtLinkPort::answerTimerFired);
}

DemoExchangePort::~DemoExchangePort() = default;

Status DemoExchangePort::sendByte(uint8_t byte)
{
    std::vector<uint8_t> answer = exchange_->receive(byte);
    if (answer.empty())
        return Status::success();
    const int64_t due = pacer_.answerDue(clock_.nsecsElapsed(), answer.size());
    pending_.push_back({due, std::move(answer)});
    if (!lineTimer_.isActive())
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
    const int64_t now = clock_.nsecsElapsed();
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
    const int64_t wait = pending_.front().dueNs - clock_.nsecsElapsed();
    // QTimer counts whole milliseconds: round up, so no answer comes early.
    lineTimer_.start(int(std::max<int64_t>(0, (wait + 999'999) / 1'000'000)));
}

} // namespace ornis
