// What any server on the network may send to an rfc2217:// port: the Telnet reader must
// give the same data, commands and subnegotiations however the bytes are cut into reads,
// and no subnegotiation beyond its limit; the same bytes sent as data, escaped, read back
// as they were. The program's side of RFC 2217 on top of it
// must answer with commands only, never more negotiations than it was sent (two ends that
// answer every answer talk forever), and keep no data byte before the line is set.
//
// Input: the first byte chooses where the bytes are cut and the DTR asked for; the rest is
// what the server sends.

#include "link/ComPortClient.h"
#include "link/Telnet.h"
#include "link/TelnetReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace ornis;
using telnet::TelnetReader;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Everything the reader hands over, in order: a data byte as {byte}, a negotiation as
// {IAC, verb, option}, a subnegotiation as {IAC, SB, body...}.
struct Recording final : TelnetReader::Handler
{
    void data(uint8_t byte) override { events.push_back({byte}); }
    void negotiation(uint8_t verb, uint8_t option) override
    {
        ++negotiations;
        events.push_back({telnet::IAC, verb, option});
    }
    void subnegotiation(const std::vector<uint8_t> &body) override
    {
        check(!body.empty() && body.size() <= TelnetReader::MaxSubnegotiation);
        std::vector<uint8_t> event {telnet::IAC, telnet::SB};
        event.insert(event.end(), body.begin(), body.end());
        events.push_back(event);
    }

    [[nodiscard]] std::size_t dataBytes() const
    {
        std::size_t count = 0;
        for (const std::vector<uint8_t> &event : events)
            count += event.size() == 1;
        return count;
    }

    std::vector<std::vector<uint8_t>> events;
    std::size_t negotiations = 0;
};

Recording readInOnePiece(const uint8_t *bytes, std::size_t size)
{
    Recording recording;
    TelnetReader reader;
    reader.read(bytes, size, recording);
    return recording;
}

// Reads of 0 to 7 bytes, in an order the seed picks.
Recording readInPieces(const uint8_t *bytes, std::size_t size, uint8_t seed)
{
    Recording recording;
    TelnetReader reader;
    unsigned state = seed;
    for (std::size_t at = 0; at < size;) {
        state = state * 1103515245u + 12345u;
        const std::size_t piece = std::min<std::size_t>(state >> 16 & 7, size - at);
        reader.read(bytes + at, piece, recording);
        at += piece;
    }
    return recording;
}

// Any data, escaped as the program sends it, reads back as it was.
void escapedDataReadsBack(const uint8_t *bytes, std::size_t size, uint8_t seed)
{
    std::vector<uint8_t> escaped;
    for (std::size_t i = 0; i < size; ++i)
        telnet::appendData(escaped, bytes[i]);
    const Recording read = readInPieces(escaped.data(), escaped.size(), seed);
    check(read.events.size() == size);
    for (std::size_t i = 0; i < size; ++i)
        check(read.events[i] == std::vector<uint8_t> {bytes[i]});
}

void clientAnswers(const uint8_t *bytes, std::size_t size, bool dtr)
{
    ComPortClient client(dtr);
    std::vector<uint8_t> out;
    client.open(out);
    Recording sent;
    TelnetReader ofClient;
    ofClient.read(out.data(), out.size(), sent);
    const std::size_t opening = sent.negotiations;

    Recording received;
    TelnetReader ofServer;
    for (std::size_t i = 0; i < size; ++i) {
        std::vector<uint8_t> data;
        out.clear();
        client.receive(bytes + i, 1, data, out);
        ofServer.read(bytes + i, 1, received);
        ofClient.read(out.data(), out.size(), sent);
        check(data.size() <= 1);
        check(data.empty() || client.state() == ComPortClient::State::Ready);
    }
    check(sent.dataBytes() == 0);
    check(sent.negotiations - opening <= received.negotiations);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t seed = data[0];
    const uint8_t *bytes = data + 1;
    const std::size_t length = size - 1;

    const Recording whole = readInOnePiece(bytes, length);
    check(readInPieces(bytes, length, seed).events == whole.events);
    escapedDataReadsBack(bytes, length, seed);
    clientAnswers(bytes, length, seed & 1);
    return 0;
}
