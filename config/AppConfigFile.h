#pragma once

#include <filesystem>

// The preferences file "OSet.cfg": the exchange model and the six module flags after a
// 520-byte header "OCFG". Both operations fail silently.

namespace ornis {

struct ExchangeConfig;

// Sets ExchangeType and the module flags from the file, item by item; a missing or
// short file leaves the rest as they were.
void LoadAppConfig(const std::filesystem::path &path, ExchangeConfig &config);
// Writes the 528-byte file; the previous file stays as it was when writing fails.
void SaveAppConfig(const std::filesystem::path &path, const ExchangeConfig &config);

} // namespace ornis
