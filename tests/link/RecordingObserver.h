#pragma once

#include "link/TransferObserver.h"

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
    void valuesStored(ornis::Block block) override { stored.push_back(block); }
    void settingsGridsRefreshDue() override { ++gridRefreshes; }
    void readWarning(const std::string &message) override { warnings.push_back(message); }
    void transferFailed(const std::string &message) override { errors.push_back(message); }
    void transferEnded(ornis::TransferEnd end) override { ends.push_back(end); }

    std::vector<ornis::TransferMode> modes;
    std::vector<int> percents;
    bool progressVisible = false;
    std::vector<ornis::Block> stored;
    int gridRefreshes = 0;
    std::vector<std::string> warnings;
    std::vector<std::string> errors;
    std::vector<ornis::TransferEnd> ends;
};
