#!/usr/bin/python3
"""How readable the text in part of a screenshot is; called by e2e_darkpalette.sh.

  contrast.py SHOT.ppm WxH+X+Y MIN_RATIO [dark]

The area's most common colour is its background; its text is the colour that stands out most from
it among those covering a few pixels (a lone pixel is an edge of a glyph). Exits 1 when the
contrast ratio of the two (as WCAG reckons it) is below MIN_RATIO, or, with "dark", when the
background is lighter than mid-grey.
"""
import re
import sys
from collections import Counter


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    # The header: P6, width, height and the largest value, each a word, comments allowed.
    fields = []
    at = 0
    while len(fields) < 4:
        match = re.compile(rb"\s*(#[^\n]*\n\s*)*(\S+)").match(data, at)
        fields.append(match.group(2))
        at = match.end()
    if fields[0] != b"P6" or int(fields[3]) != 255:
        sys.exit(f"{path}: not an 8-bit binary PPM (it begins {data[:20]!r})")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[at + 1:]


def luminance(rgb):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def main(path, area, minimum, *want):
    width, height, pixels = read_ppm(path)
    w, h, x, y = (int(n) for n in re.fullmatch(r"(\d+)x(\d+)\+(-?\d+)\+(-?\d+)", area).groups())
    if x < 0 or y < 0 or x + w > width or y + h > height or w == 0 or h == 0:
        sys.exit(f"the area {area} is not within the {width}x{height} screenshot")
    counts = Counter()
    for row in range(y, y + h):
        start = (row * width + x) * 3
        line = pixels[start:start + w * 3]
        counts.update(line[i:i + 3] for i in range(0, len(line), 3))
    background = tuple(counts.most_common(1)[0][0])
    text = max((tuple(c) for c, n in counts.items() if n >= 4), key=lambda c: ratio(c, background))
    found = ratio(text, background)
    said = f"text #{bytes(text).hex()} on #{bytes(background).hex()}: contrast {found:.2f}"
    if found < float(minimum):
        sys.exit(f"{said}, below {minimum}")
    if "dark" in want and luminance(background) > luminance((119, 119, 119)):
        sys.exit(f"{said}, but the background is not dark")
    print(said)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
