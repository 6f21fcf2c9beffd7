#include "MessageBoxDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "ui/AboutText.h"

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

} // namespace

void MessageBoxDialogs::ask(QWidget *parent, const QString &question, std::function<void()> onYes)
{
    QMessageBox *box = makeBox(parent, QMessageBox::Question, QStringLiteral("Potvrzení"),
                               question, QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    QPointer<QWidget> guard(parent);
    QObject::connect(box, &QMessageBox::finished, box, [box, guard, parent, onYes] {
        // The window may be gone by the time the box closes.
        if (parent && !guard)
            return;
        if (box->standardButton(box->clickedButton()) == QMessageBox::Yes)
            onYes();
    });
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

} // namespace ornis
