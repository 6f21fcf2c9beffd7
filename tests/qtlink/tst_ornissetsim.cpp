#include "config/ExchangeConfig.h"
#include "link/TransferEngine.h"
#include "qtlink/QtSerialPort.h"
#include "sim/Preload.h"
#include "tests/common/SimToolProcess.h"
#include "tests/link/FixedClock.h"
#include "tests/link/RecordingObserver.h"
#include "tests/qtlink/WaitOnPort.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ornis;

namespace {

// ornisset-sim running as its own process, with the program's port open on its pty.
class SimProcess
{
public:
    explicit SimProcess(const QStringList &arguments)
        : tool(arguments)
        , process(tool.process)
        , engine(config, port, clock, observer)
    {
        connectPortToEngine(port, engine);
    }

    // Reads the device path the tool prints, and opens it.
    bool open()
    {
        path = tool.waitForPath();
        return !path.isEmpty() && port.open(path).ok();
    }

    bool runToIdle()
    {
        return waitOnPort(port, [this] { return engine.isIdle(); });
    }

    bool terminate() { return tool.terminate(); }

    SimToolProcess tool;
    QProcess &process;
    QString path;
    ExchangeConfig config;
    FixedClock clock;
    RecordingObserver observer;
    QtSerialPort port;
    TransferEngine engine;
};

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
        QFile in(loaded);
        QVERIFY(in.open(QIODevice::WriteOnly) && in.write(image) == image.size());
        in.close();

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
        QFile image(dir.filePath("short.img"));
        QVERIFY(image.open(QIODevice::WriteOnly) && image.write(QByteArray(100, 'x')) == 100);
        image.close();
        QProcess sim;
        sim.start(QStringLiteral(ORNISSET_SIM), {"--load", image.fileName()});
        QSignalSpy finished(&sim, &QProcess::finished);
        QVERIFY(finished.wait(10'000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardError().contains("not a 4096-byte memory image"));
    }
};

QTEST_GUILESS_MAIN(OrnissetSimTest)
#include "tst_ornissetsim.moc"
