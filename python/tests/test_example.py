"""The example script runs as its reviewed transcript says, and writes the reviewed JSON."""

import json
import os
import pathlib
import subprocess
import sys

EXAMPLE = pathlib.Path(__file__).resolve().parents[2] / "examples" / "python"


def run(*arguments):
    return subprocess.run(
        [sys.executable, str(EXAMPLE / "select_and_undo.py"), *map(str, arguments)],
        capture_output=True, text=True, env=dict(os.environ), check=True,
    ).stdout


def test_the_example_prints_its_transcript_and_saves_the_selection(tmp_path):
    saved = tmp_path / "selection.json"
    assert run(EXAMPLE / "garden.scene", saved) == (EXAMPLE / "expected-output.txt").read_text()
    assert saved.read_text() == (EXAMPLE / "expected-selection.json").read_text()
    items = json.loads(saved.read_text())
    assert [item["kind"] for item in items] == ["node", "object"] + ["input"] * 6


def test_without_a_file_the_json_goes_to_standard_output():
    printed = run(EXAMPLE / "garden.scene")
    start, end = printed.index("[\n"), printed.index("\n]\n") + 2
    assert json.loads(printed[start:end]) == json.loads((EXAMPLE / "expected-selection.json").read_text())
