#pragma once

#include "config/FieldRange.h"

namespace ornis {

// A page that shows part of the configuration. The window tells its views when the model
// changed under them.
class ConfigView
{
public:
    virtual ~ConfigView() = default;

    // Commits what the user is typing in the view's focused field: an action started from
    // the keyboard finds the field still in the focus.
    virtual void storeEdits() { }
    // Shows everything the model holds now.
    virtual void refresh() = 0;
    // A read has stored the values of `range` (the window tells at most once a frame).
    virtual void valuesStored(const FieldRange &) { }
    // An edit, an undo or a redo changed the values of `range`: every control of them,
    // the settings grids' cells too, shows the model now.
    virtual void valuesChanged(const FieldRange &range) { valuesStored(range); }
    // A settings read is over; the settings grids show the model now.
    virtual void refreshGrids() { }
    // Another exchange model was chosen.
    virtual void exchangeModelChanged() { }
};

} // namespace ornis
