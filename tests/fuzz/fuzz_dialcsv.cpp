// Any bytes given to the reader of the dial tables' CSV, a file from another program: it must
// never fail badly, and the rows it accepts must write back to a CSV that reads to the same
// tables again.

#include "common/DialTableCsv.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace ornis;
    static const ExchangeConfig start = factoryConfig();
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    static const std::vector<int> records {98, 99, 3};
    (void)readPastedDialRows(text, Block::PE, records);
    const DialRows rows = readDialRows(text);
    if (!rows.problems.empty())
        return 0;
    ExchangeConfig config = start;
    applyDialRows(config, rows);
    const std::optional<QByteArray> written = dialTableCsv(config, rows.table);
    if (!written)
        std::abort(); // every accepted text has a Unicode form
    const DialRows again = readDialRows(*written);
    ExchangeConfig back = start;
    applyDialRows(back, again);
    if (!again.problems.empty() || again.table != rows.table || !(back == config))
        std::abort();
    return 0;
}
