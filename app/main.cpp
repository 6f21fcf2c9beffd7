#include "ScreenshotTour.h"
#include "Version.h"
#include "common/SystemClock.h"
#include "ui/FirstPaint.h"
#include "ui/MainForm.h"
#include "ui/dialogs/MessageBoxDialogs.h"
#include "ui/document/PreferencesPath.h"
#include "ui/ports/MachinePorts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <memory>

namespace {

// The program's own options. Qt's (-style, -stylesheet, -platform...) are taken by the
// application object.
void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("ORNIS SET: Program pro nastavení telefonních ústředen"));
    // "-stylesheet" is one word, not the letters -s -t ... -h (which would ask for help).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("demo"),
        QStringLiteral("Add the built-in virtual exchange to the port list and start on it.")});
    QCommandLineOption screenshots(QStringLiteral("screenshots"),
        QStringLiteral("Save a picture of every page into <folder> "
                       "and quit (implies --demo)."),
        QStringLiteral("folder"));
    screenshots.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(screenshots);
    // For ornisset-windowbench: the start up to the first paint, then quit.
    QCommandLineOption firstPaint(QStringLiteral("print-first-paint"),
        QStringLiteral("Print the monotonic clock and the peak memory at the window's first "
                       "paint, and quit."));
    firstPaint.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(firstPaint);
}

// Whether the command line asks for nothing but a text (--help, --version): that needs no
// window, and so no display. Looked at with a parser of its own, as Qt's options are still
// in the command line here.
bool asksForTextOnly(int argc, char *argv[])
{
    QCommandLineParser parser;
    describeOptions(parser);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // A wrong option is reported once the application is made, with Qt's own options known.
    (void)parser.parse(arguments);
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))
        || parser.isSet(QStringLiteral("version"));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("ornisset"));
    QCoreApplication::setApplicationVersion(QLatin1String(ornis::ProgramVersion));

    QCommandLineParser parser;
    describeOptions(parser);
    const QString demo = QStringLiteral("demo");
    const QString screenshots = QStringLiteral("screenshots");
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication textOnly(argc, argv);
        parser.process(textOnly); // prints the text and exits
    }

    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/ornisset.svg")));
    // Wayland shows the icon of the desktop entry of this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(ORNIS_APPSTREAM_ID));
    parser.process(app);

    // The standard buttons and dialogs of Qt in Czech, as the rest of the window; --help
    // stays in English, as that of ornisset-cli and the manual pages made from it.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    const bool touring = parser.isSet(screenshots);
    // Network addresses typed into the port list, and the line traces, live in the user's
    // folders (never beside "OSet.cfg"); the tour keeps neither.
    const auto userPath = [touring](QStandardPaths::StandardLocation folder, const char *name) {
        return touring ? QString()
                       : QStandardPaths::writableLocation(folder) + u'/' + QLatin1String(name);
    };
    ornis::MachinePorts ports(parser.isSet(demo) || touring ? ornis::MachinePorts::Demo::With
                                                            : ornis::MachinePorts::Demo::Without,
        userPath(QStandardPaths::AppConfigLocation, "network-ports.txt"));
    ornis::MessageBoxDialogs messageBoxes;
    ornis::TourDialogs tourDialogs;
    ornis::SystemClock clock;
    // The tour keeps no preferences, no recent files and no backups, so that its pictures
    // always show the same window.
    const ornis::MainFormServices services {ports,
        touring ? static_cast<ornis::UserDialogs &>(tourDialogs) : messageBoxes, clock,
        touring ? QString() : ornis::preferencesPathOfThisProgram(), ports.demoIndex(),
        ornis::settingsFolderOfThisProgram(),
        touring ? QString() : ornis::recentFilesPathOfThisProgram(),
        userPath(QStandardPaths::AppDataLocation, "traces"),
        touring ? QString() : ornis::backupFolderOfThisProgram(),
        userPath(QStandardPaths::AppConfigLocation, "window.ini")};

    ornis::TMainForm window(services);
    if (parser.isSet(QStringLiteral("print-first-paint")))
        new ornis::FirstPaint(window);
    window.show();

    std::unique_ptr<ornis::ScreenshotTour> tour;
    if (touring) {
        tour = std::make_unique<ornis::ScreenshotTour>(window, parser.value(screenshots));
        tour->start();
    }
    return app.exec();
}
