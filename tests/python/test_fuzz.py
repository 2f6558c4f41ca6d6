"""Seeded random projects and random bytes through every entry point of the
module for KORVEN_FUZZ_SECONDS (5 by default; the build's test runs it for
the time set by KORVEN_PYTHON_FUZZ_SECONDS): each ends in a result or a
Python exception, never in a crash of the interpreter."""

import math
import os
import random
import time

import korven
from conftest import EXAMPLE, USER_CURVES, golden_projects

SECONDS = float(os.environ.get("KORVEN_FUZZ_SECONDS", "5"))
EXPECTED = (korven.InputError, korven.ProjectFileError, ValueError, TypeError)
NUMBERS = [0.0, -0.0, 1e-10, -1.0, 1e38, 3.5e38, -1e300, math.inf, -math.inf, math.nan, 2.0**-149]
COUNTS = [0, 1, 2, 19, 20, 21, 50, 51, 100, 101, 900, 901]


def number(rng, value):
    return rng.choice(NUMBERS) if rng.random() < 0.3 else value * rng.choice([1, 0.5, 2, -1, 10])


def rows(rng, table, width):
    if rng.random() < 0.2:
        return [tuple(number(rng, 1.0) for _ in range(width)) for _ in range(rng.choice(COUNTS))]
    return [tuple(number(rng, v) for v in row) for row in table]


def mutated(rng, base):
    project = base.copy()
    for name in ("pile_length", "outer_diameter", "tip_area", "tolerance", "q_multiplier", "w_multiplier"):
        if rng.random() < 0.2:
            setattr(project, name, number(rng, getattr(project, name)))
    for name in ("increments", "output_option"):
        if rng.random() < 0.2:
            setattr(project, name, rng.choice(COUNTS + [-1]))
    for name in ("curves_generated", "use_tip_movements", "use_head_loads", "downdrag", "apply_tz_factors",
                 "apply_qw_factors"):
        if rng.random() < 0.2:
            setattr(project, name, not getattr(project, name))
    project.qw_curve = rows(rng, project.qw_curve, 2)
    project.ae = rows(rng, project.ae, 2)
    project.settlement = rows(rng, project.settlement, 2)
    project.tz_factors = rows(rng, project.tz_factors, 3)
    project.tip_movements = [t for (t,) in rows(rng, [(t,) for t in project.tip_movements], 1)]
    project.head_loads = [q for (q,) in rows(rng, [(q,) for q in project.head_loads], 1)]
    for layer in project.layers:
        if rng.random() < 0.2:
            layer.soil_type = rng.choice([-1, 0, 1, 2, 3, 4, 5, 6, 7])
        layer.bottom = number(rng, layer.bottom)
        for row in layer.rows:
            row.side_friction = number(rng, row.side_friction)
            row.shear_strength = number(rng, row.shear_strength)
    if rng.random() < 0.1:
        project.layers = project.layers * rng.choice([0, 7, 11])
    for curve in project.tz_curves:
        curve.points = rows(rng, curve.points, 2)
    if rng.random() < 0.05:
        project.units = rng.choice([0, 3])
    if rng.random() < 0.1:
        project.designer = "".join(chr(rng.randrange(1, 0xE000)) for _ in range(rng.randrange(40)))
        project.extras = {project.designer: {"values": [number(rng, 1.0)]}}
    return project


def test_random_projects_and_bytes(tmp_path):
    rng = random.Random(20141)
    bases = [korven.Project.read(p) for p in [EXAMPLE, USER_CURVES] + golden_projects()]
    texts = [p.text().encode() for p in bases]
    path = tmp_path / "fuzz.kv3d"
    end = time.monotonic() + SECONDS
    runs = 0
    while time.monotonic() < end or runs < 20:
        runs += 1
        try:
            project = mutated(rng, rng.choice(bases))
            korven.analyze(project, files=rng.random() < 0.3)
            project.write(path)
            korven.Project.read(path).to_si()
        except EXPECTED:
            pass
        # Bytes: a text cut, with bytes changed, or nothing but noise.
        text = bytearray(rng.choice(texts))
        text = text[:rng.randrange(len(text) + 1)]
        for _ in range(rng.randrange(8)):
            if text:
                text[rng.randrange(len(text))] = rng.randrange(256)
        if rng.random() < 0.1:
            text = bytearray(rng.randbytes(rng.randrange(2000)))
        path.write_bytes(text)
        entries = [lambda: korven.analyze(bytes(text), files=True), lambda: korven.Project.read(path)]
        if rng.random() < 0.02:
            entries.append(lambda: korven.run(path))
        for entry in entries:
            try:
                entry()
            except EXPECTED:
                pass
    assert runs >= 20
