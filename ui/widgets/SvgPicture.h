#pragma once

#include <QSvgRenderer>
#include <QWidget>

namespace ornis {

// A drawing from the resources, scaled to the widget with its proportions kept.
class SvgPicture final : public QWidget
{
    Q_OBJECT

public:
    explicit SvgPicture(const QString &resource, QWidget *parent = nullptr);

    [[nodiscard]] bool isLoaded() const { return renderer_.isValid(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer renderer_;
};

} // namespace ornis
