#pragma once

#include "common/Windows1250.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"

#include <QRandomGenerator>
#include <string>

// The dial tables the tests of their files share.

namespace ornis::testing {

// Every kind of value a file or a read can leave: lines beyond the list, numbers of any
// length within the rule, comments with separators, quotes, line breaks and Czech letters.
inline ExchangeConfig randomDialTables(quint32 seed)
{
    QRandomGenerator random(seed);
    const auto pick = [&random](const std::string &from, int most) {
        std::string text;
        for (int n = int(random.bounded(most + 1)); n > 0; --n)
            text += from[std::size_t(random.bounded(int(from.size())))];
        return text;
    };
    ExchangeConfig config = factoryConfig();
    for (ShortDialRecord &r : config.ShortDialTable)
        r = {int32_t(random.bounded(-1, 16)), pick("0123456789P", 14),
            pick("ab ;,\t\"\r\n\xE1\xF8\xC8", 30)}; // á ř Č
    for (PERecord &r : config.PETable)
        r = {int32_t(random.bounded(-1, 16)), pick("0123456789P", 14)};
    return config;
}

// What a technician keeps in the tables and a spreadsheet would damage: numbers with
// leading zeros, of 12 to 14 digits, and Czech comments with every separator in them. A
// line break is LF: a spreadsheet's cell keeps no CR.
inline ExchangeConfig spreadsheetDialTables()
{
    const auto text
        = [](const char *utf8) { return toWindows1250(QString::fromUtf8(utf8)).value(); };
    ExchangeConfig config = factoryConfig();
    config.ShortDialTable[0] = {1, "0224810111", text("Kancelář; sklad, \"brána\"")};
    config.ShortDialTable[1] = {2, "00420224810111", text("Účtárna\tpokladna")};
    config.ShortDialTable[2] = {5, "12345678901234", text("Dílna\nstůl 2")};
    config.ShortDialTable[3] = {0, "0P123", text("Příliš žluťoučký kůň")};
    config.ShortDialTable[89] = {-1, "000", ""};
    // Comments a spreadsheet would take for a value, a date, a time or a formula.
    const char *lookAlikes[]
        = {"1-2", "=1+1", "+420 1", "12:30", "TRUE", "15 %", "-5", "@A1", "1;2 \"x\""};
    for (std::size_t i = 0; i < std::size(lookAlikes); ++i)
        config.ShortDialTable[4 + i] = {1, "1", lookAlikes[i]};
    for (std::size_t i = 4 + std::size(lookAlikes); i < 89; ++i)
        config.ShortDialTable[i] = {int32_t(i % 6), std::to_string(i * 1000003), "Sklad"};
    config.PETable[0] = {6, "0800123456"};
    config.PETable[99] = {1, "0P0"};
    return config;
}

} // namespace ornis::testing
