#!/usr/bin/env python3
"""Checks the dialog layouts of the compiled resources: nothing overlaps, nothing sticks out.

    x86_64-w64-mingw32-windres -I. -Ires res/Ombrix.rc -O res -o build/Ombrix.res
    python3 tools/check_rc_layout.py build/Ombrix.res

Reads the binary .res (what the program really gets), walks every DIALOGEX template and
reports, in dialog units: a control outside its dialog, two controls that overlap, a control
that crosses the frame of a group box, and group boxes that overlap. A closed drop-down list
counts 12 units high, whatever height its dropped list has. Exit status 1 on any finding.
"""
import struct
import sys

RT_DIALOG = 5
BUTTON, EDIT, STATIC, LISTBOX, SCROLLBAR, COMBOBOX = 0x80, 0x81, 0x82, 0x83, 0x84, 0x85
CLASS_NAMES = {"button": BUTTON, "edit": EDIT, "static": STATIC, "listbox": LISTBOX, "combobox": COMBOBOX}
BS_TYPEMASK, BS_GROUPBOX = 0x0F, 0x07
CBS_DROPDOWNLIST = 0x0003
DS_SETFONT, DS_SHELLFONT = 0x40, 0x48
CLOSED_COMBO_HEIGHT = 12

# Overlaps the layout intends, by dialog id: pairs of control ids, or (control, "group at x,y").
INTENDED = {
    # The three character lists share one place; the page shows exactly one of them.
    1005: {frozenset({219, 221}), frozenset({219, 222}), frozenset({221, 222})},
    # The title banner stands on the top edge of the "Mode" frame, like a caption.
    1002: {("bitmap", (82, 7))},
}


def read_sz_or_ord(data, pos):
    first = struct.unpack_from("<H", data, pos)[0]
    if first == 0x0000:
        return None, pos + 2
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def align(pos, n=4):
    return (pos + n - 1) & ~(n - 1)


def resources(data):
    pos = 0
    while pos + 8 <= len(data):
        data_size, header_size = struct.unpack_from("<II", data, pos)
        rtype, p = read_sz_or_ord(data, pos + 8)
        name, p = read_sz_or_ord(data, p)
        body = data[pos + header_size : pos + header_size + data_size]
        if data_size:
            yield rtype, name, body
        pos = align(pos + header_size + data_size)


class Control:
    def __init__(self, cid, cls, style, x, y, w, h, text):
        self.cid, self.cls, self.style, self.text = cid, cls, style, text
        self.x, self.y, self.w, self.h = x, y, w, h
        if cls == COMBOBOX and (style & 0x3) == CBS_DROPDOWNLIST:
            self.h = min(h, CLOSED_COMBO_HEIGHT)
        self.is_group = cls == BUTTON and (style & BS_TYPEMASK) == BS_GROUPBOX
        self.is_bitmap = cls == STATIC and (style & 0x1F) == 0x0E  # SS_BITMAP

    @property
    def rect(self):
        return self.x, self.y, self.x + self.w, self.y + self.h

    def name(self):
        if self.is_group:
            return f'group "{self.text}" at {self.x},{self.y}'
        label = f' "{self.text}"' if isinstance(self.text, str) and self.text else ""
        return f"control {self.cid}{label} at {self.x},{self.y} ({self.w}x{self.h})"


def parse_dialog(body):
    dlg_ver, signature = struct.unpack_from("<HH", body, 0)
    if (dlg_ver, signature) != (1, 0xFFFF):
        raise ValueError("not a DIALOGEX template")
    _help, _ex, style, count, _x, _y, cx, cy = struct.unpack_from("<IIIHhhhh", body, 4)
    p = 26
    _menu, p = read_sz_or_ord(body, p)
    _cls, p = read_sz_or_ord(body, p)
    title, p = read_sz_or_ord(body, p)
    if style & DS_SETFONT or style & DS_SHELLFONT == DS_SHELLFONT:
        p += 6
        _face, p = read_sz_or_ord(body, p)
    controls = []
    for _ in range(count):
        p = align(p)
        _help, _ex, cstyle, x, y, w, h, cid = struct.unpack_from("<IIIhhhhi", body, p)
        p += 24
        cls, p = read_sz_or_ord(body, p)
        if isinstance(cls, str):
            cls = CLASS_NAMES.get(cls.lower(), cls)
        text, p = read_sz_or_ord(body, p)
        extra = struct.unpack_from("<H", body, p)[0]
        p += 2 + extra
        controls.append(Control(cid, cls, cstyle, x, y, w, h, text))
    return title, cx, cy, controls


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def inside(inner, outer):
    return outer[0] <= inner[0] and outer[1] <= inner[1] and inner[2] <= outer[2] and inner[3] <= outer[3]


def check_dialog(dialog_id, title, cx, cy, controls):
    problems = []
    intended = INTENDED.get(dialog_id, set())
    groups = [c for c in controls if c.is_group]
    others = [c for c in controls if not c.is_group]
    for c in controls:
        if not inside(c.rect, (0, 0, cx, cy)):
            problems.append(f"{c.name()} sticks out of the dialog ({cx}x{cy})")
    for i, a in enumerate(others):
        for b in others[i + 1 :]:
            if overlap(a.rect, b.rect) and frozenset({a.cid, b.cid}) not in intended:
                problems.append(f"{a.name()} overlaps {b.name()}")
    for g in groups:
        for c in others:
            if overlap(c.rect, g.rect) and not inside(c.rect, g.rect):
                if not (c.is_bitmap and ("bitmap", (g.x, g.y)) in intended):
                    problems.append(f"{c.name()} crosses the frame of {g.name()}")
    for i, a in enumerate(groups):
        for b in groups[i + 1 :]:
            if overlap(a.rect, b.rect) and not inside(a.rect, b.rect) and not inside(b.rect, a.rect):
                problems.append(f"{a.name()} overlaps {b.name()}")
    return [f'dialog {dialog_id} "{title}": {p}' for p in problems]


def main(argv):
    if len(argv) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[0], "rb") as f:
        data = f.read()
    problems = []
    dialogs = 0
    for rtype, name, body in resources(data):
        if rtype == RT_DIALOG:
            dialogs += 1
            problems += check_dialog(name, *parse_dialog(body))
    for p in problems:
        print(p)
    print(f"{dialogs} dialogs checked, {len(problems)} problems", file=sys.stderr)
    return 1 if problems or dialogs == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
