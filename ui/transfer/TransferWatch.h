#pragma once

#include "config/Blocks.h"
#include "link/TransferMode.h"
#include "link/TransferObserver.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace ornis {

class BackupFolder;
class LocalClock;
class UserDialogs;

// What the window keeps of each transfer: the word on it in the status bar ("Čtení:
// Služby (3/5)", "Načteno"), a backup of the configuration before a write and after a
// read, and one message after an end that needs one: a failure, a write that ended early,
// values a read could not show as the exchange holds them.
class TransferWatch final
{
public:
    // The word on the transfer goes to `showStatus`; the messages to `dialogs`.
    TransferWatch(std::function<void(const QString &)> showStatus, UserDialogs &dialogs,
        QWidget *dialogParent, const BackupFolder &backups, const LocalClock &clock);

    // Before the first byte of a transfer in `mode` that reads into or writes from
    // `config`, which outlives it. True when `config` is in a backup now (a write's).
    bool starting(TransferMode mode, const ExchangeConfig &config);
    // The engine took the transfer up: a write that ends from now on may have changed
    // the exchange.
    void started();

    // What the engine reports about the transfer.
    void modeChanged(TransferMode mode);
    void warning(const std::string &message);
    void failed(const std::string &message);
    // True when the configuration the transfer read into is in a backup now (a complete
    // read's).
    bool ended(TransferEnd end);

    // A write runs that may have changed the exchange already.
    [[nodiscard]] bool writeRunning() const;
    // The backups that hold what the exchange held in the blocks the transfer moves, as
    // far as this run knows.
    [[nodiscard]] QStringList exchangeBackups() const;
    // A write was read back and the exchange holds what it sent.
    void writeVerified();

private:
    [[nodiscard]] bool running() const { return config_ != nullptr; }
    [[nodiscard]] QString storeBackup(const QString &action);
    void noteExchangeHolds(const QString &backup);
    [[nodiscard]] QString earlyWriteEndText() const;
    void showEndMessage(TransferEnd end);

    const std::function<void(const QString &)> showStatus_;
    UserDialogs &dialogs_;
    QWidget *dialogParent_;
    const BackupFolder &backups_;
    const LocalClock &clock_;

    // The transfer running, from starting() to ended().
    const ExchangeConfig *config_ = nullptr;
    TransferMode mode_ = TransferMode::Idle;
    std::vector<TransferMode> steps_;
    BlockSet blocks_;
    bool started_ = false;
    QString writeBackup_;
    std::optional<std::string> failure_;
    QStringList warnings_;
    QStringList backupFailures_;

    // Per block: the backup that holds what the exchange holds, as far as this run knows.
    std::array<QString, AllBlocks.size()> exchangeBackups_;
};

} // namespace ornis
