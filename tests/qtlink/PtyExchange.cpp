#include "PtyExchange.h"

PtyExchange::PtyExchange()
{
    if (!line_.open().ok())
        return;
    notifier_ = std::make_unique<QSocketNotifier>(line_.masterFd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &PtyExchange::onReadable);
}

void PtyExchange::vanish()
{
    notifier_.reset();
    line_.close();
}

bool PtyExchange::chatter(const QByteArray &bytes)
{
    return line_.write(
        reinterpret_cast<const uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
}

void PtyExchange::onReadable()
{
    uint8_t buffer[256];
    const long got = line_.read(buffer, sizeof buffer);
    if (got < 0) {
        vanish();
        return;
    }
    for (long i = 0; i < got; ++i) {
        if (disappearAfter_ && exchange_.bytesReceived() >= *disappearAfter_) {
            vanish();
            return;
        }
        const std::vector<uint8_t> answer = exchange_.receive(buffer[i]);
        if (!answer.empty() && !line_.write(answer.data(), answer.size())) {
            vanish();
            return;
        }
    }
}
