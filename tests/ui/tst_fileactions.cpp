#include "WindowDriver.h"
#include "common/ConfigFiles.h"
#include "common/DialTableXlsx.h"
#include "common/JsonForm.h"
#include "config/SettingsFile.h"
#include "tests/common/SampleConfig.h"
#include "ui/MainPages.h"
#include "ui/document/RecentFiles.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace ornis;

namespace {

const QString Sample = QStringLiteral(ORNIS_TEST_DATA "/settings/sample.set");
constexpr int FirstCommentTag = 520 + 18 + 204;

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The caption as set: "[*]" shows as "*" while the window holds unsaved edits.
QString caption(const QString &path)
{
    return QStringLiteral("ORNIS SET [%1][*]").arg(QDir::toNativeSeparators(path));
}

// A window whose file dialogs start in the test's own folder, which also keeps the list of
// recent files.
struct FileWindow : WindowDriver
{
    explicit FileWindow(const std::function<void(WindowDriver &)> &setUp = {})
        : WindowDriver([&setUp](WindowDriver &w) {
            w.fixture.fileFolder = w.folder.path();
            w.fixture.recentFiles = w.path(QStringLiteral("recent.ini"));
            if (setUp)
                setUp(w);
        })
    {
    }
    // Picks `path` in the file dialog that `action` shows.
    void run(QAction *action, const QString &path)
    {
        fixture.dialogs.chosenFiles = {path};
        action->trigger();
    }
    void drop(const QString &path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &drop);
    }
};

} // namespace

class FileActionsTest : public QObject
{
    Q_OBJECT

private slots:
    void openingAppliesTheFileButNotTheModelOrServices_data()
    {
        QTest::addColumn<bool>("dropped");
        QTest::newRow("open dialog") << false;
        QTest::newRow("dropped") << true;
    }
    void openingAppliesTheFileButNotTheModelOrServices()
    {
        QFETCH(bool, dropped);
        FileWindow w;
        w.hold(testing::awayFromFactory(ModelVega));
        const ExchangeConfig &config = w.config();
        const ExchangeConfig before = config;
        if (dropped)
            w.drop(Sample);
        else
            w.run(w.actions().acOpen, Sample);

        QVERIFY(w.errors().isEmpty());
        QCOMPARE(config.DayStart, Text("07:30"));
        QCOMPARE(config.PETable[99], (PERecord {-1, "99"}));
        QCOMPARE(config.ExchangeType, int(ModelVega));
        QCOMPARE(config.ExchangeModules, before.ExchangeModules);
        QCOMPARE(config.Services, before.Services);
        QCOMPARE(w.window->windowTitle(), caption(Sample));
        QCOMPARE(w.fixture.dialogs.fileDialogs.size(), dropped ? 0 : 1);
        if (!dropped) {
            const FileDialogSetup &setup = w.fixture.dialogs.fileDialogs.first();
            QCOMPARE(setup.folder, w.folder.path());
            QCOMPARE(setup.types.value(0).filter, QStringLiteral("Soubory nastavení (*.set)"));
            QCOMPARE(setup.types.value(0).suffix, QStringLiteral("set"));
        }
    }

    // What the user types in the save dialog, the type shown, and the file that is written:
    // its name and its form follow the suffix, a name with neither takes the type's.
    void saveAsWritesTheTypeOfTheName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("type"); // 0 settings file, 1 the whole configuration
        QTest::addColumn<QString>("written");
        QTest::newRow("no suffix") << "copy" << 0 << "copy.set";
        QTest::newRow("a dot") << "copy." << 0 << "copy.set";
        QTest::newRow("own suffix") << "copy.bak" << 0 << "copy.bak.set";
        QTest::newRow("suffix") << "copy.set" << 0 << "copy.set";
        QTest::newRow(".set, JSON shown") << "copy.set" << 1 << "copy.set";
        QTest::newRow("JSON, no suffix") << "copy" << 1 << "copy.json";
        QTest::newRow(".json, settings shown") << "copy.JSON" << 0 << "copy.JSON";
    }
    void saveAsWritesTheTypeOfTheName()
    {
        QFETCH(QString, typed);
        QFETCH(int, type);
        QFETCH(QString, written);
        FileWindow w;
        w.run(w.actions().acOpen, Sample);
        w.fixture.dialogs.chosenType = type;
        w.run(w.actions().acSaveAs, w.path(typed));
        const FileDialogSetup &dialog = w.fixture.dialogs.fileDialogs.last();
        QCOMPARE(dialog.kind, FileDialogSetup::Kind::Save);
        QCOMPARE(dialog.types.size(), 2);
        QCOMPARE(dialog.types[0].filter, QStringLiteral("Soubory nastavení (*.set)"));
        QCOMPARE(dialog.types[1].filter, QStringLiteral("Celá konfigurace (*.json)"));
        QVERIFY(w.errors().isEmpty());
        const bool json = written.endsWith(u"json", Qt::CaseInsensitive);
        QByteArray expected = readBytes(Sample);
        if (json)
            QVERIFY(configToJson(w.config(), BlockSet::all(), expected).ok());
        QCOMPARE(readBytes(w.path(written)), expected);
        QCOMPARE(w.window->windowTitle(), caption(w.path(written)));
        // The open dialog finds "name.set" by "name" too.
        w.change([](ExchangeConfig &c) { c.DayStart = "00:00"; });
        w.run(w.actions().acOpen, w.path(typed == "copy" ? typed : written));
        QCOMPARE(w.window->config().DayStart, Text("07:30"));
        QCOMPARE(w.window->FileName(), w.path(written));
    }

    // A service edited on its page: a settings file holds no services, so the mark stays
    // after saving one and the status bar says why; the whole configuration holds them, and
    // "Uložit" then writes it again.
    void servicesStayMarkedUntilTheWholeConfigurationIsSaved()
    {
        FileWindow w;
        w.show();
        auto &backRing = w.reveal<QComboBox>(QStringLiteral("cbBackRing21"));
        QTest::keyClicks(&backRing, QStringLiteral("24"));
        QCOMPARE(w.config().Services[0].BackRing, 3);
        w.run(w.actions().acSaveAs, w.path(QStringLiteral("konfig")));
        QCOMPARE(w.window->FileName(), w.path(QStringLiteral("konfig.set")));
        QVERIFY(w.window->isWindowModified());
        const auto &status = w.control<QLabel>(QStringLiteral("lbTransferStatus"));
        QVERIFY2(status.text().startsWith(QStringLiteral("Služby se do souboru .set neukládají")),
            qPrintable(status.text()));

        const QString whole = w.path(QStringLiteral("konfig.json"));
        w.run(w.actions().acSaveAs, whole);
        QVERIFY(!w.window->isWindowModified());
        ExchangeConfig saved;
        BlockSet held;
        QVERIFY(loadConfigFile(whole, FileKind::Json, saved, held).ok());
        QCOMPARE(held, BlockSet::all());
        QCOMPARE(saved, w.config());

        QTest::keyClick(&backRing, Qt::Key_Down); // 25
        QVERIFY(w.window->isWindowModified());
        w.actions().acSave->trigger();
        QVERIFY(!w.window->isWindowModified());
        QVERIFY(loadConfigFile(whole, FileKind::Json, saved, held).ok());
        QCOMPARE(saved.Services[0].BackRing, 4);
        QCOMPARE(w.fixture.dialogs.fileDialogs.size(), 2);
    }

    // Each kind of file starts in the folder last used for it, in the next run too; the PDF
    // is named after the file the window holds.
    void eachKindOfFileStartsInTheFolderLastUsedForIt()
    {
        FileWindow w([](WindowDriver &d) {
            d.fixture.settings = d.path(QStringLiteral("window.ini"));
            d.fixture.backups = d.path(QStringLiteral("backups"));
        });
        QDir(w.folder.path()).mkpath(QStringLiteral("sets"));
        QDir(w.folder.path()).mkpath(QStringLiteral("pdf"));
        w.run(w.actions().acSaveAs, w.path(QStringLiteral("sets/konfig")));
        w.run(w.actions().acExportPdf, w.path(QStringLiteral("pdf/zprava.pdf")));
        QCOMPARE(w.fixture.dialogs.fileDialogs.last().name, QStringLiteral("konfig.pdf"));
        QVERIFY(w.errors().isEmpty());

        w.reopen();
        const QList<FileDialogSetup> &dialogs = w.fixture.dialogs.fileDialogs;
        const std::pair<QAction *, QString> started[] = {
            {w.actions().acOpen, w.path(QStringLiteral("sets"))},
            {w.actions().acExportPdf, w.path(QStringLiteral("pdf"))},
            {w.actions().acExportCsv, w.folder.path()},
            {w.actions().acOpenBackup, w.fixture.backups},
        };
        for (const auto &[action, folder] : started) {
            action->trigger(); // cancelled
            QCOMPARE(dialogs.last().folder, folder);
        }
        QCOMPARE(dialogs.at(dialogs.size() - 3).name, QString()); // no file held yet
    }

    void saveAsksForANameOnlyTheFirstTime()
    {
        FileWindow w;
        w.actions().acSave->trigger(); // cancelled
        QCOMPARE(w.window->windowTitle(), QStringLiteral("ORNIS SET[*]"));
        const QString target = w.path("first.set");
        w.run(w.actions().acSave, target);
        QCOMPARE(w.window->windowTitle(), caption(target));

        w.change([](ExchangeConfig &c) { c.Counters[0] = 42; });
        w.actions().acSave->trigger();
        QCOMPARE(w.fixture.dialogs.fileDialogs.size(), 2);
        ExchangeConfig reread = factoryConfig();
        QVERIFY(LoadSettingsFile(target.toStdString(), reread).ok());
        QCOMPARE(reread.Counters[0], int16_t(42));
        QVERIFY(w.errors().isEmpty());
    }

    // After a file was saved, a damaged one changes nothing, and the message names it.
    void aDamagedFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray sample = readBytes(Sample);
        QByteArray badTag = sample;
        badTag[FirstCommentTag] = 0x07;
        QTest::newRow("cut") << sample.chopped(1) << QStringLiteral("Stream read error: %1");
        QTest::newRow("header only")
            << sample.left(520) << QStringLiteral("Stream read error: %1");
        QTest::newRow("bad tag") << badTag << QStringLiteral("Invalid property value: %1");
        QTest::newRow("missing") << QByteArray()
                                 << QStringLiteral(
                                        "Cannot open file %1: No such file or directory");
    }
    void aDamagedFileChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        FileWindow w;
        const QString good = w.path("good.set");
        const QString damaged = w.path("damaged.set");
        w.run(w.actions().acSaveAs, good);
        QFile file(damaged);
        QVERIFY(bytes.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(bytes)));
        file.close();
        w.change([](ExchangeConfig &c) { c.ShortDialTable[3].Comment = "unsaved"; });
        const ExchangeConfig before = w.window->config();

        w.run(w.actions().acOpen, damaged);
        QCOMPARE(w.errors(), QStringList(message.arg(damaged)));
        QCOMPARE(w.window->config(), before);
        QCOMPARE(w.window->FileName(), good);
        QCOMPARE(w.window->windowTitle(), caption(good));
    }

    // A save that fails leaves the file on the disk and the name of the window as they were.
    void aFailedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("dayStart");
        QTest::addColumn<QString>("saveAs"); // empty: "Uložit" to the file already named
        QTest::addColumn<QString>("message");
        QTest::newRow("day start unset") << QStringLiteral("  :  ") << QString()
                                         << "DayStart: '  :  ' is not a valid date and time";
        QTest::newRow("day start 24:00") << QStringLiteral("24:00") << QString()
                                         << "DayStart: '24:00' is not a valid date and time";
        QTest::newRow("folder missing")
            << QStringLiteral("06:00") << QStringLiteral("missing/other.set")
            << "Cannot create file %1: No such file or directory";
    }
    void aFailedSaveKeepsTheOldFile()
    {
        QFETCH(QString, dayStart);
        QFETCH(QString, saveAs);
        QFETCH(QString, message);
        FileWindow w;
        const QString saved = w.path("saved.set");
        w.run(w.actions().acSaveAs, saved);
        const QByteArray before = readBytes(saved);
        w.change([&](ExchangeConfig &c) {
            c.DayStart = dayStart.toStdString();
            c.Counters[1] = 77;
        });

        const QString target = saveAs.isEmpty() ? saved : w.path(saveAs);
        if (saveAs.isEmpty())
            w.actions().acSave->trigger();
        else
            w.run(w.actions().acSaveAs, target);
        QCOMPARE(w.errors(), QStringList(message.arg(target)));
        QCOMPARE(readBytes(saved), before);
        QCOMPARE(w.window->FileName(), saved);
        QCOMPARE(w.window->windowTitle(), caption(saved));
        QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({"recent.ini", "saved.set"})); // no temporary file left
    }

    // The table of the page in view, as CSV or a workbook by the file's suffix: a good file
    // sets the rows it lists, a bad one nothing.
    void csvImportAndExportTakeTheTableInView()
    {
        FileWindow w;
        w.pages().setCurrentIndex(int(MainPage::ShortDials));
        const QString good = w.path("good.csv");
        QFile file(good);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Komentář;Volba;Číslo;Státní\r\nSklad;815;0P12;91\r\n");
        file.close();
        const ExchangeConfig before = w.window->config();
        ExchangeConfig expected = before;
        expected.ShortDialTable[5] = {2, "0P12", "Sklad"};
        w.run(w.actions().acImportCsv, good);
        QCOMPARE(w.errors(), QStringList());
        QCOMPARE(w.window->config(), expected);
        QCOMPARE(w.control<QLineEdit>("medTempl6").text(), QStringLiteral("0P12"));
        w.actions().acUndo->trigger(); // the import is one step
        QCOMPARE(w.window->config(), before);
        QCOMPARE(w.control<QLineEdit>("medTempl6").text(), QString());
        w.actions().acRedo->trigger();

        w.run(w.actions().acExportCsv, w.path("out")); // the suffix is added
        QCOMPARE(readBytes(w.path("out.csv")), dialTableCsv(expected, Block::ShortDials));
        w.run(w.actions().acExportCsv, w.path("out.xlsx")); // a workbook by the suffix
        QByteArray workbook;
        QVERIFY(dialTableXlsx(expected, Block::ShortDials, workbook).ok());
        QCOMPARE(readBytes(w.path("out.xlsx")), workbook);

        // On "PE" the same file is of the wrong table; a bad row is named with its line.
        w.pages().setCurrentIndex(int(MainPage::PE));
        w.run(w.actions().acImportCsv, good);
        QCOMPARE(w.errors().takeFirst(),
            QStringLiteral("%1:1: holds the short dials, not the PE").arg(good));
        w.run(w.actions().acImportCsv, w.path("out.xlsx"));
        QCOMPARE(w.errors().takeFirst(),
            QStringLiteral("%1:1: holds the short dials, not the PE").arg(w.path("out.xlsx")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Záznam;Číslo\n01;1\n02;12a4\n");
        file.close();
        w.run(w.actions().acImportCsv, good);
        QCOMPARE(w.errors().takeFirst(),
            QStringLiteral("%1:3: column \"Číslo\": \"12a4\" is no number (0-9 and P, at most 14)")
                .arg(good));
        QCOMPARE(w.window->config(), expected);
        // The bad rows are listed up to the first hundred: here 102 bad numbers, two records
        // given twice.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Záznam;Číslo\n");
        for (int row = 0; row < 102; ++row)
            file.write(QByteArray::number(row % 100) + ";x\n");
        file.close();
        w.run(w.actions().acImportCsv, good);
        const QStringList listed = w.errors().takeFirst().split(u'\n');
        QCOMPARE(listed.size(), 101);
        QCOMPARE(listed.last(), QStringLiteral("… a 4 dalších"));
        w.run(w.actions().acExportCsv, w.path("pe.csv"));
        QVERIFY(readBytes(w.path("pe.csv")).startsWith("\xEF\xBB\xBFZáznam;Státní;Číslo\r\n00;"));
    }

    void recentFilesAreKeptNewestFirstAcrossRuns()
    {
        FileWindow w;
        const QString copy = w.path("copy & more.set");
        w.run(w.actions().acOpen, Sample);
        w.run(w.actions().acSaveAs, copy);
        QVERIFY(w.actions().acRecentFiles[0]->text().contains(QStringLiteral("copy && more")));
        QCOMPARE(w.actions().acRecentFiles[1]->statusTip(), QDir::toNativeSeparators(Sample));
        QVERIFY(!w.actions().acRecentFiles[2]->isVisible());

        // The next run shows them; opening one makes it the newest.
        w.reopen();
        w.actions().acRecentFiles[1]->trigger();
        QCOMPARE(w.window->windowTitle(), caption(Sample));
        QCOMPARE(w.actions().acRecentFiles[0]->statusTip(), QDir::toNativeSeparators(Sample));

        // A file that is gone is reported and leaves the list.
        QVERIFY(QFile::remove(copy));
        w.actions().acRecentFiles[1]->trigger();
        QCOMPARE(w.errors(),
            QStringList(
                QStringLiteral("Cannot open file %1: No such file or directory").arg(copy)));
        QVERIFY(!w.actions().acRecentFiles[1]->isVisible());
        QCOMPARE(w.window->windowTitle(), caption(Sample));

        // Eight at most, each once.
        RecentFiles recent(w.fixture.recentFiles);
        for (int i = 1; i <= 10; ++i)
            recent.add(QStringLiteral("/files/%1.set").arg(i % 9));
        QCOMPARE(RecentFiles(w.fixture.recentFiles).paths().join(u' '),
            QStringLiteral("/files/1.set /files/0.set /files/8.set /files/7.set "
                           "/files/6.set /files/5.set /files/4.set /files/3.set"));
    }
};

QTEST_MAIN(FileActionsTest)
#include "tst_fileactions.moc"
