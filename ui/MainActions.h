#pragma once

#include <array>

class QAction;
class QMainWindow;

namespace ornis {

// The window's actions with their captions, hints and access keys. Buttons, menus and the
// tool bar all run these.
struct MainActions
{
    explicit MainActions(QMainWindow &window);

    // The menus "&Soubor", "Ú&pravy" and "&Nápověda", and the flat tool bar of icons.
    void buildMenusAndToolBar(QMainWindow &window) const;

    QAction *acReceive;
    QAction *acSend;
    QAction *acSendRTC;
    QAction *acStop;
    QAction *acDef;
    QAction *acOpen;
    QAction *acOpenBackup;
    QAction *acSave;
    QAction *acSaveAs;
    QAction *acPrint;
    QAction *acPrintPreview;
    QAction *acExportPdf;
    QAction *acTrace; // checkable: the line trace of every transfer
    // Checkable: every write that ends normally is read back and compared.
    QAction *acVerifyAfterWrite;
    QAction *acExit;
    QAction *acAbout;
    // Walk the history of the edits; disabled while there is no step to walk.
    QAction *acUndo;
    QAction *acRedo;
    // Reads what the page in view shows into a copy and lists where the window differs.
    QAction *acCompare;
    // The table of the page in view to and from a spreadsheet's CSV file.
    QAction *acImportCsv;
    QAction *acExportCsv;

    // The settings files last opened or saved, newest first, in the menu "&Soubor"; hidden
    // while unused, and the separator after them with them.
    static constexpr int RecentFileCount = 8;
    std::array<QAction *, RecentFileCount> acRecentFiles {};
    QAction *recentFilesSeparator = nullptr;
};

} // namespace ornis
