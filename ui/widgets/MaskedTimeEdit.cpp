#include "MaskedTimeEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace ornis {

namespace {

// Qt's mask letters: 0 a digit that may be left empty, 9 a required digit; after the
// semicolon the character an empty position shows.
const QString TimeMask = QStringLiteral("09:99;");
// Empty positions show as "_" while the field is edited, as blanks otherwise.
constexpr QChar EditingBlank = u'_';
constexpr QChar ModelBlank = u' ';
constexpr int ColonPosition = 2;
constexpr int TimeLength = 5;

// Leaving by the keyboard or the mouse is the user's leaving; a message box or a menu
// taking the focus for a moment is not.
bool userLeaves(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

const QString MaskedTimeEdit::InvalidInputMessage
    = QStringLiteral("Invalid input value.  Use escape key to abandon changes");

MaskedTimeEdit::MaskedTimeEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setInputMask(TimeMask + blank_);
    setModelText(QStringLiteral("  :  "));
    connect(this, &QLineEdit::textEdited, this, [this] { emit modelTextEdited(modelText()); });
}

QString MaskedTimeEdit::modelText() const
{
    QString text = displayText();
    text.replace(blank_, ModelBlank);
    return text;
}

void MaskedTimeEdit::setModelText(const QString &text)
{
    QString masked = text;
    // The mask keeps a blank at its place only when it is written as the mask's blank.
    masked.replace(ModelBlank, blank_);
    setText(masked);
    setModified(false);
}

void MaskedTimeEdit::showBlanksAs(QChar blank)
{
    if (blank == blank_)
        return;
    const QString text = modelText();
    const int cursor = cursorPosition();
    const bool modified = isModified();
    blank_ = blank;
    setInputMask(TimeMask + blank_);
    setModelText(text);
    setCursorPosition(cursor);
    setModified(modified);
}

bool MaskedTimeEdit::isUnset() const
{
    return modelText() == QStringLiteral("  :  ");
}

bool MaskedTimeEdit::mayLeave() const
{
    return !isModified() || hasAcceptableInput() || (unsetAllowed_ && isUnset());
}

void MaskedTimeEdit::focusInEvent(QFocusEvent *event)
{
    // Coming back after a refused leave keeps the text of the first entry.
    if (!isModified())
        textOnEntry_ = modelText();
    showBlanksAs(EditingBlank);
    QLineEdit::focusInEvent(event);
}

void MaskedTimeEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!userLeaves(event->reason()))
        return;
    if (mayLeave()) {
        emit editingDone();
        showBlanksAs(ModelBlank);
        setModified(false);
        return;
    }
    QApplication::beep();
    emit refusedOnLeave();
    // The focus is already on its way elsewhere; take it back once it got there.
    QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

void MaskedTimeEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && isModified()) {
        setModelText(textOnEntry_);
        emit modelTextEdited(modelText());
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mayLeave())
        emit editingDone();
    if (event->key() == Qt::Key_Space && !hasSelectedText()) {
        typeBlank();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void MaskedTimeEdit::typeBlank()
{
    // Qt's mask takes no blank as typed; the field does, as in " 6:00".
    int position = cursorPosition();
    if (position == ColonPosition)
        ++position;
    if (position >= TimeLength)
        return;
    QString text = displayText();
    text[position] = blank_;
    setText(text);
    setCursorPosition(position + 1 == ColonPosition ? position + 2 : position + 1);
    setModified(true);
    emit textEdited(this->text());
}

} // namespace ornis
