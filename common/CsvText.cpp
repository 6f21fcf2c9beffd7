#include "CsvText.h"

namespace ornis {

namespace {

constexpr char Quote = '"';

QByteArrayView withoutByteOrderMark(QByteArrayView text)
{
    return text.startsWith(Utf8ByteOrderMark) ? text.sliced(Utf8ByteOrderMark.size()) : text;
}

bool isEmptyRecord(const CsvRecord &record)
{
    return record.fields.size() == 1 && record.fields.front().isEmpty();
}

} // namespace

char csvSeparatorOf(QByteArrayView text)
{
    bool quoted = false;
    for (const char c : withoutByteOrderMark(text)) {
        if (c == Quote)
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted && (c == ';' || c == '\t' || c == ','))
            return c;
    }
    return ';';
}

CsvText readCsv(QByteArrayView text, char separator)
{
    const QByteArrayView bytes = withoutByteOrderMark(text);
    CsvText result;
    CsvRecord record {1, {QByteArray()}};
    int line = 1;
    int quoteLine = 0;
    bool quoted = false;
    const auto endRecord = [&] {
        if (!isEmptyRecord(record))
            result.records.push_back(std::move(record));
        record = CsvRecord {line, {QByteArray()}};
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            // Everything up to the closing quote is the field's, line breaks as they are.
            if (c == Quote && i + 1 < bytes.size() && bytes[i + 1] == Quote)
                ++i;
            else if (c == Quote) {
                quoted = false;
                continue;
            } else if (c == '\n')
                ++line;
            record.fields.back() += c;
        } else if (c == Quote) {
            quoted = true;
            quoteLine = line;
        } else if (c == separator) {
            record.fields.emplace_back();
        } else if (c == '\n' || (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            i += c == '\r' ? 1 : 0;
            ++line;
            endRecord();
        } else {
            record.fields.back() += c;
        }
    }
    if (quoted)
        result.unclosedQuoteLine = quoteLine;
    else
        endRecord();
    return result;
}

QString csvField(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(QChar(Quote)) && !text.contains('\n')
        && !text.contains('\r'))
        return text;
    QString quoted = text;
    quoted.replace(QChar(Quote), QStringLiteral("\"\""));
    return Quote + quoted + Quote;
}

} // namespace ornis
