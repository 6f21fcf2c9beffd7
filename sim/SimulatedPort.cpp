#include "SimulatedPort.h"

namespace ornis::sim {

Status SimulatedPort::sendByte(uint8_t byte)
{
    if (!connected_)
        return Status::failure("The port " + name_ + " is not open");
    sent_.push_back(byte);
    input_.push(exchange_.receive(byte));
    return Status::success();
}

std::optional<uint8_t> SimulatedPort::readByte()
{
    return input_.readByte();
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
