#pragma once

#include "config/Status.h"
#include "qtlink/TracingPort.h"

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace ornis {

class LinkPortList;
class PortComboBox;
class TransferEngine;
class UserDialogs;

// The port list `cbComPort`: fills it, opens the first port that opens at start, opens
// the port the user picks or types, lists the ports anew when the list drops down, and
// gives the engine the port in use, through the line trace when it is on.
class PortChooser final : public QObject
{
    Q_OBJECT

public:
    PortChooser(LinkPortList &ports, TransferEngine &engine, UserDialogs &dialogs,
        PortComboBox &list, QWidget *dialogParent);
    ~PortChooser() override;

    // Lists the ports and opens, in list order, the first entry that opens (with DTR off
    // for it and every later opening). Entry `first`, when given, is tried before the
    // others. Nothing is reported: a port that does not open is skipped.
    void probe(int first = -1);

    // The user picked entry `index` (`cbComPortChange`). A transfer that runs on the
    // port in use is ended first: its bytes must not go to, or come from, another line.
    void cbComPortChange(int index);
    // The user typed a name, a device path or a network address and confirmed it: opened
    // as a picked entry is, and then listed.
    void cbComPortTyped(const QString &text);

    // Carries out the user's choice of another port; the window lets it wait for a
    // running transfer, or drops it. Until then the list shows the port in use.
    using ChangeGate = std::function<void(std::function<void()> change)>;
    void setChangeGate(ChangeGate gate) { gate_ = std::move(gate); }

    // Closes the port in use (`FormDestroy`).
    void close();

    // Writes every transfer into a new file of `folder`; an empty folder ends the trace.
    [[nodiscard]] Status setTraceFolder(const QString &folder);

private:
    // The transfers use the port that is in use now.
    void attachPort();
    void onPortFailed(const QString &message);
    // The entries as the port list has them now, the port in use selected.
    void fillList();
    void refreshList();
    void reportFailure(const Status &status);

    LinkPortList &ports_;
    TransferEngine &engine_;
    UserDialogs &dialogs_;
    PortComboBox &list_;
    QWidget *dialogParent_;
    TracingPort port_; // over the port in use: what the engine talks to
    ChangeGate gate_ = [](std::function<void()> change) { change(); };
};

} // namespace ornis
