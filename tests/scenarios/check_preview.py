"""Checks that a metafile's preview shows everything the metafile draws.

A preview is the metafile rendered the way the demo renders it: emf2svg-conv
sizes the picture to the header's bounds, then rsvg-convert draws it. Usage:

    check_preview.py PREVIEW.svg [SCALE]

renders PREVIEW.svg as it is and again with a margin around it, both at SCALE
pixels per unit (default 4), and fails when the margin shows ink the preview
left out: more than 0.2 % of the inked pixels (an alpha above 0), which is
where outlines cut by bounds without the pen's width went. Exits 0 when the
preview shows it all, 1 when it cuts, 2 when it cannot be rendered.
"""

import re
import subprocess
import sys
import tempfile
from pathlib import Path

import numpy as np
from PIL import Image

MARGIN = 16  # units on every side: wider than any pen the tests draw with
MAX_LOST = 0.002


def inked(svg_text, work, name, scale):
    source = Path(work) / f"{name}.svg"
    source.write_text(svg_text, encoding="utf-8")
    png = Path(work) / f"{name}.png"
    subprocess.run(["rsvg-convert", "--zoom", str(scale), "-o", str(png), str(source)], check=True)
    return int(np.count_nonzero(np.asarray(Image.open(png).convert("RGBA"))[:, :, 3]))


def with_margin(svg_text):
    """The same picture with MARGIN units more on each side, drawn in place."""
    root = re.search(r"<svg\b[^>]*>", svg_text)
    width = re.search(r'\bwidth="([0-9.]+)"', root.group(0))
    height = re.search(r'\bheight="([0-9.]+)"', root.group(0))
    if not (root and width and height) or "viewBox" in root.group(0):
        raise ValueError("not a picture sized by width and height alone")
    w, h = float(width.group(1)), float(height.group(1))
    tag = root.group(0)
    tag = tag.replace(width.group(0), f'width="{w + 2 * MARGIN}"')
    tag = tag.replace(height.group(0), f'height="{h + 2 * MARGIN}"')
    tag = tag[:-1] + f' viewBox="{-MARGIN} {-MARGIN} {w + 2 * MARGIN} {h + 2 * MARGIN}">'
    return svg_text[: root.start()] + tag + svg_text[root.end() :]


def main(argv):
    if len(argv) not in (1, 2):
        print(__doc__, file=sys.stderr)
        return 2
    scale = float(argv[1]) if len(argv) == 2 else 4.0
    text = Path(argv[0]).read_text(encoding="utf-8")
    try:
        with tempfile.TemporaryDirectory() as work:
            shown = inked(text, work, "preview", scale)
            whole = inked(with_margin(text), work, "whole", scale)
    except (subprocess.CalledProcessError, ValueError, OSError) as error:
        print(f"check_preview: {argv[0]}: cannot render: {error}", file=sys.stderr)
        return 2
    if whole == 0:
        print(f"check_preview: {argv[0]}: draws nothing", file=sys.stderr)
        return 1
    lost = (whole - shown) / whole
    if lost > MAX_LOST:
        print(f"check_preview: {argv[0]}: the preview cuts {lost:.1%} of the ink "
              f"({shown} of {whole} pixels shown)", file=sys.stderr)
        return 1
    print(f"check_preview: {Path(argv[0]).name}: shows {shown} of {whole} inked pixels")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
