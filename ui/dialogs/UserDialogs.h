#pragma once

#include "common/Comparison.h"

#include <QList>
#include <QString>
#include <functional>
#include <vector>

class QPrinter;
class QWidget;

namespace ornis {

// A type of file a dialog offers: its filter, and the suffix a name typed without one gets
// while the type is chosen.
struct FileType
{
    QString filter; // "Soubory nastavení (*.set)"
    QString suffix; // "set"
};

// What a file dialog offers: its title, the folder it starts in, its types of file (the
// first chosen at first) and the name it suggests.
struct FileDialogSetup
{
    enum class Kind { Open, Save };

    Kind kind = Kind::Open;
    QString title;
    QString folder;
    QList<FileType> types;
    QString name; // empty: none suggested
};

// The file the user chose, and the type the dialog showed then (an index into its types).
struct ChosenFile
{
    QString path;
    int type = 0;
};

// Every question and message the window puts to the user goes through here, so that the
// tests can answer them. Nothing waits for the answer: the window goes on when the user
// has answered, from the event loop.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    // A Yes/No question; `onYes` runs only if the answer is Yes.
    virtual void ask(QWidget *parent, const QString &question, std::function<void()> onYes) = 0;
    // The one error box of the program.
    virtual void showError(QWidget *parent, const QString &message) = 0;
    virtual void showAbout(QWidget *parent) = 0;

    // A file to open or to save to; `onChosen` runs only when the user chose one. Saving
    // over an existing file is not asked about.
    virtual void chooseFile(QWidget *parent, const FileDialogSetup &setup,
        std::function<void(const ChosenFile &file)> onChosen)
        = 0;
    // The print dialog sets up `printer`, which outlives it; `onAccepted` runs only when
    // the user chose to print.
    virtual void choosePrinter(
        QWidget *parent, QPrinter &printer, std::function<void()> onAccepted)
        = 0;
    // The print preview of what `paint` puts on `printer`, which outlives it.
    virtual void showPrintPreview(
        QWidget *parent, QPrinter &printer, std::function<void(QPrinter &printer)> paint)
        = 0;
    // Where the window differs from the exchange, as a table; that nothing does, when so.
    virtual void showDifferences(QWidget *parent, const std::vector<Difference> &differences) = 0;
    // Where the exchange differs from what a write sent to it, read back at once.
    virtual void showVerification(QWidget *parent, const std::vector<Difference> &differences) = 0;
};

} // namespace ornis
