#pragma once

#include <QWidget>

#include "ButtonStrip.h"

namespace ornis {

// A page of `pcMain` other than "Konfigurace": what it shows above, its strip of three
// buttons below.
class TransferPage final : public QWidget
{
    Q_OBJECT

public:
    // `name` is the page's object name (tsSetting); `suffix` names its buttons.
    TransferPage(const QString &name, const MainActions &actions, const QString &suffix,
                 QWidget *parent = nullptr);

    // Where the page's own controls go.
    [[nodiscard]] QWidget *content() const { return content_; }

private:
    QWidget *content_;
};

} // namespace ornis
