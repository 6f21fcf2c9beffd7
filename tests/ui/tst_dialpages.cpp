#include "WindowFixture.h"
#include "config/DialPageWindows.h"
#include "config/FactoryDefaults.h"
#include "link/DialSlots.h"
#include "link/TransferEngine.h"
#include "tests/common/SampleConfig.h"
#include "ui/MainPages.h"
#include "ui/widgets/DialNumberEdit.h"

#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace ornis;

Q_DECLARE_METATYPE(ornis::DialTable)

namespace {

constexpr int ShortDialAddress = 0x200;
constexpr int PEAddress = 0x660;
constexpr int TransferBound = 20000; // ms

void putTablesIntoExchange(sim::VirtualExchange &exchange, const ExchangeConfig &config)
{
    for (int k = 0; k < ShortDialImageSize; ++k)
        exchange.memory()[std::size_t(ShortDialAddress + k)] = *shortDialImageByte(config, k);
    for (int k = 0; k < PEImageSize; ++k)
        exchange.memory()[std::size_t(PEAddress + k)] = *peImageByte(config, k);
}

// The two tables as the exchange holds them, decoded as a read would.
ExchangeConfig tablesInExchange(const sim::VirtualExchange &exchange)
{
    ExchangeConfig config;
    for (int k = 0; k < ShortDialImageSize; ++k)
        storeShortDialImageByte(config, k, exchange.memory()[std::size_t(ShortDialAddress + k)]);
    for (int k = 0; k < PEImageSize; ++k)
        storePEImageByte(config, k, exchange.memory()[std::size_t(PEAddress + k)]);
    return config;
}

// What a row of the numbered tables shows, told by its label: "823:" -> "823P1".
QString numberNamedBy(DialTable table, const QString &label)
{
    const QString record = label.chopped(1);
    return table == DialTable::ShortDials ? record + QStringLiteral("P1")
                                          : QStringLiteral("P") + record;
}

// The window shown on screen, driven by mouse and keyboard.
struct DialWindow
{
    DialWindow()
    {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the window was not shown");
    }

    template<typename Widget = QWidget> Widget &get(const QString &name) const
    {
        auto *widget = window->findChild<Widget *>(name);
        if (!widget)
            qFatal("no child %s", qPrintable(name));
        return *widget;
    }
    static QString rowName(const char *prefix, DialTable table, int k)
    {
        return QStringLiteral("%1%2%3")
            .arg(QLatin1String(prefix),
                table == DialTable::ShortDials ? QLatin1String("Templ") : QLatin1String("PETempl"))
            .arg(k);
    }
    QLabel &label(DialTable table, int k) const { return get<QLabel>(rowName("lbl", table, k)); }
    QComboBox &line(DialTable table, int k) const
    {
        return get<QComboBox>(rowName("cb", table, k));
    }
    DialNumberEdit &number(DialTable table, int k) const
    {
        return get<DialNumberEdit>(rowName("med", table, k));
    }

    void openPage(MainPage page) const
    {
        QTabBar *bar = get<QTabWidget>(QStringLiteral("pcMain")).tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(int(page)).center());
    }
    static MainPage pageOf(DialTable table)
    {
        return table == DialTable::ShortDials ? MainPage::ShortDials : MainPage::PE;
    }
    void openTab(DialTable table, int tab) const
    {
        openPage(pageOf(table));
        auto &bar = get<QTabBar>(table == DialTable::ShortDials ? QStringLiteral("tcShortDials")
                                                                : QStringLiteral("tcPE"));
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(tab).center());
    }
    // Clicks into the field and types `text`, also letters beyond ASCII.
    static void type(QWidget &edit, const QString &text)
    {
        QTest::mouseClick(&edit, Qt::LeftButton);
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), {});
    }
    // Down `steps` entries from the entry shown, by the keyboard.
    static void pickLine(QComboBox &line, int steps)
    {
        line.setFocus();
        for (int i = 0; i < steps; ++i)
            QTest::keyClick(&line, Qt::Key_Down);
    }
    void click(const QString &button) const
    {
        QTest::mouseClick(&get<QPushButton>(button), Qt::LeftButton);
    }
    // Runs the event loop until the transfer is over; the instant exchange answers at once.
    [[nodiscard]] bool waitUntilIdle() const
    {
        const QDeadlineTimer deadline(TransferBound);
        while (!window->engine().isIdle() && !deadline.hasExpired())
            QCoreApplication::processEvents();
        return window->engine().isIdle();
    }
    static QString suffix(DialTable table)
    {
        return table == DialTable::ShortDials ? QStringLiteral("ShortDials")
                                              : QStringLiteral("PE");
    }

    WindowFixture fixture;
    std::unique_ptr<TMainForm> window = fixture.makeWindow();
    ExchangeConfig &config = window->config();
};

} // namespace

class DialPagesTest : public QObject
{
    Q_OBJECT

private slots:
    void eachTabShowsItsWindow_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("panelLabels"); // first and last label of each panel
        const auto sd = DialTable::ShortDials;
        const auto pe = DialTable::PE;
        QTest::newRow("810-819") << sd << 0 << QStringList {"810:", "819:"};
        QTest::newRow("820-839") << sd << 1 << QStringList {"820:", "829:", "830:", "839:"};
        QTest::newRow("840-859") << sd << 2 << QStringList {"840:", "849:", "850:", "859:"};
        QTest::newRow("860-879") << sd << 3 << QStringList {"860:", "869:", "870:", "879:"};
        QTest::newRow("880-899") << sd << 4 << QStringList {"880:", "889:", "890:", "899:"};
        QTest::newRow("PIN 20-39") << pe << 0 << QStringList {"00:", "09:", "10:", "19:"};
        QTest::newRow("LCR 20-59") << pe << 1 << QStringList {"20:", "29:", "50:", "59:"};
        QTest::newRow("LCR 30-69") << pe << 2 << QStringList {"30:", "39:", "60:", "69:"};
        QTest::newRow("LCR 40-79") << pe << 3 << QStringList {"40:", "49:", "70:", "79:"};
        QTest::newRow("PE 80-89") << pe << 4 << QStringList {"80:", "89:", "90:", "99:"};
    }
    void eachTabShowsItsWindow()
    {
        QFETCH(DialTable, table);
        QFETCH(int, tab);
        QFETCH(QStringList, panelLabels);
        DialWindow w;
        w.config = testing::numberedDialTables();
        w.window->RefreshAllViews();
        w.openTab(table, 2); // from a tab of 20 rows, so that tab 0 must hide the right ones
        w.openTab(table, tab);

        const int rows = int(panelLabels.size()) * 5;
        QStringList shownLabels;
        for (int k = 1; k <= DialRowCount; ++k) {
            QLabel &label = w.label(table, k);
            QCOMPARE(label.isVisibleTo(w.window.get()), k <= rows);
            if (k > rows)
                continue;
            if (k % 10 == 1 || k % 10 == 0)
                shownLabels.append(label.text());
            QCOMPARE(w.number(table, k).text(), numberNamedBy(table, label.text()));
        }
        QCOMPARE(shownLabels, panelLabels);
        if (table == DialTable::ShortDials) {
            QCOMPARE(w.get(QStringLiteral("pnlTempl2")).isVisibleTo(w.window.get()), tab != 0);
            // The left panel keeps its width when the right one hides.
            QCOMPARE(w.get(QStringLiteral("pnlTempl1")).width(),
                w.get(QStringLiteral("pnlTempl2")).width());
        }
    }

    void charactersTypedIntoANumber_data()
    {
        QTest::addColumn<QString>("shown"); // the model's number before typing
        QTest::addColumn<QString>("pasted"); // pasted before the keys, when not empty
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("number");
        QTest::newRow("digits and P") << ""
                                      << ""
                                      << "0P12"
                                      << "0P12";
        QTest::newRow("blank") << ""
                               << ""
                               << "1 2"
                               << "12";
        QTest::newRow("star, hash, small p") << "5"
                                             << ""
                                             << "*#p"
                                             << "5";
        QTest::newRow("15th digit") << ""
                                    << ""
                                    << "123456789012345"
                                    << "12345678901234";
        QTest::newRow("a blank from the model stays") << "1 2"
                                                      << ""
                                                      << "3"
                                                      << "1 23";
        QTest::newRow("15 from the model: no more") << "123456789012345"
                                                    << ""
                                                    << "6"
                                                    << "123456789012345";
        QTest::newRow("15 from the model: deleting") << "123456789012345"
                                                     << ""
                                                     << "\b"
                                                     << "12345678901234";
        QTest::newRow("a pasted number loses its blanks") << ""
                                                          << "603 12*3"
                                                          << ""
                                                          << "603123";
    }
    void charactersTypedIntoANumber()
    {
        QFETCH(QString, shown);
        QFETCH(QString, pasted);
        QFETCH(QString, keys);
        QFETCH(QString, number);
        DialNumberEdit edit;
        edit.setModelText(shown);
        QCOMPARE(edit.text(), shown);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        edit.setFocus();
        edit.end(false);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keySequence(&edit, QKeySequence::Paste);
        }
        QTest::keyClicks(&edit, keys);
        QCOMPARE(edit.text(), number);
    }

    void editsAreStoredAtTheirMoments_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::addColumn<QString>("moment");
        QTest::addColumn<bool>("stored");
        const auto sd = DialTable::ShortDials;
        const auto pe = DialTable::PE;
        QTest::newRow("short dials, another tab") << sd << "tab" << true;
        QTest::newRow("short dials, another page") << sd << "page" << true;
        QTest::newRow("short dials, read declined") << sd << "btReceive" << true;
        QTest::newRow("PE, another tab") << pe << "tab" << true;
        QTest::newRow("PE, another page: not yet") << pe << "page" << false;
        QTest::newRow("PE, reset declined") << pe << "btDef" << true;
    }
    void editsAreStoredAtTheirMoments()
    {
        QFETCH(DialTable, table);
        QFETCH(QString, moment);
        QFETCH(bool, stored);
        DialWindow w;
        w.fixture.dialogs.answerYes = false;
        const ExchangeConfig before = w.config;
        w.openTab(table, 1);
        DialWindow::type(w.number(table, 3), QStringLiteral("0P12"));
        DialWindow::pickLine(w.line(table, 3), 3);
        if (table == DialTable::ShortDials)
            DialWindow::type(w.get(QStringLiteral("edTempl3")), QStringLiteral("Jan Novák ñ"));

        if (moment == u"tab")
            w.openTab(table, 3);
        else if (moment == u"page")
            w.openPage(MainPage::Setup);
        else
            w.click(moment + DialWindow::suffix(table));

        ExchangeConfig expected = before;
        if (stored && table == DialTable::ShortDials)
            expected.ShortDialTable[12] = {3, "0P12", "Jan Nov\xe1k "}; // ñ has no byte
        if (stored && table == DialTable::PE)
            expected.PETable[22] = {3, "0P12"};
        QCOMPARE(w.config, expected);
    }

    void aWriteRightAfterTypingSendsTheTypedNumber_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("record");
        QTest::newRow("short dial 850") << DialTable::ShortDials << 2 << 11 << 40;
        QTest::newRow("PE 99") << DialTable::PE << 4 << 20 << 99;
    }
    void aWriteRightAfterTypingSendsTheTypedNumber()
    {
        QFETCH(DialTable, table);
        QFETCH(int, tab);
        QFETCH(int, k);
        QFETCH(int, record);
        DialWindow w;
        w.openTab(table, tab);
        DialWindow::type(w.number(table, k), QStringLiteral("P555"));
        QVERIFY(w.number(table, k).hasFocus());
        QTest::keyClick(&w.number(table, k), Qt::Key_Z, Qt::AltModifier); // "&Zapsat"
        QTRY_COMPARE(w.fixture.dialogs.questions.size(), 1); // the button clicks itself

        QVERIFY(w.waitUntilIdle());

        const ExchangeConfig inExchange
            = tablesInExchange(w.fixture.ports.exchangePort().exchange);
        if (table == DialTable::ShortDials)
            QCOMPARE(inExchange.ShortDialTable[std::size_t(record)].Number, "P555");
        else
            QCOMPARE(inExchange.PETable[std::size_t(record)].Number, "P555");
    }

    void theRowsFollowARead_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::addColumn<int>("tab");
        QTest::newRow("short dials 860-879") << DialTable::ShortDials << 3;
        QTest::newRow("PE 80-89") << DialTable::PE << 4;
    }
    void theRowsFollowARead()
    {
        QFETCH(DialTable, table);
        QFETCH(int, tab);
        DialWindow w;
        putTablesIntoExchange(
            w.fixture.ports.exchangePort().exchange, testing::numberedDialTables());
        w.openTab(table, tab);
        w.click(QStringLiteral("btReceive") + DialWindow::suffix(table));
        const auto rowsShowTheTable = [&] {
            for (int k = 1; k <= DialRowCount; ++k) {
                const int record = *dialRecordAt(table, tab, k - 1);
                const std::string &number = table == DialTable::ShortDials
                    ? w.config.ShortDialTable[size_t(record)].Number
                    : w.config.PETable[size_t(record)].Number;
                if (w.number(table, k).text().toStdString() != number)
                    return false;
            }
            return true;
        };
        const QDeadlineTimer deadline(TransferBound);
        while (!w.window->engine().isIdle() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            QVERIFY2(rowsShowTheTable(), "a row lags behind the read");
        }
        QVERIFY(w.window->engine().isIdle());
        for (int k = 1; k <= DialRowCount; ++k)
            QCOMPARE(w.number(table, k).text(), numberNamedBy(table, w.label(table, k).text()));
    }

    void aLineWithoutAnEntryIsStoredAsNone_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<int>("shownEntry");
        QTest::addColumn<int>("storedLine");
        const auto sd = DialTable::ShortDials;
        const auto pe = DialTable::PE;
        QTest::newRow("short dial, line 6 from a read") << sd << 6 << QByteArray("12") << -1 << -1;
        QTest::newRow("short dial, none") << sd << -1 << QByteArray("") << -1 << -1;
        QTest::newRow("short dial, 94") << sd << 5 << QByteArray("") << 5 << 5;
        QTest::newRow("PE, 95") << pe << 6 << QByteArray("9") << 6 << 6;
        QTest::newRow("PE, line 7") << pe << 7 << QByteArray("9") << -1 << -1;
        // Numbers the field would refuse as typed are shown and kept as they are.
        QTest::newRow("a blank and a star") << sd << 2 << QByteArray("1 2*") << 2 << 2;
        QTest::newRow("15 digits") << pe << 1 << QByteArray("123456789012345") << 1 << 1;
        QTest::newRow("a letter of the code page") << sd << 1 << QByteArray("\x8a\xe8") << 1 << 1;
    }
    void aLineWithoutAnEntryIsStoredAsNone()
    {
        QFETCH(DialTable, table);
        QFETCH(int, line);
        QFETCH(QByteArray, number);
        QFETCH(int, shownEntry);
        QFETCH(int, storedLine);
        DialWindow w;
        ShortDialRecord &dial = w.config.ShortDialTable[0];
        PERecord &pe = w.config.PETable[0];
        const std::string comment = "  padded comment \xa7 ";
        if (table == DialTable::ShortDials)
            dial = {line, number.toStdString(), comment};
        else
            pe = {line, number.toStdString()};
        w.window->RefreshAllViews();
        w.openTab(table, 0);
        QCOMPARE(w.line(table, 1).currentIndex(), shownEntry);
        w.openTab(table, 1);

        QCOMPARE(table == DialTable::ShortDials ? dial.Line : pe.Line, storedLine);
        QCOMPARE(table == DialTable::ShortDials ? dial.Number : pe.Number, number.toStdString());
        QCOMPARE(dial.Comment, table == DialTable::ShortDials ? comment : std::string());
    }

    void factoryValuesOfAPage_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::newRow("short dials") << DialTable::ShortDials;
        QTest::newRow("PE") << DialTable::PE;
    }
    void factoryValuesOfAPage()
    {
        QFETCH(DialTable, table);
        DialWindow w;
        w.config = testing::awayFromFactory();
        w.window->RefreshAllViews();
        w.openTab(table, 1);
        DialWindow::type(w.number(table, 1), QStringLiteral("7"));
        w.click(QStringLiteral("btDef") + DialWindow::suffix(table));
        QCOMPARE(
            w.fixture.dialogs.questions, QStringList(QStringLiteral("Přednastavit hodnoty ?")));

        ExchangeConfig expected = testing::awayFromFactory();
        if (table == DialTable::ShortDials)
            ResetShortDials(expected);
        else
            ResetPE(expected);
        QCOMPARE(w.config, expected);
        for (int k = 1; k <= DialRowCount; ++k) {
            QCOMPARE(w.line(table, k).currentText(), QStringLiteral("vyp"));
            QCOMPARE(w.number(table, k).text(), QString());
            if (table == DialTable::ShortDials)
                QCOMPARE(w.get<QLineEdit>(DialWindow::rowName("ed", table, k)).text(), QString());
        }
    }

    void thePETabFollowsTheModel()
    {
        DialWindow w;
        w.config = testing::numberedDialTables();
        w.window->RefreshAllViews();
        w.openTab(DialTable::PE, 1);
        auto &models = w.get<QComboBox>(QStringLiteral("cbCentralType"));
        const auto &pages = w.get<QTabWidget>(QStringLiteral("pcMain"));
        const auto pick = [&](int steps, Qt::Key key) {
            w.openPage(MainPage::Setup);
            for (int i = 0; i < steps; ++i)
                QTest::keyClick(&models, key);
        };
        pick(1, Qt::Key_Down);
        QVERIFY(!pages.isTabVisible(int(MainPage::PE)));
        pick(1, Qt::Key_Down);
        QVERIFY(!pages.isTabVisible(int(MainPage::PE)));
        pick(2, Qt::Key_Up);
        QVERIFY(pages.isTabVisible(int(MainPage::PE)));
        QCOMPARE(w.config.PETable, testing::numberedDialTables().PETable);
        w.openPage(MainPage::PE);
        QCOMPARE(w.number(DialTable::PE, 11).text(), QStringLiteral("P50"));
    }
};

QTEST_MAIN(DialPagesTest)
#include "tst_dialpages.moc"
