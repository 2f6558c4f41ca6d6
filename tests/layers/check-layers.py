#!/usr/bin/env python3
"""Checks that no file of the program includes a header of a layer above its own.

The folders of app/ in layer order, lowest first: a file may include headers
of its own folder, of folders earlier in the list and of the engine. A folder
missing from the list, or a header found in two folders, fails the check.
"""
import pathlib
import re
import sys

LAYERS = [
    "common", "prompts", "chart", "chart/widgets", "tables", "tables/widgets", "project",
    "graphics", "graphics/widgets", "results", "export", "export/widgets",
    "cpt", "cpt/widgets", "calibration", "calibration/widgets", "studies",
    "studies/widgets", "results/widgets", "report", "batch", "main", "main/widgets",
]

app = pathlib.Path(sys.argv[1]) / "app"
sources = [p for p in app.rglob("*") if p.suffix in (".h", ".cpp")]
folder_of = lambda path: path.parent.relative_to(app).as_posix()
home = {}
for header in (p for p in sources if p.suffix == ".h"):
    home.setdefault(header.name, set()).add(folder_of(header))

faults = []
for folder in sorted({folder_of(p) for p in sources} - set(LAYERS)):
    faults.append(f"app/{folder}: not in the layer list of {sys.argv[0]}")
for header, folders in home.items():
    if len(folders) > 1:
        faults.append(f"{header}: in more than one folder ({', '.join(sorted(folders))})")
for source in sources:
    own = folder_of(source)
    if own not in LAYERS:
        continue
    for name in re.findall(r'#include "([^"]+)"', source.read_text(encoding="utf-8")):
        for folder in home.get(pathlib.PurePosixPath(name).name, ()):
            if folder in LAYERS and LAYERS.index(folder) > LAYERS.index(own):
                faults.append(f"{source.relative_to(app.parent)}: includes {name} of app/{folder}, a layer above")
print("\n".join(faults) or "every include runs down the layers")
sys.exit(1 if faults else 0)
