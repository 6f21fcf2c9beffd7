#include "LinkUnderTest.h"
#include "sim/DemoConfiguration.h"
#include "sim/Preload.h"

#include <QTest>
#include <algorithm>

#ifdef ORNIS_EPOLL_LOOP
#include "qtlink/EpollDispatcher.h"
#endif
#include <memory>

using namespace ornis;

// The transfer tests that every port of the link must pass: in process, through the
// QSerialPort adapter over a pseudo-terminal, and through the network adapter over
// loopback TCP, raw and with RFC 2217.
class LinkContractTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LinkUnderTest> makeLink()
    {
        QFETCH_GLOBAL(QString, line);
        if (line == "in process")
            return std::make_unique<SimulatedLink>();
        if (line == "pty")
            return opened(std::make_unique<PtyLink>());
        return opened(std::make_unique<TcpLink>(
            line == "rfc2217" ? sim::TcpLine::Protocol::ComPort : sim::TcpLine::Protocol::Raw));
    }

    template<typename Link>
    static std::unique_ptr<LinkUnderTest> opened(std::unique_ptr<Link> link)
    {
        return link->opened() ? std::move(link) : nullptr;
    }

    static QByteArray memoryAt(const sim::VirtualExchange &exchange, int address, int size)
    {
        const auto *bytes = reinterpret_cast<const char *>(exchange.memory().data());
        return QByteArray(bytes + address, size);
    }

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<QString>("line");
        for (const char *line : {"in process", "pty", "tcp", "rfc2217"})
            QTest::newRow(line) << QString::fromLatin1(line);
    }

    void clockWrite()
    {
        const auto link = makeLink();
        QVERIFY(link);
        link->clock.time = {2009, 12, 31, 23, 59, 59};
        QVERIFY(link->engine().startTransfer(TransferMode::ClockWrite));
        QVERIFY(link->runToIdle());
        QVERIFY(link->observer.errors.empty());
        QCOMPARE(memoryAt(link->exchange(), 0x0D0, 6), QByteArray("\x23\x59\x59\x31\x12\x09"));
        QCOMPARE(link->observer.percents.back(), 100);
        QVERIFY(!link->observer.progressVisible);
    }

    // A settings write continues with the day/night times; reading both back into
    // factory values gives every travelling value back.
    void settingsWriteThenRead()
    {
        const auto link = makeLink();
        QVERIFY(link);
        const ExchangeConfig written = demoConfiguration();
        link->config = written;
        QVERIFY(link->engine().startTransfer(TransferMode::SettingsWrite));
        QVERIFY(link->runToIdle());

        link->config = factoryConfig();
        QVERIFY(link->engine().startTransfer(TransferMode::SettingsRead));
        QVERIFY(link->runToIdle());
        QVERIFY(link->observer.errors.empty());
        QCOMPARE(link->config.Grids, written.Grids);
        QCOMPARE(link->config.DayStart, written.DayStart);
        QCOMPARE(link->config.NightStart, written.NightStart);
        QCOMPARE(link->config.G0Days, written.G0Days);
        QCOMPARE(link->config.Counters, written.Counters);
    }

    // The chain 13, 5, 7, 9, 11 and back 14, 6, 8, 10, 12: writing what was read back
    // gives the same memory, so everything that travels came back.
    void wholeConfigurationRoundTrip()
    {
        const auto link = makeLink();
        QVERIFY(link);
        link->config = demoConfiguration();
        QVERIFY(link->engine().startTransfer(TransferMode::AllWrite));
        QVERIFY(link->runToIdle());
        const sim::VirtualExchange::Memory written = link->exchange().memory();
        // Data bytes 0xFF travel both ways (a network line must not take them for commands).
        QVERIFY(std::count(written.begin(), written.end(), 0xFF) > 100);

        link->config = factoryConfig();
        QVERIFY(link->engine().startTransfer(TransferMode::AllRead));
        QVERIFY(link->runToIdle());
        QVERIFY(link->observer.errors.empty());
        QCOMPARE(link->config.PETable, demoConfiguration().PETable);

        sim::VirtualExchange again;
        QVERIFY(writeIntoExchange(link->config, again).ok());
        QVERIFY(again.memory() == written);
    }

    // After the timeout, a new transfer starts with its opening.
    void timeoutOfSilentFarEnd()
    {
        const auto link = makeLink();
        QVERIFY(link);
        link->engine().setResponseTimeout(300);
        sim::Faults silent;
        silent.silentAfter = 7;
        link->exchange().setFaults(silent);
        QVERIFY(link->engine().startTransfer(TransferMode::SettingsRead));
        QVERIFY(link->runToIdle());
        QCOMPARE(link->observer.errors,
            std::vector<std::string> {"Timeout on " + link->expectedPortName()});
        QVERIFY(!link->observer.progressVisible);

        link->exchange().setFaults({});
        link->clock.time = {2000, 1, 2, 3, 4, 5};
        QVERIFY(link->engine().startTransfer(TransferMode::ClockWrite));
        QVERIFY(link->runToIdle());
        QCOMPARE(link->observer.errors.size(), size_t(1));
        QCOMPARE(memoryAt(link->exchange(), 0x0D0, 6), QByteArray("\x03\x04\x05\x02\x01\x00", 6));
    }

    void stopSequence()
    {
        const auto link = makeLink();
        QVERIFY(link);
        QVERIFY(link->engine().startTransfer(TransferMode::ShortDialsRead));
        QVERIFY(link->runArrivals(40));
        link->engine().stop();
        QCOMPARE(link->engine().transferMode(), TransferMode::Stopping);
        QVERIFY(link->runToIdle());
        QVERIFY(link->observer.errors.empty());
        QVERIFY(!link->observer.progressVisible);

        QVERIFY(link->engine().startTransfer(TransferMode::ClockWrite));
        QVERIFY(link->runToIdle());
        QVERIFY(link->observer.errors.empty());
    }

    // A stray byte before every answer: both are read in one arrival, only the last counts,
    // and the engine still sends one byte an answer, never one before it.
    void twoBytesInOneArrival()
    {
        const auto link = makeLink();
        QVERIFY(link);
        QVERIFY(link->engine().startTransfer(TransferMode::ClockWrite));
        QVERIFY(link->runToIdle());
        const std::size_t lockStep = link->exchange().bytesReceived();

        sim::Faults stray;
        stray.doubleAnswers = true;
        link->exchange().setFaults(stray);
        link->clock.time = {2024, 2, 29, 12, 30, 0};
        QVERIFY(link->engine().startTransfer(TransferMode::ClockWrite));
        QVERIFY(link->runToIdle());
        QVERIFY(link->observer.errors.empty());
        QCOMPARE(memoryAt(link->exchange(), 0x0D0, 6), QByteArray("\x12\x30\x00\x29\x02\x24", 6));
        QCOMPARE(link->exchange().bytesReceived(), 2 * lockStep);
        QVERIFY(link->exchange().violations().empty());
    }

    void farEndDisappearsMidTransfer()
    {
        const auto link = makeLink();
        QVERIFY(link);
        QVERIFY(link->engine().startTransfer(TransferMode::ShortDialsRead));
        link->disappearAfter(100);
        QVERIFY(link->runToIdle());
        QCOMPARE(link->observer.errors.size(), size_t(1));
        QVERIFY(!link->engine().answerTimerArmed());
        QVERIFY(!link->observer.progressVisible);
        QVERIFY(!link->lineUp());
    }
};

int main(int argc, char **argv)
{
#ifdef ORNIS_EPOLL_LOOP
    QCoreApplication::setEventDispatcher(new EpollDispatcher);
#endif
    QCoreApplication app(argc, argv);
    LinkContractTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_linkcontract.moc"
