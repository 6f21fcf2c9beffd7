#include "DemoConfiguration.h"

#include "config/FactoryDefaults.h"
#include "config/Numbering.h"

namespace ornis {

namespace {

void setDial(ShortDialRecord &record, int line, const char *number, const char *comment)
{
    record.Line = line;
    record.Number = number;
    record.Comment = comment;
}

} // namespace

ExchangeConfig demoConfiguration()
{
    ExchangeConfig config = factoryConfig();
    config.ExchangeType = ModelMira;
    // Texts are Windows-1250: "Ředitel", "Účtárna", "Sklad".
    config.ExtensionComments[0] = "Recepce";
    config.ExtensionComments[1] = "\xD8"
                                  "editel";
    config.ExtensionComments[2] = "\xDA\xE8t\xE1rna";
    config.ExtensionComments[8] = "Sklad";

    GridArea &grids = config.Grids;
    const auto extensionColumn = [](int number) { return *extensionIndexOf(number) + 1; };
    // By day line 91 also rings at the director, line 92 at accounts.
    grids.DayRingGrid[RingGridShape.cellIndex(extensionColumn(22), 1)] = 1;
    grids.DayRingGrid[RingGridShape.cellIndex(extensionColumn(23), 2)] = 1;
    // The store room may not call out on lines 93 and 94.
    const int store = *extensionIndexOf(31) + 1;
    grids.ExtensionGrid[ExtensionGridShape.cellIndex(ExtensionColumn::Outgoing91 + 2, store)] = 0;
    grids.ExtensionGrid[ExtensionGridShape.cellIndex(ExtensionColumn::Outgoing91 + 3, store)] = 0;
    grids.ExtensionGrid[ExtensionGridShape.cellIndex(ExtensionColumn::Call, store)] = 1;
    grids.GlobalLineGrid[GlobalLineGridShape.cellIndex(2, GlobalLineRow::LP)] = 2; // "16k"
    grids.GlobalLineGrid[GlobalLineGridShape.cellIndex(1, GlobalLineRow::G2)] = 3; // "DN"
    config.DayStart = "07:30";
    config.NightStart = "17:00";
    config.G0Days = {true, false, false, false, false, false, true}; // weekends at night

    config.Services[0].Redirect = 1; // reception to the director
    config.Services[0].RedirectWhen = 2;
    config.Services[1].AlarmDaily = "06:45";
    config.GeneralRing[0] = true;

    setDial(config.ShortDialTable[0], 2, "224810111", "Servis");
    setDial(config.ShortDialTable[1], 1, "602123456",
        "\xD8"
        "editel mobil");
    setDial(config.ShortDialTable[10], 3, "0049301234567", "Berlin");
    setDial(config.ShortDialTable[89], 2, "155",
        "Z\xE1"
        "chrann\xE1 slu\x9E"
        "ba");
    config.PETable[0] = {2, "1234"};
    config.PETable[20] = {1, "00420"};
    return config;
}

} // namespace ornis
