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
// progress bar's position, the status text and the values a read stored reach the views at
// most once a frame, the stored values merged into one range per field. The settings grids wait
// for the end of the settings block and are then refreshed once. Whatever is pending is shown when
// the transfer ends.
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
        std::function<void()> grids;
    };

    explicit PacedRepaints(Views views, QObject *parent = nullptr);

    // The bar shows and hides at once; its position waits for the frame.
    void progressChanged(bool visible, int percent);
    void valuesStored(const FieldRange &range);
    // The status text: while a transfer runs, at the next frame; at once otherwise.
    void statusChanged(const QString &text);
    void modeChanged(TransferMode mode);
    // Shows everything pending now.
    void flush();

    [[nodiscard]] bool pending() const { return timer_.isActive(); }

private:
    void schedule();

    const Views views_;
    QTimer timer_;
    bool progressVisible_ = false;
    int percent_ = 0;
    bool percentDue_ = false;
    QString status_;
    bool statusDue_ = false;
    std::vector<FieldRange> ranges_; // at most one per field
    TransferMode mode_ = TransferMode::Idle;
    bool gridsStored_ = false; // by the settings block running now
    bool gridsDue_ = false;
};

} // namespace ornis
