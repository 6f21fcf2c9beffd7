#include "WindowDriver.h"
#include "config/Numbering.h"
#include "link/ServicesCells.h"
#include "link/TransferEngine.h"
#include "tests/common/SampleConfig.h"
#include "ui/widgets/MaskedTimeEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace ornis;

namespace {

// A shown window on the page "Služby", driven by mouse and keys.
struct PageDriver : WindowDriver
{
    PageDriver()
    {
        show();
        openPage(2);
    }

    bool checked(const QString &name) { return control<QCheckBox>(name).isChecked(); }

    // Clicks into a time field, types from its start and tabs away.
    void typeTime(MaskedTimeEdit &edit, int rights, const QString &keys)
    {
        QTest::mouseClick(&reveal(edit), Qt::LeftButton);
        QTest::keyClick(&edit, Qt::Key_Home);
        for (int i = 0; i < rights; ++i)
            QTest::keyClick(&edit, Qt::Key_Right);
        for (const QChar key : keys) {
            if (key == u'\b')
                QTest::keyClick(&edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(&edit, QString(key));
        }
        leave(edit);
    }
    void leave(QWidget &widget)
    {
        QTest::keyClick(&widget, Qt::Key_Tab);
        QCoreApplication::processEvents(); // a refused leave takes the focus back
    }

    // Every control of the page shows what `c` holds.
    void expectShown(const ExchangeConfig &c)
    {
        QCOMPARE(checked(QStringLiteral("chbBlockRedir")), c.BlockRedirect);
        for (int l = 0; l < LineCount; ++l)
            QCOMPARE(checked(QString::asprintf("chbGenRing%d", lineNumber(l))), c.GeneralRing[l]);
        for (int e = 0; e < ExtensionCount; ++e) {
            const ExtensionServices &s = c.Services[size_t(e)];
            const auto name = [e](const char *format, int item = 0) {
                return QString::asprintf(format, extensionNumber(e), item);
            };
            QCOMPARE(control<QComboBox>(name("cbBackRing%d")).currentIndex(), s.BackRing);
            QCOMPARE(control<QComboBox>(name("cbRedir%d")).currentIndex(), s.Redirect);
            QCOMPARE(control<QComboBox>(name("cbRedirWhen%d")).currentIndex(), s.RedirectWhen);
            for (int l = 0; l < LineCount; ++l)
                QCOMPARE(checked(name("chbRing%dFrom%d", lineNumber(l))), s.RingFrom[l]);
            for (int p = 0; p < ParkingPositionCount; ++p)
                QCOMPARE(checked(name("chbPark%dTo%d", p + 1)), s.ParkTo[p]);
            QCOMPARE(control<MaskedTimeEdit>(name("meAlarmOnce%d")).modelText().toStdString(),
                s.AlarmOnce);
            QCOMPARE(control<MaskedTimeEdit>(name("meAlarmDaily%d")).modelText().toStdString(),
                s.AlarmDaily);
        }
    }
};

// The exchange's memory holding the services of `config`.
void storeInExchange(sim::VirtualExchange &exchange, const ExchangeConfig &config)
{
    for (const ServicesWindow window : ServicesWriteWindows) {
        for (int address = window.first; address <= window.last; ++address)
            exchange.memory()[size_t(address)] = *servicesCellByte(config, address);
    }
}

} // namespace

class ServicesPageTest : public QObject
{
    Q_OBJECT

private slots:
    void listsLeaveTheirOwnerOut_data()
    {
        QTest::addColumn<int>("owner");
        QTest::addColumn<bool>("backRing");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("text");
        QTest::newRow("24 redirects to 23") << 24 << false << 3 << "23";
        QTest::newRow("24 redirects to 25") << 24 << false << 4 << "25";
        QTest::newRow("25 redirects to 24") << 25 << false << 4 << "24";
        QTest::newRow("31 redirects to 32") << 31 << false << 9 << "32";
        QTest::newRow("21 calls back 22") << 21 << true << 1 << "22";
        QTest::newRow("38 calls back 37") << 38 << true << 15 << "37";
        QTest::newRow("21 calls back line 91") << 21 << true << 16 << "91";
        QTest::newRow("38 calls back line 94") << 38 << true << 19 << "94";
    }
    void listsLeaveTheirOwnerOut()
    {
        QFETCH(int, owner);
        QFETCH(bool, backRing);
        QFETCH(int, item);
        QFETCH(QString, text);
        PageDriver page;
        const int extension = *extensionIndexOf(owner);
        auto &list = page.control<QComboBox>(
            QString::asprintf(backRing ? "cbBackRing%d" : "cbRedir%d", owner));
        QCOMPARE(list.count(), backRing ? 20 : 16);
        QCOMPARE(list.itemText(item), text);
        // A line is an unusual call-back: its item says it will travel as "vyp".
        QCOMPARE(list.itemData(item, Qt::ToolTipRole).toString().contains(u"„vyp“"), item >= 16);

        QTest::keyClicks(&page.reveal(list), text); // the user picks the item by typing it
        const ExtensionServices &s = page.config().Services[size_t(extension)];
        QCOMPARE(backRing ? s.BackRing : s.Redirect, item);
    }

    void aWriteSendsWhatTheUserChose_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("keys"); // empty: a mouse click
        QTest::addColumn<QByteArray>("cells");
        QTest::newRow("23 redirected to 31") << "cbRedir23" << 0x052 << "31" << QByteArray("\x08");
        QTest::newRow("condition 55") << "cbRedirWhen23" << 0x052 << "55" << QByteArray("\x20");
        QTest::newRow("21 calls back 24") << "cbBackRing21" << 0x060 << "24" << QByteArray("\x03");
        QTest::newRow("21 rings from 92")
            << "chbRing21From92" << 0x0C2 << "" << QByteArray("\x01");
        QTest::newRow("38 rings from 92")
            << "chbRing38From92" << 0x0C3 << "" << QByteArray("\x80");
        QTest::newRow("general ringing 91")
            << "chbGenRing91" << 0x008 << "" << QByteArray("\xFF\xFF");
        QTest::newRow("32 woken once at 07:05")
            << "meAlarmOnce32" << 0x092 << "0705" << QByteArray("\x07\x05");
        QTest::newRow("38 woken daily at 23:59")
            << "meAlarmDaily38" << 0x0BE << "2359" << QByteArray("\x23\x59");
    }
    void aWriteSendsWhatTheUserChose()
    {
        QFETCH(QString, name);
        QFETCH(int, address);
        QFETCH(QString, keys);
        QFETCH(QByteArray, cells);
        PageDriver page;
        QWidget &control = page.reveal(page.control(name));
        if (auto *edit = qobject_cast<MaskedTimeEdit *>(&control))
            page.typeTime(*edit, 0, keys);
        else if (keys.isEmpty())
            QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(4, control.height() / 2));
        else
            QTest::keyClicks(&control, keys);

        QVERIFY(page.click(QStringLiteral("btSendServices")));
        const auto &memory = page.exchange().memory();
        const QByteArray written(
            reinterpret_cast<const char *>(&memory[size_t(address)]), cells.size());
        QCOMPARE(written.toHex(), cells.toHex());
        QVERIFY(page.errors().isEmpty());
    }

    void aReadShowsEveryServiceAndParkingStaysAsRead()
    {
        PageDriver page;
        const ExchangeConfig sample = testing::awayFromFactory();
        storeInExchange(page.exchange(), sample);
        QVERIFY(page.click(QStringLiteral("btReceiveServices")));
        page.expectShown(sample);

        // What the exchange assigns stays as read, whatever the user clicks.
        for (const char *name : {"chbPark22To1", "chbPark38To6", "chbBlockRedir"}) {
            auto &box = page.control<QCheckBox>(QLatin1String(name));
            QTest::mouseClick(&page.reveal(box), Qt::LeftButton, {}, QPoint(4, box.height() / 2));
        }
        page.expectShown(sample);
        QCOMPARE(page.config().Services, sample.Services);
        QVERIFY(page.config().BlockRedirect);
    }

    void aReadShowsEachValueAsItArrives()
    {
        PageDriver page;
        const ExchangeConfig sample = testing::awayFromFactory();
        InstantExchangePort &port = page.port();
        storeInExchange(port.exchange, sample);
        // Opening, general ringing and the sixteen redirections, then silence.
        sim::Faults faults;
        faults.silentAfter = 5 + 8 + 3 + 16;
        port.exchange.setFaults(faults);
        QTest::mouseClick(
            &page.control<QPushButton>(QStringLiteral("btReceiveServices")), Qt::LeftButton);
        QTRY_COMPARE(port.exchange.bytesReceived(), *faults.silentAfter + 1);

        ExchangeConfig arrived = factoryConfig();
        arrived.GeneralRing = sample.GeneralRing;
        for (int e = 0; e < ExtensionCount; ++e) {
            arrived.Services[size_t(e)].Redirect = sample.Services[size_t(e)].Redirect;
            arrived.Services[size_t(e)].RedirectWhen = sample.Services[size_t(e)].RedirectWhen;
        }
        repaintNow(*page.window);
        page.expectShown(arrived);
        port.fireAnswerTimer();
    }

    void theDefaultsKeepTheRingingBoxes()
    {
        PageDriver page;
        const ExchangeConfig sample = testing::awayFromFactory();
        page.hold(sample);
        QVERIFY(page.click(QStringLiteral("btDefServices")));
        QCOMPARE(page.fixture.dialogs.questions.last(), QStringLiteral("Přednastavit hodnoty ?"));

        ExchangeConfig expected = sample;
        expected.GeneralRing = {};
        expected.BlockRedirect = false;
        for (ExtensionServices &s : expected.Services)
            s = {.RingFrom = s.RingFrom};
        page.expectShown(expected);
    }

    void leavingATimeField_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("rights"); // Right keys after Home
        QTest::addColumn<QString>("keys"); // '\b' deletes the position left of the cursor
        QTest::addColumn<bool>("leaves");
        QTest::addColumn<QString>("text"); // in the model after typing: complete times only
        QTest::newRow("0, 7, 3, 0") << "  :  " << 0 << "0730" << true << "07:30";
        QTest::newRow("only the minutes") << "  :  " << 2 << "30" << false << "  :  ";
        QTest::newRow("a minute deleted") << "06:15" << 5 << "\b" << false << "06:15";
        QTest::newRow("every digit deleted: unset")
            << "06:15" << 5 << "\b\b\b\b\b" << true << "  :  ";
    }
    void leavingATimeField()
    {
        QFETCH(QString, start);
        QFETCH(int, rights);
        QFETCH(QString, keys);
        QFETCH(bool, leaves);
        QFETCH(QString, text);
        PageDriver page;
        page.change([&](ExchangeConfig &c) { c.Services[0].AlarmOnce = start.toStdString(); });
        const std::string &field = page.config().Services[0].AlarmOnce;
        auto &edit = page.control<MaskedTimeEdit>(QStringLiteral("meAlarmOnce21"));
        page.typeTime(edit, rights, keys);
        QCOMPARE(QString::fromStdString(field), text);
        QCOMPARE(edit.hasFocus(), !leaves);
        if (leaves) {
            QVERIFY(page.errors().isEmpty());
            return;
        }
        QCOMPARE(page.errors(), QStringList(MaskedTimeEdit::InvalidInputMessage));
        QTest::keyClick(&edit, Qt::Key_Escape);
        QCOMPARE(QString::fromStdString(field), start);
        page.leave(edit);
        QVERIFY(!edit.hasFocus());
    }
};

QTEST_MAIN(ServicesPageTest)
#include "tst_servicespage.moc"
