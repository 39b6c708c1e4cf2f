"""Draws KV_GUI_Ctrl's pictures into a folder: the eight 23 x 23 FLC segment
pictures (segment n of the ring light off and on; segment 1 is the top, then
clockwise) and the application icon (a lens with its ring light).

    python3 DrawPictures.py OUTPUT_FOLDER
"""
import math
import os
import struct
import sys

FACE = (240, 240, 240)
RING_OFF = (200, 200, 200)
EDGE = (96, 96, 96)
SEGMENT_OFF = (120, 120, 120)
SEGMENT_ON = (255, 192, 0)


def segment_of(x, y, centre):
    """The ring segment (0 top, 1 right, 2 bottom, 3 left) a pixel lies in."""
    angle = math.degrees(math.atan2(x - centre, centre - y)) % 360
    return int(((angle + 45) % 360) // 90)


def flc_picture(segment, on, size=23):
    centre, outer, inner = (size - 1) / 2, 10.5, 5.0
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            r = math.hypot(x - centre, y - centre)
            if r > outer or r < inner - 1:
                row.append(FACE)
            elif r > outer - 1 or r < inner:
                row.append(EDGE)
            elif segment_of(x, y, centre) == segment:
                row.append(SEGMENT_ON if on else SEGMENT_OFF)
            else:
                row.append(RING_OFF)
        pixels.append(row)
    return pixels


def bmp(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    data = b"".join(
        bytes(c for r, g, b in row for c in (b, g, r)).ljust(stride, b"\0") for row in reversed(pixels))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 14 + len(header)) + header + data


def icon_image(size):
    centre = (size - 1) / 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = math.hypot(x - centre, y - centre) / (size / 2)
            if r > 1.0:
                row.append((0, 0, 0, 0))
            elif r > 0.8:
                row.append(SEGMENT_ON + (255,))
            elif r > 0.72:
                row.append((40, 40, 40, 255))
            else:
                shade = int(60 + 120 * (1 - r))
                row.append((20, 50, shade, 255))
        rows.append(row)
    width_mask = ((size + 31) // 32) * 4
    colour = b"".join(bytes(c for r, g, b, a in row for c in (b, g, r, a)) for row in reversed(rows))
    mask = b"".join(
        bytes(sum((1 << (7 - i)) for i in range(8) if x + i < size and row[x + i][3] == 0)
              for x in range(0, size, 8)).ljust(width_mask, b"\0") for row in reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico(sizes):
    images = [icon_image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for segment in range(4):
        for on in (False, True):
            name = "flc%d_%s.bmp" % (segment + 1, "on" if on else "off")
            with open(os.path.join(folder, name), "wb") as out:
                out.write(bmp(flc_picture(segment, on)))
    with open(os.path.join(folder, "KV_GUI_Ctrl.ico"), "wb") as out:
        out.write(ico([16, 32, 48]))


if __name__ == "__main__":
    main(sys.argv[1])
