#pragma once

#include <QWidget>

namespace ornis {

struct MainActions;

// The strip that ends a page: read, write and factory values of what the page shows,
// three buttons of 121 pixels, right-aligned; at the left the comparison with the exchange.
class ButtonStrip final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ButtonWidth = 121;

    struct Captions
    {
        QString receive = QStringLiteral("&Načíst");
        QString send = QStringLiteral("&Zapsat");
        QString def = QStringLiteral("&Přednastavit");
        QString compare = QStringLiteral("Po&rovnat s ústřednou");
    };

    // The buttons are named bt<Receive|Send|Def|Compare><suffix>, e.g. btReceiveServices.
    ButtonStrip(const MainActions &actions, const QString &suffix, const Captions &captions,
        QWidget *parent = nullptr);
};

} // namespace ornis
