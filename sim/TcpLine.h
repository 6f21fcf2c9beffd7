#pragma once

#include "ComPortServer.h"
#include "ServedLine.h"
#include "config/Status.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ornis::sim {

// The virtual exchange's line served over TCP on loopback, as a serial device server
// serves one: raw, or with Telnet and the COM-PORT-OPTION (RFC 2217). One program at a
// time; when it disconnects, the next one may connect.
class TcpLine final : public ServedLine
{
public:
    enum class Protocol { Raw, ComPort };

    TcpLine() = default;
    ~TcpLine() override;
    TcpLine(const TcpLine &) = delete;
    TcpLine &operator=(const TcpLine &) = delete;

    // Listens on 127.0.0.1:`port`; port 0 takes a free one. `fixedBaud` (RFC 2217 only):
    // the line stays at this rate whatever the program asks; 0 takes any.
    [[nodiscard]] Status listen(uint16_t port, Protocol protocol, uint32_t fixedBaud = 0);
    void close();

    [[nodiscard]] uint16_t port() const { return port_; }
    // What the program is given as its port: tcp://127.0.0.1:PORT or rfc2217://...
    [[nodiscard]] std::string address() const;
    [[nodiscard]] bool hasClient() const { return client_ >= 0; }
    [[nodiscard]] int listenFd() const { return listen_; }
    [[nodiscard]] int clientFd() const { return client_; }

    // ServedLine. While no program is connected, receive() takes the next one.
    [[nodiscard]] int waitFd() const override { return client_ >= 0 ? client_ : listen_; }
    [[nodiscard]] bool receive(std::vector<uint8_t> &data) override;
    [[nodiscard]] bool send(const uint8_t *data, std::size_t size) override;
    void cut() override;
    [[nodiscard]] std::string takeNews() override;

private:
    void accept();
    [[nodiscard]] bool writeAll(const uint8_t *data, std::size_t size);

    int listen_ = -1;
    int client_ = -1;
    uint16_t port_ = 0;
    Protocol protocol_ = Protocol::Raw;
    uint32_t fixedBaud_ = 0;
    std::unique_ptr<ComPortServer> session_;
    bool settingsChanged_ = false;
    std::string news_;
};

} // namespace ornis::sim
