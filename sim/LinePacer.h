#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace ornis::sim {

// When the answers of the exchange reach the program on a line of `baud` baud, 10 bits a
// byte (8N1): a request must have arrived in full before the exchange answers it, and the
// answer needs its own time on the line. Each direction carries one byte at a time, so a
// lock-step round trip costs two byte times. Times are nanoseconds of a steady clock.
class LinePacer
{
public:
    // 0 baud: no pacing, every answer is due the moment its request arrives.
    explicit LinePacer(int baud = 0)
        : byteNs_(baud > 0 ? 10'000'000'000LL / baud : 0)
    {
    }

    [[nodiscard]] bool paced() const { return byteNs_ > 0; }
    [[nodiscard]] int64_t byteNs() const { return byteNs_; }

    // A request byte was put on the line at `nowNs`; returns when the `answerBytes` bytes
    // of its answer have arrived in full at the program.
    int64_t answerDue(int64_t nowNs, std::size_t answerBytes)
    {
        if (!paced())
            return nowNs;
        const int64_t requestIn = std::max(nowNs, requestLineFree_) + byteNs_;
        requestLineFree_ = requestIn;
        const int64_t answerStart = std::max(requestIn, answerLineFree_);
        answerLineFree_ = answerStart + int64_t(answerBytes) * byteNs_;
        return answerLineFree_;
    }

private:
    int64_t byteNs_;
    int64_t requestLineFree_ = 0; // the program-to-exchange direction is busy until then
    int64_t answerLineFree_ = 0; // the exchange-to-program direction is busy until then
};

} // namespace ornis::sim
