#pragma once

#include <cstdint>

namespace ornis {

// Working state of the block in progress. Every block sets what it uses before use;
// the fields keep their last values between transfers.
struct TransferState
{
    int32_t TransferStep = 0; // next data byte of the block; -1 while the services change address
    int32_t JumpAddress = 0; // address word (0x8000 | address) of a pending address change
    bool DataPhase = false; // the next arrival answers a data byte (write) or is one (read)
    bool EndRepeat = false; // settings write: the closing 'E' is still to be sent again
    uint16_t TimeHour = 0; // hour of a time of day being received
    uint16_t TimeMinute = 0;
};

} // namespace ornis
