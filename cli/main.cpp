#include "CommandLine.h"
#include "Commands.h"
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
    return int(runRequest(*parsed.request));
}
