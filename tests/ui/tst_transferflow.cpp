#include "WindowDriver.h"
#include "link/TransferEngine.h"
#include "sim/Preload.h"
#include "tests/common/SampleConfig.h"
#include "ui/MainPages.h"
#include "ui/document/Document.h"
#include "ui/document/UserSettings.h"
#include "ui/editing/ConfigEditor.h"
#include "ui/transfer/TransferFlow.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace ornis;

namespace {

// The transfers of a document on an exchange in process, with no window: what the views
// would be told is kept.
struct FlowUnderTest
{
    explicit FlowUnderTest(MainPage page)
        : document({dialogs, nullptr, clock, QString(), QString()})
        , flow(document,
              {port, clock, settings, [this] { return int(pageInView); },
                  {
                      [](bool, int) {},
                      [this](const QString &text) { said.append(text); },
                      [this](const FieldRange &range) { stored.push_back(range); },
                      [](bool) {},
                  }})
        , pageInView(page)
    {
        port.open = true;
        connectPortToEngine(port, flow.engine());
    }

    [[nodiscard]] bool runToIdle()
    {
        const QDeadlineTimer deadline(TransferBound);
        while (!flow.engine().isIdle() && !deadline.hasExpired())
            QCoreApplication::processEvents();
        flow.findChild<PacedRepaints *>()->flush();
        return flow.engine().isIdle();
    }

    InstantExchangePort port;
    ScriptedDialogs dialogs;
    FixedClock clock;
    UserSettings settings {QString()};
    Document document;
    TransferFlow flow;
    MainPage pageInView;
    QStringList said;
    std::vector<FieldRange> stored;
};

} // namespace

class TransferFlowTest : public QObject
{
    Q_OBJECT

private slots:
    // A read of the page in view, once the user agrees: the document takes what the
    // exchange holds as one step of its history, and the views hear of the values.
    void aReadIsAskedForAndIsOneStep()
    {
        FlowUnderTest f(MainPage::Services);
        const ExchangeConfig sample = testing::awayFromFactory();
        QVERIFY(sim::writeIntoExchange(sample, f.port.exchange).ok());
        f.flow.askForTransfer(Direction::Receive);
        QCOMPARE(f.dialogs.questions, QStringList(QStringLiteral("Načíst data z ústředny ?")));
        QVERIFY(f.runToIdle());
        QCOMPARE(f.document.config().Services, sample.Services);
        QCOMPARE(f.document.config().Counters, factoryConfig().Counters);
        QCOMPARE(f.document.editor().history().undoText(), QStringLiteral("Načtení z ústředny"));
        QCOMPARE(f.said.last(), QStringLiteral("Načteno"));
        QVERIFY(!f.stored.empty());
        QVERIFY(f.document.unsavedBlocks().empty());
    }

    // A write asks, and asks again about call-backs to a line the services block cannot
    // carry; No sends nothing.
    void aWriteAsksFirst_data()
    {
        QTest::addColumn<bool>("callBackToALine");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("questions");
        QTest::newRow("No to the write") << false << false << 1;
        QTest::newRow("23 calls back line 92") << true << true << 2;
    }
    void aWriteAsksFirst()
    {
        QFETCH(bool, callBackToALine);
        QFETCH(bool, yes);
        QFETCH(int, questions);
        FlowUnderTest f(MainPage::Services);
        if (callBackToALine)
            f.document.editor().setValue({Field::BackRing, 2}, int64_t(17));
        f.dialogs.answerYes = yes;
        f.flow.askForTransfer(Direction::Send);
        QCOMPARE(f.dialogs.questions.size(), questions);
        QCOMPARE(
            f.dialogs.questions.last().contains(QStringLiteral("Pobočka 23")), callBackToALine);
        QVERIFY(f.runToIdle());
        QCOMPARE(f.port.sent.empty(), !yes);
    }

    // A comparison reads into a copy: the document keeps its values and the differences
    // are listed.
    void aComparisonLeavesTheDocumentAlone()
    {
        FlowUnderTest f(MainPage::ShortDials);
        ExchangeConfig exchange = factoryConfig();
        exchange.ShortDialTable[5].Number = "777";
        QVERIFY(sim::writeIntoExchange(exchange, f.port.exchange).ok());
        const ExchangeConfig before = f.document.config();
        f.flow.compare();
        QVERIFY(f.runToIdle());
        QCOMPARE(f.document.config(), before);
        QVERIFY(!f.document.editor().history().canUndo());
        QCOMPARE(f.dialogs.differences.size(), std::size_t(1));
        QCOMPARE(f.dialogs.differences[0].size(), std::size_t(1));
        QCOMPARE(f.dialogs.differences[0][0].right, QStringLiteral("777"));
    }

    // Closing during a write ends it first, remembers that for the next run, and lets the
    // window go once the exchange answered the stop: the exchange gets the data byte of a
    // 'W' sent, also with no answer timeout. An exchange that never answers holds the
    // window until one answer timeout, or without one until closing once more.
    void closingDuringAWriteEndsItFirst_data()
    {
        QTest::addColumn<int>("timeout");
        QTest::addColumn<bool>("answers");
        QTest::newRow("answer timeout") << DefaultAnswerTimeoutMs << true;
        QTest::newRow("no answer timeout") << 0 << true;
        QTest::newRow("no answer timeout, no answer") << 0 << false;
    }
    void closingDuringAWriteEndsItFirst()
    {
        QFETCH(int, timeout);
        QFETCH(bool, answers);
        FlowUnderTest f(MainPage::Setup);
        f.flow.engine().setResponseTimeout(timeout);
        QSignalSpy due(&f.flow, &TransferFlow::closeDue);
        QVERIFY(f.flow.mayClose());
        f.flow.askForTransfer(Direction::Send);
        QTRY_VERIFY(f.port.sent.size() > 10);
        if (!answers) {
            sim::Faults silent;
            silent.silentAfter = f.port.exchange.bytesReceived();
            f.port.exchange.setFaults(silent);
        }
        QVERIFY(!f.flow.mayClose());
        QCOMPARE(f.flow.engine().transferMode(), TransferMode::Stopping);
        if (answers) {
            QVERIFY(f.runToIdle());
            QTRY_COMPARE(due.size(), 1);
            QCOMPARE(f.port.sent.back(), uint8_t('X'));
        } else {
            QCoreApplication::processEvents();
            QCOMPARE(f.flow.engine().transferMode(), TransferMode::Stopping); // still waits
        }
        QVERIFY(f.flow.mayClose());
        QVERIFY(f.settings.takeWriteEndedByClosing().has_value());
        QVERIFY(f.dialogs.errors.isEmpty()); // the window goes: nothing more to tell
    }
};

QTEST_MAIN(TransferFlowTest)
#include "tst_transferflow.moc"
