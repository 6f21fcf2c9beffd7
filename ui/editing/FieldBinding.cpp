#include "FieldBinding.h"

#include "common/Windows1250.h"
#include "config/GridCells.h"
#include "ui/editing/ConfigEditor.h"
#include "ui/widgets/CellGrid.h"
#include "ui/widgets/DialNumberEdit.h"
#include "ui/widgets/MaskedTimeEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QSpinBox>
#include <utility>

namespace ornis {

struct FieldBinding::Entry
{
    QWidget *control;
    FieldRef ref;
    std::function<void()> show;
    // A control of many values (a grid) shows those of a range itself.
    std::function<void(const FieldRange &)> showRange;
    // Text controls: what the user typed into the value, when there is something to take.
    std::function<void()> commit;
    // The user typed into the text control since it last showed its value.
    bool typed = false;
};

namespace {

// Every byte has a character in the model's code page, so a model text always shows.
QString shownText(const ConfigEditor &editor, const FieldRef &ref)
{
    return fromWindows1250(textValue(editor.config(), ref)).value_or(QString());
}

int64_t number(const ConfigEditor &editor, const FieldRef &ref)
{
    return integerValue(editor.config(), ref);
}

// A text the user typed, as the value's bytes; the controls let only the code page's
// characters in, so nothing is lost here.
void commitText(ConfigEditor &editor, const FieldRef &ref, const QString &text, bool typing)
{
    if (std::optional<Text> bytes = toWindows1250(text))
        editor.setValue(ref, std::move(*bytes), typing);
}

} // namespace

FieldBinding::FieldBinding(ConfigEditor &editor)
    : editor_(editor)
{
}

FieldBinding::~FieldBinding() = default;

FieldBinding::Entry &FieldBinding::add(QWidget *control, const FieldRef &ref)
{
    entries_.push_back(std::make_unique<Entry>(Entry {control, ref, {}, {}, {}}));
    return *entries_.back();
}

// Only the user's own changes are taken (activated, clicked, edited): showing a value
// never writes it back.

void FieldBinding::bind(QComboBox *list, const FieldRef &ref)
{
    Entry *entry = &add(list, ref);
    QObject::connect(
        list, &QComboBox::activated, list, [this, entry](int index) { choose(*entry, index); });
    entry->show = [this, entry, list] {
        const int64_t value = number(editor_, entry->ref);
        const int shown = value >= 0 && value < list->count() ? int(value) : -1;
        if (list->currentIndex() != shown)
            list->setCurrentIndex(shown);
    };
}

void FieldBinding::bind(QCheckBox *box, const FieldRef &ref)
{
    Entry *entry = &add(box, ref);
    QObject::connect(
        box, &QCheckBox::clicked, box, [this, entry](bool on) { choose(*entry, on); });
    entry->show = [this, entry, box] {
        const bool on = number(editor_, entry->ref) != 0;
        if (box->isChecked() != on)
            box->setChecked(on);
    };
}

void FieldBinding::choose(Entry &entry, int64_t value)
{
    entry.show();
    gate_([this, &entry, value] { editor_.setValue(entry.ref, value); });
}

void FieldBinding::bind(QSpinBox *counter, const FieldRef &ref)
{
    Entry *entry = &add(counter, ref);
    // Shown values arrive with the signal blocked: every change seen here is a step.
    QObject::connect(counter, &QSpinBox::valueChanged, counter,
        [this, entry](int value) { editor_.setValue(entry->ref, int64_t(value)); });
    // A value beyond the counter's range shows as its nearest limit and stays as it is.
    entry->show = [this, entry, counter] {
        const int64_t value = number(editor_, entry->ref);
        const int shown = int(std::clamp<int64_t>(value, counter->minimum(), counter->maximum()));
        if (counter->value() != shown) {
            const QSignalBlocker quiet(counter);
            counter->setValue(shown);
        }
    };
}

void FieldBinding::bind(MaskedTimeEdit *edit, const FieldRef &ref)
{
    Entry *entry = &add(edit, ref);
    // A complete time is taken as it is typed; the steps of one visit join into one edit.
    QObject::connect(
        edit, &MaskedTimeEdit::modelTextEdited, edit, [this, entry, edit](const QString &text) {
            entry->typed = true;
            if (edit->hasAcceptableInput())
                commitText(editor_, entry->ref, text, true);
        });
    entry->commit = [this, entry, edit] {
        // A time the field cannot keep yet stays typed until it can.
        if (entry->typed && edit->mayLeave()) {
            entry->typed = false;
            commitText(editor_, entry->ref, edit->modelText(), false);
        }
        editor_.endTyping();
    };
    QObject::connect(edit, &MaskedTimeEdit::editingDone, edit, entry->commit);
    entry->show = [this, entry, edit] {
        const QString text = shownText(editor_, entry->ref);
        if (edit->modelText() == text)
            return;
        edit->setModelText(text);
        entry->typed = false;
    };
}

void FieldBinding::bind(DialNumberEdit *edit, const FieldRef &ref)
{
    Entry *entry = &add(edit, ref);
    bindTyping(*entry, edit);
    // The number shows exactly as the model holds it, also what the field would refuse.
    entry->show = [this, entry, edit] {
        const QString text = shownText(editor_, entry->ref);
        if (edit->text() == text)
            return;
        edit->setModelText(text);
        entry->typed = false;
    };
}

void FieldBinding::bind(QLineEdit *edit, const FieldRef &ref, bool showBeginning)
{
    Entry *entry = &add(edit, ref);
    bindTyping(*entry, edit);
    entry->show = [this, entry, edit, showBeginning] {
        const QString text = shownText(editor_, entry->ref);
        if (edit->text() == text)
            return;
        edit->setText(text);
        entry->typed = false;
        if (showBeginning)
            edit->setCursorPosition(0);
    };
}

void FieldBinding::bind(CellGrid *grid)
{
    const SettingsGrid which = grid->rules().grid;
    Entry *entry = &add(grid, {grid->rules().field});
    grid->setDisabledCells([this, grid](int column, int row) {
        return !cellInUse(grid->rules().kindAt(column, row), editor_.config().ExchangeType);
    });
    // The cell shows its new text when the editor announces the value.
    QObject::connect(grid, &CellGrid::cellPressed, grid, [this, which](int column, int row) {
        if (const auto value = pressedValue(editor_.config(), which, column, row))
            editor_.setValue(cellRef(which, column, row), int64_t(*value));
    });
    entry->showRange = [this, grid](const FieldRange &range) { showCells(*grid, range); };
}

void FieldBinding::showCells(CellGrid &grid, const FieldRange &range) const
{
    // Which cells are drawn disabled follows the model.
    if (touches(range, Field::ExchangeType))
        grid.update();
    const GridRules &rules = grid.rules();
    if (!touches(range, rules.field))
        return;
    for (int row = 1; row <= rules.shape.rows; ++row) {
        for (int column = 1; column <= rules.shape.columns; ++column) {
            if (!contains(range, cellRef(rules.grid, column, row)))
                continue;
            if (const auto text = cellText(editor_.config(), rules.grid, column, row))
                grid.setCellText(
                    column, row, QString::fromLatin1(text->data(), qsizetype(text->size())));
        }
    }
}

void FieldBinding::bindTyping(Entry &entry, QLineEdit *edit)
{
    Entry *typedInto = &entry;
    QObject::connect(edit, &QLineEdit::textEdited, edit, [typedInto] { typedInto->typed = true; });
    entry.commit = [this, typedInto, edit] {
        if (std::exchange(typedInto->typed, false))
            commitText(editor_, typedInto->ref, edit->text(), false);
    };
    QObject::connect(edit, &QLineEdit::editingFinished, edit, entry.commit);
}

void FieldBinding::rebind(QWidget *control, const FieldRef &ref)
{
    for (const std::unique_ptr<Entry> &entry : entries_) {
        if (entry->control != control || entry->showRange)
            continue;
        if (entry->commit)
            entry->commit();
        entry->ref = ref;
        entry->show();
    }
}

void FieldBinding::show(const FieldRange &range) const
{
    for (const std::unique_ptr<Entry> &entry : entries_) {
        if (entry->showRange)
            entry->showRange(range);
        else if (contains(range, entry->ref))
            entry->show();
    }
}

void FieldBinding::commitTyped() const
{
    for (const std::unique_ptr<Entry> &entry : entries_) {
        if (entry->commit && entry->typed)
            entry->commit();
    }
}

} // namespace ornis
