#include "QtSerialPort.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

#include "PortNames.h"

namespace ornis {

namespace {

// Errors that do not mean the device is gone: the absence of one, and the timeout of a
// blocking wait, which this adapter never does.
bool isNonError(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::NoError || error == QSerialPort::TimeoutError;
}

// On Linux a port the user may not open is the commonest failure of all; say what to do.
// A port held by another program (its lock file, or the device opened for exclusive use)
// is reported as a permission error too: say that instead.
QString openFailureMessage(
    const QSerialPort &serial, const QString &shownName, const QString &nameOrPath)
{
    QString message = shownName + QStringLiteral(": ") + serial.errorString();
    if (serial.error() != QSerialPort::PermissionError)
        return message;
#ifdef Q_OS_LINUX
    const QString device
        = nameOrPath.startsWith(u'/') ? nameOrPath : QStringLiteral("/dev/") + nameOrPath;
    if (!QFileInfo::exists(device))
        return message;
    if (::access(device.toLocal8Bit().constData(), R_OK | W_OK) != 0)
        return message + u'\n' + accessAdvice(device, QFileInfo(device).group());
    return shownName + QStringLiteral(": in use by another program (") + serial.errorString()
        + u')';
#else
    Q_UNUSED(nameOrPath)
    return message;
#endif
}

} // namespace

QtSerialPort::QtSerialPort(QObject *parent)
    : QtSerialPort(&requestLowLatency, parent)
{
}

QtSerialPort::QtSerialPort(LatencyRequest latencyRequest, QObject *parent)
    : QtLinkPort(parent)
    , requestLowLatency_(std::move(latencyRequest))
{
    connect(&answerTimer_, &AnswerTimer::fired, this, &QtLinkPort::answerTimerFired);
    connect(&serial_, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(&serial_, &QSerialPort::errorOccurred, this, &QtSerialPort::onErrorOccurred);
}

QtSerialPort::~QtSerialPort()
{
    close();
}

QList<SerialPortEntry> QtSerialPort::availablePorts()
{
    QList<SerialPortEntry> entries;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        entries.append({info.portName(), info.systemLocation(), info.description()});
    std::stable_sort(
        entries.begin(), entries.end(), [](const SerialPortEntry &a, const SerialPortEntry &b) {
            return naturalLess(a.name, b.name);
        });
    return entries;
}

Status QtSerialPort::open(const QString &nameOrPath)
{
    close();
    const QString shownName = displayNameOf(nameOrPath);
    // QSerialPort takes a listed name or a device path alike.
    serial_.setPortName(nameOrPath);
    serial_.setBaudRate(Baud);
    serial_.setDataBits(QSerialPort::Data8);
    serial_.setParity(QSerialPort::NoParity);
    serial_.setStopBits(QSerialPort::OneStop);
    serial_.setFlowControl(QSerialPort::NoFlowControl);
    serial_.setReadBufferSize(InputBufferSize);

    opening_ = true;
    const bool opened = serial_.open(QIODevice::ReadWrite);
    opening_ = false;
    if (!opened) {
        const QString message = openFailureMessage(serial_, shownName, nameOrPath);
        serial_.clearError();
        return Status::failure(message.toStdString());
    }

    newOpening();
    name_ = shownName;
    failure_.clear();
    tolerated([this] { serial_.setRequestToSend(true); });
    tolerated([this] { serial_.setDataTerminalReady(dtr_); });
    // Every byte of the lock-step protocol waits for the one before; a device without
    // the setting is used as it is.
    lowLatency_ = requestLowLatency_ && requestLowLatency_(serial_.handle());
    // Bytes that waited in the device before this opening answer nothing of ours (Qt
    // before 6.6 does not discard them on open).
    tolerated([this] { serial_.clear(QSerialPort::Input); });
    return Status::success();
}

void QtSerialPort::close()
{
    newOpening();
    lowLatency_ = false;
    if (serial_.isOpen())
        serial_.close();
    serial_.clearError();
}

bool QtSerialPort::isOpen() const
{
    return serial_.isOpen();
}

void QtSerialPort::setDtr(bool on)
{
    dtr_ = on;
    if (serial_.isOpen())
        tolerated([this, on] { serial_.setDataTerminalReady(on); });
}

QString QtSerialPort::openFirstOf(const QList<SerialPortEntry> &ports)
{
    for (const SerialPortEntry &entry : ports) {
        if (open(entry.name).ok()) {
            setDtr(false);
            return name_;
        }
    }
    return {};
}

Status QtSerialPort::sendByte(uint8_t byte)
{
    if (!serial_.isOpen())
        return notOpen();
    if (writeDirectly(byte))
        return Status::success();
    if (!serial_.isOpen())
        return notOpen(); // the write failed for good and closed the port
    const char data = char(byte);
    if (serial_.write(&data, 1) != 1)
        return Status::failure(
            (name_ + QStringLiteral(": ") + serial_.errorString()).toStdString());
    // Out now, not on the next turn of the event loop: the exchange waits for it. On a
    // non-blocking descriptor this does not wait for the line to drain.
    serial_.flush();
    if (!serial_.isOpen())
        return notOpen(); // the write failed for good and closed the port
    return Status::success();
}

std::optional<uint8_t> QtSerialPort::readByte()
{
    char data = 0;
    if (!serial_.isOpen() || !serial_.getChar(&data))
        return std::nullopt;
    return uint8_t(data);
}

std::size_t QtSerialPort::bytesAvailable() const
{
    return serial_.isOpen() ? std::size_t(serial_.bytesAvailable()) : 0;
}

Status QtSerialPort::flushInput()
{
    if (!serial_.isOpen())
        return notOpen();
    if (!serial_.clear(QSerialPort::Input))
        return failure_.isEmpty() ? Status::failure(serial_.errorString().toStdString())
                                  : notOpen();
    return Status::success();
}

Status QtSerialPort::flushOutput()
{
    if (!serial_.isOpen())
        return notOpen();
    if (!serial_.clear(QSerialPort::Output))
        return failure_.isEmpty() ? Status::failure(serial_.errorString().toStdString())
                                  : notOpen();
    return Status::success();
}

void QtSerialPort::startAnswerTimer(int ticks)
{
    answerTimer_.start(std::max(ticks, 1) * TimerTickMs);
}

void QtSerialPort::stopAnswerTimer()
{
    answerTimer_.stop();
}

std::string QtSerialPort::name() const
{
    return name_.toStdString();
}

void QtSerialPort::onReadyRead()
{
    const qint64 waiting = serial_.bytesAvailable();
    if (waiting > 0)
        emit bytesArrived(std::size_t(waiting));
}

void QtSerialPort::onErrorOccurred(QSerialPort::SerialPortError error)
{
    if (isNonError(error) || opening_)
        return;
    if (toleratedCalls_ > 0 || !serial_.isOpen())
        return;
    // Qt 6.4 reports a hang-up as ReadError on every turn of the event loop and never as
    // ResourceError, so any error closes the port at once, before it can repeat.
    // A hang-up reads as end of file, and Qt then reports whatever errno was left over
    // (often a refused DTR call): its text would mislead.
    failFatally(error == QSerialPort::ReadError || error == QSerialPort::ResourceError,
        serial_.errorString());
}

void QtSerialPort::failFatally(bool lost, const QString &reason)
{
    if (lost) {
        failure_ = name_
            + QStringLiteral(": the connection was lost (the device hung up or "
                             "was unplugged)");
    } else {
        failure_ = name_ + QStringLiteral(": the port failed (") + reason + u')';
    }
    serial_.close();
    serial_.clearError();
    lowLatency_ = false;
    // The error may have been raised inside a call of the engine (a send or a flush).
    announceFailureLater(failure_);
}

bool QtSerialPort::writeDirectly(uint8_t byte)
{
#ifdef Q_OS_UNIX
    // QSerialPort's own way switches a write notifier on for every byte and off again once
    // the device took it: two wake-ups of the event loop a byte. One byte fits the device's
    // output queue at once; a full queue leaves it to QSerialPort, which waits for room.
    if (serial_.bytesToWrite() > 0)
        return false;
    for (;;) {
        const ssize_t written = ::write(serial_.handle(), &byte, 1);
        if (written == 1)
            return true;
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            failFatally(errno == EIO || errno == ENXIO || errno == ENODEV,
                QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
#else
    Q_UNUSED(byte)
    return false;
#endif
}

template<typename Call> void QtSerialPort::tolerated(Call call)
{
    ++toleratedCalls_;
    call();
    --toleratedCalls_;
    serial_.clearError();
}

Status QtSerialPort::notOpen() const
{
    return notOpenStatus(failure_, name_);
}

} // namespace ornis
