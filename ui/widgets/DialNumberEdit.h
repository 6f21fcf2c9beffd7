#pragma once

#include "config/DialNumber.h"

#include <QLineEdit>

namespace ornis {

// The telephone number of a short dial or PE record: 14 positions, each holding a digit
// or the pause 'P'. Whatever reaches the field by the keyboard, a paste or a drop is
// judged character by character; refused characters never get in.
//
// A number shown from the model keeps every character it has, also ones the field would
// refuse and characters beyond the 14th: the exchange may have sent them or a file held
// them, and showing a number must not change it. Model texts are shown with
// setModelText(); the user's edits arrive as textEdited.
class DialNumberEdit final : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int Positions = DialNumberLength;

    explicit DialNumberEdit(QWidget *parent = nullptr);

    // The character rule of every position: the digits and the capital 'P', nothing else.
    [[nodiscard]] static bool me810UserRule(QChar typed);

    // Shows a number of the model exactly as it is.
    void setModelText(const QString &text);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

private:
    class Rule;

    [[nodiscard]] int widthForAllPositions() const;

    // The text before the change being judged.
    QString accepted_;
};

} // namespace ornis
