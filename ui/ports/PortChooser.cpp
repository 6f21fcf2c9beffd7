#include "PortChooser.h"

#include "LinkPortList.h"
#include "link/TransferEngine.h"
#include "qtlink/QtLinkPort.h"
#include "qtlink/TraceFile.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/widgets/PortComboBox.h"

#include <QAbstractItemView>

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
    connect(&list_, &QComboBox::activated, this, [this](int index) {
        const QString name = list_.itemText(index);
        list_.setCurrentIndex(ports_.inUse());
        // The change may wait for a transfer to end, and the list be read anew meanwhile:
        // the entry is found again by its name, and one gone is opened as if typed.
        gate_([this, name] {
            if (const auto entry = ports_.names().indexOf(name); entry >= 0)
                cbComPortChange(int(entry));
            else
                cbComPortTyped(name);
        });
    });
    connect(&list_, &PortComboBox::portTyped, this,
        [this](const QString &text) { gate_([this, text] { cbComPortTyped(text); }); });
    connect(&list_, &PortComboBox::aboutToDropDown, this, &PortChooser::refreshList);

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

void PortChooser::cbComPortTyped(const QString &text)
{
    engine_.abort();
    ports_.close();
    const Status status = ports_.openTyped(text);
    attachPort();
    fillList(); // a port that opened is an entry now
    // What did not open stays typed, for the user to mend.
    if (!status.ok())
        list_.setEditText(text);
    reportFailure(status);
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
    if (!files)
        return status;
    // The transfer goes on without it; the user is told that the record lacks it.
    files->onWriteFailure([this](const Status &failure) {
        dialogs_.showError(dialogParent_,
            QStringLiteral("Záznam komunikace není úplný: %1")
                .arg(QString::fromStdString(failure.message())));
    });
    port_.startTrace(std::move(files), engine_);
    return status;
}

void PortChooser::attachPort()
{
    // A transfer on the port that was in use ends: its bytes must not reach another line.
    engine_.abort();
    port_.setInner(&ports_.port());
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

void PortChooser::fillList()
{
    list_.clear();
    list_.addItems(ports_.names());
    list_.setCurrentIndex(ports_.inUse());
    // The list drops down as wide as its longest entry (a network address).
    list_.view()->setMinimumWidth(list_.view()->sizeHintForColumn(0) + 8);
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
