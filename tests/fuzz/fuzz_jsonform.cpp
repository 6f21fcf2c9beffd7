// Any bytes given to the JSON form reader, the one input users edit by hand: it must never
// fail badly, a refused form must change nothing, and what it accepts must write back to a
// form that reads to the same configuration and blocks again.

#include "common/JsonForm.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace ornis;
    static const ExchangeConfig start = factoryConfig();
    const BlockSet none {Block::PE};
    ExchangeConfig config = start;
    BlockSet blocks = none;
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!configFromJson(json, config, blocks).ok()) {
        if (!(config == start) || !(blocks == none))
            std::abort(); // a refused form changed something
        return 0;
    }
    QByteArray written;
    if (!configToJson(config, blocks, written).ok())
        std::abort(); // every text read must be writable
    ExchangeConfig again = start;
    BlockSet againBlocks;
    if (!configFromJson(written, again, againBlocks).ok() || !(again == config)
        || !(againBlocks == blocks))
        std::abort();
    return 0;
}
