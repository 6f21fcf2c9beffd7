#pragma once

#include "config/FieldRange.h"

namespace ornis {

// A page that shows part of the configuration. The window tells its views what changed.
class ConfigView
{
public:
    virtual ~ConfigView() = default;

    // Commits what the user is typing in the view's focused field: an action started from
    // the keyboard finds the field still in the focus.
    virtual void storeEdits() { }
    // The values of `range` changed: an edit, an undo or a redo, a file, the factory values,
    // or a read (told at most once a frame). Every control of them shows the model now,
    // and what depends on the exchange model follows it.
    virtual void showValues(const FieldRange &range) = 0;
};

} // namespace ornis
