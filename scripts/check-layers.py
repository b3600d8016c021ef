#!/usr/bin/env python3
"""Fails when a source file includes a header from a layer above its own, or Qt below the windows.

The build already hides the headers of libraries a target does not link; this check also names
the offending line, and covers folders the build does not (yet) compile. docs/architecture.md
draws the same table.
"""
import pathlib
import re
import sys

# Each folder and the folders it may include from (besides itself), lowest layers first.
LAYERS = {
    "platform": [],
    "hostapi": [],
    "indexer/store": ["platform"],
    "indexer/engine": ["indexer/store", "platform"],
    "indexer/startup": ["indexer/engine", "indexer/store", "platform"],
    # The program's main opens the window when no command is given.
    "indexer/cli": ["indexer/gui", "indexer/startup", "indexer/engine", "indexer/store",
                    "platform"],
    "indexer/gui": ["indexer/startup", "indexer/engine", "indexer/store", "platform"],
    "xt/picture": ["platform"],
    "xt/export": ["xt/picture", "hostapi", "platform"],
    "xt/xtension": ["xt/export", "xt/picture", "hostapi", "platform"],
    "xt/windows": ["xt/xtension", "xt/export", "xt/picture", "hostapi", "platform"],
    "xt/plugin": ["xt/windows", "xt/xtension", "xt/export", "xt/picture", "hostapi", "platform"],
    "xt/plugin_windows": ["xt/windows"],
    "xt/tools": ["xt/picture", "platform"],
    "layouthost/document": ["platform"],
    "layouthost/host": ["layouthost/document", "hostapi", "platform"],
    "layouthost/app": ["layouthost/host", "layouthost/document", "hostapi", "platform"],
    "layouthost/window": ["layouthost/app", "layouthost/host", "layouthost/document", "hostapi",
                          "platform"],
    "layouthost/main": ["layouthost/window", "layouthost/app", "layouthost/host",
                        "layouthost/document", "hostapi", "platform"],
    "layouthost/screenshots": ["layouthost/window", "layouthost/host", "layouthost/document"],
}

# Folders whose code may use Qt: the desktop layers and the layout program's rendering.
QT_ALLOWED = {"indexer/gui", "indexer/cli", "xt/windows", "layouthost/host", "layouthost/app",
              "layouthost/window", "layouthost/main", "layouthost/screenshots"}

LOCAL_INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
QT_INCLUDE = re.compile(r"^\s*#\s*include\s+<Q[A-Za-z]*(/|>)")


def layer_of(path: pathlib.PurePosixPath) -> str | None:
    for depth in (2, 1):
        key = "/".join(path.parts[:depth])
        if key in LAYERS and len(path.parts) > depth:
            return key
    return None


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    problems = []
    for source in sorted(root.rglob("*")):
        if source.suffix not in (".cpp", ".h") or not source.is_file():
            continue
        relative = pathlib.PurePosixPath(source.relative_to(root).as_posix())
        if relative.parts[0].startswith("build"):
            continue
        layer = layer_of(relative)
        if layer is None:
            continue
        allowed = set(LAYERS[layer]) | {layer}
        for number, line in enumerate(source.read_text(errors="replace").splitlines(), 1):
            if QT_INCLUDE.match(line) and layer not in QT_ALLOWED:
                problems.append(f"{relative}:{number}: {layer} must not use Qt: {line.strip()}")
            match = LOCAL_INCLUDE.match(line)
            if not match:
                continue
            target = layer_of(pathlib.PurePosixPath(match.group(1)))
            if target is not None and target not in allowed:
                problems.append(f"{relative}:{number}: {layer} may not include {target}: "
                                f"{line.strip()}")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"{len(problems)} include(s) cross a layer wall; see docs/architecture.md",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
