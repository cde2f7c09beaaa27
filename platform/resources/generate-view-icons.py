#!/usr/bin/env python3
"""Draws the tool bar icons of the KELRESRC resource library as SVG files, one per command id
(the image id is the command id, so XIToolBar finds it).

Run from this directory after changing a drawing: python3 generate-view-icons.py
The generated files are committed, so the build needs no Python.

Style: the navy and sky-blue palette of the wizard's images; 24 x 24, strokes of 1.5.
"""

import os

NAVY = "#1d3557"
BLUE = "#2b6cb0"
SKY = "#dbe7f5"
PAPER = "#fbfbf8"
RED = "#c53030"
GREEN = "#2f855a"
AMBER = "#d69e2e"

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "KELRESRC", "images")


def svg(body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">\n'
            + body + "</svg>\n")


def rect(x, y, w, h, fill=PAPER, stroke=NAVY, rx=1.5, width=1.5):
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{rx}" fill="{fill}" '
            f'stroke="{stroke}" stroke-width="{width}"/>\n')


def line(points, stroke=NAVY, width=1.5, cap="round"):
    d = "M" + " L".join(f"{x} {y}" for x, y in points)
    return (f'<path d="{d}" fill="none" stroke="{stroke}" stroke-width="{width}" '
            f'stroke-linecap="{cap}" stroke-linejoin="round"/>\n')


def circle(cx, cy, r, fill=PAPER, stroke=NAVY, width=1.5):
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{fill}" stroke="{stroke}" stroke-width="{width}"/>\n'


def text_lines(x, y, widths, gap=3, colour=NAVY):
    return "".join(line([(x, y + i * gap), (x + w, y + i * gap)], colour, 1.3) for i, w in enumerate(widths))


def page(x=5, y=3, w=14, h=18):
    return rect(x, y, w, h, rx=1)


def window(x=3, y=4, w=18, h=15):
    return rect(x, y, w, h) + f'<rect x="{x}" y="{y}" width="{w}" height="3.5" rx="1.5" fill="{BLUE}"/>\n'


def arrow(points, colour=BLUE):
    (x1, y1), (x2, y2) = points[-2], points[-1]
    head = []
    if x2 > x1:
        head = [(x2 - 3, y2 - 3), (x2, y2), (x2 - 3, y2 + 3)]
    elif x2 < x1:
        head = [(x2 + 3, y2 - 3), (x2, y2), (x2 + 3, y2 + 3)]
    elif y2 > y1:
        head = [(x2 - 3, y2 - 3), (x2, y2), (x2 + 3, y2 - 3)]
    else:
        head = [(x2 - 3, y2 + 3), (x2, y2), (x2 + 3, y2 + 3)]
    return line(points, colour, 1.8) + line(head, colour, 1.8)


def magnifier(extra=""):
    return circle(10, 10, 6, SKY) + line([(14.5, 14.5), (20, 20)], NAVY, 2.5) + extra


ICONS = {
    # View window base
    0x6002: rect(8, 2, 8, 5, SKY) + rect(2, 16, 8, 5, SKY) + rect(14, 16, 8, 5, SKY)
            + line([(12, 7), (12, 11.5), (6, 11.5), (6, 16)]) + line([(12, 11.5), (18, 11.5), (18, 16)]),
    0x6003: rect(2, 7, 8, 10, SKY) + rect(14, 7, 8, 10, SKY) + arrow([(10, 10), (14, 10)], GREEN)
            + arrow([(14, 14), (10, 14)], GREEN),
    0x6004: page() + rect(7.5, 6, 3, 3, AMBER, AMBER, 0.5, 1) + text_lines(12, 7.5, [4.5])
            + rect(7.5, 11, 3, 3, AMBER, AMBER, 0.5, 1) + text_lines(12, 12.5, [4.5])
            + rect(7.5, 16, 3, 3, AMBER, AMBER, 0.5, 1) + text_lines(12, 17.5, [4.5]),
    0x6005: rect(8, 2, 12, 15, SKY, rx=1) + rect(4, 6, 12, 16, rx=1) + text_lines(6.5, 10, [7, 5, 7, 4]),
    0x6006: page() + text_lines(7.5, 6.5, [9, 6]) + rect(9, 11, 9, 4.5, SKY, BLUE, 0.5, 1.2)
            + text_lines(7.5, 18.5, [8]),
    0x6032: window() + arrow([(12, 14), (22, 14)], GREEN),
    0x6033: window() + arrow([(22, 14), (12, 14)], GREEN),
    0x6091: window() + line([(6, 13), (9, 11), (12, 13), (15, 11), (18, 13)], GREEN, 1.8)
            + line([(6, 16.5), (9, 14.5), (12, 16.5), (15, 14.5), (18, 16.5)], GREEN, 1.8),
    0x6076: window() + rect(9, 10, 6, 7, AMBER, NAVY, 0.8, 1.2) + line([(10.5, 10), (10.5, 12.5), (13.5, 12.5), (13.5, 10)], NAVY, 1.2),
    0x6081: window() + '<path d="M8.5 15.5 A4 4 0 1 0 9 10.5" fill="none" stroke="' + GREEN
            + '" stroke-width="1.8" stroke-linecap="round"/>\n' + line([(7, 9), (9, 10.7), (11, 9)], GREEN, 1.8),
    0x7020: window() + line([(8, 13), (11, 16), (16.5, 10)], GREEN, 2),
    0x3117: window() + line([(9, 10.5), (15, 16.5)], RED, 2) + line([(15, 10.5), (9, 16.5)], RED, 2),
    1300: circle(12, 12, 9.5, SKY) + '<path d="M9 9.5 A3 3 0 1 1 13.2 12.3 C12.2 12.8 12 13.3 12 14.5" fill="none" stroke="'
          + NAVY + '" stroke-width="2" stroke-linecap="round"/>\n' + circle(12, 18, 1.1, NAVY, NAVY, 0),
    0x6109: page() + text_lines(7.5, 6.5, [9, 7]) + '<path d="M12 11 L17.5 20 H6.5 Z" fill="' + AMBER
            + '" stroke="' + NAVY + '" stroke-width="1.2" stroke-linejoin="round"/>\n'
            + line([(12, 14), (12, 16.5)], NAVY, 1.4) + circle(12, 18.3, 0.6, NAVY, NAVY, 0),
    0x3200: '<path d="M3 5 Q3 3 5 3 H19 Q21 3 21 5 V13 Q21 15 19 15 H10 L6 19 V15 H5 Q3 15 3 13 Z" fill="'
            + SKY + '" stroke="' + NAVY + '" stroke-width="1.5" stroke-linejoin="round"/>\n'
            + text_lines(6.5, 7, [11, 8]),
    # Help actions of the UI extension library (their command ids)
    0x3201: page() + circle(8.5, 8, 1, NAVY, NAVY, 0) + text_lines(11, 8, [5])
            + circle(8.5, 12, 1, NAVY, NAVY, 0) + text_lines(11, 12, [5])
            + circle(8.5, 16, 1, NAVY, NAVY, 0) + text_lines(11, 16, [5]),
    0x3202: '<path d="M3 5 Q3 3 5 3 H19 Q21 3 21 5 V13 Q21 15 19 15 H10 L6 19 V15 H5 Q3 15 3 13 Z" fill="'
            + SKY + '" stroke="' + NAVY + '" stroke-width="1.5" stroke-linejoin="round"/>\n'
            + '<path d="M10 7 A2 2 0 1 1 12.8 8.8 C12.2 9.2 12 9.6 12 10.5" fill="none" stroke="'
            + NAVY + '" stroke-width="1.6" stroke-linecap="round"/>\n' + circle(12, 12.6, 0.8, NAVY, NAVY, 0),
    0x3203: rect(2, 3, 13, 10, PAPER) + f'<rect x="2" y="3" width="13" height="3" rx="1.5" fill="{BLUE}"/>\n'
            + rect(9, 10, 13, 11, PAPER) + f'<rect x="9" y="10" width="13" height="3" rx="1.5" fill="{GREEN}"/>\n'
            + text_lines(11.5, 16, [8, 5]),
    # Finding and settings
    0x3152: magnifier(),
    0x3153: magnifier(arrow([(15, 5), (22, 5)], GREEN)),
    0x6018: circle(12, 12, 9.5, SKY) + line([(12, 10.5), (12, 17)], NAVY, 2.2) + circle(12, 7, 1.3, NAVY, NAVY, 0),
    0x6007: page() + rect(7.5, 6, 3, 3, PAPER, NAVY, 0.5, 1) + text_lines(12, 7.5, [4.5])
            + rect(7.5, 11, 3, 3, PAPER, NAVY, 0.5, 1) + line([(8.2, 12.4), (9, 13.3), (10.2, 11.6)], GREEN, 1)
            + text_lines(12, 12.5, [4.5]) + rect(7.5, 16, 3, 3, PAPER, NAVY, 0.5, 1) + text_lines(12, 17.5, [4.5]),
    0x3037: line([(4, 7), (20, 7)]) + line([(4, 12), (20, 12)]) + line([(4, 17), (20, 17)])
            + circle(8, 7, 2.2, AMBER) + circle(15, 12, 2.2, AMBER) + circle(10, 17, 2.2, AMBER),
    # Data map and tree
    0x6072: rect(3, 3, 18, 18, SKY) + line([(7, 12), (17, 12)], NAVY, 2) + line([(12, 7), (12, 17)], NAVY, 2),
    0x6028: rect(3, 3, 18, 18, SKY) + line([(7, 12), (17, 12)], NAVY, 2),
    0x6302: rect(2, 3, 7, 5, SKY) + line([(5.5, 8), (5.5, 18.5), (10, 18.5)]) + line([(5.5, 13), (10, 13)])
            + rect(10, 10.5, 11, 5, SKY) + rect(10, 16, 11, 5, SKY),
    0x6303: rect(2, 3, 7, 5, SKY) + line([(5.5, 8), (5.5, 13), (10, 13)]) + rect(10, 10.5, 11, 5, SKY)
            + line([(13, 13), (18, 13)], NAVY, 1.3),
    # Data map: zoom in, zoom out, actual size
    0xDA01: magnifier(line([(7, 10), (13, 10)], NAVY, 1.6) + line([(10, 7), (10, 13)], NAVY, 1.6)),
    0xDA02: magnifier(line([(7, 10), (13, 10)], NAVY, 1.6)),
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for command, body in ICONS.items():
        with open(os.path.join(OUT, f"{command}.svg"), "w") as out:
            out.write(svg(body))


if __name__ == "__main__":
    main()
