#include "DialNumberEdit.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>
#include <algorithm>
#include <limits>

namespace ornis {

namespace {

// Where `after` differs from `before`: their common start, then the characters of
// `before` replaced and the characters of `after` in their place.
struct Change
{
    qsizetype start;
    qsizetype removed;
    qsizetype inserted;
};

Change changeBetween(const QString &before, const QString &after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype start = 0;
    while (start < shorter && before[start] == after[start])
        ++start;
    qsizetype end = 0;
    while (
        end < shorter - start && before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return {start, before.size() - start - end, after.size() - start - end};
}

} // namespace

// Judges each change against the text before it, so that only the characters the change
// brings in are judged, never those the model put there.
class DialNumberEdit::Rule final : public QValidator
{
public:
    explicit Rule(DialNumberEdit &edit)
        : QValidator(&edit)
        , edit_(edit)
    {
    }

    State validate(QString &input, int &position) const override
    {
        const QString &before = edit_.accepted_;
        const Change change = changeBetween(before, input);
        const QString kept = before.left(change.start);
        const QString tail = before.mid(change.start + change.removed);
        // Each character brought in is judged as if typed alone, in order.
        QString taken;
        for (const QChar c : input.mid(change.start, change.inserted)) {
            if (me810UserRule(c) && kept.size() + taken.size() + tail.size() < Positions)
                taken.append(c);
        }
        if (taken.size() == change.inserted)
            return Acceptable;
        QApplication::beep();
        if (taken.isEmpty()) {
            // A refused key leaves the field as it was, also a selection typed over.
            input = before;
            position = int(change.start + change.removed);
        } else {
            input = kept + taken + tail;
            position = int(change.start + taken.size());
        }
        return Acceptable;
    }

private:
    const DialNumberEdit &edit_;
};

DialNumberEdit::DialNumberEdit(QWidget *parent)
    : QLineEdit(parent)
{
    // A model number may be longer than the field takes as typed; the rule limits typing.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new Rule(*this));
    setSizePolicy(QSizePolicy::Fixed, sizePolicy().verticalPolicy());
    connect(
        this, &QLineEdit::textChanged, this, [this](const QString &text) { accepted_ = text; });
}

bool DialNumberEdit::me810UserRule(QChar typed)
{
    return typed.unicode() < 0x80 && isDialCharacter(char(typed.unicode()));
}

void DialNumberEdit::setModelText(const QString &text)
{
    // Judged against itself, the model's text passes unchanged.
    accepted_ = text;
    setText(text);
    setModified(false);
}

int DialNumberEdit::widthForAllPositions() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QMargins margins = textMargins();
    // One position more than the number takes, for the cursor behind the last digit.
    const int text = fontMetrics().horizontalAdvance(QString(Positions + 1, u'0')) + margins.left()
        + margins.right();
    return style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text, fontMetrics().height()), this)
        .width();
}

QSize DialNumberEdit::sizeHint() const
{
    return {widthForAllPositions(), QLineEdit::sizeHint().height()};
}

QSize DialNumberEdit::minimumSizeHint() const
{
    return {widthForAllPositions(), QLineEdit::minimumSizeHint().height()};
}

} // namespace ornis
