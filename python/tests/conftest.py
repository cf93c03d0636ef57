"""Shared scene and helpers for the voshape tests."""

import pytest

import voshape

# The session driver's built-in scene: A plain, B with a gradient of 3 handles, C with one
# single-valued "Points" input, D small.
SCENE = """\
shape A 5
shape B 4 3
shape C 6 0 single
shape D 3
"""

PATH = ("Roto", "Output")


@pytest.fixture
def editor():
    with voshape.Editor.from_string(SCENE) as made:
        yield made


@pytest.fixture
def selector(editor):
    return editor.selector


@pytest.fixture
def calls(editor):
    """The callback lists that ran, in order, since the test began or the list was cleared."""
    ran = []
    selector = editor.selector
    selector.on_primary_selection_changed(lambda: ran.append("primary"))
    selector.on_shape_selection_changed(lambda: ran.append("shapes"))
    selector.on_selection_changed(lambda: ran.append("selection"))
    return ran


def state(selector):
    """The editor's selection as (name, points, handles) triples; None lists for a whole shape."""
    return [
        (item.shape.name, None, None) if item.whole else (item.shape.name, item.points, item.handles)
        for item in selector
    ]


def host(editor):
    """The application's selection as (kind, name) pairs."""
    return [(item.kind, item.name) for item in editor.application_selection]


def point_inputs(shape, indices):
    return [("input", f"{shape}.curve/Points[{i}]/{c}") for i in indices for c in ("x", "y")]


def handle_inputs(shape, indices):
    return [("input", f"{shape}.gradient[{i}]/{c}") for i in indices for c in ("position", "color")]
