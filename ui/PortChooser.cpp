#include "PortChooser.h"

#include "ui/LinkPortList.h"
#include "ui/UserDialogs.h"
#include "ui/widgets/PortComboBox.h"
#include "link/TransferEngine.h"
#include "qtlink/QtLinkPort.h"

namespace ornis {

PortChooser::PortChooser(LinkPortList &ports, TransferEngine &engine, UserDialogs &dialogs,
                         PortComboBox &list, QWidget *dialogParent)
    : ports_(ports)
    , engine_(engine)
    , dialogs_(dialogs)
    , list_(list)
    , dialogParent_(dialogParent)
{
    // Only the user's choice opens a port; filling the list or clearing it does not.
    connect(&list_, &QComboBox::activated, this, &PortChooser::cbComPortChange);
    connect(&list_, &PortComboBox::portTyped, this, &PortChooser::cbComPortTyped);
    connect(&list_, &PortComboBox::aboutToDropDown, this, &PortChooser::refreshList);
    attachPort();
}

PortChooser::~PortChooser()
{
    for (const QMetaObject::Connection &connection : std::as_const(connections_))
        disconnect(connection);
}

void PortChooser::probe(int first)
{
    const int count = int(ports_.names().size());
    QList<int> order;
    if (first >= 0 && first < count)
        order.append(first);
    for (int index = 0; index < count; ++index) {
        if (index != first)
            order.append(index);
    }
    for (const int index : std::as_const(order)) {
        if (ports_.open(index).ok()) {
            ports_.setDtr(false);
            break;
        }
    }
    fillList();
    attachPort();
}

void PortChooser::cbComPortChange(int index)
{
    engine_.abort();
    ports_.close();
    const Status status = ports_.open(index);
    attachPort();
    list_.setCurrentIndex(ports_.inUse());
    reportFailure(status);
}

void PortChooser::cbComPortTyped(const QString &nameOrPath)
{
    engine_.abort();
    ports_.close();
    const Status status = ports_.openTyped(nameOrPath);
    attachPort();
    fillList(); // a path that opened is an entry now
    reportFailure(status);
}

void PortChooser::close()
{
    engine_.abort();
    ports_.close();
    list_.setCurrentIndex(-1);
    attachPort();
}

void PortChooser::attachPort()
{
    for (const QMetaObject::Connection &connection : std::as_const(connections_))
        disconnect(connection);
    connections_.clear();

    QtLinkPort &port = ports_.port();
    engine_.setPort(port);
    connections_.append(connect(&port, &QtLinkPort::bytesArrived, this,
                                [this](std::size_t count) { engine_.bytesArrived(count); }));
    connections_.append(connect(&port, &QtLinkPort::answerTimerFired, this,
                                [this] { engine_.timerFired(); }));
    connections_.append(connect(&port, &QtLinkPort::portFailed, this,
                                [this](const QString &message) {
                                    onPortFailed();
                                    engine_.portFailed(message.toStdString());
                                }));
}

void PortChooser::onPortFailed()
{
    // The port has closed itself; the list shows that none is in use.
    list_.setCurrentIndex(-1);
}

void PortChooser::fillList()
{
    list_.clear();
    list_.addItems(ports_.names());
    list_.setCurrentIndex(ports_.inUse());
}

void PortChooser::refreshList()
{
    // The port in use and a transfer on it go on undisturbed.
    ports_.refresh();
    fillList();
}

void PortChooser::reportFailure(const Status &status)
{
    if (!status.ok())
        dialogs_.showError(dialogParent_, QString::fromStdString(status.message()));
}

} // namespace ornis
