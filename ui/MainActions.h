#pragma once

class QAction;
class QMainWindow;

namespace ornis {

// The window's actions with their captions, hints and access keys. Buttons, menus and the
// tool bar all run these.
struct MainActions
{
    explicit MainActions(QMainWindow &window);

    // The menu "&Soubor" / "&Nápověda" and the flat tool bar of icons.
    void buildMenusAndToolBar(QMainWindow &window) const;

    QAction *acReceive;
    QAction *acSend;
    QAction *acSendRTC;
    QAction *acStop;
    QAction *acDef;
    QAction *acOpen;
    QAction *acSave;
    QAction *acSaveAs;
    QAction *acPrint;
    QAction *acTrace; // checkable: the line trace of every transfer
    QAction *acExit;
    QAction *acAbout;
};

} // namespace ornis
