#pragma once

#include "ExchangeConfig.h"

#include <array>
#include <cstddef>

// The optional modules of the exchanges: which model has each, where the configuration
// keeps its flag, and how the files and the JSON form name it.

namespace ornis {

struct ModuleInfo
{
    const char *key; // the flag's name in the JSON form
    int32_t model; // the only model that has the module
    bool ModuleFlags::*flag;
    const char *caption; // "MKV"
};

// In the order of the preferences file, one flag each.
inline constexpr std::array<ModuleInfo, 6> ExchangeModuleTable {{
    {"MiraMKV", ModelMira, &ModuleFlags::MiraMKV, "MKV"},
    {"MiraMKPR", ModelMira, &ModuleFlags::MiraMKPR, "MKPR"},
    {"GSM", ModelMira, &ModuleFlags::GSM, "GSM"},
    {"MKV", ModelVega, &ModuleFlags::MKV, "MKV"},
    {"MKPR", ModelVega, &ModuleFlags::MKPR, "MKPR"},
    {"MKX", ModelVegaX, &ModuleFlags::MKX, "MKX"},
}};
inline constexpr int ModuleCount = int(ExchangeModuleTable.size());

} // namespace ornis
