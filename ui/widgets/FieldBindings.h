#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;

namespace ornis {

class MaskedTimeEdit;

// Ties controls to the model fields they show: an edit by the user goes into its field at
// once, and `showAll` puts every field back into its control. The fields must outlive the
// bindings (they live in the window's one configuration).
class FieldBindings
{
public:
    // The list's item index is the field.
    void bind(QComboBox *list, int32_t &field);
    void bind(QCheckBox *box, bool &field);
    // The field holds the model text of the time field (Windows-1250 bytes).
    void bind(MaskedTimeEdit *edit, std::string &field);

    // Shows every field in its control. A control that shows its field already is left
    // alone, so a read may call this for every byte that arrives.
    void showAll() const;

private:
    std::vector<std::function<void()>> shows_;
};

} // namespace ornis
