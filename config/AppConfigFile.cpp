#include "AppConfigFile.h"

#include "ExchangeConfig.h"
#include "FileBytes.h"
#include "FileHeader.h"
#include "ModuleTable.h"
#include "ValueReader.h"
#include "ValueWriter.h"

namespace ornis {

std::vector<uint8_t> encodeAppConfig(const ExchangeConfig &config)
{
    std::vector<uint8_t> bytes;
    ValueWriter writer(bytes);
    writer.writeRaw(makeFileHeader(AppConfigMagic));
    writer.writeInteger(config.ExchangeType);
    for (const ModuleInfo &module : ExchangeModuleTable)
        writer.writeFlag(config.ExchangeModules.*module.flag);
    return bytes;
}

void decodeAppConfig(std::span<const uint8_t> bytes, ExchangeConfig &config)
{
    // Unlike the settings file, each item takes effect as soon as it is read: a short
    // file keeps what it does hold.
    ValueReader reader(bytes);
    if (reader.skip(FileHeaderSize) != ReadResult::Ok)
        return;
    int32_t model = ModelNone;
    if (reader.readInteger(model) != ReadResult::Ok)
        return;
    // The model choice cannot hold another index; this also keeps the file 528 bytes.
    config.ExchangeType = model >= ModelMira && model <= ModelVegaX ? model : ModelNone;
    for (const ModuleInfo &module : ExchangeModuleTable) {
        bool value = false;
        if (reader.readFlag(value) != ReadResult::Ok)
            return;
        config.ExchangeModules.*module.flag = value;
    }
}

void LoadAppConfig(const std::filesystem::path &path, ExchangeConfig &config)
{
    std::vector<uint8_t> bytes;
    if (readFileBytes(path, bytes).ok())
        decodeAppConfig(bytes, config);
}

void SaveAppConfig(const std::filesystem::path &path, const ExchangeConfig &config)
{
    // Failures are silent: the preferences are not worth a message.
    (void)writeFileAtomically(path, encodeAppConfig(config));
}

} // namespace ornis
