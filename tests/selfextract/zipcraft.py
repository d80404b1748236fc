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
          descriptor_signature=True, made_by=MADE_BY_DOS, central_extra=b""):
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
                descriptor_signature=descriptor_signature, made_by=made_by,
                central_extra=central_extra)


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
                               len(e["central_extra"]), 0, 0, 0, 0, offset)
        central += e["name"] + e["central_extra"]
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central),
                      len(out), len(comment))
    return bytes(out + central + end + comment)


def unicode_path_field(name, utf8_name):
    """Info-ZIP's Unicode path extra field (0x7075): version 1, the CRC-32 of the name
    as stored, the name in UTF-8."""
    body = struct.pack("<BI", 1, zlib.crc32(name)) + utf8_name.encode()
    return struct.pack("<HH", 0x7075, len(body)) + body


def aes_entry(name, data):
    """An entry as WinZip's AES encryption marks it: method 99, flag bit 0, and the extra
    field 0x9901 (vendor version 2, "AE", strength 3, real method 8). The data is not
    really encrypted; no reader gets that far."""
    extra = struct.pack("<HHH2sBH", 0x9901, 7, 2, b"AE", 3, 8)
    return entry(name, data, method=99, flags=0x01, extra=extra, packed=b"\0" * 28 + data)


class ZipCrypto:
    """Traditional PKWARE encryption as the zip application note describes it."""

    def __init__(self, password):
        self.keys = [0x12345678, 0x23456789, 0x34567890]
        for b in password.encode() if isinstance(password, str) else password:
            self.update(b)

    @staticmethod
    def crc_byte(crc, b):
        return zlib.crc32(bytes([b]), crc ^ 0xFFFFFFFF) ^ 0xFFFFFFFF

    def update(self, b):
        k = self.keys
        k[0] = self.crc_byte(k[0], b)
        k[1] = ((k[1] + (k[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        k[2] = self.crc_byte(k[2], k[1] >> 24)

    def stream_byte(self):
        t = (self.keys[2] | 2) & 0xFFFF
        return ((t * (t ^ 1)) >> 8) & 0xFF

    def encrypt(self, plain):
        out = bytearray()
        for p in plain:
            out.append(p ^ self.stream_byte())
            self.update(p)
        return bytes(out)

    def decrypt(self, cipher):
        out = bytearray()
        for c in cipher:
            p = c ^ self.stream_byte()
            out.append(p)
            self.update(p)
        return bytes(out)


def zipcrypto_header(password, check_byte, seed=b"\x11" * 11):
    """The 12-byte encryption header of traditional zip encryption whose last byte
    decrypts to check_byte (the CRC's high byte), encrypted with password."""
    return ZipCrypto(password).encrypt(seed + bytes([check_byte]))


def encrypted_entry(name, data, password, method=8, seed=b"\x11" * 11, check="crc", **fields):
    """An entry under traditional zip encryption with a fixed encryption header, so that
    which passwords pass its one-byte check is known in advance. check "time" makes the
    check byte the DOS time's high byte, as writers that use a data descriptor do (flag
    bit 3)."""
    e = entry(name, data, method=method, flags=0x01 | (0x08 if check == "time" else 0),
              descriptor=check == "time", **fields)
    check_byte = (e["time"] >> 8) if check == "time" else (e["crc"] >> 24)
    e["packed"] = ZipCrypto(password).encrypt(seed + bytes([check_byte]) + e["packed"])
    return e


def passes_check(e, password):
    """True when password passes the one-byte check of the encrypted entry e."""
    expected = (e["time"] >> 8) if e["flags"] & 0x08 else (e["crc"] >> 24)
    return ZipCrypto(password).decrypt(e["packed"][:12])[11] == expected


def wrong_passwords(e, passing, count=1, prefix="wrong"):
    """count passwords other than the entry's that pass (passing) or fail its one-byte
    check, found by trying prefix0, prefix1, ... in turn."""
    found = []
    n = 0
    while len(found) < count:
        candidate = "%s%d" % (prefix, n)
        if passes_check(e, candidate) == passing:
            found.append(candidate)
        n += 1
    return found
