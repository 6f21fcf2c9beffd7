#include "UnsavedAtClose.h"

#include "Document.h"
#include "UserSettings.h"
#include "link/LocalClock.h"
#include "ui/clock/ClockText.h"
#include "ui/dialogs/UserDialogs.h"

#include <QDir>
#include <QFileInfo>

namespace ornis {

UnsavedAtClose::UnsavedAtClose(Document &document, UserSettings &settings)
    : document_(document)
    , settings_(settings)
{
}

void UnsavedAtClose::windowClosing()
{
    QString kept;
    if (const Status status = document_.storeUnsavedEdits(&kept); !status.ok())
        qWarning("%s", qPrintable(backupFailureText(status)));
    settings_.noteEditsKeptAtClose(kept, clockText(document_.clock().now()));
}

void UnsavedAtClose::offerKeptEdits()
{
    const std::optional<UserSettings::KeptEdits> kept = settings_.takeEditsKeptAtClose();
    if (!kept || !QFileInfo::exists(kept->path))
        return;
    const QString question
        = QStringLiteral("Při posledním zavření okna (%1) zůstaly neuložené úpravy. Jsou "
                         "uchované v záloze:\n%2\n\nObnovit je ?")
              .arg(kept->when, QDir::toNativeSeparators(kept->path));
    document_.dialogs().ask(document_.dialogParent(), question, [this, path = kept->path] {
        document_.runWhenIdle([this, path] {
            if (const Status status = document_.reopenKeptEdits(path); !status.ok())
                document_.dialogs().showError(
                    document_.dialogParent(), QString::fromStdString(status.message()));
        });
    });
}

} // namespace ornis
