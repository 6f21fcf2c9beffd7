#include "FieldBindings.h"

#include "common/Windows1250.h"
#include "ui/widgets/MaskedTimeEdit.h"

#include <QCheckBox>
#include <QComboBox>

namespace ornis {

// Only the user's own changes are taken (activated, clicked, modelTextEdited): showing a
// field never writes it back.

void FieldBindings::bind(QComboBox *list, int32_t &field)
{
    QObject::connect(list, &QComboBox::activated, list, [&field](int index) { field = index; });
    shows_.push_back([list, &field] {
        if (list->currentIndex() != field)
            list->setCurrentIndex(field);
    });
}

void FieldBindings::bind(QCheckBox *box, bool &field)
{
    QObject::connect(box, &QCheckBox::clicked, box, [&field](bool on) { field = on; });
    shows_.push_back([box, &field] {
        if (box->isChecked() != field)
            box->setChecked(field);
    });
}

void FieldBindings::bind(MaskedTimeEdit *edit, std::string &field)
{
    QObject::connect(edit, &MaskedTimeEdit::modelTextEdited, edit, [&field](const QString &text) {
        // The field's mask lets only digits, blanks and the colon in.
        if (const std::optional<std::string> bytes = toWindows1250(text))
            field = *bytes;
    });
    // A read shows the page after every byte: the text is converted only when the field
    // holds another one than last time.
    shows_.push_back([edit, &field, shown = std::string()]() mutable {
        if (field == shown && !shown.empty())
            return;
        shown = field;
        const QString text = fromWindows1250(field).value_or(QString());
        if (edit->modelText() != text)
            edit->setModelText(text);
    });
}

void FieldBindings::showAll() const
{
    for (const std::function<void()> &show : shows_)
        show();
}

} // namespace ornis
