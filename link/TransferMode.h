#pragma once

#include <cstdint>

namespace ornis {

// What the link is doing; every block and direction has its own mode.
enum class TransferMode : uint8_t {
    Idle = 0,
    Stopping = 1,
    ClockWrite = 2,
    SettingsWrite = 3,
    SettingsRead = 4,
    TimesWrite = 5, // day/night times, always after the settings block
    TimesRead = 6,
    ServicesWrite = 7,
    ServicesRead = 8,
    ShortDialsWrite = 9,
    ShortDialsRead = 10,
    PEWrite = 11,
    PERead = 12,
    AllWrite = 13, // the settings block as the first of all blocks
    AllRead = 14,
};
inline constexpr int TransferModeCount = 15;

// The name of `mode` as the line trace writes it: "ShortDialsRead"; "?" for no mode.
[[nodiscard]] constexpr const char *transferModeName(TransferMode mode)
{
    constexpr const char *names[TransferModeCount]
        = {"Idle", "Stopping", "ClockWrite", "SettingsWrite", "SettingsRead", "TimesWrite",
            "TimesRead", "ServicesWrite", "ServicesRead", "ShortDialsWrite", "ShortDialsRead",
            "PEWrite", "PERead", "AllWrite", "AllRead"};
    const auto index = int(mode);
    return index < TransferModeCount ? names[index] : "?";
}

} // namespace ornis
