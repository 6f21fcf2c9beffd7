#include "TransferRunner.h"

#include "Progress.h"
#include "link/BlockTable.h"
#include "link/TransferEngine.h"
#include "qtlink/TraceFile.h"

namespace ornis::cli {

TransferRunner::TransferRunner(ExchangeConfig &config, Progress &progress, QObject *parent)
    : TransferRunner(config, Listener(), parent)
{
    progress_ = &progress;
}

TransferRunner::TransferRunner(ExchangeConfig &config, Listener listener, QObject *parent)
    : QObject(parent)
    , config_(config)
    , listener_(std::move(listener))
{
    TransferObserver &observer = *this;
    engine_ = std::make_unique<TransferEngine>(config_, port_, clock_, observer);
    port_.setInner(&line_);
}

TransferRunner::~TransferRunner()
{
    // The engine goes before the port: nothing the port still reports may reach it.
    port_.disconnect();
}

Status TransferRunner::traceInto(const QString &path)
{
    Status status = Status::success();
    std::unique_ptr<TraceFile> file = TraceFile::single(path, status);
    if (!file)
        return status;
    file->onWriteFailure([this](const Status &failure) {
        if (!traceFailure_)
            traceFailure_ = failure.message();
    });
    port_.startTrace(std::move(file), *engine_);
    return status;
}

void TransferRunner::stop()
{
    record_.stopped = true;
    modes_.clear();
    // A connection still being made has sent nothing yet: no block to end, nothing to wait
    // for but the connect timeout.
    if (line_.network().isOpen() && !line_.network().isReady())
        return engine_->abort();
    // Idle between two modes: the end already taken up finishes the run.
    engine_->stop();
}

void TransferRunner::run(
    const QString &port, std::vector<TransferMode> modes, int timeoutMs, Done done)
{
    done_ = std::move(done);
    modes_ = std::move(modes);
    if (Status opened = line_.open(port); !opened.ok()) {
        failure_ = opened.message();
        finishLater();
        return;
    }
    engine_->setResponseTimeout(timeoutMs);
    connectPortToEngine(port_, *engine_, this);
    if (!startNext())
        finishLater();
}

bool TransferRunner::startNext()
{
    if (modes_.empty())
        return false;
    const TransferMode mode = modes_.front();
    modes_.erase(modes_.begin());
    running_ = true;
    if (engine_->startTransfer(mode))
        return true;
    if (!failure_)
        failure_ = "The transfer cannot start";
    return false;
}

void TransferRunner::transferModeChanged(TransferMode mode)
{
    if (progress_)
        progress_->modeChanged(mode);
    mode_ = mode;
    if (stepNames(mode))
        record_.cutStep = mode;
    if (listener_)
        listener_(mode, 0);
    if (mode == TransferMode::Idle && running_)
        finishLater();
}

void TransferRunner::progressChanged(bool visible, int percent)
{
    if (!visible)
        return;
    if (progress_)
        progress_->percentChanged(percent);
    if (listener_)
        listener_(mode_, percent);
}

void TransferRunner::readWarning(const std::string &message)
{
    warnings_.push_back(message);
}

void TransferRunner::blockClosed(TransferMode mode)
{
    record_.closedSteps.push_back(mode);
    record_.cutStep.reset();
}

void TransferRunner::transferFailed(const std::string &message)
{
    if (!failure_)
        failure_ = message;
}

void TransferRunner::transferEnded(TransferEnd end)
{
    if (end == TransferEnd::Complete)
        ++record_.completedTransfers;
}

void TransferRunner::finishLater()
{
    if (finishing_)
        return;
    finishing_ = true;
    QMetaObject::invokeMethod(this, &TransferRunner::finish, Qt::QueuedConnection);
}

void TransferRunner::finish()
{
    running_ = false;
    finishing_ = false;
    if (!failure_ && startNext())
        return;
    port_.stopTrace(); // written out in full before the program ends
    line_.close();
    if (done_)
        done_(failure_ ? Status::failure(*failure_) : Status::success());
}

} // namespace ornis::cli
