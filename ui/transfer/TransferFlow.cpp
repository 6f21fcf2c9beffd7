#include "TransferFlow.h"

#include "link/CallBackTargets.h"
#include "link/TransferEngine.h"
#include "ui/MainPages.h"
#include "ui/dialogs/LineCallBackTexts.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/document/Document.h"
#include "ui/document/UserSettings.h"
#include "ui/editing/ConfigEditor.h"
#include "ui/transfer/TransferGuard.h"
#include "ui/transfer/TransferSteps.h"
#include "ui/transfer/TransferWatch.h"

#include <QTimer>

namespace ornis {

namespace {

// The name of a read in the history: "Zpět: Načtení z ústředny".
const QString ReadStepText = QStringLiteral("Načtení z ústředny");

} // namespace

TransferFlow::TransferFlow(Document &document, Setup setup, QObject *parent)
    : QObject(parent)
    , document_(document)
    , settings_(setup.settings)
    , pageInView_(std::move(setup.pageInView))
    , repaints_(new PacedRepaints(std::move(setup.views), this))
    , watch_(std::make_unique<TransferWatch>(
          [this](const QString &text) { repaints_->statusChanged(text); }, document.dialogs(),
          document.dialogParent(), document.backups(), setup.clock))
{
    TransferObserver &observer = *this;
    engine_ = std::make_unique<TransferEngine>(
        document.editor().transferTarget(), setup.port, setup.clock, observer);
    guard_ = std::make_unique<TransferGuard>(
        *engine_, document.dialogs(), document.dialogParent(), *this);
}

TransferFlow::~TransferFlow() = default;

void TransferFlow::askForTransfer(Direction direction)
{
    if (!engine_->isIdle())
        return;
    const QString question = direction == Direction::Receive
        ? QStringLiteral("Načíst data z ústředny ?")
        : QStringLiteral("Zapsat data do ústředny ?");
    document_.dialogs().ask(document_.dialogParent(), question, [this, direction] {
        if (const std::optional<TransferMode> mode = transferModeFor(pageInView_(), direction))
            startWithServicesCheck(*mode);
    });
}

void TransferFlow::askForClockWrite()
{
    if (!engine_->isIdle())
        return;
    document_.dialogs().ask(document_.dialogParent(), QStringLiteral("Zapsat čas do ústředny ?"),
        [this] { startTransfer(TransferMode::ClockWrite); });
}

void TransferFlow::stop()
{
    engine_->stop();
}

void TransferFlow::startWithServicesCheck(TransferMode mode)
{
    const std::vector<int> lost = writesServices(mode)
        ? extensionsWithUntransferableCallBack(document_.config())
        : std::vector<int> {};
    if (lost.empty()) {
        startTransfer(mode);
        return;
    }
    document_.dialogs().ask(document_.dialogParent(), lineCallBackQuestion(lost),
        [this, mode] { startTransfer(mode); });
}

void TransferFlow::startTransfer(TransferMode mode)
{
    // A read replaces what the window holds.
    if (isRead(mode))
        document_.backUpUnsavedEdits();
    beginTransfer(mode, document_.editor().transferTarget());
}

void TransferFlow::beginTransfer(TransferMode mode, ExchangeConfig &target)
{
    ConfigEditor &editor = document_.editor();
    const bool own = &target == &editor.transferTarget();
    if (isRead(mode) && own)
        editor.readStarting();
    else if (own)
        verification_.writeStarting(mode, target);
    if (watch_->starting(mode, target) && own)
        document_.markKept();
    // A failed start is reported by the engine, which is idle again.
    if (engine_->startTransfer(mode, target))
        watch_->started();
    else
        editor.readEnded(false, ReadStepText); // nothing read, no step
}

void TransferFlow::compare()
{
    runWhenIdle([this] {
        const std::optional<TransferMode> mode
            = transferModeFor(pageInView_(), Direction::Receive);
        if (!mode)
            return;
        const ExchangeConfig &config = document_.config();
        const BlockSet blocks = blocksMovedBy(*mode, config.ExchangeType);
        beginTransfer(*mode, comparison_.begin(config, blocks));
    });
}

void TransferFlow::runWhenIdle(std::function<void()> action)
{
    guard_->runWhenIdle(std::move(action));
}

bool TransferFlow::mayClose()
{
    // Closing is never refused, but a running transfer is ended first, so that the
    // exchange is not left in the middle of a command: the window goes when the stop
    // sequence is answered, or after one answer timeout. Without an answer timeout only
    // the exchange ends the wait; closing once more ends the transfer at once.
    if (!engine_->isIdle() && !closeDue_) {
        closeDue_ = true;
        if (watch_->writeRunning())
            settings_.noteWriteEndedByClosing(watch_->exchangeBackups());
        engine_->stop();
        if (!engine_->isIdle() && !engine_->answerTimerArmed())
            repaints_->statusChanged(QStringLiteral("Okno se zavře po odpovědi ústředny; "
                                                    "dalším zavřením hned."));
    } else if (!engine_->isIdle() && !engine_->answerTimerArmed()) {
        engine_->stop();
    }
    if (!engine_->isIdle())
        return false;
    closeDue_ = false;
    return true;
}

void TransferFlow::reportWriteEndedByClosing()
{
    const std::optional<QStringList> backups = settings_.takeWriteEndedByClosing();
    if (!backups)
        return;
    QString text = QStringLiteral("Poslední zápis do ústředny byl ukončen zavřením okna: "
                                  "ústředna teď může obsahovat zčásti zapsanou konfiguraci.");
    if (!backups->isEmpty())
        text += QStringLiteral("\nPoslední známý obsah ústředny je v záloze:\n")
            + backups->join(u'\n');
    document_.dialogs().showError(document_.dialogParent(), text);
}

// --- What the engine reports ------------------------------------------------------

void TransferFlow::transferModeChanged(TransferMode mode)
{
    // However the read ends (complete, timeout, stop, port failure), the views show what
    // it stored when the engine is idle again. Told first, so that the word on the block
    // now in transfer waits for the frame.
    repaints_->modeChanged(mode);
    watch_->modeChanged(mode);
}

void TransferFlow::progressChanged(bool visible, int percent)
{
    repaints_->progressChanged(visible, percent);
}

void TransferFlow::valuesStored(const FieldRange &range)
{
    // A comparison reads into its own copy: the views have nothing new to show.
    if (engine_->onOwnConfig())
        repaints_->valuesStored(range);
}

void TransferFlow::readWarning(const std::string &message)
{
    watch_->warning(message);
}

void TransferFlow::transferFailed(const std::string &message)
{
    watch_->failed(message);
}

void TransferFlow::transferEnded(TransferEnd end)
{
    if (windowGoing_)
        return;
    // A read is one step of the history, also one that ended early having stored values:
    // undo brings back what the window would hold without it, edits made meanwhile kept.
    document_.editor().readEnded(end == TransferEnd::Complete, ReadStepText);
    if (closeDue_) {
        // Nothing more to tell: the window goes.
        QTimer::singleShot(0, this, [this] {
            if (closeDue_)
                emit closeDue();
        });
        return;
    }
    const bool backedUp = watch_->ended(end);
    if (comparison_.running()) {
        if (const auto differences = comparison_.finish(end, document_.config()))
            document_.dialogs().showDifferences(document_.dialogParent(), *differences);
    } else {
        if (backedUp && !verification_.running())
            document_.markKept();
        verificationStep(end);
    }
    guard_->transferEnded();
}

void TransferFlow::verificationStep(TransferEnd end)
{
    if (verification_.running()) {
        if (const auto differences = verification_.finish(end)) {
            if (differences->empty())
                watch_->writeVerified();
            else
                document_.dialogs().showVerification(document_.dialogParent(), *differences);
        }
        return;
    }
    const std::optional<TransferMode> readBack = verification_.readBackAfter(end);
    if (readBack && settings_.verifyAfterWrite())
        beginTransfer(*readBack, verification_.target());
}

} // namespace ornis
