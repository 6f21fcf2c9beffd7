#include "ReadOnlyTexts.h"

namespace ornis {

QString setAtExchangeHint()
{
    return QStringLiteral("Nastavuje se v ústředně: zde je hodnota z posledního načtení, "
                          "zápis ji pošle zpět beze změny.");
}

} // namespace ornis
