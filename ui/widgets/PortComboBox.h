#pragma once

#include <QComboBox>

namespace ornis {

// The port list `cbComPort`: an entry is chosen, or a device path is typed into it and
// confirmed with Enter. It asks for its entries anew whenever it drops down.
class PortComboBox final : public QComboBox
{
    Q_OBJECT

public:
    explicit PortComboBox(QWidget *parent = nullptr);

    void showPopup() override;

signals:
    // Before the entries are shown: the owner may fill the list anew.
    void aboutToDropDown();
    // The user typed a name or device path and pressed Enter.
    void portTyped(const QString &nameOrPath);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Text typed but not confirmed is dropped: the edit shows the port in use again.
    void showEntryInUse();
};

} // namespace ornis
