#!/usr/bin/python3
"""Prints figures about the source tree that anyone can repeat from a checkout.

  include circles      cycles of the include graph among src/ modules (a module is
                       the header and the .cpp of one name, src/play/notes.{h,cpp})
                       and among src/ files
  big folders          folders holding more than 16 source files of their own
  long files           source files of src/, tests/ and tools/ over 600 lines
  board setter         the files outside src/sudoku that call SetValue(
  key reads            the files outside src/engine that call the engine's key calls
                       (the Input_ calls of src/engine/gk.h with "Key" or "Char" in
                       their name)
  golden lines         the lines of the files under tests/golden
  duplicate pairs      what the `duplicates` command counts, when it is on PATH

The files are those git tracks plus the untracked ones it does not ignore (every file
but .git and build folders outside a git checkout). Standard library only; it only
reads, and it always exits with 0: it is a report, not a check.

Usage: tools/tree_measures.py [TREE]    (TREE defaults to the checkout holding this script)
"""

import os
import re
import shutil
import subprocess
import sys
from collections import defaultdict
from pathlib import Path

CXX_SUFFIXES = {".h", ".hpp", ".c", ".cc", ".cpp", ".inc"}
SOURCE_SUFFIXES = CXX_SUFFIXES | {".py", ".sh"}
FOLDER_LIMIT = 16
LINE_LIMIT = 600
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
SET_VALUE = re.compile(r"\b(SetValue)\s*\(")
INTERFACE_CALL = re.compile(r"virtual\s+[^;(]*?\b(Input_\w+)\s*\(")


def tree_files(root):
    """The tree's files as paths relative to root, sorted."""
    try:
        listed = subprocess.run(
            ["git", "-C", str(root), "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
            capture_output=True, check=True).stdout.decode("utf-8", "replace")
        names = {name for name in listed.split("\0") if name}
        return sorted(Path(name) for name in names if (root / name).is_file())
    except (OSError, subprocess.CalledProcessError):
        found = []
        for folder, subfolders, files in os.walk(root):
            subfolders[:] = sorted(d for d in subfolders if d != ".git" and not d.startswith("build"))
            found += [(Path(folder) / f).relative_to(root) for f in files]
        return sorted(found)


def read(root, path):
    try:
        return (root / path).read_text(encoding="utf-8", errors="replace")
    except OSError:
        return ""


def is_source(root, path):
    if path.suffix in SOURCE_SUFFIXES:
        return True
    if path.suffix:
        return False
    try:
        with open(root / path, "rb") as f:
            return f.read(2) == b"#!"
    except OSError:
        return False


def under(path, folder):
    return path.parts[:len(Path(folder).parts)] == Path(folder).parts


def line_count(text):
    return text.count("\n") + (1 if text and not text.endswith("\n") else 0)


# ---- include circles -----------------------------------------------------------------

def include_graph(root, files):
    """Edges from each src/ C++ file to the src/ files it includes by quoted name, resolved
    as the compiler does: beside the including file first, then from src/."""
    known = {p for p in files if under(p, "src") and p.suffix in CXX_SUFFIXES}
    edges = {p: set() for p in known}
    for p in known:
        for name in INCLUDE.findall(read(root, p)):
            for candidate in (p.parent / name, Path("src") / name):
                candidate = Path(os.path.normpath(candidate))
                if candidate in known:
                    edges[p].add(candidate)
                    break
    return edges


def strong_components(edges):
    """Tarjan's strongly connected components, iteratively; each component sorted."""
    index, low, on_stack, stack, components = {}, {}, set(), [], []
    counter = 0
    for start in sorted(edges):
        if start in index:
            continue
        work = [(start, iter(sorted(edges[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, targets = work[-1]
            advanced = False
            for target in targets:
                if target not in index:
                    index[target] = low[target] = counter
                    counter += 1
                    stack.append(target)
                    on_stack.add(target)
                    work.append((target, iter(sorted(edges[target]))))
                    advanced = True
                    break
                if target in on_stack:
                    low[node] = min(low[node], index[target])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                components.append(sorted(component))
    return components


def one_cycle(edges, component):
    """A shortest cycle through the component's first member, as a list of nodes."""
    first = component[0]
    members = set(component)
    came_from = {first: None}
    frontier = [first]
    while frontier:
        following = []
        for node in frontier:
            for target in sorted(edges[node]):
                if target == first:
                    path = [node]
                    while came_from[path[-1]] is not None:
                        path.append(came_from[path[-1]])
                    return list(reversed(path)) + [first]
                if target in members and target not in came_from:
                    came_from[target] = node
                    following.append(target)
        frontier = following
    return component


def circles(edges):
    """The components that hold a cycle: more than one member, or a member including itself."""
    return [c for c in strong_components(edges) if len(c) > 1 or c[0] in edges[c[0]]]


def module_of(path):
    return str(path.with_suffix("")).replace(os.sep, "/")


def report_includes(root, files):
    file_edges = include_graph(root, files)
    module_edges = defaultdict(set)
    evidence = {}  # (module, module): the first include that joins them
    for source in sorted(file_edges):
        module_edges[module_of(source)]
        for target in sorted(file_edges[source]):
            edge = (module_of(source), module_of(target))
            if edge[0] != edge[1]:
                module_edges[edge[0]].add(edge[1])
                evidence.setdefault(edge, f"{source.name} includes {target.name}")
    module_circles = circles(module_edges)
    print(f"include circles among src modules: {len(module_circles)} "
          f"({len(module_edges)} modules)")
    for component in module_circles:
        cycle = one_cycle(module_edges, component)
        steps = "; ".join(evidence[(a, b)] for a, b in zip(cycle, cycle[1:]))
        print(f"  {len(component)} modules: " + " > ".join(cycle) + f" ({steps})")
    file_circles = circles(file_edges)
    print(f"include circles among src files: {len(file_circles)} ({len(file_edges)} files)")
    for component in file_circles:
        print("  " + " > ".join(str(p) for p in one_cycle(file_edges, component)))


# ---- sizes -----------------------------------------------------------------------------

def report_sizes(root, files, sources):
    per_folder = defaultdict(int)
    for p in sources:
        per_folder[str(p.parent)] += 1
    big = sorted((n, folder) for folder, n in per_folder.items() if n > FOLDER_LIMIT)
    print(f"folders with more than {FOLDER_LIMIT} source files: {len(big)}")
    for n, folder in reversed(big):
        print(f"  {folder}  {n}")

    long_files = []
    for p in sources:
        if under(p, "src") or under(p, "tests") or under(p, "tools"):
            n = line_count(read(root, p))
            if n > LINE_LIMIT:
                long_files.append((n, str(p)))
    print(f"source files over {LINE_LIMIT} lines (src, tests, tools): {len(long_files)}")
    for n, name in sorted(long_files, reverse=True):
        print(f"  {name}  {n}")

    golden = [p for p in files if under(p, "tests/golden")]
    total = sum(line_count(read(root, p)) for p in golden)
    print(f"lines of tests/golden: {total} ({len(golden)} files)")


# ---- who calls what ------------------------------------------------------------------

def report_calls(title, pattern, root, sources, outside):
    counts = {}
    for p in sources:
        if under(p, outside) or p.suffix not in CXX_SUFFIXES:
            continue
        found = pattern.findall(read(root, p))
        if found:
            counts[str(p)] = found
    by_top = defaultdict(int)
    for name in counts:
        by_top[Path(name).parts[0]] += 1
    where = ", ".join(f"{n} in {top}" for top, n in sorted(by_top.items()))
    print(f"{title}: {len(counts)}" + (f" ({where})" if where else ""))
    for name in sorted(counts):
        calls = defaultdict(int)
        for call in counts[name]:
            calls[call] += 1
        print(f"  {name}  " + ", ".join(f"{call} {n}" for call, n in sorted(calls.items())))


def key_calls(root):
    """The engine interface's key-reading calls, by name."""
    names = set(INTERFACE_CALL.findall(read(root, Path("src/engine/gk.h"))))
    return sorted(n for n in names if "Key" in n or "Char" in n)


def report_callers(root, sources):
    report_calls("files outside src/sudoku that call SetValue(", SET_VALUE, root, sources, "src/sudoku")
    names = key_calls(root)
    if not names:
        print("key reads outside src/engine: no Input_ key calls found in src/engine/gk.h")
        return
    # A call goes through an object (gk->, engine.); declarations and definitions do not.
    reads = re.compile(r"(?:->|\.)\s*(" + "|".join(names) + r")\s*\(")
    report_calls("files outside src/engine that read key presses (" + ", ".join(names) + ")", reads, root,
                 sources, "src/engine")


# ---- duplicates ------------------------------------------------------------------------

def report_duplicates(root):
    tool = shutil.which("duplicates")
    if not tool:
        print("duplicate pairs: - (the duplicates command is not on PATH)")
        return
    try:
        out = subprocess.run([tool, "--repo", str(root)], capture_output=True, timeout=300,
                             text=True, errors="replace").stdout
    except (OSError, subprocess.TimeoutExpired) as e:
        print(f"duplicate pairs: - (duplicates did not finish: {e})")
        return
    first = out.splitlines()[0] if out.strip() else ""
    count = re.match(r"\s*(\d+)", first)
    figure = count.group(1) if count else "0" if first.startswith("no duplicates") else "-"
    print(f"duplicate pairs: {figure} (duplicates: {first})")


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent).resolve()
    files = tree_files(root)
    sources = [p for p in files if is_source(root, p)]
    print(f"tree: {root} ({len(files)} files, {len(sources)} source files)")
    for section in (lambda: report_includes(root, files),
                    lambda: report_sizes(root, files, sources),
                    lambda: report_callers(root, sources),
                    lambda: report_duplicates(root)):
        try:
            section()
        except Exception as e:  # a report goes on past a section it could not make
            print(f"  (section failed: {e!r})")
        sys.stdout.flush()


if __name__ == "__main__":
    try:
        main()
    finally:
        sys.exit(0)
