#pragma once

#include "AnswerTimer.h"
#include "PortAddress.h"
#include "QtLinkPort.h"
#include "link/ComPortClient.h"
#include "link/InputQueue.h"

#include <QTcpSocket>
#include <QTimer>
#include <optional>
#include <vector>

namespace ornis {

// The link to a serial device server over TCP: the bytes as they are (tcp://), or Telnet
// with the COM-PORT-OPTION (rfc2217://), which sets the server's serial line as the serial
// adapter sets its own. Never blocks: open() only starts connecting. Until the connection
// is made and the line set, what is sent waits (the engine sends one byte and waits for
// its answer), and so does the answer timer, which measures the exchange, not the network.
//
// A connection that cannot be made (refused, unknown host, no answer within the connect
// timeout), a server that refuses the line settings or whose line another client holds
// (ser2net's "Port already in use") and a connection lost later all close the port; portFailed()
// tells why, naming the address, once, from the event loop. Until the next opening every send
// fails with the same message.
class QtNetworkPort final : public QtLinkPort
{
    Q_OBJECT

public:
    static constexpr int DefaultConnectTimeoutMs = 10'000;
    static constexpr std::size_t InputBufferSize = 4096;

    explicit QtNetworkPort(QObject *parent = nullptr);
    ~QtNetworkPort() override;

    // Starts connecting to `address` (a network one), closing the connection in use first.
    void open(const PortAddress &address);
    void close();
    // Connecting or connected.
    [[nodiscard]] bool isOpen() const;
    // Connected, and the line set: bytes go out at once.
    [[nodiscard]] bool isReady() const { return state_ == State::Ready; }
    // DTR of the server's line (RFC 2217 only), for this and every later opening.
    void setDtr(bool on);
    // Time allowed from open() until the line is ready.
    void setConnectTimeout(int milliseconds) { connectTimeoutMs_ = milliseconds; }

    // LinkPort
    Status sendByte(uint8_t byte) override;
    std::optional<uint8_t> readByte() override;
    [[nodiscard]] std::size_t bytesAvailable() const override { return input_.size(); }
    Status flushInput() override;
    Status flushOutput() override;
    void startAnswerTimer(int ticks) override;
    void stopAnswerTimer() override;
    // The address as the program writes it (rfc2217://10.0.0.5:4001).
    [[nodiscard]] std::string name() const override;

private:
    enum class State { Closed, Connecting, Negotiating, Ready, Failed };

    void onConnected();
    void onReadyRead();
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void onDisconnected();
    void failClosedByServer();
    void onConnectTimeout();
    void becomeReady();
    void fail(const QString &why);
    // A data byte on its way out: doubled when it is 0xFF and Telnet carries it.
    void appendOutgoing(std::vector<uint8_t> &out, uint8_t byte) const;
    void write(const std::vector<uint8_t> &bytes);
    void write(const uint8_t *bytes, std::size_t count);
    // Sends what it can of `bytes` on the socket itself while QTcpSocket holds nothing
    // unsent; the number sent (0 when the port failed or is not ready for it).
    [[nodiscard]] std::size_t sendDirectly(const uint8_t *bytes, std::size_t count);
    void keep(const uint8_t *bytes, std::size_t size);
    // PURGE-DATA of the server's `buffers` (RFC 2217 only); the local side is the caller's.
    [[nodiscard]] Status purge(uint8_t buffers);
    [[nodiscard]] Status notOpen() const;

    QTcpSocket socket_;
    QTimer connectTimer_;
    AnswerTimer answerTimer_;
    PortAddress address_;
    QString name_;
    State state_ = State::Closed;
    std::optional<ComPortClient> session_;
    bool dtr_ = true;
    int connectTimeoutMs_ = DefaultConnectTimeoutMs;
    InputQueue input_;
    std::vector<uint8_t> waiting_; // sent before the line was ready
    QByteArray greeting_; // the first bytes the server sent on this connection
    int deferredTicks_ = 0; // the answer timer, started before the line was ready
    QString failure_;
};

} // namespace ornis
