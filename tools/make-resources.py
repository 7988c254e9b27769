#!/usr/bin/env python3
"""Makes the program's binary resources in app/res/:

  Gloamery.ico      icon 128: a globe lit half by day, half by night (48x48 and 32x32 with 256
                    colours, 32x32 and 16x16 with 16 colours)
  PointingHand.cur  cursor 129: 32x32 monochrome hand, index finger up, hot spot (0, 0)
  *.png             maps 130-132 of the style thumbnails: 300x150 with a palette of up to 256
                    colours, which the program scales down to the thumbnails' size on the screen

The maps come from the day and night images of the xplanet-images package (NASA Visible Earth),
scaled by ImageMagick; everything else (blending, quantising, file formats) is done here so that
the same inputs always give the same bytes.

Usage: tools/make-resources.py [OUTPUT_DIR]   (default: app/res next to this script's folder)
"""

import math
import os
import struct
import subprocess
import sys
import zlib

CONVERT = "/usr/bin/convert"
IMAGES = "/usr/share/xplanet/images"
DAY_IMAGE = os.path.join(IMAGES, "earth.jpg")
NIGHT_IMAGE = os.path.join(IMAGES, "night.jpg")

# Sun position used for the day-and-night pictures: overhead at the map's centre meridian, a
# little north of the equator, so that the polar regions show a tilted terminator.
SUN_LONGITUDE = 0.0
SUN_LATITUDE = 18.0
# Sun altitudes (degrees) between which the day side fades into the night side.
TWILIGHT_TOP = 3.0
TWILIGHT_BOTTOM = -6.0


class Image:
    """An RGB raster kept as a flat list of (r, g, b) tuples, row 0 at the top."""

    def __init__(self, width, height, pixels=None):
        self.width = width
        self.height = height
        self.pixels = pixels if pixels is not None else [(0, 0, 0)] * (width * height)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def put(self, x, y, colour):
        self.pixels[y * self.width + x] = colour


def load_scaled(path, width, height):
    """Decodes and scales an image with ImageMagick and reads the binary PPM it writes."""
    ppm = subprocess.run(
        [CONVERT, path, "-colorspace", "sRGB", "-resize", f"{width}x{height}!", "-depth", "8",
         "ppm:-"],
        check=True, stdout=subprocess.PIPE).stdout
    fields = []
    position = 0
    while len(fields) < 4:
        while ppm[position:position + 1].isspace():
            position += 1
        start = position
        while not ppm[position:position + 1].isspace():
            position += 1
        fields.append(ppm[start:position])
    position += 1
    if fields[0] != b"P6" or int(fields[1]) != width or int(fields[2]) != height:
        sys.exit(f"unexpected PPM from {path}")
    data = ppm[position:position + width * height * 3]
    pixels = [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]
    return Image(width, height, pixels)


def mix(a, b, weight):
    """a where weight is 0, b where weight is 1."""
    return tuple(int(round(a[c] + (b[c] - a[c]) * weight)) for c in range(3))


def night_weight(longitude, latitude):
    """How much of the night image shows at a point, from the sun's altitude there."""
    lat, lon = math.radians(latitude), math.radians(longitude)
    sun_lat, sun_lon = math.radians(SUN_LATITUDE), math.radians(SUN_LONGITUDE)
    sine = (math.sin(lat) * math.sin(sun_lat)
            + math.cos(lat) * math.cos(sun_lat) * math.cos(lon - sun_lon))
    altitude = math.degrees(math.asin(max(-1.0, min(1.0, sine))))
    if altitude >= TWILIGHT_TOP:
        return 0.0
    if altitude <= TWILIGHT_BOTTOM:
        return 1.0
    return (TWILIGHT_TOP - altitude) / (TWILIGHT_TOP - TWILIGHT_BOTTOM)


def day_and_night(day, night):
    result = Image(day.width, day.height)
    for y in range(day.height):
        latitude = 90.0 - (y + 0.5) * 180.0 / day.height
        for x in range(day.width):
            longitude = -180.0 + (x + 0.5) * 360.0 / day.width
            result.put(x, y, mix(day.get(x, y), night.get(x, y), night_weight(longitude, latitude)))
    return result


def median_cut(colours, count):
    """Up to `count` representative colours for a list of colours."""
    unique = sorted(set(colours))
    if len(unique) <= count:
        return unique
    boxes = [sorted(colours)]
    while len(boxes) < count:
        best, best_range, best_channel = None, 0, 0
        for index, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for channel in range(3):
                values = [colour[channel] for colour in box]
                spread = max(values) - min(values)
                if spread > best_range:
                    best, best_range, best_channel = index, spread, channel
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda colour: colour[best_channel])
        middle = len(box) // 2
        boxes += [box[:middle], box[middle:]]
    palette = []
    for box in boxes:
        palette.append(tuple((sum(colour[c] for colour in box) + len(box) // 2) // len(box)
                             for c in range(3)))
    return sorted(set(palette))


def nearest_index(palette, colour, cache):
    if colour not in cache:
        cache[colour] = min(range(len(palette)), key=lambda i: sum(
            (palette[i][c] - colour[c]) ** 2 for c in range(3)))
    return cache[colour]


def quantise(pixels, palette):
    cache = {}
    return [nearest_index(palette, colour, cache) for colour in pixels]


def padded_palette(palette, size):
    return list(palette) + [(0, 0, 0)] * (size - len(palette))


def rgbquads(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def bitmap_info_header(width, height, bits, colours_used, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0,
                       colours_used, 0)


def pack_rows(indices, width, height, bits):
    """Packs palette indices into bottom-up DIB rows, each padded to 32 bits."""
    stride = ((width * bits + 31) // 32) * 4
    rows = []
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            value = indices[y * width + x]
            bit = x * bits
            row[bit // 8] |= value << (8 - bits - bit % 8)
        rows.append(bytes(row))
    return b"".join(rows)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(path, image):
    """An 8-bit palette PNG, rows unfiltered, which suits palette indices best."""
    palette = median_cut(image.pixels, 256)
    indices = quantise(image.pixels, palette)
    rows = b"".join(b"\0" + bytes(indices[y * image.width:(y + 1) * image.width])
                    for y in range(image.height))
    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 3, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
                  + png_chunk(b"PLTE", b"".join(bytes(colour) for colour in palette))
                  + png_chunk(b"IDAT", zlib.compress(rows, 9)) + png_chunk(b"IEND", b""))


# --- Icon -----------------------------------------------------------------------------------

# The sixteen colours of the standard VGA palette, which every display can show exactly.
VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def brighten(colour, exponent):
    return tuple(255.0 * (c / 255.0) ** exponent for c in colour)


def globe(size, day, night):
    """A globe seen from a little north of the equator: the western half lit by the sun, the
    eastern half in night with its city lights. Returns the picture and a coverage mask."""
    picture = Image(size, size)
    mask = [False] * (size * size)
    samples = 4
    radius = size / 2 - 0.5
    centre = size / 2
    view_latitude = math.radians(15.0)
    view_longitude = -15.0
    for y in range(size):
        for x in range(size):
            total = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    nx = (x + (sx + 0.5) / samples - centre) / radius
                    ny = (centre - (y + (sy + 0.5) / samples)) / radius
                    rr = nx * nx + ny * ny
                    if rr > 1.0:
                        continue
                    nz = math.sqrt(1.0 - rr)
                    # Turn the view direction back into latitude and longitude on the globe.
                    gy = ny * math.cos(view_latitude) + nz * math.sin(view_latitude)
                    gz = nz * math.cos(view_latitude) - ny * math.sin(view_latitude)
                    latitude = math.degrees(math.asin(max(-1.0, min(1.0, gy))))
                    longitude = view_longitude + math.degrees(math.atan2(nx, gz))
                    u = int((longitude + 180.0) / 360.0 * day.width) % day.width
                    v = min(day.height - 1, int((90.0 - latitude) / 180.0 * day.height))
                    sun = -nx  # the sun shines from the left: the terminator runs down the middle
                    lit = tuple(c * (0.6 + 0.4 * sun) for c in brighten(day.get(u, v), 0.55))
                    dark = tuple(min(255.0, base + c * 3.0)
                                 for base, c in zip((8, 10, 40), night.get(u, v)))
                    weight = max(0.0, min(1.0, (0.06 - sun) / 0.12))
                    colour = mix(lit, dark, weight)
                    for c in range(3):
                        total[c] += colour[c]
                    hits += 1
            if hits * 2 >= samples * samples:
                mask[y * size + x] = True
                picture.put(x, y, tuple(int(round(t / hits)) for t in total))
    return picture, mask


def nearest_vga(picture, mask):
    """Each pixel's nearest VGA colour; no dithering, which only adds noise at icon sizes."""
    cache = {}
    return [nearest_index(VGA_PALETTE, colour, cache) if covered else 0
            for colour, covered in zip(picture.pixels, mask)]


def icon_image(size, bits, day, night):
    """One icon image as a DIB with its AND mask; transparent pixels are black in the XOR
    image, so that the screen shows through unchanged."""
    picture, mask = globe(size, day, night)
    if bits == 4:
        palette = VGA_PALETTE
        indices = nearest_vga(picture, mask)
    else:
        inside = [colour for colour, covered in zip(picture.pixels, mask) if covered]
        palette = padded_palette([(0, 0, 0)] + median_cut(inside, 255), 256)
        indices = [index if covered else 0
                   for index, covered in zip(quantise(picture.pixels, palette), mask)]
    colours = 1 << bits
    xor_bits = pack_rows(indices, size, size, bits)
    and_bits = pack_rows([0 if covered else 1 for covered in mask], size, size, 1)
    header = bitmap_info_header(size, size * 2, bits, 0, len(xor_bits) + len(and_bits))
    return header + rgbquads(padded_palette(palette, colours)) + xor_bits + and_bits


def write_icon_file(path, kind, entries):
    """entries: (width, height, colour count, planes or hot spot x, bits or hot spot y, data)."""
    directory = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    table = b""
    for width, height, colours, field1, field2, data in entries:
        table += struct.pack("<BBBBHHII", width % 256, height % 256, colours % 256, 0, field1,
                             field2, len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(directory + table + b"".join(entry[5] for entry in entries))


def write_icon(path, day, night):
    entries = []
    for size, bits in ((48, 8), (16, 4), (32, 4), (32, 8)):
        entries.append((size, size, 1 << bits, 1, bits, icon_image(size, bits, day, night)))
    write_icon_file(path, 1, entries)


# --- Cursor ---------------------------------------------------------------------------------

def hand_shape():
    """The pointing hand as rows of '.' (transparent), 'X' (black) and 'o' (white). The tip
    of the index finger is at column 13, row 4."""
    size = 32
    solid = [[False] * size for _ in range(size)]

    def fill(left, top, right, bottom):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                solid[y][x] = True

    fill(12, 4, 14, 5)     # rounded tip of the index finger
    fill(11, 5, 15, 20)    # index finger
    fill(16, 10, 18, 20)   # middle finger
    fill(15, 11, 19, 20)
    fill(20, 11, 22, 20)   # ring finger
    fill(19, 12, 23, 20)
    fill(24, 13, 25, 20)   # little finger
    fill(23, 14, 26, 20)
    fill(11, 18, 26, 25)   # palm
    fill(12, 26, 25, 27)
    fill(13, 28, 24, 31)   # wrist
    for step in range(7):  # thumb, reaching up and out to the left
        fill(10 - step // 2, 16 + step, 11, 17 + step)
    rows = []
    for y in range(size):
        row = ""
        for x in range(size):
            if not solid[y][x]:
                row += "."
                continue
            edge = any(not (0 <= x + dx < size and 0 <= y + dy < size and solid[y + dy][x + dx])
                       for dx in (-1, 0, 1) for dy in (-1, 0, 1))
            gap = x in (15, 19, 23) and y <= 18  # lines between the fingers
            row += "X" if edge or gap or y == size - 1 else "o"
        rows.append(row)
    return rows


def write_cursor(path):
    rows = hand_shape()
    size = len(rows)
    white = [1 if ch == "o" else 0 for row in rows for ch in row]
    transparent = [1 if ch == "." else 0 for row in rows for ch in row]
    xor_bits = pack_rows(white, size, size, 1)
    and_bits = pack_rows(transparent, size, size, 1)
    header = bitmap_info_header(size, size * 2, 1, 2, len(xor_bits) + len(and_bits))
    data = header + rgbquads([(0, 0, 0), (255, 255, 255)]) + xor_bits + and_bits
    # In a cursor file the two fields after the colour count hold the hot spot: (0, 0).
    write_icon_file(path, 2, [(size, size, 2, 0, 0, data)])


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "app", "res")
    os.makedirs(out, exist_ok=True)
    for path in (CONVERT, DAY_IMAGE, NIGHT_IMAGE):
        if not os.path.exists(path):
            sys.exit(f"missing {path} (tools/install-deps.sh installs it)")

    # Three times the thumbnails' size at 100%, so that they stay sharp up to 300%.
    day = load_scaled(DAY_IMAGE, 300, 150)
    # Lifted a little: at thumbnail size the city lights would otherwise vanish into black.
    night = Image(300, 150, [tuple(int(c) for c in brighten(colour, 0.45)) for colour in
                             load_scaled(NIGHT_IMAGE, 300, 150).pixels])
    # The custom style's thumbnail is the daytime map turned half round by the program, and the
    # chosen style's check mark is drawn by the program at the scale of the screen.
    maps = {
        "DayAndNight.png": day_and_night(day, night),  # 130
        "Daytime.png": day,                            # 131
        "Nighttime.png": night,                        # 132
    }
    for name, image in maps.items():
        write_png(os.path.join(out, name), image)

    write_icon(os.path.join(out, "Gloamery.ico"), load_scaled(DAY_IMAGE, 256, 128),
               load_scaled(NIGHT_IMAGE, 256, 128))
    write_cursor(os.path.join(out, "PointingHand.cur"))


if __name__ == "__main__":
    main()
