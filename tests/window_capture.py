#!/usr/bin/env python3
"""Reads what the main window shows from an xwd capture of it.

  window_capture.py results <capture.xwd>      exit 0 if the results are shown
  window_capture.py same-results <a.xwd> <b.xwd>  exit 0 if both show the same results
  window_capture.py png <capture.xwd> <out.png>   for a person to look at

Only the standard library: the test machines have python3 but no imaging packages.
"""

import struct
import sys
import zlib

# The main window's client area and its result labels, in twips (15 to a pixel).
WINDOW_TWIPS = (11010, 8250)
RESULT_LABELS = {
    "governedByLbl": (4800, 6120, 3375, 255),
    "unityRatioLbl": (4800, 6600, 615, 255),
    "bendingResLbl": (4800, 6960, 615, 255),
    "shearResLbl": (4800, 7320, 615, 255),
    "bearingResLbl": (4800, 7680, 615, 255),
    "u2ResLbl": (6600, 6960, 615, 255),
    "u2_finResLbl": (6600, 7320, 615, 255),
    "u_net_finResLbl": (6600, 7680, 615, 255),
}
MESSAGE_LABEL = (360, 7965, 10290, 255)
# The whole results block, captions included.
RESULTS_BLOCK = (3960, 6000, 4215, 1935)
# A digit drawn at 8 points has well over this many text pixels.
MIN_TEXT_PIXELS = 8


def pixels(rect_twips):
    return tuple(round(v / 15) for v in rect_twips)


class Capture:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if len(data) < 100:
            raise ValueError(f"{path}: not an xwd capture ({len(data)} bytes)")
        fields = struct.unpack(">25I", data[:100])
        header_size, version, pixmap_format, depth, width, height = fields[:6]
        byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
        red_mask, green_mask, blue_mask = fields[14:17]
        ncolors = fields[19]
        if version != 7 or pixmap_format != 2 or bits_per_pixel not in (24, 32) or depth < 24:
            raise ValueError(
                f"{path}: unsupported xwd capture (version {version}, format {pixmap_format}, "
                f"depth {depth}, {bits_per_pixel} bits a pixel); run Xvfb with a 24-bit screen")
        self.width, self.height = width, height
        self._bytes = bits_per_pixel // 8
        self._order = "little" if byte_order == 0 else "big"
        self._stride = bytes_per_line
        self._masks = (red_mask, green_mask, blue_mask)
        self._data = data[header_size + 12 * ncolors:]
        if len(self._data) < bytes_per_line * height:
            raise ValueError(f"{path}: capture is cut short")

    def rgb(self, x, y):
        at = y * self._stride + x * self._bytes
        value = int.from_bytes(self._data[at:at + self._bytes], self._order)
        out = []
        for mask in self._masks:
            shift = (mask & -mask).bit_length() - 1
            out.append((value & mask) >> shift)
        return tuple(out)

    def region(self, rect):
        x0, y0, w, h = rect
        return [[self.rgb(x, y) for x in range(x0, x0 + w)] for y in range(y0, y0 + h)]


def text_pixels(region):
    """Pixels clearly apart from the region's most common colour, its ground."""
    counts = {}
    for row in region:
        for p in row:
            counts[p] = counts.get(p, 0) + 1
    ground = max(counts, key=counts.get)
    return sum(n for p, n in counts.items()
               if sum(abs(a - b) for a, b in zip(p, ground)) > 96)


def check_size(capture):
    expected = pixels((0, 0) + WINDOW_TWIPS)[2:]
    if (capture.width, capture.height) != expected:
        raise SystemExit(f"the window is {capture.width} x {capture.height} pixels, expected "
                         f"{expected[0]} x {expected[1]}: the label positions would not hold")


def results(path):
    capture = Capture(path)
    check_size(capture)
    problems = []
    for name, rect in RESULT_LABELS.items():
        n = text_pixels(capture.region(pixels(rect)))
        if n < MIN_TEXT_PIXELS:
            problems.append(f"{name} shows nothing ({n} text pixels)")
    if text_pixels(capture.region(pixels(MESSAGE_LABEL))) > 0:
        problems.append("messageLbl shows a message: the results are out of date")
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


def same_results(path_a, path_b):
    a, b = Capture(path_a), Capture(path_b)
    check_size(a)
    check_size(b)
    block = pixels(RESULTS_BLOCK)
    if a.region(block) != b.region(block):
        print(f"the results block differs between {path_a} and {path_b}", file=sys.stderr)
        return 1
    return 0


def png(path, out):
    capture = Capture(path)
    rows = b"".join(b"\0" + bytes(c for x in range(capture.width) for c in capture.rgb(x, y))
                    for y in range(capture.height))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(out, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", capture.width, capture.height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        f.write(chunk(b"IEND", b""))
    return 0


def main(argv):
    commands = {"results": (results, 1), "same-results": (same_results, 2), "png": (png, 2)}
    if len(argv) < 2 or argv[1] not in commands or len(argv) != 2 + commands[argv[1]][1]:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        return commands[argv[1]][0](*argv[2:])
    except (OSError, ValueError) as error:
        print(error, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
