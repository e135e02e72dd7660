#!/usr/bin/env python3
"""SeaBIOS's VGA BIOS booted by QEMU after `ombrix font import` replaced its 8x16 font.

For each SeaBIOS VGA ROM that QEMU's VGA device runs, the unchanged ROM, the ROM with a font of Debian's
console-data imported and the ROM with every glyph turned upside down are booted in turn. A boot sector writes
the 256 characters under the BIOS's own boot text and hides the cursor; once they are there the text memory is
read and the screen is dumped, and every pixel of the 80x25 cells of 9x16 dots must be the one the glyph of the
cell's character gives. QEMU draws the ninth column of a cell from its eighth for B0h..DFh when the mode's
line-graphics bit is set (a VGA does it for C0h..DFh), blank otherwise. A ROM with one glyph changed after the
import must fail the check on that glyph's cells alone: the check sees a single wrong glyph.

Usage: boot_fonts.py OMBRIX [--keep FOLDER]   (FOLDER receives the screendumps, for the README)
"""
import ctypes
import gzip
import json
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

SEABIOS = "/usr/share/seabios"
CONSOLE_FONT = "/usr/share/consolefonts/lat2-sun16.psf.gz"
QEMU_VGA = (0x1234, 0x1111)  # the PCI vendor and device of QEMU's VGA device
FRAMEBUFFER_ONLY = {"vgabios-bochs-display.bin"}  # same IDs; sets 1280x800 graphics, no text cells
COLUMNS, ROWS, CELL_WIDTH, CELL_HEIGHT = 80, 25, 9, 16
TABLE = 16 * COLUMNS  # the boot sector's 256 characters begin in row 16
BOOT_LIMIT = 40  # seconds a boot may take before the test gives up on it (it takes about one)


class Failure(Exception):
    pass


def boot_sector():
    """Hides the cursor, writes characters 00h..FFh in grey on black from row 16 on, and halts."""
    code = bytes([
        0xB4, 0x01, 0xB9, 0x00, 0x20, 0xCD, 0x10,  # mov ah,1; mov cx,2000h; int 10h: no cursor
        0xB8, 0x00, 0xB8, 0x8E, 0xC0,  # mov ax,0B800h; mov es,ax
        0xBF, TABLE * 2 & 0xFF, TABLE * 2 >> 8,  # mov di,row 16
        0xB8, 0x00, 0x07, 0xB9, 0x00, 0x01, 0xFC,  # mov ax,0700h; mov cx,256; cld
        0xAB, 0xFE, 0xC0, 0xE2, 0xFB,  # next: stosw; inc al; loop next
        0xFA, 0xF4, 0xEB, 0xFD])  # cli; hlt; jmp $-1
    return code + bytes(510 - len(code)) + b"\x55\xAA"


def runs_on_qemu_vga(name, rom):
    """Whether QEMU's VGA device runs the ROM in VGA text mode: its PCI data structure names that device (SeaBIOS
    runs no other), and it is no ROM for the display without VGA, which draws its text into a framebuffer."""
    if len(rom) < 0x1A or name in FRAMEBUFFER_ONLY:
        return False
    pcir = struct.unpack_from("<H", rom, 0x18)[0]
    return rom[pcir:pcir + 4] == b"PCIR" and struct.unpack_from("<HH", rom, pcir + 4) == QEMU_VGA


def psf_glyphs(path):
    """The first 256 glyphs of a PSF font of 16 rows, read here without ombrix."""
    data = gzip.open(path).read() if path.endswith(".gz") else open(path, "rb").read()
    if data[:2] == b"\x36\x04":
        assert data[3] == CELL_HEIGHT
        return data[4:4 + 256 * CELL_HEIGHT]
    magic, _, header, _, _, size, height, width = struct.unpack_from("<8I", data)
    assert magic == 0x864AB572 and height == CELL_HEIGHT and width == 8 and size == CELL_HEIGHT
    return data[header:header + 256 * CELL_HEIGHT]


class Monitor:
    """QEMU's human monitor on its standard input and output."""

    def __init__(self, qemu):
        self.qemu = qemu
        self.command(None)

    def command(self, line):
        if line is not None:
            self.qemu.stdin.write(line.encode() + b"\n")
            self.qemu.stdin.flush()
        out = b""
        deadline = time.monotonic() + BOOT_LIMIT
        while not out.rstrip().endswith(b"(qemu)"):
            left = deadline - time.monotonic()
            if left <= 0 or self.qemu.poll() is not None:
                raise Failure("QEMU's monitor did not answer %r: %r" % (line, out[-300:]))
            if select.select([self.qemu.stdout], [], [], left)[0]:
                out += os.read(self.qemu.stdout.fileno(), 65536)
        return out.decode("latin-1")

    def text_cells(self):
        """The 80x25 words of character and attribute at B8000h."""
        out = self.command("xp /%dxh 0xb8000" % (COLUMNS * ROWS))
        words = [int(w, 16) for line in re.findall(r": ((?:0x[0-9a-f]{4} ?)+)", out) for w in line.split()]
        if len(words) != COLUMNS * ROWS:
            raise Failure("xp gave %d words" % len(words))
        return words


def die_with_parent():
    """QEMU is killed with this script, should a time limit end the script first."""
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def boot(rom_path, disk, ppm):
    """Boots with `rom_path` as the VGA BIOS until the boot sector's characters are on screen; the text cells and
    the screendump's pixels."""
    qemu = subprocess.Popen(
        ["qemu-system-x86_64", "-display", "none", "-vga", "none", "-device", "VGA,romfile=" + rom_path,
         "-monitor", "stdio", "-nodefaults", "-drive", "file=%s,format=raw,if=ide" % disk],
        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE, preexec_fn=die_with_parent)
    try:
        monitor = Monitor(qemu)
        deadline = time.monotonic() + BOOT_LIMIT
        while True:
            cells = monitor.text_cells()
            if cells[TABLE] == 0x0700 and cells[TABLE + 255] == 0x07FF:
                break
            if time.monotonic() > deadline:
                raise Failure("%s: the boot sector's characters did not appear in %d s" % (rom_path, BOOT_LIMIT))
            time.sleep(0.05)
        monitor.command("screendump " + ppm)
        return cells, read_ppm(ppm)
    finally:
        # Ended by its own process id, whatever happened.
        os.kill(qemu.pid, signal.SIGKILL)
        qemu.wait()
        qemu.stdin.close()
        qemu.stdout.close()
        qemu.stderr.close()


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    width, height = int(header.group(1)), int(header.group(2))
    if (width, height) != (COLUMNS * CELL_WIDTH, ROWS * CELL_HEIGHT):
        raise Failure("%s: the screen is %dx%d, not 80x25 cells of 9x16" % (path, width, height))
    return data[header.end():]


def wrong_cells(cells, pixels, glyphs):
    """The cells (row, column, character) whose pixels are not those of their glyph in `glyphs`."""
    wrong = []
    for index, cell in enumerate(cells):
        code, attribute = cell & 0xFF, cell >> 8
        if attribute != 0x07:
            raise Failure("cell %d has attribute %02Xh; the BIOS writes grey on black" % (index, attribute))
        row, column = divmod(index, COLUMNS)
        for y in range(CELL_HEIGHT):
            bits = glyphs[code * CELL_HEIGHT + y] << 1
            if 0xB0 <= code <= 0xDF:
                bits |= bits >> 1 & 1
            start = ((row * CELL_HEIGHT + y) * COLUMNS * CELL_WIDTH + column * CELL_WIDTH) * 3
            lit = [pixels[start + 3 * x:start + 3 * x + 3] != b"\0\0\0" for x in range(CELL_WIDTH)]
            if lit != [bool(bits >> (8 - x) & 1) for x in range(CELL_WIDTH)]:
                wrong.append((row, column, code))
                break
    return wrong


def text(cells, row):
    return "".join(chr(c & 0xFF) for c in cells[row * COLUMNS:(row + 1) * COLUMNS]).rstrip()


def ombrix(program, *args):
    done = subprocess.run([program, *args], capture_output=True, text=True)
    if done.returncode != 0:
        raise Failure("ombrix %s: status %d\n%s" % (" ".join(args), done.returncode, done.stderr))
    return done.stdout


def check_import(original, imported, font, length):
    """The import wrote only the font's glyphs and the checksum, and the declared length adds up to 0."""
    with open(imported, "rb") as f:
        data = f.read()
    if len(data) != len(original):
        raise Failure("%s: %d bytes, the ROM has %d" % (imported, len(data), len(original)))
    checksum = original[2] * 512 - 1
    changed = [i for i in range(len(data)) if data[i] != original[i] and not font <= i < font + length and i != checksum]
    if changed:
        raise Failure("%s: bytes outside the font changed: %s" % (imported, [hex(i) for i in changed[:10]]))
    if sum(data[:checksum + 1]) % 256 != 0:
        raise Failure("%s: the declared length does not add up to 0" % imported)
    return data


def main():
    program = sys.argv[1]
    keep = sys.argv[sys.argv.index("--keep") + 1] if "--keep" in sys.argv else None
    if shutil.which("qemu-system-x86_64") is None:
        raise Failure("qemu-system-x86_64 is missing: tools/setup.sh installs qemu-system-x86")
    if not os.path.exists(CONSOLE_FONT):
        raise Failure("%s is missing: tools/setup.sh installs console-data" % CONSOLE_FONT)
    names = sorted(n for n in (os.listdir(SEABIOS) if os.path.isdir(SEABIOS) else []) if n.startswith("vgabios-") and n.endswith(".bin"))
    roms = [n for n in names if runs_on_qemu_vga(n, open(os.path.join(SEABIOS, n), "rb").read())]
    if not roms:
        raise Failure("no SeaBIOS VGA ROM for QEMU's VGA device in %s: tools/setup.sh installs seabios" % SEABIOS)
    with tempfile.TemporaryDirectory() as work:
        disk = os.path.join(work, "boot.img")
        with open(disk, "wb") as f:
            f.write(boot_sector())
        for name in roms:
            path = os.path.join(SEABIOS, name)
            with open(path, "rb") as f:
                original = f.read()
            found = json.loads(ombrix(program, "font", "find", path, "--json"))["fonts"]
            if sorted(f["height"] for f in found) != [8, 14, 16] or not all(f["shape"] for f in found):
                raise Failure("%s: font find gave %s" % (name, found))
            font = next(f["offset"] for f in found if f["height"] == 16)
            stock = original[font:font + 256 * CELL_HEIGHT]
            flipped = b"".join(stock[c * CELL_HEIGHT:(c + 1) * CELL_HEIGHT][::-1] for c in range(256))
            with open(os.path.join(work, "flipped.f16"), "wb") as f:
                f.write(flipped)
            cases = [("stock", path, stock)]
            for label, source, glyphs in [("console", CONSOLE_FONT, psf_glyphs(CONSOLE_FONT)),
                                          ("flipped", os.path.join(work, "flipped.f16"), flipped)]:
                out = os.path.join(work, "%s-%s.bin" % (name, label))
                ombrix(program, "font", "import", path, "8x16", source, "-o", out)
                check_import(original, out, font, 256 * CELL_HEIGHT)
                cases.append((label, out, glyphs))
            # One glyph written wrong ('S', of the BIOS's own text), its checksum fixed: seen, and only there.
            data = bytearray(check_import(original, cases[-1][1], font, 256 * CELL_HEIGHT))
            data[font + 0x53 * CELL_HEIGHT + 5] ^= 0x18
            data[original[2] * 512 - 1] = (-sum(data[:original[2] * 512 - 1])) % 256
            planted = os.path.join(work, "%s-planted.bin" % name)
            with open(planted, "wb") as f:
                f.write(data)
            cases.append(("planted", planted, flipped))
            for label, rom, glyphs in cases:
                ppm = os.path.join(keep or work, "%s-%s.ppm" % (name[:-4], label))
                started = time.monotonic()
                cells, pixels = boot(rom, disk, ppm)
                if not text(cells, 0).startswith("SeaBIOS"):
                    raise Failure("%s %s: the first row is %r" % (name, label, text(cells, 0)))
                wrong = wrong_cells(cells, pixels, glyphs)
                codes = {code for _, _, code in wrong}
                expected = {0x53} if label == "planted" else set()
                if codes != expected:
                    raise Failure("%s %s: cells whose pixels are not their glyph's: %s" % (name, label, wrong[:12]))
                print("%s %s: %d cells as their glyphs%s, %.1f s" % (
                    name, label, COLUMNS * ROWS - len(wrong),
                    ", the %d of 53h not" % len(wrong) if wrong else "", time.monotonic() - started))
    print("QEMU showed every imported glyph on %s" % ", ".join(roms))


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print("FAIL:", failure, file=sys.stderr)
        sys.exit(1)
