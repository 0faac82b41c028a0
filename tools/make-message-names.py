#!/usr/bin/env python3
"""Writes msglog/message_name_table.inc: the names and values of the window
messages, the common controls' messages and the notification codes, taken
from the MinGW-w64 toolchain's public headers (winuser.h, commctrl.h).

Usage: tools/make-message-names.py [include-folder]  (run from the tree's root)
Each value is what the compiler makes of the header's definition: the script
has the preprocessor expand every name and evaluates the result."""
import re
import subprocess
import sys

INCLUDE = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/mingw-w64/include"
OUT = "msglog/message_name_table.inc"
# Also the virtual-key names and the SetWindowPos flags, which the details use.

# table: (prefixes, lowest value, highest value). Names ending in FIRST,
# LAST, MSGMAX are range markers, not messages.
TABLES = {
    "kWindowMessages": (("WM_", "CCM_"), 0, 0xFFFF),
    "kButtonMessages": (("BM_", "BCM_"), 0xF0, 0xFFFF),
    "kEditMessages": (("EM_",), 0xB0, 0xFFFF),
    "kListBoxMessages": (("LB_",), 0x180, 0x1FF),
    "kComboBoxMessages": (("CB_",), 0x140, 0x17F),
    "kListViewMessages": (("LVM_",), 0x1000, 0x10FF),
    "kTreeViewMessages": (("TVM_",), 0x1100, 0x11FF),
    "kTabMessages": (("TCM_",), 0x1300, 0x13FF),
    "kToolbarMessages": (("TB_",), 0x400, 0x7FFF),
    "kStatusBarMessages": (("SB_",), 0x400, 0x7FFF),
    "kHeaderMessages": (("HDM_",), 0x1200, 0x12FF),
    # WM_COMMAND codes (16 bits) of each control class.
    "kButtonCodes": (("BN_",), 0, 0xFFFF),
    "kEditCodes": (("EN_",), 0, 0xFFFF),
    "kListBoxCodes": (("LBN_",), 0, 0xFFFF),
    "kComboBoxCodes": (("CBN_",), 0, 0xFFFF),
    # WM_NOTIFY codes (32 bits): the common controls' ranges do not overlap.
    "kNotifyCodes": (("NM_", "LVN_", "TVN_", "TCN_", "TBN_", "HDN_", "SBN_"), 0, 0xFFFFFFFF),
    # The details of keyboard messages and of WINDOWPOS.
    "kVirtualKeys": (("VK_",), 0, 0xFF),
    "kWindowPosFlags": (("SWP_",), 0, 0xFFFF),
}
WIDTH = {"kButtonCodes": 16, "kEditCodes": 16, "kListBoxCodes": 16, "kComboBoxCodes": 16, "kNotifyCodes": 32}
MARKERS = re.compile(r"(FIRST|LAST|MSGMAX)$")
DEFINE = re.compile(r"^\s*#\s*define\s+([A-Z][A-Z0-9_]*)\s+(.+?)\s*(//.*|/\*.*)?$")


def definitions():
    found = {}
    for header in ("winuser.h", "commctrl.h"):
        for line in open(f"{INCLUDE}/{header}", encoding="latin-1"):
            m = DEFINE.match(line)
            if m:
                found.setdefault(m.group(1), m.group(2))
    return found


def main():
    defs = definitions()
    wanted = {}
    for table, (prefixes, _, _) in TABLES.items():
        for name, body in defs.items():
            if not name.startswith(prefixes) or MARKERS.search(name):
                continue
            # A name defined as another name is the A/W alias of a real one.
            if re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*", body.strip()):
                continue
            wanted.setdefault(table, []).append(name)
    names = sorted({n for ns in wanted.values() for n in ns})
    source = "#include <windows.h>\n#include <commctrl.h>\n" + "".join(f"@@\"{n}\" = {n}\n" for n in names)
    expanded = subprocess.run(
        ["x86_64-w64-mingw32-g++", "-E", "-P", "-DUNICODE", "-D_WIN32_WINNT=0x0A00", "-D_WIN32_IE=0x0A00", "-x", "c++", "-"],
        input=source, capture_output=True, text=True, check=True).stdout
    values = {}
    for line in expanded.splitlines():
        m = re.match(r'@@"(\w+)" = (.*)$', line)
        if not m:
            continue
        expr = re.sub(r"\(\s*(UINT|int|unsigned int|DWORD|WORD|LONG)\s*\)", "", m.group(2))
        expr = re.sub(r"(0x[0-9A-Fa-f]+|\d+)[uUlL]+", r"\1", expr)
        try:
            values[m.group(1)] = int(eval(expr, {"__builtins__": {}}))
        except Exception:
            print(f"skipped {m.group(1)}: {m.group(2)}", file=sys.stderr)
    out = ["// Written by tools/make-message-names.py from the MinGW-w64 headers; do not edit.\n"]
    for table, (prefixes, low, high) in TABLES.items():
        bits = WIDTH.get(table, 32)
        rows = {}
        for name in sorted(wanted.get(table, [])):
            if name not in values:
                continue
            value = values[name] & ((1 << bits) - 1)
            if not (low <= value <= high):
                continue
            # The A and W forms are named; the neutral name is their alias.
            if value in rows:
                kept = rows[value]
                if kept in (name + "A", name + "W") or (name not in (kept + "A", kept + "W") and kept < name):
                    continue
            rows[value] = name
        out.append(f"inline constexpr MessageNameEntry {table}[] = {{\n")
        for value in sorted(rows):
            out.append(f"    {{0x{value:04X}u, \"{rows[value]}\"}},\n")
        out.append("};\n")
    open(OUT, "w").write("".join(out))


main()
