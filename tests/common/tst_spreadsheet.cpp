// The dial tables through LibreOffice Calc, as a user takes them: our CSV opened and saved
// as a workbook and as CSV again, and our workbook opened and saved again. What comes back
// is what went out.

#include "common/DialTableFile.h"
#include "config/FactoryDefaults.h"
#include "tests/common/DialTables.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace ornis;

namespace {

// ';' between fields, '"' around texts, UTF-8, from the first line.
const QString CsvOptions = QStringLiteral("59,34,76,1");

} // namespace

class TestSpreadsheet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        soffice_ = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice_.isEmpty())
            QSKIP("soffice is missing (scripts/install-deps.sh installs libreoffice-calc-nogui)");
        QVERIFY(folder_.isValid());
    }

    void csvComesBackFromTheSpreadsheet()
    {
        writeTables(QStringLiteral("csv"));
        QVERIFY(soffice(
            {"--infilter=CSV:" + CsvOptions, "--convert-to", "xlsx", "dials.csv", "pe.csv"}));
        QVERIFY(soffice({"--convert-to", "csv:Text - txt - csv (StarCalc):" + CsvOptions,
            "--outdir", "back", "dials.xlsx", "pe.xlsx"}));
        // The spreadsheet's own workbook keeps the numbers as results of formulas.
        compareTables(QStringLiteral("%1.xlsx"));
        compareTables(QStringLiteral("back/%1.csv"));
    }

    void xlsxComesBackFromTheSpreadsheet()
    {
        writeTables(QStringLiteral("xlsx"));
        QVERIFY(soffice({"--convert-to", "xlsx", "--outdir", "again", "dials.xlsx", "pe.xlsx"}));
        compareTables(QStringLiteral("again/%1.xlsx"));
    }

private:
    void writeTables(const QString &suffix)
    {
        QVERIFY(writeDialFile(path("dials." + suffix), tables_, Block::ShortDials).ok());
        QVERIFY(writeDialFile(path("pe." + suffix), tables_, Block::PE).ok());
    }

    // The files "dials" and "pe" by `pattern`, read over the factory values, are the tables.
    void compareTables(const QString &pattern)
    {
        ExchangeConfig back = factoryConfig();
        for (const char *name : {"dials", "pe"}) {
            DialRows rows;
            const QString file = path(pattern.arg(QLatin1String(name)));
            QVERIFY2(readDialFile(file, rows).ok(), qPrintable(file));
            QVERIFY2(
                rows.problems.empty(), qPrintable(dialRowProblemLines(file, rows).join('\n')));
            applyDialRows(back, rows);
        }
        QVERIFY2(back.ShortDialTable == tables_.ShortDialTable, qPrintable(pattern));
        QVERIFY2(back.PETable == tables_.PETable, qPrintable(pattern));
    }

    // Runs soffice headless in the test's folder, with a profile of its own, so that tests
    // running at the same time do not share one.
    bool soffice(const QStringList &arguments)
    {
        const QString profile = QUrl::fromLocalFile(path("profile")).toString();
        QProcess process;
        process.setWorkingDirectory(folder_.path());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(soffice_,
            QStringList {"-env:UserInstallation=" + profile, "--headless", "--norestore"}
                + arguments);
        constexpr int Bound = 240000; // a bound on a hung soffice, not a wait for anything
        if (!process.waitForFinished(Bound)) {
            process.kill();
            process.waitForFinished();
            return false;
        }
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QString path(const QString &name) const { return folder_.filePath(name); }

    QTemporaryDir folder_;
    QString soffice_;
    const ExchangeConfig tables_ = testing::spreadsheetDialTables();
};

QTEST_GUILESS_MAIN(TestSpreadsheet)
#include "tst_spreadsheet.moc"
