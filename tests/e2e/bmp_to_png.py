"""Converts a 24-bit bottom-up BMP (the GUI driver's screenshot) into a PNG,
with nothing but the standard library.

    python3 bmp_to_png.py IN.bmp OUT.png
"""
import struct
import sys
import zlib


def main(source, target):
    data = open(source, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        sys.exit("%s: %d bits per pixel, not 24" % (source, bits))
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        row = y if height < 0 else height - 1 - y
        start = offset + row * stride
        bgr = data[start:start + width * 3]
        rows.append(b"\0" + bytes(c for i in range(0, len(bgr), 3) for c in (bgr[i + 2], bgr[i + 1], bgr[i])))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
    open(target, "wb").write(png + chunk(b"IEND", b""))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
