#!/usr/bin/env python3
"""Draws the program's icons as 16-colour Windows icon files.

QelIcon.ico (icon 101, the window class icon): 32x32.
tray.ico    (icon 102, the notification-area icon): 32x32 and 16x16.

Run it from this folder after changing the pictures; the .ico files are
kept in the repository.
"""
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREY, SILVER, RED, GREEN, BLUE, WHITE, NAVY = 0, 8, 7, 9, 10, 12, 15, 4
CLEAR = None


def monitor(size):
    """A monitor whose screen shows red, green and blue bars."""
    s = size / 32.0
    grid = [[CLEAR] * size for _ in range(size)]

    def box(x0, y0, x1, y1, colour):
        for y in range(round(y0 * s), round(y1 * s)):
            for x in range(round(x0 * s), round(x1 * s)):
                grid[y][x] = colour

    box(1, 2, 31, 24, BLACK)        # bezel outline
    box(2, 3, 30, 23, SILVER)       # bezel
    box(4, 5, 28, 21, BLACK)        # screen edge
    box(5, 6, 27, 20, NAVY)         # screen
    box(7, 8, 11, 18, RED)
    box(14, 8, 18, 18, GREEN)
    box(21, 8, 25, 18, BLUE)
    box(12, 24, 20, 27, GREY)       # neck
    box(7, 27, 25, 30, BLACK)       # foot outline
    box(8, 27, 24, 29, GREY)        # foot
    if size >= 32:
        box(5, 6, 27, 7, WHITE)     # a highlight on the glass
    return grid


def image(grid):
    size = len(grid)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 0, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_row = ((size * 4 + 31) // 32) * 4
    and_row = ((size + 31) // 32) * 4
    xor = b''
    mask = b''
    for row in reversed(grid):            # bottom-up
        nibbles = [0 if c is CLEAR else c for c in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += line.ljust(xor_row, b'\0')
        bits = 0
        for i, c in enumerate(row):
            if c is CLEAR:
                bits |= 1 << (size - 1 - i)
        line = bits.to_bytes((size + 7) // 8, 'big')
        mask += line.ljust(and_row, b'\0')
    return header + palette + xor + mask


def write_icon(path, sizes):
    images = [image(monitor(n)) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


write_icon('QelIcon.ico', [32])
write_icon('tray.ico', [32, 16])
