#include "PacedRepaints.h"

#include "config/GridRules.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace ornis {

namespace {

bool readsSettings(TransferMode mode)
{
    return mode == TransferMode::SettingsRead || mode == TransferMode::AllRead;
}

bool before(const FieldRef &a, const FieldRef &b)
{
    return std::tuple(a.field, a.index, a.member) < std::tuple(b.field, b.index, b.member);
}

} // namespace

PacedRepaints::PacedRepaints(Views views, QObject *parent)
    : QObject(parent)
    , views_(std::move(views))
{
    timer_.setSingleShot(true);
    timer_.setInterval(FrameInterval);
    connect(&timer_, &QTimer::timeout, this, &PacedRepaints::flush);
}

void PacedRepaints::progressChanged(bool visible, int percent)
{
    if (mode_ == TransferMode::Idle) // the bar went with the transfer
        return;
    progressVisible_ = visible;
    percent_ = percent;
    schedule();
}

void PacedRepaints::valuesStored(const FieldRange &range)
{
    if (readsSettings(mode_) && gridOfField(range.first.field)) {
        gridsStored_ = true;
        return;
    }
    addRange(range);
    schedule();
}

void PacedRepaints::addRange(const FieldRange &range)
{
    const auto same = std::find_if(ranges_.begin(), ranges_.end(),
        [&range](const FieldRange &r) { return r.first.field == range.first.field; });
    if (same == ranges_.end()) {
        ranges_.push_back(range);
    } else {
        if (before(range.first, same->first))
            same->first = range.first;
        if (before(same->last, range.last))
            same->last = range.last;
    }
}

void PacedRepaints::statusChanged(const QString &text)
{
    status_ = text;
    if (mode_ == TransferMode::Idle) {
        statusDue_ = false;
        views_.status(text);
        return;
    }
    statusDue_ = true;
    schedule();
}

void PacedRepaints::modeChanged(TransferMode mode)
{
    // However the settings block ended (done, stopped, failed), its grids show what it read.
    if (readsSettings(mode_) && !readsSettings(mode) && gridsStored_) {
        gridsStored_ = false;
        for (int grid = 0; grid < SettingsGridCount; ++grid)
            addRange(fieldRange(gridRules(SettingsGrid(grid)).field));
        schedule();
    }
    mode_ = mode;
    if (mode != TransferMode::Idle) {
        if (!std::exchange(runningShown_, true))
            views_.running(true);
        return;
    }
    progressVisible_ = false;
    showValues();
    // The word on the block still waiting is, as a rule, replaced at once by the word on
    // the end; the controls of an idle link wait in case the next transfer starts first.
    if (statusDue_ || runningShown_)
        schedule();
}

void PacedRepaints::flush()
{
    timer_.stop();
    showValues();
    if (std::exchange(statusDue_, false))
        views_.status(status_);
    if (mode_ == TransferMode::Idle && std::exchange(runningShown_, false))
        views_.running(false);
}

void PacedRepaints::showValues()
{
    if (progressVisible_ != shownVisible_ || (progressVisible_ && percent_ != shownPercent_)) {
        shownVisible_ = progressVisible_;
        shownPercent_ = percent_;
        views_.progress(shownVisible_, shownPercent_);
    }
    const std::vector<FieldRange> ranges = std::exchange(ranges_, {});
    for (const FieldRange &range : ranges)
        views_.stored(range);
}

void PacedRepaints::schedule()
{
    if (!timer_.isActive())
        timer_.start();
}

} // namespace ornis
