#include "cli/StopSignals.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

// A signal reaches the event loop as one event; a second one ends the process at once.

using ornis::cli::StopSignals;

class TestStopSignals : public QObject
{
    Q_OBJECT

private slots:
    void theFirstSignalIsAnEventAndTheSecondQuits()
    {
        StopSignals stopSignals;
        QSignalSpy stops(&stopSignals, &StopSignals::stopRequested);

        // The child shares the handlers and the socket pair: its first SIGTERM reaches this
        // process's loop, its second ends it at once.
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::raise(SIGTERM);
            ::raise(SIGTERM);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 128 + SIGTERM);

        QTRY_COMPARE(stops.count(), 1);
        QCOMPARE(stops.at(0).at(0).toInt(), SIGTERM);
        QCOMPARE(stopSignals.exitStatus(), 128 + SIGTERM);
    }

    void aNewInstanceTakesSignalsAgain()
    {
        StopSignals stopSignals;
        QSignalSpy stops(&stopSignals, &StopSignals::stopRequested);
        ::raise(SIGHUP);
        QTRY_COMPARE(stops.count(), 1);
        QCOMPARE(stopSignals.received(), SIGHUP);
    }
};

QTEST_GUILESS_MAIN(TestStopSignals)
#include "tst_stopsignals.moc"
