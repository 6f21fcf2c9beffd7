#pragma once

#include <QFrame>

class QProgressBar;

namespace ornis {

// `pnlProgress` at the right end of the status bar: the progress of the block in transfer,
// 0 to 100 percent, hidden while the link is idle.
class ProgressPanel final : public QFrame
{
    Q_OBJECT

public:
    static constexpr int Width = 155;

    explicit ProgressPanel(QWidget *parent = nullptr);

    void showProgress(bool visible, int percent);
    [[nodiscard]] int percent() const;

private:
    QProgressBar *bar_;
};

} // namespace ornis
