"""Builds zip archives byte by byte, for cases that ordinary zip programs will not
write: odd methods, wrong CRCs, data descriptors, hostile names."""

import struct
import zlib


def deflate(data):
    c = zlib.compressobj(9, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()


# "Version made by": host system in the high byte (0 MS-DOS, 3 Unix), version 2.0.
MADE_BY_DOS, MADE_BY_UNIX = 20, (3 << 8) | 20


def entry(name, data=b"", method=8, crc=None, flags=0, extra=b"", descriptor=False,
          dos_time=0x5000, dos_date=0x50A6, packed=None, streamed=False,
          descriptor_signature=True, made_by=MADE_BY_DOS):
    """One archive entry; fields left None take the value the data gives. A streamed
    entry is written as a program writing to a pipe writes it: flag bit 3, zero CRC
    and sizes in the local header, the real ones in a data descriptor behind the data
    (with or without its optional signature) and in the central directory."""
    if isinstance(name, str):
        name = name.encode()
    if packed is None:
        packed = deflate(data) if method == 8 else data
    if streamed:
        flags |= 0x08
        descriptor = True
    return dict(name=name, data=data, packed=packed, method=method,
                crc=zlib.crc32(data) if crc is None else crc, flags=flags, extra=extra,
                descriptor=descriptor, time=dos_time, date=dos_date, streamed=streamed,
                descriptor_signature=descriptor_signature, made_by=made_by)


def build(entries, comment=b""):
    out = bytearray()
    central = bytearray()
    for e in entries:
        offset = len(out)
        fields = (20, e["flags"], e["method"], e["time"], e["date"], e["crc"],
                  len(e["packed"]), len(e["data"]), len(e["name"]), len(e["extra"]))
        local = fields if not e["streamed"] else fields[:5] + (0, 0, 0) + fields[8:]
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, *local)
        out += e["name"] + e["extra"] + e["packed"]
        if e["descriptor"]:
            # "PK\7\8" (optional), CRC, compressed and uncompressed size.
            if e["descriptor_signature"]:
                out += struct.pack("<I", 0x08074B50)
            out += struct.pack("<III", e["crc"], len(e["packed"]), len(e["data"]))
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, e["made_by"], *fields[:9],
                               0, 0, 0, 0, 0, offset)
        central += e["name"]
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central),
                      len(out), len(comment))
    return bytes(out + central + end + comment)


def aes_entry(name, data):
    """An entry as WinZip's AES encryption marks it: method 99, flag bit 0, and the extra
    field 0x9901 (vendor version 2, "AE", strength 3, real method 8). The data is not
    really encrypted; no reader gets that far."""
    extra = struct.pack("<HHH2sBH", 0x9901, 7, 2, b"AE", 3, 8)
    return entry(name, data, method=99, flags=0x01, extra=extra, packed=b"\0" * 28 + data)


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
