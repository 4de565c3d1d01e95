#!/usr/bin/env python3
"""Prepares the game's pictures for the web build from the ones the native build drew.

Pictures the size of the window are written as lossless WebP files beside their BMP names (the
web shim decodes one in place of the BMP of the same name): the same pixels at the game's 5-6-5
depth in a twentieth of the bytes. Every other picture is copied as it is. Files named with --leave-out are
not copied. Only files whose bytes change are written, so the link step redoes nothing.

usage: packimages.py SOURCE_DIR TARGET_DIR STAMP [--leave-out NAME]...
"""
import os
import struct
import subprocess
import sys
import tempfile

WINDOW = (1024, 768)


def read_bmp_565(data, name):
    """The pixels of a 16-bit 5-6-5 BMP as rows of 8-bit red, green and blue."""
    if data[:2] != b"BM" or len(data) < 66:
        raise ValueError(f"{name}: not a BMP file")
    offset, = struct.unpack_from("<I", data, 10)
    width, height, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    masks = struct.unpack_from("<III", data, 54)
    if bits != 16 or compression != 3 or masks != (0xF800, 0x07E0, 0x001F) or width <= 0:
        raise ValueError(f"{name}: not a 5-6-5 BMP")
    top_down = height < 0
    height = abs(height)
    row_bytes = (width * 2 + 3) // 4 * 4
    if offset + row_bytes * height > len(data):
        raise ValueError(f"{name}: the file ends before its pixels do")
    # Each 5 or 6-bit channel widened to 8 bits by repeating its high bits, as a decoder does:
    # dropping the low bits again gives back the 5-6-5 value.
    five = [v << 3 | v >> 2 for v in range(32)]
    six = [v << 2 | v >> 4 for v in range(64)]
    rows = []
    for y in range(height):
        stored = y if top_down else height - 1 - y
        start = offset + stored * row_bytes
        values = struct.unpack_from(f"<{width}H", data, start)
        row = bytearray(width * 3)
        for x, v in enumerate(values):
            row[3 * x] = five[v >> 11]
            row[3 * x + 1] = six[(v >> 5) & 63]
            row[3 * x + 2] = five[v & 31]
        rows.append(bytes(row))
    return width, height, rows


def webp(width, height, rows, name):
    """The pixels as a lossless WebP file, made by cwebp from a plain PPM copy."""
    with tempfile.TemporaryDirectory() as scratch:
        ppm = os.path.join(scratch, "picture.ppm")
        out = os.path.join(scratch, "picture.webp")
        with open(ppm, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (width, height) + b"".join(rows))
        try:
            subprocess.run(["cwebp", "-quiet", "-lossless", "-exact", "-z", "9", ppm, "-o", out],
                           check=True)
        except (OSError, subprocess.CalledProcessError) as error:
            raise ValueError(f"{name}: cwebp failed ({error}); the package webp has it")
        with open(out, "rb") as f:
            return f.read()


def write_if_changed(path, data):
    try:
        with open(path, "rb") as existing:
            if existing.read() == data:
                return False
    except OSError:
        pass
    with open(path + ".part", "wb") as out:
        out.write(data)
    os.replace(path + ".part", path)
    return True


def main(argv):
    args = argv[1:]
    leave_out = set()
    while "--leave-out" in args:
        at = args.index("--leave-out")
        leave_out.add(os.path.basename(args[at + 1]))
        del args[at:at + 2]
    if len(args) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    source, target, stamp = args
    try:
        names = sorted(n for n in os.listdir(source) if n.endswith(".bmp"))
    except OSError as error:
        sys.exit(f"packimages: cannot read {source}: {error.strerror}; "
                 "the native build draws the pictures first")
    if not names:
        sys.exit(f"packimages: no pictures in {source}; the native build draws them first")
    os.makedirs(target, exist_ok=True)
    wanted = set()
    changed = False
    for name in names:
        if name in leave_out:
            continue
        with open(os.path.join(source, name), "rb") as f:
            data = f.read()
        width, height = struct.unpack_from("<ii", data, 18) if len(data) >= 26 else (0, 0)
        if (width, abs(height)) == WINDOW:
            name = name[:-4] + ".webp"
            try:
                data = webp(*read_bmp_565(data, name), name)
            except ValueError as error:
                sys.exit(f"packimages: {error}")
        wanted.add(name)
        changed |= write_if_changed(os.path.join(target, name), data)
    for stale in set(os.listdir(target)) - wanted:
        os.remove(os.path.join(target, stale))
        changed = True
    if changed or not os.path.exists(stamp):
        with open(stamp, "w") as f:
            f.write("\n".join(sorted(wanted)) + "\n")


if __name__ == "__main__":
    main(sys.argv)
