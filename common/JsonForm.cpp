#include "JsonForm.h"

#include "BlockNames.h"
#include "JsonDuplicateKeys.h"
#include "Windows1250.h"
#include "config/DialNumber.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/FieldTable.h"
#include "config/ModuleTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace ornis {

namespace {

// Keeps the first failure; whatever comes after it is not looked at.
class Problems
{
public:
    void fail(const QString &key, const QString &what)
    {
        if (!message_)
            message_ = QStringLiteral("Key \"%1\": %2").arg(key, what);
    }
    void unknownKey(const QString &key)
    {
        if (!message_)
            message_ = QStringLiteral("Unknown key \"%1\"").arg(key);
    }
    [[nodiscard]] bool failed() const { return message_.has_value(); }
    [[nodiscard]] Status status() const
    {
        return message_ ? Status::failure(message_->toStdString()) : Status::success();
    }

private:
    std::optional<QString> message_;
};

constexpr QLatin1String BlocksKey("Blocks");

QString elementKey(const QString &key, qsizetype index)
{
    return QStringLiteral("%1[%2]").arg(key).arg(index);
}

// The elements of `row`, or of its member in `record`: 0 for a single value.
int elementCount(const FieldRow &row, std::optional<int> record)
{
    return record ? row.memberCount : row.count;
}

FieldRef elementRef(const FieldRow &row, std::optional<int> record, int element)
{
    return record ? FieldRef {row.field, *record, element} : FieldRef {row.field, element};
}

// --- Writing ------------------------------------------------------------------------

QJsonValue textValue(const Text &text, const QString &key, Problems &problems)
{
    const std::optional<QString> unicode = fromWindows1250(text);
    if (!unicode) {
        problems.fail(key, QStringLiteral("holds a byte that is no Windows-1250 character"));
        return QString();
    }
    return *unicode;
}

QJsonValue writeValue(const ExchangeConfig &config, const FieldRef &ref, Problems &problems)
{
    switch (kindOf(ref.field)) {
    case FieldKind::Integer:
        return qint64(integerValue(config, ref));
    case FieldKind::Flag:
        return integerValue(config, ref) != 0;
    case FieldKind::Text:
    case FieldKind::Time:
        break;
    }
    return textValue(
        ornis::textValue(config, ref), QString::fromStdString(fieldKey(ref)), problems);
}

// The values of `row`, or of its member in `record`: the value, or the array of its
// elements.
QJsonValue writeElements(const ExchangeConfig &config, const FieldRow &row,
    std::optional<int> record, Problems &problems)
{
    const int count = elementCount(row, record);
    const auto refOf = [&](int e) { return elementRef(row, record, e); };
    if (count == 0)
        return writeValue(config, refOf(0), problems);
    QJsonArray array;
    for (int e = 0; e < count; ++e)
        array.append(writeValue(config, refOf(e), problems));
    return array;
}

// The value of one key: a value, an array of values, the module flags by name or an array
// of records.
QJsonValue writeKey(
    std::span<const FieldRow> rows, const ExchangeConfig &config, Problems &problems)
{
    const FieldRow &first = rows.front();
    if (first.index == Counting::Module) {
        QJsonObject modules;
        for (int i = 0; i < first.count; ++i)
            modules[QLatin1String(ExchangeModuleTable.at(std::size_t(i)).key)]
                = writeValue(config, {first.field, i}, problems);
        return modules;
    }
    if (!first.member)
        return writeElements(config, first, std::nullopt, problems);
    QJsonArray records;
    for (int i = 0; i < first.count; ++i) {
        QJsonObject record;
        for (const FieldRow &row : rows)
            record[QLatin1String(row.member)] = writeElements(config, row, i, problems);
        records.append(record);
    }
    return records;
}

QJsonObject toJsonObject(const ExchangeConfig &config, BlockSet blocks, Problems &problems)
{
    QJsonObject root;
    QJsonArray held;
    for (const Block block : AllBlocks) {
        if (blocks.contains(block))
            held.append(QLatin1String(blockInfo(block).key));
    }
    for (const std::span<const FieldRow> rows : fieldKeys()) {
        const std::optional<Block> block = rows.front().block;
        if (!block || blocks.contains(*block))
            root[QLatin1String(rows.front().key)] = writeKey(rows, config, problems);
    }
    root[BlocksKey] = held;
    return root;
}

// --- Reading ------------------------------------------------------------------------

class FormReader
{
public:
    FormReader(Problems &problems, ExchangeConfig &config)
        : problems_(problems)
        , config_(config)
    {
    }

    // The value of `ref` as its field's kind and range let it be.
    void value(const QJsonValue &value, const QString &key, const FieldRef &ref)
    {
        const FieldRow &row = fieldRow(ref.field);
        switch (row.kind) {
        case FieldKind::Integer:
            return integer(value, key, ref, row.accepted);
        case FieldKind::Flag:
            return flag(value, key, ref);
        case FieldKind::Time:
            return time(value, key, ref);
        case FieldKind::Text:
            break;
        }
        if (row.dialNumber)
            return number(value, key, ref);
        if (const std::optional<Text> bytes = text(value, key))
            setTextValue(config_, ref, *bytes);
    }

    // An array of exactly `size` elements, each handed to `element` with its own key.
    void array(const QJsonValue &value, const QString &key, std::size_t size, const char *what,
        const std::function<void(const QJsonValue &, const QString &, int)> &element)
    {
        const QJsonArray items = value.toArray();
        if (!value.isArray() || std::size_t(items.size()) != size)
            return problems_.fail(key,
                QStringLiteral("expected an array of %1 %2").arg(size).arg(QLatin1String(what)));
        for (std::size_t i = 0; i < size && !problems_.failed(); ++i)
            element(items[qsizetype(i)], elementKey(key, qsizetype(i)), int(i));
    }

    using MemberReader = std::function<void(const QJsonValue &, const QString &)>;
    struct Member
    {
        const char *name;
        MemberReader read;
        std::optional<Block> block = std::nullopt; // a key of this block
    };

    // The blocks the form holds; a key of another block is an error.
    void setBlocks(BlockSet blocks) { blocks_ = blocks; }

    // An object whose members are all known; a missing member keeps its value.
    void object(const QJsonValue &value, const QString &key, const std::vector<Member> &members)
    {
        if (!value.isObject())
            return problems_.fail(key, QStringLiteral("expected an object"));
        readMembers(value.toObject(), key, members);
    }

    void readMembers(
        const QJsonObject &object, const QString &key, const std::vector<Member> &members)
    {
        for (auto it = object.begin(); it != object.end() && !problems_.failed(); ++it) {
            const QString name = it.key();
            const auto member = std::find_if(members.begin(), members.end(),
                [&](const Member &m) { return name == QLatin1String(m.name); });
            const QString fullKey = key.isEmpty() ? name : key + '.' + name;
            if (member == members.end())
                problems_.unknownKey(fullKey);
            else if (member->block && !blocks_.contains(*member->block))
                problems_.fail(fullKey,
                    QStringLiteral("belongs to the block %1, which \"%2\" does not list")
                        .arg(QLatin1String(blockInfo(*member->block).key), BlocksKey));
            else if (member->read)
                member->read(it.value(), fullKey);
        }
    }

private:
    void integer(const QJsonValue &value, const QString &key, const FieldRef &ref,
        std::optional<IntegerRange> accepted)
    {
        const auto [lowest, highest] = integerLimits(ref.field);
        const IntegerRange range = accepted.value_or(IntegerRange {lowest, highest});
        const QString limits = QStringLiteral("%1..%2").arg(range.minimum).arg(range.maximum);
        if (!value.isDouble())
            return problems_.fail(key, "expected an integer in " + limits);
        const double number = value.toDouble();
        if (!std::isfinite(number) || std::trunc(number) != number)
            return problems_.fail(key, "expected an integer in " + limits);
        if (number < double(range.minimum) || number > double(range.maximum))
            return problems_.fail(key, QString::number(number, 'f', 0) + " is outside " + limits);
        setIntegerValue(config_, ref, qint64(number));
    }

    void flag(const QJsonValue &value, const QString &key, const FieldRef &ref)
    {
        if (!value.isBool())
            return problems_.fail(key, QStringLiteral("expected true or false"));
        setIntegerValue(config_, ref, value.toBool());
    }

    std::optional<Text> text(const QJsonValue &value, const QString &key)
    {
        if (!value.isString()) {
            problems_.fail(key, QStringLiteral("expected a text"));
            return std::nullopt;
        }
        const std::optional<std::string> bytes = toWindows1250(value.toString());
        if (!bytes)
            problems_.fail(key, QStringLiteral("holds a character Windows-1250 cannot hold"));
        return bytes;
    }

    // A time-of-day field's text as its mask lets it be: a digit or a blank, a digit, a
    // colon and two digits ("06:00", " 6:00"), or the empty field "  :  ".
    void time(const QJsonValue &value, const QString &key, const FieldRef &ref)
    {
        const QString text = value.toString();
        const auto digit = [&text](qsizetype i) { return text[i] >= '0' && text[i] <= '9'; };
        const bool valid = value.isString()
            && (text == QLatin1String(UnsetTime)
                || (text.size() == 5 && (text[0] == ' ' || digit(0)) && digit(1) && text[2] == ':'
                    && digit(3) && digit(4)));
        if (!valid)
            return problems_.fail(key,
                QStringLiteral("expected a time of day such as "
                               "\"06:00\", or \"  :  \" for none"));
        setTextValue(config_, ref, text.toStdString());
    }

    // The number of a short dial or PE record: what a dial field holds.
    void number(const QJsonValue &value, const QString &key, const FieldRef &ref)
    {
        const std::optional<Text> number = text(value, key);
        if (!number)
            return;
        if (!isDialNumber(*number))
            return problems_.fail(key, QStringLiteral("expected %1").arg(DialNumberRule));
        setTextValue(config_, ref, *number);
    }

    Problems &problems_;
    ExchangeConfig &config_;
    BlockSet blocks_ = BlockSet::all();
};

// "Blocks": distinct block names; all blocks when the key is absent.
void readBlocks(Problems &problems, const QJsonObject &root, BlockSet &blocks)
{
    if (!root.contains(BlocksKey))
        return;
    const QJsonValue value = root[BlocksKey];
    const QString expected
        = QStringLiteral("expected an array of distinct blocks: settings, services, "
                         "shortdials, pe");
    if (!value.isArray())
        return problems.fail(BlocksKey, expected);
    blocks = {};
    for (const QJsonValue &item : value.toArray()) {
        const std::optional<Block> block = blockNamed(item.toString());
        if (!item.isString() || !block || blocks.contains(*block))
            return problems.fail(BlocksKey, expected);
        blocks.insert(*block);
    }
}

using Value = const QJsonValue &;
using Key = const QString &;
using Members = std::vector<FormReader::Member>;

const char *pluralOf(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Integer:
        return "integers";
    case FieldKind::Flag:
        return "booleans";
    case FieldKind::Text:
    case FieldKind::Time:
        break;
    }
    return "texts";
}

// The mirror of writeElements.
void readElements(
    FormReader &read, Value value, Key key, const FieldRow &row, std::optional<int> record)
{
    const int count = elementCount(row, record);
    const auto refOf = [&](int e) { return elementRef(row, record, e); };
    if (count == 0)
        return read.value(value, key, refOf(0));
    read.array(value, key, std::size_t(count), pluralOf(row.kind),
        [&](Value item, Key itemKey, int e) { read.value(item, itemKey, refOf(e)); });
}

// The mirror of writeKey.
void readKey(FormReader &read, Value value, Key key, std::span<const FieldRow> rows)
{
    const FieldRow &first = rows.front();
    if (first.index == Counting::Module) {
        Members modules;
        for (int i = 0; i < first.count; ++i) {
            modules.push_back(
                {ExchangeModuleTable.at(std::size_t(i)).key, [&read, &first, i](Value v, Key k) {
                     read.value(v, k, {first.field, i});
                 }});
        }
        return read.object(value, key, modules);
    }
    if (!first.member)
        return readElements(read, value, key, first, std::nullopt);
    const auto readRecord = [&](Value item, Key itemKey, int i) {
        Members members;
        for (const FieldRow &row : rows) {
            members.push_back({row.member,
                [&read, &row, i](Value v, Key k) { readElements(read, v, k, row, i); }});
        }
        read.object(item, itemKey, members);
    };
    read.array(value, key, std::size_t(first.count), "objects", readRecord);
}

void readConfig(FormReader &read, const QJsonObject &root)
{
    Members members {{BlocksKey.data(), nullptr}}; // read before all others
    for (const std::span<const FieldRow> rows : fieldKeys()) {
        members.push_back({rows.front().key,
            [&read, rows](Value v, Key k) { readKey(read, v, k, rows); }, rows.front().block});
    }
    read.readMembers(root, {}, members);
}

} // namespace

Status configToJson(const ExchangeConfig &config, BlockSet blocks, QByteArray &json)
{
    Problems problems;
    const QJsonObject root = toJsonObject(config, blocks, problems);
    if (problems.failed())
        return problems.status();
    json = QJsonDocument(root).toJson(QJsonDocument::Indented);
    return Status::success();
}

Status configFromJson(const QByteArray &json, ExchangeConfig &config, BlockSet &blocks)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Status::failure(QStringLiteral("Invalid JSON at offset %1: %2")
                                   .arg(parseError.offset)
                                   .arg(parseError.errorString())
                                   .toStdString());
    if (!document.isObject())
        return Status::failure("Invalid JSON: the configuration must be one object");
    if (const std::optional<QString> key = firstDuplicateKey(json))
        return Status::failure(
            QStringLiteral("Key \"%1\" is given twice").arg(*key).toStdString());

    ExchangeConfig loaded = factoryConfig();
    BlockSet held = BlockSet::all();
    Problems problems;
    readBlocks(problems, document.object(), held);
    FormReader read(problems, loaded);
    read.setBlocks(held);
    readConfig(read, document.object());
    if (problems.failed())
        return problems.status();
    config = std::move(loaded);
    blocks = held;
    return Status::success();
}

} // namespace ornis
