// Any bytes given to the reader of the dial tables' workbooks, a file from another program:
// it must never fail badly, and the rows it accepts must write back to a workbook that
// reads to the same tables again. The same bytes also go to the readers of the two XML
// parts alone, which the fuzzer reaches there without packing them.

#include "common/DialTableXlsx.h"
#include "common/XlsxSheet.h"
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
    static const std::vector<QString> texts {"Volba", "Číslo", "0224"};
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)readSharedTexts(bytes);
    (void)readSheetPart(bytes, texts);
    const DialRows rows = readDialXlsx(bytes);
    if (!rows.problems.empty())
        return 0;
    ExchangeConfig config = start;
    applyDialRows(config, rows);
    QByteArray written;
    // A text longer than a spreadsheet's cell is refused with a message: no finding.
    if (!dialTableXlsx(config, rows.table, written).ok())
        return 0;
    const DialRows again = readDialXlsx(written);
    ExchangeConfig back = start;
    applyDialRows(back, again);
    if (!again.problems.empty() || again.table != rows.table || !(back == config))
        std::abort();
    return 0;
}
