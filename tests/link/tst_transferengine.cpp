#include "config/ExchangeConfig.h"
#include "link/DigitCodec.h"
#include "link/TransferEngine.h"
#include "link/TransferObserver.h"
#include "sim/LineDriver.h"
#include "sim/SimulatedPort.h"
#include "tests/common/SampleConfig.h"
#include "tests/link/FixedClock.h"
#include "tests/link/RecordingObserver.h"
#include "tests/link/SimulatedLine.h"

#include <QTest>

using namespace ornis;
using M = TransferMode;
using Bytes = std::vector<uint8_t>;
using Ends = std::vector<TransferEnd>;

namespace {

// A complete clock write at the test clock's 00:00:00 on 1 January 2000.
const Bytes ClockTranscript {
    'S', 'T', 'A', 0xD0, 0x80, 'W', 0, 'W', 0, 'W', 0, 'W', 1, 'W', 1, 'W', 0, 'E', 'D'};

Bytes sentBy(const SimulatedLine &line)
{
    return {line.port.sent().begin(), line.port.sent().end()};
}

sim::Faults silentAfter(std::size_t bytes)
{
    sim::Faults faults;
    faults.silentAfter = bytes;
    return faults;
}

// Idle as after every end of a transfer: no answer timer, no progress shown.
bool idleAndQuiet(const SimulatedLine &line)
{
    return line.engine.isIdle() && !line.engine.transferAll() && !line.engine.answerTimerArmed()
        && !line.observer.progressVisible && !line.engine.transferState().DataPhase;
}

// What a stopped transfer did wrong; empty when nothing.
std::string stopFault(
    const SimulatedLine &line, const SimulatedLine::Memory &meant, uint8_t before)
{
    const auto &memory = line.exchange.memory();
    for (std::size_t a = 0; a < memory.size(); ++a) {
        if (memory[a] != before && memory[a] != meant[a])
            return "stored " + std::to_string(memory[a]) + " at " + std::to_string(a);
    }
    if (line.port.sentBeforeAnswer() != 0)
        return "a byte went out before the answer to the one before";
    if (line.exchange.midCommand() || !line.exchange.violations().empty())
        return "a command was broken apart";
    if (!line.observer.errors.empty() || !idleAndQuiet(line))
        return "the stop did not end in idle";
    const Bytes sent = sentBy(line);
    const Bytes closing(sent.end() - 2, sent.end());
    if (closing != Bytes {'E', 'X'} && closing != Bytes {'E', 'D'} && closing != Bytes {'E', 'E'})
        return "the transfer did not close";
    return {};
}

} // namespace

class TransferEngineTest : public QObject
{
    Q_OBJECT

private slots:
    void timeoutTicks_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("ticks");
        QTest::newRow("4000 ms") << 4000 << 72;
        QTest::newRow("1000 ms") << 1000 << 18;
        QTest::newRow("below one tick") << 10 << 1;
    }
    void timeoutTicks()
    {
        QFETCH(int, ms);
        QFETCH(int, ticks);
        QCOMPARE(TransferEngine::timeoutTicks(ms), ticks);
    }

    void progressRoundsLikeMulDivAndCaps()
    {
        QCOMPARE(TransferEngine::progressPercent(1, 18), 6); // 5.55 -> 6
        QCOMPARE(TransferEngine::progressPercent(1, 200), 1); // 0.5 -> 1
        QCOMPARE(TransferEngine::progressPercent(214, 214), 100);
        QCOMPARE(TransferEngine::progressPercent(854, 848), 100);
    }

    void byteWhileIdleIsDropped()
    {
        ExchangeConfig config;
        sim::VirtualExchange exchange;
        sim::SimulatedPort port(exchange);
        FixedClock clock;
        RecordingObserver observer;
        TransferEngine engine(config, port, clock, observer);
        QVERIFY(port.sendByte('S').ok()); // its echo waits while the engine is idle
        port.clearSent();
        engine.bytesArrived(port.bytesAvailable());
        QCOMPARE(port.bytesAvailable(), size_t(0));
        QVERIFY(port.sent().empty());
        QVERIFY(!engine.answerTimerArmed());
        QVERIFY(observer.errors.empty());
    }

    void timeout_data()
    {
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<int>("garbageFrom");
        QTest::newRow("silent in the opening") << 2 << -1;
        QTest::newRow("silent after a data byte") << 6 << -1;
        QTest::newRow("wrong answers only") << -1 << 1;
    }
    // The timeout ends the transfer with its message; the next transfer starts with its
    // opening, even when the timeout struck while a data byte awaited its answer.
    void timeout()
    {
        QFETCH(int, silentFrom);
        QFETCH(int, garbageFrom);
        SimulatedLine line;
        sim::Faults faults;
        if (silentFrom >= 0)
            faults.silentAfter = std::size_t(silentFrom);
        if (garbageFrom >= 0)
            faults.garbageFrom = std::size_t(garbageFrom);
        line.exchange.setFaults(faults);
        QVERIFY(line.engine.startTransfer(M::ClockWrite));
        sim::runToIdle(line.engine, line.port);
        QCOMPARE(line.observer.errors, std::vector<std::string> {"Timeout on sim"});
        QVERIFY(idleAndQuiet(line));

        line.exchange.setFaults({});
        line.port.clearSent();
        QVERIFY(line.run(M::ClockWrite));
        QCOMPARE(sentBy(line), ClockTranscript);
        QCOMPARE(line.observer.errors.size(), std::size_t(1));
        QCOMPARE(line.observer.ends, (Ends {TransferEnd::Failed, TransferEnd::Complete}));
    }

    void stop_data()
    {
        QTest::addColumn<bool>("answered");
        QTest::newRow("answered") << true;
        QTest::newRow("unanswered") << false;
    }
    // Stopped while its 'W' awaits the echo, the clock write gets the data byte it meant
    // (minute 00), then 'E', and 'X' answers the echo; a second stop changes nothing. Without
    // the echo the timeout ends it, and nothing more is sent. The stop never moves the bar.
    void stop()
    {
        QFETCH(bool, answered);
        SimulatedLine line;
        if (!answered)
            line.exchange.setFaults(silentAfter(7));
        QVERIFY(line.engine.startTransfer(M::ClockWrite));
        sim::deliver(line.engine, line.port, 7);
        const std::size_t events = line.observer.percents.size();
        line.port.clearSent();
        line.engine.stop();
        line.engine.stop();
        QCOMPARE(line.engine.transferMode(), M::Stopping);
        QVERIFY(line.port.sent().empty());
        sim::runToIdle(line.engine, line.port);
        QCOMPARE(sentBy(line), (answered ? Bytes {0x00, 'E', 'X'} : Bytes {}));
        QCOMPARE(line.observer.errors.empty(), answered);
        QCOMPARE(line.observer.ends, Ends {answered ? TransferEnd::Stopped : TransferEnd::Failed});
        QVERIFY(idleAndQuiet(line));
        QCOMPARE(line.observer.percents.size(), events);
    }

    void stopAtEveryStep_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("together"); // a stray byte before every answer
        QTest::newRow("clock") << int(M::ClockWrite) << false;
        QTest::newRow("settings, day/night times") << int(M::SettingsWrite) << false;
        QTest::newRow("services") << int(M::ServicesWrite) << false;
        QTest::newRow("PE, bytes arriving together") << int(M::PEWrite) << true;
        QTest::newRow("services read") << int(M::ServicesRead) << false;
        QTest::newRow("settings read") << int(M::SettingsRead) << true;
    }
    // A stop after any number of answers: the exchange stores nothing but what the transfer
    // meant, gets no byte before the answer to the one before and no command broken apart,
    // and the transfer closes as a block closes.
    void stopAtEveryStep()
    {
        QFETCH(int, mode);
        QFETCH(bool, together);
        sim::Faults faults;
        faults.doubleAnswers = together;
        constexpr uint8_t Before = 0xA5; // no control letter, no value of the sample
        const ExchangeConfig config = testing::awayFromFactory();
        SimulatedLine complete(config);
        complete.exchange.memory().fill(Before);
        complete.exchange.setFaults(faults);
        QVERIFY(complete.engine.startTransfer(M(mode)));
        const std::size_t arrivals = sim::runToIdle(complete.engine, complete.port);
        const SimulatedLine::Memory meant = complete.exchange.memory();

        for (std::size_t answers = 0; answers < arrivals; ++answers) {
            SimulatedLine line(config);
            line.exchange.memory().fill(Before);
            line.exchange.setFaults(faults);
            QVERIFY(line.engine.startTransfer(M(mode)));
            sim::deliver(line.engine, line.port, answers);
            line.engine.stop();
            sim::runToIdle(line.engine, line.port);
            const std::string fault = stopFault(line, meant, Before);
            QVERIFY2(fault.empty(), ("after " + std::to_string(answers) + ": " + fault).c_str());
        }
    }

    // Only the last byte of an arrival is acted on.
    void bytesArrivingTogether()
    {
        SimulatedLine line;
        sim::Faults faults;
        faults.doubleAnswers = true;
        line.exchange.setFaults(faults);
        QVERIFY(line.run(M::ClockWrite));
        QCOMPARE(sentBy(line), ClockTranscript);

        line.exchange.setFaults({});
        QVERIFY(line.engine.startTransfer(M::ClockWrite));
        QVERIFY(line.port.sendByte('T').ok()); // its echo joins the echo of 'S'
        line.port.clearSent();
        QCOMPARE(sim::deliver(line.engine, line.port, 1), std::size_t(1));
        QCOMPARE(sentBy(line), Bytes {'A'});
        line.engine.abort();
        QCOMPARE(line.observer.ends.back(), TransferEnd::Stopped);
    }

    // With no timeout a silent exchange leaves the transfer waiting, and the stop too; a
    // second stop ends it at once, sending nothing.
    void noTimeout()
    {
        SimulatedLine line;
        line.engine.setResponseTimeout(0);
        line.exchange.setFaults(silentAfter(3));
        QVERIFY(line.engine.startTransfer(M::ClockWrite));
        sim::runToIdle(line.engine, line.port);
        QCOMPARE(line.engine.transferMode(), M::ClockWrite);
        QVERIFY(!line.port.timerArmed() && !line.engine.answerTimerArmed());
        line.engine.stop();
        sim::runToIdle(line.engine, line.port);
        QCOMPARE(line.engine.transferMode(), M::Stopping);
        QVERIFY(!line.port.timerArmed());
        line.port.clearSent();
        line.engine.stop();
        QVERIFY(idleAndQuiet(line));
        QVERIFY(line.port.sent().empty());
        QVERIFY(line.observer.errors.empty());
        QCOMPARE(line.observer.ends, Ends {TransferEnd::Stopped});
    }

    void failure_data()
    {
        QTest::addColumn<int>("when");
        QTest::newRow("sending 'S' fails") << 0;
        QTest::newRow("sending fails on an arrival") << 1;
        QTest::newRow("the port fails") << 2;
    }
    // A failure ends the transfer at once and is reported once.
    void failure()
    {
        QFETCH(int, when);
        SimulatedLine line;
        if (when == 0)
            line.port.disconnect();
        QCOMPARE(line.engine.startTransfer(M::AllWrite), when != 0);
        sim::deliver(line.engine, line.port, 3);
        if (when == 1) {
            line.port.disconnect();
            sim::deliver(line.engine, line.port, 1);
        } else if (when == 2) {
            line.engine.portFailed("adapter unplugged");
        }
        QVERIFY(idleAndQuiet(line));
        QVERIFY(!line.port.timerArmed());
        QCOMPARE(line.observer.errors.size(), std::size_t(1));
        QCOMPARE(line.observer.errors[0],
            std::string(when == 2 ? "adapter unplugged" : "The port sim is not open"));

        line.engine.portFailed("again");
        line.engine.timerFired();
        sim::runToIdle(line.engine, line.port);
        QCOMPARE(line.observer.errors.size(), std::size_t(1));
        QCOMPARE(line.observer.ends, Ends {TransferEnd::Failed});
    }

    void digitCodec()
    {
        QCOMPARE(DigitToNibble('P'), uint8_t(0));
        QCOMPARE(DigitToNibble('0'), uint8_t(10));
        QCOMPARE(DigitToNibble('#'), uint8_t(15));
        QCOMPARE(NibbleToText(10), std::string("0"));
        QCOMPARE(NibbleToText(12), std::string());
        QCOMPARE(NumberCharAt("12", 2), ' ');
    }
};

QTEST_APPLESS_MAIN(TransferEngineTest)
#include "tst_transferengine.moc"
