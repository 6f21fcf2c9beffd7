#include "cli/JsonForm.h"
#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/Numbering.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

CliRun runCli(const QStringList &arguments)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(ORNISSET_CLI), arguments);
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
    ~SimulatedExchange()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    [[nodiscard]] const QString &path() const { return path_; }

private:
    QProcess process_;
    QString path_;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

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
    return cli::configToJson(config, json).ok() ? json : QByteArray();
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

class CliTest : public QObject
{
    Q_OBJECT

private slots:
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
        // 300 ms is five 55 ms ticks.
        QTest::newRow("silent exchange")
            << QStringList {"--silent-after", "0"} << "Timeout on " << 250;
        QTest::newRow("exchange gone") << QStringList {"--disappear-after", "40"} << "" << 0;
    }
    void transferFailures()
    {
        QFETCH(QStringList, simOptions);
        QFETCH(QString, message);
        QFETCH(int, minimumMs);
        SimulatedExchange exchange(simOptions);
        QVERIFY(!exchange.path().isEmpty());
        const CliRun run = runCli({"read", "--port", exchange.path(), "--timeout", "300"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(
            run.elapsedMs >= minimumMs && run.elapsedMs < 5000, QByteArray::number(run.elapsedMs));
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
        QCOMPARE(runCli({"convert", dir.filePath("a.json"), dir.filePath("b.set")}).exitCode, 0);
        QCOMPARE(readFile(dir.filePath("b.set")), readFile(sample));
        // The texts arrive as Unicode.
        QVERIFY(QString::fromUtf8(readFile(dir.filePath("a.json"))).contains("Účtárna"));
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

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList {} << "No command given";
        QTest::newRow("unknown command") << QStringList {"backup"} << "Unknown command backup";
        QTest::newRow("zero timeout")
            << QStringList {"read", "--port", "x", "--timeout", "0"} << "positive";
        QTest::newRow("negative timeout")
            << QStringList {"clock", "--port", "x", "--timeout", "-5"} << "positive";
        QTest::newRow("unknown block")
            << QStringList {"read", "--port", "x", "--block", "grids"} << "Unknown block grids";
        QTest::newRow("unknown model")
            << QStringList {"read", "--port", "x", "--model", "ORION"} << "Unknown model ORION";
        QTest::newRow("write without a file") << QStringList {"write", "--port", "x"} << "either";
        QTest::newRow("write with two files") << QStringList {"write", "--port", "x", "--json",
            "a.json", "--set", "a.set"} << "either";
        QTest::newRow("no port") << QStringList {"read", "--json", "a.json"} << "needs --port";
        QTest::newRow("option of another command")
            << QStringList {"clock", "--port", "x", "--json", "a.json"} << "does not apply";
        QTest::newRow("convert without OUT") << QStringList {"convert", "a.set"} << "IN and OUT";
        QTest::newRow("convert to an unknown type")
            << QStringList {"convert", "a.set", "a.xml"} << "use a .set, .json or .txt";
        QTest::newRow("trace file cannot be written")
            << QStringList {"clock", "--port", "x", "--trace", "/no-such-folder/t.txt"}
            << "Cannot write the line trace /no-such-folder/t.txt";
        QTest::newRow("PE block of VEGA") << QStringList {"read", "--port", "/dev/no-such-port",
            "--model", "VEGA", "--block", "pe"}
                                          << "MIRA only";
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err);
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
