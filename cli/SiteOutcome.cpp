#include "SiteOutcome.h"

namespace ornis::cli {

QString outcomeText(const SiteOutcome &outcome)
{
    switch (outcome.result) {
    case SiteOutcome::Result::FirstBackup:
        return QStringLiteral("first backup");
    case SiteOutcome::Result::Unchanged:
        return QStringLiteral("unchanged");
    case SiteOutcome::Result::Changed:
        return outcome.changes.size() == 1
            ? QStringLiteral("1 change")
            : QStringLiteral("%1 changes").arg(outcome.changes.size());
    case SiteOutcome::Result::Failed:
        break;
    }
    return QStringLiteral("failed: ") + outcome.error;
}

} // namespace ornis::cli
