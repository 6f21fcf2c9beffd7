#include "PortComboBox.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace ornis {

PortComboBox::PortComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completing "ttyS1" to a listed "ttyS10" would open a port nobody asked for.
    setCompleter(nullptr);
}

void PortComboBox::showPopup()
{
    emit aboutToDropDown();
    // A stable device name (/dev/serial/by-id/...) is far wider than the list itself.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth());
    QComboBox::showPopup();
}

void PortComboBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const QString text = currentText().trimmed(); !text.isEmpty())
            emit portTyped(text);
        event->accept();
        return;
    case Qt::Key_Escape:
        showEntryInUse();
        break;
    default:
        break;
    }
    QComboBox::keyPressEvent(event);
}

void PortComboBox::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason)
        showEntryInUse();
    QComboBox::focusOutEvent(event);
}

void PortComboBox::showEntryInUse()
{
    lineEdit()->setText(currentIndex() >= 0 ? itemText(currentIndex()) : QString());
}

} // namespace ornis
