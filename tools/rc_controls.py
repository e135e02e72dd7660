#!/usr/bin/env python3
"""Writes the long runs of controls of res/Ombrix.rc between their GENERATED markers.

    python3 tools/rc_controls.py [res/Ombrix.rc]          rewrite the blocks in place
    python3 tools/rc_controls.py --check [res/Ombrix.rc]  exit 1 if a block is out of date

Positions are dialog units (x, y, width, height).
"""
import re
import sys

INDENT = " " * 4


def edit(control_id, x, y, w, h):
    return f"{INDENT}EDITTEXT        {control_id}, {x}, {y}, {w}, {h}, ES_AUTOHSCROLL"


def signature_boxes():
    # ASCII row: boxes 1..16; HEX row below it: boxes 17..32, each under its ASCII box.
    lines = [edit(i, 14 + 15 * (i - 1), 41, 13, 12) for i in range(1, 17)]
    lines += [edit(i, 14 + 15 * (i - 17), 65, 13, 12) for i in range(17, 33)]
    return lines


# Attribute controller columns. Boxes are 13 wide, so the columns stand 13 apart
# (31, 44, 57, 70, 83, 96); 43, 69 and 95 would make neighbours overlap by one unit.
ATTRIBUTE_COLUMNS = [31, 44, 57, 70, 83, 96]


def parameter_values():
    lines = [
        edit(35, 41, 49, 13, 12),  # Column
        edit(36, 89, 49, 13, 12),  # Rows - 1
        edit(37, 145, 49, 13, 12),  # Char Height
        edit(38, 215, 49, 26, 12),  # Regen Length, a word
    ]
    lines += [edit(39 + n, x, 49, 13, 12) for n, x in enumerate([283, 297, 311, 325])]  # Sequencer 1-4
    lines.append(edit(43, 47, 81, 13, 12))  # Miscellaneous Output
    # Six boxes to a row, 12 units from row to row.
    lines += [edit(44 + n, 135 + 14 * (n % 6), 101 + 12 * (n // 6), 13, 12) for n in range(25)]  # CRTC 0-18h
    lines += [edit(69 + n, ATTRIBUTE_COLUMNS[n % 6], 117 + 12 * (n // 6), 13, 12) for n in range(20)]  # ATC 0-13h
    lines += [edit(89 + n, 243 + 14 * (n % 6), 101 + 12 * (n // 6), 13, 12) for n in range(9)]  # GDC 0-8h
    return lines


# Rows stand 11 units apart; boxes and cells are 11 high so that neighbouring rows touch
# instead of overlapping by one unit. The row boxes are 18 wide (the gap to the grid allows
# it): at 14 the edit margins cut the second digit with the small dialog font under Wine.
GLYPH_ROW_HEIGHT = 11
GLYPH_ROW_BOX_WIDTH = 18


def glyph_grid():
    lines = []
    for r in range(16):
        y = 2 + 11 * r
        lines.append(edit(200 + r, 123, y, GLYPH_ROW_BOX_WIDTH, GLYPH_ROW_HEIGHT))
        for c in range(9):
            lines.append(
                f'{INDENT}CONTROL         "", {320 + 9 * r + c}, "Static", SS_LEFT, {145 + 14 * c}, {y}, 14, '
                f"{GLYPH_ROW_HEIGHT}, WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME"
            )
    return lines


BLOCKS = {
    "signature-boxes": signature_boxes,
    "parameter-values": parameter_values,
    "glyph-grid": glyph_grid,
}


def render(text):
    def replace(match):
        name = match.group(2)
        if name not in BLOCKS:
            raise SystemExit(f"unknown generated block {name}")
        body = "\n".join(BLOCKS[name]())
        return f"{match.group(1)}\n{body}\n{match.group(3)}"

    pattern = re.compile(r"(^[ \t]*// BEGIN GENERATED ([\w-]+)[ \t]*)\n.*?(^[ \t]*// END GENERATED \2)", re.S | re.M)
    result, count = pattern.subn(replace, text)
    if count != len(BLOCKS):
        raise SystemExit(f"expected {len(BLOCKS)} generated blocks, found {count}")
    return result


def main(argv):
    check = "--check" in argv
    paths = [a for a in argv if a != "--check"]
    path = paths[0] if paths else "res/Ombrix.rc"
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    result = render(text)
    if check:
        if result != text:
            print(f"{path}: generated controls are out of date; run tools/rc_controls.py", file=sys.stderr)
            return 1
        return 0
    if result != text:
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(result)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
