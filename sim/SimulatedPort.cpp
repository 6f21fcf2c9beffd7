#include "SimulatedPort.h"

namespace ornis::sim {

Status SimulatedPort::sendByte(uint8_t byte)
{
    if (!connected_)
        return Status::failure("The port " + name_ + " is not open");
    if (answerUnread_)
        ++sentBeforeAnswer_;
    sent_.push_back(byte);
    const std::vector<uint8_t> answer = exchange_.receive(byte);
    answerUnread_ = !answer.empty();
    input_.push(answer);
    return Status::success();
}

std::optional<uint8_t> SimulatedPort::readByte()
{
    const std::optional<uint8_t> byte = input_.readByte();
    if (input_.empty())
        answerUnread_ = false;
    return byte;
}

Status SimulatedPort::flushInput()
{
    input_.clear(); // an answer thrown away still counts as unread
    return Status::success();
}

void SimulatedPort::startAnswerTimer(int ticks)
{
    timerTicks_ = ticks > 0 ? ticks : 1;
}

} // namespace ornis::sim
