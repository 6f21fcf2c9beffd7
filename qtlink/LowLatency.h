#pragma once

#include <QSerialPort>
#include <utility>

namespace ornis {

// The system's handle of an open serial device (a descriptor on Linux).
using SerialHandle = decltype(std::declval<QSerialPort &>().handle());

// Asks the driver of the open device `handle` to pass each received byte on at once
// instead of collecting bytes for a while first (a USB-serial adapter waits up to 16 ms
// by default, and the lock-step protocol pays that on every byte). False when the driver
// refuses or has no such setting (a pseudo-terminal, a built-in port, another system).
[[nodiscard]] bool requestLowLatency(SerialHandle handle);

} // namespace ornis
