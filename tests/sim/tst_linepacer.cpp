#include "sim/LinePacer.h"

#include <QTest>

using ornis::sim::LinePacer;

class LinePacerTest : public QObject
{
    Q_OBJECT

private slots:
    void unpacedAnswersAtOnce()
    {
        LinePacer pacer;
        QCOMPARE(pacer.answerDue(1000, 1), int64_t(1000));
        QCOMPARE(pacer.answerDue(1000, 2), int64_t(1000));
    }

    // 2400 baud, 10 bits a byte: 4,166,666 ns a byte.
    void eachDirectionCarriesOneByteAtATime()
    {
        LinePacer pacer(2400);
        const int64_t byte = pacer.byteNs();
        QCOMPARE(byte, int64_t(4'166'666));
        // Lock-step: the request, then its answer.
        QCOMPARE(pacer.answerDue(0, 1), 2 * byte);
        QCOMPARE(pacer.answerDue(10 * byte, 1), 12 * byte);
        // Two requests sent together: the second is in a byte later, so is its answer.
        QCOMPARE(pacer.answerDue(20 * byte, 1), 22 * byte);
        QCOMPARE(pacer.answerDue(20 * byte, 1), 23 * byte);
        // Two bytes of answer take two byte times.
        QCOMPARE(pacer.answerDue(30 * byte, 2), 33 * byte);
    }
};

QTEST_APPLESS_MAIN(LinePacerTest)
#include "tst_linepacer.moc"
