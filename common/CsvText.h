#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

// Comma-separated text as spreadsheets write and read it (RFC 4180): fields separated by
// one character, records by CR LF or LF, a field in double quotes may hold the separator,
// line breaks and doubled quotes; a quote anywhere but at a field's start is a character of
// the field, as spreadsheets take it. The reader works on bytes, so it serves UTF-8 and
// single-byte code pages alike: every byte it looks at is ASCII.

namespace ornis {

struct CsvRecord
{
    int line = 0; // the line of the text the record starts on, from 1
    std::vector<QByteArray> fields;
};

struct CsvText
{
    std::vector<CsvRecord> records; // empty lines left out
    // The line of a quoted field that the text ends inside; the records before it stand.
    std::optional<int> unclosedQuoteLine;
};

// The separator of a text: the first of ';', tab and ',' that its first line holds outside
// quotes; ';' when it holds none of them.
[[nodiscard]] char csvSeparatorOf(QByteArrayView text);

// The records of `text`, without a leading UTF-8 byte order mark.
[[nodiscard]] CsvText readCsv(QByteArrayView text, char separator);

// `text` as one field: in quotes, with its quotes doubled, when it holds the separator, a
// quote or a line break.
[[nodiscard]] QString csvField(const QString &text, QChar separator);

inline constexpr QByteArrayView Utf8ByteOrderMark("\xEF\xBB\xBF");

} // namespace ornis
