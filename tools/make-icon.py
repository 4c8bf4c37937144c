#!/usr/bin/env python3
"""Draws a program icon and writes it as a Windows .ico file with 16, 32 and 48 pixel images in
32-bit colour: the main program's (an eraser sweeping a page clean), or with --trelmak the plug-in
editor's (a pencil writing a list on a page). Run it when a design changes:

    tools/make-icon.py src/app/velk.ico
    tools/make-icon.py --trelmak src/plugins/trelmak.ico
"""
import math
import struct
import sys

def clamp(v):
    return max(0, min(255, int(round(v))))

def inside_rounded(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

def sample(u, v):
    """Colour (r, g, b, a) at unit coordinates (0..1, y down)."""
    # A rounded blue tile.
    if not inside_rounded(u, v, 0.04, 0.04, 0.96, 0.96, 0.18):
        return (0, 0, 0, 0)
    t = v
    r, g, b = 30 + 20 * t, 80 + 40 * t, 170 + 40 * t
    # A white page.
    if 0.2 <= u <= 0.72 and 0.16 <= v <= 0.84:
        r, g, b = 245, 247, 250
        # Three lines of text on it, the lower ones wiped away.
        for k, ly in enumerate((0.3, 0.42, 0.54)):
            if abs(v - ly) < 0.025 and 0.28 <= u <= 0.64 - 0.12 * k and k == 0:
                r, g, b = 120, 130, 150
    # The eraser: a tilted bar, red and white.
    ang = math.radians(-35)
    du, dv = u - 0.6, v - 0.62
    eu = du * math.cos(ang) - dv * math.sin(ang)
    ev = du * math.sin(ang) + dv * math.cos(ang)
    if abs(eu) <= 0.3 and abs(ev) <= 0.11:
        if eu < -0.05:
            r, g, b = 230, 70, 70
        else:
            r, g, b = 250, 250, 250
        if abs(abs(eu) - 0.3) < 0.03 or abs(abs(ev) - 0.11) < 0.03 or abs(eu + 0.05) < 0.015:
            r, g, b = 60, 40, 40
    return (r, g, b, 255)

def sample_trelmak(u, v):
    """The plug-in editor's icon at unit coordinates: a green tile, a page with a list, a pencil."""
    if not inside_rounded(u, v, 0.04, 0.04, 0.96, 0.96, 0.18):
        return (0, 0, 0, 0)
    t = v
    r, g, b = 40 + 20 * t, 130 + 40 * t, 80 + 30 * t
    # A white page with three list lines and their bullets.
    if 0.18 <= u <= 0.7 and 0.14 <= v <= 0.86:
        r, g, b = 245, 247, 250
        for ly in (0.3, 0.44, 0.58):
            if abs(v - ly) < 0.028:
                if 0.25 <= u <= 0.31:
                    r, g, b = 40, 140, 80
                elif 0.36 <= u <= 0.62:
                    r, g, b = 120, 130, 150
    # The pencil: a tilted bar, yellow with a dark point at its lower left end.
    ang = math.radians(-45)
    du, dv = u - 0.62, v - 0.6
    eu = du * math.cos(ang) - dv * math.sin(ang)
    ev = du * math.sin(ang) + dv * math.cos(ang)
    if -0.26 <= eu <= 0.3 and abs(ev) <= 0.085 + min(0.0, (eu + 0.14) * 0.7):
        if eu < -0.14:
            r, g, b = 235, 200, 150
            if eu < -0.21:
                r, g, b = 50, 45, 40
        elif eu > 0.22:
            r, g, b = 230, 120, 140
        else:
            r, g, b = 250, 200, 60
        if eu >= -0.14 and abs(abs(ev) - 0.085) < 0.025:
            r, g, b = 140, 90, 20
    return (r, g, b, 255)

SAMPLE = sample

def render(size, ss=4):
    px = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    c = SAMPLE((x + (sx + 0.5) / ss) / size, (y + (sy + 0.5) / ss) / size)
                    a = c[3] / 255.0
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += c[3]
            n = ss * ss
            alpha = acc[3] / n
            if alpha > 0:
                k = 255.0 / acc[3]
                row.append((clamp(acc[0] * k), clamp(acc[1] * k), clamp(acc[2] * k), clamp(alpha)))
            else:
                row.append((0, 0, 0, 0))
        px.append(row)
    return px

def dib(size):
    px = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = bytearray()
    for y in reversed(range(size)):
        for (r, g, b, a) in px[y]:
            data += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        bits = bytearray(mask_row)
        for x in range(size):
            if px[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(data) + bytes(mask)

def main(path):
    sizes = (16, 32, 48)
    images = [dib(s) for s in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(path, 'wb') as f:
        f.write(out)

if __name__ == '__main__':
    args = sys.argv[1:]
    if args and args[0] == '--trelmak':
        SAMPLE = sample_trelmak
        args = args[1:]
        main(args[0] if args else 'trelmak.ico')
    else:
        main(args[0] if args else 'velk.ico')
