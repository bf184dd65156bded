#!/usr/bin/env python3
"""Where a control of the label dialog lies in the dialog's client area, from
the dialog's layout table (src/dialog/MainLayout.cpp), docked by Align the way
the views dock it, for a test that clicks on the dialog from outside.

  layout_point.py MainLayout.cpp --client W H --font-height N
                  --pages L,T,W,H:L,T,W,H [--pages ...] [--bounds] CONTROL [X Y]

prints "x y": the client coordinates of the point (X, Y) of CONTROL (default:
its centre); with --bounds "x y width height" of the control. What the system's metrics decide comes from the running dialog:
the client size, the height of the dialog font (a group box's title) and, for
each tab control, its bounds and where its pages lie (both in client
coordinates). A tab control whose bounds are not the ones the table docks it
to is an error: the dialog is then not laid out by the table.
"""
import argparse
import re
import sys

SCROLL_EDGE = 2  # the sunken border of a scroll box (SM_CXEDGE)
TOKEN = re.compile(r'"((?:[^"\\]|\\.)*)"|T::(\w+)|\b(k(?:None|Top|Bottom|Left|Right|Client))\b'
                   r'|(-?\d+)|\b(true|false)\b')
ALIGNS = {"kNone": None, "kTop": "top", "kBottom": "bottom", "kLeft": "left",
          "kRight": "right", "kClient": "client"}


def entries(source):
    """The table's entries: the braces one level inside the table's braces."""
    i = source.index("table = {") + len("table = ")
    depth = 0
    begin = None
    while i < len(source):
        c = source[i]
        if c == '"':  # a string literal is skipped whole
            i += 1
            while source[i] != '"':
                i += 2 if source[i] == "\\" else 1
        elif c == "{":
            depth += 1
            if depth == 2:
                begin = i
        elif c == "}":
            if depth == 2:
                yield source[begin + 1:i]
            depth -= 1
            if depth == 0:
                return
        i += 1


class Control:
    def __init__(self, text):
        # The string literals may hold anything; the rest is read by token.
        tokens = []
        for m in TOKEN.finditer(text):
            string, kind, align, number, flag = m.groups()
            if string is not None:
                tokens.append(("s", string))
            elif kind:
                tokens.append(("t", kind))
            elif align:
                tokens.append(("a", align))
            elif number:
                tokens.append(("n", int(number)))
            else:
                tokens.append(("b", flag))
        if len(tokens) < 3 or tokens[0][0] != "s" or tokens[1][0] != "t":
            raise ValueError("unreadable layout entry: " + text.strip())
        self.name = tokens[0][1]
        self.kind = tokens[1][1]
        self.parent = tokens[2][1] or None
        self.align = None
        self.bounds = [0, 0, 0, 0]
        align_at = next((i for i, t in enumerate(tokens) if t[0] == "a"), None)
        if align_at is not None:
            self.align = ALIGNS[tokens[align_at][1]]
            numbers = [t[1] for t in tokens[align_at + 1:align_at + 5] if t[0] == "n"]
            self.bounds[:len(numbers)] = numbers
        self.children = []


def dock(children, rest):
    """Tops, bottoms, lefts and rights take a strip off the rest in turn,
    then the client-aligned ones fill what remains."""
    left, top, right, bottom = rest
    for align in ("top", "bottom", "left", "right", "client"):
        for c in children:
            if c.align != align:
                continue
            w, h = c.bounds[2], c.bounds[3]
            if align == "top":
                c.bounds = [left, top, right - left, h]
                top += h
            elif align == "bottom":
                c.bounds = [left, bottom - h, right - left, h]
                bottom -= h
            elif align == "left":
                c.bounds = [left, top, w, bottom - top]
                left += w
            elif align == "right":
                c.bounds = [right - w, top, w, bottom - top]
                right -= w
            else:
                c.bounds = [left, top, max(0, right - left), max(0, bottom - top)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("table")
    parser.add_argument("--client", nargs=2, type=int, required=True)
    parser.add_argument("--font-height", type=int, required=True)
    parser.add_argument("--pages", action="append", default=[],
                        help="a tab control's bounds:its pages' bounds, client coordinates")
    parser.add_argument("--bounds", action="store_true", help='print "x y width height"')
    parser.add_argument("control")
    parser.add_argument("point", nargs="*", type=int)
    args = parser.parse_args()

    with open(args.table, encoding="utf-8") as f:
        controls = [Control(e) for e in entries(f.read())]
    by_name = {c.name: c for c in controls}
    roots = []
    for c in controls:
        (by_name[c.parent].children if c.parent else roots).append(c)
    tabs = []
    # Each --pages is "x,y,w,h:x,y,w,h": a tab control and its page area,
    # as the host saw them.
    for reported in args.pages:
        bounds, pages = (list(map(int, part.split(","))) for part in reported.split(":"))
        tabs.append((bounds, pages))

    # Absolute positions, parents first (the table lists parents first).
    origin = {}
    dock(roots, [0, 0, args.client[0], args.client[1]])
    for c in roots:
        origin[c.name] = (c.bounds[0], c.bounds[1])

    def lay_out(c):
        x, y = origin[c.name]
        w, h = c.bounds[2], c.bounds[3]
        inner = (0, 0, w, h)
        if c.kind == "PageControl":
            match = [p for b, p in tabs if b[:2] == [x, y]]
            if not match:
                sys.exit("layout_point: no tab control reported at %d,%d, where the layout docks %s"
                         % (x, y, c.name))
            px, py, pw, ph = match[0]
            for page in c.children:
                page.bounds = [px - x, py - y, pw, ph]
                origin[page.name] = (px, py)
                lay_out(page)
            return
        if c.kind == "GroupBox":
            # Inside the frame and below the title.
            inner = (2, args.font_height, w - 2, h - 2)
        elif c.kind == "ScrollBox":
            # Children lie in a content area inside the border, unscrolled.
            x, y = x + SCROLL_EDGE, y + SCROLL_EDGE
            inner = (0, 0, w - 2 * SCROLL_EDGE, h - 2 * SCROLL_EDGE)
        dock(c.children, list(inner))
        if c.name == "Panel1":
            # The bar's resize handler: "&Ok" 85 pixels from its right edge,
            # the buttons before it 80 pixels apart.
            for i, name in enumerate(("bbtnOk", "bbtnCancel", "bbtnSave", "bbtnTisk")):
                by_name[name].bounds[0] = w - 85 - 80 * i
        for child in c.children:
            origin[child.name] = (x + child.bounds[0], y + child.bounds[1])
            lay_out(child)

    for c in roots:
        lay_out(c)

    if args.control not in by_name:
        sys.exit("layout_point: no control %s in the layout" % args.control)
    target = by_name[args.control]
    x, y = origin[target.name]
    if args.bounds:
        print(x, y, target.bounds[2], target.bounds[3])
        return
    if args.point:
        dx, dy = args.point
    else:
        dx, dy = target.bounds[2] // 2, target.bounds[3] // 2
    print(x + dx, y + dy)


if __name__ == "__main__":
    main()
