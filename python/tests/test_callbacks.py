"""Python callables on the selector's callback lists, the renumbering list and shape events."""

import gc
import weakref

import pytest

import voshape
from conftest import host, state

Kind = voshape.ShapeEvent.Kind


class TestRaisingHandlers:
    def test_the_error_reaches_the_caller_after_every_list_ran_and_the_change_stands(
        self, editor, selector, calls
    ):
        def refuse():
            raise ValueError("view failed")

        selector.on_primary_selection_changed(refuse)
        with pytest.raises(ValueError, match="view failed"):
            selector.select(["B"])
        assert calls == ["primary", "shapes", "selection"]
        assert state(selector) == [("B", None, None)]
        assert host(editor) == [("node", "ShapeEditor"), ("object", "B")]

    def test_a_raising_handler_ends_its_own_list(self, selector):
        ran = []

        def first():
            ran.append("first")
            raise KeyError("stop")

        selector.on_selection_changed(first)
        selector.on_selection_changed(lambda: ran.append("second"))
        with pytest.raises(KeyError):
            selector.select(["A"])
        assert ran == ["first"]

    def test_the_first_error_is_the_one_raised(self, selector):
        def primary():
            raise ValueError("primary first")

        def selection():
            raise TypeError("selection second")

        selector.on_primary_selection_changed(primary)
        selector.on_selection_changed(selection)
        with pytest.raises(ValueError, match="primary first"):
            selector.select(["C"])

    def test_a_raising_handler_during_undo_leaves_the_restore_standing(self, editor, selector):
        selector.select(["A"])
        selector.select(["B"])

        def refuse():
            raise RuntimeError("during undo")

        subscription = selector.on_selection_changed(refuse)
        with pytest.raises(RuntimeError, match="during undo"):
            editor.undo()
        subscription.remove()
        assert state(selector) == [("A", None, None)]
        assert editor.history.redo_count == 1


class TestSubscriptions:
    def test_a_removed_handler_is_not_called_again(self, selector):
        ran = []
        subscription = selector.on_selection_changed(lambda: ran.append(1))
        assert subscription.active and subscription.list == "selection"
        selector.select(["A"])
        subscription.remove()
        subscription.remove()
        selector.select(["B"])
        assert ran == [1] and not subscription.active

    def test_a_with_block_bounds_a_subscription(self, selector):
        ran = []
        with selector.on_shape_selection_changed(lambda: ran.append(1)):
            selector.select(["A"])
        selector.select(["B"])
        assert ran == [1]

    def test_a_handler_may_remove_itself_and_the_ones_after_it(self, selector):
        ran = []

        def once():
            ran.append("once")
            mine.remove()
            later.remove()

        mine = selector.on_selection_changed(once)
        later = selector.on_selection_changed(lambda: ran.append("later"))
        selector.select(["A"])
        selector.select(["B"])
        assert ran == ["once"]

    def test_a_handler_may_change_the_selection_again(self, editor, selector):
        seen = []

        def follow():
            seen.append([i.shape.name for i in selector])
            if len(seen) == 1:
                selector.add_shape("D")

        selector.on_selection_changed(follow)
        selector.select(["A"])
        assert seen == [["A"], ["A", "D"]]
        assert host(editor) == [("node", "ShapeEditor"), ("object", "A"), ("object", "D")]

    def test_close_releases_every_handler_and_what_it_holds(self, editor, selector):
        class View:
            def __init__(self):
                self.editor = editor  # a cycle through the editor

            def __call__(self):
                pass

        view = View()
        subscription = selector.on_selection_changed(view)
        watcher = weakref.ref(view)
        del view
        gc.collect()
        assert watcher() is not None  # the editor holds it
        editor.close()
        gc.collect()
        assert watcher() is None and not subscription.active
        selector.select(["A"])  # the editor stays usable

    def test_a_handler_closing_the_editor_ends_the_lists_there(self, editor, selector):
        ran = []
        selector.on_selection_changed(editor.close)
        selector.on_selection_changed(lambda: ran.append("after"))
        selector.select(["A"])
        assert ran == [] and state(selector) == [("A", None, None)]

    def test_a_handler_must_be_callable(self, editor, selector):
        with pytest.raises(TypeError, match="must be callable"):
            selector.on_selection_changed(42)
        with pytest.raises(TypeError, match="must be callable"):
            editor.on_shape_event(Kind.ADDED, "not a function")


class TestShapeEvents:
    def test_each_kind_reaches_its_own_handlers(self, editor):
        heard = []
        for kind in (Kind.ADDED, Kind.REMOVED, Kind.MOVED, Kind.RENAMED):
            editor.on_shape_event(kind, lambda event, kind=kind: heard.append((kind, event.kind, event.shape.name)))
        editor.add_shape("E", 1)
        editor.send_shape_event(Kind.RENAMED, "E")
        editor.send_shape_event(Kind.MOVED, editor.shape("A"))
        editor.delete_shape("E")
        assert heard == [
            (Kind.ADDED, Kind.ADDED, "E"),
            (Kind.RENAMED, Kind.RENAMED, "E"),
            (Kind.MOVED, Kind.MOVED, "A"),
            (Kind.REMOVED, Kind.REMOVED, "E"),
        ]

    def test_added_and_removed_are_sent_by_the_editor_only(self, editor):
        with pytest.raises(ValueError, match="sends the added events itself"):
            editor.send_shape_event(Kind.ADDED, "A")
        with pytest.raises(ValueError, match="sends the removed events itself"):
            editor.send_shape_event(Kind.REMOVED, "A")

    def test_events_of_a_deleted_shape_cannot_be_sent(self, editor):
        editor.delete_shape("B")
        with pytest.raises(voshape.ShapeGoneError):
            editor.send_shape_event(Kind.MOVED, "B")

    def test_a_held_back_removal_is_heard_when_sent(self, editor):
        heard = []
        editor.on_shape_event(Kind.REMOVED, lambda event: heard.append(event.shape_id))
        b = editor.shape("B")
        editor.delete_shape(b, send_event=False)
        assert heard == []
        editor.send_removal(b)
        assert heard == [b.id]


class TestRenumbering:
    def test_reports_come_for_every_edit_before_the_selection_moves(self, editor, selector):
        selector.set_primary("B", 2)
        selector.select_handle(1)
        heard = []
        selector.on_renumbering(
            lambda r: heard.append((r.shape.name, r.points, r.index, r.added, selector.points, selector.handles))
        )
        editor.delete_point("B", 0)
        editor.insert_handle("B", 0)
        editor.insert_point("D", 1)  # another shape: reported, nothing renumbered
        assert heard == [
            ("B", True, 0, False, [2], [1]),
            ("B", False, 0, True, [1], [1]),
            ("D", True, 1, True, [1], [2]),
        ]
        assert (selector.points, selector.handles) == ([1], [2])
