#include "WindowDriver.h"
#include "common/ConfigFiles.h"
#include "config/FactoryDefaults.h"
#include "link/TransferEngine.h"
#include "tests/common/SampleConfig.h"
#include "ui/MainPages.h"
#include "ui/document/BackupFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <functional>

using namespace ornis;

namespace {

// The fixture's clock names every backup of a test.
const QString Stamp = QStringLiteral("2009-12-31_23-59-59_");
constexpr int DayStartAddress = 0xD8;

QStringList named(std::initializer_list<const char *> labels)
{
    QStringList names;
    for (const char *label : labels)
        names.append(Stamp + QLatin1String(label) + QStringLiteral(".json"));
    return names;
}

// A window that keeps its backups in a folder of the test's own.
struct BackupWindow : WindowDriver
{
    explicit BackupWindow(const std::function<void(WindowDriver &)> &setUp = {})
        : WindowDriver([&setUp](WindowDriver &w) {
            w.fixture.backups = w.path(QStringLiteral("backups"));
            if (setUp)
                setUp(w);
        })
    {
    }
    [[nodiscard]] QStringList backups() const
    {
        return QDir(fixture.backups).entryList(QDir::Files, QDir::Name);
    }
    [[nodiscard]] QString backup(const QString &name) const
    {
        return QDir(fixture.backups).filePath(name);
    }
    [[nodiscard]] ExchangeConfig load(const QString &name) const
    {
        ExchangeConfig loaded;
        BlockSet held;
        if (!loadConfigFile(backup(name), FileKind::Json, loaded, held).ok())
            qFatal("%s does not load", qPrintable(name));
        return loaded;
    }
    void start(MainPage page, QAction *action)
    {
        openPage(int(page));
        action->trigger();
    }
    // One pass of the event loop answers one byte.
    void runUntilSent(std::size_t count)
    {
        const std::deque<uint8_t> &sent = port().sent;
        for (int pass = 0; pass < 1000 && sent.size() < count; ++pass)
            QCoreApplication::processEvents();
        repaintNow(*window);
    }
    [[nodiscard]] QString statusText() const
    {
        return window->findChild<QLabel *>(QStringLiteral("lbTransferStatus"))->text();
    }
    // Runs the event loop until the transfer is over; what the status bar said on the way,
    // as if a frame were shown after every answer.
    QStringList statusTextsToIdle()
    {
        QStringList said(statusText());
        const QDeadlineTimer deadline(TransferBound);
        while (!window->engine().isIdle() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            repaintNow(*window);
            if (said.last() != statusText())
                said.append(statusText());
        }
        return said;
    }
};

using Edit = std::function<void(BackupWindow &)>;

// A value edited, then the whole configuration read or written.
Edit editedThen(QAction *MainActions::*action)
{
    return [action](BackupWindow &w) {
        w.change([](ExchangeConfig &c) { c.Counters[8] = 9; });
        QVERIFY(w.run(int(MainPage::Setup), w.actions().*action));
    };
}

// `change`, then "Uložit jako" into a settings file.
Edit savedAfter(std::function<void(ExchangeConfig &)> change)
{
    return [change](BackupWindow &w) {
        w.change(change);
        w.fixture.dialogs.chosenFiles = {w.path(QStringLiteral("a.set"))};
        w.actions().acSaveAs->trigger();
    };
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class BackupsTest : public QObject
{
    Q_OBJECT

private slots:
    // Each backup holds the whole configuration, model and services included, and opens
    // back into it; opening one in place of unsaved edits keeps those first.
    void aReadAndAWriteLeaveABackupEachThatOpensBack()
    {
        BackupWindow w;
        w.hold(testing::awayFromFactory(ModelVega));
        const ExchangeConfig written = w.config();
        QVERIFY(w.run(int(MainPage::Setup), w.actions().acSend));
        QCOMPARE(w.backups(), named({"zapis_vse"}));
        QCOMPARE(w.load(w.backups()[0]), written);

        // An edit the read replaces.
        w.change([&](ExchangeConfig &c) { c.BlockRedirect = !written.BlockRedirect; });
        QVERIFY(w.run(int(MainPage::Services), w.actions().acReceive));
        QCOMPARE(w.backups(), named({"cteni_sluzby", "neulozeno", "zapis_vse"}));
        QCOMPARE(w.load(w.backups()[0]), written);
        QCOMPARE(w.load(w.backups()[1]).BlockRedirect, !written.BlockRedirect);

        w.hold(factoryConfig());
        w.fixture.dialogs.chosenFiles = {w.backup(named({"zapis_vse"})[0])};
        w.actions().acOpenBackup->trigger();
        const FileDialogSetup &dialog = w.fixture.dialogs.fileDialogs.last();
        QCOMPARE(dialog.folder, w.fixture.backups);
        QCOMPARE(dialog.types.value(0).filter, QStringLiteral("Zálohy konfigurace (*.json)"));
        QCOMPARE(w.config(), written);
        QCOMPARE(w.window->FileName(), QString()); // "Uložit" asks for a name
        QVERIFY(!w.window->findChild<QTabWidget *>(QStringLiteral("pcMain"))
                     ->isTabVisible(int(MainPage::PE)));

        // A form of the services alone changes them and the model, and nothing else.
        ExchangeConfig services = factoryConfig();
        services.BlockRedirect = !written.BlockRedirect;
        const QString path = w.path(QStringLiteral("services.json"));
        QVERIFY(saveConfigFile(path, FileKind::Json, services, {Block::Services}).ok());
        w.fixture.dialogs.chosenFiles = {path};
        w.actions().acOpenBackup->trigger();
        ExchangeConfig expected = written;
        expected.ExchangeType = ModelMira;
        expected.Services = services.Services;
        expected.GeneralRing = services.GeneralRing;
        expected.BlockRedirect = services.BlockRedirect;
        QCOMPARE(w.config(), expected);
        QVERIFY(w.errors().isEmpty());
    }

    void closingKeepsEditsNeitherSavedNorWritten_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QStringList>("backups");
        QTest::newRow("untouched") << Edit([](BackupWindow &) {}) << QStringList();
        QTest::newRow("a value") << Edit([](BackupWindow &w) {
            w.change([](ExchangeConfig &c) { c.Counters[8] = 9; });
        }) << named({"neulozeno"});
        QTest::newRow("a short-dial row, not stored yet") << Edit([](BackupWindow &w) {
            auto *number = w.window->findChild<QLineEdit *>(QStringLiteral("medTempl1"));
            number->setText(QStringLiteral("123"));
            emit number->textEdited(number->text());
        }) << named({"neulozeno"});
        QTest::newRow("the model, kept in the preferences") << Edit([](BackupWindow &w) {
            w.change([](ExchangeConfig &c) { c.ExchangeType = ModelVegaX; });
        }) << QStringList();
        QTest::newRow("edited, then saved")
            << savedAfter([](ExchangeConfig &c) { c.Counters[8] = 9; }) << QStringList();
        QTest::newRow("services edited, then saved: the file holds none") << savedAfter(
            [](ExchangeConfig &c) { c.BlockRedirect = true; }) << named({"neulozeno"});
        QTest::newRow("edited, then read")
            << editedThen(&MainActions::acReceive) << named({"cteni_vse", "neulozeno"});
        QTest::newRow("edited, then written")
            << editedThen(&MainActions::acSend) << named({"zapis_vse"});
    }
    void closingKeepsEditsNeitherSavedNorWritten()
    {
        QFETCH(Edit, edit);
        QFETCH(QStringList, backups);
        BackupWindow w;
        edit(w);
        w.window->close();
        QCOMPARE(w.backups(), backups);
        QVERIFY(w.fixture.dialogs.questions.size() <= 1); // the write's; closing asks nothing
        if (backups == named({"neulozeno"}))
            QCOMPARE(w.load(backups[0]), w.config());
    }

    // Edits a close kept in a backup are offered at the next start, once: Yes brings them
    // back marked as held by no file, No leaves them in the backup. A clean close asks
    // nothing.
    void theNextStartOffersEditsKeptAtClosing_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<bool>("yes");
        QTest::newRow("edits, brought back") << true << true;
        QTest::newRow("edits, left in the backup") << true << false;
        QTest::newRow("clean close") << false << true;
    }
    void theNextStartOffersEditsKeptAtClosing()
    {
        QFETCH(bool, edited);
        QFETCH(bool, yes);
        BackupWindow w(
            [](WindowDriver &d) { d.fixture.settings = d.path(QStringLiteral("window.ini")); });
        if (edited)
            w.change([](ExchangeConfig &c) { c.Services[0].BackRing = 3; });
        const ExchangeConfig closed = w.config();
        w.window->close();
        w.fixture.dialogs.answerYes = yes;
        w.reopen();
        QStringList &questions = w.fixture.dialogs.questions;
        QCoreApplication::processEvents(); // the window shows
        QCOMPARE(questions.size(), edited ? 1 : 0);
        if (edited) {
            QVERIFY2(questions[0].contains(QDir::toNativeSeparators(w.backup(w.backups()[0]))),
                qPrintable(questions[0]));
            QVERIFY(questions[0].endsWith(QStringLiteral("Obnovit je ?")));
        }
        QCOMPARE(w.config() == closed, yes);
        QCOMPARE(w.window->isWindowModified(), edited && yes);
        QCOMPARE(w.backups(), edited ? named({"neulozeno"}) : QStringList());

        w.reopen(); // asked once
        QCoreApplication::processEvents();
        QCOMPARE(questions.size(), edited ? 1 : 0);
    }

    // Only the newest are kept, and only files named as backups are ever removed.
    void theNewestBackupsAreKept()
    {
        BackupWindow w;
        QVERIFY(QDir().mkpath(w.fixture.backups));
        QStringList old;
        for (int i = 0; i < BackupFolder::Limit + 5; ++i)
            old.append(QStringLiteral("2001-01-01_00-%1-%2_cteni_vse.json")
                           .arg(i / 60, 2, 10, QLatin1Char('0'))
                           .arg(i % 60, 2, 10, QLatin1Char('0')));
        for (const QString &name : old + QStringList {"notes.json"})
            QVERIFY(QFile(w.backup(name)).open(QIODevice::WriteOnly));
        w.change([](ExchangeConfig &c) { c.Counters[8] = 9; });
        w.window->close();

        const QStringList kept = w.backups();
        QCOMPARE(kept.size(), BackupFolder::Limit + 1);
        QVERIFY(kept.contains(Stamp + QStringLiteral("neulozeno.json")));
        QVERIFY(kept.contains(QStringLiteral("notes.json")));
        QCOMPARE(kept.first(), old[6]);
    }

    // The exchange differs from the window in one value of three blocks; each page finds
    // its own, "Konfigurace" all of them. The window's configuration stays as it was.
    void compareListsTheChangedItemsOfThePage_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("expected"); // block|item|window|exchange
        const QString counter = QStringLiteral("Nastavení|GG, C8|9|10");
        const QString redirect = QStringLiteral("Služby|Pobočka 23, Přesměrování|vyp|24");
        const QString number
            = QStringLiteral("Zkrácené volby|Zkrácená volba 815, číslo|0P123|777");
        QTest::newRow("Konfigurace")
            << int(MainPage::Setup) << QStringList {counter, redirect, number};
        QTest::newRow("Nastavení") << int(MainPage::Setting) << QStringList {counter};
        QTest::newRow("Služby") << int(MainPage::Services) << QStringList {redirect};
        QTest::newRow("Zkrácené volby") << int(MainPage::ShortDials) << QStringList {number};
        QTest::newRow("PE, no difference") << int(MainPage::PE) << QStringList();
    }
    void compareListsTheChangedItemsOfThePage()
    {
        QFETCH(int, page);
        QFETCH(QStringList, expected);
        BackupWindow w;
        ExchangeConfig window = testing::awayFromFactory();
        window.Counters[8] = 9;
        window.Services[2].Redirect = 0;
        window.ShortDialTable[5].Number = "0P123";
        ExchangeConfig exchange = window;
        exchange.Counters[8] = 10;
        exchange.Services[2].Redirect = 3;
        exchange.ShortDialTable[5].Number = "777";
        exchange.ExtensionComments[0] = "Sklad"; // never sent, never listed
        w.hold(exchange);
        QVERIFY(w.run(int(MainPage::Setup), w.actions().acSend));
        w.hold(window);

        QVERIFY(w.run(page, w.actions().acCompare));
        QCOMPARE(w.config(), window);
        QCOMPARE(w.fixture.dialogs.differences.size(), std::size_t(1));
        QStringList listed;
        for (const Difference &d : w.fixture.dialogs.differences[0])
            listed.append(QStringList {d.block, d.item, d.left, d.right}.join(u'|'));
        QCOMPARE(listed, expected);
        QVERIFY(w.errors().isEmpty());
    }

    // After a whole read, one more transfer: what the status bar says on its way and at its
    // end, and the one message that follows a failure or a write that ended early, naming
    // the backup of that read.
    void statusBarSaysWhatTravelsAndHowItEnded_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("end");
        QTest::addColumn<QStringList>("said");
        const QString settings = QStringLiteral("Nastavení (1/5)");
        const QString timeout = QStringLiteral("Selhalo: Timeout on ttyUSB0");
        QTest::newRow("complete read")
            << false << int(TransferEnd::Complete)
            << QStringList {"Čtení: " + settings, "Čtení: Režim D/N (2/5)", "Čtení: Služby (3/5)",
                   "Čtení: Zkrácené volby (4/5)", "Čtení: PE (5/5)", "Načteno"};
        QTest::newRow("stopped write") << true << int(TransferEnd::Stopped)
                                       << QStringList {"Zápis: " + settings, "Přerušeno"};
        QTest::newRow("failed write")
            << true << int(TransferEnd::Failed) << QStringList {"Zápis: " + settings, timeout};
        QTest::newRow("failed read")
            << false << int(TransferEnd::Failed) << QStringList {"Čtení: " + settings, timeout};
    }
    void statusBarSaysWhatTravelsAndHowItEnded()
    {
        QFETCH(bool, write);
        QFETCH(int, end);
        QFETCH(QStringList, said);
        BackupWindow w;
        QVERIFY(w.run(int(MainPage::Setup), w.actions().acReceive));
        const std::size_t sent = w.port().sent.size() + 30;
        if (TransferEnd(end) == TransferEnd::Failed) {
            sim::Faults silent;
            silent.silentAfter = sent;
            w.port().exchange.setFaults(silent);
        }
        w.start(MainPage::Setup, write ? w.actions().acSend : w.actions().acReceive);
        w.runUntilSent(sent);
        QStringList seen {w.statusText()};
        if (TransferEnd(end) == TransferEnd::Stopped)
            w.actions().acStop->trigger();
        if (TransferEnd(end) == TransferEnd::Failed)
            w.port().fireAnswerTimer();
        seen += w.statusTextsToIdle();
        seen.removeDuplicates();
        QCOMPARE(seen, said);

        const QStringList &errors = w.errors();
        QCOMPARE(errors.size(), TransferEnd(end) == TransferEnd::Complete ? 0 : 1);
        const QString message = errors.value(0);
        QCOMPARE(message.startsWith(QStringLiteral("Timeout on ttyUSB0")),
            TransferEnd(end) == TransferEnd::Failed);
        const bool early = write && TransferEnd(end) != TransferEnd::Complete;
        QCOMPARE(message.contains(QStringLiteral("zčásti zapsanou konfiguraci")), early);
        const QString backup = QDir::toNativeSeparators(w.backup(named({"cteni_vse"})[0]));
        QCOMPARE(message.contains(backup), early);
    }

    // A read that cannot show a value as the exchange holds it says so once, after the read.
    void aReadWarnsOfValuesItCouldNotShow()
    {
        BackupWindow w;
        w.port().exchange.memory()[DayStartAddress] = 0xFF;
        QVERIFY(w.run(int(MainPage::Setting), w.actions().acReceive));
        QCOMPARE(w.errors().size(), 1);
        QVERIFY(w.errors()[0].contains(QStringLiteral("DayStart")));
        QCOMPARE(w.config().DayStart, Text("00:00"));
    }
};

QTEST_MAIN(BackupsTest)
#include "tst_backups.moc"
