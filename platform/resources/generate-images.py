#!/usr/bin/env python3
"""Draws the images of the KELWIZRS resource library as SVG files.

Run from this directory after changing a drawing: python3 generate-images.py
The generated files are committed, so the build needs no Python.

Style: a navy and sky-blue palette with red for the calendar and amber for time; digits are
drawn as seven-segment figures, so no image depends on an installed font.
"""

import math
import os

NAVY = "#1d3557"
BLUE = "#2b6cb0"
SKY = "#dbe7f5"
PAPER = "#fbfbf8"
RED = "#c53030"
GREEN = "#2f855a"
AMBER = "#d69e2e"
GREY = "#8c939d"
LINE = "#4a5568"

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "KELWIZRS", "images")

SEGMENTS = {
    "0": "abcdef", "1": "bc", "2": "abged", "3": "abgcd", "4": "fgbc",
    "5": "afgcd", "6": "afgedc", "7": "abc", "8": "abcdefg", "9": "abcdfg",
}


def svg(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n{body}</svg>\n')


def digit(x, y, w, h, t, ch, colour):
    """One seven-segment digit in the box (x, y, w, h) with segment thickness t."""
    half = h / 2
    r = t / 2
    boxes = {
        "a": (x + t * 0.7, y, w - 1.4 * t, t),
        "g": (x + t * 0.7, y + half - t / 2, w - 1.4 * t, t),
        "d": (x + t * 0.7, y + h - t, w - 1.4 * t, t),
        "f": (x, y + t * 0.7, t, half - 1.2 * t),
        "b": (x + w - t, y + t * 0.7, t, half - 1.2 * t),
        "e": (x, y + half + t * 0.5, t, half - 1.2 * t),
        "c": (x + w - t, y + half + t * 0.5, t, half - 1.2 * t),
    }
    out = ""
    for segment in SEGMENTS[ch]:
        bx, by, bw, bh = boxes[segment]
        out += (f'<rect x="{bx:.2f}" y="{by:.2f}" width="{bw:.2f}" height="{bh:.2f}" '
                f'rx="{r:.2f}" fill="{colour}"/>\n')
    return out


def number(x, y, w, h, t, gap, text, colour):
    return "".join(digit(x + i * (w + gap), y, w, h, t, ch, colour) for i, ch in enumerate(text))


def calendar(x, y, size, text, digit_colour=NAVY, page=PAPER, header=RED):
    """A calendar page with binding rings and a two-digit year."""
    s = size
    band = s * 0.26
    out = (f'<rect x="{x}" y="{y}" width="{s}" height="{s}" rx="{s * 0.09:.2f}" fill="{page}" '
           f'stroke="{NAVY}" stroke-width="{max(1.0, s * 0.04):.2f}"/>\n')
    out += (f'<path d="M{x} {y + band} V{y + s * 0.09:.2f} Q{x} {y} {x + s * 0.09:.2f} {y} '
            f'H{x + s - s * 0.09:.2f} Q{x + s} {y} {x + s} {y + s * 0.09:.2f} V{y + band}Z" '
            f'fill="{header}" stroke="{NAVY}" stroke-width="{max(1.0, s * 0.04):.2f}"/>\n')
    for rx in (x + s * 0.28, x + s * 0.72):
        out += (f'<rect x="{rx - s * 0.04:.2f}" y="{y - s * 0.07:.2f}" width="{s * 0.08:.2f}" '
                f'height="{s * 0.2:.2f}" rx="{s * 0.04:.2f}" fill="{SKY}" stroke="{NAVY}" '
                f'stroke-width="{max(0.8, s * 0.025):.2f}"/>\n')
    dw = s * 0.3
    dh = s * 0.5
    gap = s * 0.08
    dx = x + (s - 2 * dw - gap) / 2
    dy = y + band + (s - band - dh) / 2
    out += number(dx, dy, dw, dh, max(1.2, s * 0.075), gap, text, digit_colour)
    return out


def clock(cx, cy, r, minute_angle, hour_angle, face=PAPER, rim=NAVY, ticks=True):
    """A clock face; angles in degrees clockwise from twelve o'clock."""
    out = (f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{face}" stroke="{rim}" '
           f'stroke-width="{max(1.0, r * 0.1):.2f}"/>\n')
    if ticks:
        for i in range(12):
            a = math.radians(i * 30)
            inner = r * (0.72 if i % 3 == 0 else 0.8)
            outer = r * 0.88
            out += (f'<line x1="{cx + inner * math.sin(a):.2f}" y1="{cy - inner * math.cos(a):.2f}" '
                    f'x2="{cx + outer * math.sin(a):.2f}" y2="{cy - outer * math.cos(a):.2f}" '
                    f'stroke="{rim}" stroke-width="{max(0.8, r * (0.06 if i % 3 == 0 else 0.035)):.2f}" '
                    f'stroke-linecap="round"/>\n')
    for angle, length, width in ((hour_angle, 0.5, 0.09), (minute_angle, 0.75, 0.06)):
        a = math.radians(angle)
        out += (f'<line x1="{cx}" y1="{cy}" x2="{cx + r * length * math.sin(a):.2f}" '
                f'y2="{cy - r * length * math.cos(a):.2f}" stroke="{NAVY}" '
                f'stroke-width="{max(1.0, r * width):.2f}" stroke-linecap="round"/>\n')
    out += f'<circle cx="{cx}" cy="{cy}" r="{max(0.8, r * 0.08):.2f}" fill="{RED}"/>\n'
    return out


def arc(cx, cy, r, start, end):
    """Path data of an arc from `start` to `end` degrees, clockwise from twelve o'clock."""
    a0, a1 = math.radians(start), math.radians(end)
    large = 1 if (end - start) % 360 > 180 else 0
    return (f'M{cx + r * math.sin(a0):.2f} {cy - r * math.cos(a0):.2f} '
            f'A{r} {r} 0 {large} 1 {cx + r * math.sin(a1):.2f} {cy - r * math.cos(a1):.2f}')


def side_bitmap():
    body = ('<defs><linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{NAVY}"/><stop offset="1" stop-color="{BLUE}"/>'
            '</linearGradient></defs>\n'
            '<rect width="160" height="320" fill="url(#sky)"/>\n')
    # Faint listing-paper stripes behind the motif.
    for y in range(12, 320, 24):
        body += f'<rect x="0" y="{y}" width="160" height="10" fill="#ffffff" opacity="0.05"/>\n'
    # The old year's page slips away behind the new one.
    body += ('<g transform="rotate(-12 62 96)" opacity="0.75">'
             + calendar(22, 46, 84, "99", digit_colour=GREY, page="#e9edf2", header="#9b2c2c")
             + '</g>\n')
    body += calendar(46, 70, 92, "00")
    body += number(24, 196, 22, 38, 5, 6, "2000", AMBER)
    body += clock(80, 274, 30, minute_angle=-6, hour_angle=-1)
    return svg(160, 320, body)


def wizard_icon():
    return svg(32, 32, calendar(3, 5, 26, "00"))


def progress_icon():
    body = calendar(2, 3, 22, "00")
    body += clock(23, 23, 8, minute_angle=60, hour_angle=-10, face=SKY)
    return svg(32, 32, body)


def animation_frame(i):
    angle = i * 18
    body = clock(48, 48, 40, minute_angle=angle, hour_angle=-2)
    # A fading trail behind the minute hand shows the motion.
    for k, opacity in enumerate((0.3, 0.55, 0.85)):
        body += (f'<path d="{arc(48, 48, 33, angle - 54 + k * 18, angle - 36 + k * 18)}" '
                 f'fill="none" stroke="{AMBER}" stroke-width="5" opacity="{opacity}"/>\n')
    return svg(96, 96, body)


# --- 16 x 16 state icons: a phase glyph with a result badge at the lower right ----------------

def page_glyph(colour=LINE, lines=BLUE):
    out = (f'<path d="M2.5 0.5 H8 L11 3.5 V13.5 H2.5 Z" fill="{PAPER}" stroke="{colour}"/>\n'
           f'<path d="M8 0.5 V3.5 H11" fill="none" stroke="{colour}"/>\n')
    for y in (5.5, 7.5, 9.5):
        out += f'<line x1="4" y1="{y}" x2="9" y2="{y}" stroke="{lines}"/>\n'
    return out


def magnifier_glyph():
    return (f'<line x1="5.5" y1="7.5" x2="1.5" y2="12.5" stroke="{NAVY}" stroke-width="2.2" '
            f'stroke-linecap="round"/>\n'
            f'<circle cx="8.5" cy="5" r="4" fill="{SKY}" stroke="{NAVY}" stroke-width="1.5"/>\n')


def calendar_glyph():
    return (f'<rect x="1" y="2" width="11" height="10.5" rx="1" fill="{PAPER}" stroke="{NAVY}"/>\n'
            f'<rect x="1" y="2" width="11" height="3" rx="1" fill="{RED}" stroke="{NAVY}"/>\n'
            + "".join(f'<rect x="{x}" y="{y}" width="1.5" height="1.5" fill="{LINE}"/>\n'
                      for x in (3, 5.75, 8.5) for y in (6.5, 9)))


def convert_glyph():
    """A circular arrow, open at the lower right where the badge sits."""
    cx, cy, r = 6.5, 6.5, 4.3
    end = 90
    a = math.radians(end)
    px, py = cx + r * math.sin(a), cy - r * math.cos(a)
    tx, ty = math.cos(a), math.sin(a)  # clockwise tangent
    nx, ny = math.sin(a), -math.cos(a)  # outward normal
    tip = (px + tx * 2.6, py + ty * 2.6)
    left = (px - tx * 0.6 + nx * 2.4, py - ty * 0.6 + ny * 2.4)
    right = (px - tx * 0.6 - nx * 2.4, py - ty * 0.6 - ny * 2.4)
    return (f'<path d="{arc(cx, cy, r, 180, end + 360 - 8)}" fill="none" stroke="{NAVY}" '
            f'stroke-width="1.9"/>\n'
            f'<path d="M{tip[0]:.2f} {tip[1]:.2f} L{left[0]:.2f} {left[1]:.2f} '
            f'L{right[0]:.2f} {right[1]:.2f} Z" fill="{NAVY}"/>\n')


def badge(kind):
    if kind == "ok":
        return (f'<circle cx="11.5" cy="11.5" r="4.2" fill="{GREEN}" stroke="#ffffff"/>\n'
                '<path d="M9.4 11.6 L11 13.1 L13.6 10" fill="none" stroke="#ffffff" '
                'stroke-width="1.4" stroke-linecap="round" stroke-linejoin="round"/>\n')
    if kind == "warning":
        return (f'<path d="M11.5 6.6 L15.7 15.4 H7.3 Z" fill="{AMBER}" stroke="#ffffff" '
                'stroke-linejoin="round"/>\n'
                f'<rect x="10.9" y="9.3" width="1.2" height="3.4" fill="{NAVY}"/>\n'
                f'<rect x="10.9" y="13.3" width="1.2" height="1.2" fill="{NAVY}"/>\n')
    if kind == "error":
        return (f'<circle cx="11.5" cy="11.5" r="4.2" fill="{RED}" stroke="#ffffff"/>\n'
                '<path d="M9.8 9.8 L13.2 13.2 M13.2 9.8 L9.8 13.2" stroke="#ffffff" '
                'stroke-width="1.4" stroke-linecap="round"/>\n')
    if kind == "running":
        return (f'<circle cx="11.5" cy="11.5" r="4.2" fill="{BLUE}" stroke="#ffffff"/>\n'
                '<path d="M10.3 9.4 L13.7 11.5 L10.3 13.6 Z" fill="#ffffff"/>\n')
    if kind == "waiting":
        return (f'<circle cx="11.5" cy="11.5" r="4" fill="#ffffff" stroke="{GREY}" '
                'stroke-width="1.2"/>\n'
                f'<path d="M11.5 9.3 V11.5 H13.3" fill="none" stroke="{GREY}" '
                'stroke-width="1.1" stroke-linecap="round"/>\n')
    raise ValueError(kind)


def state_icon(glyph, kind):
    return svg(16, 16, glyph + badge(kind))


def main():
    os.makedirs(OUT, exist_ok=True)
    images = {
        62723: side_bitmap(),
        62721: wizard_icon(),
        62722: progress_icon(),
        62763: state_icon(page_glyph(GREY, GREY), "waiting"),
        62749: state_icon(page_glyph(), "running"),
        62750: state_icon(page_glyph(), "ok"),
        62751: state_icon(page_glyph(), "warning"),
        62752: state_icon(page_glyph(), "error"),
        62759: state_icon(magnifier_glyph(), "running"),
        62755: state_icon(magnifier_glyph(), "ok"),
        62756: state_icon(magnifier_glyph(), "warning"),
        62757: state_icon(magnifier_glyph(), "error"),
        62760: state_icon(calendar_glyph(), "ok"),
        62761: state_icon(calendar_glyph(), "warning"),
        62762: state_icon(calendar_glyph(), "error"),
        62764: state_icon(convert_glyph(), "running"),
        62765: state_icon(convert_glyph(), "ok"),
        62766: state_icon(convert_glyph(), "warning"),
        62767: state_icon(convert_glyph(), "error"),
    }
    for i in range(20):
        images[62728 + i] = animation_frame(i)
    for image_id, text in images.items():
        with open(os.path.join(OUT, f"{image_id}.svg"), "w") as f:
            f.write(text)


if __name__ == "__main__":
    main()
