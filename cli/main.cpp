#include "CommandLine.h"
#include "Commands.h"

#include <QCoreApplication>
#include <cstdio>

using namespace ornis::cli;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("ornisset-cli");
    QCoreApplication::setApplicationVersion("1.3");

    const ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments());
    if (!parsed.request) {
        std::fprintf(stderr, "%s\nRun ornisset-cli --help for the usage.\n",
            parsed.error.toUtf8().constData());
        return int(ExitCode::UsageOrFileError);
    }
    return int(runRequest(*parsed.request));
}
