#include "TransferWatch.h"

#include "TransferSteps.h"
#include "config/ExchangeConfig.h"
#include "link/LocalClock.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/document/BackupFolder.h"

#include <QDir>
#include <algorithm>

namespace ornis {

TransferWatch::TransferWatch(std::function<void(const QString &)> showStatus, UserDialogs &dialogs,
    QWidget *dialogParent, const BackupFolder &backups, const LocalClock &clock)
    : showStatus_(std::move(showStatus))
    , dialogs_(dialogs)
    , dialogParent_(dialogParent)
    , backups_(backups)
    , clock_(clock)
{
}

bool TransferWatch::starting(TransferMode mode, const ExchangeConfig &config)
{
    config_ = &config;
    mode_ = mode;
    steps_ = transferSteps(mode, config.ExchangeType);
    blocks_ = blocksMovedBy(mode, config.ExchangeType);
    started_ = false;
    writeBackup_.clear();
    failure_.reset();
    warnings_.clear();
    backupFailures_.clear();
    if (isRead(mode) || blocks_.empty())
        return false;
    writeBackup_ = storeBackup(QStringLiteral("zapis"));
    return backupFailures_.isEmpty();
}

void TransferWatch::started()
{
    started_ = running();
}

void TransferWatch::modeChanged(TransferMode mode)
{
    if (mode == TransferMode::Idle || mode == TransferMode::Stopping || !running())
        return;
    auto step = std::find(steps_.begin(), steps_.end(), mode);
    if (step == steps_.end()) // a block the transfer did not expect at its start
        step = steps_.insert(steps_.end(), mode);
    const QString verb = isRead(mode_) ? QStringLiteral("Čtení") : QStringLiteral("Zápis");
    QString text = QStringLiteral("%1: %2").arg(verb, stepCaption(mode));
    if (steps_.size() > 1)
        text += QStringLiteral(" (%1/%2)").arg(step - steps_.begin() + 1).arg(steps_.size());
    showStatus_(text);
}

void TransferWatch::warning(const std::string &message)
{
    warnings_.append(QString::fromStdString(message));
}

void TransferWatch::failed(const std::string &message)
{
    failure_ = message;
}

bool TransferWatch::ended(TransferEnd end)
{
    if (!running())
        return false;
    const bool read = isRead(mode_);
    bool backedUp = false;
    switch (end) {
    case TransferEnd::Complete:
        showStatus_(read ? QStringLiteral("Načteno") : QStringLiteral("Zapsáno"));
        if (read) {
            const QString backup = storeBackup(QStringLiteral("cteni"));
            backedUp = backupFailures_.isEmpty();
            noteExchangeHolds(backup);
        } else {
            noteExchangeHolds(writeBackup_);
        }
        break;
    case TransferEnd::Stopped:
        showStatus_(QStringLiteral("Přerušeno"));
        break;
    case TransferEnd::Failed:
        showStatus_(
            QStringLiteral("Selhalo: %1").arg(QString::fromStdString(failure_.value_or(""))));
        break;
    }
    showEndMessage(end);
    config_ = nullptr;
    return backedUp;
}

QString TransferWatch::storeBackup(const QString &action)
{
    const QString what = blocks_ == blocksOfModel(config_->ExchangeType)
        ? QStringLiteral("vse")
        : fileNamePart(stepCaption(mode_));
    QString stored;
    const Status status = backups_.store(*config_, clock_.now(), action + u'_' + what, stored);
    if (!status.ok())
        backupFailures_.append(backupFailureText(status));
    return stored;
}

void TransferWatch::noteExchangeHolds(const QString &backup)
{
    for (const Block block : AllBlocks) {
        if (blocks_.contains(block))
            exchangeBackups_[std::size_t(block)] = backup;
    }
}

bool TransferWatch::writeRunning() const
{
    return running() && started_ && !isRead(mode_) && !blocks_.empty();
}

QStringList TransferWatch::exchangeBackups() const
{
    QStringList before;
    for (const Block block : AllBlocks) {
        const QString &backup = exchangeBackups_[std::size_t(block)];
        if (blocks_.contains(block) && !backup.isEmpty() && !before.contains(backup))
            before.append(QDir::toNativeSeparators(backup));
    }
    return before;
}

void TransferWatch::writeVerified()
{
    showStatus_(QStringLiteral("Zapsáno a ověřeno"));
}

QString TransferWatch::earlyWriteEndText() const
{
    QString text = QStringLiteral(
        "Zápis nebyl dokončen: ústředna teď může obsahovat zčásti zapsanou konfiguraci.");
    const QStringList before = exchangeBackups();
    if (!before.isEmpty())
        text += QStringLiteral("\nPoslední známý obsah ústředny je v záloze:\n")
            + before.join(u'\n');
    return text;
}

void TransferWatch::showEndMessage(TransferEnd end)
{
    QStringList parts;
    if (failure_)
        parts.append(QString::fromStdString(*failure_));
    if (writeRunning() && end != TransferEnd::Complete)
        parts.append(earlyWriteEndText());
    if (!warnings_.isEmpty())
        parts.append(QStringLiteral("Některé hodnoty z ústředny nelze ukázat tak, jak jsou v "
                                    "ní uloženy:\n")
            + warnings_.join(u'\n'));
    parts.append(backupFailures_);
    if (!parts.isEmpty())
        dialogs_.showError(dialogParent_, parts.join(QStringLiteral("\n\n")));
}

} // namespace ornis
