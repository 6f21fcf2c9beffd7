#pragma once

#include "config/ConfigFields.h"
#include "ui/pages/ServicesRows.h"

#include <QFrame>
#include <QList>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;

namespace ornis {

class FieldBinding;
class MaskedTimeEdit;

// The framed column of one extension on the page "Služby", bound to its services values:
// call-back, parking, redirection, ringing from the lines and the two wake-up times.
class ServicesColumn final : public QFrame
{
    Q_OBJECT

public:
    static constexpr int Width = 97;

    // The controls of extension index `extension` (0..15) are bound through `binding`.
    ServicesColumn(FieldBinding &binding, int extension, QWidget *parent = nullptr);

signals:
    // The user tried to leave a changed wake-up field with a required position empty.
    void timeRefused();

protected:
    bool event(QEvent *event) override;

private:
    [[nodiscard]] QString controlName(const char *prefix) const;
    QComboBox *addList(const char *prefix, int itemCount, bool withLines);
    QCheckBox *addBox(const QString &name, const FieldRef &ref);
    MaskedTimeEdit *addTime(const char *prefix);
    // Sizes the controls whose text decides their width and places every row.
    void arrange();
    // Places the row's controls side by side with `gap` pixels between, centred.
    void placeRow(ServicesRows::Row row, int gap);
    void showBackRingHint(int item);

    const int extension_;
    FieldBinding &binding_;
    std::array<QList<QWidget *>, ServicesRows::Count> rows_;
    QLabel *number_ = nullptr;
    QComboBox *backRing_ = nullptr;
    QComboBox *redirect_ = nullptr;
    QComboBox *redirectWhen_ = nullptr;
    MaskedTimeEdit *alarmOnce_ = nullptr;
    QLabel *slash_ = nullptr;
    MaskedTimeEdit *alarmDaily_ = nullptr;
};

} // namespace ornis
