#include "CommandLine.h"
#include "Commands.h"
#include "Output.h"
#include "Version.h"

#include <QCoreApplication>
#include <cstdio>

using namespace ornis::cli;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("ornisset-cli");
    QCoreApplication::setApplicationVersion(QLatin1String(ornis::ProgramVersion));

    const ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments());
    if (!parsed.request) {
        std::fprintf(stderr, "%s\nRun ornisset-cli --help for the usage.\n",
            parsed.error.toUtf8().constData());
        return int(ExitCode::UsageOrFileError);
    }
    int code = int(runRequest(*parsed.request));
    // A result that never reached its reader (a full disk behind a redirection) is no success.
    if (const QString failure = outputFailure(); !failure.isEmpty()) {
        printMessage(QStringLiteral("Cannot write the standard output: %1").arg(failure));
        if (code == int(ExitCode::Success) || code == int(ExitCode::Differences))
            code = int(ExitCode::UsageOrFileError);
    }
    return code;
}
