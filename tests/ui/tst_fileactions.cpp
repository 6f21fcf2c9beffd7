#include "WindowFixture.h"
#include "config/SettingsFile.h"
#include "tests/common/SampleConfig.h"
#include "ui/FileActions.h"
#include "ui/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
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

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString caption(const QString &path)
{
    return QStringLiteral("ORNIS SET [%1]").arg(QDir::toNativeSeparators(path));
}

// A window whose file dialogs start in a folder of the test's own, which also keeps the
// list of recent files.
struct FileWindow
{
    FileWindow()
    {
        fixture.fileFolder = folder.path();
        fixture.recentFiles = folder.filePath(QStringLiteral("recent.ini"));
        window = fixture.makeWindow();
    }
    QString path(const char *name) const { return folder.filePath(QLatin1String(name)); }
    // Picks `path` in the next file dialog of `action`.
    void run(QAction *action, const QString &path)
    {
        fixture.dialogs.chosenFiles = {path};
        action->trigger();
    }
    const MainActions &actions() const { return window->actions(); }

    QTemporaryDir folder;
    WindowFixture fixture;
    std::unique_ptr<TMainForm> window;
};

} // namespace

class FileActionsTest : public QObject
{
    Q_OBJECT

private slots:
    void openAppliesTheFileButNotTheModelOrServices()
    {
        FileWindow w;
        ExchangeConfig &config = w.window->config();
        config = testing::awayFromFactory(ModelVega);
        const ExchangeConfig before = config;
        w.run(w.actions().acOpen, Sample);

        const FileDialogSetup &setup = w.fixture.dialogs.fileDialogs.first();
        QCOMPARE(setup.kind, FileDialogSetup::Kind::Open);
        QCOMPARE(setup.folder, w.folder.path());
        QCOMPARE(setup.filter, QStringLiteral("Soubory nastavení (*.set)"));
        QCOMPARE(setup.defaultSuffix, QStringLiteral("set"));
        QVERIFY(w.fixture.dialogs.errors.isEmpty());
        QCOMPARE(config.DayStart, Text("07:30"));
        QCOMPARE(config.ShortDialTable[0].Number, Text("0602123456"));
        QCOMPARE(config.PETable[99], (PERecord {-1, "99"}));
        QCOMPARE(config.ExchangeType, int(ModelVega));
        QCOMPARE(config.ExchangeModules, before.ExchangeModules);
        QCOMPARE(config.Services, before.Services);
        QCOMPARE(config.GeneralRing, before.GeneralRing);
        QCOMPARE(w.window->FileName(), Sample);
        QCOMPARE(w.window->windowTitle(), caption(Sample));
    }

    // What the user types in the save dialog and the file that is written.
    void saveAsWritesTheSameBytesUnderTheTypedName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("no suffix") << "copy"
                                   << "copy.set";
        QTest::newRow("a dot") << "copy."
                               << "copy.set";
        QTest::newRow("own suffix") << "copy.bak"
                                    << "copy.bak";
        QTest::newRow("suffix") << "copy.set"
                                << "copy.set";
    }
    void saveAsWritesTheSameBytesUnderTheTypedName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        FileWindow w;
        w.run(w.actions().acOpen, Sample);
        const QString target = w.folder.filePath(written);
        w.run(w.actions().acSaveAs, w.folder.filePath(typed));
        QCOMPARE(w.fixture.dialogs.fileDialogs.last().kind, FileDialogSetup::Kind::Save);
        QVERIFY(w.fixture.dialogs.errors.isEmpty());
        QCOMPARE(readBytes(target), readBytes(Sample));
        QCOMPARE(w.window->windowTitle(), caption(target));
        // A name typed without its suffix opens the file that has it.
        if (typed == QLatin1String("copy")) {
            w.window->config().DayStart = "00:00";
            w.run(w.actions().acOpen, w.folder.filePath(typed));
            QCOMPARE(w.window->config().DayStart, Text("07:30"));
        }
    }

    void saveAsksForANameOnlyTheFirstTime()
    {
        FileWindow w;
        const QString target = w.path("first.set");
        w.run(w.actions().acSave, target);
        QCOMPARE(w.fixture.dialogs.fileDialogs.size(), 1);
        QCOMPARE(w.window->windowTitle(), caption(target));

        w.window->config().Counters[0] = 42;
        w.actions().acSave->trigger();
        QCOMPARE(w.fixture.dialogs.fileDialogs.size(), 1);
        ExchangeConfig reread = factoryConfig();
        QVERIFY(LoadSettingsFile(target.toStdString(), reread).ok());
        QCOMPARE(reread.Counters[0], int16_t(42));
        QVERIFY(w.fixture.dialogs.errors.isEmpty());
    }

    void aCancelledDialogDoesNothing()
    {
        FileWindow w;
        w.actions().acOpen->trigger();
        w.actions().acSave->trigger();
        QCOMPARE(w.fixture.dialogs.fileDialogs.size(), 2);
        QCOMPARE(w.window->config(), factoryConfig());
        QCOMPARE(w.window->windowTitle(), QStringLiteral("ORNIS SET"));
        QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files), QStringList());
    }

    // After a file was opened, a damaged one changes nothing and names no file.
    void aDamagedFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray sample = readBytes(Sample);
        QByteArray badTag = sample;
        badTag[FirstCommentTag] = 0x07;
        QTest::newRow("cut") << sample.left(sample.size() - 1)
                             << QStringLiteral("Stream read error");
        QTest::newRow("header only") << sample.left(520) << QStringLiteral("Stream read error");
        QTest::newRow("bad tag") << badTag << QStringLiteral("Invalid property value");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("Cannot open file %1");
    }
    void aDamagedFileChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        FileWindow w;
        const QString good = w.path("good.set");
        const QString damaged = w.path("damaged.set");
        w.run(w.actions().acSaveAs, good);
        if (!bytes.isEmpty())
            writeBytes(damaged, bytes);
        w.window->config().ShortDialTable[3].Comment = "unsaved";
        const ExchangeConfig before = w.window->config();

        w.run(w.actions().acOpen, damaged);
        QCOMPARE(w.fixture.dialogs.errors, QStringList(message.arg(damaged)));
        QCOMPARE(w.window->config(), before);
        QCOMPARE(w.window->FileName(), good);
        QCOMPARE(w.window->windowTitle(), caption(good));
    }

    // A save that fails leaves the file on the disk and the name of the window as they were.
    void aFailedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("dayStart");
        QTest::addColumn<QString>("nightStart");
        QTest::addColumn<QString>("saveAs"); // empty: "Uložit" to the file already named
        QTest::addColumn<QString>("message");
        QTest::newRow("day start unset")
            << "  :  "
            << "18:00" << QString() << "'  :  ' is not a valid date and time";
        QTest::newRow("night start 24:00")
            << "06:00"
            << "24:00" << QString() << "'24:00' is not a valid date and time";
        QTest::newRow("folder missing") << "06:00"
                                        << "18:00"
                                        << "missing/other.set"
                                        << "Cannot create file %1";
    }
    void aFailedSaveKeepsTheOldFile()
    {
        QFETCH(QString, dayStart);
        QFETCH(QString, nightStart);
        QFETCH(QString, saveAs);
        QFETCH(QString, message);
        FileWindow w;
        const QString saved = w.path("saved.set");
        w.run(w.actions().acSaveAs, saved);
        const QByteArray before = readBytes(saved);
        ExchangeConfig &config = w.window->config();
        config.DayStart = dayStart.toStdString();
        config.NightStart = nightStart.toStdString();
        config.Counters[1] = 77;

        const QString target = saveAs.isEmpty() ? saved : w.folder.filePath(saveAs);
        if (saveAs.isEmpty())
            w.actions().acSave->trigger();
        else
            w.run(w.actions().acSaveAs, target);
        QCOMPARE(w.fixture.dialogs.errors, QStringList(message.arg(target)));
        QCOMPARE(readBytes(saved), before);
        QCOMPARE(w.window->FileName(), saved);
        QCOMPARE(w.window->windowTitle(), caption(saved));
        QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({QStringLiteral("recent.ini"), QStringLiteral("saved.set")}));
    }

    void aDroppedFileOpens()
    {
        FileWindow w;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(Sample)});
        QDragEnterEvent enter(
            QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.window.get(), &drop);
        QCOMPARE(w.window->config().DayStart, Text("07:30"));
        QCOMPARE(w.window->windowTitle(), caption(Sample));
        QVERIFY(w.fixture.dialogs.fileDialogs.isEmpty());
    }

    void recentFilesAreKeptNewestFirstAcrossRuns()
    {
        FileWindow w;
        const QString copy = w.path("copy & more.set");
        w.run(w.actions().acOpen, Sample);
        w.run(w.actions().acSaveAs, copy);
        QVERIFY(w.actions().acRecentFiles[0]->isVisible());
        QVERIFY(w.actions().acRecentFiles[0]->text().contains(QStringLiteral("copy && more")));
        QCOMPARE(w.actions().acRecentFiles[1]->statusTip(), QDir::toNativeSeparators(Sample));
        QVERIFY(!w.actions().acRecentFiles[2]->isVisible());
        w.window.reset();

        // The next run shows them; opening one makes it the newest.
        w.window = w.fixture.makeWindow();
        w.actions().acRecentFiles[1]->trigger();
        QCOMPARE(w.window->windowTitle(), caption(Sample));
        QCOMPARE(w.actions().acRecentFiles[0]->statusTip(), QDir::toNativeSeparators(Sample));

        // A file that is gone is reported and leaves the list.
        QVERIFY(QFile::remove(copy));
        w.actions().acRecentFiles[1]->trigger();
        QCOMPARE(w.fixture.dialogs.errors,
            QStringList(QStringLiteral("Cannot open file %1").arg(copy)));
        QVERIFY(!w.actions().acRecentFiles[1]->isVisible());
        QCOMPARE(w.window->windowTitle(), caption(Sample));
    }

    void theRecentListHoldsEightFilesEachOnce()
    {
        QTemporaryDir folder;
        RecentFiles recent(folder.filePath(QStringLiteral("recent.ini")));
        for (int i = 1; i <= 10; ++i)
            recent.add(QStringLiteral("/files/%1.set").arg(i));
        recent.add(QStringLiteral("/files/5.set"));
        const QStringList expected {"/files/5.set", "/files/10.set", "/files/9.set",
            "/files/8.set", "/files/7.set", "/files/6.set", "/files/4.set", "/files/3.set"};
        QCOMPARE(recent.paths(), expected);
        QCOMPARE(RecentFiles(folder.filePath(QStringLiteral("recent.ini"))).paths(), expected);
    }
};

QTEST_MAIN(FileActionsTest)
#include "tst_fileactions.moc"
