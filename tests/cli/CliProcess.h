#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// ornisset-cli run as its own process to its end. The test's target defines ORNISSET_CLI,
// the path of the tool.

struct CliRun
{
    int exitCode = -1; // -1: it crashed or did not finish
    QByteArray out;
    QByteArray err;
};

// `program` and its arguments; `input` on its standard input.
inline CliRun runProcess(
    const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10'000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120'000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        process.readAllStandardOutput(), process.readAllStandardError()};
}

inline CliRun runCli(const QStringList &arguments, const QByteArray &input = {})
{
    return runProcess(QStringLiteral(ORNISSET_CLI), arguments, input);
}
