#!/usr/bin/env python3
"""Generates src/platform/windows_1252_tables.cpp.

Reads Microsoft's best-fit table of code page 1252 (bestfit1252.txt: MBTABLE
maps bytes to UTF-16, WCTABLE maps UTF-16 to bytes, best fit included) and
takes the canonical composition pairs from Python's unicodedata.

  generate_windows_1252_tables.py [BESTFIT_TXT] [-o OUTPUT_CPP]

The output layout is declared in src/platform/windows_1252_tables.h.
"""

import argparse
import pathlib
import sys
import unicodedata

REPO = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_INPUT = REPO.parent / "shared" / "data" / "bestfit1252.txt"
DEFAULT_OUTPUT = REPO / "src" / "platform" / "windows_1252_tables.cpp"

# Declares the layout; its kFirstComposingMark and kLastComposingMark must
# match the data, which the generated file checks with static_assert.
HEADER = "platform/windows_1252_tables.h"


def parse_bestfit(path):
    """Returns (default_byte, mbtable dict, wctable dict) of the file."""
    default_byte = None
    mbtable = {}
    wctable = {}
    section = None
    expected = {}
    # The file ends with a DOS end-of-file mark (Ctrl-Z).
    text = path.read_text(encoding="ascii").replace("\x1a", "")
    for raw in text.splitlines():
        line = raw.split(";", 1)[0].split()
        if not line:
            continue
        keyword = line[0].upper()
        if keyword == "CODEPAGE":
            if int(line[1]) != 1252:
                sys.exit(f"{path}: code page {line[1]}, expected 1252")
            continue
        if keyword == "CPINFO":
            if int(line[1]) != 1:
                sys.exit(f"{path}: not a single-byte code page")
            default_byte = int(line[2], 16)
            continue
        if keyword in ("MBTABLE", "WCTABLE"):
            section = keyword
            expected[section] = int(line[1])
            continue
        if keyword in ("DBCSRANGE", "DBCSTABLE"):
            sys.exit(f"{path}: unexpected {keyword}")
        if keyword == "ENDCODEPAGE":
            section = None
            continue
        if section is None or len(line) != 2:
            sys.exit(f"{path}: cannot read line {raw!r}")
        key, value = int(line[0], 16), int(line[1], 16)
        table = mbtable if section == "MBTABLE" else wctable
        if key in table:
            sys.exit(f"{path}: {section} lists {key:#x} twice")
        table[key] = value
    if default_byte is None:
        sys.exit(f"{path}: no CPINFO")
    for name, table in (("MBTABLE", mbtable), ("WCTABLE", wctable)):
        if len(table) != expected.get(name):
            sys.exit(f"{path}: {name} has {len(table)} entries, "
                     f"header says {expected.get(name)}")
    if sorted(mbtable) != list(range(256)):
        sys.exit(f"{path}: MBTABLE does not cover every byte")
    if any(u > 0xFFFF for u in mbtable.values()):
        sys.exit(f"{path}: MBTABLE value past U+FFFF")
    if any(u > 0xFFFF or b > 0xFF for u, b in wctable.items()):
        sys.exit(f"{path}: WCTABLE entry out of range")
    return default_byte, mbtable, wctable


def usable_wctable(default_byte, mbtable, wctable):
    """WCTABLE without the entries that Windows treats as having no byte.

    A unit that maps to the code page's own default byte ('?') counts as
    unmapped unless it is the character of that byte itself: the caller's
    default character replaces it, as for any unit the table does not list.
    """
    usable = {}
    dropped = []
    for unit, byte in sorted(wctable.items()):
        if byte == default_byte and mbtable[byte] != unit:
            dropped.append(unit)
        else:
            usable[unit] = byte
    return usable, dropped


def canonical_compositions():
    """(base, mark, composed) for every BMP pair that composes canonically.

    These are the primary composites: characters whose canonical
    decomposition is exactly (base, mark), both in the BMP, and which NFC
    yields again (so composition exclusions and singletons drop out).
    """
    pairs = []
    for composed in range(0x10000):
        if 0xD800 <= composed <= 0xDFFF:
            continue
        decomposition = unicodedata.decomposition(chr(composed))
        if not decomposition or decomposition.startswith("<"):
            continue
        parts = [int(p, 16) for p in decomposition.split()]
        if len(parts) != 2 or max(parts) > 0xFFFF:
            continue
        base, mark = parts
        if unicodedata.normalize("NFC", chr(base) + chr(mark)) != chr(composed):
            continue
        pairs.append((base, mark, composed))
    pairs.sort()
    return pairs


def hex_rows(values, per_row, width, indent="    "):
    rows = []
    for i in range(0, len(values), per_row):
        chunk = values[i:i + per_row]
        rows.append(indent + ", ".join(f"0x{v:0{width}X}" for v in chunk) + ",")
    return rows


def generate(input_path):
    default_byte, mbtable, wctable = parse_bestfit(input_path)
    usable, dropped = usable_wctable(default_byte, mbtable, wctable)
    zero_units = [u for u, b in usable.items() if b == 0]
    if zero_units != [0]:
        # Byte 0 doubles as "no byte" in the page table.
        sys.exit(f"{input_path}: units other than U+0000 map to byte 0")

    # Two-level table: page 0 is all "no byte"; every high byte that has
    # entries gets its own page.
    high_bytes = sorted({u >> 8 for u in usable})
    page_of = {high: i + 1 for i, high in enumerate(high_bytes)}
    pages = [[0] * 256 for _ in range(len(high_bytes) + 1)]
    for unit, byte in usable.items():
        pages[page_of[unit >> 8]][unit & 0xFF] = byte
    page_index = [page_of.get(high, 0) for high in range(256)]

    pairs = canonical_compositions()
    marks = sorted({mark for _, mark, _ in pairs})
    first_mark, last_mark = marks[0], marks[-1]
    mark_words = [0] * ((last_mark - first_mark) // 32 + 1)
    for mark in marks:
        offset = mark - first_mark
        mark_words[offset // 32] |= 1 << (offset % 32)

    out = []
    out.append("// Generated by tools/generate_windows_1252_tables.py from "
               "Microsoft's")
    out.append(f"// bestfit1252.txt and the canonical compositions of Unicode "
               f"{unicodedata.unidata_version}.")
    out.append("// Do not edit; run the script instead.")
    out.append("//")
    out.append("// Left out of WCTABLE, so that the caller's default character "
               "replaces them:")
    out.append(f"// units that map to the default byte 0x{default_byte:02X} "
               f"without being its character")
    out.append("// (" + (", ".join(f"U+{u:04X}" for u in dropped) or "none")
               + ").")
    out.append(f'#include "{HEADER}"')
    out.append("")
    out.append("namespace txtppt2 {")
    out.append("")
    out.append(f"static_assert(kFirstComposingMark == 0x{first_mark:04X});")
    out.append(f"static_assert(kLastComposingMark == 0x{last_mark:04X});")
    out.append("")
    out.append("// clang-format off")
    out.append("const WCHAR kWindows1252ToUtf16[256] = {")
    out += hex_rows([mbtable[b] for b in range(256)], 8, 4)
    out.append("};")
    out.append("")
    out.append("const uint8_t kUtf16ToWindows1252Page[256] = {")
    for i in range(0, 256, 16):
        out.append("    " + ", ".join(f"{p:2d}" for p in page_index[i:i + 16])
                   + ",")
    out.append("};")
    out.append("")
    out.append(f"const uint8_t kUtf16ToWindows1252Bytes[{len(pages)}][256] = "
               "{")
    for i, page in enumerate(pages):
        if i == 0:
            label = "no byte"
        else:
            high = high_bytes[i - 1]
            label = f"U+{high:02X}00..U+{high:02X}FF"
        out.append(f"  {{  // {label}")
        out += hex_rows(page, 8, 2)
        out.append("  },")
    out.append("};")
    out.append("")
    out.append("const uint32_t kComposingMarkBits[kComposingMarkWords] = {")
    out += hex_rows(mark_words, 6, 8)
    out.append("};")
    out.append("")
    out.append(f"const CanonicalComposition kCanonicalCompositions"
               f"[{len(pairs)}] = {{")
    for i in range(0, len(pairs), 3):
        out.append("  " + " ".join(f"{{0x{b:04X}, 0x{m:04X}, 0x{c:04X}}},"
                                   for b, m, c in pairs[i:i + 3]))
    out.append("};")
    out.append("// clang-format on")
    out.append("")
    out.append(f"const int kCanonicalCompositionCount = {len(pairs)};")
    out.append("")
    out.append("}  // namespace txtppt2")
    return "\n".join(out) + "\n", dropped


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("input", nargs="?", type=pathlib.Path,
                        default=DEFAULT_INPUT, help="bestfit1252.txt")
    parser.add_argument("-o", "--output", type=pathlib.Path,
                        default=DEFAULT_OUTPUT)
    args = parser.parse_args()
    text, dropped = generate(args.input)
    args.output.write_text(text, encoding="ascii")
    print(f"wrote {args.output}; left out of WCTABLE: "
          + (", ".join(f"U+{u:04X}" for u in dropped) or "nothing"))


if __name__ == "__main__":
    main()
