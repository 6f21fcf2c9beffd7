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
    const QByteArrayView bytes = withoutByteOrderMark(text);
    bool quoted = false;
    bool fieldStart = true; // the separator is not known yet: any candidate starts a field
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            if (c == Quote && i + 1 < bytes.size() && bytes[i + 1] == Quote)
                ++i;
            else if (c == Quote)
                quoted = false;
        } else if (c == Quote && fieldStart) {
            quoted = true;
        } else if (c == '\n' || c == '\r') {
            break;
        } else if (c == ';' || c == '\t' || c == ',') {
            return c;
        }
        fieldStart = false;
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
    // As spreadsheets read it: a quote opens a quoted part only at the start of a field;
    // elsewhere it is a character of the field (="0224" keeps its quotes).
    bool fieldStart = true;
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
        } else if (c == Quote && fieldStart) {
            quoted = true;
            quoteLine = line;
            fieldStart = false;
        } else if (c == separator) {
            record.fields.emplace_back();
            fieldStart = true;
        } else if (c == '\n' || (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            i += c == '\r' ? 1 : 0;
            ++line;
            endRecord();
            fieldStart = true;
        } else {
            record.fields.back() += c;
            fieldStart = false;
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
