#!/usr/bin/env python3
"""Fails when a file under src/ includes a header of a layer above its own, or a Qt module its
layer does not build against, or names a widget (below app) or a painter (below draw).

    check_layers.py SRC --module FILE... --program FILE... --qt INCLUDE_DIR...

The layers, lowest first: support <- core <- calendar <- places (the atlas) <- session <- present <- draw <- app.
orbivex-cli (src/cli) stands beside present and draw: it uses support up to present, and draw
only in the files of its drawing module (--module) that the program itself (--program) does not
compile. --qt takes Qt's include folders, in which each header is looked up to learn its module.
"""

import pathlib
import re
import sys

LAYERS = ["support", "core", "calendar", "places", "session", "present", "draw", "app"]
CORE_ONLY = {"QtCore"}
DRAWING = {"QtCore", "QtGui", "QtSvg"}
WINDOWS = DRAWING | {"QtWidgets", "QtPrintSupport"}
QT_OF_LAYER = {layer: CORE_ONLY for layer in LAYERS}
# The chart library keeps its charts in SQLite through Qt SQL; no other layer touches it.
QT_OF_LAYER["session"] = CORE_ONLY | {"QtSql"}
QT_OF_LAYER["draw"] = DRAWING
QT_OF_LAYER["app"] = WINDOWS

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Below the windows nothing names a widget, and below the drawing nothing names a painter (not
# even in a declaration): they decide and return, the windows ask and show.
WINDOW_WORDS = re.compile(r"\bQ(Widget|Painter)\b")


def names_allowed(folder, in_module):
    """The window words (QWidget, QPainter) a file of folder may name."""
    if folder == "app":
        return {"QWidget", "QPainter"}
    if folder == "draw" or (folder == "cli" and in_module):
        return {"QPainter"}
    return set()


def parse_arguments(arguments):
    source = pathlib.Path(arguments[0])
    lists = {"--module": [], "--program": [], "--qt": []}
    current = None
    for argument in arguments[1:]:
        if argument in lists:
            current = lists[argument]
        elif current is None:
            sys.exit(f"check_layers.py: unexpected argument {argument}")
        else:
            current.append(argument)
    return source, lists


def qt_module_finder(include_dirs):
    roots = {pathlib.Path(d).parent for d in include_dirs if pathlib.Path(d).name == "QtCore"}
    roots |= {pathlib.Path(d) for d in include_dirs if (pathlib.Path(d) / "QtCore").is_dir()}
    if not roots:
        sys.exit("check_layers.py: no Qt include folder among --qt")

    def module_of(header):
        if "/" in header:
            return header.split("/")[0]
        for root in roots:
            for folder in sorted(root.glob("Qt*")):
                if (folder / header).is_file():
                    return folder.name
        return None

    return module_of


def allowed(folder, in_module):
    """The src/ folders and the Qt modules a file of folder may include."""
    if folder == "cli":
        layers = set(LAYERS[: LAYERS.index("present") + 1]) | {"cli"}
        qt = DRAWING if in_module else CORE_ONLY
        if in_module:
            layers.add("draw")
        return layers, qt
    rank = LAYERS.index(folder)
    return set(LAYERS[: rank + 1]), QT_OF_LAYER[folder]


def main():
    source, lists = parse_arguments(sys.argv[1:])
    module_only = {pathlib.Path(f).name for f in lists["--module"]} - {
        pathlib.Path(f).name for f in lists["--program"]
    }
    module_of = qt_module_finder(lists["--qt"])
    faults = []
    checked = 0
    for path in sorted(source.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        relative = path.relative_to(source)
        folder = relative.parts[0]
        if len(relative.parts) != 2 or folder not in LAYERS + ["cli"]:
            faults.append(f"{relative}: not in a layer's folder ({', '.join(LAYERS)}, cli)")
            continue
        checked += 1
        in_module = folder == "cli" and path.name in module_only
        layers, qt = allowed(folder, in_module)
        words = names_allowed(folder, in_module)
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            for word in WINDOW_WORDS.finditer(line):
                if word.group(0) not in words:
                    faults.append(f"{relative}:{number}: names {word.group(0)}, which {folder} "
                                  f"may not")
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, header = match.groups()
            if bracket == '"':
                included = header.split("/")[0] if "/" in header else folder
                if included not in layers:
                    faults.append(f"{relative}:{number}: includes {header}, of a layer "
                                  f"{folder} may not use")
            elif header.startswith("Q"):
                module = module_of(header)
                if module is not None and module not in qt:
                    faults.append(f"{relative}:{number}: includes <{header}> of {module}, "
                                  f"which {folder} does not build against")
    for fault in faults:
        print(fault)
    if checked == 0:
        sys.exit(f"check_layers.py: no sources found under {source}")
    print(f"{checked} files checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
