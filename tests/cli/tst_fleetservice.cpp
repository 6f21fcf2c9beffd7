#include "CliProcess.h"
#include "cli/BackupLock.h"
#include "tests/common/FileBytes.h"
#include "tests/common/SimToolProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// ornisset-cli backup as a nightly service runs it: one run at a time a folder, a stop by
// signal that ends every line and keeps the report, metrics that Prometheus' own tools read,
// and a full disk named as such.

using namespace ornis;
using namespace ornis::cli;

namespace {

// A list of sites, name and port a line.
QString writeSites(const QTemporaryDir &dir, const QList<std::pair<QString, QString>> &sites)
{
    QByteArray text = "name,port\n";
    for (const auto &[name, port] : sites)
        text += '"' + name.toUtf8().replace('"', "\"\"") + "\"," + port.toUtf8() + '\n';
    const QString path = dir.filePath("sites.csv");
    return writeFile(path, text) ? path : QString();
}

QString tool(const QString &name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"}) : found;
}

// The bytes the trace records in one direction ("TX" or "RX"), in order.
QList<int> tracedBytes(const QString &trace, const char *direction)
{
    static const QRegularExpression line(QStringLiteral("^ *[0-9.]+ (TX|RX) ([0-9A-F]{2})"));
    QList<int> bytes;
    for (const QString &text : QString::fromUtf8(readFile(trace)).split(u'\n')) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch() && match.captured(1) == QLatin1String(direction))
            bytes.append(match.captured(2).toInt(nullptr, 16));
    }
    return bytes;
}

// The value of one series of a metrics file; nothing when it is absent.
std::optional<double> seriesValue(const QByteArray &metrics, const QByteArray &series)
{
    for (const QByteArray &line : metrics.split('\n')) {
        if (line.startsWith(series + ' '))
            return line.mid(series.size() + 1).toDouble();
    }
    return std::nullopt;
}

// A port on loopback whose backlog is full: a new connection to it is never made, and waits
// for the connect timeout.
class FullListener
{
public:
    FullListener()
    {
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (::bind(listener_, reinterpret_cast<sockaddr *>(&address), length) != 0
            || ::listen(listener_, 0) != 0
            || ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        port = ntohs(address.sin_port);
        for (int &filler : fillers_) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<sockaddr *>(&address), length);
        }
    }
    ~FullListener()
    {
        for (const int socket : {listener_, fillers_[0], fillers_[1]})
            ::close(socket);
    }

    quint16 port = 0;

private:
    int listener_ = -1;
    int fillers_[2] = {-1, -1};
};

quint16 freeLoopbackPort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost) ? server.serverPort() : 0;
}

// GET http://127.0.0.1:PORT/metrics; empty when nothing answers.
QByteArray scrape(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write("GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(5000))
        answer += socket.readAll();
    return answer + socket.readAll();
}

} // namespace

class FleetServiceTest : public QObject
{
    Q_OBJECT

private slots:
    void aSecondRunIsRefusedBeforeAnyByte_data();
    void aSecondRunIsRefusedBeforeAnyByte();
    void aSignalEndsEveryLineAndKeepsTheReport();
    void metricsKeepTheLastSuccess();
    void aFullDiskIsNamed_data();
    void aFullDiskIsNamed();
};

void FleetServiceTest::aSecondRunIsRefusedBeforeAnyByte_data()
{
    QTest::addColumn<QString>("held"); // the shard this test's run holds; empty: the whole list
    QTest::addColumn<QString>("second"); // the shard of the second run
    QTest::addColumn<bool>("refused");
    QTest::newRow("whole list twice") << ""
                                      << "" << true;
    QTest::newRow("a shard beside the whole list") << ""
                                                   << "2/2" << true;
    QTest::newRow("the whole list beside a shard") << "1/2"
                                                   << "" << true;
    QTest::newRow("the same shard twice") << "1/2"
                                          << "1/2" << true;
    QTest::newRow("two shards side by side") << "1/2"
                                             << "2/2" << false;
}

void FleetServiceTest::aSecondRunIsRefusedBeforeAnyByte()
{
    QFETCH(QString, held);
    QFETCH(QString, second);
    QFETCH(bool, refused);
    SimToolProcess exchange({});
    QTemporaryDir dir;
    const QString backups = dir.filePath("backups");
    const QString traces = dir.filePath("traces");
    BackupLock lock;
    QVERIFY(lock.take(backups, Shard::parse(held)).ok());

    QStringList arguments {"backup", "--sites",
        writeSites(dir, {{"Brno", exchange.waitForPath()}}), "--dir", backups, "--trace-dir",
        traces, "--block", "settings"};
    if (!second.isEmpty())
        arguments << "--shard" << second;
    const CliRun run = runCli(arguments);
    if (!refused) {
        QCOMPARE(run.exitCode, 0);
        return;
    }
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("Another run backs up into %1: process %2")
                                  .arg(backups)
                                  .arg(QCoreApplication::applicationPid())
                                  .toUtf8())
            && run.err.contains("holds " + backups.toUtf8() + "/.ornisset-backup.lock"),
        run.err.constData());
    // The trace opens before the first byte: none means nothing was sent.
    QVERIFY(!QFileInfo::exists(traces));
    QVERIFY(!QFileInfo::exists(QDir(backups).filePath("Brno")));
}

void FleetServiceTest::aSignalEndsEveryLineAndKeepsTheReport()
{
    SimToolProcess fast({});
    SimToolProcess slow({"--lines", "3", "--baud", "2400"}); // a whole read takes a while
    FullListener unanswered;
    QVERIFY(unanswered.port != 0);
    QTemporaryDir dir;
    // Three at a time: F1, H1 and S1 begin, S2 takes F1's place, S3 still waits at the signal,
    // H1 still connects.
    const QString list = writeSites(dir,
        {{"F1", fast.waitForPath()},
            {"H1", QStringLiteral("tcp://127.0.0.1:%1").arg(unanswered.port)},
            {"S1", slow.waitForPath()}, {"S2", slow.nextLine()}, {"S3", slow.nextLine()}});
    const QString backups = dir.filePath("backups");
    const QString traces = dir.filePath("traces");
    QProcess backup;
    QByteArray out;
    connect(&backup, &QProcess::readyReadStandardOutput,
        [&] { out += backup.readAllStandardOutput(); });
    backup.start(QStringLiteral(ORNISSET_CLI),
        {"backup", "--sites", list, "--dir", backups, "--trace-dir", traces, "--parallel", "3"});

    // The fast site's line stands on standard output while the slow ones still read.
    QTRY_VERIFY_WITH_TIMEOUT(out.contains("F1\tfirst backup\n"), 30'000);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(QDir(traces).filePath("S2.trace")).size() > 0, 30'000);
    QVERIFY(::kill(pid_t(backup.processId()), SIGTERM) == 0);
    QVERIFY(backup.waitForFinished(30'000));
    out += backup.readAllStandardOutput();
    QCOMPARE(backup.exitStatus(), QProcess::NormalExit);
    QCOMPARE(backup.exitCode(), 128 + SIGTERM);

    for (const char *site : {"H1", "S1", "S2", "S3"}) {
        QVERIFY2(out.contains(QByteArray(site) + "\tfailed: interrupted\n"), out.constData());
        QVERIFY(!QFileInfo::exists(QDir(backups).filePath(site)));
    }
    QVERIFY(!QFileInfo::exists(QDir(traces).filePath("S3.trace"))); // it never began
    // Nothing had reached H1's line: the stop waited for no connect timeout.
    QVERIFY(!readFile(QDir(traces).filePath("H1.trace")).contains("port failed"));
    for (const char *site : {"S1", "S2"}) {
        // The stop sequence ended the block: 'E' answered by 'E', 'X' answered by 'X'.
        const QString trace = QDir(traces).filePath(QString::fromLatin1(site) + ".trace");
        const QList<int> sent = tracedBytes(trace, "TX");
        QCOMPARE(sent.mid(sent.size() - 2), QList<int>({'E', 'X'}));
        QCOMPARE(tracedBytes(trace, "RX").last(), int('X'));
    }
    const CliRun status = runCli({"backup", "--status", "--dir", backups});
    QCOMPARE(status.exitCode, 1);
    QCOMPARE(status.out.count("\t1\tinterrupted\n"), 4);
}

void FleetServiceTest::metricsKeepTheLastSuccess()
{
    const QString promtool = tool("promtool");
    const QString nodeExporter = tool("prometheus-node-exporter");
    if (promtool.isEmpty() || nodeExporter.isEmpty())
        QSKIP("needs promtool and prometheus-node-exporter (scripts/install-deps.sh)");
    SimToolProcess exchange({});
    QTemporaryDir dir;
    const QString name = QStringLiteral("Pobočka \"Brno\"");
    const QStringList backup {"backup", "--sites",
        writeSites(dir, {{name, exchange.waitForPath()}}), "--dir", dir.filePath("backups"),
        "--block", "settings", "--metrics", dir.filePath("textfile/ornisset-backup.prom")};
    QVERIFY(QDir().mkpath(dir.filePath("textfile")));
    const QByteArray site = "{site=\"Pobočka \\\"Brno\\\"\"}";

    QCOMPARE(runCli(backup).exitCode, 0);
    const QByteArray first = readFile(dir.filePath("textfile/ornisset-backup.prom"));
    const auto lastSuccess = "ornisset_backup_site_last_success_timestamp_seconds" + site;
    QVERIFY2(seriesValue(first, lastSuccess).value_or(0) > 0, first.constData());

    QVERIFY(exchange.terminate()); // the site's line is gone
    QCOMPARE(runCli(backup).exitCode, 1);
    const QByteArray second = readFile(dir.filePath("textfile/ornisset-backup.prom"));
    QCOMPARE(seriesValue(second, "ornisset_backup_site_success" + site), 0.0);
    QCOMPARE(seriesValue(second, lastSuccess), seriesValue(first, lastSuccess));
    const CliRun checked = runProcess(promtool, {"check", "metrics"}, second);
    QVERIFY2(checked.exitCode == 0, (checked.out + checked.err).constData());

    // node_exporter's textfile collector takes the file as it is.
    const quint16 port = freeLoopbackPort();
    QProcess exporter;
    exporter.start(nodeExporter,
        {QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(port),
            "--collector.disable-defaults", "--collector.textfile",
            "--collector.textfile.directory=" + dir.filePath("textfile")});
    QByteArray scraped;
    QTRY_VERIFY_WITH_TIMEOUT(!(scraped = scrape(port)).isEmpty(), 10'000);
    exporter.terminate();
    exporter.waitForFinished();
    QVERIFY2(scraped.contains("ornisset_backup_site_success" + site + " 0\n")
            && scraped.contains("node_textfile_scrape_error 0\n"),
        scraped.constData());
}

void FleetServiceTest::aFullDiskIsNamed_data()
{
    QTest::addColumn<QString>("full"); // the folder on a full file system
    QTest::addColumn<QString>("error");
    QTest::newRow("backups") << "backups"
                             << "Brno\tfailed: Cannot create file %1/backups/Brno/";
    QTest::newRow("traces") << "traces"
                            << "Brno\tfailed: Cannot write the line trace %1/traces/Brno.trace";
}

void FleetServiceTest::aFullDiskIsNamed()
{
    QFETCH(QString, full);
    QFETCH(QString, error);
    SimToolProcess exchange({});
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(full)));
    const QString list = writeSites(dir, {{"Brno", exchange.waitForPath()}});
    // A file system of two pages, in a mount namespace of the run's own; what is left of it
    // afterwards is listed before it goes.
    const QString script = QStringLiteral(
        "mount -t tmpfs -o size=8k tmpfs \"$1\" || exit 99\n"
        "\"$0\" backup --sites \"$2\" --dir \"$3\"/backups --trace-dir \"$3\"/traces\n"
        "code=$?; echo LEFT:; find \"$1\" -name '20*.json'; exit $code\n");
    const CliRun run = runProcess(QStringLiteral("unshare"),
        {::geteuid() == 0 ? "-m" : "-rm", "sh", "-c", script, QStringLiteral(ORNISSET_CLI),
            dir.filePath(full), list, dir.path()});
    if (run.exitCode != 1)
        QSKIP(qPrintable("no small file system can be made here: " + run.err));
    QVERIFY2(run.out.contains((error.arg(dir.path()) + "").toUtf8())
            && run.out.contains(": No space left on device\n"),
        run.out.constData());
    QVERIFY2(run.out.endsWith("LEFT:\n"), run.out.constData()); // no backup half written
}

QTEST_GUILESS_MAIN(FleetServiceTest)
#include "tst_fleetservice.moc"
