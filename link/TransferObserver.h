#pragma once

#include "TransferMode.h"
#include "config/Blocks.h"
#include "config/FieldRange.h"

#include <string>

namespace ornis {

// How a transfer ended: every block done, stopped (the stop sequence, or ended at once for
// another port) or failed (answer timeout, port failure).
enum class TransferEnd { Complete, Stopped, Failed };

// How the engine tells the user interface what changed. All calls come from inside the
// engine's inputs and actions, on the engine's thread.
class TransferObserver
{
public:
    virtual ~TransferObserver() = default;

    // The mode changed; Idle when the transfer is over, whatever ended it.
    virtual void transferModeChanged(TransferMode) { }
    // The progress panel was shown, stepped or hidden; percent is 0..100.
    virtual void progressChanged(bool /*visible*/, int /*percent*/) { }
    // A read stored the values of `range` into the configuration; one step of a read may
    // tell several ranges. When the views show them is the views' choice.
    virtual void valuesStored(const FieldRange &) { }
    // A read stored a value other than the one the exchange holds, because the field
    // cannot hold that (the message names the field and the bytes found).
    virtual void readWarning(const std::string & /*message*/) { }
    // The block of `mode` went through its closing: all of its bytes travelled.
    virtual void blockClosed(TransferMode) { }
    // The transfer ended with an error (answer timeout, port failure); the engine is idle.
    virtual void transferFailed(const std::string & /*message*/) { }
    // The last word on a transfer, after the return to idle and any transferFailed.
    virtual void transferEnded(TransferEnd) { }
};

} // namespace ornis
