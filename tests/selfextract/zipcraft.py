"""Builds zip archives byte by byte, for cases that ordinary zip programs will not
write: odd methods, wrong CRCs, data descriptors, hostile names."""

import struct
import zlib


def deflate(data):
    c = zlib.compressobj(9, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()


def entry(name, data=b"", method=8, crc=None, flags=0, extra=b"", descriptor=False,
          dos_time=0x5000, dos_date=0x50A6, packed=None):
    """One archive entry; fields left None take the value the data gives."""
    if isinstance(name, str):
        name = name.encode()
    if packed is None:
        packed = deflate(data) if method == 8 else data
    return dict(name=name, data=data, packed=packed, method=method,
                crc=zlib.crc32(data) if crc is None else crc, flags=flags, extra=extra,
                descriptor=descriptor, time=dos_time, date=dos_date)


def build(entries, comment=b""):
    out = bytearray()
    central = bytearray()
    for e in entries:
        offset = len(out)
        fields = (20, e["flags"], e["method"], e["time"], e["date"], e["crc"],
                  len(e["packed"]), len(e["data"]), len(e["name"]), len(e["extra"]))
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, *fields)
        out += e["name"] + e["extra"] + e["packed"]
        if e["descriptor"]:
            # "PK\7\8", CRC, compressed and uncompressed size: 16 bytes.
            out += struct.pack("<IIII", 0x08074B50, e["crc"], len(e["packed"]), len(e["data"]))
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, *fields[:9], 0, 0, 0, 0,
                               0, offset)
        central += e["name"]
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central),
                      len(out), len(comment))
    return bytes(out + central + end + comment)


def zipcrypto_header(password, check_byte, seed=b"\x11" * 11):
    """The 12-byte encryption header of traditional zip encryption whose last byte
    decrypts to check_byte (the CRC's high byte), encrypted with password."""
    keys = [0x12345678, 0x23456789, 0x34567890]

    def crc_byte(crc, b):
        return zlib.crc32(bytes([b]), crc ^ 0xFFFFFFFF) ^ 0xFFFFFFFF

    def update(b):
        keys[0] = crc_byte(keys[0], b)
        keys[1] = (keys[1] + (keys[0] & 0xFF)) & 0xFFFFFFFF
        keys[1] = (keys[1] * 134775813 + 1) & 0xFFFFFFFF
        keys[2] = crc_byte(keys[2], keys[1] >> 24)

    for b in password.encode():
        update(b)
    out = bytearray()
    for p in seed + bytes([check_byte]):
        t = (keys[2] | 2) & 0xFFFF
        out.append(p ^ ((t * (t ^ 1)) >> 8) & 0xFF)
        update(p)
    return bytes(out)
