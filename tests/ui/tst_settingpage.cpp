#include "WindowDriver.h"
#include "config/GridCells.h"
#include "link/SettingsImage.h"
#include "link/TransferEngine.h"
#include "tests/common/SampleConfig.h"
#include "ui/widgets/CellGrid.h"
#include "ui/widgets/GridLook.h"
#include "ui/widgets/MaskedTimeEdit.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace ornis;

namespace {

constexpr int SettingsBase = 0x180; // the byte of step s lies at 0x180 + s
constexpr int TimesBase = 0xD8; // day hour, day minute, night hour, night minute (BCD)

// The window on page "Nastavení", driven as a person drives it.
struct SettingWindow : WindowDriver
{
    SettingWindow()
    {
        show();
        openPage(1);
    }

    QString press(const QString &grid, int column, int row, Qt::MouseButton button)
    {
        auto &view = reveal<CellGrid>(grid);
        QTest::mouseClick(&view, button, {}, view.cellRect(column, row).center());
        return view.cellText(column, row);
    }

    // The first grid cell whose text is not the one of the byte the model holds.
    QString gridMismatch()
    {
        for (int g = 0; g < SettingsGridCount; ++g) {
            const GridRules &rules = gridRules(SettingsGrid(g));
            const char *name = gridLook(SettingsGrid(g)).name;
            const auto &view = reveal<CellGrid>(QLatin1String(name));
            for (int row = 1; row <= rules.shape.rows; ++row) {
                for (int column = 1; column <= rules.shape.columns; ++column) {
                    const auto text = cellText(config(), SettingsGrid(g), column, row);
                    if (text && view.cellText(column, row) != QLatin1String(*text))
                        return QStringLiteral("%1 (%2, %3)").arg(name).arg(column).arg(row);
                }
            }
        }
        return {};
    }
};

// Types `text` key by key, letters beyond ASCII included.
// Where Tab takes the focus from `widget`.
QWidget *nextTabStop(const QWidget &widget)
{
    for (QWidget *next = widget.nextInFocusChain(); next != &widget;
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled())
            return next;
    }
    return nullptr;
}

void type(QWidget &widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, &widget, Qt::Key_unknown, QString(c), {});
}

void loadSettingsImage(sim::VirtualExchange &exchange, const ExchangeConfig &config)
{
    for (int step = 7; step <= 110; ++step)
        exchange.memory()[SettingsBase + step] = *settingsByteAt(config, step);
}

// The factory configuration with the settings image the exchange holds read into it.
ExchangeConfig withSettingsImage(const sim::VirtualExchange &exchange)
{
    ExchangeConfig config = factoryConfig();
    for (int step = 7; step <= 110; ++step)
        storeSettingsByte(config, step, exchange.memory()[SettingsBase + step]);
    return config;
}

} // namespace

class SettingPageTest : public QObject
{
    Q_OBJECT

private slots:
    void clicksCycleTheCells_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("texts"); // after each press, '|' between; "=" unchanged
        const int left = Qt::LeftButton;
        const int right = Qt::RightButton;
        QTest::newRow("Call of 21") << "sgIntrLn" << 9 << 1 << left << "0-nn|0-9n|0-0n|0-00";
        QTest::newRow("Call of row 00") << "sgIntrLn" << 9 << 17 << right << "0-9n";
        QTest::newRow("J of 33") << "sgGlbIntrLn" << 11 << 3 << right
                                 << "J1|J2|J3|J4|J5|J6|J7|J8|J9|J0|";
        QTest::newRow("LP of 92") << "sgGlbStateLn" << 2 << 1 << int(Qt::MiddleButton) << "16k||X";
        QTest::newRow("night 94 at 38") << "sgNightRing" << 16 << 4 << left << "X|";
        QTest::newRow("GE for MIRA") << "sgGlbIntrLn" << 5 << 7 << left << "X";
        QTest::newRow("row 00, column 91") << "sgIntrLn" << 1 << 17 << right << "=";
        QTest::newRow("column header") << "sgDayRing" << 3 << 0 << left << "=";
        QTest::newRow("row header") << "sgGlbStateLn" << 0 << 2 << right << "=";
    }
    void clicksCycleTheCells()
    {
        QFETCH(QString, grid);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(int, button);
        QFETCH(QString, texts);
        SettingWindow w;
        const ExchangeConfig before = w.config();
        QStringList shown;
        for (qsizetype i = 0; i < texts.split(u'|').size(); ++i)
            shown.append(w.press(grid, column, row, Qt::MouseButton(button)));
        if (texts == u"=")
            QCOMPARE(w.config(), before);
        else
            QCOMPARE(shown.join(u'|'), texts);
        QCOMPARE(w.gridMismatch(), QString());
    }

    void keysMoveAndPressTheCurrentCell_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("keys"); // "S-Space" is Shift+Space
        QTest::addColumn<int>("column"); // of the current cell after the keys
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text"); // of that cell; "=" nothing changed
        QTest::newRow("Call of 21") << "sgIntrLn"
                                    << "End Left Left Left Space S-Space" << 9 << 1 << "0-9n";
        QTest::newRow("row 00, column 91 is disabled") << "sgIntrLn"
                                                       << "PgDown Space S-Space" << 1 << 17 << "=";
        QTest::newRow("moves stop at the edges")
            << "sgDayRing"
            << "Up Left Down Down Down Down Down Right Space" << 2 << 4 << "X";
        QTest::newRow("LP of 92") << "sgGlbStateLn"
                                  << "Right S-Space" << 2 << 1 << "16k";
        QTest::newRow("GE of 21 for MIRA") << "sgGlbIntrLn"
                                           << "PgDown End Home Space" << 1 << 7 << "X";
        QTest::newRow("J of 23") << "sgGlbIntrLn"
                                 << "Down Down Right Right Space PgUp" << 3 << 1 << "=";
    }
    void keysMoveAndPressTheCurrentCell()
    {
        QFETCH(QString, grid);
        QFETCH(QString, keys);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QString, text);
        SettingWindow w;
        auto &view = w.control<CellGrid>(grid);
        view.setFocus(Qt::TabFocusReason);
        QVERIFY(view.hasFocus());
        const ExchangeConfig before = w.config();
        for (const QString &key : keys.split(u' ')) {
            const bool shift = key.startsWith(u"S-");
            const QKeySequence sequence(key.mid(shift ? 2 : 0));
            QTest::keyClick(
                &view, Qt::Key(sequence[0].key()), shift ? Qt::ShiftModifier : Qt::NoModifier);
        }
        QCOMPARE(view.currentCell(), QPoint(column, row));
        if (text == u"=" && row == 17)
            QCOMPARE(w.config(), before);
        else if (text != u"=")
            QCOMPARE(view.cellText(column, row), text);
        QCOMPARE(w.gridMismatch(), QString());
    }

    void screenReadersHearEachCell()
    {
        SettingWindow w;
        auto &view = w.control<CellGrid>(QStringLiteral("sgIntrLn"));
        QTest::mouseClick(&view, Qt::LeftButton, {}, view.cellRect(9, 2).center());
        QVERIFY(view.hasFocus());
        QCOMPARE(view.currentCell(), QPoint(9, 2));
        QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(&view);
        QVERIFY(grid);
        QCOMPARE(grid->role(), QAccessible::Table);
        QCOMPARE(grid->childCount(), 12 * 17);
        QAccessibleInterface *cell = grid->child(0);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("Pobočka 21, Vstup 91: X"));
        QCOMPARE(cell->text(QAccessible::Value), QStringLiteral("X"));
        QCOMPARE(grid->indexOfChild(cell), 0);
        QCOMPARE(
            grid->focusChild()->text(QAccessible::Name), QStringLiteral("Pobočka 22, Call: 0-nn"));
        QVERIFY(grid->child(16 * 12)->state().disabled); // row 00, column 91
        // As a table: rows and columns of the data cells, their headers, a press.
        QAccessibleTableInterface *table = grid->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 17);
        QCOMPARE(table->columnCount(), 12);
        QCOMPARE(table->columnDescription(8), QStringLiteral("Call"));
        QCOMPARE(table->cellAt(0, 0), cell);
        QAccessibleTableCellInterface *place = table->cellAt(1, 8)->tableCellInterface();
        QCOMPARE(place->columnHeaderCells().value(0)->text(QAccessible::Name), u"Call");
        QCOMPARE(place->rowHeaderCells().value(0)->text(QAccessible::Name), u"22");
        cell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("Pobočka 21, Vstup 91: prázdné"));
        auto &ring = w.control<CellGrid>(QStringLiteral("sgNightRing"));
        QCOMPARE(
            QAccessible::queryAccessibleInterface(&ring)->child(16 + 15)->text(QAccessible::Name),
            QStringLiteral("Linka 92, Pobočka 38: prázdné"));
    }

    void tabReachesTheGridFirst()
    {
        SettingWindow w;
        const QWidget *tabs = w.control<QTabWidget>(QStringLiteral("tcSetting")).tabBar();
        QWidget *grid = nextTabStop(*tabs);
        QVERIFY(grid);
        QCOMPARE(grid->objectName(), QStringLiteral("sgIntrLn"));
        QCOMPARE(nextTabStop(*grid)->objectName(), QStringLiteral("edIntrLn21"));
        // The buttons come after the page's own controls.
        QCOMPARE(nextTabStop(w.control(QStringLiteral("edIntrLn38")))->objectName(),
            QStringLiteral("btCompareSetting"));
    }

    void rowGEFollowsTheModel()
    {
        SettingWindow w;
        auto &grid = w.reveal<CellGrid>(QStringLiteral("sgGlbIntrLn"));
        auto &model = w.reveal<QComboBox>(QStringLiteral("cbCentralType"));
        const auto face = [&] {
            const QRect cell = grid.cellRect(3, 7);
            return grid.grab().toImage().pixelColor(cell.topLeft() + QPoint(3, 3));
        };
        w.press(QStringLiteral("sgGlbIntrLn"), 3, 7, Qt::LeftButton);
        for (const int index : {1, 2, 0}) {
            model.setCurrentIndex(index);
            emit model.activated(index);
            w.press(QStringLiteral("sgGlbIntrLn"), 3, 7, Qt::LeftButton); // ignored but for MIRA
            QCOMPARE(face() == QColor(Qt::white), index == 0);
        }
        QCOMPARE(grid.cellText(3, 7), QString()); // "X" kept through VEGA, then flipped
        QCOMPARE(w.config().Grids.GlobalExtensionGrid[6 * 16 + 2], 0);
    }

    void aStrayByteKeepsItsTextUntilClicked()
    {
        SettingWindow w;
        // Line 91 at extension 22, as a file may hold it.
        w.change([](ExchangeConfig &c) { c.Grids.DayRingGrid[1] = 2; });
        auto &grid = w.reveal<CellGrid>(QStringLiteral("sgDayRing"));
        QCOMPARE(grid.cellText(2, 1), QString());
        QCOMPARE(w.press(QStringLiteral("sgDayRing"), 2, 1, Qt::LeftButton), QStringLiteral("X"));
    }

    void typedTextsGoIntoTheModel_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("Czech letters")
            << "edIntrLn21" << QStringLiteral("Vrátnice Ž") << QByteArray("Vr\xE1tnice \x8E");
        QTest::newRow("euro sign")
            << "edNightRing94" << QStringLiteral("linka €") << QByteArray("linka \x80");
        QTest::newRow("no Windows-1250 byte")
            << "edDayRing91" << QStringLiteral("a中bЖ") << QByteArray("ab");
    }
    void typedTextsGoIntoTheModel()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QByteArray, stored);
        SettingWindow w;
        auto &edit = w.reveal<QLineEdit>(field);
        edit.setFocus();
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_Delete);
        type(edit, typed);
        QTest::keyClick(&edit, Qt::Key_Return);
        const Text &model = field.startsWith(u"edIntrLn") ? w.config().ExtensionComments[0]
            : field.startsWith(u"edDay")                  ? w.config().DayRingComments[0]
                                                          : w.config().NightRingComments[3];
        QCOMPARE(QByteArray::fromStdString(model), stored);
    }

    void aTimeMustBeCompleteToLeaveItsField()
    {
        SettingWindow w;
        auto &day = w.reveal<MaskedTimeEdit>(QStringLiteral("meDay"));
        day.setFocus();
        day.setCursorPosition(5);
        QTest::keyClick(&day, Qt::Key_Backspace);
        QCOMPARE(w.config().DayStart, "06:00"); // a time goes to the model when complete
        QTest::keyClick(&day, Qt::Key_Tab);
        QTRY_COMPARE(w.errors(), QStringList(MaskedTimeEdit::InvalidInputMessage));
        QTRY_VERIFY(day.hasFocus());
        QTest::keyClick(&day, Qt::Key_Escape);
        QCOMPARE(w.config().DayStart, "06:00");
        day.setCursorPosition(0);
        QTest::keyClicks(&day, QStringLiteral("0730"));
        QCOMPARE(w.config().DayStart, "07:30");
    }

    void countersWrapAtTheirLimits_data()
    {
        QTest::addColumn<int>("counter");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("shown");
        QTest::newRow("C0 above 25") << 0 << 25 << int(Qt::Key_Up) << 1;
        QTest::newRow("C0 below 1") << 0 << 1 << int(Qt::Key_Down) << 25;
        QTest::newRow("C7 above 10") << 7 << 10 << int(Qt::Key_Up) << 1;
        QTest::newRow("C5 within") << 5 << 30 << int(Qt::Key_PageUp) << 40;
        QTest::newRow("C1 from 0 in a file") << 1 << 0 << int(Qt::Key_Down) << 15;
    }
    void countersWrapAtTheirLimits()
    {
        QFETCH(int, counter);
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, shown);
        SettingWindow w;
        // A value beyond the range shows, and is held, clamped.
        w.change([&](ExchangeConfig &c) { c.Counters[counter] = int16_t(start); });
        auto &spin = w.reveal<QSpinBox>(QStringLiteral("udC%1").arg(counter));
        QTest::keyClick(&spin, Qt::Key(key));
        QCOMPARE(w.reveal<QLineEdit>(QStringLiteral("edC%1").arg(counter)).text(),
            QString::number(shown));
        QCOMPARE(w.config().Counters[counter], shown);
    }

    void theDefaultsOfThePageKeepTheComments()
    {
        SettingWindow w;
        QTest::keyClicks(&w.reveal<QLineEdit>(QStringLiteral("edIntrLn38")), QStringLiteral("!"));
        w.press(QStringLiteral("sgIntrLn"), 10, 4, Qt::LeftButton);
        QTest::keyClick(&w.reveal<QSpinBox>(QStringLiteral("udC4")), Qt::Key_Down);
        QTest::mouseClick(&w.reveal<QPushButton>(QStringLiteral("btDefSetting")), Qt::LeftButton);
        QCOMPARE(
            w.fixture.dialogs.questions, QStringList(QStringLiteral("Přednastavit hodnoty ?")));
        ExchangeConfig expected = factoryConfig();
        expected.ExtensionComments[15] = "Kancel\xE1\xF8 38!";
        QCOMPARE(w.config(), expected);
        QCOMPARE(w.reveal<CellGrid>(QStringLiteral("sgIntrLn")).cellText(10, 4), QString());
        QCOMPARE(w.reveal<QLineEdit>(QStringLiteral("edC4")).text(), QStringLiteral("60"));
        QCOMPARE(w.reveal<QLineEdit>(QStringLiteral("edIntrLn38")).text(),
            QStringLiteral("Kancelář 38!"));
    }

    void aSettingsReadShowsAsItArrives()
    {
        SettingWindow w;
        loadSettingsImage(w.exchange(), testing::awayFromFactory());
        w.exchange().memory()[SettingsBase + 8] = 200; // C1 beyond 15
        const uint8_t times[] = {0x07, 0x45, 0x21, 0x05};
        std::copy(std::begin(times), std::end(times), w.exchange().memory().begin() + TimesBase);
        ExchangeConfig expected = withSettingsImage(w.exchange());
        expected.DayStart = "07:45";
        expected.NightStart = "21:05";

        w.window->actions().acReceive->trigger();
        // The counters are read before the grids: they show while the grids wait for 'X'.
        const auto factoryDay = factoryConfig().Grids.DayRingGrid;
        for (int i = 0; i < 1000 && w.config().Grids.DayRingGrid == factoryDay; ++i)
            QCoreApplication::processEvents();
        repaintNow(*w.window);
        QCOMPARE(w.window->engine().transferMode(), TransferMode::SettingsRead);
        QCOMPARE(w.reveal<QLineEdit>(QStringLiteral("edC0")).text(), QStringLiteral("25"));
        QCOMPARE(
            w.reveal<CellGrid>(QStringLiteral("sgDayRing")).cellText(1, 1), QStringLiteral("X"));
        QVERIFY(w.runToIdle());

        QCOMPARE(w.config(), expected);
        QCOMPARE(w.gridMismatch(), QString());
        QCOMPARE(w.reveal<QLineEdit>(QStringLiteral("edC1")).text(), QStringLiteral("15"));
        QCOMPARE(w.reveal<QComboBox>(QStringLiteral("cbU1")).currentText(), QStringLiteral("M0"));
        QCOMPARE(w.reveal<QComboBox>(QStringLiteral("cbFax")).currentText(), QStringLiteral("38"));
        QCOMPARE(w.reveal<QCheckBox>(QStringLiteral("cbxSu")).isChecked(), expected.G0Days[0]);
        QCOMPARE(w.reveal<MaskedTimeEdit>(QStringLiteral("meNight")).modelText(),
            QStringLiteral("21:05"));
        QCOMPARE(w.reveal<QLineEdit>(QStringLiteral("edIntrLn21")).text(),
            QStringLiteral("Kancelář 21"));
    }

    void aReadThatEndsEarlyLeavesTheGridsShowingTheModel()
    {
        SettingWindow w;
        loadSettingsImage(w.exchange(), testing::awayFromFactory());
        sim::Faults faults;
        faults.silentAfter = 95; // within the ring grids
        w.exchange().setFaults(faults);
        w.window->actions().acReceive->trigger();
        QTRY_COMPARE(w.exchange().bytesReceived(), std::size_t(96));
        w.port().fireAnswerTimer();
        QVERIFY(w.window->engine().isIdle());
        QVERIFY(w.config().Grids != factoryConfig().Grids);
        QCOMPARE(w.gridMismatch(), QString());
    }

    void aWriteSendsWhatThePageShows()
    {
        SettingWindow w;
        w.press(QStringLiteral("sgGlbStateLn"), 3, 4, Qt::LeftButton); // G2 of 93: "D"
        w.press(QStringLiteral("sgIntrLn"), 9, 16, Qt::RightButton); // Call of 38: "0-nn"
        QTest::keyClick(&w.reveal<QComboBox>(QStringLiteral("cbU2")), Qt::Key_Down);
        QTest::keyClick(&w.reveal<QComboBox>(QStringLiteral("cbFax")), Qt::Key_Home);
        QTest::mouseClick(&w.reveal<QCheckBox>(QStringLiteral("cbxWe")), Qt::LeftButton);
        QTest::keyClick(&w.reveal<QSpinBox>(QStringLiteral("udC8")), Qt::Key_Up);
        QVERIFY(w.click(QStringLiteral("btSendSetting")));

        const ExchangeConfig sent = withSettingsImage(w.exchange());
        QCOMPARE(sent.Grids, w.config().Grids);
        QCOMPARE(sent.Grids.GlobalLineGrid[14], 1);
        QCOMPARE(sent.Grids.ExtensionGrid[15 * 12 + 8], 0);
        QCOMPARE(sent.G7U, (std::array<int32_t, 4> {0, 1, 0, 0}));
        QCOMPARE(sent.FaxExtension, 0);
        QVERIFY(sent.G0Days[3]);
        QCOMPARE(sent.Counters[8], 2);
        QVERIFY(w.errors().isEmpty());
    }
};

QTEST_MAIN(SettingPageTest)
#include "tst_settingpage.moc"
