#include "config/DialPageWindows.h"

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
        QTest::newRow("810") << sd << 0 << 0 << 0 << "810:";
        QTest::newRow("819") << sd << 0 << 9 << 9 << "819:";
        QTest::newRow("right panel of 810-819") << sd << 0 << 10 << -1 << "";
        QTest::newRow("820") << sd << 1 << 0 << 10 << "820:";
        QTest::newRow("830 on the right") << sd << 1 << 10 << 20 << "830:";
        QTest::newRow("859") << sd << 2 << 19 << 49 << "859:";
        QTest::newRow("899") << sd << 4 << 19 << 89 << "899:";
        QTest::newRow("no sixth short-dial tab") << sd << 5 << 0 << -1 << "";
        QTest::newRow("PE 00") << pe << 0 << 0 << 0 << "00:";
        QTest::newRow("PE 10 on the right") << pe << 0 << 10 << 10 << "10:";
        QTest::newRow("PE 29") << pe << 1 << 9 << 29 << "29:";
        QTest::newRow("PE 50 on the right") << pe << 1 << 10 << 50 << "50:";
        QTest::newRow("PE 79") << pe << 3 << 19 << 79 << "79:";
        QTest::newRow("PE 99") << pe << 4 << 19 << 99 << "99:";
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
