#include "TcpExchange.h"
#include "WaitOnPort.h"
#include "config/ExchangeConfig.h"
#include "link/TransferEngine.h"
#include "qtlink/AddressedPort.h"
#include "qtlink/TraceFile.h"
#include "qtlink/TracingPort.h"
#include "tests/link/FixedClock.h"
#include "tests/link/RecordingObserver.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace ornis;

// The line trace of short transfers over loopback TCP, line by line.
class LineTraceTest : public QObject
{
    Q_OBJECT

private slots:
    void traceOfAClockWrite_data()
    {
        QTest::addColumn<int>("silentAfter"); // -1: the exchange answers everything
        QTest::addColumn<QStringList>("lines");
        // The answer to each byte comes back before the next one leaves. The step shows
        // while DataPhase is set: from a data byte to its answer, when the engine's step is
        // already the next one.
        const QStringList opening {"TX 53 ClockWrite", "RX 53 ClockWrite", "TX 54 ClockWrite",
            "RX 54 ClockWrite", "TX 41 ClockWrite", "RX 41 ClockWrite"};
        QStringList whole = opening;
        whole << "TX D0 ClockWrite"
              << "RX D0 ClockWrite"
              << "TX 80 ClockWrite"
              << "RX 80 ClockWrite";
        const char *data[] = {"23", "59", "58", "31", "12", "09"};
        for (int step = 0; step < 6; ++step) {
            whole << "TX 57 ClockWrite"
                  << "RX 57 ClockWrite"
                  << QStringLiteral("TX %1 ClockWrite").arg(QLatin1String(data[step]))
                  << QStringLiteral("RX %1 ClockWrite step %2")
                         .arg(QLatin1String(data[step]))
                         .arg(step + 1);
        }
        whole << "TX 45 ClockWrite"
              << "RX 45 ClockWrite"
              << "TX 44 ClockWrite"
              << "RX 44 ClockWrite"
              << "-- transfer over";
        QTest::newRow("complete") << -1 << whole;
        QTest::newRow("timeout") << 3
                                 << opening
                + QStringList {"TX D0 ClockWrite", "-- answer timer fired", "-- transfer over"};
    }
    void traceOfAClockWrite()
    {
        QFETCH(int, silentAfter);
        QFETCH(QStringList, lines);
        TcpExchange far(sim::TcpLine::Protocol::ComPort);
        QVERIFY(far.isListening());
        if (silentAfter >= 0) {
            sim::Faults silent;
            silent.silentAfter = std::size_t(silentAfter);
            far.exchange().setFaults(silent);
        }
        ExchangeConfig config;
        FixedClock clock;
        clock.time = {2009, 12, 31, 23, 59, 58};
        RecordingObserver observer;
        AddressedPort line;
        TracingPort port;
        port.setInner(&line);
        TransferEngine engine(config, port, clock, observer);
        engine.setResponseTimeout(300);
        connectPortToEngine(port, engine);
        QTemporaryDir dir;
        const QString path = dir.filePath("trace.txt");
        Status opened = Status::success();
        port.startTrace(TraceFile::single(path, opened), engine);
        QVERIFY(opened.ok());
        QVERIFY(line.open(far.address()).ok());

        QVERIFY(engine.startTransfer(TransferMode::ClockWrite));
        QVERIFY(waitOnPort(port, [&] { return engine.isIdle(); }));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList written
            = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(written.size() > 2);
        QVERIFY(
            written[0].startsWith("# ") && written[0].endsWith(", transfer on " + far.address()));
        QVERIFY(written[1].startsWith("#"));
        // The time since the transfer started, then the rest of the line.
        const QRegularExpression timed(QStringLiteral("^ *(\\d+\\.\\d{3}) (.*)$"));
        QStringList rest;
        double previous = 0;
        for (const QString &entry : written.mid(2)) {
            const QRegularExpressionMatch match = timed.match(entry);
            QVERIFY2(match.hasMatch(), qPrintable(entry));
            QVERIFY(match.captured(1).toDouble() >= previous);
            previous = match.captured(1).toDouble();
            rest.append(match.captured(2));
        }
        QCOMPARE(rest, lines);
    }
};

QTEST_GUILESS_MAIN(LineTraceTest)
#include "tst_linetrace.moc"
