#!/usr/bin/env python3
"""Writes the seed corpus of the transfer engine's, the Telnet reader's and the JSON form's
fuzzers.

A transfer-engine seed is a script: the model byte, then events. Event 0 starts the mode
in the next byte; event 5 hands over one answer byte (the next one); 3 fires the answer
timer; 4 stops. The answers follow the protocol far enough to reach the data of a block.
A Telnet seed is the byte that chooses the cuts, then what a server sends.
Run from anywhere; the files land next to this script.
"""
import json
import os

HERE = os.path.dirname(os.path.abspath(__file__))
START, ANSWER, TIMER, STOP = 0, 5, 3, 4


def answers(data):
    return b"".join(bytes([ANSWER, b]) for b in data)


def opening(low, high):
    return answers(b"STA" + bytes([low, high]))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def engine_seeds():
    folder = "transferengine"
    mira = bytes([0])
    # A settings read: the opening, 105 data bytes, the closing.
    settings_read = opening(0x87, 0x81) + answers(bytes(range(105))) + answers(b"EX")
    write(f"{folder}/settings-read", mira + bytes([START, 4]) + settings_read)
    # A settings write: 'W' and an answer for each of the 104 steps, 'E' twice.
    settings_write = opening(0x87, 0x81) + answers(b"W\x00" * 104) + answers(b"EE")
    write(f"{folder}/settings-write", mira + bytes([START, 3]) + settings_write)
    # A services read into its second window, then a timeout.
    services = opening(0x08, 0x80) + answers(bytes(8)) + answers(b"A\x50\x80")
    write(f"{folder}/services-read-timeout", mira + bytes([START, 8]) + services + bytes([TIMER]))
    # A short-dial write stopped in its data.
    dials = opening(0x00, 0x82) + answers(b"W\x12" * 10)
    write(f"{folder}/shortdials-stop", mira + bytes([START, 9]) + dials + bytes([STOP]) + answers(b"EX"))
    # A PE read of VEGA X, where no whole transfer reaches PE.
    write(f"{folder}/pe-read-vegax", bytes([2, START, 12]) + opening(0x60, 0x86) + answers(b"\xF1\x12"))
    # The clock.
    write(f"{folder}/clock", mira + bytes([START, 2]) + opening(0xD0, 0x80) + answers(b"W\x00" * 6) + answers(b"ED"))


IAC, DONT, DO, WONT, WILL, SB, SE, NOP, GA = 255, 254, 253, 252, 251, 250, 240, 241, 249
BINARY, ECHO, SGA, COMPORT = 0, 1, 3, 44


def sub(*body):
    escaped = b"".join(bytes([b, b]) if b == IAC else bytes([b]) for b in body)
    return bytes([IAC, SB]) + escaped + bytes([IAC, SE])


def telnet_seeds():
    folder = "telnetreader"
    # What ornisset-sim --rfc2217 sends: agreement, the line settings confirmed, then data
    # with a 0xFF doubled.
    agreed = bytes([IAC, DO, BINARY, IAC, WILL, BINARY, IAC, DO, COMPORT, IAC, WILL, COMPORT])
    confirmed = (sub(COMPORT, 101, 0, 0, 9, 0x60) + sub(COMPORT, 102, 8) + sub(COMPORT, 103, 1)
                 + sub(COMPORT, 104, 1) + sub(COMPORT, 105, 1) + sub(COMPORT, 105, 9)
                 + sub(COMPORT, 105, 11))
    write(f"{folder}/negotiation", bytes([0]) + agreed + confirmed + b"STA\x87\x81\xff\xffE")
    # Options nobody asked for, a banner before the settings, commands that carry nothing.
    others = bytes([IAC, WILL, ECHO, IAC, DO, SGA, IAC, WILL, SGA, IAC, DO, 24, IAC, WONT, BINARY])
    write(f"{folder}/other-options", bytes([5]) + b"ser2net port 4001\r\n" + others + agreed
          + bytes([IAC, NOP, IAC, GA, IAC, SE]) + confirmed)
    # Escapes everywhere: doubled 0xFF in data and in a value, a lone IAC IAC at the end.
    write(f"{folder}/iac-escapes", bytes([3]) + agreed + sub(COMPORT, 101, 0xFF, 0xFF, 0xFF, 0xFF)
          + b"\xff\xff\x00\xff\xffW\xff\xff" + bytes([IAC, IAC]))
    # Subnegotiations of 0, 1, 63, 64, 65 and 300 bytes, one cut short by a command.
    lengths = (bytes([IAC, SB, IAC, SE]) + sub(COMPORT) + sub(*([COMPORT] + [7] * 62))
               + sub(*([COMPORT] + [IAC] * 63)) + sub(*([COMPORT] + [7] * 64))
               + sub(*([COMPORT] + [1] * 299))
               + bytes([IAC, SB, COMPORT, 101, 0, IAC, WILL, COMPORT]))
    write(f"{folder}/subnegotiation-lengths", bytes([7]) + agreed + lengths + b"data")
    # Refusals: flow control kept, another rate kept, the option refused.
    refused = (sub(COMPORT, 105, 3) + sub(COMPORT, 101, 0, 0, 0x25, 0x80) + sub(COMPORT, 103, 3)
               + bytes([IAC, DONT, COMPORT, IAC, DONT, BINARY, IAC, WONT, BINARY]))
    write(f"{folder}/refusals", bytes([1]) + agreed + refused + b"late data")
    # Cut off inside each kind of sequence.
    for name, tail in [("after-iac", [IAC]), ("after-verb", [IAC, WILL]),
                       ("in-subnegotiation", [IAC, SB, COMPORT, 101, 0]),
                       ("after-iac-in-subnegotiation", [IAC, SB, COMPORT, 102, 8, IAC])]:
        write(f"{folder}/truncated-{name}", bytes([2]) + agreed + bytes(tail))


def json_seeds():
    folder = "jsonform"
    write(f"{folder}/empty.json", b"{}")
    services = {"Blocks": ["services"], "ExchangeType": 1,
                "Services": [{"AlarmOnce": "06:30", "BackRing": 19, "ParkTo": [True] + [False] * 5}] + [{}] * 15,
                "GeneralRing": [True, False, True, False], "BlockRedirect": True}
    write(f"{folder}/services.json", json.dumps(services).encode())
    settings = {"Blocks": ["settings", "pe"], "DayStart": " 7:05", "NightStart": "  :  ",
                "Counters": [25, 15, 99, 99, 99, 50, 50, 10, 10], "G7U": [-1, 9, 0, 3],
                "ExtensionComments": ["Kancelář 21"] * 16,
                "PETable": [{"Line": 6, "Number": "P0123456789"}] + [{}] * 99}
    write(f"{folder}/settings-pe.json", json.dumps(settings, ensure_ascii=False).encode())
    dials = '{"ShortDialTable": [' + ",".join(['{"Line": 2, "Number": "0P1", "Comment": "\\u00da\\u010dt\\u00e1rna"}'] * 90) + "]}"
    write(f"{folder}/shortdials.json", dials.encode())
    write(f"{folder}/duplicate.json", b'{"FaxExtension": 1, "Services": [{"Redirect": 2, "Redirect": 3}]}')


if __name__ == "__main__":
    engine_seeds()
    telnet_seeds()
    json_seeds()
