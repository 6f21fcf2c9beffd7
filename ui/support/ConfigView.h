#pragma once

#include "link/TransferObserver.h"

namespace ornis {

// A page that shows part of the configuration. The window tells its views when the model
// changed under them and asks them for the edits they hold before it reads, writes, resets
// or saves.
class ConfigView
{
public:
    virtual ~ConfigView() = default;

    // Copies edits the view holds but the model does not have yet into the model (the
    // short-dial and PE rows).
    virtual void storeEdits() { }
    // Shows everything the model holds now.
    virtual void refresh() = 0;
    // A read has stored the values of `range` (the window tells at most once a frame).
    virtual void valuesStored(const FieldRange &) { }
    // A settings read is over; the settings grids show the model now.
    virtual void refreshGrids() { }
    // Another exchange model was chosen.
    virtual void exchangeModelChanged() { }
};

} // namespace ornis
