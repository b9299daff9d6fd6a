#!/usr/bin/env python3
"""Draw assets/FUURIN.bmp: the fortune strip of the toy.

Eleven frames of 18 x 36 pixels side by side (198 x 36, 24-bit BMP). Frames
0..9 are wind chimes, each with its own glass colour, its own painted
pattern on the bell and its own paper strip colour and mark, so a player sees
at a glance where the draw stopped; frame 10 is a bright flash.

    tools/gen_fuurin.py [OUTPUT]      (default assets/FUURIN.bmp)

Only the standard library is used, so the picture can be redrawn anywhere.
"""
import struct
import sys

W, H, FRAMES, FW = 198, 36, 11, 18

# Glass colours, strip colours and strip marks for faces 0..9.
GLASS = [(120, 190, 255), (255, 140, 160), (140, 230, 150), (255, 210, 110), (200, 150, 255),
         (110, 230, 230), (255, 170, 90), (180, 220, 90), (250, 120, 220), (150, 170, 255)]
STRIP = [(250, 250, 235), (255, 205, 215), (200, 240, 200), (255, 240, 170), (225, 205, 255),
         (195, 245, 245), (255, 215, 180), (230, 245, 190), (255, 200, 240), (205, 215, 255)]
INK = [(200, 30, 40), (40, 60, 160), (30, 110, 50), (160, 60, 20), (90, 30, 140),
       (20, 100, 120), (150, 40, 90), (60, 90, 20), (120, 20, 100), (30, 40, 110)]

# 3 x 5 digit shapes, painted on the strip so each face carries its number.
DIGITS = ["111101101101111", "010110010010111", "111001111100111", "111001111001111", "101101111001001",
          "111100111001111", "111100111101111", "111001010010010", "111101111101111", "111101111001111"]


def frame_pixels(k):
    px = [[(16, 18, 40)] * FW for _ in range(H)]  # night-blue background

    def put(x, y, c):
        if 0 <= x < FW and 0 <= y < H:
            px[y][x] = c

    if k == 10:
        # The flash: a white core with golden rays.
        for y in range(H):
            for x in range(FW):
                dx, dy = x - 8.5, y - 17.5
                d = (dx * dx + dy * dy) ** 0.5
                ray = (abs(dx) < 1.2) or (abs(dy) < 1.2) or abs(abs(dx) - abs(dy)) < 1.0
                if d < 5:
                    c = (255, 255, 255)
                elif ray and d < 17:
                    c = (255, 240, 120)
                else:
                    v = max(0, 255 - int(d * 9))
                    c = (255, max(120, v), max(40, v // 2))
                put(x, y, c)
        return px

    glass, strip, ink = GLASS[k], STRIP[k], INK[k]
    # The string from the top and the bell: a dome of glass with a rim.
    for y in range(0, 3):
        put(9, y, (200, 200, 200))
    for y in range(3, 13):
        half = min(7, 2 + (y - 3))
        for x in range(9 - half, 9 + half):
            shade = tuple(min(255, c + (40 if x < 9 - half + 2 else 0)) for c in glass)
            put(x, y, shade)
    for x in range(1, 17):
        put(x, 13, tuple(c // 2 for c in glass))
    # A painted pattern on the bell, different for every face.
    pattern = k % 5
    for x in range(3, 15):
        for y in range(5, 12):
            if pattern == 0 and (x + y) % 4 == 0:
                put(x, y, ink)
            elif pattern == 1 and y in (7, 10):
                put(x, y, ink)
            elif pattern == 2 and x % 3 == 0 and y > 6:
                put(x, y, ink)
            elif pattern == 3 and (x - 9) ** 2 + (y - 8) ** 2 <= (2 if k < 5 else 5):
                put(x, y, ink)
            elif pattern == 4 and (x * y) % 7 == 0:
                put(x, y, ink)
    # The clapper and its thread, then the paper strip.
    for y in range(14, 17):
        put(9, y, (220, 220, 220))
    put(8, 15, (240, 240, 240))
    put(10, 15, (240, 240, 240))
    for y in range(17, 35):
        for x in range(5, 13):
            put(x, y, strip)
    for y in range(17, 35):
        put(5, y, tuple(c * 3 // 4 for c in strip))
    # The face's number on the strip, and a mark below it.
    shape = DIGITS[k]
    for i, bit in enumerate(shape):
        if bit == "1":
            put(7 + i % 3, 20 + i // 3, ink)
    for x in range(6, 12):
        if (x + k) % 2 == 0:
            put(x, 28 + k % 3, ink)
    put(9, 32, ink)
    return px


def write_bmp(path):
    row_bytes = (W * 3 + 3) & ~3
    frames = [frame_pixels(k) for k in range(FRAMES)]
    data = bytearray()
    for y in range(H - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(W):
            r, g, b = frames[x // FW][y][x % FW]
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else "assets/FUURIN.bmp")
