#!/usr/bin/env python3
"""Writes the settings and preferences fixtures and the fuzzers' seed corpus.

The bytes are put together here from the file layout alone, item by item, so the tests
compare the program's writer and reader with an independent account of the format.
Run from anywhere; the files land next to this script and in ../corpus/.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "corpus")


def header(magic):
    return magic + struct.pack("<I", 1) + bytes(512)


def integer(value, width=None):
    if width is None:
        width = 1 if -128 <= value <= 127 else 2 if -32768 <= value <= 32767 else 4
    tag, fmt = {1: (0x02, "<b"), 2: (0x03, "<h"), 4: (0x04, "<i")}[width]
    return bytes([tag]) + struct.pack(fmt, value)


def text(data):
    if len(data) <= 255:
        return bytes([0x06, len(data)]) + data
    return bytes([0x0C]) + struct.pack("<I", len(data)) + data


def flag(value):
    return bytes([0x09 if value else 0x08])


def time(hour, minute):
    return bytes([0x11]) + struct.pack("<d", (hour * 60 + minute) * 60000 / 86400000.0)


def factory_grids():
    ext = bytearray(17 * 12)
    for row in range(16):
        for col in range(8):
            ext[row * 12 + col] = 1
        ext[row * 12 + 8] = 3
    ext[10] = 1  # 21, "7n"
    ring = bytearray(64)
    for i in (0, 17, 40, 57):
        ring[i] = 1
    line = bytearray([1] * 8 + [0] * 8)
    glb = bytearray(7 * 16)
    glb[7] = 1  # G3 at 28
    for i in range(10):
        glb[32 + i] = i + 1  # J1..J9, J0
    for i in range(6):
        glb[48 + 10 + i] = i + 1  # L1..L6
    return ext, ring, bytearray(ring), line, glb


def settings_file(times, grids, ext_comments, day_comments, night_comments, g7, g0, fax,
                  counters, short_dials, pe, magic=b"OSET"):
    ext, day, night, line, glb = grids
    out = bytearray(header(magic))
    out += times
    out += ext
    for c in ext_comments:
        out += text(c)
    out += day
    for c in day_comments:
        out += text(c)
    out += night
    for c in night_comments:
        out += text(c)
    out += line + glb
    for u in g7:
        out += integer(u)
    for d in g0:
        out += flag(d)
    out += integer(fax)
    for c in counters:
        out += counters_item(c)
    for line_index, number, comment in short_dials:
        out += integer(line_index) + text(number) + text(comment)
    for line_index, number in pe:
        out += integer(line_index) + text(number)
    return bytes(out)


def counters_item(c):
    return c if isinstance(c, bytes) else integer(c)


FIRST_COMMENT = 520 + 18 + 204  # offset of the first extension comment's tag
FACTORY_COUNTERS = [20, 15, 30, 60, 60, 30, 30, 5, 1]
SUNDAY_SATURDAY = [True, False, False, False, False, False, True]


def empty_texts_file(**changes):
    fields = dict(
        times=time(6, 0) + time(18, 0), grids=factory_grids(),
        ext_comments=[b""] * 16, day_comments=[b""] * 4, night_comments=[b""] * 4,
        g7=[0] * 4, g0=SUNDAY_SATURDAY, fax=8, counters=FACTORY_COUNTERS,
        short_dials=[(0, b"", b"")] * 90, pe=[(0, b"")] * 100)
    fields.update(changes)
    return settings_file(**fields)


def sample_file():
    ext, day, night, line, glb = factory_grids()
    ext[203] = 0xFF  # row "00", column "00": not in use, kept as loaded
    ext[8] = 2
    night[17] = 0
    night[63] = 1
    line[0] = 2  # LP "16k"
    line[12:16] = bytes([0, 1, 2, 3])
    glb[96:112] = bytes([1, 0] * 8)  # GE
    numbers = [21 + i if i < 8 else 23 + i for i in range(16)]
    ext_comments = ["Kancelář {}".format(n).encode("cp1250") for n in numbers]
    ext_comments[3] = "Účtárna – paní Růžičková".encode("cp1250")
    ext_comments[15] = bytes(range(1, 256)) + b"!"  # 256 bytes: the long text form
    day_comments = ["Státní linka {}".format(91 + i).encode("cp1250") for i in range(4)]
    night_comments = [b"Noc 91", b"", "Žluťoučký kůň".encode("cp1250"), b"x" * 255]
    short_dials = [(0, b"", b"")] * 90
    short_dials[0] = (2, b"0602123456", "Servis ústředny".encode("cp1250"))
    short_dials[45] = (1, b"P12", b"")
    short_dials[89] = (5, b"12345678901234", b"899")
    pe = [(0, b"")] * 100
    pe[0] = (6, b"4321")
    pe[99] = (-1, b"99")
    return settings_file(
        times=time(7, 30) + time(19, 45), grids=(ext, day, night, line, glb),
        ext_comments=ext_comments, day_comments=day_comments, night_comments=night_comments,
        g7=[9, -1, 0, 3], g0=[False, True, False, True, False, True, False], fax=16,
        counters=[1, 15, 99, 2, 60, 50, 1, 10, 7], short_dials=short_dials, pe=pe)


def app_config(model, flags, model_width=None):
    return header(b"OCFG") + integer(model, model_width) + b"".join(flag(f) for f in flags)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    empty = empty_texts_file()
    assert len(empty) == 2021
    sample = sample_file()
    write(os.path.join(HERE, "empty-texts.set"), empty)
    write(os.path.join(HERE, "sample.set"), sample)

    s = os.path.join(CORPUS, "settingsfile")
    write(os.path.join(s, "empty-texts.set"), empty)
    write(os.path.join(s, "sample.set"), sample)
    write(os.path.join(s, "header-only.set"), header(b"OSET"))
    write(os.path.join(s, "cut-in-text.set"), sample[:800])
    write(os.path.join(s, "integer-times.set"),
          empty_texts_file(times=integer(0) + integer(36526, 4)))
    write(os.path.join(s, "wide-counters.set"),
          empty_texts_file(counters=[integer(c, 4) for c in FACTORY_COUNTERS]))
    bad = bytearray(empty)
    bad[FIRST_COMMENT] = 0x07
    write(os.path.join(s, "bad-text-tag.set"), bytes(bad))
    write(os.path.join(s, "huge-text-length.set"),
          empty[:FIRST_COMMENT] + b"\x0c\xff\xff\xff\xff" + b"Kancel")

    a = os.path.join(CORPUS, "appconfig")
    write(os.path.join(a, "mira.cfg"), app_config(0, [False] * 6))
    write(os.path.join(a, "vegax-mkx.cfg"), app_config(2, [False] * 5 + [True]))
    write(os.path.join(a, "header-only.cfg"), header(b"OCFG"))
    write(os.path.join(a, "wide-model.cfg"), app_config(1000, [True] * 6, 4))
    write(os.path.join(a, "cut-in-flags.cfg"), app_config(1, [True] * 6)[:524])
    write(os.path.join(a, "bad-tag.cfg"), header(b"OCFG") + b"\x05\x01" + b"\x09" * 6)


if __name__ == "__main__":
    main()
