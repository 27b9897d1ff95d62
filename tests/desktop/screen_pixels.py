"""Reads pixels of the X screen, as a user sees them: no packages beyond libX11.

Usage: screen_pixels.py digest X Y W H        a digest of the area's pixels
       screen_pixels.py count X Y W H R G B   how many of its pixels have that colour
       screen_pixels.py png X Y W H FILE      the area as a PNG file
"""
import ctypes
import hashlib
import struct
import sys
import zlib


class XImage(ctypes.Structure):
    _fields_ = [(name, ctypes.c_int) for name in ("width", "height", "xoffset", "format")] + [
        ("data", ctypes.c_void_p)] + [(name, ctypes.c_int) for name in (
            "byte_order", "bitmap_unit", "bitmap_bit_order", "bitmap_pad", "depth",
            "bytes_per_line", "bits_per_pixel")]


def rows(x, y, width, height):
    """The area's pixels as rows of (r, g, b); the screen is 24-bit, 32 bits a pixel."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    z_pixmap = 2
    image = x11.XGetImage(display, x11.XDefaultRootWindow(display), x, y, width, height,
                          0xFFFFFFFF, z_pixmap)
    if not image or image.contents.bits_per_pixel != 32:
        sys.exit("cannot read the screen")
    stride = image.contents.bytes_per_line
    data = ctypes.string_at(image.contents.data, stride * height)
    result = []
    for row in range(height):
        line = data[row * stride:row * stride + width * 4]
        result.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, len(line), 4)])
    return result


def write_png(path, pixels):
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in pixels)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", len(pixels[0]), len(pixels), 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(argv):
    command, area = argv[1], [int(v) for v in argv[2:6]]
    pixels = rows(*area)
    if command == "digest":
        print(hashlib.sha1(repr(pixels).encode()).hexdigest())
    elif command == "count":
        colour = tuple(int(v) for v in argv[6:9])
        print(sum(pixel == colour for row in pixels for pixel in row))
    elif command == "png":
        write_png(argv[6], pixels)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
