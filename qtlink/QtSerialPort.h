#pragma once

#include "AnswerTimer.h"
#include "LowLatency.h"
#include "QtLinkPort.h"

#include <QList>
#include <QSerialPort>
#include <QString>
#include <functional>

namespace ornis {

struct SerialPortEntry
{
    QString name; // as the platform lists it: ttyUSB0, ttyS0, COM3
    QString systemLocation; // /dev/ttyUSB0, \\.\COM3
    QString description;
};

// The serial port of the exchange link on QSerialPort: 2400 baud 8N1, no flow control,
// RTS on, DTR as the start-up probe left it, low latency where the driver offers it.
// Never blocks.
//
// A fatal error of the device (adapter unplugged, far end of a pseudo-terminal closed)
// closes the port at once and is announced by portFailed() from the event loop, once;
// until the next opening every send fails with the same message.
class QtSerialPort final : public QtLinkPort
{
    Q_OBJECT

public:
    static constexpr qint32 Baud = LineBaud;
    static constexpr qint64 InputBufferSize = 4096;

    // Asks the driver of an open device for low latency; false when it refuses.
    using LatencyRequest = std::function<bool(SerialHandle)>;

    explicit QtSerialPort(QObject *parent = nullptr);
    QtSerialPort(LatencyRequest latencyRequest, QObject *parent = nullptr);
    ~QtSerialPort() override;

    // The ports of the machine, in natural order (ttyS2 before ttyS10).
    [[nodiscard]] static QList<SerialPortEntry> availablePorts();

    // Opens a listed name (ttyUSB0, COM3) or a device path (/dev/pts/3), closing the port
    // in use first. On failure the port stays closed and the message says why (on Linux,
    // a permission failure also says how to get access).
    [[nodiscard]] Status open(const QString &nameOrPath);
    void close();
    [[nodiscard]] bool isOpen() const;
    // DTR for this and every later opening (the start-up probe switches it off). A device
    // that refuses the call (a pseudo-terminal) stays usable.
    void setDtr(bool on);
    [[nodiscard]] bool dtr() const { return dtr_; }
    // Whether the driver of the open device granted low latency.
    [[nodiscard]] bool lowLatency() const { return lowLatency_; }

    // The start-up probe: opens the first of `ports` that opens and switches DTR off for
    // it and every later opening. Returns the name opened, empty when none opened (then
    // DTR stays on). Errors are not reported: a port that does not open is skipped.
    QString openFirstOf(const QList<SerialPortEntry> &ports);

    // LinkPort
    Status sendByte(uint8_t byte) override;
    std::optional<uint8_t> readByte() override;
    [[nodiscard]] std::size_t bytesAvailable() const override;
    Status flushInput() override;
    Status flushOutput() override;
    void startAnswerTimer(int ticks) override;
    void stopAnswerTimer() override;
    // As listed (ttyUSB0), or the device path without /dev/ (pts/3).
    [[nodiscard]] std::string name() const override;

private:
    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    // Closes the port for good after a fatal error; `lost`: the device hung up or went away.
    void failFatally(bool lost, const QString &reason);
    // Writes `byte` to the device itself while QSerialPort holds nothing unsent; false when
    // it could not (the byte then takes QSerialPort's way, or the port failed).
    [[nodiscard]] bool writeDirectly(uint8_t byte);
    // Runs a call whose refusal by the device is harmless (DTR, RTS, clearing stale input).
    template<typename Call> void tolerated(Call call);
    [[nodiscard]] Status notOpen() const;

    QSerialPort serial_;
    LatencyRequest requestLowLatency_;
    AnswerTimer answerTimer_;
    QString name_;
    bool dtr_ = true;
    bool lowLatency_ = false;
    bool opening_ = false; // errors go to open()'s result
    int toleratedCalls_ = 0; // errors of the device's refusals are ignored
    QString failure_; // the fatal error that closed the port, until reopened
};

} // namespace ornis
