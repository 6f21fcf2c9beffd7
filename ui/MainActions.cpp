#include "MainActions.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

namespace ornis {

namespace {

QAction *makeAction(
    QMainWindow &window, const char *name, const QString &caption, const QString &hint)
{
    auto *action = new QAction(caption, &window);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    action->setToolTip(hint);
    // Buttons and the tool bar show the hint; the menus show the caption.
    window.addAction(action);
    return action;
}

// The desktop's icon where its theme has one, ours otherwise.
QIcon themedIcon(const char *themeName, const char *bundledName)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName),
        QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(bundledName))));
}

} // namespace

MainActions::MainActions(QMainWindow &window)
    : acReceive(makeAction(
        window, "acReceive", QStringLiteral("&Načíst"), QStringLiteral("Načíst data z ústředny")))
    , acSend(makeAction(
          window, "acSend", QStringLiteral("&Zapsat"), QStringLiteral("Zapsat data do ústředny")))
    , acSendRTC(makeAction(window, "acSendRTC", QStringLiteral("Zapsat &datum a čas"),
          QStringLiteral("Zapsat do ústředny datum a čas")))
    , acStop(makeAction(
          window, "acStop", QStringLiteral("Za&stavit"), QStringLiteral("Zastavit přenos dat")))
    , acDef(makeAction(window, "acDef", QStringLiteral("&Přednastavit"),
          QStringLiteral("Nastavit hodnoty přednastavené výrobcem")))
    , acOpen(makeAction(
          window, "acOpen", QStringLiteral("&Otevřít..."), QStringLiteral("Otevřít soubor")))
    , acOpenBackup(makeAction(window, "acOpenBackup", QStringLiteral("Otevřít &zálohu..."),
          QStringLiteral("Otevřít automatickou zálohu konfigurace")))
    , acSave(
          makeAction(window, "acSave", QStringLiteral("Uložit"), QStringLiteral("Uložit soubor")))
    , acSaveAs(makeAction(window, "acSaveAs", QStringLiteral("Uložit &jako..."),
          QStringLiteral("Uložit soubor pod novým názvem")))
    , acPrint(
          makeAction(window, "acPrint", QStringLiteral("Tisknout..."), QStringLiteral("Tisknout")))
    , acPrintPreview(makeAction(window, "acPrintPreview", QStringLiteral("Náhled tisku..."),
          QStringLiteral("Zobrazit náhled tisku")))
    , acExportPdf(makeAction(window, "acExportPdf", QStringLiteral("Exportovat do PDF..."),
          QStringLiteral("Uložit tiskovou zprávu jako dokument PDF")))
    , acTrace(makeAction(window, "acTrace", QStringLiteral("&Záznam komunikace"),
          QStringLiteral("Zapisovat každý bajt přenosů do souboru pro servis")))
    , acVerifyAfterWrite(
          makeAction(window, "acVerifyAfterWrite", QStringLiteral("Ověřit po zápisu"),
              QStringLiteral("Po každém dokončeném zápisu zapsaná data přečíst zpět a porovnat")))
    , acExit(makeAction(
          window, "acExit", QStringLiteral("U&končit"), QStringLiteral("Ukončit aplikaci")))
    , acAbout(makeAction(window, "acAbout", QStringLiteral("O &aplikaci..."),
          QStringLiteral("Informace o aplikaci")))
    , acUndo(makeAction(
          window, "acUndo", QStringLiteral("&Zpět"), QStringLiteral("Vrátit poslední úpravu")))
    , acRedo(makeAction(window, "acRedo", QStringLiteral("Z&novu"),
          QStringLiteral("Znovu provést vrácenou úpravu")))
    , acCompare(makeAction(window, "acCompare", QStringLiteral("Po&rovnat s ústřednou"),
          QStringLiteral("Porovnat data v okně s daty v ústředně")))
    , acImportCsv(
          makeAction(window, "acImportCsv", QStringLiteral("Importovat z CSV nebo XLSX..."),
              QStringLiteral("Načíst tabulku zobrazené stránky ze souboru CSV nebo sešitu XLSX")))
    , acExportCsv(
          makeAction(window, "acExportCsv", QStringLiteral("Exportovat do CSV nebo XLSX..."),
              QStringLiteral("Uložit tabulku zobrazené stránky do souboru CSV nebo sešitu XLSX")))
{
    acOpen->setIcon(themedIcon("document-open", "open"));
    acSave->setIcon(themedIcon("document-save", "save"));
    acSaveAs->setIcon(themedIcon("document-save-as", "save"));
    acPrint->setIcon(themedIcon("document-print", "print"));
    acPrintPreview->setIcon(QIcon::fromTheme(QStringLiteral("document-print-preview")));
    acExportPdf->setIcon(QIcon::fromTheme(QStringLiteral("document-export")));
    acStop->setIcon(themedIcon("process-stop", "stop"));
    acAbout->setIcon(themedIcon("help-about", "about"));
    acExit->setIcon(themedIcon("application-exit", "exit"));
    acUndo->setIcon(themedIcon("edit-undo", "undo"));
    acRedo->setIcon(themedIcon("edit-redo", "redo"));

    acOpen->setShortcut(QKeySequence::Open);
    acSave->setShortcut(QKeySequence::Save);
    acPrint->setShortcut(QKeySequence::Print);
    // A text field that has the focus takes these keys for its own typing first.
    acUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    acRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});

    acTrace->setCheckable(true);
    acVerifyAfterWrite->setCheckable(true);

    // Idle at start: there is nothing to stop, and nothing edited.
    acStop->setEnabled(false);
    acUndo->setEnabled(false);
    acRedo->setEnabled(false);

    for (std::size_t i = 0; i < acRecentFiles.size(); ++i) {
        auto *action = new QAction(&window);
        action->setObjectName(QStringLiteral("acRecentFile%1").arg(i + 1));
        action->setVisible(false);
        acRecentFiles[i] = action;
    }
    recentFilesSeparator = new QAction(&window);
    recentFilesSeparator->setSeparator(true);
    recentFilesSeparator->setVisible(false);
}

void MainActions::buildMenusAndToolBar(QMainWindow &window) const
{
    QMenuBar *menuBar = window.menuBar();
    QMenu *fileMenu = menuBar->addMenu(QStringLiteral("&Soubor"));
    fileMenu->setObjectName(QStringLiteral("mnFile"));
    fileMenu->addAction(acOpen);
    fileMenu->addAction(acOpenBackup);
    fileMenu->addAction(acSave);
    fileMenu->addAction(acSaveAs);
    fileMenu->addSeparator();
    fileMenu->addAction(acImportCsv);
    fileMenu->addAction(acExportCsv);
    fileMenu->addSeparator();
    fileMenu->addAction(acPrint);
    fileMenu->addAction(acPrintPreview);
    fileMenu->addAction(acExportPdf);
    fileMenu->addSeparator();
    fileMenu->addAction(acTrace);
    fileMenu->addAction(acVerifyAfterWrite);
    fileMenu->addSeparator();
    for (QAction *recent : acRecentFiles)
        fileMenu->addAction(recent);
    fileMenu->addAction(recentFilesSeparator);
    fileMenu->addAction(acExit);
    // Alt+N and Alt+P belong to the buttons' "&Načíst" and "&Přednastavit".
    QMenu *editMenu = menuBar->addMenu(QStringLiteral("Úpr&avy"));
    editMenu->setObjectName(QStringLiteral("mnEdit"));
    editMenu->addAction(acUndo);
    editMenu->addAction(acRedo);
    QMenu *helpMenu = menuBar->addMenu(QStringLiteral("Nápo&věda"));
    helpMenu->setObjectName(QStringLiteral("mnHelp"));
    helpMenu->addAction(acAbout);

    QToolBar *toolBar = window.addToolBar(QStringLiteral("Nástroje"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar->addAction(acOpen);
    toolBar->addAction(acSave);
    toolBar->addSeparator();
    toolBar->addAction(acUndo);
    toolBar->addAction(acRedo);
    toolBar->addSeparator();
    toolBar->addAction(acPrint);
    toolBar->addSeparator();
    toolBar->addAction(acStop);
    toolBar->addSeparator();
    toolBar->addAction(acAbout);
}

} // namespace ornis
