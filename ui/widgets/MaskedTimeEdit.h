#pragma once

#include <QLineEdit>

namespace ornis {

// A time-of-day field with the mask "!90:00;1;_": an optional hour digit, a required
// hour digit, a fixed colon and two required minute digits; an empty position shows as
// "_" while editing. Its model text has a blank for every empty position, as in " 6:00"
// or the unset "  :  ".  An empty position shows as "_" only while the field has the focus.
//
// A field the user has changed cannot be left while a required position is empty: it
// beeps, reports `refusedOnLeave` and keeps the focus. Escape restores the text it had
// when it was entered.
class MaskedTimeEdit final : public QLineEdit
{
    Q_OBJECT

public:
    // The message the window shows when a field refuses to be left.
    static const QString InvalidInputMessage;

    explicit MaskedTimeEdit(QWidget *parent = nullptr);

    // A field whose every digit has been deleted may be left as unset (the wake-up
    // times); otherwise only a complete time leaves.
    void setUnsetAllowed(bool allowed) { unsetAllowed_ = allowed; }

    // The text with blanks for the empty positions: " 6:00", "  :  ".
    [[nodiscard]] QString modelText() const;
    // Shows a model text; does not count as a change by the user.
    void setModelText(const QString &text);

    // What leaving the field now would do: true when it may be left.
    [[nodiscard]] bool mayLeave() const;

signals:
    // The user changed the text; `text` is the new model text.
    void modelTextEdited(const QString &text);
    // The user tried to leave a changed field with a required position empty.
    void refusedOnLeave();
    // The user left the field, or pressed Enter, with a text it may keep.
    void editingDone();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    [[nodiscard]] bool isUnset() const;
    // Empties the position at the cursor and moves on.
    void typeBlank();
    // The character an empty position shows; the text stays as it is.
    void showBlanksAs(QChar blank);

    QChar blank_ = u' ';
    QString textOnEntry_;
    bool unsetAllowed_ = false;
};

} // namespace ornis
