#pragma once

#include "config/FieldRange.h"
#include "link/TransferMode.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

namespace ornis {

// What a transfer reports, shown at the pace of the screen rather than of the line: the
// progress bar, the status text and the values a read stored reach the views at most once a
// frame, the stored values merged into one range per field. The settings grids wait for the
// end of the settings block and are then told once, each grid whole. When the transfer ends, the
// values it stored show at once and the bar goes; the word on the end and the controls of an idle
// link follow with the frame, so that transfers shorter than a frame, one after another,
// change nothing on the screen but the values.
class PacedRepaints final : public QObject
{
    Q_OBJECT

public:
    static constexpr int FrameInterval = 16; // ms, about one frame of the screen

    struct Views
    {
        std::function<void(bool visible, int percent)> progress;
        std::function<void(const QString &)> status;
        std::function<void(const FieldRange &)> stored;
        // A transfer runs: at once when it starts, with the frame after it ended.
        std::function<void(bool running)> running;
    };

    explicit PacedRepaints(Views views, QObject *parent = nullptr);

    void progressChanged(bool visible, int percent);
    void valuesStored(const FieldRange &range);
    // The status text: while a transfer runs, at the next frame; at once otherwise, in
    // place of a text of the transfer still waiting.
    void statusChanged(const QString &text);
    void modeChanged(TransferMode mode);
    // Shows everything pending now.
    void flush();

    [[nodiscard]] bool pending() const { return timer_.isActive(); }

private:
    void schedule();
    // The progress and the values stored.
    void showValues();
    // One range per field: `range` joins the one of its field.
    void addRange(const FieldRange &range);

    const Views views_;
    QTimer timer_;
    bool progressVisible_ = false;
    int percent_ = 0;
    bool shownVisible_ = false; // what the bar shows
    int shownPercent_ = 0;
    QString status_;
    bool statusDue_ = false;
    std::vector<FieldRange> ranges_; // at most one per field
    TransferMode mode_ = TransferMode::Idle;
    bool gridsStored_ = false; // by the settings block running now
    bool runningShown_ = false;
};

} // namespace ornis
