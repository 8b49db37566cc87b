#!/usr/bin/env python3
"""Measures exported metafiles against the drawings they came from.

Each drawing is opened in the stand-in host and its page exported; the
drawing is rendered with rsvg-convert, each metafile natively with
emf2svg-conv then rsvg-convert, and a Windows build's metafile also with
GDI's PlayEnhMetaFile (tavrel-emfplay under Wine), all at one size: the page
fits SIZE pixels. A pixel is inked when its alpha is above 0. Per drawing it
reports the intersection over union of the inked pixels and the mean colour
difference (0-255, per channel) over the pixels inked in both, writes a table
(TSV) and a contact sheet (drawing | native metafile | Windows metafile), and
checks the targets given with --min-iou / --min-agreement.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image, ImageDraw

HUNDREDTHS_MM_PER_UNIT = 2540.0 / 96


def run(command, **kwargs):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, **kwargs)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def export_all(host, drawings, work, name, wine_run=None):
    """Opens and exports every drawing in one host run; returns the metafiles
    (None where the export failed) and the drawing-skipped notes by index."""
    state = os.path.join(work, name)
    os.makedirs(state, exist_ok=True)
    scenario = os.path.join(work, name + ".scenario")
    with open(scenario, "w") as out:
        for i, copy in enumerate(drawings):
            out.write("open %s\nexport 1 <state>/%d.emf\nclose\n" % (os.path.basename(copy), i))
    log = os.path.join(work, name + ".jsonl")
    command = [host, "--state-dir", state, "--log", log, scenario]
    if wine_run:
        command = [wine_run, host, "--state-dir", windows_path(state), "--log", windows_path(log),
                   windows_path(scenario)]
    result = run(command, cwd=work)
    if result.returncode > 1 or not os.path.exists(log):
        sys.exit("compare-drawings: %s failed (%d): %s" % (host, result.returncode, result.stderr[:500]))
    skipped = {}
    with open(log, encoding="utf-8") as lines:
        for line in lines:
            entry = json.loads(line)
            if entry.get("kind") == "drawing-skipped":
                index = os.path.splitext(os.path.basename(entry["file"].replace("\\", "/")))[0]
                skipped[int(index)] = entry["what"]
    files = [os.path.join(state, "%d.emf" % i) for i in range(len(drawings))]
    return [f if os.path.exists(f) and os.path.getsize(f) > 0 else None for f in files], skipped


def header(emf):
    """The header's bounds (device units), frame (0.01 mm) and device units
    per page unit."""
    with open(emf, "rb") as f:
        data = f.read(88)
    numbers = np.frombuffer(data[8:40], dtype="<i4").tolist()
    device = np.frombuffer(data[72:88], dtype="<i4").tolist()
    per_unit = device[0] / device[2] * 25.4 / 96 if device[2] else 1.0
    return numbers[0:4], numbers[4:8], per_unit


def render_svg(svg, out, width, height):
    result = run(["rsvg-convert", "-w", str(width), "-h", str(height), "-o", out, svg])
    if result.returncode != 0:
        return None
    return np.asarray(Image.open(out).convert("RGBA"))


def natural_size(svg, work):
    """The page size in SVG units, as rsvg-convert has it. Its rendering
    rounds the size up to whole pixels, so a small page is measured again
    enlarged to about 1024 pixels."""
    out = os.path.join(work, "natural.png")
    if run(["rsvg-convert", "-o", out, svg]).returncode != 0:
        return None
    width, height = Image.open(out).size
    if max(width, height) >= 1024:
        return width, height
    zoom = 1024 / max(width, height)
    if run(["rsvg-convert", "-z", "%.6f" % zoom, "-o", out, svg]).returncode != 0:
        return None
    width, height = Image.open(out).size
    return width / zoom, height / zoom


class Canvas:
    """The page rendered so that it fits `size` pixels."""

    def __init__(self, width_units, height_units, size):
        self.width_units, self.height_units = width_units, height_units
        self.scale = size / max(width_units, height_units)
        self.width = max(1, round(width_units * self.scale))
        self.height = max(1, round(height_units * self.scale))

    def frame_pixels(self, frame):
        """The metafile's frame on the canvas: left, top, right, bottom."""
        return [round(v / HUNDREDTHS_MM_PER_UNIT * self.scale) for v in frame]

    def blank(self):
        return np.zeros((self.height, self.width, 4), dtype=np.uint8)


def render_emf_natively(emf, canvas, work, stem):
    """emf2svg-conv then rsvg-convert. emf2svg-conv draws in device units
    from the header's bounds; its picture is put on the page by giving it
    the page as its view box."""
    svg = os.path.join(work, stem + ".svg")
    if run(["emf2svg-conv", "-i", emf, "-o", svg]).returncode != 0 or not os.path.exists(svg):
        return None
    bounds, _, per_unit = header(emf)
    with open(svg, encoding="utf-8", errors="replace") as f:
        text = f.read()
    start = text.find("<svg")
    end = text.find(">", start)
    if start < 0 or end < 0:
        return None
    root = '<svg version="1.1" xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" ' \
           'width="%d" height="%d" viewBox="%.6f %.6f %.6f %.6f" preserveAspectRatio="none">' % (
               canvas.width, canvas.height, -bounds[0], -bounds[1], canvas.width_units * per_unit,
               canvas.height_units * per_unit)
    with open(svg, "w", encoding="utf-8") as f:
        f.write(text[:start] + root + text[end + 1:])
    return render_svg(svg, os.path.join(work, stem + ".png"), canvas.width, canvas.height)


def paste(image, picture, left, top):
    h, w = picture.shape[:2]
    x0, y0 = max(left, 0), max(top, 0)
    x1, y1 = min(left + w, image.shape[1]), min(top + h, image.shape[0])
    if x1 > x0 and y1 > y0:
        image[y0:y1, x0:x1] = picture[y0 - top:y1 - top, x0 - left:x1 - left]


def render_emf_with_gdi(jobs, emfplay, wine_run, work):
    """Plays every (emf, canvas, bmp) job in one run of tavrel-emfplay."""
    if not jobs:
        return
    arguments = []
    for emf, canvas, bmp in jobs:
        left, top, right, bottom = canvas.frame_pixels(header(emf)[1])
        arguments += [windows_path(emf), windows_path(bmp), str(canvas.width), str(canvas.height),
                      str(left), str(top), str(right), str(bottom)]
    result = run([wine_run, emfplay] + arguments, cwd=work)
    if result.returncode != 0:
        print("compare-drawings: tavrel-emfplay: %s" % result.stderr[:300], file=sys.stderr)


def compare(a, b):
    """Intersection over union of the inked pixels, and the mean colour
    difference over the pixels inked in both."""
    if a is None or b is None:
        return 0.0, None
    inked_a, inked_b = a[:, :, 3] > 0, b[:, :, 3] > 0
    union = np.count_nonzero(inked_a | inked_b)
    both = inked_a & inked_b
    iou = 1.0 if union == 0 else np.count_nonzero(both) / union
    if not both.any():
        return iou, None
    difference = np.abs(a[both][:, :3].astype(np.int32) - b[both][:, :3].astype(np.int32))
    return iou, float(difference.mean())


def cell(image, size):
    """An image on a light chequerboard, in a size x size cell."""
    board = Image.new("RGBA", (size, size), (255, 255, 255, 255))
    draw = ImageDraw.Draw(board)
    for y in range(0, size, 16):
        for x in range(0, size, 16):
            if (x // 16 + y // 16) % 2:
                draw.rectangle([x, y, x + 15, y + 15], fill=(228, 228, 228, 255))
    if image is not None:
        picture = Image.fromarray(image, "RGBA")
        board.alpha_composite(picture, ((size - picture.width) // 2, (size - picture.height) // 2))
    else:
        draw.line([0, 0, size, size], fill=(200, 0, 0, 255), width=3)
    return board


def contact_sheet(rows, size, out):
    label = 14
    sheet = Image.new("RGB", (3 * (size + 4) + 4, len(rows) * (size + label + 4) + 4), (90, 90, 90))
    draw = ImageDraw.Draw(sheet)
    for r, (title, images) in enumerate(rows):
        y = 4 + r * (size + label + 4)
        draw.text((4, y), title, fill=(255, 255, 255))
        for c, image in enumerate(images):
            sheet.paste(cell(image, size), (4 + c * (size + 4), y + label))
    sheet.save(out)


def fmt(value):
    return "-" if value is None else "%.4f" % value


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("drawings", nargs="+")
    parser.add_argument("--native-host", help="the native tavrel-host")
    parser.add_argument("--skip-without-native", action="store_true",
                        help="a --native-host that is not built: measure without it, then exit 77 (skipped)")
    parser.add_argument("--windows-host", help="a Windows tavrel-host.exe, run with --wine-run")
    parser.add_argument("--emfplay", help="tavrel-emfplay.exe of the Windows build")
    parser.add_argument("--wine-run", help="scripts/wine-run")
    parser.add_argument("--size", type=int, default=256)
    parser.add_argument("--out", required=True, help="folder for table.tsv and sheet.png")
    parser.add_argument("--sheet-rows", type=int, default=60, help="the worst drawings shown on the sheet")
    parser.add_argument("--min-iou", type=float, help="each drawing against each metafile, natively rendered")
    parser.add_argument("--min-iou-skipped", type=float,
                        help="the same for a drawing the host reports drawing-skipped for (default: --min-iou)")
    parser.add_argument("--explain-below", type=float,
                        help="a drawing below this IoU needs a drawing-skipped line naming what was not drawn")
    parser.add_argument("--min-agreement", type=float, help="native against Windows metafile, natively rendered")
    parser.add_argument("--min-median", type=float, help="the median of the drawings' IoU")
    args = parser.parse_args()
    for name in ("native_host", "windows_host", "emfplay", "wine_run"):
        if getattr(args, name):
            setattr(args, name, os.path.abspath(getattr(args, name)))
    os.makedirs(args.out, exist_ok=True)
    missing_native = args.native_host and not os.path.exists(args.native_host) and args.skip_without_native
    if missing_native:
        print("compare-drawings: no native build (%s): the Windows metafiles are not held against native ones"
              % args.native_host)
        args.native_host = None
    work = tempfile.mkdtemp(prefix="compare-drawings-")
    try:
        status = measure(args, work)
        return 77 if status == 0 and missing_native else status
    finally:
        shutil.rmtree(work, ignore_errors=True)


def measure(args, work):
    sources = args.drawings
    copies = []
    for i, svg in enumerate(sources):
        copy = os.path.join(work, "%d.svg" % i)
        shutil.copyfile(svg, copy)
        copies.append(copy)
    native, native_skipped = export_all(args.native_host, copies, work, "native") if args.native_host else (
        [None] * len(copies), {})
    windows, windows_skipped = export_all(args.windows_host, copies, work, "windows", args.wine_run) \
        if args.windows_host else ([None] * len(copies), {})

    results = []
    canvases = []
    for i, svg in enumerate(copies):
        size = natural_size(svg, work)
        canvas = Canvas(*size, args.size) if size else None
        canvases.append(canvas)
    gdi_jobs = []
    if args.windows_host and args.emfplay:
        for i, emf in enumerate(windows):
            if emf and canvases[i]:
                gdi_jobs.append((emf, canvases[i], os.path.join(work, "gdi-%d.bmp" % i)))
        render_emf_with_gdi(gdi_jobs, args.emfplay, args.wine_run, work)

    for i, svg in enumerate(copies):
        canvas = canvases[i]
        row = {"file": sources[i], "skipped": native_skipped.get(i) or windows_skipped.get(i) or []}
        drawing = render_svg(svg, os.path.join(work, "drawing.png"), canvas.width, canvas.height) if canvas else None
        native_image = render_emf_natively(native[i], canvas, work, "n") if native[i] and canvas else None
        windows_image = render_emf_natively(windows[i], canvas, work, "w") if windows[i] and canvas else None
        gdi_bmp = os.path.join(work, "gdi-%d.bmp" % i)
        gdi_image = np.asarray(Image.open(gdi_bmp).convert("RGBA")) if os.path.exists(gdi_bmp) else None
        if args.native_host:
            row["native"], row["native-colour"] = compare(drawing, native_image)
        if args.windows_host:
            row["windows"], row["windows-colour"] = compare(drawing, windows_image)
            if gdi_image is not None:
                row["gdi"], row["gdi-colour"] = compare(drawing, gdi_image)
            if args.native_host:
                row["agreement"], _ = compare(native_image, windows_image)
        row["images"] = [drawing, native_image, windows_image if windows_image is not None else gdi_image]
        results.append(row)

    columns = [c for c in ("native", "native-colour", "windows", "windows-colour", "gdi", "gdi-colour", "agreement")
               if any(c in r for r in results)]
    with open(os.path.join(args.out, "table.tsv"), "w") as table:
        table.write("\t".join(["drawing"] + columns + ["skipped"]) + "\n")
        for r in results:
            table.write("\t".join([r["file"]] + [fmt(r.get(c)) for c in columns] + [", ".join(r["skipped"])]) + "\n")

    def worst(r):
        return min(r.get(c, 1.0) for c in ("native", "windows", "gdi", "agreement"))

    ranked = sorted(results, key=worst)
    contact_sheet([("%s  IoU %s" % (os.path.basename(r["file"]), " ".join(
        "%s=%.3f" % (c, r[c]) for c in ("native", "windows", "gdi", "agreement") if c in r)), r["images"])
                   for r in ranked[:args.sheet_rows]], args.size, os.path.join(args.out, "sheet.png"))

    failures = []
    for r in results:
        for c in ("native", "windows"):
            bar = args.min_iou
            if r["skipped"] and args.min_iou_skipped is not None:
                bar = args.min_iou_skipped
            if bar is not None and c in r and r[c] < bar:
                failures.append("%s: IoU %s %.4f below %.2f" % (r["file"], c, r[c], bar))
            if args.explain_below is not None and c in r and r[c] < args.explain_below and not r["skipped"]:
                failures.append("%s: IoU %s %.4f below %.2f without a drawing-skipped line" %
                                (r["file"], c, r[c], args.explain_below))
        if args.min_agreement is not None and "agreement" in r and r["agreement"] < args.min_agreement:
            failures.append("%s: native and Windows metafile agree %.4f, below %.2f" %
                            (r["file"], r["agreement"], args.min_agreement))
    for c in ("native", "windows", "gdi", "agreement"):
        values = [r[c] for r in results if c in r]
        if values:
            median = float(np.median(values))
            low = [r for r in results if c in r and r[c] < 0.5]
            unexplained = [r for r in low if not r["skipped"]]
            print("%-9s median IoU %.4f, min %.4f, %d below 0.5 (%d without drawing-skipped)" %
                  (c, median, min(values), len(low), len(unexplained)))
            if c in ("native", "windows") and args.min_median is not None and median < args.min_median:
                failures.append("median IoU %s %.4f below %.2f" % (c, median, args.min_median))
    print("worst:")
    for r in ranked[:5]:
        print("  %.4f %s %s" % (worst(r), r["file"], ("(skipped: %s)" % ", ".join(r["skipped"])) if r["skipped"] else ""))
    print("table: %s, sheet: %s" % (os.path.join(args.out, "table.tsv"), os.path.join(args.out, "sheet.png")))
    for failure in failures:
        print("FAIL " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
