#pragma once

#include <QObject>

class QWidget;

namespace ornis {

// For start-up measurements: at the first paint of the window it watches, prints the
// monotonic clock (CLOCK_MONOTONIC, in nanoseconds, as another process reads it) and the
// process's peak resident memory in KiB, "<ns> <KiB>", and quits the application.
class FirstPaint final : public QObject
{
public:
    explicit FirstPaint(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool reported_ = false;
};

// CLOCK_MONOTONIC in nanoseconds: the same clock in every process of the machine.
[[nodiscard]] long long monotonicNanoseconds();

} // namespace ornis
