#include "WindowFixture.h"
#include "common/ConfigFiles.h"
#include "config/AppConfigFile.h"
#include "tests/common/SampleConfig.h"
#include "ui/document/Document.h"
#include "ui/editing/ConfigEditor.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

using namespace ornis;

Q_DECLARE_METATYPE(BlockSet)

namespace {

// A document with no window: its backups and preferences in a folder of the test's own.
struct DocumentUnderTest
{
    DocumentUnderTest()
        : document({dialogs, nullptr, clock, folder.filePath(QStringLiteral("OSet.cfg")),
            folder.filePath(QStringLiteral("backups"))})
    {
    }

    [[nodiscard]] ConfigEditor &editor() const { return document.editor(); }
    [[nodiscard]] QStringList backups() const
    {
        return QDir(folder.filePath(QStringLiteral("backups"))).entryList(QDir::Files);
    }
    // A value of every block changed, as the user changes them.
    void editEveryBlock() const
    {
        editor().setValue({Field::Counter, 0}, int64_t(7));
        editor().setValue({Field::BlockRedirect}, int64_t(1));
        editor().setValue({Field::ShortDialNumber, 4}, Text("0P4"));
        editor().setValue({Field::PENumber, 4}, Text("44"));
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    FixedClock clock;
    Document document;
};

} // namespace

class DocumentTest : public QObject
{
    Q_OBJECT

private slots:
    // A file opened takes the place of what the document held, which is kept in a backup
    // first; the history starts anew with nothing unsaved. Only the JSON form brings the
    // model and the services: edited services stay in no file after a settings file.
    void openingKeepsWhatItReplaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<BlockSet>("taken");
        QTest::newRow("settings file") << "a.set" << SettingsFileBlocks;
        QTest::newRow("JSON form") << "a.json" << BlockSet::all();
    }
    void openingKeepsWhatItReplaces()
    {
        QFETCH(QString, name);
        QFETCH(BlockSet, taken);
        DocumentUnderTest d;
        const ExchangeConfig file = testing::awayFromFactory(ModelVegaX);
        const QString path = d.folder.filePath(name);
        const bool json = name.endsWith(u".json");
        QVERIFY(
            saveConfigFile(path, json ? FileKind::Json : FileKind::Settings, file, taken).ok());
        d.editEveryBlock();
        const ExchangeConfig edited = d.document.config();
        QSignalSpy named(&d.document, &Document::fileNameChanged);

        QVERIFY(d.document.open(path).ok());
        ExchangeConfig expected = edited;
        copyBlocks(file, expected, taken);
        if (json) {
            expected.ExchangeType = file.ExchangeType;
            expected.ExchangeModules = file.ExchangeModules;
        }
        QCOMPARE(d.document.config(), expected);
        QCOMPARE(d.document.FileName(), path);
        QCOMPARE(named.size(), 1);
        QVERIFY(!d.editor().history().canUndo());
        QVERIFY(d.document.unsavedBlocks().empty());
        QCOMPARE(d.document.blocksInNoFile(), BlockSet::all() - taken);
        QCOMPARE(d.backups(), QStringList(QStringLiteral("2009-12-31_23-59-59_neulozeno.json")));
    }

    void aFileThatCannotBeReadChangesNothing()
    {
        DocumentUnderTest d;
        d.editEveryBlock();
        const ExchangeConfig edited = d.document.config();
        QVERIFY(!d.document.open(d.folder.filePath(QStringLiteral("missing.set"))).ok());
        QCOMPARE(d.document.config(), edited);
        QCOMPARE(d.document.unsavedBlocks(), BlockSet::all());
        QVERIFY(d.editor().history().canUndo());
        QVERIFY(d.backups().isEmpty());
    }

    // A settings file holds no services: their edits stay unsaved, marked, and go into a
    // backup.
    void aSaveKeepsTheBlocksTheFileHolds()
    {
        DocumentUnderTest d;
        d.editEveryBlock();
        QSignalSpy unsaved(&d.document, &Document::unsavedChanged);
        const QString path = d.folder.filePath(QStringLiteral("b.set"));
        QVERIFY(d.document.save(path).ok());
        QCOMPARE(d.document.FileName(), path);
        QVERIFY(unsaved.isEmpty()); // the mark stays
        QCOMPARE(d.document.blocksInNoFile(), (BlockSet {Block::Services}));
        QCOMPARE(d.document.unsavedBlocks(), (BlockSet {Block::Services}));
        QVERIFY(d.document.storeUnsavedEdits().ok());
        QCOMPARE(d.backups().size(), 1);
        QVERIFY(d.document.unsavedBlocks().empty());
    }

    // The model and the modules live in the preferences: no step, nothing unsaved.
    void theModelComesFromThePreferences_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("model");
        QTest::newRow("VEGA") << int(ModelVega) << int(ModelVega);
        QTest::newRow("no model of the list") << 7 << int(ModelNone);
    }
    void theModelComesFromThePreferences()
    {
        QFETCH(int, stored);
        QFETCH(int, model);
        DocumentUnderTest d;
        ExchangeConfig preferences;
        preferences.ExchangeType = stored;
        preferences.ExchangeModules.MKPR = true;
        SaveAppConfig(d.folder.filePath(QStringLiteral("OSet.cfg")).toStdString(), preferences);
        d.document.loadPreferences();
        QCOMPARE(d.document.config().ExchangeType, model);
        QVERIFY(d.document.config().ExchangeModules.MKPR);
        QVERIFY(!d.editor().history().canUndo());
        QVERIFY(d.document.unsavedBlocks().empty());
    }

    // The factory values of one block are one step, and the views hear of that block only.
    void theFactoryValuesOfABlockAreOneStep()
    {
        DocumentUnderTest d;
        d.editEveryBlock();
        d.editor().setValue({Field::RingFrom, 3, 1}, int64_t(1));
        QSignalSpy changed(&d.editor(), &ConfigEditor::valuesChanged);
        d.document.applyFactoryValues(Block::Services);
        QCOMPARE(d.editor().history().undoText(), QStringLiteral("Přednastavit"));
        QVERIFY(!d.document.config().BlockRedirect);
        QVERIFY(d.document.config().Services[3].RingFrom[1]); // no factory value
        QCOMPARE(int(d.document.config().Counters[0]), 7);
        QCOMPARE(changed.size(), 1);
        const auto range = changed[0][0].value<FieldRange>();
        QCOMPARE(range.first.field, Field::BackRing);
        QCOMPARE(range.last.field, Field::BlockRedirect);
        QCOMPARE(d.backups().size(), 1);
    }
};

QTEST_MAIN(DocumentTest)
#include "tst_document.moc"
