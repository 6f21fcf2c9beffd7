#include "SiteList.h"

#include "CommandLine.h"

#include <QByteArrayView>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <array>
#include <optional>

namespace ornis::cli {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The fields of one line; nothing when a quote is left open or text follows a closing quote.
std::optional<QList<QByteArray>> splitFields(QByteArrayView line, char separator)
{
    QList<QByteArray> fields;
    qsizetype i = 0;
    const qsizetype size = line.size();
    for (;;) {
        while (i < size && isBlank(line[i]))
            ++i;
        QByteArray field;
        if (i < size && line[i] == '"') {
            for (++i;; ++i) {
                if (i >= size)
                    return std::nullopt;
                if (line[i] != '"') {
                    field += line[i];
                } else if (i + 1 < size && line[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    break;
                }
            }
            for (++i; i < size && isBlank(line[i]);)
                ++i;
            if (i < size && line[i] != separator)
                return std::nullopt;
        } else {
            const qsizetype start = i;
            while (i < size && line[i] != separator)
                ++i;
            field = line.sliced(start, i - start).trimmed().toByteArray();
        }
        fields.append(field);
        if (i >= size)
            return fields;
        ++i; // past the separator
    }
}

std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool holdsControl(const QString &text)
{
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

// What is wrong with a site's name; empty when nothing.
QString nameFault(const QString &name)
{
    if (const qsizetype bytes = name.toUtf8().size(); bytes > MaxSiteNameBytes)
        return QStringLiteral("name \"%1...\" takes %2 bytes of UTF-8; a folder NAME and a trace "
                              "NAME.trace allow %3")
            .arg(name.left(20))
            .arg(bytes)
            .arg(MaxSiteNameBytes);
    if (name.isEmpty())
        return QStringLiteral("the name is empty");
    if (name.contains('/') || name.contains('\\') || holdsControl(name))
        return QStringLiteral("name \"%1\" holds /, \\ or a control character")
            .arg(QString(name).replace(QRegularExpression("\\p{Cc}"), "?"));
    if (name == "." || name == "..")
        return QStringLiteral("name \"%1\" is no folder name").arg(name);
    return {};
}

enum Column { Name, Port, Model, Columns };
constexpr const char *ColumnNames[Columns] = {"name", "port", "model"};

class Reader
{
public:
    SiteList read(const QByteArray &text);

private:
    void readHeader(const QList<QByteArray> &fields);
    void readSite(const QList<QByteArray> &fields);
    void fault(const QString &message) { list_.errors.append(at() + message); }
    QString at() const { return QStringLiteral("line %1: ").arg(line_); }

    SiteList list_;
    int line_ = 0;
    char separator_ = 0; // 0 until the header is read
    std::array<int, Columns> index_ {-1, -1, -1}; // of each column in a row
    qsizetype width_ = 0; // the columns the header names
    QHash<QString, int> names_; // folded name -> its line
};

SiteList Reader::read(const QByteArray &text)
{
    QByteArrayView rest(text);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    while (!rest.isEmpty()) {
        ++line_;
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        if (separator_ == 0) {
            const qsizetype comma = line.indexOf(',');
            const qsizetype semicolon = line.indexOf(';');
            separator_ = semicolon >= 0 && (comma < 0 || semicolon < comma) ? ';' : ',';
        }
        const std::optional<QList<QByteArray>> fields = splitFields(line, separator_);
        if (!fields) {
            fault(QStringLiteral("a quote is not closed where the field ends"));
            if (width_ == 0)
                return list_;
        } else if (width_ == 0) {
            readHeader(*fields);
            if (!list_.errors.isEmpty())
                return list_;
        } else {
            readSite(*fields);
        }
    }
    if (width_ == 0 && list_.errors.isEmpty())
        list_.errors.append(QStringLiteral("no header row naming the columns name and port"));
    else if (list_.sites.empty() && list_.errors.isEmpty())
        list_.errors.append(QStringLiteral("the list names no site"));
    return list_;
}

void Reader::readHeader(const QList<QByteArray> &fields)
{
    width_ = fields.size();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QByteArray name = fields[i].toLower();
        int column = 0;
        while (column < Columns && name != ColumnNames[column])
            ++column;
        if (column == Columns)
            fault(QStringLiteral("unknown column \"%1\": use name, port and model")
                      .arg(QString::fromUtf8(fields[i])));
        else if (index_[column] >= 0)
            fault(QStringLiteral("column \"%1\" stands twice").arg(ColumnNames[column]));
        else
            index_[column] = int(i);
    }
    if (index_[Name] < 0 || index_[Port] < 0)
        fault(QStringLiteral("the header must name the columns name and port"));
}

void Reader::readSite(const QList<QByteArray> &fields)
{
    if (fields.size() > width_) {
        fault(QStringLiteral("%1 fields, the header names %2 columns")
                  .arg(fields.size())
                  .arg(width_));
        return;
    }
    std::array<QString, Columns> values;
    for (int column = 0; column < Columns; ++column) {
        const int index = index_[column];
        if (index < 0 || index >= fields.size())
            continue;
        const std::optional<QString> text = decodeUtf8(fields[index]);
        if (!text) {
            fault(QStringLiteral("the %1 is no UTF-8 text").arg(ColumnNames[column]));
            return;
        }
        values[column] = *text;
    }
    const qsizetype before = list_.errors.size();
    Site site {values[Name], values[Port], ModelMira, line_};
    if (const QString why = nameFault(site.name); !why.isEmpty()) {
        fault(why);
    } else {
        const QString folded = site.name.toCaseFolded();
        if (const auto first = names_.constFind(folded); first != names_.cend())
            fault(QStringLiteral("name \"%1\" stands twice (first on line %2)")
                      .arg(site.name)
                      .arg(*first));
        else
            names_.insert(folded, line_);
    }
    if (!values[Model].isEmpty()) {
        if (const std::optional<int32_t> model = modelNamed(values[Model]))
            site.model = *model;
        else
            fault(
                QStringLiteral("unknown model \"%1\": use %2").arg(values[Model], modelChoices()));
    }
    if (site.port.isEmpty())
        fault(QStringLiteral("site \"%1\" has an empty port").arg(site.name));
    if (list_.errors.size() == before)
        list_.sites.push_back(site);
}

} // namespace

SiteList readSiteList(const QByteArray &text)
{
    return Reader().read(text);
}

} // namespace ornis::cli
