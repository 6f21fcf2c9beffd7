#include "link/ComPortClient.h"
#include "link/Telnet.h"

#include <QByteArray>
#include <QTest>

using namespace ornis;
using namespace ornis::telnet;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int value : values)
        out.append(char(value));
    return out;
}

QByteArray bytes(const std::vector<uint8_t> &values)
{
    return QByteArray(reinterpret_cast<const char *>(values.data()), qsizetype(values.size()));
}

QByteArray comPort(uint8_t command, std::vector<uint8_t> value)
{
    std::vector<uint8_t> out;
    appendComPortCommand(out, command, value);
    return bytes(out);
}

// The server takes 8-bit data both ways and serial port control.
const QByteArray Agreed
    = bytes({IAC, DO, OptionBinary, IAC, WILL, OptionBinary, IAC, DO, OptionComPort});
// The server confirms 2400 baud 8N1.
const QByteArray Confirmed
    = comPort(101, {0, 0, 9, 96}) + comPort(102, {8}) + comPort(103, {1}) + comPort(104, {1});
// What the client asks once the server took COM-PORT-OPTION: 2400 baud 8N1, no flow
// control, DTR off, RTS on.
const QByteArray Settings = comPort(1, {0, 0, 9, 96}) + comPort(2, {8}) + comPort(3, {1})
    + comPort(4, {1}) + comPort(5, {1}) + comPort(5, {9}) + comPort(5, {11});

struct Outcome
{
    ComPortClient::State state;
    QByteArray data;
    QByteArray replies;
    std::string refusal;
};

// Feeds `fromServer` in pieces of `piece` bytes.
Outcome feed(const QByteArray &fromServer, qsizetype piece)
{
    ComPortClient client(false);
    std::vector<uint8_t> opening;
    client.open(opening);
    std::vector<uint8_t> data;
    std::vector<uint8_t> replies;
    for (qsizetype at = 0; at < fromServer.size(); at += piece) {
        const QByteArray part = fromServer.mid(at, piece);
        client.receive(reinterpret_cast<const uint8_t *>(part.constData()),
            std::size_t(part.size()), data, replies);
    }
    return {client.state(), bytes(data), bytes(replies), client.refusal()};
}

} // namespace

// What the client of RFC 2217 makes of what a server sends, whole or cut anywhere.
class ComPortClientTest : public QObject
{
    Q_OBJECT

private slots:
    void serverBytes_data()
    {
        using State = ComPortClient::State;
        QTest::addColumn<QByteArray>("fromServer");
        QTest::addColumn<State>("state");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<QString>("refusal"); // a part of it

        QTest::newRow("line set, data with 0xFF")
            << Agreed + Confirmed + bytes({'S', IAC, IAC, 'X'}) << State::Ready
            << bytes({'S', 0xFF, 'X'}) << Settings << QString();
        QTest::newRow("a banner before the line is set is dropped")
            << "Welcome\r\n" + Agreed + Confirmed + "A" << State::Ready << QByteArray("A")
            << Settings << QString();
        QTest::newRow("no BINARY for the server's own direction (ser2net)")
            << Agreed.left(3) + bytes({IAC, WONT, OptionBinary}) + Agreed.right(3) + Confirmed
            << State::Ready << QByteArray() << Settings << QString();
        QTest::newRow("unknown options refused, go-ahead suppressed once")
            << bytes({IAC, WILL, 1, IAC, DO, 24, IAC, WILL, 3, IAC, WILL, 3}) << State::Negotiating
            << QByteArray() << bytes({IAC, DONT, 1, IAC, WONT, 24, IAC, DO, 3}) << QString();
        QTest::newRow("an overlong subnegotiation is passed over")
            << Agreed + bytes({IAC, SB, OptionComPort, 101}) + QByteArray(100, '\x01')
                + bytes({IAC, SE})
            << State::Negotiating << QByteArray() << Settings << QString();
        QTest::newRow("8-bit data refused") << bytes({IAC, DONT, OptionBinary}) << State::Refused
                                            << QByteArray() << QByteArray() << "8-bit data";
        QTest::newRow("no serial port control")
            << bytes({IAC, DONT, OptionComPort}) << State::Refused << QByteArray() << QByteArray()
            << "no serial port control";
        QTest::newRow("kept at 9600 baud")
            << Agreed + comPort(101, {0, 0, 0x25, 0x80}) << State::Refused << QByteArray()
            << Settings << "it keeps 9600 baud instead of 2400 baud";
        QTest::newRow("kept with even parity")
            << Agreed + comPort(103, {3}) << State::Refused << QByteArray() << Settings
            << "it keeps even parity instead of no parity";
        QTest::newRow("kept with hardware flow control")
            << Agreed + Confirmed + comPort(105, {3}) << State::Refused << QByteArray() << Settings
            << "flow control";
    }
    void serverBytes()
    {
        QFETCH(QByteArray, fromServer);
        QFETCH(ComPortClient::State, state);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, replies);
        QFETCH(QString, refusal);
        for (const qsizetype piece : {fromServer.size(), qsizetype(1)}) {
            const Outcome outcome = feed(fromServer, std::max<qsizetype>(piece, 1));
            QCOMPARE(outcome.state, state);
            QCOMPARE(outcome.data, data);
            QCOMPARE(outcome.replies, replies);
            QVERIFY2(QString::fromStdString(outcome.refusal).contains(refusal),
                outcome.refusal.c_str());
        }
    }
};

QTEST_GUILESS_MAIN(ComPortClientTest)
#include "tst_comportclient.moc"
