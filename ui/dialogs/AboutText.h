#pragma once

#include "Version.h"

#include <QString>

// What the about box says of the program.

namespace ornis::about {

inline const QString Title = QStringLiteral("Informace o aplikaci");
inline const QString Name = QStringLiteral("ORNIS SET");
inline const QString Description = QStringLiteral("Program pro nastavení telefonních ústředen");
inline const QString Version = QStringLiteral("Verze ") + QLatin1String(ProgramVersion);

} // namespace ornis::about
