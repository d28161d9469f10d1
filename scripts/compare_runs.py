"""Compares two runs of the simulated host: their traces and their patch listings.

Used by compare-builds.sh (two builds of the plug-in) and compare-windows.sh (the Linux
and the Windows simulated host). Plug-in addresses inside patched bytes are compared by
the symbol at their offset, since they move with every change of code, every load and
every compiler.

  python3 compare_runs.py patches LISTING LIBRARY [PATTERN=NAME]...   prints the named listing
  python3 compare_runs.py report NAME BEFORE AFTER TOLERANCE           BEFORE and AFTER are the runs'
      file stems (.trace, .named); prints one line for the trace and one for the patches,
      with the first differences; exit status 0 when both are the same
"""
import bisect
import difflib
import json
import re
import subprocess
import sys


def symbol_table(library, aliases):
    """The library's symbols as (offset into its image, name), sorted. A Windows DLL's
    symbols count from its preferred image base; the listing's offsets count from where it
    was loaded. Section names stand for no code of their own and are left out."""
    windows = open(library, "rb").read(2) == b"MZ"
    nm, base = ("nm", 0)
    if windows:
        nm = "i686-w64-mingw32-nm"
        header = subprocess.run(["i686-w64-mingw32-objdump", "-p", library], capture_output=True, text=True, check=True).stdout
        base = int(re.search(r"^ImageBase\s+([0-9a-fA-F]+)", header, re.M).group(1), 16)
    names = {}
    for line in subprocess.run([nm, "-C", library], capture_output=True, text=True, check=True).stdout.splitlines():
        parts = line.split(" ", 2)
        if len(parts) == 3 and parts[0] and parts[1] in "TtWwDdBbRrVv" and not parts[2].startswith("."):
            name = parts[2]
            for pattern, alias in aliases:
                name = re.sub(pattern, alias, name)
            offset = int(parts[0], 16) - base
            names[offset] = min(names.get(offset, name), name)
    return sorted(names.items())


def symbol_at(symbols, offset):
    """The symbol an offset lies in, as the name plus the distance into it."""
    i = bisect.bisect_right(symbols, (offset, "\U0010ffff")) - 1
    if i < 0:
        return f"no symbol at +0x{offset:X}"
    start, name = symbols[i]
    return name if start == offset else f"{name}+0x{offset - start:X}"


def named_patches(listing, library, aliases, with_before=True):
    """One line per changed byte and one per plug-in reference, named by the symbol at its
    offset. Where a run of changed bytes begins and ends depends on the raw bytes of the
    addresses in it, so runs are not compared; the bytes of a reference are not either."""
    symbols = symbol_table(library, aliases)
    runs = [json.loads(line) for line in open(listing)]
    lines, inside = {}, set()
    for run in runs:
        for place, offset in run.get("plugin", {}).items():
            p = int(place, 16)
            inside.update(range(p, p + 4))
            lines[p] = f"0x{p:X} refers to {symbol_at(symbols, int(offset, 16))}"
    for run in runs:
        start, before, after = int(run["addr"], 16), bytes.fromhex(run["before"]), bytes.fromhex(run["after"])
        for i in range(len(after)):
            if start + i not in inside:
                was = f"{before[i]:02X} -> " if with_before else ""
                lines[start + i] = f"0x{start + i:X} {was}{after[i]:02X}"
    return [lines[address] for address in sorted(lines)]


# A path the plug-in formed from its own folder: the folder differs between runs.
PLUGIN_FOLDER = re.compile(r'"[^"]*?\\kell-hud\\')


def same_trace(before, after, tolerance):
    """Whether two traces hold the same calls, numbers equal within the tolerance and
    paths into the plug-in's folder equal after it."""
    a, b = open(before).readlines(), open(after).readlines()
    if a == b:
        return True
    if len(a) != len(b):
        return False

    def same(x, y):
        if isinstance(x, (int, float)) and isinstance(y, (int, float)) and not isinstance(x, bool):
            return abs(x - y) <= tolerance
        if isinstance(x, list) and isinstance(y, list):
            return len(x) == len(y) and all(same(p, q) for p, q in zip(x, y))
        if isinstance(x, dict) and isinstance(y, dict):
            return x.keys() == y.keys() and all(same(x[k], y[k]) for k in x)
        return x == y

    for x, y in zip(a, b):
        if x == y:
            continue
        x, y = PLUGIN_FOLDER.sub('"\\\\kell-hud\\\\', x), PLUGIN_FOLDER.sub('"\\\\kell-hud\\\\', y)
        if x != y and not same(json.loads(x), json.loads(y)):
            return False
    return True


def first_differences(before, after, lines):
    a, b = open(before).readlines(), open(after).readlines()
    diff = list(difflib.unified_diff(a, b, before, after, n=0))
    return "".join(diff[:lines])


def report(name, before, after, tolerance):
    same = True
    calls = sum(1 for _ in open(after + ".trace"))
    if same_trace(before + ".trace", after + ".trace", tolerance):
        print(f"same trace:   {name} ({calls} host calls)")
    else:
        print(f"OTHER TRACE:  {name}\n{first_differences(before + '.trace', after + '.trace', 20)}", end="")
        same = False
    named = open(after + ".named").read().splitlines()
    if open(before + ".named").read() == open(after + ".named").read():
        references = sum("refers to" in line for line in named)
        print(f"same patches: {name} ({len(named) - references} bytes, {references} plug-in references by symbol)")
    else:
        print(f"OTHER PATCHES: {name}\n{first_differences(before + '.named', after + '.named', 40)}", end="")
        same = False
    return same


if __name__ == "__main__":
    if sys.argv[1] == "patches":
        aliases = [a.split("=", 1) for a in sys.argv[4:]]
        print("\n".join(named_patches(sys.argv[2], sys.argv[3], aliases)))
    elif sys.argv[1] == "patches-after":
        aliases = [a.split("=", 1) for a in sys.argv[4:]]
        print("\n".join(named_patches(sys.argv[2], sys.argv[3], aliases, with_before=False)))
    elif sys.argv[1] == "report":
        sys.exit(0 if report(sys.argv[2], sys.argv[3], sys.argv[4], float(sys.argv[5])) else 1)
    elif sys.argv[1] == "trace":
        sys.exit(0 if same_trace(sys.argv[2], sys.argv[3], float(sys.argv[4])) else 1)
    else:
        sys.exit(f"compare_runs.py: unknown command {sys.argv[1]}")
