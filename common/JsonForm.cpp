#include "JsonForm.h"

#include "BlockTable.h"
#include "JsonDuplicateKeys.h"
#include "Windows1250.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/ListTexts.h"
#include "link/DialSlots.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
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

QString memberKey(const QString &key, const char *member)
{
    return key.isEmpty() ? QString::fromLatin1(member) : key + '.' + QLatin1String(member);
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

template<typename Container> QJsonArray integerArray(const Container &values)
{
    QJsonArray array;
    for (const auto value : values)
        array.append(qint64(value));
    return array;
}

template<typename Container> QJsonArray flagArray(const Container &values)
{
    QJsonArray array;
    for (const bool value : values)
        array.append(value);
    return array;
}

template<typename Container>
QJsonArray textArray(const Container &texts, const QString &key, Problems &problems)
{
    QJsonArray array;
    for (std::size_t i = 0; i < texts.size(); ++i)
        array.append(textValue(texts[i], elementKey(key, qsizetype(i)), problems));
    return array;
}

QJsonObject servicesObject(
    const ExtensionServices &services, const QString &key, Problems &problems)
{
    QJsonObject object;
    object["BackRing"] = services.BackRing;
    object["Redirect"] = services.Redirect;
    object["RedirectWhen"] = services.RedirectWhen;
    object["RingFrom"] = flagArray(services.RingFrom);
    object["AlarmOnce"] = textValue(services.AlarmOnce, memberKey(key, "AlarmOnce"), problems);
    object["AlarmDaily"] = textValue(services.AlarmDaily, memberKey(key, "AlarmDaily"), problems);
    object["ParkTo"] = flagArray(services.ParkTo);
    return object;
}

void putExchange(const ExchangeConfig &config, QJsonObject &root)
{
    root["ExchangeType"] = config.ExchangeType;
    const ModuleFlags &modules = config.ExchangeModules;
    root["ExchangeModules"] = QJsonObject {{"MiraMKV", modules.MiraMKV},
        {"MiraMKPR", modules.MiraMKPR}, {"GSM", modules.GSM}, {"MKV", modules.MKV},
        {"MKPR", modules.MKPR}, {"MKX", modules.MKX}};
}

void putSettings(const ExchangeConfig &config, QJsonObject &root, Problems &problems)
{
    root["DayStart"] = textValue(config.DayStart, "DayStart", problems);
    root["NightStart"] = textValue(config.NightStart, "NightStart", problems);

    const GridArea &grids = config.Grids;
    root["ExtensionGrid"] = integerArray(grids.ExtensionGrid);
    root["DayRingGrid"] = integerArray(grids.DayRingGrid);
    root["NightRingGrid"] = integerArray(grids.NightRingGrid);
    root["GlobalLineGrid"] = integerArray(grids.GlobalLineGrid);
    root["GlobalExtensionGrid"] = integerArray(grids.GlobalExtensionGrid);
    root["ExtensionComments"] = textArray(config.ExtensionComments, "ExtensionComments", problems);
    root["DayRingComments"] = textArray(config.DayRingComments, "DayRingComments", problems);
    root["NightRingComments"] = textArray(config.NightRingComments, "NightRingComments", problems);
    root["G7U"] = integerArray(config.G7U);
    root["G0Days"] = flagArray(config.G0Days);
    root["FaxExtension"] = config.FaxExtension;
    root["Counters"] = integerArray(config.Counters);
}

void putServices(const ExchangeConfig &config, QJsonObject &root, Problems &problems)
{
    QJsonArray services;
    for (int e = 0; e < ExtensionCount; ++e)
        services.append(
            servicesObject(config.Services[std::size_t(e)], elementKey("Services", e), problems));
    root["Services"] = services;
    root["GeneralRing"] = flagArray(config.GeneralRing);
    root["BlockRedirect"] = config.BlockRedirect;
}

// A short-dial or PE record: its line and number, and the comment of a short dial.
template<typename Record>
QJsonObject recordObject(const Record &record, const QString &key, Problems &problems)
{
    QJsonObject object {{"Line", record.Line},
        {"Number", textValue(record.Number, memberKey(key, "Number"), problems)}};
    if constexpr (std::is_same_v<Record, ShortDialRecord>)
        object["Comment"] = textValue(record.Comment, memberKey(key, "Comment"), problems);
    return object;
}

template<typename Record, std::size_t N>
QJsonArray tableArray(const std::array<Record, N> &table, const QString &key, Problems &problems)
{
    QJsonArray array;
    for (std::size_t i = 0; i < N; ++i)
        array.append(recordObject(table[i], elementKey(key, qsizetype(i)), problems));
    return array;
}

void putShortDials(const ExchangeConfig &config, QJsonObject &root, Problems &problems)
{
    root["ShortDialTable"] = tableArray(config.ShortDialTable, "ShortDialTable", problems);
}

void putPE(const ExchangeConfig &config, QJsonObject &root, Problems &problems)
{
    root["PETable"] = tableArray(config.PETable, "PETable", problems);
}

QJsonObject toJsonObject(const ExchangeConfig &config, BlockSet blocks, Problems &problems)
{
    using Put = void (*)(const ExchangeConfig &, QJsonObject &, Problems &);
    constexpr std::array<Put, 4> puts {putSettings, putServices, putShortDials, putPE};
    QJsonObject root;
    QJsonArray held;
    for (const Block block : AllBlocks) {
        if (blocks.contains(block)) {
            held.append(QLatin1String(blockInfo(block).key));
            puts[std::size_t(block)](config, root, problems);
        }
    }
    root[BlocksKey] = held;
    putExchange(config, root);
    return root;
}

// --- Reading ------------------------------------------------------------------------

struct IntegerRange
{
    qint64 minimum;
    qint64 maximum;
};

template<typename T> constexpr IntegerRange rangeOf()
{
    return {std::numeric_limits<T>::min(), std::numeric_limits<T>::max()};
}

// What a field may hold. Integers that a settings file keeps take the whole width of
// their field, so that any file converts to JSON and back unchanged; the others take the
// values their lists have.
constexpr IntegerRange GridByte = rangeOf<uint8_t>();
constexpr IntegerRange ListIndex = rangeOf<int32_t>();
constexpr IntegerRange CounterValue = rangeOf<int16_t>();
constexpr IntegerRange ModelIndex {ModelMira, ModelVegaX};
constexpr IntegerRange BackRingItem {0, BackRingItemCount - 1};
constexpr IntegerRange RedirectItem {0, RedirectItemCount - 1};
constexpr IntegerRange ConditionItem {0, 3};

class FormReader
{
public:
    explicit FormReader(Problems &problems)
        : problems_(problems)
    {
    }

    template<typename T>
    void integer(const QJsonValue &value, const QString &key, IntegerRange range, T &target)
    {
        const QString limits = QStringLiteral("%1..%2").arg(range.minimum).arg(range.maximum);
        if (!value.isDouble())
            return problems_.fail(key, "expected an integer in " + limits);
        const double number = value.toDouble();
        if (!std::isfinite(number) || std::trunc(number) != number)
            return problems_.fail(key, "expected an integer in " + limits);
        if (number < double(range.minimum) || number > double(range.maximum))
            return problems_.fail(key, QString::number(number, 'f', 0) + " is outside " + limits);
        target = T(qint64(number));
    }

    void flag(const QJsonValue &value, const QString &key, bool &target)
    {
        if (!value.isBool())
            return problems_.fail(key, QStringLiteral("expected true or false"));
        target = value.toBool();
    }

    void text(const QJsonValue &value, const QString &key, Text &target)
    {
        if (!value.isString())
            return problems_.fail(key, QStringLiteral("expected a text"));
        const std::optional<std::string> bytes = toWindows1250(value.toString());
        if (!bytes)
            return problems_.fail(
                key, QStringLiteral("holds a character Windows-1250 cannot hold"));
        target = *bytes;
    }

    // A time-of-day field's text as its mask lets it be: a digit or a blank, a digit, a
    // colon and two digits ("06:00", " 6:00"), or the empty field "  :  ".
    void time(const QJsonValue &value, const QString &key, Text &target)
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
        target = text.toStdString();
    }

    // The number of a short dial or PE record: what a dial field holds.
    void number(const QJsonValue &value, const QString &key, Text &target)
    {
        Text number;
        text(value, key, number);
        if (problems_.failed())
            return;
        if (!numberTravels(number))
            return problems_.fail(key, QStringLiteral("expected %1").arg(NumberRule));
        target = std::move(number);
    }

    // An array of exactly `size` elements, each handed to `element` with its own key.
    void array(const QJsonValue &value, const QString &key, std::size_t size, const char *what,
        const std::function<void(const QJsonValue &, const QString &, std::size_t)> &element)
    {
        const QJsonArray items = value.toArray();
        if (!value.isArray() || std::size_t(items.size()) != size)
            return problems_.fail(key,
                QStringLiteral("expected an array of %1 %2").arg(size).arg(QLatin1String(what)));
        for (std::size_t i = 0; i < size && !problems_.failed(); ++i)
            element(items[qsizetype(i)], elementKey(key, qsizetype(i)), i);
    }

    template<typename T, std::size_t N>
    void integers(
        const QJsonValue &value, const QString &key, IntegerRange range, std::array<T, N> &target)
    {
        array(value, key, N, "integers",
            [&](const QJsonValue &item, const QString &itemKey, std::size_t i) {
                integer(item, itemKey, range, target[i]);
            });
    }

    template<std::size_t N>
    void flags(const QJsonValue &value, const QString &key, std::array<bool, N> &target)
    {
        array(value, key, N, "booleans",
            [&](const QJsonValue &item, const QString &itemKey, std::size_t i) {
                flag(item, itemKey, target[i]);
            });
    }

    template<std::size_t N>
    void texts(const QJsonValue &value, const QString &key, std::array<Text, N> &target)
    {
        array(value, key, N, "texts",
            [&](const QJsonValue &item, const QString &itemKey, std::size_t i) {
                text(item, itemKey, target[i]);
            });
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
    Problems &problems_;
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

void readServices(
    FormReader &read, const QJsonValue &value, const QString &key, ExtensionServices &s)
{
    using Value = const QJsonValue &;
    using Key = const QString &;
    read.object(value, key,
        {{"BackRing", [&](Value v, Key k) { read.integer(v, k, BackRingItem, s.BackRing); }},
            {"Redirect", [&](Value v, Key k) { read.integer(v, k, RedirectItem, s.Redirect); }},
            {"RedirectWhen",
                [&](Value v, Key k) { read.integer(v, k, ConditionItem, s.RedirectWhen); }},
            {"RingFrom", [&](Value v, Key k) { read.flags(v, k, s.RingFrom); }},
            {"AlarmOnce", [&](Value v, Key k) { read.time(v, k, s.AlarmOnce); }},
            {"AlarmDaily", [&](Value v, Key k) { read.time(v, k, s.AlarmDaily); }},
            {"ParkTo", [&](Value v, Key k) { read.flags(v, k, s.ParkTo); }}});
}

using Value = const QJsonValue &;
using Key = const QString &;
using Index = std::size_t;
using Members = std::vector<FormReader::Member>;

Members exchangeMembers(FormReader &read, ExchangeConfig &config)
{
    ModuleFlags &modules = config.ExchangeModules;
    const auto moduleFlag = [&read](const char *name, bool &flag) {
        const auto readFlag = [&read, &flag](Value v, Key k) { read.flag(v, k, flag); };
        return FormReader::Member {name, readFlag};
    };
    return {{"ExchangeType",
                [&](Value v, Key k) { read.integer(v, k, ModelIndex, config.ExchangeType); }},
        {"ExchangeModules", [&read, moduleFlag, &modules](Value v, Key k) {
             read.object(v, k,
                 {moduleFlag("MiraMKV", modules.MiraMKV), moduleFlag("MiraMKPR", modules.MiraMKPR),
                     moduleFlag("GSM", modules.GSM), moduleFlag("MKV", modules.MKV),
                     moduleFlag("MKPR", modules.MKPR), moduleFlag("MKX", modules.MKX)});
         }}};
}

Members settingsMembers(FormReader &read, ExchangeConfig &config)
{
    GridArea &grids = config.Grids;
    return {{"DayStart", [&](Value v, Key k) { read.time(v, k, config.DayStart); }},
        {"NightStart", [&](Value v, Key k) { read.time(v, k, config.NightStart); }},
        {"ExtensionGrid",
            [&](Value v, Key k) { read.integers(v, k, GridByte, grids.ExtensionGrid); }},
        {"DayRingGrid", [&](Value v, Key k) { read.integers(v, k, GridByte, grids.DayRingGrid); }},
        {"NightRingGrid",
            [&](Value v, Key k) { read.integers(v, k, GridByte, grids.NightRingGrid); }},
        {"GlobalLineGrid",
            [&](Value v, Key k) { read.integers(v, k, GridByte, grids.GlobalLineGrid); }},
        {"GlobalExtensionGrid",
            [&](Value v, Key k) { read.integers(v, k, GridByte, grids.GlobalExtensionGrid); }},
        {"ExtensionComments", [&](Value v, Key k) { read.texts(v, k, config.ExtensionComments); }},
        {"DayRingComments", [&](Value v, Key k) { read.texts(v, k, config.DayRingComments); }},
        {"NightRingComments", [&](Value v, Key k) { read.texts(v, k, config.NightRingComments); }},
        {"G7U", [&](Value v, Key k) { read.integers(v, k, ListIndex, config.G7U); }},
        {"G0Days", [&](Value v, Key k) { read.flags(v, k, config.G0Days); }},
        {"FaxExtension",
            [&](Value v, Key k) { read.integer(v, k, ListIndex, config.FaxExtension); }},
        {"Counters", [&](Value v, Key k) { read.integers(v, k, CounterValue, config.Counters); }}};
}

Members servicesMembers(FormReader &read, ExchangeConfig &config)
{
    return {{"Services",
                [&](Value v, Key k) {
                    read.array(v, k, ExtensionCount, "objects", [&](Value item, Key key, Index e) {
                        readServices(read, item, key, config.Services[e]);
                    });
                }},
        {"GeneralRing", [&](Value v, Key k) { read.flags(v, k, config.GeneralRing); }},
        {"BlockRedirect", [&](Value v, Key k) { read.flag(v, k, config.BlockRedirect); }}};
}

// A short-dial or PE record: its line and number, and the comment of a short dial.
template<typename Record> void readRecord(FormReader &read, Value value, Key key, Record &record)
{
    Members members {{"Line", [&](Value v, Key k) { read.integer(v, k, ListIndex, record.Line); }},
        {"Number", [&](Value v, Key k) { read.number(v, k, record.Number); }}};
    if constexpr (std::is_same_v<Record, ShortDialRecord>)
        members.push_back({"Comment", [&](Value v, Key k) { read.text(v, k, record.Comment); }});
    read.object(value, key, members);
}

template<typename Record, std::size_t N>
FormReader::Member tableMember(FormReader &read, const char *name, std::array<Record, N> &table)
{
    return {name, [&read, &table](Value v, Key k) {
                read.array(v, k, N, "objects",
                    [&](Value item, Key key, Index i) { readRecord(read, item, key, table[i]); });
            }};
}

void readConfig(FormReader &read, const QJsonObject &root, ExchangeConfig &config)
{
    using Reader = Members (*)(FormReader &, ExchangeConfig &);
    const std::array<std::pair<Block, Reader>, 2> blockMembers {{
        {Block::Settings, settingsMembers},
        {Block::Services, servicesMembers},
    }};
    Members members = exchangeMembers(read, config);
    members.push_back({BlocksKey.data(), nullptr}); // read before all others
    for (const auto &[block, membersOf] : blockMembers) {
        for (FormReader::Member &member : membersOf(read, config)) {
            member.block = block;
            members.push_back(std::move(member));
        }
    }
    members.push_back(tableMember(read, "ShortDialTable", config.ShortDialTable));
    members.back().block = Block::ShortDials;
    members.push_back(tableMember(read, "PETable", config.PETable));
    members.back().block = Block::PE;
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
    FormReader read(problems);
    read.setBlocks(held);
    readConfig(read, document.object(), loaded);
    if (problems.failed())
        return problems.status();
    config = std::move(loaded);
    blocks = held;
    return Status::success();
}

} // namespace ornis
