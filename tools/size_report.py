#!/usr/bin/env python3
"""What the program's bytes are made of, from the linker's map.

    python3 tools/size_report.py build/win32/OmbrixBiosEditor.map

Adds up the input sections that reach the file (code, read-only data, data,
unwind tables, imports, resources; not the debug information, which strip
removes, nor .bss, which takes no room in the file) by where they come from.
"""
import re
import sys
from collections import Counter

# The members of libstdc++ that make up the C++ locale: every one of them comes
# in as soon as anything converts text through a codecvt facet.
LOCALE = re.compile(r"locale|facets|codecvt|ctype|messages|monetary|numeric_members|time_members|collate"
                    r"|c\+\+locale|shim_facets|codecvt")
KEPT = (".text", ".rdata", ".data", ".pdata", ".xdata", ".idata", ".rsrc", ".CRT", ".tls", ".reloc")


def origin(source):
    member = re.search(r"([^/\\]+)\.a\(([^)]+)\)", source)
    if not member:
        if source.endswith((".res", ".rc.obj", ".rc.res")):
            return "resources (icon, title bitmaps, templates, manifest)"
        if "crt" in source.rsplit("/", 1)[-1]:
            return "C runtime start-up (MinGW crt objects)"
        return "the program's own code (app, shell, ui, pages, rom)"
    library, name = member.groups()
    if library.startswith("libombrix"):
        return "the program's own code (app, shell, ui, pages, rom)"
    if library == "libstdc++":
        return "libstdc++: the C++ locale" if LOCALE.search(name) else "libstdc++: the rest"
    if library in ("libgcc", "libgcc_eh", "libmingwex", "libmingw32", "libmsvcrt", "libmingwthrd", "libwinpthread",
                   "libpthread", "libmoldname"):
        return "C runtime, libgcc, MinGW support"
    return "import stubs and tables of system DLLs"


def main(path):
    sizes = Counter()
    pending = None
    in_map = False
    for line in open(path, errors="replace"):
        if line.startswith("Linker script and memory map"):
            in_map = True
            continue
        if not in_map:
            continue
        fields = line.split()
        if len(fields) == 1 and line.startswith(" ."):
            pending = fields[0]  # a long section name stands on a line of its own
            continue
        if line.startswith(" .") and len(fields) >= 4 and fields[1].startswith("0x"):
            name, size, source = fields[0], fields[2], " ".join(fields[3:])
        elif pending and len(fields) >= 3 and fields[0].startswith("0x") and fields[1].startswith("0x"):
            name, size, source = pending, fields[1], " ".join(fields[2:])
        else:
            pending = None
            continue
        pending = None
        if name.startswith(KEPT):
            sizes[origin(source)] += int(size, 16)
    total = sum(sizes.values())
    for what, size in sizes.most_common():
        print(f"  {size:9,d} bytes {100 * size / total:5.1f} %  {what}")
    print(f"  {total:9,d} bytes in sections (the file adds headers and alignment)")


if __name__ == "__main__":
    main(sys.argv[1])
