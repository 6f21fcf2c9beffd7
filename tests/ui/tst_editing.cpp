#include "WindowDriver.h"
#include "common/ConfigFiles.h"
#include "config/ConfigFields.h"
#include "config/FactoryDefaults.h"
#include "link/DialSlots.h"
#include "link/TransferEngine.h"
#include "tests/common/SampleConfig.h"
#include "ui/MainPages.h"
#include "ui/widgets/CellGrid.h"
#include "ui/widgets/MaskedTimeEdit.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace ornis;

namespace {

constexpr int ShortDialAddress = 0x200;
constexpr int PEAddress = 0x660;

enum Gesture { Click, KeyDown, KeyUp, Type };

// The shown window, with what these tests do to it.
struct EditWindow : WindowDriver
{
    EditWindow() { show(); }

    // Clicks into a text field, types `text` at its start and leaves it.
    void type(QWidget &field, const QString &text)
    {
        QTest::mouseClick(&reveal(field), Qt::LeftButton);
        QTest::keyClick(&field, Qt::Key_Home);
        QTest::keyClicks(&field, text);
        QTest::keyClick(&field, Qt::Key_Tab);
    }
    void run(QAction *action)
    {
        action->trigger();
        QVERIFY(runToIdle());
    }
    // The whole configuration as the JSON form writes it.
    QByteArray saved()
    {
        const QString file = path(QStringLiteral("saved.json"));
        if (!saveConfigFile(file, FileKind::Json, config(), BlockSet::all()).ok())
            qFatal("not saved");
        QFile bytes(file);
        return bytes.open(QIODevice::ReadOnly) ? bytes.readAll() : QByteArray();
    }
};

} // namespace

class EditingTest : public QObject
{
    Q_OBJECT

private slots:
    // One gesture on one control of each kind: its value, and only its value, changes at
    // once; undo brings back the same configuration byte for byte, redo the edit.
    void anEditIsOneStepOfTheHistory_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("gesture");
        QTest::addColumn<QString>("typed"); // a grid cell: "column,row"
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("grid cell") << "sgIntrLn" << +Click << "9,1"
                                   << "ExtensionGrid[8]" << QByteArray("0");
        QTest::newRow("grid J cell") << "sgGlbIntrLn" << +Click << "1,3"
                                     << "GlobalExtensionGrid[32]" << QByteArray("2");
        QTest::newRow("list") << "cbFax" << +KeyDown << ""
                              << "FaxExtension" << QByteArray("9");
        QTest::newRow("services list") << "cbRedirWhen33" << +KeyDown << ""
                                       << "Services[10].RedirectWhen" << QByteArray("1");
        QTest::newRow("check box") << "chbRing24From93" << +Click << ""
                                   << "Services[3].RingFrom[2]" << QByteArray("true");
        QTest::newRow("weekday") << "cbxMo" << +Click << ""
                                 << "G0Days[1]" << QByteArray("true");
        QTest::newRow("counter") << "udC4" << +KeyUp << ""
                                 << "Counters[4]" << QByteArray("61");
        QTest::newRow("comment") << "edIntrLn21" << +Type << "Á"
                                 << "ExtensionComments[0]"
                                 << QByteArray("\"\xc1Kancel\xe1\xf8 21\"");
        QTest::newRow("day start") << "meNight" << +Type << "1930"
                                   << "NightStart" << QByteArray("\"19:30\"");
        QTest::newRow("wake-up time") << "meAlarmDaily23" << +Type << "0730"
                                      << "Services[2].AlarmDaily" << QByteArray("\"07:30\"");
        QTest::newRow("dial number") << "medTempl1" << +Type << "0P1"
                                     << "ShortDialTable[0].Number" << QByteArray("\"0P1\"");
        QTest::newRow("dial comment") << "edTempl2" << +Type << "Jan"
                                      << "ShortDialTable[1].Comment" << QByteArray("\"Jan\"");
        QTest::newRow("dial line") << "cbPETempl3" << +KeyDown << ""
                                   << "PETable[2].Line" << QByteArray("1");
    }
    void anEditIsOneStepOfTheHistory()
    {
        QFETCH(QString, control);
        QFETCH(int, gesture);
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QFETCH(QByteArray, value);
        EditWindow w;
        const ExchangeConfig before = w.config();
        const QByteArray savedBefore = w.saved();
        QWidget &widget = w.reveal(w.control(control));
        if (auto *grid = qobject_cast<CellGrid *>(&widget)) {
            const QStringList cell = typed.split(u',');
            const QRect rect = grid->cellRect(cell[0].toInt(), cell[1].toInt());
            QTest::mouseClick(grid, Qt::LeftButton, {}, rect.center());
        } else if (gesture == Click) {
            QTest::mouseClick(&widget, Qt::LeftButton);
        } else if (gesture == Type) {
            w.type(widget, typed);
        } else {
            QTest::keyClick(&widget, gesture == KeyUp ? Qt::Key_Up : Qt::Key_Down);
        }

        const std::vector<FieldRef> changed
            = differingFields(before, w.config(), BlockSet::all(), true);
        QCOMPARE(changed.size(), 1u);
        QCOMPARE(QString::fromStdString(fieldKey(changed[0])), key);
        QCOMPARE(QByteArray::fromStdString(fieldValueText(w.config(), changed[0])), value);
        QVERIFY(w.window->isWindowModified());
        const ExchangeConfig edited = w.config();
        w.actions().acUndo->trigger();
        QCOMPARE(w.saved(), savedBefore);
        QVERIFY(!w.actions().acUndo->isEnabled());
        QVERIFY(!w.window->isWindowModified());
        w.actions().acRedo->trigger();
        QCOMPARE(w.config(), edited);
    }

    // The caption's "*" follows the history: an edit, undo to the saved state, redo, a
    // save, an open (which starts a new history).
    void theCaptionMarksUnsavedEdits()
    {
        EditWindow w;
        auto &grid = w.control<CellGrid>(QStringLiteral("sgIntrLn"));
        const auto clickCall21 = [&] {
            w.reveal(grid);
            QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(9, 1).center());
        };
        QCOMPARE(w.window->windowTitle(), QStringLiteral("ORNIS SET[*]"));
        QVERIFY(!w.window->isWindowModified());
        clickCall21();
        QVERIFY(w.window->isWindowModified());
        QCOMPARE(w.actions().acUndo->statusTip(), QStringLiteral("Zpět: Pobočka 21, Call"));
        w.actions().acUndo->trigger();
        QVERIFY(!w.window->isWindowModified());
        QCOMPARE(w.actions().acRedo->statusTip(), QStringLiteral("Znovu: Pobočka 21, Call"));
        w.actions().acRedo->trigger();
        QVERIFY(w.window->isWindowModified());

        const QString path = w.path(QStringLiteral("edited.set"));
        w.fixture.dialogs.chosenFiles = {path};
        w.actions().acSaveAs->trigger();
        QVERIFY(!w.window->isWindowModified());
        QVERIFY(w.window->windowTitle().endsWith(QStringLiteral("edited.set][*]")));
        clickCall21();
        QVERIFY(w.window->isWindowModified());
        w.actions().acUndo->trigger(); // back to what the file holds
        QVERIFY(!w.window->isWindowModified());
        clickCall21();
        w.fixture.dialogs.chosenFiles = {path};
        w.actions().acOpen->trigger();
        QVERIFY(!w.window->isWindowModified());
        QVERIFY(!w.actions().acUndo->isEnabled());
    }

    // Undo and redo name their step in the status bar, and the pages it changed out of
    // view; undoing a read is asked about first, and No leaves it.
    void undoAndRedoSayWhatTheyChanged()
    {
        EditWindow w;
        const auto &status = w.control<QLabel>(QStringLiteral("lbTransferStatus"));
        auto &grid = w.reveal<CellGrid>(QStringLiteral("sgIntrLn"));
        QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(9, 1).center());
        w.openPage(int(MainPage::Services));
        QTest::keyClick(w.window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(status.text(), QStringLiteral("Zpět: Pobočka 21, Call (na stránce Nastavení)"));
        w.openPage(int(MainPage::Setting));
        QTest::keyClick(w.window.get(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(status.text(), QStringLiteral("Znovu: Pobočka 21, Call"));

        w.openPage(int(MainPage::Setup));
        w.run(w.actions().acReceive);
        const ExchangeConfig read = w.config();
        w.fixture.dialogs.answerYes = false;
        w.actions().acUndo->trigger();
        QCOMPARE(w.fixture.dialogs.questions.last(),
            QStringLiteral("Vrátit celé načtení z ústředny ?"));
        QCOMPARE(w.config(), read);
        w.fixture.dialogs.answerYes = true;
        w.actions().acUndo->trigger();
        QVERIFY(w.config() != read);
        QCOMPARE(status.text(),
            QStringLiteral("Zpět: Načtení z ústředny (na stránkách Nastavení, Služby, "
                           "Zkrácené volby, PE)"));
        QCOMPARE(w.fixture.dialogs.questions.size(), 3); // the read's own, and two undos
    }

    // The defaults and a read are one step each: one undo brings back what the window held.
    void defaultsAndAReadAreOneStepEach_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("read");
        QTest::newRow("Přednastavit vše") << int(MainPage::Setup) << false;
        QTest::newRow("Přednastavit") << int(MainPage::Services) << false;
        QTest::newRow("Načíst vše") << int(MainPage::Setup) << true;
        QTest::newRow("Načíst") << int(MainPage::ShortDials) << true;
    }
    void defaultsAndAReadAreOneStepEach()
    {
        QFETCH(int, page);
        QFETCH(bool, read);
        EditWindow w;
        w.hold(testing::awayFromFactory());
        const ExchangeConfig before = w.config();
        w.openPage(page);
        w.run(read ? w.actions().acReceive : w.actions().acDef);
        QVERIFY(w.config() != before);
        QVERIFY(w.window->isWindowModified());
        w.actions().acUndo->trigger();
        QCOMPARE(w.config(), before);
        QVERIFY(!w.actions().acUndo->isEnabled());
        QCOMPARE(w.control<QLineEdit>(QStringLiteral("medTempl1")).text(),
            QString::fromStdString(before.ShortDialTable[0].Number));
    }

    // An edit made while a read runs is a step of its own: undoing the read keeps it.
    void undoingAReadKeepsTheEditsMadeWhileItRan()
    {
        EditWindow w;
        w.hold(testing::awayFromFactory());
        const ExchangeConfig before = w.config();
        w.openPage(int(MainPage::Services));
        w.actions().acReceive->trigger();
        w.openPage(int(MainPage::ShortDials));
        w.type(w.control(QStringLiteral("medTempl1")), QStringLiteral("7"));
        QVERIFY(!w.window->engine().isIdle());
        QVERIFY(w.runToIdle());
        const ExchangeConfig read = w.config();
        QVERIFY(read.Services != before.Services);
        QVERIFY(read.ShortDialTable[0].Number != before.ShortDialTable[0].Number);

        w.actions().acUndo->trigger();
        QCOMPARE(w.config().Services, before.Services);
        QCOMPARE(w.config().ShortDialTable, read.ShortDialTable);
        w.actions().acUndo->trigger();
        QCOMPARE(w.config(), before);
    }

    // A field in the focus shows what the defaults or a read put into the model.
    void theFocusedFieldShowsTheModel_data()
    {
        QTest::addColumn<bool>("read");
        QTest::newRow("defaults") << false;
        QTest::newRow("read") << true;
    }
    void theFocusedFieldShowsTheModel()
    {
        QFETCH(bool, read);
        EditWindow w;
        const ExchangeConfig sample = testing::awayFromFactory();
        w.hold(sample);
        w.openPage(int(MainPage::Services));
        if (read) {
            w.run(w.actions().acSend);
            w.run(w.actions().acDef);
        }
        auto &edit = w.control<MaskedTimeEdit>(QStringLiteral("meAlarmOnce21"));
        QTest::mouseClick(&w.reveal(edit), Qt::LeftButton);
        QVERIFY(edit.hasFocus());
        w.run(read ? w.actions().acReceive : w.actions().acDef);
        QVERIFY(edit.hasFocus());
        const std::string &model = w.config().Services[0].AlarmOnce;
        QCOMPARE(model, read ? sample.Services[0].AlarmOnce : std::string(UnsetTime));
        QCOMPARE(edit.modelText(), QString::fromStdString(model));
    }

    // Line bytes the lists cannot show (0xF5: line 6, 0xFB: line 12, PE 0xF8: line 9) are
    // read, looked at on every tab, and written back as they came.
    void lineBytesTheListsCannotShowSurvive()
    {
        EditWindow w;
        ExchangeConfig odd = testing::numberedDialTables();
        odd.ShortDialTable[0].Line = 6;
        odd.ShortDialTable[25].Line = 12;
        odd.PETable[0].Line = 9;
        sim::VirtualExchange::Memory &memory = w.exchange().memory();
        for (int k = 0; k < ShortDialImageSize; ++k)
            memory[size_t(ShortDialAddress + k)] = *shortDialImageByte(odd, k);
        for (int k = 0; k < PEImageSize; ++k)
            memory[size_t(PEAddress + k)] = *peImageByte(odd, k);
        QCOMPARE(memory[size_t(ShortDialAddress + shortDialSlotOfRecord(0) * SlotSize)], 0xF5);
        QCOMPARE(memory[size_t(ShortDialAddress + shortDialSlotOfRecord(25) * SlotSize)], 0xFB);
        QCOMPARE(memory[size_t(PEAddress)], 0xF8);
        const sim::VirtualExchange::Memory original = memory;

        w.openPage(int(MainPage::Setup));
        w.run(w.actions().acReceive);
        for (const char *name : {"tcShortDials", "tcPE"}) {
            auto &tabs = w.control<QTabBar>(QLatin1String(name));
            w.reveal(tabs);
            for (const int tab : {1, 0, 2, 3, 4, 1, 0})
                QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(tab).center());
        }
        const std::pair<int, int> images[]
            = {{ShortDialAddress, ShortDialImageSize}, {PEAddress, PEImageSize}};
        for (const auto &[address, size] : images)
            std::fill_n(memory.begin() + address, size, uint8_t(0));
        w.openPage(int(MainPage::Setup));
        w.run(w.actions().acSend);
        for (const auto &[address, size] : images)
            QVERIFY(std::equal(memory.begin() + address, memory.begin() + address + size,
                original.begin() + address));
    }
};

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
