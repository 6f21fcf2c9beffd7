#include "MessageBoxDialogs.h"

#include "AboutText.h"
#include "DifferencesDialog.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace ornis {

namespace {

QMessageBox *makeBox(QWidget *parent, QMessageBox::Icon icon, const QString &title,
    const QString &text, QMessageBox::StandardButtons buttons)
{
    auto *box = new QMessageBox(icon, title, text, buttons, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    return box;
}

// Deletes `dialog` when it closes and shows it window-modal without waiting.
void openModeless(QDialog *dialog, QWidget *parent)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    dialog->open();
}

// Runs `call` unless `parent` was given and is gone by the time the dialog answers.
template<typename Call> auto guarded(QWidget *parent, Call call)
{
    return [guard = QPointer<QWidget>(parent), parent, call](auto &&...args) {
        if (parent && !guard)
            return;
        call(std::forward<decltype(args)>(args)...);
    };
}

} // namespace

void MessageBoxDialogs::ask(QWidget *parent, const QString &question, std::function<void()> onYes)
{
    QMessageBox *box = makeBox(parent, QMessageBox::Question, QStringLiteral("Potvrzení"),
        question, QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    // The window may be gone by the time the box closes.
    QObject::connect(box, &QMessageBox::finished, box, guarded(parent, [box, onYes](int) {
        if (box->standardButton(box->clickedButton()) == QMessageBox::Yes)
            onYes();
    }));
    box->open();
}

void MessageBoxDialogs::showError(QWidget *parent, const QString &message)
{
    makeBox(parent, QMessageBox::Critical, QStringLiteral("Chyba"), message, QMessageBox::Ok)
        ->open();
}

void MessageBoxDialogs::showAbout(QWidget *parent)
{
    const QString text = QStringLiteral("<p><b>%1</b></p><p>%2</p><p>%3</p>")
                             .arg(about::Name, about::Description, about::Version);
    QMessageBox *box = makeBox(parent, QMessageBox::NoIcon, about::Title, text, QMessageBox::Ok);
    box->setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box->open();
}

void MessageBoxDialogs::chooseFile(QWidget *parent, const FileDialogSetup &setup,
    std::function<void(const ChosenFile &file)> onChosen)
{
    const bool save = setup.kind == FileDialogSetup::Kind::Save;
    QStringList filters;
    for (const FileType &type : setup.types)
        filters.append(type.filter);
    auto *dialog = new QFileDialog(parent, setup.title, setup.folder);
    dialog->setNameFilters(filters);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(setup.types.value(0).suffix);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    if (!setup.name.isEmpty())
        dialog->selectFile(setup.name);
    // A name typed without a suffix gets that of the type chosen.
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog,
        [dialog, types = setup.types, filters](const QString &filter) {
            dialog->setDefaultSuffix(types.value(filters.indexOf(filter)).suffix);
        });
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
        guarded(parent, [dialog, filters, onChosen](const QString &path) {
            onChosen({path,
                int(std::max<qsizetype>(0, filters.indexOf(dialog->selectedNameFilter())))});
        }));
    openModeless(dialog, parent);
}

void MessageBoxDialogs::choosePrinter(
    QWidget *parent, QPrinter &printer, std::function<void()> onAccepted)
{
    auto *dialog = new QPrintDialog(&printer, parent);
    QObject::connect(dialog, &QDialog::finished, dialog, guarded(parent, [onAccepted](int result) {
        if (result == QDialog::Accepted)
            onAccepted();
    }));
    openModeless(dialog, parent);
}

void MessageBoxDialogs::showPrintPreview(
    QWidget *parent, QPrinter &printer, std::function<void(QPrinter &printer)> paint)
{
    auto *dialog = new QPrintPreviewDialog(&printer, parent);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
        guarded(parent, [paint, dialog](QPrinter *target) {
            paint(*target);
            dialog->setWindowTitle(target->docName());
        }));
    // At the page's width the report's lines can be read; the whole page shows them tiny.
    if (auto *fitWidth = dialog->findChild<QAction *>(QStringLiteral("fitWidthAction")))
        fitWidth->trigger();
    openModeless(dialog, parent);
}

void MessageBoxDialogs::showDifferences(
    QWidget *parent, const std::vector<Difference> &differences)
{
    openModeless(new DifferencesDialog(differences, parent), parent);
}

void MessageBoxDialogs::showVerification(
    QWidget *parent, const std::vector<Difference> &differences)
{
    openModeless(
        new DifferencesDialog(differences, parent, DifferencesDialog::Kind::Verification), parent);
}

} // namespace ornis
