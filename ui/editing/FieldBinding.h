#pragma once

#include "config/FieldRange.h"

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace ornis {

class CellGrid;
class ConfigEditor;
class DialNumberEdit;
class MaskedTimeEdit;

// Ties each control of a page to the value it shows. The user's change goes to the editor
// at once: a list choice, a box, a counter step as it happens, a text when it is committed
// (Enter, leaving the field, a complete time). Showing a value never writes one: a control
// the user did not touch leaves its value as the model holds it, whatever it can show.
class FieldBinding final
{
public:
    explicit FieldBinding(ConfigEditor &editor);
    ~FieldBinding();
    FieldBinding(const FieldBinding &) = delete;
    FieldBinding &operator=(const FieldBinding &) = delete;

    // The list's item index is the value; one beyond the list selects no item.
    void bind(QComboBox *list, const FieldRef &ref);
    void bind(QCheckBox *box, const FieldRef &ref);
    void bind(QSpinBox *counter, const FieldRef &ref);
    // Texts in Windows-1250 bytes.
    void bind(MaskedTimeEdit *edit, const FieldRef &ref);
    void bind(DialNumberEdit *edit, const FieldRef &ref);
    // `showBeginning`: a text longer than the field shows its beginning, not its end.
    void bind(QLineEdit *edit, const FieldRef &ref, bool showBeginning = false);
    // A settings grid: each data cell is the byte at its index in the grid's field. A press
    // moves it on by the cell's rule; cells out of use for the model chosen are drawn
    // disabled; a byte outside the cell's value set leaves the cell's text as it was.
    void bind(CellGrid *grid);

    // Points a bound control at another value and shows it; what the user typed into the
    // control is committed to the value shown so far first.
    void rebind(QWidget *control, const FieldRef &ref);

    // Shows the values of the controls whose value lies in `range`.
    void show(const FieldRange &range) const;
    // Commits what the user typed into a bound text control and did not commit yet: an
    // action started from the keyboard finds the field still in the focus.
    void commitTyped() const;

    // Lets each choice of a list or a box wait for `gate`, which carries it out now, later
    // or never; until then the control shows the model's value.
    using Gate = std::function<void(std::function<void()> change)>;
    void setGate(Gate gate) { gate_ = std::move(gate); }

private:
    struct Entry;
    Entry &add(QWidget *control, const FieldRef &ref);
    void showCells(CellGrid &grid, const FieldRange &range) const;
    // A line edit commits what was typed into it on Enter and on leaving.
    void bindTyping(Entry &entry, QLineEdit *edit);

    // A choice of a list or a box, through the gate.
    void choose(Entry &entry, int64_t value);

    ConfigEditor &editor_;
    std::vector<std::unique_ptr<Entry>> entries_;
    Gate gate_ = [](std::function<void()> change) { change(); };
};

} // namespace ornis
