#include "config/ExchangeConfig.h"
#include "link/TransferEngine.h"
#include "qtlink/AddressedPort.h"
#include "sim/Preload.h"
#include "sim/VirtualExchange.h"
#include "tests/common/SampleConfig.h"
#include "tests/common/SimToolProcess.h"
#include "tests/link/FixedClock.h"
#include "tests/link/RecordingObserver.h"
#include "tests/qtlink/WaitOnPort.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace ornis;

namespace {

// The program's end of the line: the engine on the port opened by its text.
struct ProgramEnd
{
    ProgramEnd()
        : engine(config, port, clock, observer)
    {
        connectPortToEngine(port, engine);
    }
    virtual ~ProgramEnd() = default;

    bool runToIdle()
    {
        return waitOnPort(port, [this] { return engine.isIdle(); });
    }

    ExchangeConfig config;
    FixedClock clock;
    RecordingObserver observer;
    AddressedPort port;
    TransferEngine engine;
};

// ornisset-sim running as its own process, with the program's port open on what it serves.
class SimProcess : public ProgramEnd
{
public:
    explicit SimProcess(const QStringList &arguments)
        : tool(arguments)
        , process(tool.process)
    {
    }

    // Reads the device path or the address the tool prints, and opens it.
    bool open()
    {
        path = tool.waitForPath();
        return !path.isEmpty() && port.open(path).ok();
    }

    QString nextLine() { return tool.nextLine(); }
    bool terminate() { return tool.terminate(); }

    SimToolProcess tool;
    QProcess &process;
    QString path;
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class OrnissetSimTest : public QObject
{
    Q_OBJECT

private slots:
    // The loaded image is served, a write lands in it, and the image is saved both once
    // the line is quiet and on SIGTERM.
    void loadWriteAndSave()
    {
        QTemporaryDir dir;
        QByteArray image(4096, '\0');
        for (int i = 0; i < image.size(); ++i)
            image[i] = char(i * 7);
        const QString loaded = dir.filePath("in.img");
        const QString saved = dir.filePath("out.img");
        QVERIFY(writeFile(loaded, image));

        SimProcess sim({"--load", loaded, "--save", saved});
        QVERIFY(sim.open());
        sim.clock.time = {2009, 12, 31, 23, 59, 59};
        QVERIFY(sim.engine.startTransfer(TransferMode::ClockWrite));
        QVERIFY(sim.runToIdle());
        QVERIFY(sim.observer.errors.empty());

        QByteArray expected = image;
        expected.replace(0x0D0, 6, "\x23\x59\x59\x31\x12\x09");
        QTRY_COMPARE_WITH_TIMEOUT(readFile(saved), expected, 10'000);
        QFile::remove(saved);
        QVERIFY(sim.terminate());
        QCOMPARE(sim.process.exitCode(), 0);
        QCOMPARE(readFile(saved), expected);
    }

    // Without an image the exchange starts as from the factory, or blank when asked.
    void startMemory_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("image");
        const sim::VirtualExchange::Memory factory = sim::factoryMemory();
        QTest::newRow("factory") << QStringList()
                                 << QByteArray(reinterpret_cast<const char *>(factory.data()),
                                        qsizetype(factory.size()));
        QTest::newRow("blank") << QStringList {"--blank"} << QByteArray(4096, '\0');
    }
    void startMemory()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, image);
        QTemporaryDir dir;
        const QString saved = dir.filePath("saved.img");
        SimToolProcess sim(options + QStringList {"--save", saved});
        QVERIFY(!sim.waitForPath().isEmpty());
        QVERIFY(sim.terminate());
        QCOMPARE(readFile(saved), image);
    }

    // 19 round trips of a clock write at 2400 baud need at least 19 x 2 x 10 / 2400 s.
    void pacedAtTheBaudRate()
    {
        SimProcess sim({"--baud", "2400"});
        QVERIFY(sim.open());
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(sim.engine.startTransfer(TransferMode::ClockWrite));
        QVERIFY(sim.runToIdle());
        QVERIFY(sim.observer.errors.empty());
        QVERIFY2(elapsed.elapsed() >= 19 * 20 * 1000 / 2400, "answers came early");
    }

    void disappearsAfterAnswering()
    {
        SimProcess sim({"--disappear-after", "30"});
        QVERIFY(sim.open());
        QVERIFY(sim.engine.startTransfer(TransferMode::ShortDialsRead));
        QVERIFY(sim.runToIdle());
        QCOMPARE(sim.observer.errors.size(), size_t(1));
        QVERIFY(!sim.port.isOpen());
        QSignalSpy finished(&sim.process, &QProcess::finished);
        QVERIFY(sim.process.state() == QProcess::NotRunning || finished.wait(10'000));
        QCOMPARE(sim.process.exitCode(), 0);
    }

    void silentAfter()
    {
        SimProcess sim({"--silent-after", "3"});
        QVERIFY(sim.open());
        sim.engine.setResponseTimeout(300);
        QVERIFY(sim.engine.startTransfer(TransferMode::ClockWrite));
        QVERIFY(sim.runToIdle());
        QCOMPARE(sim.observer.errors,
            std::vector<std::string> {"Timeout on " + sim.path.mid(5).toStdString()});
    }

    void refusesAShortImage()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath("short.img");
        QVERIFY(writeFile(image, QByteArray(100, 'x')));
        QProcess sim;
        sim.start(QStringLiteral(ORNISSET_SIM), {"--load", image});
        QSignalSpy finished(&sim, &QProcess::finished);
        QVERIFY(finished.wait(10'000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardError().contains("not a 4096-byte memory image"));
    }

    // Over TCP a whole write and a whole read land byte for byte, 0xFF among them; with
    // RFC 2217 the tool saw the line set as the serial adapter sets its own.
    void wholeWriteAndReadOverTcp_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("lineSettings");
        QTest::newRow("raw") << QStringList {"--listen", "0"} << QString();
        QTest::newRow("rfc2217") << QStringList {"--listen", "0", "--rfc2217"}
                                 << "line settings: 2400 baud, 8 data bits, no parity, 1 stop "
                                    "bit, no flow control, DTR off, RTS on";
    }
    void wholeWriteAndReadOverTcp()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, lineSettings);
        QTemporaryDir dir;
        const QString blank = dir.filePath("blank.img");
        const QString saved = dir.filePath("saved.img");
        QVERIFY(writeFile(blank, QByteArray(sim::VirtualExchange::MemorySize, '\0')));
        SimProcess sim(arguments + QStringList {"--load", blank, "--save", saved});
        QVERIFY(sim.open());
        sim.port.setDtr(false); // as the start-up probe does, while connecting

        const ExchangeConfig written = testing::awayFromFactory();
        sim.config = written;
        QVERIFY(sim.engine.startTransfer(TransferMode::AllWrite));
        QVERIFY(sim.runToIdle());
        sim.config = factoryConfig();
        QVERIFY(sim.engine.startTransfer(TransferMode::AllRead));
        QVERIFY(sim.runToIdle());
        QVERIFY(sim.observer.errors.empty());
        if (!lineSettings.isEmpty())
            QCOMPARE(sim.nextLine(), lineSettings);
        QVERIFY(sim.terminate());

        sim::VirtualExchange expected;
        QVERIFY(sim::writeIntoExchange(written, expected).ok());
        const QByteArray image = readFile(saved);
        QCOMPARE(image,
            QByteArray(reinterpret_cast<const char *>(expected.memory().data()),
                int(expected.memory().size())));
        QVERIFY(image.count('\xFF') > 100);
        sim::VirtualExchange readBack;
        QVERIFY(sim::writeIntoExchange(sim.config, readBack).ok());
        QVERIFY(readBack.memory() == expected.memory());
    }

    // Each failure of a network line ends the transfer with one message naming the address
    // and leaves the program idle; only a silent exchange leaves the connection open.
    void networkFailures_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QStringList>("arguments"); // ornisset-sim's; else the scheme
        QTest::addColumn<QString>("message"); // ADDRESS and PORT stand for the server's
        QTest::newRow("refused") << "nobody" << QStringList {"tcp"}
                                 << "ADDRESS: the connection was refused (nothing listens on "
                                    "port PORT of 127.0.0.1)";
        QTest::newRow("line settings refused")
            << "sim" << QStringList {"--rfc2217", "--fixed-baud", "9600"}
            << "ADDRESS: the server refuses the line settings: it keeps 9600 baud instead of "
               "2400 baud";
        QTest::newRow("line never set up")
            << "mute" << QStringList {"rfc2217"}
            << "ADDRESS: the server did not set up the serial line within 1 s (is it an RFC "
               "2217 server? use tcp:// for a raw connection)";
        for (const char *scheme : {"raw", "rfc2217"}) {
            const QStringList options
                = scheme == QLatin1String("raw") ? QStringList() : QStringList {"--rfc2217"};
            QTest::addRow("closed mid-transfer, %s", scheme)
                << "sim" << options + QStringList {"--disappear-after", "100"}
                << "ADDRESS: the server closed the connection";
            QTest::addRow("never answers, %s", scheme)
                << "sim" << options + QStringList {"--silent-after", "0"} << "Timeout on ADDRESS";
        }
    }
    void networkFailures()
    {
        QFETCH(QString, server);
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        std::unique_ptr<ProgramEnd> end;
        QTcpServer listener;
        if (server == "sim") {
            auto sim = std::make_unique<SimProcess>(QStringList {"--listen", "0"} + arguments);
            sim->port.network().setConnectTimeout(1000);
            QVERIFY(sim->open());
            end = std::move(sim);
        } else {
            QVERIFY(listener.listen(QHostAddress::LocalHost));
            const QString address = QStringLiteral("%1://127.0.0.1:%2")
                                        .arg(arguments.front())
                                        .arg(listener.serverPort());
            if (server == "nobody")
                listener.close();
            end = std::make_unique<ProgramEnd>();
            end->port.network().setConnectTimeout(1000);
            QVERIFY(end->port.open(address).ok());
        }
        const QString address = QString::fromStdString(end->port.name());
        const QString port = address.mid(address.lastIndexOf(u':') + 1);
        end->engine.setResponseTimeout(300);

        QVERIFY(end->engine.startTransfer(TransferMode::ShortDialsRead));
        QVERIFY(end->runToIdle());
        QCOMPARE(end->observer.errors,
            std::vector<std::string> {
                message.replace("ADDRESS", address).replace("PORT", port).toStdString()});
        QVERIFY(!end->observer.progressVisible);
        QCOMPARE(end->port.isOpen(), message.startsWith("Timeout"));
    }
};

QTEST_GUILESS_MAIN(OrnissetSimTest)
#include "tst_ornissetsim.moc"
