#include "SettingsFile.h"

#include "ExchangeConfig.h"
#include "FileBytes.h"
#include "FileHeader.h"
#include "TimeOfDay.h"
#include "ValueReader.h"
#include "ValueWriter.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ornis {

namespace {

constexpr int64_t MillisecondsPerDay = 24 * 60 * 60 * 1000;

// The text of a field for a message: the field holds digits, blanks and a colon, but any
// byte beyond ASCII would not be UTF-8.
std::string printable(std::string_view text)
{
    std::string result(text);
    for (char &c : result) {
        if (static_cast<unsigned char>(c) >= 0x80)
            c = '?';
    }
    return result;
}

Status encodeTime(ValueWriter &writer, const Text &field)
{
    const std::optional<TimeOfDay> time = parseTimeOfDay(field);
    if (!time)
        return Status::failure("'" + printable(field) + "' is not a valid date and time");
    const int64_t milliseconds = (time->hour * 60 + time->minute) * int64_t(60000);
    writer.writeTime(double(milliseconds) / double(MillisecondsPerDay)); // 06:00 is 0.25
    return Status::success();
}

// "hh:mm" of a date and time in days: rounded to the millisecond, the date and the
// seconds dropped; before the epoch the fraction counts forward from midnight all the
// same (-1.25 is 06:00), and what rounds up to the day's end is 00:00.
Text timeFieldText(double days)
{
    const double rounded = std::nearbyint(days * double(MillisecondsPerDay));
    const int64_t milliseconds = std::abs(int64_t(rounded)) % MillisecondsPerDay;
    const int minutes = int(milliseconds / 60000);
    return formatTimeOfDay(minutes / 60, minutes % 60);
}

template<std::size_t N> void writeTexts(ValueWriter &writer, const std::array<Text, N> &texts)
{
    for (const Text &text : texts)
        writer.writeText(text);
}

// Reads items until the first failure and keeps that; the reads after it do nothing.
class ItemReader
{
public:
    explicit ItemReader(std::span<const uint8_t> bytes)
        : reader_(bytes)
    {
    }

    [[nodiscard]] ReadResult result() const { return result_; }

    void skip(std::size_t size)
    {
        run([&] { return reader_.skip(size); });
    }
    void raw(std::span<uint8_t> block)
    {
        run([&] { return reader_.readRaw(block); });
    }
    void text(Text &text)
    {
        run([&] { return reader_.readText(text); });
    }
    template<std::size_t N> void texts(std::array<Text, N> &texts)
    {
        for (Text &text : texts)
            this->text(text);
    }
    void flag(bool &flag)
    {
        run([&] { return reader_.readFlag(flag); });
    }
    void integer(int32_t &value)
    {
        run([&] { return reader_.readInteger(value); });
    }
    // The counters are 16-bit integers in the model: a wider value cannot be one.
    void integer(int16_t &value)
    {
        run([&] {
            int32_t wide = 0;
            const ReadResult result = reader_.readInteger(wide);
            if (result != ReadResult::Ok)
                return result;
            if (wide < std::numeric_limits<int16_t>::min()
                || wide > std::numeric_limits<int16_t>::max())
                return ReadResult::InvalidValue;
            value = int16_t(wide);
            return ReadResult::Ok;
        });
    }
    void time(Text &field)
    {
        run([&] {
            double days = 0;
            const ReadResult result = reader_.readTime(days);
            if (result == ReadResult::Ok)
                field = timeFieldText(days);
            return result;
        });
    }

private:
    template<typename Read> void run(Read read)
    {
        if (result_ == ReadResult::Ok)
            result_ = read();
    }

    ValueReader reader_;
    ReadResult result_ = ReadResult::Ok;
};

} // namespace

Status encodeSettingsFile(const ExchangeConfig &config, std::vector<uint8_t> &bytes)
{
    std::vector<uint8_t> file;
    ValueWriter writer(file);
    writer.writeRaw(makeFileHeader(SettingsFileMagic));
    if (Status status = encodeTime(writer, config.DayStart); !status.ok())
        return status;
    if (Status status = encodeTime(writer, config.NightStart); !status.ok())
        return status;

    const GridArea &grids = config.Grids;
    writer.writeRaw(grids.ExtensionGrid);
    writeTexts(writer, config.ExtensionComments);
    writer.writeRaw(grids.DayRingGrid);
    writeTexts(writer, config.DayRingComments);
    writer.writeRaw(grids.NightRingGrid);
    writeTexts(writer, config.NightRingComments);
    writer.writeRaw(grids.GlobalLineGrid);
    writer.writeRaw(grids.GlobalExtensionGrid);
    for (int32_t choice : config.G7U)
        writer.writeInteger(choice);
    for (bool day : config.G0Days)
        writer.writeFlag(day);
    writer.writeInteger(config.FaxExtension);
    for (int16_t counter : config.Counters)
        writer.writeInteger(counter);

    for (const ShortDialRecord &record : config.ShortDialTable) {
        writer.writeInteger(record.Line);
        writer.writeText(record.Number);
        writer.writeText(record.Comment);
    }
    for (const PERecord &record : config.PETable) {
        writer.writeInteger(record.Line);
        writer.writeText(record.Number);
    }
    bytes = std::move(file);
    return Status::success();
}

Status decodeSettingsFile(std::span<const uint8_t> bytes, ExchangeConfig &config)
{
    // Everything goes into a copy first, so a damaged file changes nothing.
    ExchangeConfig loaded = config;
    ItemReader read(bytes);
    read.skip(FileHeaderSize); // neither the magic nor the version is looked at
    read.time(loaded.DayStart);
    read.time(loaded.NightStart);

    GridArea &grids = loaded.Grids;
    read.raw(grids.ExtensionGrid);
    read.texts(loaded.ExtensionComments);
    read.raw(grids.DayRingGrid);
    read.texts(loaded.DayRingComments);
    read.raw(grids.NightRingGrid);
    read.texts(loaded.NightRingComments);
    read.raw(grids.GlobalLineGrid);
    read.raw(grids.GlobalExtensionGrid);
    for (int32_t &choice : loaded.G7U)
        read.integer(choice);
    for (bool &day : loaded.G0Days)
        read.flag(day);
    read.integer(loaded.FaxExtension);
    for (int16_t &counter : loaded.Counters)
        read.integer(counter);

    for (ShortDialRecord &record : loaded.ShortDialTable) {
        read.integer(record.Line);
        read.text(record.Number);
        read.text(record.Comment);
    }
    for (PERecord &record : loaded.PETable) {
        read.integer(record.Line);
        read.text(record.Number);
    }
    // Bytes after the last PE record are ignored.

    if (read.result() != ReadResult::Ok)
        return statusOf(read.result());
    config = std::move(loaded);
    return Status::success();
}

Status SaveSettingsFile(const std::filesystem::path &path, const ExchangeConfig &config)
{
    std::vector<uint8_t> bytes;
    if (Status status = encodeSettingsFile(config, bytes); !status.ok())
        return status;
    return writeFileAtomically(path, bytes);
}

Status LoadSettingsFile(const std::filesystem::path &path, ExchangeConfig &config)
{
    std::vector<uint8_t> bytes;
    if (Status status = readFileBytes(path, bytes); !status.ok())
        return status;
    return decodeSettingsFile(bytes, config);
}

} // namespace ornis
