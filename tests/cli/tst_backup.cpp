#include "CliProcess.h"
#include "cli/BackupJournal.h"
#include "cli/FleetBackup.h"
#include "cli/Shard.h"
#include "cli/SiteList.h"
#include "common/JsonForm.h"
#include "config/FactoryDefaults.h"
#include "tests/common/FileBytes.h"
#include "tests/common/SimToolProcess.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <map>
#include <unistd.h>

// ornisset-cli backup: the list of sites and its shards, and a fleet of virtual exchanges
// read at once, a fault of one site failing that site alone.

using namespace ornis;
using namespace ornis::cli;

namespace {

// Which sites were being read at the same time, as their progress tells it.
class RecordedProgress final : public SiteProgress
{
public:
    void siteStarted(std::size_t site) override
    {
        started[site] = ++events;
        std::size_t running = 0;
        for (const auto &[other, when] : started)
            running += ended.count(other) == 0;
        peakRunning = std::max(peakRunning, running);
    }
    void siteEnded(std::size_t site, const QString &) override { ended[site] = ++events; }

    // Both were started before either ended.
    bool overlapped(std::size_t a, std::size_t b) const
    {
        return started.count(a) && started.count(b) && started.at(a) < ended.at(b)
            && started.at(b) < ended.at(a);
    }

    int events = 0;
    std::map<std::size_t, int> started;
    std::map<std::size_t, int> ended;
    std::size_t peakRunning = 0;
};

struct BackupRun
{
    ExitCode code = ExitCode::UsageOrFileError;
    QString report; // in the order of the list
    std::vector<SiteOutcome> outcomes; // in the order the sites ended
};

BackupRun backUp(const std::vector<Site> &sites, const BackupOptions &options,
    const QDateTime &stamp, SiteProgress &progress)
{
    BackupRun run;
    FleetBackup backup(sites, options, stamp, progress,
        [&run](const SiteOutcome &outcome) { run.outcomes.push_back(outcome); });
    QEventLoop loop;
    std::optional<ExitCode> code;
    backup.start([&](ExitCode end) {
        code = end;
        loop.quit();
    });
    if (!code)
        loop.exec();
    run.code = code.value_or(ExitCode::UsageOrFileError);
    std::vector<SiteOutcome> bySite = run.outcomes;
    std::sort(bySite.begin(), bySite.end(),
        [](const SiteOutcome &a, const SiteOutcome &b) { return a.index < b.index; });
    for (const SiteOutcome &outcome : bySite)
        run.report += QString::fromUtf8(BackupJournal::reportLines(outcome));
    return run;
}

QStringList backupsOf(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
}

} // namespace

class BackupTest : public QObject
{
    Q_OBJECT

private slots:
    void goodLists_data();
    void goodLists();
    void badLists_data();
    void badLists();
    void badListSendsNothing();
    void listOverTheLimitThroughAPipe();
    void shardsPartitionAList_data();
    void shardsPartitionAList();
    void fleetReadAtOnce_data();
    void fleetReadAtOnce();
    void aSiteFaultFailsThatSiteAlone_data();
    void aSiteFaultFailsThatSiteAlone();
};

void BackupTest::goodLists_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("sites"); // name|port|model, a site a line

    QTest::newRow("comma, comments, no model column") << QByteArray(
        "# sites of the north\nname,port\n\nBrno,ttyUSB0\n#Olomouc,ttyUSB1\n"
        "Zlín,tcp://10.0.0.5:4001\n") << "Brno|ttyUSB0|0\nZlín|tcp://10.0.0.5:4001|0";
    QTest::newRow("semicolon, quotes, BOM, CRLF, models in any case")
        << QByteArray("\xEF\xBB\xBFport;Name;MODEL\r\n"
                      "rfc2217://h:1; \"Pobočka \"\"Brno\"\", sklad\" ;vega-x\r\n"
                      "/dev/pts/3;Praha 1;\r\n/dev/pts/4;Praha 2;VEGA\r\n")
        << "Pobočka \"Brno\", sklad|rfc2217://h:1|2\nPraha 1|/dev/pts/3|0\n"
           "Praha 2|/dev/pts/4|1";
    const QString longest(MaxSiteNameBytes, u'x');
    QTest::newRow("the longest name") << "name,port\n" + longest.toUtf8() + ",p\n"
                                      << longest + "|p|0";
}

void BackupTest::goodLists()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, sites);
    const SiteList list = readSiteList(csv);
    QVERIFY2(list.errors.isEmpty(), qPrintable(list.errors.join('\n')));
    QStringList got;
    for (const Site &site : list.sites)
        got.append(QStringLiteral("%1|%2|%3").arg(site.name, site.port).arg(site.model));
    QCOMPARE(got.join('\n'), sites);
}

void BackupTest::badLists_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("error");

    const QByteArray header("name;port;model\n");
    const std::pair<const char *, const char *> rows[] = {
        {"Brno;ttyUSB0\n;ttyUSB1\n", "line 3: the name is empty"},
        {"a/b;p\n", "line 2: name \"a/b\" holds /"},
        {"a\\b;p\n", "line 2: name \"a\\b\" holds /"},
        {"a\tb;p\n", "line 2: name \"a?b\" holds"},
        {".;p\n", "line 2: name \".\" is no folder name"},
        {"..;p\n", "line 2: name \"..\" is no folder name"},
        {"Brno;p1\n# a comment\nBRNO;p2\n",
            "line 4: name \"BRNO\" stands twice (first on line 2)"},
        {"Brno;p;ATLAS\n", "line 2: unknown model \"ATLAS\""},
        {"Brno; ;MIRA\n", "line 2: site \"Brno\" has an empty port"},
        {"Brno\n", "line 2: site \"Brno\" has an empty port"},
        {"\"Brno;p\n", "line 2: a quote is not closed"},
        {"Brno;p;MIRA;x\n", "line 2: 4 fields, the header names 3 columns"},
        {"Br\xFFno;p\n", "line 2: the name is no UTF-8 text"},
        {"", "the list names no site"},
    };
    for (const auto &[lines, error] : rows)
        QTest::newRow(error) << header + lines << QString::fromUtf8(error);
    // A folder and its NAME.trace allow 249 bytes: 125 letters of two bytes are one too many.
    QTest::newRow("name too long") << header + QString(125, u'č').toUtf8() + ";p\n"
                                   << "line 2: name \"čččččččččččččččččččč...\" takes 250 bytes";
    QTest::newRow("unknown column") << QByteArray("name;port;modle\n") << "unknown column";
    QTest::newRow("no port column") << QByteArray("name;model\nBrno;VEGA\n")
                                    << "line 1: the header must name the columns name and port";
    QTest::newRow("no header") << QByteArray("# nothing\n") << "no header row";
}

void BackupTest::badLists()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, error);
    const SiteList list = readSiteList(csv);
    QVERIFY2(list.errors.join('\n').contains(error), qPrintable(list.errors.join('\n')));
}

void BackupTest::badListSendsNothing()
{
    SimToolProcess sim({});
    QVERIFY(!sim.waitForPath().isEmpty());
    QTemporaryDir dir;
    const QString list = dir.filePath("sites.csv");
    QVERIFY(writeFile(list, "name,port\nBrno," + sim.path.toUtf8() + "\nPraha,\n..,x\n"));
    const CliRun run = runCli({"backup", "--sites", list, "--dir", dir.filePath("backups"),
        "--trace-dir", dir.filePath("traces")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("line 3: site \"Praha\" has an empty port")
            && run.err.contains("line 4: name \"..\""),
        run.err.constData());
    // Neither a backup folder nor a trace: no transfer began.
    QVERIFY(!QFileInfo::exists(dir.filePath("backups")));
    QVERIFY(!QFileInfo::exists(dir.filePath("traces")));
}

void BackupTest::listOverTheLimitThroughAPipe()
{
    // A good list, but one byte past 4 MiB: a pipe tells no size, so the limit must be read.
    QByteArray list = "name,port\nBrno,ttyUSB0\n";
    list += QByteArray(4 * 1024 * 1024 + 1 - list.size(), '#');
    QTemporaryDir dir;
    const CliRun run
        = runCli({"backup", "--sites", "/dev/stdin", "--dir", dir.filePath("backups")}, list);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("Cannot read file /dev/stdin: it holds more than 4 MiB"),
        run.err.constData());
    QVERIFY(!QFileInfo::exists(dir.filePath("backups")));
}

void BackupTest::shardsPartitionAList_data()
{
    QTest::addColumn<int>("count");
    for (const int count : {1, 2, 3, 7})
        QTest::addRow("%d shards", count) << count;
}

void BackupTest::shardsPartitionAList()
{
    QFETCH(int, count);
    // FNV-1a's own test vectors: the hash must never change, or sites move between hosts.
    QCOMPARE(siteNameHash(QString()), 0x811c9dc5u);
    QCOMPARE(siteNameHash(QStringLiteral("a")), 0xe40c292cu);
    QCOMPARE(siteNameHash(QStringLiteral("foobar")), 0xbf9cf968u);

    QStringList names;
    for (int i = 0; i < 300; ++i)
        names.append(QStringLiteral("Pobočka %1").arg(i));
    std::vector<int> held(std::size_t(names.size()), 0);
    int emptyShards = 0;
    for (int index = 1; index <= count; ++index) {
        const std::optional<Shard> shard
            = Shard::parse(QStringLiteral("%1/%2").arg(index).arg(count));
        QVERIFY(shard);
        int taken = 0;
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (shard->holds(names[i])) {
                ++held[std::size_t(i)];
                ++taken;
            }
        }
        emptyShards += taken == 0;
    }
    QVERIFY(std::all_of(held.begin(), held.end(), [](int shards) { return shards == 1; }));
    QCOMPARE(emptyShards, 0);
    for (const char *bad : {"0/2", "3/2", "1/0", "1/1001", "1/", "1/2/3", "a/b", "1"})
        QVERIFY2(!Shard::parse(QString::fromLatin1(bad)), bad);
}

// One thread or several: the same backups, the same report.
void BackupTest::fleetReadAtOnce_data()
{
    QTest::addColumn<int>("jobs");
    QTest::newRow("one thread") << 1;
    QTest::newRow("two threads") << 2;
}

void BackupTest::fleetReadAtOnce()
{
    QFETCH(int, jobs);
    SimToolProcess paced({"--lines", "2", "--baud", "19200"});
    const QString brno = paced.waitForPath();
    const QString praha = paced.nextLine();
    SimToolProcess unpaced({"--lines", "1"});
    const QString ostrava = unpaced.waitForPath();
    SimToolProcess silent({"--silent-after", "0"});
    const QString quiet = silent.waitForPath();
    QVERIFY(!brno.isEmpty() && !praha.isEmpty() && !ostrava.isEmpty() && !quiet.isEmpty());

    const std::vector<Site> sites {{"Pobočka Brno", brno, ModelMira, 2},
        {"Praha sklad", praha, ModelVega, 3}, {"Ostrava", ostrava, ModelVegaX, 4},
        {"Ticho", quiet, ModelMira, 5}};
    QTemporaryDir dir;
    BackupOptions options {dir.filePath("zálohy"), {}, 400, 0, jobs, dir.filePath("traces")};
    const QDateTime night(QDate(2026, 1, 5), QTime(2, 0, 0));

    RecordedProgress first;
    BackupRun run = backUp(sites, options, night, first);
    QCOMPARE(run.code, ExitCode::TransferFailed);
    QCOMPARE(run.report,
        QStringLiteral("Pobočka Brno\tfirst backup\nPraha sklad\tfirst backup\n"
                       "Ostrava\tfirst backup\nTicho\tfailed: Timeout on %1\n")
            .arg(quiet.mid(5)));
    // Every site was read while the others were.
    QVERIFY(first.overlapped(0, 1) && first.overlapped(0, 2) && first.overlapped(1, 2));
    QVERIFY(!QFileInfo::exists(QDir(options.dir).filePath("Ticho")));
    for (const Site &site : sites)
        QVERIFY(QFileInfo(QDir(options.traceDir).filePath(site.name + ".trace")).size() > 0);

    // Each backup is what read --json writes.
    const char *const models[] = {"MIRA", "VEGA", "VEGA-X"};
    for (std::size_t i = 0; i < 3; ++i) {
        const QString json = dir.filePath(QString::number(i) + ".json");
        QCOMPARE(runCli({"read", "--port", sites[i].port, "--model", models[i], "--json", json})
                     .exitCode,
            0);
        QCOMPARE(readFile(QDir(options.dir).filePath(sites[i].name + "/2026-01-05_02-00-00.json")),
            readFile(json));
    }

    // Someone on site changes a short dial of Praha.
    ExchangeConfig changed = factoryConfig();
    changed.ExchangeType = ModelVega;
    changed.ShortDialTable[5].Number = "777";
    QByteArray json;
    QVERIFY(configToJson(changed, {Block::ShortDials}, json).ok());
    const QString changes = dir.filePath("changes.json");
    QVERIFY(writeFile(changes, json));
    QCOMPARE(runCli({"write", "--port", praha, "--json", changes}).exitCode, 0);

    RecordedProgress second;
    options.parallel = 2;
    run = backUp(sites, options, night.addDays(1), second);
    QCOMPARE(run.code, ExitCode::TransferFailed);
    QCOMPARE(run.report.section('\n', 0, 3),
        QStringLiteral("Pobočka Brno\tunchanged\nPraha sklad\t1 change\n"
                       "Praha sklad\tZkrácené volby\tZkrácená volba 815, číslo\t\"\"\t777\n"
                       "Ostrava\tunchanged"));
    QCOMPARE(second.peakRunning, std::size_t(2));
    // Only the change is kept: nothing new for the unchanged sites.
    QCOMPARE(backupsOf(QDir(options.dir).filePath("Praha sklad")),
        QStringList({"2026-01-05_02-00-00.json", "2026-01-06_02-00-00.json"}));
    for (const char *unchanged : {"Pobočka Brno", "Ostrava"})
        QCOMPARE(backupsOf(QDir(options.dir).filePath(unchanged)),
            QStringList({"2026-01-05_02-00-00.json"}));
}

void BackupTest::aSiteFaultFailsThatSiteAlone_data()
{
    QTest::addColumn<QString>("broken"); // what stands in the way of site Brno
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("jobs"); // Brno and Praha on one thread, or each on its own
    QTest::newRow("folder is a file") << "file"
                                      << "%1/backups/Brno is no folder" << 1;
    QTest::newRow("trace is a folder")
        << "trace"
        << "Cannot write the line trace %1/traces/Brno.trace: " << 2;
    QTest::newRow("folder not writable") << "read-only"
                                         << "Cannot create files in the folder %1/backups/Brno: "
                                            "Permission denied"
                                         << 2;
}

void BackupTest::aSiteFaultFailsThatSiteAlone()
{
    QFETCH(QString, broken);
    QFETCH(QString, error);
    QFETCH(int, jobs);
    QTemporaryDir dir;
    const BackupOptions options {
        dir.filePath("backups"), Block::Settings, 2000, 0, jobs, dir.filePath("traces")};
    QVERIFY(QDir().mkpath(options.dir) && QDir().mkpath(options.traceDir));
    const QString brno = QDir(options.dir).filePath("Brno");
    if (broken == "file") {
        QVERIFY(writeFile(brno, "not a folder"));
    } else if (broken == "trace") {
        QVERIFY(QDir().mkpath(QDir(options.traceDir).filePath("Brno.trace")));
    } else {
        if (::geteuid() == 0)
            QSKIP("root may write into any folder");
        QVERIFY(QDir().mkpath(brno));
        QVERIFY(QFile::setPermissions(brno, QFile::ReadOwner | QFile::ExeOwner));
    }
    SimToolProcess exchanges({"--lines", "2"});
    const std::vector<Site> sites {{"Brno", exchanges.waitForPath(), ModelMira, 2},
        {"Praha", exchanges.nextLine(), ModelMira, 3}};

    RecordedProgress progress;
    const BackupRun run = backUp(sites, options, QDateTime::currentDateTime(), progress);
    QCOMPARE(run.code, ExitCode::TransferFailed);
    QVERIFY2(
        run.report.startsWith("Brno\tfailed: " + error.arg(dir.path())), qPrintable(run.report));
    QVERIFY2(run.report.endsWith("Praha\tfirst backup\n"), qPrintable(run.report));
    QCOMPARE(backupsOf(QDir(options.dir).filePath("Praha")).size(), 1);
}

QTEST_GUILESS_MAIN(BackupTest)
#include "tst_backup.moc"
