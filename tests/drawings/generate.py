#!/usr/bin/env python3
"""Writes the drawing corpus: about sixty SVG files, each with its own mix of
constructs (arcs, smooth curves, use and symbol, units, transforms, colours,
groups, long outlines). Deterministic; run it again after changing it and
check the files in. Every drawing must export as a well-formed metafile in
every build (tests/hostmodel/DrawingCorpusTest.cpp)."""
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(13)
COLOURS = ["red", "navy", "teal", "olive", "DarkOrchid", "lightgoldenrodyellow", "#0a0", "#123456",
           "rgb(200,30,90)", "rgb(10%,60%,30%)", "currentColor", "none", "salmon", "SteelBlue"]


def head(width="200", height="200", extra=""):
    return (f"<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
            f"width='{width}' height='{height}' {extra}>\n")


def n(v):
    return f"{v:.3f}".rstrip("0").rstrip(".")


def paint():
    return f"fill='{rng.choice(COLOURS)}' stroke='{rng.choice(COLOURS)}' stroke-width='{n(rng.uniform(0.5, 4))}'"


def arcs(i):
    body = ""
    for large in (0, 1):
        for sweep in (0, 1):
            rx, ry, rot = rng.uniform(5, 40), rng.uniform(5, 40), rng.uniform(-90, 90)
            x, y = rng.uniform(20, 180), rng.uniform(20, 180)
            body += (f"<path {paint()} d='M{n(x)} {n(y)} A{n(rx)} {n(ry)} {n(rot)} {large} {sweep} "
                     f"{n(x + rng.uniform(-50, 50))} {n(y + rng.uniform(-50, 50))} z'/>\n")
    body += f"<path {paint()} d='m10,10a5,5 0 1,1 20,0a1 1 0 0 1 30 0l5-5a0 3 0 0 0 10 10'/>\n"
    return head() + body + "</svg>\n"


def smooth(i):
    d = f"M{n(rng.uniform(0, 50))},{n(rng.uniform(50, 150))}"
    d += f" C{n(rng.uniform(0, 60))} 10 70 10 80 60"
    for _ in range(4 + i % 5):
        d += f" S{n(rng.uniform(60, 200))} {n(rng.uniform(0, 200))} {n(rng.uniform(60, 200))} {n(rng.uniform(0, 200))}"
    d += " s10 20 20 0 Q 100 100 120 150 T 160 150 t 20 -30 t10 10"
    return head() + f"<path {paint()} d='{d}'/>\n<path fill='none' stroke='black' d='M0,0q50,100,100,0t100,0'/>\n</svg>\n"


def compact(i):
    return head() + ("<path fill='orange' d='M10-5.5.5L20.5-1e1l.5.5.5.5h1e1v-.5e1H1E2V9z"
                     "m-1-1 3-3 3 3zM50,50l10,0,0,10-10,0z'/>\n"
                     f"<polyline {paint()} points='10,10 20,20,30,10 40 20 50,10 .5.5'/>\n") + "</svg>\n"


def uses(i):
    body = ("<defs><symbol id='star' viewBox='-10 -10 20 20'><path d='M0-10 2.9-4 9.5-3 4.7 1.5 5.9 8 0 5-5.9 8"
            " -4.7 1.5-9.5-3-2.9-4z'/></symbol>\n<g id='pair'><circle r='5'/><rect x='8' y='-4' width='8' height='8'"
            " rx='2'/></g></defs>\n")
    for k in range(6 + i % 4):
        body += (f"<use xlink:href='#star' x='{n(rng.uniform(0, 160))}' y='{n(rng.uniform(0, 160))}' "
                 f"width='{n(rng.uniform(10, 40))}' height='{n(rng.uniform(10, 40))}' fill='{rng.choice(COLOURS)}'/>\n")
        body += (f"<use href='#pair' transform='translate({n(rng.uniform(0, 180))} {n(rng.uniform(0, 180))}) "
                 f"rotate({n(rng.uniform(0, 360))})' style='fill:{rng.choice(COLOURS[:10])}'/>\n")
    body += "<g id='twice'><use href='#pair' x='100'/><use href='#twice'/></g>\n"
    return head() + body + "</svg>\n"


def units(i):
    w, h = [("10cm", "80mm"), ("4in", "3in"), ("300pt", "200pt"), ("25pc", "20pc"), ("100%", "100%")][i % 5]
    return (head(w, h, "viewBox='0 0 400 300'")
            + f"<rect x='1cm' y='5%' width='50%' height='2in' {paint()}/>\n"
            + f"<circle cx='50%' cy='50%' r='10%' {paint()}/>\n"
            + f"<line x1='0' y1='0' x2='100%' y2='100%' stroke='black' stroke-width='1mm'/>\n"
            + f"<ellipse cx='300' cy='60' rx='2em' ry='1ex' {paint()}/>\n</svg>\n")


def transforms(i):
    body = ""
    depth = 2 + i % 4
    for _ in range(depth):
        t = rng.choice(["translate(10 5)", "rotate(15 100 100)", "scale(0.9)", "skewX(10)", "skewY(-8)",
                        "matrix(1 0.1 -0.1 1 5 5)", "translate(5) scale(1.1,0.9)"])
        body += f"<g transform='{t}' {paint()}>\n"
    body += "<rect x='40' y='40' width='60' height='40'/><circle cx='120' cy='120' r='20'/>\n"
    body += "<ellipse cx='60' cy='140' rx='30' ry='10'/><polygon points='150,20 190,60 150,100 110,60'/>\n"
    body += "</g>\n" * depth
    return head() + body + "</svg>\n"


def colours(i):
    body = ""
    names = ["aliceblue", "antiquewhite", "aqua", "aquamarine", "azure", "beige", "bisque", "blanchedalmond",
             "blueviolet", "burlywood", "cadetblue", "chartreuse", "chocolate", "coral", "cornflowerblue",
             "cornsilk", "crimson", "darkgoldenrod", "darkkhaki", "darkseagreen", "deeppink", "dodgerblue",
             "firebrick", "gainsboro", "honeydew", "hotpink", "indianred", "lavenderblush", "lawngreen",
             "lightslategrey", "mediumspringgreen", "mintcream", "mistyrose", "papayawhip", "peachpuff",
             "rosybrown", "seashell", "thistle", "tomato", "whitesmoke", "YellowGreen", "MidnightBlue"]
    for k in range(12):
        body += (f"<rect x='{(k % 4) * 50}' y='{(k // 4) * 50}' width='45' height='45' "
                 f"style='fill:{rng.choice(names)};stroke:{rng.choice(names)}'/>\n")
    body += "<g color='#abc' fill='currentColor'><circle cx='100' cy='180' r='15'/></g>\n"
    body += "<rect width='10' height='10' fill='#GGG' stroke='rgb(300,-5,20)'/>\n"
    return head() + body + "</svg>\n"


def large(i):
    count = [20000, 40000, 70000][i % 3]
    pts = " ".join(f"{n(100 + (90 if k % 2 else 70) * math.cos(2 * math.pi * k / count))},"
                   f"{n(100 + (90 if k % 2 else 70) * math.sin(2 * math.pi * k / count))}" for k in range(count))
    kind = "polygon" if i % 2 == 0 else "polyline"
    return head() + f"<{kind} fill='gold' stroke='black' points='{pts}'/>\n</svg>\n"


def approximations(i):
    return (head("200", "200") + "<defs><linearGradient id='g'><stop offset='0' stop-color='red'/>"
            "<stop offset='1' stop-color='blue'/></linearGradient><radialGradient id='r' xlink:href='#g'/>"
            "<filter id='f'><feGaussianBlur stdDeviation='2'/></filter><clipPath id='c'><rect width='50' height='50'/>"
            "</clipPath><marker id='m'><path d='M0 0L5 5'/></marker><pattern id='p' width='4' height='4'/></defs>\n"
            "<style>.x { fill: red }</style>\n"
            f"<rect class='x' width='100' height='60' fill='url(#g)' filter='url(#f)'/>\n"
            f"<circle cx='150' cy='50' r='30' fill='url(#r)' clip-path='url(#c)'/>\n"
            f"<path d='M10 150 L190 150' stroke='black' marker-end='url(#m)'/>\n"
            f"<rect y='160' width='50' height='30' fill='url(#p) green'/>\n"
            "<text x='10' y='100'>text is left out</text><image href='missing.png' width='10' height='10'/>\n"
            "<switch><foreignObject width='10' height='10'/><rect x='120' y='120' width='20' height='20'/></switch>\n"
            "<svg x='100' y='100' width='50' height='50' viewBox='0 0 10 10'><circle cx='5' cy='5' r='5'/></svg>\n"
            "</svg>\n")


def doctype(i):
    return ("<?xml version='1.0' encoding='UTF-8' standalone='no'?>\n"
            "<!DOCTYPE svg PUBLIC '-//W3C//DTD SVG 1.1//EN' 'http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd'>\n"
            "<!-- a comment --><?processing instruction?>\n"
            + head("48", "48", "viewBox='0 0 16 16' version='1.1'")
            + "<g style='display:inline;fill:#2e3436'><path d='m 8,1 a 7,7 0 0 0 -7,7 7,7 0 0 0 7,7 7,7 0 0 0 7,-7 "
              "7,7 0 0 0 -7,-7 z m 0,2 a 5,5 0 0 1 5,5 5,5 0 0 1 -5,5 5,5 0 0 1 -5,-5 5,5 0 0 1 5,-5 z'/></g>\n"
            "<rect width='16' height='16' style='display:none'/>\n</svg>\n")


def groups(i):
    body = ""
    for k in range(5 + i % 5):
        body += f"<g id='group{k}' {paint()} opacity='0.5'>\n"
        for _ in range(3):
            shape = rng.choice(["rect", "circle", "ellipse", "line", "path"])
            x, y = rng.uniform(0, 180), rng.uniform(0, 180)
            if shape == "rect":
                body += f"<rect x='{n(x)}' y='{n(y)}' width='{n(rng.uniform(1, 40))}' height='{n(rng.uniform(1, 40))}'/>\n"
            elif shape == "circle":
                body += f"<circle cx='{n(x)}' cy='{n(y)}' r='{n(rng.uniform(1, 20))}'/>\n"
            elif shape == "ellipse":
                body += f"<ellipse cx='{n(x)}' cy='{n(y)}' rx='{n(rng.uniform(1, 20))}' ry='{n(rng.uniform(1, 20))}'/>\n"
            elif shape == "line":
                body += f"<line x1='{n(x)}' y1='{n(y)}' x2='{n(rng.uniform(0, 200))}' y2='{n(rng.uniform(0, 200))}'/>\n"
            else:
                body += f"<path d='M{n(x)} {n(y)} h20 v20 h-20 z M{n(x + 5)} {n(y + 5)} v10 h10 v-10 z'/>\n"
        body += "</g>\n"
    return head() + body + "</svg>\n"


KINDS = [arcs, smooth, compact, uses, units, transforms, colours, large, approximations, doctype, groups]
COUNTS = {arcs: 8, smooth: 8, compact: 2, uses: 6, units: 5, transforms: 6, colours: 5, large: 3,
          approximations: 2, doctype: 2, groups: 13}


def main():
    for old in os.listdir(HERE):
        if old.endswith(".svg"):
            os.remove(os.path.join(HERE, old))
    total = 0
    for kind in KINDS:
        for i in range(COUNTS[kind]):
            with open(os.path.join(HERE, f"{kind.__name__}-{i + 1:02d}.svg"), "w", encoding="utf-8") as f:
                f.write(kind(i))
            total += 1
    print(f"{total} drawings")


if __name__ == "__main__":
    main()
