#!/usr/bin/env python3
# Maps that carry colour profiles, in the current folder: a picture of flat 8 x 8 blocks (which
# JPEG keeps almost exactly) as JPEG and PNG with a wide-gamut matrix profile embedded, with a
# profile named sRGB and with none, and as JPEG with a damaged profile; and the sRGB picture the
# wide-gamut ones show, worked out here from the profile's own numbers.
import struct
import subprocess

# The profile's colorants (adapted to D50) and gamma, and the published matrix from D50 XYZ
# to linear sRGB.
WIDE = [(0.60974, 0.31111, 0.01947), (0.20528, 0.62567, 0.06087), (0.14919, 0.06322, 0.74457)]
GAMMA = 563 / 256
FROM_XYZ = [(3.1338561, -1.6168667, -0.4906146), (-0.9787684, 1.9161415, 0.0334540),
            (0.0719453, -0.2289914, 1.4052427)]


def fixed(values):
    return b"".join(struct.pack(">i", round(v * 65536)) for v in values)


def profile(description, damaged=False):
    text = description.encode() + b"\0"
    tags = [(b"desc", b"desc\0\0\0\0" + struct.pack(">I", len(text)) + text + bytes(79)),
            (b"wtpt", b"XYZ \0\0\0\0" + fixed((0.9642, 1.0, 0.8249)))]
    tags += [(name, b"XYZ \0\0\0\0" + fixed(xyz)) for name, xyz in zip((b"rXYZ", b"gXYZ", b"bXYZ"), WIDE)]
    tags += [(name, b"curv\0\0\0\0" + struct.pack(">IH", 1, 563) + b"\0\0") for name in (b"rTRC", b"gTRC", b"bTRC")]
    offset = 128 + 4 + 12 * len(tags)
    table, data = b"", b""
    for name, body in tags:
        table += name + struct.pack(">II", offset + len(data), len(body) if not damaged else 1 << 30)
        data += body + bytes(-len(body) % 4)
    size = offset + len(data)
    header = struct.pack(">I4sI4s4s4s", size, b"none", 0x02100000, b"mntr", b"RGB ", b"XYZ ") + bytes(12)
    header += b"acsp" + bytes(28) + fixed((0.9642, 1.0, 0.8249)) + bytes(128 - 80)
    return header + struct.pack(">I", len(tags)) + table + data


def to_srgb(pixel):
    linear = [(c / 255) ** GAMMA for c in pixel]
    xyz = [sum(WIDE[k][i] * linear[k] for k in range(3)) for i in range(3)]
    srgb = [min(max(sum(row[i] * xyz[i] for i in range(3)), 0.0), 1.0) for row in FROM_XYZ]
    return [round(255 * (12.92 * v if v <= 0.0031308 else 1.055 * v ** (1 / 2.4) - 0.055)) for v in srgb]


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout


run("convert", "-seed", "2", "-size", "8x4", "xc:", "+noise", "Random", "-depth", "8", "-scale", "64x32",
    "PNG24:colours.png")
run("convert", "colours.png", "-quality", "100", "-sampling-factor", "1x1", "colours.jpg")
raw = run("convert", "colours.png", "-depth", "8", "rgb:-")
expected = bytes(c for i in range(0, len(raw), 3) for c in to_srgb(raw[i:i + 3]))
subprocess.run(["convert", "-size", "64x32", "-depth", "8", "rgb:-", "PNG24:colours-as-srgb.png"], input=expected,
               check=True)
# ImageMagick embeds a profile in a picture that has none without touching its pixels; libpng
# leaves out a damaged one, so that one goes into the JPEG only.
for name, icc in (("wide", profile("Wide RGB")), ("srgb", profile("sRGB IEC61966-2.1")),
                  ("damaged", profile("Wide RGB", damaged=True))):
    open(f"{name}.icc", "wb").write(icc)
    run("convert", "colours.png", "-profile", f"{name}.icc", "-quality", "100", "-sampling-factor", "1x1",
        f"colours-{name}.jpg")
    if name != "damaged":
        run("convert", "colours.png", "-profile", f"{name}.icc", f"PNG24:colours-{name}.png")
