#pragma once

#include "link/TransferObserver.h"

#include <algorithm>
#include <string>
#include <vector>

// Records what the engine reported.
class RecordingObserver : public ornis::TransferObserver
{
public:
    void transferModeChanged(ornis::TransferMode mode) override { modes.push_back(mode); }
    void progressChanged(bool visible, int percent) override
    {
        progressVisible = visible;
        if (visible)
            percents.push_back(percent);
    }
    void valuesStored(const ornis::FieldRange &range) override { stored.push_back(range); }
    void readWarning(const std::string &message) override { warnings.push_back(message); }
    void transferFailed(const std::string &message) override { errors.push_back(message); }
    void transferEnded(ornis::TransferEnd end) override { ends.push_back(end); }

    std::vector<ornis::TransferMode> modes;
    std::vector<int> percents;
    bool progressVisible = false;
    std::vector<ornis::FieldRange> stored;
    std::vector<std::string> warnings;
    std::vector<std::string> errors;
    std::vector<ornis::TransferEnd> ends;

    // The ranges told whose values are of `field`.
    [[nodiscard]] int storedOf(ornis::Field field) const
    {
        return int(std::count_if(stored.begin(), stored.end(),
            [field](const ornis::FieldRange &r) { return r.first.field == field; }));
    }
    // Values of `blocks` that differ between `before` and `after` but were never told.
    [[nodiscard]] std::vector<ornis::FieldRef> untold(const ornis::ExchangeConfig &before,
        const ornis::ExchangeConfig &after, ornis::BlockSet blocks) const
    {
        std::vector<ornis::FieldRef> missing;
        for (const ornis::FieldRef &ref : ornis::differingFields(before, after, blocks, false)) {
            if (std::none_of(stored.begin(), stored.end(),
                    [&ref](const ornis::FieldRange &r) { return contains(r, ref); }))
                missing.push_back(ref);
        }
        return missing;
    }
};
