#pragma once

#include <QList>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include "QtLinkPort.h"

namespace ornis {

struct SerialPortEntry
{
    QString name;           // as the platform lists it: ttyUSB0, ttyS0, COM3
    QString systemLocation; // /dev/ttyUSB0, \\.\COM3
    QString description;
};

// The serial port of the exchange link on QSerialPort: 2400 baud 8N1, no flow control,
// RTS on, DTR as the start-up probe left it. Never blocks.
class QtSerialPort final : public QtLinkPort
{
    Q_OBJECT

public:
    explicit QtSerialPort(QObject *parent = nullptr);
    ~QtSerialPort() override;

    // The ports of the machine, in natural order (ttyS2 before ttyS10).
    [[nodiscard]] static QList<SerialPortEntry> availablePorts();

    // Opens a listed name (ttyUSB0, COM3) or a device path (/dev/pts/3), closing the port
    // in use first. On failure the port stays closed and the message says why (on Linux,
    // a permission failure also says how to get access).
    [[nodiscard]] Status open(const QString &nameOrPath);
    void close();
    [[nodiscard]] bool isOpen() const;
    // DTR for this and every later opening (the start-up probe switches it off).
    void setDtr(bool on);
    [[nodiscard]] bool dtr() const { return dtr_; }

    // SerialPort
    Status sendByte(uint8_t byte) override;
    std::optional<uint8_t> readByte() override;
    [[nodiscard]] std::size_t bytesAvailable() const override;
    Status flushInput() override;
    Status flushOutput() override;
    void startAnswerTimer(int ticks) override;
    void stopAnswerTimer() override;
    [[nodiscard]] std::string name() const override;

private:
    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);

    QSerialPort serial_;
    QTimer answerTimer_;
    QString name_;
    bool dtr_ = true;
};

} // namespace ornis
