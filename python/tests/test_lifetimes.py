"""No Python program can reach freed memory through the module: every object shares its editor."""

import gc
import weakref

import pytest

import voshape
from conftest import SCENE


def made_and_dropped(read):
    """What `read` takes from an editor that Python then lets go of."""
    editor = voshape.Editor.from_string(SCENE)
    editor.selector.set_primary("B", 1)
    taken = read(editor)
    del editor
    gc.collect()
    return taken


@pytest.mark.parametrize(
    "read, use",
    [
        (lambda e: e.shape("B"), lambda shape: shape.point_count == 4),
        (lambda e: e.selector, lambda selector: selector.points == [1]),
        (lambda e: e.selector.items[0], lambda item: item.points == [1] and item.shape.name == "B"),
        (lambda e: e.application_selection, lambda app: len(app) == 4),
        (lambda e: e.application_selection[2], lambda item: item.name == "B.curve/Points[1]/x"),
        (lambda e: e.history, lambda history: history.undo() and not history.undo()),
        (lambda e: e.layer, lambda layer: [s.name for s in layer] == ["A", "B", "C", "D"]),
        (lambda e: e.batch(), lambda batch: batch.__enter__().open),
        (lambda e: e.selector.last_change, lambda change: change.primary_after.name == "B"),
        (lambda e: e.selector.on_selection_changed(print), lambda sub: sub.active),
    ],
    ids=["shape", "selector", "selected-item", "application", "item", "history", "layer", "batch",
         "change", "subscription"],
)
def test_every_object_keeps_its_editor(read, use):
    assert use(made_and_dropped(read))


def test_the_editor_goes_with_its_last_object():
    class View:
        def __call__(self):
            pass

    view = View()
    editor = voshape.Editor.from_string(SCENE)
    editor.selector.on_selection_changed(view)
    shape = editor.shape("A")
    watcher = weakref.ref(view)  # the editor holds the handler as long as it lives
    del view, editor
    gc.collect()
    assert watcher() is not None
    del shape
    gc.collect()
    assert watcher() is None


def test_a_deleted_shape_reads_as_gone_everywhere():
    editor = voshape.Editor.from_string(SCENE)
    editor.selector.select(["A", "B"])
    item = editor.selector.items[1]
    editor.delete_shape("B", send_event=False)
    assert item.shape.name == "B" and not item.shape.alive
    with pytest.raises(voshape.ShapeGoneError):
        item.shape.point_count
    editor.send_removal("B")
    assert [i.shape.name for i in editor.selector] == ["A"]
    assert item.shape.name == "B"  # the item read earlier still names it


def test_a_handler_holding_the_editor_goes_when_the_editor_closes():
    watcher = None
    with voshape.Editor.from_string(SCENE) as editor:
        editor.selector.on_selection_changed(lambda: editor.shapes)
        watcher = weakref.ref(editor)
    del editor
    gc.collect()
    assert watcher() is None


def test_handlers_run_while_the_editor_is_dropped_elsewhere():
    editor = voshape.Editor.from_string(SCENE)
    selector = editor.selector
    holder = {"editor": editor}
    del editor

    def drop():
        holder.clear()
        gc.collect()

    selector.on_selection_changed(drop)
    selector.select(["A"])
    assert [s.name for s in selector.shapes] == ["A"]
