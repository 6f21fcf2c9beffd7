#pragma once

#include "ExchangeConfig.h"

#include <array>
#include <cstddef>

// The optional modules of the exchanges: which model has each, where the configuration
// keeps its flag, and how the files, the JSON form and the page name it.

namespace ornis {

struct ModuleInfo
{
    const char *key; // the flag's name in the JSON form
    int32_t model; // the only model that has the module
    bool ModuleFlags::*flag;
    const char *checkBox; // the check box on the page "Konfigurace"
    const char *caption; // of the check box: "MKV"
};

// In the order of the preferences file, one flag each.
inline constexpr std::array<ModuleInfo, 6> ExchangeModuleTable {{
    {"MiraMKV", ModelMira, &ModuleFlags::MiraMKV, "chbMiraMKV", "MKV"},
    {"MiraMKPR", ModelMira, &ModuleFlags::MiraMKPR, "chbMiraMKPR", "MKPR"},
    {"GSM", ModelMira, &ModuleFlags::GSM, "chbGSM", "GSM"},
    {"MKV", ModelVega, &ModuleFlags::MKV, "chbMKV", "MKV"},
    {"MKPR", ModelVega, &ModuleFlags::MKPR, "chbMKPR", "MKPR"},
    {"MKX", ModelVegaX, &ModuleFlags::MKX, "chbMKX", "MKX"},
}};
inline constexpr int ModuleCount = int(ExchangeModuleTable.size());

} // namespace ornis
