#pragma once

#include "ExchangeConfig.h"

#include <string>
#include <vector>

// The two-page printed report of the settings block and the short dials: fixed lines of
// monospaced Windows-1250 text. The printer and the text export both lay it out from here.

namespace ornis {

inline constexpr int ReportFirstPageLines = 61; // lines 0..60
inline constexpr int ReportSecondPageLines = 64; // lines 0..63
// The date line is line 1 of the first page; it starts with the date text.
inline constexpr int ReportDateLine = 1;

struct Report
{
    std::vector<Text> firstPage;
    std::vector<Text> secondPage;
};

// The report of `config`; `dateTime` is the date and time text of line 1, as the caller
// formats it in the user's locale (Windows-1250).
[[nodiscard]] Report buildReport(const ExchangeConfig &config, const Text &dateTime);

// The report as plain text: every line ends with a line feed, a form feed stands between
// the pages.
[[nodiscard]] Text reportPlainText(const Report &report);

} // namespace ornis
