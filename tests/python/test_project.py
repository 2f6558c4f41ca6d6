import math

import pytest

import korven
from conftest import EXAMPLE, USER_CURVES, golden_projects


def test_example_values_and_tables():
    project = korven.Project.read(EXAMPLE)
    assert project.units == korven.ENGLISH
    assert (project.pile_length, project.outer_diameter, project.tip_area) == (600, 18, 254.47)
    assert [layer.soil_type for layer in project.layers] == [1, 2, 5]
    assert [layer.bottom for layer in project.layers] == [240, 480, 720]
    clay, sand = project.layers[0], project.layers[1]
    assert (clay.rows[0].shear_strength, clay.rows[1].shear_strength, clay.rows[1].e50) == (8, 10, 0.01)
    assert (sand.rows[0].friction_angle, sand.rows[1].blow_count) == (32, 25)
    assert project.ae == [(0, 1.5e9), (600, 1.5e9)]
    assert project.use_head_loads and project.head_loads == [50000, 100000, 150000, 200000]
    assert not project.use_tip_movements and not project.downdrag


@pytest.mark.parametrize("path", [EXAMPLE, USER_CURVES] + golden_projects()[:8], ids=lambda p: p.stem)
def test_round_trip(path, tmp_path):
    project = korven.Project.read(path)
    copy = tmp_path / path.name
    project.write(copy)
    again = korven.Project.read(copy)
    assert again == project
    assert copy.read_bytes() == again.text().encode("utf-8", "surrogateescape")
    assert (tmp_path / (path.stem + ".gwi")).exists()


def test_the_program_writes_the_example_as_it_stands():
    assert korven.Project.read(EXAMPLE).text() == EXAMPLE.read_text()


def test_changes_and_new_projects_are_written(tmp_path):
    project = korven.Project.read(EXAMPLE)
    project.pile_length = 660
    project.layers[2].rows[1].side_friction = 11.5
    project.layers.append(korven.Layer(6, 900, [korven.LayerRow(0.07, friction_angle=36)] * 2))
    project.use_tip_movements, project.tip_movements = True, [0.1, 0.5, -0.2]
    project.title = "Sweep \udce9 kept byte for byte"
    path = tmp_path / "changed.kv3d"
    project.write(path)
    again = korven.Project.read(path)
    assert again == project and again.path == str(path)
    assert korven.Project(title="Fresh").title == "Fresh"
    assert korven.Project().increments == 50


def test_older_format_without_factor_records(tmp_path):
    lines = EXAMPLE.read_text().splitlines(keepends=True)
    old = tmp_path / "old.kvd"
    old.write_text("".join(lines[:-2]))
    assert korven.Project.read(old).head_loads == korven.Project.read(EXAMPLE).head_loads


def test_units():
    english = korven.Project.read(EXAMPLE)
    si = english.to_si()
    assert si.units == korven.SI and english.units == korven.ENGLISH
    assert si.pile_length == pytest.approx(600 / 39.37007874)
    assert si.tip_area == pytest.approx(254.47 / 39.37007874**2)
    assert si.layers[0].rows[0].shear_strength == pytest.approx(8 * 6.894757, rel=1e-4)
    back = si.to_english()
    assert back.pile_length == pytest.approx(600, rel=1e-12)
    assert back.head_loads == pytest.approx(english.head_loads, rel=1e-12)


def test_read_failures_name_file_line_and_item(tmp_path):
    with pytest.raises(korven.ProjectFileError) as missing:
        korven.Project.read(tmp_path / "none.kv3d")
    assert missing.value.line is None and "could not be opened" in str(missing.value)

    bad = tmp_path / "bad.kv3d"
    bad.write_text("Title\n50 x 1\n")
    with pytest.raises(korven.ProjectFileError) as malformed:
        korven.Project.read(bad)
    assert (malformed.value.path, malformed.value.line, malformed.value.item) == (str(bad), 2, 2)
    assert "Error on Line 2 Item 2" in str(malformed.value)

    short = tmp_path / "short.kv3d"
    short.write_text(EXAMPLE.read_text()[:200])
    with pytest.raises(korven.ProjectFileError):
        korven.Project.read(short)


def test_write_failures(tmp_path):
    project = korven.Project.read(EXAMPLE)
    with pytest.raises(korven.ProjectFileError):
        project.write(tmp_path / "no such folder" / "p.kv3d")
    with pytest.raises(ValueError):
        korven.Project().write()
    with pytest.raises(ValueError):
        project.write(tmp_path / "old.kvd")


@pytest.mark.parametrize("change, error", [
    (dict(units=3), ValueError),
    (dict(increments="fifty"), ValueError),
    (dict(increments=2**40), TypeError),
    (dict(qw_curve=[(1, 2, 3)]), ValueError),
    (dict(tip_movements=[None]), TypeError),
])
def test_values_of_the_wrong_kind(change, error):
    project = korven.Project.read(EXAMPLE)
    for name, value in change.items():
        setattr(project, name, value)
    with pytest.raises(error):
        project.text()
    project = korven.Project.read(EXAMPLE)
    project.layers[0].rows.pop()
    with pytest.raises(ValueError):
        project.text()


def test_not_finite_values_reach_the_file():
    project = korven.Project.read(EXAMPLE)
    project.pile_length = math.nan
    project.text()


def test_extras_file_travels_with_the_project(tmp_path, recwarn):
    project = korven.Project.read(EXAMPLE)
    project.designer, project.design_date = "A. Engineer", "2026-12-08"
    project.extras = {"loadTest": {"points": [[0, 0], [100, 0.2]]}}
    path = tmp_path / "p.kv3d"
    project.write(path)
    again = korven.Project.read(path)
    assert (again.designer, again.design_date, again.extras) == (project.designer, project.design_date,
                                                                 project.extras)
    again.write(path)  # sections the module does not know are kept
    assert korven.Project.read(path).extras == project.extras

    (tmp_path / "p.kv3x").write_text("not json")
    damaged = korven.Project.read(path)
    assert damaged.designer == "" and len(recwarn) == 1 and "p.kv3x" in str(recwarn[0].message)
    project.extras = {"loadTest": 5}
    with pytest.raises(ValueError):
        project.write(path)
