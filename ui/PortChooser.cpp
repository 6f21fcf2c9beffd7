#include "PortChooser.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "ui/LinkPortList.h"
#include "ui/UserDialogs.h"
#include "link/TransferEngine.h"
#include "qtlink/QtLinkPort.h"
#include "qtlink/TraceFile.h"

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
    // A typed port: Enter on a text that names an entry picks that entry (activated).
    list_.setEditable(true);
    list_.setInsertPolicy(QComboBox::NoInsert);
    connect(list_.lineEdit(), &QLineEdit::returnPressed, this, [this] {
        const QString text = list_.lineEdit()->text().trimmed();
        if (!text.isEmpty() && list_.findText(text, Qt::MatchFixedString) < 0)
            openTyped(text);
    });

    connect(&port_, &QtLinkPort::bytesArrived, this,
            [this](std::size_t count) { engine_.bytesArrived(count); });
    connect(&port_, &QtLinkPort::answerTimerFired, this, [this] { engine_.timerFired(); });
    connect(&port_, &QtLinkPort::portFailed, this, &PortChooser::onPortFailed);
    engine_.setPort(port_);
    attachPort();
}

PortChooser::~PortChooser()
{
    // The engine may outlive this chooser: it keeps a port that lives on.
    port_.stopTrace();
    engine_.setPort(ports_.port());
}

void PortChooser::probe(int first)
{
    fillList();
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

void PortChooser::openTyped(const QString &text)
{
    engine_.abort();
    ports_.close();
    const Status status = ports_.openTyped(text);
    attachPort();
    fillList();
    if (!status.ok()) {
        list_.setCurrentIndex(-1);
        list_.setEditText(text);
        dialogs_.showError(dialogParent_, QString::fromStdString(status.message()));
        return;
    }
    // A listed port typed by its path shows as its entry; an unlisted device by its path.
    const int entry = list_.findText(QString::fromStdString(port_.name()), Qt::MatchFixedString);
    list_.setCurrentIndex(entry);
    if (entry < 0)
        list_.setEditText(text);
}

void PortChooser::close()
{
    engine_.abort();
    ports_.close();
    list_.setCurrentIndex(-1);
    attachPort();
}

Status PortChooser::setTraceFolder(const QString &folder)
{
    if (folder.isEmpty()) {
        port_.stopTrace();
        return Status::success();
    }
    Status status = Status::success();
    std::unique_ptr<TraceFile> files = TraceFile::perTransfer(folder, status);
    if (files)
        port_.startTrace(std::move(files), engine_);
    return status;
}

void PortChooser::attachPort()
{
    // A transfer on the port that was in use ends: its bytes must not reach another line.
    engine_.abort();
    port_.setInner(&ports_.port());
}

void PortChooser::fillList()
{
    list_.clear();
    list_.addItems(ports_.names());
    // The list drops down as wide as its longest entry (a network address).
    list_.view()->setMinimumWidth(list_.view()->sizeHintForColumn(0) + 8);
}

void PortChooser::onPortFailed(const QString &message)
{
    // The port has closed itself; the list shows that none is in use.
    list_.setCurrentIndex(-1);
    // A running transfer reports the failure; in between transfers it is told here (a
    // network address that cannot be reached, a cable pulled while idle).
    if (engine_.isIdle())
        dialogs_.showError(dialogParent_, message);
    else
        engine_.portFailed(message.toStdString());
}

} // namespace ornis
