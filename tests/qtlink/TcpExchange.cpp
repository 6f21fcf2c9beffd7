#include "TcpExchange.h"

TcpExchange::TcpExchange(ornis::sim::TcpLine::Protocol protocol)
{
    listening_ = line_.listen(0, protocol).ok();
    if (!listening_)
        return;
    listener_ = std::make_unique<QSocketNotifier>(line_.listenFd(), QSocketNotifier::Read);
    connect(listener_.get(), &QSocketNotifier::activated, this, &TcpExchange::onReadable);
}

void TcpExchange::onReadable()
{
    std::vector<uint8_t> received;
    if (!line_.receive(received))
        return;
    for (const uint8_t byte : received) {
        if (disappearAfter_ && exchange_.bytesReceived() >= *disappearAfter_) {
            line_.cut();
            break;
        }
        const std::vector<uint8_t> answer = exchange_.receive(byte);
        if (!answer.empty() && !line_.send(answer.data(), answer.size()))
            break;
    }
    watchLine();
}

void TcpExchange::watchLine()
{
    const bool connected = line_.hasClient();
    listener_->setEnabled(!connected);
    if (connected && !client_) {
        client_ = std::make_unique<QSocketNotifier>(line_.clientFd(), QSocketNotifier::Read);
        connect(client_.get(), &QSocketNotifier::activated, this, &TcpExchange::onReadable);
    } else if (!connected && client_) {
        // The notifier may be the one whose signal runs now.
        client_->setEnabled(false);
        client_.release()->deleteLater();
    }
}
