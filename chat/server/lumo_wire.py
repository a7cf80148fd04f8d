"""The chat protocol's wire format on the server side, in Python: the hello
record, the packet header and Blowfish in ECB mode from OpenSSL's libcrypto
(through ctypes). It shares no code with the client, so that the client's
cipher, framing and byte order are checked against another implementation.
"""

import ctypes
import ctypes.util
import struct
import sys

KEY = b"qorvantel"
HELLO = b"BLN" + struct.pack("<HHB", 1, 0, 1)
MAX_DATA = 102400


def _load_crypto():
    for name in ("libcrypto.so.3", ctypes.util.find_library("crypto")):
        if name:
            try:
                return ctypes.CDLL(name)
            except OSError:
                pass
    sys.exit("OpenSSL's libcrypto is needed (Debian package libssl3)")


_CRYPTO = _load_crypto()


class _BlowfishKey(ctypes.Structure):
    _fields_ = [("P", ctypes.c_uint32 * 18), ("S", ctypes.c_uint32 * 1024)]


def _schedule(key):
    k = _BlowfishKey()
    _CRYPTO.BF_set_key(ctypes.byref(k), len(key), key)
    return k


_SCHEDULES = {KEY: _schedule(KEY)}


def ecb(data, encrypt, key=KEY):
    """Enciphers or deciphers the whole 8-byte blocks; a tail stays as it is."""
    if key not in _SCHEDULES:
        _SCHEDULES[key] = _schedule(key)
    schedule = _SCHEDULES[key]
    out = bytearray()
    block = ctypes.create_string_buffer(8)
    for at in range(0, len(data) - len(data) % 8, 8):
        _CRYPTO.BF_ecb_encrypt(bytes(data[at:at + 8]), block, ctypes.byref(schedule),
                               1 if encrypt else 0)
        out += block.raw
    return bytes(out) + bytes(data[len(data) - len(data) % 8:])


def packet(payload, ptype=0):
    padded = payload + b"\0" * (-len(payload) % 8)
    return struct.pack("<III", 12 + len(padded), len(payload), ptype) + ecb(padded, True)


def raw_header(total, data, ptype=0):
    return struct.pack("<III", total, data, ptype)


def read_exact(conn, n):
    data = b""
    while len(data) < n:
        chunk = conn.recv(n - len(data))
        if not chunk:
            return None
        data += chunk
    return data


def read_packet(conn):
    """The next payload from the client, or None when the connection ended or
    the client sent a header no client produces."""
    header = read_exact(conn, 12)
    if header is None:
        return None
    total, data, _ = struct.unpack("<III", header)
    padded = data + (-data % 8)
    if data == 0 or data > MAX_DATA or total != 12 + padded:
        return None
    body = read_exact(conn, padded)
    if body is None:
        return None
    return ecb(body, False)[:data]


def text_of(payload):
    """A payload's text: its bytes up to the first NUL, in the ANSI code page."""
    return payload.split(b"\0", 1)[0].decode("cp1252", "replace")
