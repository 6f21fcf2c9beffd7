#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>

class QWidget;

namespace ornis {

class LinkPortList;
class PortComboBox;
class Status;
class TransferEngine;
class UserDialogs;

// The port list `cbComPort`: fills it, opens the first port that opens at start, opens
// the port the user picks or types, lists the ports anew when the list drops down, and
// wires the port in use to the engine.
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
    // The user typed a name or device path and confirmed it: opened as a picked entry is.
    void cbComPortTyped(const QString &nameOrPath);

    // Closes the port in use (`FormDestroy`).
    void close();

private:
    // The transfers use the port that is in use now; only its notifications reach the
    // engine.
    void attachPort();
    void onPortFailed();
    // The entries as the port list has them now, the port in use selected.
    void fillList();
    void refreshList();
    void reportFailure(const Status &status);

    LinkPortList &ports_;
    TransferEngine &engine_;
    UserDialogs &dialogs_;
    PortComboBox &list_;
    QWidget *dialogParent_;
    QList<QMetaObject::Connection> connections_;
};

} // namespace ornis
