#include "PortChooser.h"

#include <QComboBox>

#include "ui/LinkPortList.h"
#include "ui/UserDialogs.h"
#include "link/TransferEngine.h"
#include "qtlink/QtLinkPort.h"

namespace ornis {

PortChooser::PortChooser(LinkPortList &ports, TransferEngine &engine, UserDialogs &dialogs,
                         QComboBox &list, QWidget *dialogParent)
    : ports_(ports)
    , engine_(engine)
    , dialogs_(dialogs)
    , list_(list)
    , dialogParent_(dialogParent)
{
    // Only the user's choice opens a port; filling the list or clearing it does not.
    connect(&list_, &QComboBox::activated, this, &PortChooser::cbComPortChange);
    attachPort();
}

PortChooser::~PortChooser()
{
    for (const QMetaObject::Connection &connection : std::as_const(connections_))
        disconnect(connection);
}

void PortChooser::probe(int first)
{
    list_.clear();
    list_.addItems(ports_.names());
    list_.setCurrentIndex(-1);

    QList<int> order;
    if (first >= 0 && first < list_.count())
        order.append(first);
    for (int index = 0; index < list_.count(); ++index) {
        if (index != first)
            order.append(index);
    }
    for (const int index : std::as_const(order)) {
        if (ports_.open(index).ok()) {
            ports_.setDtr(false);
            list_.setCurrentIndex(index);
            break;
        }
    }
    attachPort();
}

void PortChooser::cbComPortChange(int index)
{
    engine_.abort();
    ports_.close();
    const Status status = ports_.open(index);
    attachPort();
    if (!status.ok()) {
        list_.setCurrentIndex(-1);
        dialogs_.showError(dialogParent_, QString::fromStdString(status.message()));
    }
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

} // namespace ornis
