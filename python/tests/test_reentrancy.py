"""Handlers that call back into the editor while the library notifies them: whatever they do, the
editor stays whole (no crash, run under AddressSanitizer too) and, once they are gone, both
selections are kept in step again by the next change."""

import hypothesis.strategies as st
from hypothesis import HealthCheck, given, settings

import voshape
from conftest import SCENE

NAMES = ["A", "B", "C", "D"]


def act(editor, action, name, index):
    """One operation of any part of the module; errors the library or the module raise for it
    are part of the game, anything else is not."""
    selector = editor.selector
    try:
        if action == "select":
            selector.select([name, NAMES[index % 4]])
        elif action == "primary":
            selector.set_primary(name, index % 3)
        elif action == "add":
            selector.add_shape(name)
        elif action == "unselect":
            selector.unselect_shape(name)
        elif action == "point":
            selector.add_point(index % 3)
        elif action == "app":
            editor.application_selection.select(name, "Roto")
        elif action == "delete":
            editor.delete_shape(name, send_event=index % 2 == 0)
        elif action == "send":
            editor.send_removal(name)
        elif action == "edit":
            editor.insert_point(name, 0) if index % 2 else editor.delete_point(name, 0)
        elif action == "undo":
            editor.undo() if index % 2 else editor.redo()
        elif action == "batch":
            with editor.batch():
                selector.add_shape(name)
                if index % 3 == 0:
                    raise KeyError("abandon")
        elif action == "close":
            editor.close()
    except (voshape.Error, ValueError, IndexError, KeyError):
        pass


ACTIONS = ["select", "primary", "add", "unselect", "point", "app", "delete", "send", "edit",
           "undo", "batch", "close"]
SUBSCRIBE = {
    "primary": lambda editor, f: editor.selector.on_primary_selection_changed(f),
    "shapes": lambda editor, f: editor.selector.on_shape_selection_changed(f),
    "selection": lambda editor, f: editor.selector.on_selection_changed(f),
    "renumbering": lambda editor, f: editor.selector.on_renumbering(f),
    "removed": lambda editor, f: editor.on_shape_event(voshape.ShapeEvent.Kind.REMOVED, f),
}
steps = st.tuples(st.sampled_from(ACTIONS), st.sampled_from(NAMES), st.integers(0, 5))


@settings(max_examples=150, deadline=None, suppress_health_check=[HealthCheck.too_slow])
@given(outer=st.lists(steps, min_size=1, max_size=12), inner=st.lists(steps, max_size=6),
       lists=st.lists(st.sampled_from(sorted(SUBSCRIBE)), min_size=1, max_size=3))
def test_handlers_calling_back_leave_the_editor_whole(outer, inner, lists):
    editor = voshape.Editor.from_string(SCENE)
    selector = editor.selector
    pending = list(inner)

    def meddle(*_):
        if pending:  # each inner step runs once, from whichever handler comes first
            act(editor, *pending.pop(0))

    for name in lists:
        SUBSCRIBE[name](editor, meddle)
    for step in outer:
        act(editor, *step)

    # Every reading works, whatever happened.
    for item in selector:
        assert item.shape.name in NAMES and item.points is not None
    assert all(item.kind in ("node", "object", "input") for item in editor.application_selection)

    # Without the handlers and with every held-back removal sent, one change puts both in step.
    editor.close()
    for shape in editor.pending_removals:
        editor.send_removal(shape)
    editor.add_shape("Z", 1)
    selector.select(["Z"])
    selector.reset()
    assert list(selector) == []
    assert [(i.kind, i.name) for i in editor.application_selection] == [("node", "ShapeEditor")]
