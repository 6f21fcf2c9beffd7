#pragma once

#include "link/BlockTable.h"
#include "link/TransferObserver.h"
#include "ui/transfer/ExchangeComparison.h"
#include "ui/transfer/PacedRepaints.h"
#include "ui/transfer/WriteVerification.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

namespace ornis {

class Document;
class LinkPort;
class LocalClock;
class TransferEngine;
class TransferGuard;
class TransferWatch;
class UserSettings;

// The transfers of the window from the question to the last word on them: the question
// before each, the question about call-backs the services block cannot carry, the start on
// the document's configuration or on a copy (a comparison, the read-back of a verification),
// and the end: the step of the history a read is, the backups and the word on the transfer,
// the differences found, and the actions that waited for the line. A window that closes
// during a transfer ends it first.
class TransferFlow final : public QObject, private TransferObserver
{
    Q_OBJECT

public:
    struct Setup
    {
        LinkPort &port;
        const LocalClock &clock;
        UserSettings &settings;
        // The page in view: what a read, a write or a comparison moves.
        std::function<int()> pageInView;
        // Where the progress, the word on the transfer, the values read and the state of
        // the line show, at the pace of the screen.
        PacedRepaints::Views views;
    };

    TransferFlow(Document &document, Setup setup, QObject *parent = nullptr);
    ~TransferFlow() override;

    [[nodiscard]] TransferEngine &engine() const { return *engine_; }

    // acReceive, acSend: unless a transfer runs, asks, then starts the transfer of the page
    // in view.
    void askForTransfer(Direction direction);
    // acSendRTC
    void askForClockWrite();
    // acStop
    void stop();
    // acCompare: reads what the page in view shows into a copy and lists the differences.
    void compare();
    // Runs an action that replaces the configuration or the line: at once while idle,
    // else once the running transfer is ended, if the user agrees to end it.
    void runWhenIdle(std::function<void()> action);

    // The window wants to close: true when it may go now. Otherwise the running transfer
    // is ended first and closeDue() follows once the engine is idle.
    [[nodiscard]] bool mayClose();
    // The window goes: the end of a transfer its port ends is no news.
    void windowGoing() { windowGoing_ = true; }
    // The message of a write that the last run ended by closing the window, if any.
    void reportWriteEndedByClosing();

signals:
    void closeDue();

private:
    // Asks about call-back targets the services block cannot carry, then starts `mode`.
    void startWithServicesCheck(TransferMode mode);
    void startTransfer(TransferMode mode);
    // Starts `mode` on `target`: the document's configuration or a copy.
    void beginTransfer(TransferMode mode, ExchangeConfig &target);
    // A write, or its read-back, ended.
    void verificationStep(TransferEnd end);

    // TransferObserver
    void transferModeChanged(TransferMode mode) override;
    void progressChanged(bool visible, int percent) override;
    void valuesStored(const FieldRange &range) override;
    void readWarning(const std::string &message) override;
    void transferFailed(const std::string &message) override;
    void transferEnded(TransferEnd end) override;

    Document &document_;
    UserSettings &settings_;
    const std::function<int()> pageInView_;
    PacedRepaints *repaints_;
    // All outlive the engine, which may still report the end of a transfer.
    std::unique_ptr<TransferWatch> watch_;
    ExchangeComparison comparison_;
    WriteVerification verification_;
    std::unique_ptr<TransferEngine> engine_;
    std::unique_ptr<TransferGuard> guard_;
    bool windowGoing_ = false;
    // The window closes once the transfer that closing ended is over.
    bool closeDue_ = false;
};

} // namespace ornis
