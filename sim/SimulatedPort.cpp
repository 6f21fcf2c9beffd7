#include "SimulatedPort.h"

namespace ornis::sim {

Status SimulatedPort::sendByte(uint8_t byte)
{
    if (!connected_)
        return Status::failure("The port " + name_ + " is not open");
    sent_.push_back(byte);
    for (uint8_t answer : exchange_.receive(byte))
        input_.push_back(answer);
    return Status::success();
}

std::optional<uint8_t> SimulatedPort::readByte()
{
    if (input_.empty())
        return std::nullopt;
    const uint8_t byte = input_.front();
    input_.pop_front();
    return byte;
}

Status SimulatedPort::flushInput()
{
    input_.clear();
    return Status::success();
}

void SimulatedPort::startAnswerTimer(int ticks)
{
    timerTicks_ = ticks > 0 ? ticks : 1;
}

} // namespace ornis::sim
