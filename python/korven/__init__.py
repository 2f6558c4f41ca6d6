"""KORVEN from Python: pile projects, the t-z analysis and its results.

Read a project file, change it, analyse it in memory and use the results as
NumPy arrays::

    import korven
    project = korven.Project.read("examples/example.kv3d")
    project.pile_length = 720.0          # in the project's units (here inches)
    result = korven.analyze(project)
    print(result.status, result.meaning)
    print(result.load_settlement.head_load, result.load_settlement.head_movement)
    print(result.readouts.davisson)

``korven.run(path)`` runs the engine's entry over a project file instead and
writes the report (.kv3o) and the plot data file (.kv3p) beside it, as the
program and ``korven-run`` do. Projects are read and written by the
program's own reader and writer, so a project written here opens in the
program as it was saved.

Values are in the project's unit system: English (inches, pounds) or SI
(metres, kN); ``Project.to_si()`` and ``Project.to_english()`` convert.
"""

from __future__ import annotations

import copy
import dataclasses
import json
import os
import re
import warnings
from dataclasses import dataclass, field
from typing import Any, ClassVar, Union

import numpy as np

from . import _korven

__all__ = [
    "ENGLISH", "SI", "SOIL_TYPES", "LayerRow", "Layer", "TzCurve", "Project", "ProjectFileError",
    "InputError", "LoadSettlement", "Distribution", "CurveUsed", "Readout", "NeutralPlane", "Readouts",
    "Result", "RunResult", "analyze", "run",
]

ENGLISH = 1
SI = 2

#: Soil methods by code (1 to 6): odd codes clay, even codes sand.
SOIL_TYPES = {
    1: "Driven Pile in Clay (Coyle & Reese)",
    2: "Driven Pile in Sand (Mosher)",
    3: "Drilled Shaft in Clay (Reese & O'Neill)",
    4: "Drilled Shaft in Sand (Reese & O'Neill)",
    5: "Driven Pile in Clay (API)",
    6: "Driven Pile in Sand (API)",
}

PathLike = Union[str, "os.PathLike[str]"]


class ProjectFileError(Exception):
    """A project file that could not be read or written.

    ``path`` is the file, ``reason`` the program's message (for a file that
    does not read: "Error on Line N Item M" and what was expected there),
    ``line`` and ``item`` the 1-based place of the fault when the message
    names one, otherwise None.
    """

    def __init__(self, path: str, reason: str) -> None:
        self.path = path
        self.reason = reason
        place = re.search(r"Error on Line (\d+) Item (\d+)", reason)
        self.line = int(place.group(1)) if place else None
        self.item = int(place.group(2)) if place else None
        super().__init__(f'The file "{path}" was not opened:\n{reason}')


class InputError(ValueError):
    """Input the engine refuses before computing: ``status`` is the engine's
    status (10 to 20), ``meaning`` what it means, ``message`` the report's
    error line (may be empty)."""

    def __init__(self, status: int, meaning: str, message: str) -> None:
        self.status = status
        self.meaning = meaning
        self.message = message
        text = f"status {status}: {meaning}"
        super().__init__(f"{text}\n{message.strip()}" if message.strip() else text)


@dataclass
class LayerRow:
    """The values of a soil layer at its top or at its bottom; a clay layer
    uses the shear strength and e50, a sand layer the friction angle and the
    blow count. Tip resistance 0 lets the engine take it from the soil."""

    unit_weight: float = 0.0
    shear_strength: float = 0.0
    e50: float = 0.0
    friction_angle: float = 0.0
    blow_count: float = 0.0
    side_friction: float = 0.0
    tip_resistance: float = 0.0


@dataclass
class Layer:
    """A soil layer: its soil method (``SOIL_TYPES``), the depth of its bottom
    and its data rows (``rows[0]`` at the top, ``rows[1]`` at the bottom)."""

    soil_type: int = 1
    bottom: float = 0.0
    rows: list[LayerRow] = field(default_factory=lambda: [LayerRow(), LayerRow()])

    @property
    def is_clay(self) -> bool:
        return self.soil_type in (1, 3, 5)


@dataclass
class TzCurve:
    """A t-z curve entered by the user: its depth and its points (t, z)."""

    depth: float = 0.0
    points: list[tuple[float, float]] = field(default_factory=list)


def _pairs(rows: Any, width: int, name: str) -> list[tuple[float, ...]]:
    result = []
    for row in rows:
        values = tuple(float(v) for v in row)
        if len(values) != width:
            raise ValueError(f"each row of {name} holds {width} values, not {len(values)}")
        result.append(values)
    return result


@dataclass
class Project:
    """A pile project: the values and tables of the program's project file.

    Lists of rows: ``qw_curve`` (Q, w), ``ae`` (depth below the pile head,
    AE), ``settlement`` (depth, soil settlement), ``tz_factors`` (depth,
    t-multiplier, z-multiplier); ``tip_movements`` and ``head_loads`` are
    lists of numbers. A list is used by the analysis only when its switch
    (``use_tip_movements``, ``use_head_loads``, ``downdrag``,
    ``apply_tz_factors``) is on. ``curves_generated`` chooses between the
    soil ``layers`` and the user's ``tz_curves`` with ``qw_curve``.

    ``Project()`` is a new project with the program's defaults.
    """

    #: The name the program gives a new project's file.
    DEFAULT_FILE_NAME: ClassVar[str] = "NewKORVEN.kv3d"

    title: str = ""
    #: Kept in the extras file beside the project file (NAME.kv3x).
    designer: str = ""
    design_date: str = ""
    #: The extras file's other sections (measured load tests, soundings,
    #: studies, ...) by name, kept as read and written back with the project.
    extras: dict[str, Any] = field(default_factory=dict)
    units: int = ENGLISH
    increments: int = 50
    output_option: int = 0
    tolerance: float = 1e-5
    pile_length: float = 0.0
    outer_diameter: float = 0.0
    tip_area: float = 0.0
    curves_generated: bool = True
    layers: list[Layer] = field(default_factory=list)
    tz_curves: list[TzCurve] = field(default_factory=list)
    qw_curve: list[tuple[float, float]] = field(default_factory=list)
    ae: list[tuple[float, float]] = field(default_factory=list)
    use_tip_movements: bool = True
    tip_movements: list[float] = field(default_factory=list)
    use_head_loads: bool = False
    head_loads: list[float] = field(default_factory=list)
    downdrag: bool = False
    settlement: list[tuple[float, float]] = field(default_factory=list)
    apply_tz_factors: bool = False
    tz_factors: list[tuple[float, float, float]] = field(default_factory=list)
    apply_qw_factors: bool = False
    q_multiplier: float = 1.0
    w_multiplier: float = 1.0
    #: The file the project was read from or last written to.
    path: str | None = field(default=None, compare=False)

    def __init__(self, **values: Any) -> None:
        defaults = _korven.new_project()
        defaults.update(values)
        self._take(defaults)

    def _take(self, values: dict[str, Any]) -> None:
        for name, value in values.items():
            if name not in _FIELDS:
                raise TypeError(f"Project has no value {name!r}")
            setattr(self, name, value)
        if isinstance(self.extras, str):
            self.extras = json.loads(self.extras)
        self.layers = [
            layer if isinstance(layer, Layer) else
            Layer(layer[0], layer[1], [LayerRow(*layer[2]), LayerRow(*layer[3])])
            for layer in self.layers
        ]
        self.tz_curves = [
            curve if isinstance(curve, TzCurve) else TzCurve(curve[0], list(curve[1]))
            for curve in self.tz_curves
        ]
        self.path = values.get("path")

    @classmethod
    def read(cls, path: PathLike) -> "Project":
        """Reads a project file (``*.kv3d``, or the older ``*.kvd`` without the
        factor records) with the program's reader; ProjectFileError when it
        cannot be read whole."""
        name = os.fspath(path)
        values, reason, notices = _korven.read_project(name)
        if values is None:
            raise ProjectFileError(name, reason)
        for notice in notices:
            warnings.warn(notice, stacklevel=2)
        project = cls.__new__(cls)
        project._take(values)
        project.path = name
        return project

    def write(self, path: PathLike | None = None) -> None:
        """Writes the project file, its extras file (``.kv3x``: designer, date
        and ``extras``) and its empty companion ``.gwi`` with the program's
        writer, replacing each file only when written whole;
        ProjectFileError when it cannot be written. Without a path, the file
        the project came from."""
        name = os.fspath(path) if path is not None else self.path
        if name is None:
            raise ValueError("the project has no file yet: give a path")
        if name.lower().endswith(".kvd"):
            # Read back as the older format, the file would lose its factors.
            raise ValueError("the older .kvd format is read only: write the project as .kv3d")
        reason = _korven.write_project(self._values(), name)
        if reason:
            raise ProjectFileError(name, reason)
        self.path = name

    def text(self) -> str:
        """The text of the project file, which is also the engine's input."""
        return _korven.project_text(self._values()).decode("utf-8", "surrogateescape")

    def to_si(self) -> "Project":
        """A copy in SI units (metres, kN), converted as the program does."""
        return self._converted(SI)

    def to_english(self) -> "Project":
        """A copy in English units (inches, pounds), converted as the program does."""
        return self._converted(ENGLISH)

    def copy(self) -> "Project":
        """An independent copy (its lists and layers copied too)."""
        return copy.deepcopy(self)

    def _converted(self, units: int) -> "Project":
        project = Project.__new__(Project)
        project._take(_korven.convert_units(self._values(), units))
        project.path = self.path
        return project

    def _values(self) -> dict[str, Any]:
        """The plain values the extension module takes."""
        layers = []
        for layer in self.layers:
            if len(layer.rows) != 2:
                raise ValueError("a layer has two data rows: its top and its bottom")
            rows = [tuple(float(v) for v in dataclasses.astuple(row)) for row in layer.rows]
            layers.append((int(layer.soil_type), float(layer.bottom), rows[0], rows[1]))
        return {
            "title": str(self.title),
            "designer": str(self.designer),
            "design_date": str(self.design_date),
            "extras": json.dumps(self.extras),
            "units": int(self.units),
            "increments": int(self.increments),
            "output_option": int(self.output_option),
            "tolerance": float(self.tolerance),
            "pile_length": float(self.pile_length),
            "outer_diameter": float(self.outer_diameter),
            "tip_area": float(self.tip_area),
            "curves_generated": bool(self.curves_generated),
            "layers": layers,
            "tz_curves": [(float(c.depth), _pairs(c.points, 2, "a t-z curve")) for c in self.tz_curves],
            "qw_curve": _pairs(self.qw_curve, 2, "qw_curve"),
            "ae": _pairs(self.ae, 2, "ae"),
            "use_tip_movements": bool(self.use_tip_movements),
            "tip_movements": [float(v) for v in self.tip_movements],
            "use_head_loads": bool(self.use_head_loads),
            "head_loads": [float(v) for v in self.head_loads],
            "downdrag": bool(self.downdrag),
            "settlement": _pairs(self.settlement, 2, "settlement"),
            "apply_tz_factors": bool(self.apply_tz_factors),
            "tz_factors": _pairs(self.tz_factors, 3, "tz_factors"),
            "apply_qw_factors": bool(self.apply_qw_factors),
            "q_multiplier": float(self.q_multiplier),
            "w_multiplier": float(self.w_multiplier),
        }


_FIELDS = {f.name for f in dataclasses.fields(Project)}


@dataclass(frozen=True)
class LoadSettlement:
    """Rows of the load-settlement table or of the pile-head load cases, as
    the report prints them (an upward case negated): one array per column."""

    head_load: np.ndarray
    head_movement: np.ndarray
    tip_movement: np.ndarray
    tip_load: np.ndarray

    @classmethod
    def _of(cls, rows: np.ndarray) -> "LoadSettlement":
        return cls(*(rows[:, i].copy() for i in range(4)))

    def as_array(self) -> np.ndarray:
        """The rows as an n x 4 array in the order of the fields."""
        return np.column_stack([self.head_load, self.head_movement, self.tip_movement, self.tip_load])

    def __len__(self) -> int:
        return len(self.head_load)


@dataclass(frozen=True)
class Distribution:
    """Load and movement along the pile for one assumed tip movement, from
    the tip up, as solved (an upward case for the movement's magnitude).
    Per increment at its mid-depth: depth, unit load transfer, load
    transferred, axial load, elastic shortening and movement; per node (the
    tip first): axial load and movement."""

    tip_movement: float
    tip_load: float
    upward: bool
    depth: np.ndarray
    transfer: np.ndarray
    load_increment: np.ndarray
    load: np.ndarray
    deformation: np.ndarray
    movement: np.ndarray
    node_load: np.ndarray
    node_movement: np.ndarray


@dataclass(frozen=True)
class CurveUsed:
    """A t-z curve as the analysis used it (after the modification factors)."""

    number: int
    depth: float
    t: np.ndarray
    z: np.ndarray


@dataclass(frozen=True)
class Readout:
    """A point of the load-settlement curve for one criterion; ``reached`` is
    False when the computed curve does not reach it (never extrapolated)."""

    reached: bool
    load: float
    settlement: float


@dataclass(frozen=True)
class NeutralPlane:
    """Where the axial load peaks for one assumed tip movement (down-drag)."""

    depth: float
    peak_load: float
    head_load: float
    drag_load: float


@dataclass(frozen=True)
class Readouts:
    """The program's capacity read-outs of the load-settlement curve: the
    head load at a settlement of 10 % of the diameter, Davisson's offset
    limit, the largest computed load and, for down-drag runs, the neutral
    plane and drag load of every tip movement."""

    uplift: bool
    ten_percent_diameter: Readout
    davisson: Readout
    largest: Readout
    equivalent_ae: float
    stiffness_source: str
    ten_percent_settlement: float
    davisson_offset: float
    neutral_planes: list[NeutralPlane]


@dataclass(frozen=True)
class Result:
    """The outcome of ``analyze``. ``status`` 0 is a completed run; 4 to 8
    mean a depth lies beyond the soil layers' input (``warnings`` says
    which): the run stopped there, without load-settlement rows or
    read-outs."""

    status: int
    meaning: str
    message: str
    warnings: list[tuple[int, float, str]]
    units: int
    load_settlement: LoadSettlement
    load_cases: LoadSettlement
    distributions: list[Distribution]
    tz_curves_used: list[CurveUsed]
    qw_curve_used: tuple[np.ndarray, np.ndarray]
    readouts: Readouts | None
    #: With ``analyze(..., files=True)``: the text of the report (.kv3o) and
    #: of the plot data file (.kv3p) a run writes, else None.
    report: str | None = None
    plot: str | None = None

    @property
    def completed(self) -> bool:
        return self.status == 0


@dataclass(frozen=True)
class RunResult:
    """The outcome of ``run``: the status, its meaning and the files."""

    status: int
    meaning: str
    input: str
    report: str
    plot: str


def _text(data: bytes | None) -> str | None:
    return None if data is None else data.decode("utf-8", "surrogateescape")


def _result(values: dict[str, Any]) -> Result:
    if values["status"] >= 10:
        raise InputError(values["status"], values["meaning"], values["message"])
    readouts = values["readouts"]
    if readouts is not None:
        readouts = Readouts(
            uplift=readouts["uplift"],
            ten_percent_diameter=Readout(*readouts["ten_percent_diameter"]),
            davisson=Readout(*readouts["davisson"]),
            largest=Readout(*readouts["largest"]),
            equivalent_ae=readouts["equivalent_ae"],
            stiffness_source=readouts["stiffness_source"],
            ten_percent_settlement=readouts["ten_percent_settlement"],
            davisson_offset=readouts["davisson_offset"],
            neutral_planes=[NeutralPlane(*plane) for plane in readouts["neutral_planes"]],
        )
    return Result(
        status=values["status"],
        meaning=values["meaning"],
        message=values["message"],
        warnings=list(values["warnings"]),
        units=values["units"],
        load_settlement=LoadSettlement._of(values["load_settlement"]),
        load_cases=LoadSettlement._of(values["load_cases"]),
        distributions=[Distribution(**d) for d in values["distributions"]],
        tz_curves_used=[CurveUsed(*curve) for curve in values["tz_curves_used"]],
        qw_curve_used=values["qw_curve_used"],
        readouts=readouts,
        report=_text(values["report"]),
        plot=_text(values["plot"]),
    )


def analyze(project: Union[Project, PathLike, bytes], *, files: bool = False) -> Result:
    """Analyses a project in memory and returns its Result.

    ``project`` is a Project (analysed as the program saves it), the path of
    an input data file, or the bytes of one (both read by the engine as they
    stand). With ``files=True`` the result also holds the text of the report
    and of the plot data file, byte for byte what a run writes (the heading
    names the project's files and the time of the call); nothing is written.
    Input the engine refuses raises InputError (a ValueError) with its
    status; values of the wrong kind raise TypeError or ValueError. The
    interpreter lock is released while the engine works, so threads analyse
    in parallel.
    """
    path = ""
    if isinstance(project, Project):
        text = _korven.project_text(project._values())
        path = project.path or Project.DEFAULT_FILE_NAME
    elif isinstance(project, bytes):
        text = project
        path = Project.DEFAULT_FILE_NAME
    elif isinstance(project, (str, os.PathLike)):
        path = os.fspath(project)
        with open(path, "rb") as file:
            text = file.read()
    else:
        raise TypeError("analyze takes a Project, a path or the bytes of an input data file")
    return _result(_korven.analyze(text, files, path))


def run(path: PathLike) -> RunResult:
    """Runs the engine's entry over a project file as the program and
    ``korven-run`` do: the report (.kv3o) and the plot data file (.kv3p) are
    written beside it. The status is returned, not raised."""
    return RunResult(**_korven.run(os.fspath(path)))
