#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// The preferences file "OSet.cfg": the exchange model and the six module flags after a
// 520-byte header "OCFG". Both operations fail silently.

namespace ornis {

struct ExchangeConfig;

// Sets ExchangeType and the module flags from the file, item by item; a missing or
// short file leaves the rest as they were.
void LoadAppConfig(const std::filesystem::path &path, ExchangeConfig &config);
// Writes the 528-byte file; the previous file stays as it was when writing fails.
void SaveAppConfig(const std::filesystem::path &path, const ExchangeConfig &config);

// The file's bytes, and their reading as LoadAppConfig does it. A model index outside
// 0..2 reads as no model chosen.
[[nodiscard]] std::vector<uint8_t> encodeAppConfig(const ExchangeConfig &config);
void decodeAppConfig(std::span<const uint8_t> bytes, ExchangeConfig &config);

} // namespace ornis
