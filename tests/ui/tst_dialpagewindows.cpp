#include "ui/pages/DialPageWindows.h"

#include <QTest>

using namespace ornis;

Q_DECLARE_METATYPE(ornis::DialTable)

class DialPageWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void rowsShowRecords_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("record"); // -1: the row shows no record
        QTest::addColumn<QString>("label");
        const auto sd = DialTable::ShortDials;
        const auto pe = DialTable::PE;
        // The page test reads every tab through the window; here the rows no tab shows.
        QTest::newRow("first short dial") << sd << 0 << 0 << 0 << "810:";
        QTest::newRow("right panel of 810-819") << sd << 0 << 10 << -1 << "";
        QTest::newRow("no sixth short-dial tab") << sd << 5 << 0 << -1 << "";
        QTest::newRow("PE 05") << pe << 0 << 5 << 5 << "05:";
        QTest::newRow("PE row 21") << pe << 4 << 20 << -1 << "";
        QTest::newRow("PE tab before the first") << pe << -1 << 0 << -1 << "";
    }
    void rowsShowRecords()
    {
        QFETCH(DialTable, table);
        QFETCH(int, tab);
        QFETCH(int, row);
        QFETCH(int, record);
        QFETCH(QString, label);
        const std::optional<int> shown = dialRecordAt(table, tab, row);
        QCOMPARE(shown.value_or(-1), record);
        if (shown)
            QCOMPARE(QString::fromStdString(dialRowLabel(table, *shown)), label);
    }
};

QTEST_APPLESS_MAIN(DialPageWindowsTest)
#include "tst_dialpagewindows.moc"
