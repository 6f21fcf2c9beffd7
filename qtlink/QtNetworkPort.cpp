#include "QtNetworkPort.h"

#include "link/Telnet.h"

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#endif

namespace ornis {

namespace {

// Far more than one lock-step transfer ever has waiting; a limit all the same.
constexpr std::size_t MaxWaitingBytes = 4096;

// What ser2net sends in place of the line when another client has it, before it closes the
// connection; the first bytes of a connection are kept to recognise it.
constexpr char PortInUseText[] = "Port already in use";
constexpr auto GreetingBytes = qsizetype(ComPortClient::BannerBytes);

} // namespace

QtNetworkPort::QtNetworkPort(QObject *parent)
    : QtLinkPort(parent)
{
    connectTimer_.setSingleShot(true);
    connect(&connectTimer_, &QTimer::timeout, this, &QtNetworkPort::onConnectTimeout);
    connect(&answerTimer_, &AnswerTimer::fired, this, &QtLinkPort::answerTimerFired);
    connect(&socket_, &QTcpSocket::connected, this, &QtNetworkPort::onConnected);
    connect(&socket_, &QTcpSocket::readyRead, this, &QtNetworkPort::onReadyRead);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &QtNetworkPort::onErrorOccurred);
    connect(&socket_, &QTcpSocket::disconnected, this, &QtNetworkPort::onDisconnected);
}

QtNetworkPort::~QtNetworkPort()
{
    close();
}

void QtNetworkPort::open(const PortAddress &address)
{
    close();
    address_ = address;
    name_ = address.text();
    failure_.clear();
    state_ = State::Connecting;
    if (address.kind == PortAddress::Kind::Rfc2217)
        session_.emplace(dtr_);
    connectTimer_.start(connectTimeoutMs_);
    socket_.connectToHost(address.host, address.port);
}

void QtNetworkPort::close()
{
    newOpening();
    state_ = State::Closed;
    connectTimer_.stop();
    answerTimer_.stop();
    deferredTicks_ = 0;
    session_.reset();
    input_.clear();
    waiting_.clear();
    greeting_.clear();
    socket_.abort();
}

bool QtNetworkPort::isOpen() const
{
    return state_ == State::Connecting || state_ == State::Negotiating || state_ == State::Ready;
}

void QtNetworkPort::setDtr(bool on)
{
    dtr_ = on;
    if (session_) {
        // Before the server took serial port control, this only changes what is asked.
        std::vector<uint8_t> request;
        session_->setDtr(on, request);
        write(request);
    }
}

Status QtNetworkPort::sendByte(uint8_t byte)
{
    if (!isOpen())
        return notOpen();
    if (state_ != State::Ready) {
        if (waiting_.size() >= MaxWaitingBytes)
            return Status::failure(
                (name_ + QStringLiteral(": the connection is not made yet")).toStdString());
        waiting_.push_back(byte);
        return Status::success();
    }
    // At most two bytes: 0xFF doubled.
    const uint8_t doubled[] = {byte, byte};
    write(doubled, session_ && byte == telnet::IAC ? 2 : 1);
    if (state_ != State::Ready)
        return notOpen(); // the write failed and closed the port
    return Status::success();
}

std::optional<uint8_t> QtNetworkPort::readByte()
{
    return input_.readByte();
}

Status QtNetworkPort::flushInput()
{
    input_.clear();
    return purge(telnet::comport::PurgeReceived);
}

Status QtNetworkPort::flushOutput()
{
    waiting_.clear();
    return purge(telnet::comport::PurgeToSend);
}

Status QtNetworkPort::purge(uint8_t buffers)
{
    if (!isOpen())
        return notOpen();
    if (session_ && state_ == State::Ready) {
        std::vector<uint8_t> request;
        session_->purge(buffers, request);
        write(request);
    }
    return isOpen() ? Status::success() : notOpen();
}

void QtNetworkPort::startAnswerTimer(int ticks)
{
    const int interval = std::max(ticks, 1) * TimerTickMs;
    if (state_ == State::Connecting || state_ == State::Negotiating)
        deferredTicks_ = std::max(ticks, 1);
    else
        answerTimer_.start(interval);
}

void QtNetworkPort::stopAnswerTimer()
{
    deferredTicks_ = 0;
    answerTimer_.stop();
}

std::string QtNetworkPort::name() const
{
    return name_.toStdString();
}

void QtNetworkPort::onConnected()
{
    if (state_ != State::Connecting)
        return;
    // Lock-step single bytes: each must leave at once, not wait to be joined by others.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (!session_) {
        becomeReady();
        return;
    }
    state_ = State::Negotiating;
    std::vector<uint8_t> opening;
    session_->open(opening);
    write(opening);
}

void QtNetworkPort::onReadyRead()
{
    if (!isOpen())
        return;
    uint8_t bytes[InputBufferSize];
    const qint64 got = socket_.read(reinterpret_cast<char *>(bytes), qint64(sizeof bytes));
    if (got <= 0)
        return;
    const auto size = std::size_t(got);
    if (!session_) {
        keep(bytes, size);
    } else {
        std::vector<uint8_t> data;
        std::vector<uint8_t> answers;
        session_->receive(bytes, size, data, answers);
        write(answers);
        if (!isOpen())
            return;
        if (session_->state() == ComPortClient::State::Refused) {
            fail(QString::fromStdString(session_->refusal()));
            return;
        }
        if (state_ == State::Negotiating && session_->state() == ComPortClient::State::Ready)
            becomeReady();
        keep(data.data(), data.size());
    }
    if (state_ == State::Ready && !input_.empty())
        emit bytesArrived(input_.size());
    // More than one buffer waited: the rest is taken on the next turn of the event loop.
    if (isOpen() && socket_.bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &QtNetworkPort::onReadyRead, Qt::QueuedConnection);
}

void QtNetworkPort::keep(const uint8_t *bytes, std::size_t size)
{
    if (greeting_.size() < GreetingBytes)
        greeting_.append(reinterpret_cast<const char *>(bytes),
            qsizetype(std::min<std::size_t>(size, std::size_t(GreetingBytes - greeting_.size()))));
    input_.push({bytes, size});
    // Only the newest bytes can matter to a lock-step engine; a flood is cut off.
    input_.keepNewest(InputBufferSize);
}

void QtNetworkPort::onErrorOccurred(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        fail(QStringLiteral("the connection was refused (nothing listens on port %1 of %2)")
                 .arg(address_.port)
                 .arg(address_.host));
        break;
    case QAbstractSocket::HostNotFoundError:
        fail(QStringLiteral("unknown host %1").arg(address_.host));
        break;
    case QAbstractSocket::RemoteHostClosedError:
        failClosedByServer();
        break;
    default:
        fail(QStringLiteral("the connection failed (%1)").arg(socket_.errorString()));
        break;
    }
}

void QtNetworkPort::onDisconnected()
{
    failClosedByServer();
}

void QtNetworkPort::failClosedByServer()
{
    const QByteArray said
        = session_ ? QByteArray::fromStdString(session_->banner()) + greeting_ : greeting_;
    if (said.contains(PortInUseText))
        fail(QStringLiteral("in use by another program (the server said \"%1\")")
                 .arg(QLatin1String(PortInUseText)));
    else
        fail(QStringLiteral("the server closed the connection"));
}

void QtNetworkPort::onConnectTimeout()
{
    const QString seconds = QString::number((connectTimeoutMs_ + 999) / 1000);
    if (state_ == State::Connecting)
        fail(QStringLiteral("no connection within %1 s").arg(seconds));
    else if (state_ == State::Negotiating)
        fail(QStringLiteral("the server did not set up the serial line within %1 s (is it an "
                            "RFC 2217 server? use tcp:// for a raw connection)")
                 .arg(seconds));
}

void QtNetworkPort::becomeReady()
{
    state_ = State::Ready;
    connectTimer_.stop();
    std::vector<uint8_t> bytes;
    for (const uint8_t byte : waiting_)
        appendOutgoing(bytes, byte);
    waiting_.clear();
    write(bytes);
    if (state_ == State::Ready && deferredTicks_ > 0) {
        answerTimer_.start(deferredTicks_ * TimerTickMs);
        deferredTicks_ = 0;
    }
}

void QtNetworkPort::fail(const QString &why)
{
    if (!isOpen())
        return;
    state_ = State::Failed;
    failure_ = name_ + QStringLiteral(": ") + why;
    connectTimer_.stop();
    answerTimer_.stop();
    deferredTicks_ = 0;
    input_.clear();
    waiting_.clear();
    socket_.abort();
    // The failure may have come inside a call of the engine (a send).
    announceFailureLater(failure_);
}

void QtNetworkPort::appendOutgoing(std::vector<uint8_t> &out, uint8_t byte) const
{
    if (session_)
        telnet::appendData(out, byte);
    else
        out.push_back(byte);
}

void QtNetworkPort::write(const std::vector<uint8_t> &bytes)
{
    write(bytes.data(), bytes.size());
}

void QtNetworkPort::write(const uint8_t *bytes, std::size_t count)
{
    if (count == 0 || !isOpen())
        return;
    const std::size_t sent = sendDirectly(bytes, count);
    if (sent == count || !isOpen())
        return;
    const auto size = qint64(count - sent);
    if (socket_.write(reinterpret_cast<const char *>(bytes + sent), size) != size) {
        fail(QStringLiteral("the connection failed (%1)").arg(socket_.errorString()));
        return;
    }
    // Out now, not on the next turn of the event loop: the exchange waits for it.
    socket_.flush();
}

std::size_t QtNetworkPort::sendDirectly(const uint8_t *bytes, std::size_t count)
{
#ifdef Q_OS_UNIX
    // QTcpSocket's own way switches a write notifier on for every byte and off again once
    // the socket took it: two wake-ups of the event loop a byte.
    if (socket_.bytesToWrite() > 0 || socket_.state() != QAbstractSocket::ConnectedState)
        return 0;
    for (;;) {
        const ssize_t sent
            = ::send(int(socket_.socketDescriptor()), bytes, count, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent >= 0)
            return std::size_t(sent);
        if (errno == EINTR)
            continue;
        if (errno == EPIPE || errno == ECONNRESET)
            failClosedByServer();
        else if (errno != EAGAIN && errno != EWOULDBLOCK)
            fail(QStringLiteral("the connection failed (%1)")
                     .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return 0;
    }
#else
    Q_UNUSED(bytes)
    Q_UNUSED(count)
    return 0;
#endif
}

Status QtNetworkPort::notOpen() const
{
    return notOpenStatus(failure_, name_);
}

} // namespace ornis
