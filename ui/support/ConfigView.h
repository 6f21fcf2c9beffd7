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
    // A read has just stored values of `block`.
    virtual void valuesStored(Block) { }
    // A settings read is complete; the settings grids show the model now.
    virtual void refreshGrids() { }
    // Another exchange model was chosen.
    virtual void exchangeModelChanged() { }
};

} // namespace ornis
