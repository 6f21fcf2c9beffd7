#include "ui/transfer/PacedRepaints.h"

#include <QTest>
#include <vector>

using namespace ornis;

namespace {

using M = TransferMode;

FieldRange cells(Field field, int first, int last)
{
    return {{field, first}, {field, last}};
}

bool same(const FieldRange &a, const FieldRange &b)
{
    return a.first == b.first && a.last == b.last;
}

// What the views were asked to show; the grids count when told whole.
struct Shown
{
    std::vector<std::pair<bool, int>> progress;
    QStringList status;
    std::vector<FieldRange> stored;
    int grids = 0;
    std::vector<bool> running;

    PacedRepaints::Views views()
    {
        return {[this](bool visible, int percent) { progress.emplace_back(visible, percent); },
            [this](const QString &text) { status.append(text); },
            [this](const FieldRange &range) {
                if (same(range, fieldRange(Field::ExtensionGrid)))
                    ++grids;
                else
                    stored.push_back(range);
            },
            [this](bool on) { running.push_back(on); }};
    }
};

} // namespace

class PacedRepaintsTest : public QObject
{
    Q_OBJECT

private slots:
    // The bar, its steps, the status and the stored values wait for the frame and come as
    // one call each, the ranges merged per field; that a transfer runs shows at once.
    // Idle, the status shows at once.
    void aFrameShowsWhatCameSinceTheLast()
    {
        Shown shown;
        PacedRepaints paced(shown.views());
        paced.statusChanged(QStringLiteral("first"));
        paced.modeChanged(M::ServicesRead);
        QCOMPARE(shown.running, std::vector<bool> {true});
        paced.statusChanged(QStringLiteral("second"));
        paced.statusChanged(QStringLiteral("third"));
        for (int percent = 0; percent <= 40; ++percent)
            paced.progressChanged(true, percent);
        paced.valuesStored(cells(Field::Redirect, 5, 5));
        paced.valuesStored(cells(Field::BackRing, 3, 3));
        paced.valuesStored(cells(Field::Redirect, 2, 3));
        paced.valuesStored(cells(Field::Redirect, 9, 9));
        QVERIFY(shown.progress.empty());
        QCOMPARE(shown.status, QStringList {QStringLiteral("first")});
        QVERIFY(shown.stored.empty());
        QVERIFY(paced.pending());

        paced.flush();
        QCOMPARE(shown.progress, (std::vector<std::pair<bool, int>> {{true, 40}}));
        QCOMPARE(shown.status, (QStringList {QStringLiteral("first"), QStringLiteral("third")}));
        QCOMPARE(shown.stored.size(), std::size_t(2));
        QVERIFY(same(shown.stored[0], cells(Field::Redirect, 2, 9)));
        QVERIFY(same(shown.stored[1], cells(Field::BackRing, 3, 3)));
        QVERIFY(!paced.pending());
        paced.flush();
        QCOMPARE(shown.stored.size(), std::size_t(2)); // nothing twice
        QCOMPARE(shown.running.size(), std::size_t(1));
    }

    // At the end the stored values show and the bar goes at once; the word on the end
    // replaces the word still waiting, and the end of the transfer shows with the frame,
    // unless the next transfer started first.
    void theEndShowsTheValuesAtOnceAndTheRestWithTheFrame()
    {
        Shown shown;
        PacedRepaints paced(shown.views());
        paced.modeChanged(M::ServicesRead);
        paced.progressChanged(true, 10);
        paced.flush();
        paced.statusChanged(QStringLiteral("reading"));
        paced.valuesStored(cells(Field::Redirect, 5, 5));
        paced.modeChanged(M::Idle);
        paced.progressChanged(false, 0);
        QCOMPARE(shown.progress.back(), std::make_pair(false, 10));
        QCOMPARE(shown.stored.size(), std::size_t(1));
        paced.statusChanged(QStringLiteral("done"));
        QCOMPARE(shown.status, QStringList {QStringLiteral("done")});
        QCOMPARE(shown.running, std::vector<bool> {true});
        QVERIFY(paced.pending());

        paced.modeChanged(M::ServicesRead); // the next one, within the frame
        paced.modeChanged(M::Idle);
        QCOMPARE(shown.running, std::vector<bool> {true});
        paced.flush();
        QCOMPARE(shown.running, (std::vector<bool> {true, false}));
        QCOMPARE(shown.status, QStringList {QStringLiteral("done")});
        QCOMPARE(shown.progress.size(), std::size_t(2));
    }

    void theGridsWaitForTheEndOfTheSettingsBlock_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("next"); // what follows the settings block
        QTest::newRow("settings read, then the times")
            << int(M::SettingsRead) << int(M::TimesRead);
        QTest::newRow("whole read, then the times") << int(M::AllRead) << int(M::TimesRead);
        QTest::newRow("settings read cut short") << int(M::SettingsRead) << int(M::Idle);
        QTest::newRow("stopped") << int(M::AllRead) << int(M::Stopping);
    }
    // Grid values are not told while the settings block runs; when it is over, however it
    // ended, the grids are refreshed once; the other values are told as they come.
    void theGridsWaitForTheEndOfTheSettingsBlock()
    {
        QFETCH(int, start);
        QFETCH(int, next);
        Shown shown;
        PacedRepaints paced(shown.views());
        paced.modeChanged(M(start));
        for (int cell = 0; cell < 16; ++cell)
            paced.valuesStored(cells(Field::GlobalExtensionGrid, cell, cell));
        paced.valuesStored(cells(Field::Counter, 8, 8));
        paced.valuesStored(cells(Field::ExtensionGrid, 4, 10));
        paced.flush();
        QCOMPARE(shown.grids, 0);
        QCOMPARE(shown.stored.size(), std::size_t(1));
        QVERIFY(same(shown.stored[0], cells(Field::Counter, 8, 8)));

        paced.modeChanged(M(next));
        if (M(next) != M::Idle) {
            paced.valuesStored(cells(Field::DayStart, 0, 0));
            paced.modeChanged(M::Idle);
        }
        QCOMPARE(shown.grids, 1);
        paced.flush();
        paced.modeChanged(M::Idle);
        QCOMPARE(shown.grids, 1);
    }

    // A settings read that stored no grid value yet leaves the grids alone.
    void noGridValueNoRefresh()
    {
        Shown shown;
        PacedRepaints paced(shown.views());
        paced.modeChanged(M::SettingsRead);
        paced.valuesStored(cells(Field::Counter, 8, 8));
        paced.modeChanged(M::Idle);
        QCOMPARE(shown.grids, 0);
        QCOMPARE(shown.stored.size(), std::size_t(1));
    }
};

QTEST_MAIN(PacedRepaintsTest)
#include "tst_pacedrepaints.moc"
