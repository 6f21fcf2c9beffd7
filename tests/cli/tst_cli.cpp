#include "Version.h"
#include "common/BlockNames.h"
#include "common/JsonForm.h"
#include "config/ConfigFields.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/Numbering.h"
#include "link/DialSlots.h"
#include "link/WriteRoundTrip.h"
#include "tests/common/FileBytes.h"
#include "tests/common/SampleConfig.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>

// ornisset-cli as a script uses it, against the virtual exchange on a pseudo-terminal.

using namespace ornis;

namespace {

constexpr int ProcessWaitMs = 120'000; // generous: a whole write takes thousands of answers

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    qint64 elapsedMs = 0;
};

// `prepare` may redirect the process's output or run it through another program; `input`
// goes to its stdin.
CliRun runCli(const QStringList &arguments, const std::function<void(QProcess &)> &prepare = {},
    const QByteArray &input = {})
{
    QProcess process;
    process.setProgram(QStringLiteral(ORNISSET_CLI));
    process.setArguments(arguments);
    if (prepare)
        prepare(process);
    QElapsedTimer clock;
    clock.start();
    process.start();
    if (!input.isEmpty()) {
        process.write(input);
        process.closeWriteChannel();
    }
    CliRun run;
    if (!process.waitForFinished(ProcessWaitMs)) {
        process.kill();
        process.waitForFinished();
        run.err = "ornisset-cli did not finish";
        return run;
    }
    run.elapsedMs = clock.elapsed();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// The virtual exchange on a pseudo-terminal, for as long as the object lives.
class SimulatedExchange
{
public:
    explicit SimulatedExchange(const QStringList &options = {})
    {
        process_.start(QStringLiteral(ORNISSET_SIM), options);
        QElapsedTimer clock;
        clock.start();
        while (!process_.canReadLine() && clock.elapsed() < 10'000
            && process_.state() != QProcess::NotRunning)
            process_.waitForReadyRead(100);
        path_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~SimulatedExchange() { stop(); }
    // Ends the exchange; with --save, its memory is in the image then.
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    [[nodiscard]] const QString &path() const { return path_; }
    // What it said on stderr; protocol violations among it.
    [[nodiscard]] QByteArray errors() { return process_.readAllStandardError(); }

private:
    QProcess process_;
    QString path_;
};

// Values of every field that travels, none of them the factory's. Comments never travel;
// row GE and the PE table travel only for MIRA.
ExchangeConfig travellingConfig(int32_t model)
{
    ExchangeConfig c = factoryConfig();
    c.ExchangeType = model;
    c.DayStart = "07:15";
    c.NightStart = "19:45";
    auto &extensions = c.Grids.ExtensionGrid;
    for (int r = 1; r <= 16; ++r) {
        for (int col = 1; col <= 8; ++col)
            extensions[ExtensionGridShape.cellIndex(col, r)] = uint8_t((r + col) % 2);
        extensions[ExtensionGridShape.cellIndex(9, r)] = uint8_t(r % 4);
        extensions[ExtensionGridShape.cellIndex(10, r)] = uint8_t(r % 2);
        extensions[ExtensionGridShape.cellIndex(11, r)] = uint8_t(r / 2 % 2);
        extensions[ExtensionGridShape.cellIndex(12, r)] = uint8_t(r / 3 % 2);
    }
    extensions[ExtensionGridShape.cellIndex(6, 17)] = 1; // row "00", columns 5..11 travel
    extensions[ExtensionGridShape.cellIndex(9, 17)] = 2;
    for (std::size_t i = 0; i < c.Grids.DayRingGrid.size(); ++i) {
        c.Grids.DayRingGrid[i] = uint8_t(i % 3 == 0);
        c.Grids.NightRingGrid[i] = uint8_t(i % 5 == 1);
    }
    c.Grids.GlobalLineGrid = {0, 2, 1, 2, 1, 0, 0, 1, 0, 1, 1, 0, 3, 2, 1, 0};
    auto &global = c.Grids.GlobalExtensionGrid;
    for (int e = 0; e < ExtensionCount; ++e) {
        for (int row : {1, 2, 5, 6})
            global[GlobalExtensionGridShape.cellIndex(e + 1, row)] = uint8_t((e + row) % 2);
        global[GlobalExtensionGridShape.cellIndex(e + 1, 3)] = uint8_t((e * 3) % 11);
        global[GlobalExtensionGridShape.cellIndex(e + 1, 4)] = uint8_t((e * 7) % 11);
        if (model == ModelMira)
            global[GlobalExtensionGridShape.cellIndex(e + 1, 7)] = uint8_t(e % 3 == 0);
    }
    c.G7U = {9, -1, 0, 4};
    c.G0Days = {false, true, true, false, true, false, false};
    c.FaxExtension = 16;
    c.Counters = {25, 1, 99, 7, 42, 50, 1, 10, 3};
    for (int e = 0; e < ExtensionCount; ++e) {
        ExtensionServices &s = c.Services[std::size_t(e)];
        s.BackRing = 15 - e;
        s.Redirect = e;
        s.RedirectWhen = e % 4;
        s.RingFrom = {e % 2 == 0, e % 3 == 0, true, e == 15};
        s.AlarmOnce = e % 2 ? "23:59" : "  :  ";
        s.AlarmDaily = e == 4 ? "06:05" : "  :  ";
        if (e < ParkingPositionCount)
            s.ParkTo[std::size_t(5 - e)] = true;
    }
    c.GeneralRing = {true, false, false, true};
    c.BlockRedirect = true;
    c.ShortDialTable[0] = {2, "0P123", ""};
    c.ShortDialTable[9] = {5, "12345678901234", ""};
    c.ShortDialTable[89] = {1, "9", ""};
    if (model == ModelMira) {
        c.PETable[0] = {6, "P"};
        c.PETable[99] = {3, "602123456"};
    }
    return c;
}

QByteArray jsonOf(const ExchangeConfig &config)
{
    QByteArray json;
    return configToJson(config, blocksOfModel(config.ExchangeType), json).ok() ? json
                                                                               : QByteArray();
}

bool writeJson(const QString &path, const ExchangeConfig &config, BlockSet blocks)
{
    QByteArray json;
    return configToJson(config, blocks, json).ok() && writeFile(path, json);
}

// The addresses at which two memory images differ.
QList<int> differingAddresses(const QByteArray &a, const QByteArray &b)
{
    QList<int> addresses;
    for (int i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i])
            addresses.append(i);
    }
    return addresses;
}

using Change = std::function<void(ExchangeConfig &)>;

// The bytes of a line trace in order, each with its direction: "T53", "R53"...
QStringList tracedBytes(const QByteArray &trace)
{
    QStringList bytes;
    for (const QByteArray &line : trace.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() >= 3 && (words[1] == "TX" || words[1] == "RX"))
            bytes << QString::fromLatin1(words[1].left(1) + words[2]);
    }
    return bytes;
}

// Each byte sent waited for the answer to the one before, and the last were 'E' and 'X'.
bool lockStepToTheClose(const QStringList &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i].front() != (i % 2 == 0 ? 'T' : 'R'))
            return false;
    }
    return bytes.size() >= 4
        && bytes.mid(bytes.size() - 4) == QStringList {"T45", "R45", "T58", "R58"};
}

// Runs the tool in a mount namespace of its own where the folder `dir` is a file system
// that is full; false when this system cannot make one.
bool onAFullFileSystem(QProcess &process, const QString &dir)
{
    if (QProcess::execute(QStringLiteral("unshare"), {"-rm", "true"}) != 0)
        return false;
    const QString script = QStringLiteral(
        "mount -t tmpfs -o size=16k none '%1' && cat /dev/zero > '%1/fill' 2>/dev/null; "
        "exec \"$@\"")
                               .arg(dir);
    process.setArguments(
        QStringList {"-rm", "sh", "-c", script, "sh", process.program()} + process.arguments());
    process.setProgram(QStringLiteral("unshare"));
    return true;
}

// The report's date line depends on the clock: everything before " D = " is masked.
QString maskedReport(const QByteArray &utf8)
{
    QStringList lines = QString::fromUtf8(utf8).split('\n');
    if (lines.size() > 1)
        lines[1] = "<date>" + lines[1].mid(lines[1].indexOf("    D = "));
    return lines.join('\n');
}

} // namespace

Q_DECLARE_METATYPE(Change)

class CliTest : public QObject
{
    Q_OBJECT

private slots:
    // An exchange that holds every value away from its factory value, for the tests that
    // only read.
    void initTestCase()
    {
        QVERIFY(writeJson(
            written_.filePath("written.json"), testing::awayFromFactory(), BlockSet::all()));
        QVERIFY(!writtenExchange_.path().isEmpty());
        QCOMPARE(runCli({"write", "--port", writtenExchange_.path(), "--json",
                            written_.filePath("written.json")})
                     .exitCode,
            0);
    }

    void writeAllThenReadAllGivesBackWhatTravels_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("blocks");
        QTest::newRow("MIRA") << "MIRA" << int(ModelMira) << 5; // with PE
        QTest::newRow("VEGA") << "VEGA" << int(ModelVega) << 4;
        QTest::newRow("VEGA X") << "VEGA-X" << int(ModelVegaX) << 4;
    }
    void writeAllThenReadAllGivesBackWhatTravels()
    {
        QFETCH(QString, model);
        QFETCH(int, index);
        QFETCH(int, blocks);
        QTemporaryDir dir;
        const QString written = dir.filePath("written.json");
        const QString read = dir.filePath("read.json");
        QVERIFY(writeFile(written, jsonOf(travellingConfig(index))));
        SimulatedExchange exchange;
        QVERIFY(!exchange.path().isEmpty());

        const CliRun write
            = runCli({"write", "--port", exchange.path(), "--model", model, "--json", written});
        QVERIFY2(write.exitCode == 0, write.err);
        // Not a terminal: one line a block, each at 100 percent.
        QCOMPARE(write.err.count('\n'), blocks);
        QCOMPARE(write.err.count("100%"), blocks);

        const CliRun readBack
            = runCli({"read", "--port", exchange.path(), "--model", model, "--json", read});
        QVERIFY2(readBack.exitCode == 0, readBack.err);
        QCOMPARE(
            QJsonDocument::fromJson(readFile(read)), QJsonDocument::fromJson(readFile(written)));
    }

    // A backup of one block, restored without --block, writes that block only: of the whole
    // memory only the edited cell changes.
    void oneBlockBackupRestoresItsBlockOnly()
    {
        QTemporaryDir dir;
        const QString before = dir.filePath("before.img");
        const QString after = dir.filePath("after.img");
        const QString all = dir.filePath("all.json");
        const QString services = dir.filePath("services.json");
        QVERIFY(writeJson(all, testing::awayFromFactory(), BlockSet::all()));
        SimulatedExchange first({"--save", before});
        QCOMPARE(runCli({"write", "--port", first.path(), "--json", all}).exitCode, 0);
        first.stop();

        SimulatedExchange second({"--load", before, "--save", after});
        const CliRun read
            = runCli({"read", "--port", second.path(), "--block", "services", "--json", services});
        QCOMPARE(read.exitCode, 0);
        ExchangeConfig backup;
        BlockSet held;
        QVERIFY(configFromJson(readFile(services), backup, held).ok());
        QVERIFY(held == BlockSet {Block::Services});
        backup.Services[2].Redirect = 9; // extension 23, cell 0x052
        QVERIFY(writeJson(services, backup, held));
        const CliRun write = runCli({"write", "--port", second.path(), "--json", services});
        QVERIFY2(write.exitCode == 0, write.err);
        QCOMPARE(write.err.count("100%"), 1);
        second.stop();
        QCOMPARE(differingAddresses(readFile(before), readFile(after)), QList<int> {0x052});
    }

    // verify compares the exchange with a file, diff two files: the same items, the same
    // exit status.
    void verifyAndDiffListWhatDiffers_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("item"); // the one line listed; empty: none
        QTest::newRow("identical") << Change([](ExchangeConfig &) {}) << "";
        QTest::newRow("settings") << Change([](ExchangeConfig &c) { c.Counters[1] = 15; })
                                  << "Nastavení\tGG, C1\t15\t3";
        QTest::newRow("services") << Change([](ExchangeConfig &c) { c.GeneralRing[1] = true; })
                                  << "Služby\tGenerální vyzvánění 92\tano\tne";
        QTest::newRow("short dials")
            << Change([](ExchangeConfig &c) { c.ShortDialTable[89].Number = "1"; })
            << "Zkrácené volby\tZkrácená volba 899, číslo\t1\t99";
        QTest::newRow("PE") << Change([](ExchangeConfig &c) { c.PETable[0].Line = 0; })
                            << "PE\tPE 00, státní\tvyp\t0";
    }
    void verifyAndDiffListWhatDiffers()
    {
        QFETCH(Change, change);
        QFETCH(QString, item);
        QTemporaryDir dir;
        const QString changed = dir.filePath("changed.json");
        ExchangeConfig config = testing::awayFromFactory();
        change(config);
        QVERIFY(writeJson(changed, config, BlockSet::all()));

        const int status = item.isEmpty() ? 0 : 3;
        const CliRun verify
            = runCli({"verify", "--port", writtenExchange_.path(), "--json", changed});
        const CliRun diff = runCli({"diff", changed, written_.filePath("written.json")});
        for (const CliRun &run : {verify, diff}) {
            QCOMPARE(run.exitCode, status);
            const QStringList lines = QString::fromUtf8(run.out).trimmed().split('\n');
            QCOMPARE(lines.size(), item.isEmpty() ? 1 : 2); // a heading and the item
            if (!item.isEmpty())
                QCOMPARE(lines[1], item);
        }
    }

    // A value the exchange would store differently is refused before the first byte, naming
    // the key; --force sends it with a warning. A time that is no time is sent as always,
    // with a warning.
    void valuesChangedOnTheirWay_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("refused");
        QTest::newRow("counter") << Change([](ExchangeConfig &c) { c.Counters[0] = 1000; })
                                 << "settings"
                                 << "Counters[0]: 1000 cannot be stored (1..25)" << true;
        QTest::newRow("PE line") << Change([](ExchangeConfig &c) {
            c.PETable[0].Line = 2147483647;
        }) << "pe"
                                 << "PETable[0].Line: 2147483647 cannot be stored (0..15)" << true;
        QTest::newRow("wake-up 99:99")
            << Change([](ExchangeConfig &c) { c.Services[0].AlarmOnce = "99:99"; }) << "services"
            << "Services[0].AlarmOnce: \"99:99\" is no time of day" << false;
    }
    void valuesChangedOnTheirWay()
    {
        QFETCH(Change, change);
        QFETCH(QString, block);
        QFETCH(QString, message);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        ExchangeConfig config = factoryConfig();
        change(config);
        const QString file = dir.filePath("in.json");
        QVERIFY(writeJson(file, config, {*blockNamed(block)}));
        const QByteArray untouched(4096, '\0'); // a blank virtual exchange starts so
        for (const bool force : {false, true}) {
            const QString image = dir.filePath(force ? "forced.img" : "plain.img");
            SimulatedExchange exchange({"--blank", "--save", image});
            QStringList arguments {"write", "--port", exchange.path(), "--json", file};
            if (force)
                arguments.append("--force");
            const CliRun run = runCli(arguments);
            exchange.stop();
            const bool sent = force || !refused;
            QCOMPARE(run.exitCode, sent ? 0 : 2);
            QVERIFY2(run.err.contains(message.toUtf8()), run.err);
            QCOMPARE(run.err.contains("sent anyway"), refused && force);
            QCOMPARE(readFile(image) == untouched, !sent);
        }
    }

    // write --verify reads back what it wrote. Values a write sends differently, with a
    // warning (a day start "24:00", a wake-up "99:99", a dial with no line), count as what
    // they become, for verify and diff alike; a byte garbled on the line is listed.
    void writeThenVerify_data()
    {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("listed"); // part of the line listed; empty: none
        QTest::newRow("sent differently") << QStringList {} << Change([](ExchangeConfig &c) {
            c.DayStart = "24:00";
            c.Services[0].AlarmOnce = "99:99";
            c.ShortDialTable[0].Line = -1;
        }) << 0 << "";
        // The line byte of short-dial slot 2: line 1 instead of 0.
        QTest::newRow("garbled byte")
            << QStringList {"--noise", "0x210=0"} << Change([](ExchangeConfig &) {}) << 3
            << "Zkrácené volby\tZkrácená volba";
    }
    void writeThenVerify()
    {
        QFETCH(QStringList, simOptions);
        QFETCH(Change, change);
        QFETCH(int, status);
        QFETCH(QString, listed);
        QTemporaryDir dir;
        ExchangeConfig config = factoryConfig();
        change(config);
        const QString file = dir.filePath("in.json");
        QVERIFY(writeJson(file, config, BlockSet::all()));
        QVERIFY(writeJson(dir.filePath("sent.json"), asSentToExchange(config, BlockSet::all()),
            BlockSet::all()));
        SimulatedExchange exchange(
            simOptions + QStringList {"--blank", "--save", dir.filePath("exchange.img")});

        const CliRun write
            = runCli({"write", "--port", exchange.path(), "--json", file, "--verify"});
        QCOMPARE(write.exitCode, status);
        QCOMPARE(write.out.contains(listed.toUtf8()), true);
        const CliRun verify = runCli({"verify", "--port", exchange.path(), "--json", file});
        QCOMPARE(verify.exitCode, status);
        QCOMPARE(runCli({"diff", file, dir.filePath("sent.json")}).exitCode, 0);
        if (config.ShortDialTable[0].Line != -1)
            return;
        QVERIFY2(write.err.contains("ShortDialTable[0].Line: -1 (no line chosen) is sent as the "
                                    "line byte 0xFE, which reads back as 15"),
            write.err);
        exchange.stop();
        const int address = 0x200 + shortDialSlotOfRecord(0) * SlotSize;
        QCOMPARE(uint8_t(readFile(dir.filePath("exchange.img")).at(address)), uint8_t(0xFE));
    }

    // A memory never written: the times read as 00:00 with a warning, and the backup is
    // restored and read back unchanged.
    void neverWrittenExchangeBacksUpAndRestores()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath("blank.img");
        QVERIFY(writeFile(image, QByteArray(4096, '\xFF')));
        SimulatedExchange exchange({"--load", image});
        const QString backup = dir.filePath("backup.json");
        const CliRun read = runCli({"read", "--port", exchange.path(), "--json", backup});
        QCOMPARE(read.exitCode, 0);
        QVERIFY2(read.err.contains("DayStart: the exchange holds the bytes FF FF"), read.err);
        const CliRun write = runCli({"write", "--port", exchange.path(), "--json", backup});
        QVERIFY2(write.exitCode == 0, write.err);
        const CliRun verify = runCli({"verify", "--port", exchange.path(), "--json", backup});
        QCOMPARE(verify.exitCode, 0);
    }

    // One output refused after the transfer: the other is written all the same.
    void unsavableOutputLeavesTheOtherWritten()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath("late.img");
        QByteArray memory(4096, '\0');
        memory[0x0D8] = 0x25; // day start 25:00: the field shows it, a settings file cannot
        QVERIFY(writeFile(image, memory));
        SimulatedExchange exchange({"--load", image});
        const QString json = dir.filePath("out.json");
        const QString set = dir.filePath("out.set");
        const CliRun run = runCli({"read", "--port", exchange.path(), "--block", "settings",
            "--json", json, "--set", set});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("out.set was not written: DayStart: '25:00' is not a valid"),
            run.err);
        QVERIFY(QFile::exists(json) && !QFile::exists(set));
    }

    // A settings file holds no services: its write leaves those of the exchange alone.
    void settingsFileWritesWhatItHolds()
    {
        SimulatedExchange exchange;
        // The sample holds values beyond what the exchange holds (G7 57, C3 200), and a
        // dial with no line (-1), which goes out as always, with a warning.
        const CliRun run = runCli({"write", "--port", exchange.path(), "--set",
            ORNIS_TEST_DATA "/cli/sample.set", "--force"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err.count("sent anyway"), 2);
        QCOMPARE(run.err.count("is sent as the line byte 0xFE"), 1);
        QCOMPARE(run.err.count("100%"), 4); // settings, day/night times, short dials, PE
        QVERIFY2(run.err.contains("Writing day/night times"), run.err);
        QVERIFY2(!run.err.contains("services"), run.err);
    }

    void servicesWriteWarnsAboutCallBacksToLines()
    {
        ExchangeConfig config = factoryConfig();
        config.Services[0].BackRing = 16; // line 91
        QTemporaryDir dir;
        const QString file = dir.filePath("services.json");
        QVERIFY(writeFile(file, jsonOf(config)));
        SimulatedExchange exchange;
        const CliRun run
            = runCli({"write", "--port", exchange.path(), "--block", "services", "--json", file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains("extension 21 is line 91"), run.err);
        QCOMPARE(run.err.count("100%"), 1);
    }

    void transferFailures_data()
    {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("minimumMs");
        QTest::addColumn<bool>("write");
        // 300 ms is five 55 ms ticks.
        QTest::newRow("silent exchange")
            << QStringList {"--silent-after", "0"} << "Timeout on " << 250 << false;
        QTest::newRow("exchange gone")
            << QStringList {"--disappear-after", "40"} << "" << 0 << false;
        // The settings take 215 bytes, the day/night times 15.
        QTest::newRow("exchange gone in a write")
            << QStringList {"--disappear-after", "300"}
            << "The exchange may now hold a partly written configuration. Written whole: "
               "settings, day/night times. Stopped in: services."
            << 0 << true;
    }
    void transferFailures()
    {
        QFETCH(QStringList, simOptions);
        QFETCH(QString, message);
        QFETCH(int, minimumMs);
        QFETCH(bool, write);
        SimulatedExchange exchange(simOptions);
        QVERIFY(!exchange.path().isEmpty());
        QStringList arguments {"--port", exchange.path(), "--timeout", "300"};
        arguments.prepend(write ? "write" : "read");
        if (write)
            arguments << "--json" << written_.filePath("written.json");
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(
            run.elapsedMs >= minimumMs && run.elapsedMs < 5000, QByteArray::number(run.elapsedMs));
    }

    void signalStopsTheTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("signal");
        for (const bool write : {true, false}) {
            const char *command = write ? "write" : "read";
            QTest::addRow("%s, SIGINT", command) << write << SIGINT;
            QTest::addRow("%s, SIGTERM", command) << write << SIGTERM;
            QTest::addRow("%s, SIGHUP", command) << write << SIGHUP;
        }
    }
    // A signal mid-block: the stop sequence closes the block in lock step with 'E' and 'X',
    // the exchange holds nothing the write did not mean, no file is written, and the exit
    // status is 128 + the signal's number.
    void signalStopsTheTransfer()
    {
        QFETCH(bool, write);
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString json = dir.filePath(write ? "in.json" : "out.json");
        const QString trace = dir.filePath("trace.txt");
        QByteArray meant(4096, '\0'); // what the whole write leaves in a blank exchange
        if (write) {
            QVERIFY(writeJson(json, testing::awayFromFactory(), BlockSet::all()));
            SimulatedExchange whole({"--blank", "--save", dir.filePath("meant.img")});
            QCOMPARE(runCli({"write", "--port", whole.path(), "--json", json}).exitCode, 0);
            whole.stop();
            meant = readFile(dir.filePath("meant.img"));
        }
        SimulatedExchange exchange({"--blank", "--save", dir.filePath("x.img"), "--baud", "2400"});
        QProcess cli;
        cli.start(QStringLiteral(ORNISSET_CLI),
            {write ? "write" : "read", "--port", exchange.path(), "--json", json, "--trace",
                trace});
        QTRY_VERIFY_WITH_TIMEOUT(readFile(trace).count(" RX ") > 40, 20'000);
        QCOMPARE(::kill(pid_t(cli.processId()), signal), 0);
        QVERIFY(cli.waitForFinished(20'000));
        exchange.stop();

        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 128 + signal);
        const QByteArray err = cli.readAllStandardError();
        QVERIFY2(err.contains("Interrupted by SIG"), err);
        QCOMPARE(err.contains("The exchange may now hold a partly written configuration. "
                              "Written whole: "),
            write);
        QVERIFY2(write || err.contains("the read was not finished; no file was written"), err);
        QVERIFY(write || !QFile::exists(json));
        const QByteArray said = exchange.errors();
        QVERIFY2(!said.contains("protocol violation"), said);
        QVERIFY(lockStepToTheClose(tracedBytes(readFile(trace))));
        const QByteArray held = readFile(dir.filePath("x.img"));
        QCOMPARE(held.size(), meant.size());
        for (qsizetype a = 0; a < held.size(); ++a)
            QVERIFY2(held[a] == 0 || held[a] == meant[a], QByteArray::number(a));
    }

    // Limits are said: input beyond 4 MiB is refused, also from a pipe whose size nobody
    // reports; a list of errors stops after the first 100.
    void limitsAreSaid()
    {
        const CliRun piped
            = runCli({"write", "--port", "/dev/no-such-port", "--json", "/dev/stdin"}, {},
                QByteArray((4 << 20) + 1, ' '));
        QCOMPARE(piped.exitCode, 2);
        QVERIFY2(piped.err.contains("/dev/stdin: it holds more than 4 MiB"), piped.err);

        QTemporaryDir dir;
        QByteArray csv = "Volba;Číslo\r\n";
        for (int row = 0; row < 150; ++row)
            csv += "811;12a4\r\n";
        QVERIFY(writeFile(dir.filePath("bad.csv"), csv));
        const CliRun bad = runCli({"convert", dir.filePath("bad.csv"), dir.filePath("out.json")});
        QCOMPARE(bad.exitCode, 2);
        QCOMPARE(bad.err.count('\n'), 101);
        QVERIFY2(bad.err.endsWith("… and 199 more\n"), bad.err); // two faults a row but one
    }

    void unwritableOutputsAreFailures_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "DIR" is the folder of the files
        QTest::addColumn<QString>("stdoutFile");
        QTest::addColumn<bool>("fullFileSystem");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("trace on a full device")
            << QStringList {"clock", "--trace", "/dev/full"} << QString() << false
            << QStringList {"Warning: Cannot write the line trace /dev/full: No space left on "
                            "device"};
        QTest::newRow("standard output on a full device")
            << QStringList {"read", "--block", "settings"} << "/dev/full" << false
            << QStringList {"Cannot write the standard output: No space left on device"};
        QTest::newRow("a full file system")
            << QStringList {"read", "--block", "settings", "--json", "DIR/out.json", "--trace",
                   "DIR/trace.txt"}
            << QString() << true
            << QStringList {"DIR/out.json was not written: Cannot create "
                            "file DIR/out.json: No space left on device",
                   "Warning: Cannot write the line trace "
                   "DIR/trace.txt: No space left on device"};
    }
    // A trace, a result or a file that cannot be written says why and fails (exit 2).
    void unwritableOutputsAreFailures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, stdoutFile);
        QFETCH(bool, fullFileSystem);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        arguments.replaceInStrings("DIR", dir.path());
        SimulatedExchange exchange;
        arguments << "--port" << exchange.path();
        bool full = true;
        const CliRun run = runCli(arguments, [&](QProcess &process) {
            if (!stdoutFile.isEmpty())
                process.setStandardOutputFile(stdoutFile);
            if (fullFileSystem)
                full = onAFullFileSystem(process, dir.path());
        });
        if (!full)
            QSKIP("unshare -rm cannot make a file system here (no user namespaces)");
        QCOMPARE(run.exitCode, 2);
        for (const QString &message : messages)
            QVERIFY2(
                run.err.contains(QString(message).replace("DIR", dir.path()).toUtf8()), run.err);
    }

    // A network port, and the line trace of the transfer: every byte once each way.
    void clockOverTheNetworkWithATrace_data()
    {
        QTest::addColumn<QStringList>("simOptions");
        QTest::newRow("raw") << QStringList {"--listen", "0"};
        QTest::newRow("rfc2217") << QStringList {"--listen", "0", "--rfc2217"};
    }
    void clockOverTheNetworkWithATrace()
    {
        QFETCH(QStringList, simOptions);
        SimulatedExchange exchange(simOptions);
        QVERIFY(exchange.path().contains("://127.0.0.1:"));
        QTemporaryDir dir;
        const QString trace = dir.filePath("trace.txt");
        const CliRun run = runCli({"clock", "--port", exchange.path(), "--trace", trace});
        QVERIFY2(run.exitCode == 0, run.err);
        const QByteArray lines = readFile(trace);
        QVERIFY(lines.startsWith("# "));
        QCOMPARE(lines.count(" TX "), 19);
        QCOMPARE(lines.count(" RX "), 19);
        QVERIFY(lines.endsWith("-- transfer over\n"));
    }

    void portThatCannotOpenIsATransferFailure()
    {
        const CliRun run = runCli({"clock", "--port", "/dev/no-such-port"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!run.err.isEmpty());
    }

    void convertSetToJsonToSetIsByteIdentical()
    {
        QTemporaryDir dir;
        const QString sample = QStringLiteral(ORNIS_TEST_DATA "/cli/sample.set");
        QCOMPARE(runCli({"convert", sample, dir.filePath("a.json")}).exitCode, 0);
        const CliRun back = runCli({"convert", dir.filePath("a.json"), dir.filePath("b.set")});
        QCOMPARE(back.exitCode, 0);
        QVERIFY2(back.err.contains("does not keep the exchange model and modules"), back.err);
        QCOMPARE(readFile(dir.filePath("b.set")), readFile(sample));
        // The texts arrive as Unicode.
        QVERIFY(QString::fromUtf8(readFile(dir.filePath("a.json"))).contains("Účtárna"));
    }

    void convertCarriesOneDialTableThroughCsvAndXlsx_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("CSV") << "csv";
        QTest::newRow("workbook") << "xlsx";
    }

    void convertCarriesOneDialTableThroughCsvAndXlsx()
    {
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        const QString sample = QStringLiteral(ORNIS_TEST_DATA "/cli/sample.set");
        const QString a = dir.filePath("a." + suffix);
        QCOMPARE(runCli({"convert", sample, a}).exitCode, 0);
        const CliRun toJson = runCli({"convert", a, dir.filePath("b.json")});
        QCOMPARE(toJson.exitCode, 0);
        QVERIFY2(toJson.err.isEmpty(), toJson.err);
        QVERIFY(readFile(dir.filePath("b.json")).contains(R"("Blocks": [
        "shortdials"
    ])"));
        QCOMPARE(
            runCli({"convert", dir.filePath("b.json"), dir.filePath("c." + suffix)}).exitCode, 0);
        QCOMPARE(readFile(dir.filePath("c." + suffix)), readFile(a));
        const CliRun pe = runCli({"convert", "--table", "pe", a, dir.filePath("pe.json")});
        QCOMPARE(pe.exitCode, 2);
        QVERIFY2(pe.err.contains("holds the short dials, not the PE"), pe.err);
        // The JSON form holds no PE now; the settings file gets the factory values.
        const CliRun noPE = runCli(
            {"convert", "--table", "pe", dir.filePath("b.json"), dir.filePath("pe." + suffix)});
        QCOMPARE(noPE.exitCode, 2);
        QVERIFY2(noPE.err.contains("holds no PE"), noPE.err);
        const CliRun toSet = runCli({"convert", a, dir.filePath("d.set")});
        QVERIFY2(toSet.err.contains("gets the factory values of the settings, PE"), toSet.err);
        if (suffix != "csv")
            return;

        QVERIFY(writeFile(dir.filePath("bad.csv"), "Volba;Číslo\r\n810;1\r\n811;12a4\r\n"));
        const CliRun bad = runCli({"convert", dir.filePath("bad.csv"), dir.filePath("e.json")});
        QCOMPARE(bad.exitCode, 2);
        QVERIFY2(bad.err.contains(dir.filePath("bad.csv").toUtf8()
                     + R"(:3: column "Číslo": "12a4" is no number (0-9 and P, at most 14))"),
            bad.err);
        QVERIFY(!QFile::exists(dir.filePath("e.json")));
    }

    // A file that holds some blocks is never passed off as the whole configuration.
    void partialFilesSayWhatTheyLack_data()
    {
        QTest::addColumn<QStringList>("arguments"); // the files of the test's folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // on stderr; empty: nothing at all
        QTest::newRow("report of the services") << QStringList {"convert", "services.json",
            "out.txt"} << 0 << "out.txt gets the factory values of the settings, short dials";
        QTest::newRow("settings file of the PE") << QStringList {"convert", "pe.json",
            "out.set"} << 0 << "out.set gets the factory values of the settings, short dials";
        QTest::newRow("report of a whole form")
            << QStringList {"convert", "all.json", "out.txt"} << 0 << "";
        QTest::newRow("report of a settings file")
            << QStringList {"convert", "sample.set", "out.txt"} << 0 << "";
        QTest::newRow("diff with no block in common")
            << QStringList {"diff", "services.json", "sample.set"} << 2
            << "sample.set holds the settings, short dials, PE: no block to compare";
        QTest::newRow("diff of a form of no block")
            << QStringList {"diff", "none.json", "all.json"} << 2 << "none.json holds no block";
    }
    void partialFilesSayWhatTheyLack()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const std::pair<const char *, BlockSet> forms[] {{"services.json", {Block::Services}},
            {"pe.json", {Block::PE}}, {"all.json", BlockSet::all()}, {"none.json", {}}};
        for (const auto &[name, blocks] : forms)
            QVERIFY(writeJson(dir.filePath(name), testing::awayFromFactory(), blocks));
        QVERIFY(QFile::copy(ORNIS_TEST_DATA "/cli/sample.set", dir.filePath("sample.set")));
        for (qsizetype i = 1; i < arguments.size(); ++i)
            arguments[i] = dir.filePath(arguments[i]);

        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, status);
        if (message.isEmpty())
            QVERIFY2(run.err.isEmpty(), run.err);
        else
            QVERIFY2(run.err.contains(message.toUtf8()), run.err);
    }

    void factoryReportMatchesGolden()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("factory.json"), "{}"));
        const CliRun run
            = runCli({"convert", dir.filePath("factory.json"), dir.filePath("report.txt")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(maskedReport(readFile(dir.filePath("report.txt"))),
            maskedReport(readFile(ORNIS_TEST_DATA "/report/factory.txt")));
    }

    void damagedFilesGiveTheSystemsMessages_data()
    {
        QTest::addColumn<QByteArray>("content"); // of IN; empty: IN does not exist
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("message");
        const QByteArray sample = readFile(ORNIS_TEST_DATA "/cli/sample.set");
        QByteArray badTag = sample;
        badTag[742] = 0x07; // the first comment's text tag
        QTest::newRow("cut off") << sample.chopped(1) << "in.set"
                                 << "Stream read error";
        QTest::newRow("shorter than the header") << sample.left(300) << "in.set"
                                                 << "Stream read error";
        QTest::newRow("unknown tag") << badTag << "in.set"
                                     << "Invalid property value";
        QTest::newRow("missing") << QByteArray() << "in.set"
                                 << "Cannot open file ";
        const QByteArray badGrid = R"({"GlobalLineGrid": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,300]})";
        QTest::newRow("grid byte out of range")
            << badGrid << "in.json"
            << R"(Key "GlobalLineGrid[15]": 300 is outside 0..255)";
        QTest::newRow("not JSON") << QByteArray("{ nope") << "in.json"
                                  << "Invalid JSON";
    }
    void damagedFilesGiveTheSystemsMessages()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, in);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString input = dir.filePath(in);
        if (!content.isEmpty())
            QVERIFY(writeFile(input, content));
        const QString output = dir.filePath("out.json");
        const CliRun convert = runCli({"convert", input, output});
        QCOMPARE(convert.exitCode, 2);
        QVERIFY2(convert.err.contains(message.toUtf8()), convert.err);
        QVERIFY2(convert.err.contains(input.toUtf8()), convert.err); // names the file
        QVERIFY(!QFile::exists(output));
        // A write reads its file before it touches the port.
        const QString option = in.endsWith(".set") ? "--set" : "--json";
        const CliRun write = runCli({"write", "--port", "/dev/no-such-port", option, input});
        QCOMPARE(write.exitCode, 2);
        QVERIFY2(write.err.contains(message.toUtf8()), write.err);
    }

    void unwritableOutputLeavesNothing()
    {
        QTemporaryDir dir;
        const QString output = dir.filePath("missing-folder/out.set");
        const CliRun run
            = runCli({"convert", QStringLiteral(ORNIS_TEST_DATA "/cli/sample.set"), output});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("Cannot create file "), run.err);
    }

    // The help names every block and the default answer timeout.
    void help()
    {
        const CliRun run = runCli({"--help"});
        QCOMPARE(run.exitCode, 0);
        const QString text = QString::fromUtf8(run.out).simplified();
        QVERIFY2(text.contains("all, settings, services, shortdials or pe"), run.out);
        QVERIFY2(text.contains("(default 4000)"), run.out);
    }

    // Each program says its version, the window's without a display, and exits 0.
    void version_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("ornisset") << QStringLiteral(ORNISSET_WINDOW);
        QTest::newRow("ornisset-cli") << QStringLiteral(ORNISSET_CLI);
        QTest::newRow("ornisset-sim") << QStringLiteral(ORNISSET_SIM);
    }
    void version()
    {
        QFETCH(QString, program);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, {"--version"});
        QVERIFY(process.waitForFinished(ProcessWaitMs));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput(),
            QFileInfo(program).fileName().toUtf8() + ' ' + ProgramVersion + '\n');
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList {} << "No command given";
        QTest::newRow("unknown command") << QStringList {"fetch"} << "Unknown command fetch";
        QTest::newRow("backup without a folder")
            << QStringList {"backup", "--sites", "s.csv"} << "backup needs --sites";
        QTest::newRow("no site at a time") << QStringList {"backup", "--sites", "s.csv", "--dir",
            "d", "--parallel", "0"} << "--parallel takes a positive number";
        QTest::newRow("zero timeout")
            << QStringList {"read", "--port", "x", "--timeout", "0"} << "positive";
        QTest::newRow("negative timeout")
            << QStringList {"clock", "--port", "x", "--timeout", "-5"} << "positive";
        QTest::newRow("unknown block") << QStringList {"read", "--port", "x", "--block",
            "grids"} << "Unknown block grids: use all, settings, services, shortdials or pe";
        QTest::newRow("unknown model")
            << QStringList {"read", "--port", "x", "--model", "ORION"} << "Unknown model ORION";
        QTest::newRow("write without a file") << QStringList {"write", "--port", "x"} << "either";
        QTest::newRow("write with two files") << QStringList {"write", "--port", "x", "--json",
            "a.json", "--set", "a.set"} << "either";
        QTest::newRow("no port") << QStringList {"read", "--json", "a.json"} << "needs --port";
        QTest::newRow("option of another command")
            << QStringList {"clock", "--port", "x", "--json", "a.json"} << "does not apply";
        QTest::newRow("convert without OUT") << QStringList {"convert", "a.set"} << "IN and OUT";
        QTest::newRow("convert to an unknown type") << QStringList {"convert", "a.set", "a.xml"}
                                                    << "use a .set, .json, .csv, .xlsx or .txt";
        QTest::newRow("trace file cannot be written")
            << QStringList {"clock", "--port", "x", "--trace", "/no-such-folder/t.txt"}
            << "Cannot write the line trace /no-such-folder/t.txt";
        QTest::newRow("PE block of VEGA") << QStringList {"read", "--port", "/dev/no-such-port",
            "--model", "VEGA", "--block", "pe"}
                                          << "MIRA only";
        // Outputs are checked before the port is even opened.
        QTest::newRow("output folder missing")
            << QStringList {"read", "--port", "/dev/no-such-port", "--json", "/no/such/x.json"}
            << "Cannot create file /no/such/x.json: the folder /no/such does not exist";
        QTest::newRow("one file for both outputs") << QStringList {"read", "--port",
            "/dev/no-such-port", "--json", "x.json", "--set", "./x.json"}
                                                   << "--json and --set name the same file";
        // A port that cannot open would fail the transfer (1): nothing was even opened.
        for (const char *command : {"write", "verify"}) {
            QTest::addRow("--model against the form's, %s", command)
                << QStringList {command, "--port", "/dev/no-such-port", "--model", "vega-x",
                       "--json", written_.filePath("written.json")}
                << "--model VEGA-X contradicts the model of " + written_.filePath("written.json")
                    + ", MIRA (its ExchangeType)";
        }
        QTest::newRow("block the file does not hold") << QStringList {"write", "--port",
            "/dev/no-such-port", "--block", "services", "--set", ORNIS_TEST_DATA "/cli/sample.set"}
                                                      << "sample.set holds no services";
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err);
    }

private:
    QTemporaryDir written_;
    SimulatedExchange writtenExchange_;
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
