import os
import pathlib
import shutil

import pytest

SOURCE = pathlib.Path(os.environ.get("KORVEN_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
EXAMPLE = SOURCE / "examples" / "example.kv3d"
USER_CURVES = SOURCE / "examples" / "user-curves.kv3d"
GOLDEN = pathlib.Path(os.environ.get("KORVEN_GOLDEN_DIR", SOURCE.parent / "shared" / "golden"))


def golden_projects():
    return sorted(GOLDEN.glob("*.kv3d")) if GOLDEN.is_dir() else []


def golden_statuses():
    lines = (GOLDEN / "statuses.txt").read_text().split("\n")
    return {name: int(status) for name, _, status in (line.split() for line in lines if line.strip())}


@pytest.fixture
def example(tmp_path):
    """A copy of the bundled example in a folder of its own."""
    copy = tmp_path / EXAMPLE.name
    shutil.copy(EXAMPLE, copy)
    return copy
