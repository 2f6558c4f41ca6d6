import concurrent.futures
import shutil

import numpy as np
import pytest

import korven
from conftest import EXAMPLE, GOLDEN, golden_projects, golden_statuses


def printed(value, digits):
    """A value in the engine's E format with `digits` digits, as 0.1234E+05."""
    if value == 0:
        return "0." + "0" * digits + "E+00"
    mantissa, exponent = f"{abs(value):.{digits - 1}E}".split("E")
    text = f"0.{mantissa.replace('.', '')}E{int(exponent) + 1:+03d}"
    return "-" + text if value < 0 else text


def plot_file(path):
    """The distributions (3 digits), load-settlement rows and load cases (4
    digits) of a plot data file, as printed."""
    words = path.read_text().split()
    at = 0

    def take(n):
        nonlocal at
        at += n
        return words[at - n:at]

    for _ in range(int(take(1)[0])):
        number, points = take(2)
        take(1 + 2 * int(points))
    take(2 * int(take(1)[0]))
    cases, increments, _ = (int(w) for w in take(3))
    distributions = [np.array(take(3 * increments)).reshape(increments, 3) for _ in range(cases)]
    rows = np.array(take(4 * cases)).reshape(cases, 4)
    return distributions, rows, np.array(words[at:]).reshape(-1, 4)


def as_printed(values, digits):
    return np.vectorize(lambda v: printed(v, digits), otypes=[object])(values)


def check_against_plot_file(result, plot):
    distributions, rows, cases = plot_file(plot)
    assert (as_printed(result.load_settlement.as_array(), 4) == rows).all()
    assert (as_printed(result.load_cases.as_array(), 4) == cases).all()
    for case, expected in zip(result.distributions, distributions, strict=True):
        columns = np.column_stack([case.depth, case.load, case.movement])
        assert (as_printed(columns, 3) == expected).all()


def without_date_and_folder(report):
    return [line for line in report.splitlines() if "Date:" not in line and "Path to file" not in line]


@pytest.mark.parametrize("path", golden_projects(), ids=lambda p: p.stem)
def test_golden_projects_match_the_engine_output(path):
    result = korven.analyze(path, files=True)
    assert result.status == golden_statuses()[path.stem]
    assert result.plot == path.with_suffix(".kv3p").read_text()
    assert without_date_and_folder(result.report) == without_date_and_folder(path.with_suffix(".kv3o").read_text())
    if result.completed:
        check_against_plot_file(result, path.with_suffix(".kv3p"))
        # A project is analysed as the program saves it. Its tip movement
        # table holds at least two rows: a file giving one gains a second of 0.
        rows = result.load_settlement.as_array()
        via_project = korven.analyze(korven.Project.read(path)).load_settlement.as_array()
        assert via_project[:len(rows)].tolist() == rows.tolist() and not via_project[len(rows):, 2].any()
    else:
        assert result.warnings and result.readouts is None and len(result.load_settlement) == 0


def test_result_of_the_example(example):
    result = korven.analyze(korven.Project.read(example))
    assert (result.status, result.meaning, result.units) == (0, "run completed", korven.ENGLISH)
    assert len(result.load_settlement) == 9 and len(result.load_cases) == 4
    assert result.load_cases.head_load.tolist() == [50000, 100000, 150000, 200000]
    assert len(result.distributions) == 9 and len(result.distributions[0].depth) == 50
    assert len(result.distributions[0].node_load) == 51
    assert len(result.tz_curves_used) == 15 and len(result.qw_curve_used[0]) > 2
    readouts = result.readouts
    assert readouts.ten_percent_diameter.reached and readouts.ten_percent_settlement == pytest.approx(1.8)
    assert readouts.davisson.reached and readouts.davisson.load < readouts.largest.load

    # The engine's entry over the file writes the same numbers.
    run = korven.run(example)
    assert (run.status, run.meaning) == (0, "run completed")
    check_against_plot_file(result, example.with_suffix(".kv3p"))


def test_downdrag_read_outs():
    path = GOLDEN / "e16_downdrag.kv3d"
    if not path.exists():
        pytest.skip("no golden projects")
    planes = korven.analyze(path).readouts.neutral_planes
    assert len(planes) == 4
    assert [p.depth for p in planes] == sorted((p.depth for p in planes), reverse=True)
    assert planes[0].drag_load == pytest.approx(planes[0].peak_load - planes[0].head_load)


def test_refused_input_raises_input_error(example):
    project = korven.Project.read(example)
    project.increments = 0
    with pytest.raises(korven.InputError) as refused:
        korven.analyze(project)
    assert refused.value.status == 13 and "increments" in refused.value.meaning
    assert "INCREMENTS" in refused.value.message
    with pytest.raises(ValueError):
        korven.analyze(b"title only\n")
    with pytest.raises(TypeError):
        korven.analyze(42)


def test_threads_give_the_results_of_one_thread(example):
    projects = [korven.Project.read(p) for p in [example] + golden_projects()]
    for project in projects:
        project.title = ""

    def rows(project):
        try:
            result = korven.analyze(project)
        except korven.InputError as error:
            return error.status
        return result.load_settlement.as_array().tobytes(), [d.load.tobytes() for d in result.distributions]

    single = [rows(p) for p in projects]
    with concurrent.futures.ThreadPoolExecutor(max_workers=8) as pool:
        for _ in range(3):
            assert list(pool.map(rows, projects)) == single
