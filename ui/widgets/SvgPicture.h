#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace ornis {

// A drawing from the resources, scaled to the widget with its proportions kept. It is read
// and drawn when first painted, then painted from the drawing kept until the size changes:
// the pictures of the models not chosen cost nothing.
class SvgPicture final : public QWidget
{
    Q_OBJECT

public:
    explicit SvgPicture(const QString &resource, QWidget *parent = nullptr);

    // The resource holds a drawing that can be read.
    [[nodiscard]] bool isLoaded() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QString resource_;
    QPixmap drawn_;
};

} // namespace ornis
