#pragma once

#include "Status.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// The settings file (".set"): the settings block, the short dials and the PE records as a
// flat sequence of tagged values and raw blocks after a 520-byte header "OSET".

namespace ornis {

struct ExchangeConfig;

// The file's bytes for `config`; fails with "'%s' is not a valid date and time" when the
// day or night start holds no time.
[[nodiscard]] Status encodeSettingsFile(const ExchangeConfig &config, std::vector<uint8_t> &bytes);

// Reads a whole file's bytes into `config`. All or nothing: on failure ("Stream read
// error", "Invalid property value") `config` is unchanged. Fields the file does not hold
// (services, exchange model, modules) keep their values.
[[nodiscard]] Status decodeSettingsFile(std::span<const uint8_t> bytes, ExchangeConfig &config);

// Writes the file through a temporary file in the same folder renamed over `path`, so
// the previous file survives any failure ("Cannot create file %s: " and the system's reason).
[[nodiscard]] Status SaveSettingsFile(
    const std::filesystem::path &path, const ExchangeConfig &config);
// As readFileBytes when it cannot be read ("Cannot open file %s: " and the system's reason);
// otherwise as decodeSettingsFile.
[[nodiscard]] Status LoadSettingsFile(const std::filesystem::path &path, ExchangeConfig &config);

} // namespace ornis
