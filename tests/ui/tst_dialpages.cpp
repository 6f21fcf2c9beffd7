#include "WindowDriver.h"
#include "config/FactoryDefaults.h"
#include "link/DialSlots.h"
#include "link/TransferEngine.h"
#include "tests/common/SampleConfig.h"
#include "ui/MainPages.h"
#include "ui/pages/DialPageWindows.h"
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
constexpr auto SD = DialTable::ShortDials;
constexpr auto PE = DialTable::PE;

// The two tables as the exchange holds them, decoded as a read would.
ExchangeConfig tablesInExchange(const sim::VirtualExchange &exchange)
{
    ExchangeConfig config;
    for (int k = 0; k < ShortDialImageSize; ++k)
        storeShortDialImageByte(config, k, exchange.memory()[size_t(ShortDialAddress + k)]);
    for (int k = 0; k < PEImageSize; ++k)
        storePEImageByte(config, k, exchange.memory()[size_t(PEAddress + k)]);
    return config;
}

// The number a row of testing::numberedDialTables() shows, told by its label.
QString numberNamedBy(DialTable table, const QString &label)
{
    const QString record = label.chopped(1);
    return table == SD ? record + QStringLiteral("P1") : QStringLiteral("P") + record;
}

// The window on screen, driven by mouse and keyboard.
struct DialWindow : WindowDriver
{
    DialWindow() { show(); }

    template<typename Widget = QWidget>
    Widget &get(const char *prefix, DialTable table, int k) const
    {
        const QString name = QLatin1String(prefix)
            + QLatin1String(table == SD ? "Templ" : "PETempl") + QString::number(k);
        return control<Widget>(name);
    }
    DialNumberEdit &number(DialTable table, int k) const
    {
        return get<DialNumberEdit>("med", table, k);
    }
    static void clickTab(QTabBar *bar, int index)
    {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void openPage(MainPage page) const { clickTab(pages().tabBar(), int(page)); }
    void openTab(DialTable table, int tab) const
    {
        openPage(table == SD ? MainPage::ShortDials : MainPage::PE);
        clickTab(window->findChild<QTabBar *>(
                     table == SD ? QStringLiteral("tcShortDials") : QStringLiteral("tcPE")),
            tab);
    }
    // Clicks into the field and types `text`, letters beyond ASCII as well.
    static void type(QWidget &edit, const QString &text)
    {
        QTest::mouseClick(&edit, Qt::LeftButton);
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), {});
    }
};

} // namespace

class DialPagesTest : public QObject
{
    Q_OBJECT

private slots:
    // A read on each tab: the rows follow it as it arrives and end with the tab's records.
    void aReadFillsTheWindowOfEachTab_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("labels"); // first and last row of each panel shown
        QTest::newRow("810-819") << SD << 0 << QStringList {"810:", "819:"};
        QTest::newRow("820-839") << SD << 1 << QStringList {"820:", "829:", "830:", "839:"};
        QTest::newRow("840-859") << SD << 2 << QStringList {"840:", "849:", "850:", "859:"};
        QTest::newRow("860-879") << SD << 3 << QStringList {"860:", "869:", "870:", "879:"};
        QTest::newRow("880-899") << SD << 4 << QStringList {"880:", "889:", "890:", "899:"};
        QTest::newRow("PIN 20-39") << PE << 0 << QStringList {"00:", "09:", "10:", "19:"};
        QTest::newRow("LCR 20-59") << PE << 1 << QStringList {"20:", "29:", "50:", "59:"};
        QTest::newRow("LCR 30-69") << PE << 2 << QStringList {"30:", "39:", "60:", "69:"};
        QTest::newRow("LCR 40-79") << PE << 3 << QStringList {"40:", "49:", "70:", "79:"};
        QTest::newRow("PE 80-89") << PE << 4 << QStringList {"80:", "89:", "90:", "99:"};
    }
    void aReadFillsTheWindowOfEachTab()
    {
        QFETCH(DialTable, table);
        QFETCH(int, tab);
        QFETCH(QStringList, labels);
        DialWindow w;
        const ExchangeConfig numbered = testing::numberedDialTables();
        sim::VirtualExchange::Memory &memory = w.exchange().memory();
        for (int k = 0; k < ShortDialImageSize; ++k)
            memory[size_t(ShortDialAddress + k)] = *shortDialImageByte(numbered, k);
        for (int k = 0; k < PEImageSize; ++k)
            memory[size_t(PEAddress + k)] = *peImageByte(numbered, k);
        w.openTab(table, 2); // from 20 rows, so that the first short-dial tab must hide ten
        w.openTab(table, tab);
        QTest::mouseClick(w.window->findChild<QPushButton *>(
                              table == SD ? "btReceiveShortDials" : "btReceivePE"),
            Qt::LeftButton);

        const QDeadlineTimer deadline(TransferBound);
        while (!w.window->engine().isIdle() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            repaintNow(*w.window);
            for (int k = 1; k <= DialRowCount; ++k) {
                const std::optional<int> r = dialRecordAt(table, tab, k - 1);
                const std::string &number = !r ? std::string()
                    : table == SD              ? w.config().ShortDialTable[size_t(*r)].Number
                                               : w.config().PETable[size_t(*r)].Number;
                QVERIFY2(!r || w.number(table, k).text().toStdString() == number, "a row lags");
            }
        }
        QVERIFY(w.window->engine().isIdle());
        const int rows = int(labels.size()) * 5;
        QStringList shown;
        for (int k = 1; k <= DialRowCount; ++k) {
            auto &label = w.get<QLabel>("lbl", table, k);
            QCOMPARE(label.isVisibleTo(w.window.get()), k <= rows);
            if (k > rows)
                continue;
            if (k % 10 <= 1)
                shown.append(label.text());
            QCOMPARE(w.number(table, k).text(), numberNamedBy(table, label.text()));
        }
        QCOMPARE(shown, labels);
        // The left panel keeps its width beside a hidden right one.
        QCOMPARE(w.get("pnl", table, 1).width(), w.get("pnl", table, 2).width());
    }

    void charactersTypedIntoANumber_data()
    {
        QTest::addColumn<QString>("shown"); // the model's number before typing
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("number");
        // clang-format off
        QTest::newRow("digits and P") << "" << "" << "0P12" << "0P12";
        QTest::newRow("blank") << "" << "" << "1 2" << "12";
        QTest::newRow("star, hash, small p") << "5" << "" << "*#p" << "5";
        QTest::newRow("15th digit") << "" << "" << "123456789012345" << "12345678901234";
        QTest::newRow("a blank of the model stays") << "1 2" << "" << "3" << "1 23";
        QTest::newRow("15 of the model, one more") << "123456789012345" << "" << "6"
                                                   << "123456789012345";
        QTest::newRow("15 of the model, one less") << "123456789012345" << "" << "\b"
                                                   << "12345678901234";
        QTest::newRow("pasted") << "" << "603 12*3" << "" << "603123";
        // clang-format on
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
        edit.setFocus();
        edit.end(false);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keySequence(&edit, QKeySequence::Paste);
        }
        QTest::keyClicks(&edit, keys);
        QCOMPARE(edit.text(), number);
    }

    // Row 3 of the second tab is edited and the cursor left in its number; then `moment`.
    void editsAreStoredAtTheirMoments_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::addColumn<QString>("moment"); // a tab, a main page or a button
        QTest::addColumn<bool>("stored");
        QTest::newRow("short dials, another tab") << SD << "tab" << true;
        QTest::newRow("short dials, another page") << SD << "page" << true;
        QTest::newRow("short dials, read declined") << SD << "btReceiveShortDials" << true;
        QTest::newRow("short dials, write by Alt+Z") << SD << "Alt+Z" << true;
        QTest::newRow("PE, another tab") << PE << "tab" << true;
        QTest::newRow("PE, another page") << PE << "page" << true;
        QTest::newRow("PE, reset declined") << PE << "btDefPE" << true;
        QTest::newRow("PE, write by Alt+Z") << PE << "Alt+Z" << true;
    }
    void editsAreStoredAtTheirMoments()
    {
        QFETCH(DialTable, table);
        QFETCH(QString, moment);
        QFETCH(bool, stored);
        DialWindow w;
        const bool write = moment == u"Alt+Z";
        w.fixture.dialogs.answerYes = write;
        ExchangeConfig expected = w.config();
        w.openTab(table, 1);
        if (table == SD)
            DialWindow::type(w.get("ed", SD, 3), QStringLiteral("Jan Novák ñ"));
        auto &line = w.get<QComboBox>("cb", table, 3);
        line.setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&line, Qt::Key_Down);
        DialWindow::type(w.number(table, 3), QStringLiteral("0P12"));

        if (moment == u"tab") {
            w.openTab(table, 3);
        } else if (moment == u"page") {
            w.openPage(MainPage::Setup);
        } else if (write) {
            // The cursor stays in the number: "&Zapsat" clicks itself a moment later.
            QTest::keyClick(&w.number(table, 3), Qt::Key_Z, Qt::AltModifier);
            QTRY_COMPARE(w.fixture.dialogs.questions.size(), 1);
        } else {
            QPushButton *button = w.window->findChild<QPushButton *>(moment);
            QTest::mouseClick(button, Qt::LeftButton);
        }
        if (stored && table == SD)
            expected.ShortDialTable[12] = {3, "0P12", "Jan Nov\xe1k "}; // ñ has no byte
        if (stored && table == PE)
            expected.PETable[22] = {3, "0P12"};
        QVERIFY(w.runToIdle());
        QCOMPARE(w.config(), expected);
        const ExchangeConfig inExchange = tablesInExchange(w.exchange());
        if (write && table == SD)
            QCOMPARE(inExchange.ShortDialTable[12].Number, "0P12");
        if (write && table == PE)
            QCOMPARE(inExchange.PETable[22], expected.PETable[22]);
    }

    void aNumberOrLineTheRowCannotTakeIsKept_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<int>("shownEntry");
        QTest::addColumn<int>("storedLine");
        QTest::newRow("short dial, line 6 from a read") << SD << 6 << QByteArray("12") << -1 << 6;
        QTest::newRow("short dial, none") << SD << -1 << QByteArray() << -1 << -1;
        QTest::newRow("short dial, 94") << SD << 5 << QByteArray() << 5 << 5;
        QTest::newRow("PE, 95") << PE << 6 << QByteArray("9") << 6 << 6;
        QTest::newRow("PE, line 7") << PE << 7 << QByteArray("9") << -1 << 7;
        QTest::newRow("a blank and a star") << SD << 2 << QByteArray("1 2*") << 2 << 2;
        QTest::newRow("15 digits") << PE << 1 << QByteArray("123456789012345") << 1 << 1;
        QTest::newRow("letters of the code page") << SD << 1 << QByteArray("\x8a\xe8") << 1 << 1;
    }
    void aNumberOrLineTheRowCannotTakeIsKept()
    {
        QFETCH(DialTable, table);
        QFETCH(int, line);
        QFETCH(QByteArray, number);
        QFETCH(int, shownEntry);
        QFETCH(int, storedLine);
        DialWindow w;
        const std::string comment = "  padded \xa7 ";
        w.change([&](ExchangeConfig &c) {
            if (table == SD)
                c.ShortDialTable[0] = {line, number.toStdString(), comment};
            else
                c.PETable[0] = {line, number.toStdString()};
        });
        const ShortDialRecord &dial = w.config().ShortDialTable[0];
        const PERecord &pe = w.config().PETable[0];
        w.openTab(table, 0);
        QCOMPARE(w.get<QComboBox>("cb", table, 1).currentIndex(), shownEntry);
        w.openTab(table, 1); // stores the untouched rows of the first tab

        QCOMPARE(table == SD ? dial.Line : pe.Line, storedLine);
        QCOMPARE(table == SD ? dial.Number : pe.Number, number.toStdString());
        QCOMPARE(dial.Comment, table == SD ? comment : std::string());
    }

    // Ctrl+C copies the tab in view; Ctrl+V pastes a spreadsheet's rows from the focused row
    // down (a PE tab's rows 10 and 11 show records 29 and 50) or by the header's numbers.
    void rowsGoThroughTheClipboard()
    {
        DialWindow w;
        QClipboard &clipboard = *QGuiApplication::clipboard();
        w.openTab(PE, 1);
        clipboard.setText(QStringLiteral("91\t0P1\r\n95\t\r\n"));
        QTest::mouseClick(&w.number(PE, 10), Qt::LeftButton);
        QTest::keySequence(&w.number(PE, 10), QKeySequence::Paste);
        QCOMPARE(w.window->config().PETable[29], (PERecord {2, "0P1"}));
        QCOMPARE(w.window->config().PETable[50], (PERecord {6, ""}));
        QCOMPARE(w.number(PE, 10).text(), QStringLiteral("0P1"));
        w.window->actions().acUndo->trigger(); // the paste is one step
        QCOMPARE(w.window->config(), factoryConfig());
        QCOMPARE(w.number(PE, 10).text(), QString());

        w.openTab(SD, 0);
        clipboard.setText(QStringLiteral("Volba\tKomentář\n815\tSklad\n"));
        auto &line = w.get<QComboBox>("cb", SD, 1);
        line.setFocus();
        QTest::keySequence(&line, QKeySequence::Paste);
        QCOMPARE(w.window->config().ShortDialTable[5].Comment, "Sklad");
        QTest::keySequence(&line, QKeySequence::Copy);
        QStringList copied = clipboard.text().split(QStringLiteral("\r\n"));
        QCOMPARE(copied.size(), 12); // the header, ten rows and the end of the last line
        QCOMPARE(copied[6], QStringLiteral("815\tvyp\t\tSklad"));

        clipboard.setText(QStringLiteral("91\t12a4\tx\r\n"));
        const ExchangeConfig before = w.window->config();
        QTest::keySequence(&w.number(SD, 9), QKeySequence::Paste);
        QCOMPARE(w.errors(),
            QStringList(QStringLiteral(
                "Schránka:1: column \"Číslo\": \"12a4\" is no number (0-9 and P, at most 14)")));
        QCOMPARE(w.window->config(), before);
    }

    void factoryValuesOfAPage_data()
    {
        QTest::addColumn<DialTable>("table");
        QTest::newRow("short dials") << SD;
        QTest::newRow("PE") << PE;
    }
    void factoryValuesOfAPage()
    {
        QFETCH(DialTable, table);
        DialWindow w;
        w.hold(testing::awayFromFactory());
        w.openTab(table, 1);
        DialWindow::type(w.number(table, 1), QStringLiteral("7"));
        w.window->actions().acDef->trigger();
        ExchangeConfig expected = testing::awayFromFactory();
        table == SD ? ResetShortDials(expected) : ResetPE(expected);
        QCOMPARE(w.config(), expected);
        for (int k = 1; k <= DialRowCount; ++k) {
            QCOMPARE(w.get<QComboBox>("cb", table, k).currentText(), QStringLiteral("vyp"));
            QCOMPARE(w.number(table, k).text(), QString());
            if (table == SD)
                QCOMPARE(w.get<QLineEdit>("ed", table, k).text(), QString());
        }
    }
};

QTEST_MAIN(DialPagesTest)
#include "tst_dialpages.moc"
