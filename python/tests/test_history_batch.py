"""Undo and redo of the selection, and batches as `with` blocks."""

import gc

import pytest

import voshape
from conftest import host, state


class TestHistory:
    def test_undo_from_a_callback_of_an_undo_is_refused(self, editor, selector):
        selector.select(["B", "A"])
        refused = []

        def undo_again():
            selector.select(["D", "C"])  # a change of its own, which the library allows
            try:
                editor.history.undo()
            except voshape.InvalidCallError as error:
                refused.append(str(error))

        subscription = selector.on_primary_selection_changed(undo_again)
        assert editor.undo()
        subscription.remove()
        assert refused and set(refused) == {
            "undo and redo cannot run from a callback of an undo or redo in progress "
            "(the selection history is not re-entrant)"
        }
        assert state(selector) == [("D", None, None), ("C", None, None)]
        assert editor.undo() and state(selector) == []  # the callback's change was a step

    def test_undo_from_a_callback_of_another_change_is_allowed(self, editor, selector):
        selector.select(["A"])
        once = [True]

        def undo_it():
            if once:
                once.pop()
                editor.undo()

        selector.on_shape_selection_changed(undo_it)
        selector.select(["B"])  # the history hears of B after the callback's undo
        assert state(selector) == [] and host(editor) == [("node", "ShapeEditor")]
        assert editor.redo() and state(selector) == [("A", None, None)]

    def test_clear_detach_and_attach(self, editor, selector):
        selector.select(["A"])
        history = editor.history
        history.clear()
        assert history.stored_items == 0
        history.detach()
        selector.select(["B"])
        assert not history.attached and not editor.undo()
        history.attach()
        selector.select(["C"])
        assert editor.undo() and state(selector) == [("B", None, None)]

    def test_removals_after_an_undo_that_left_a_gone_shape_out_are_steps(self):
        """The removal event of a shape that was alive at the undo is a step, which drops the
        redo step, also when it walks the selection (the shape selected twice)."""
        editor = voshape.Editor.from_string("shape A 5\nshape B 3\nshape C 3\n")
        selector, history = editor.selector, editor.history
        selector.select(["A", "B", "C", "B"])
        selector.set_shape_parts("C", [1], None)
        editor.delete_shape("A", send_event=False)
        assert editor.undo()
        assert (history.undo_count, history.redo_count) == (1, 1)
        editor.delete_shape("B")
        assert state(selector) == [("C", None, None)]
        assert (history.undo_count, history.redo_count) == (2, 0)
        assert not editor.redo()
        # The state before the event, without its gone shapes, is the selection: undo passes it.
        assert editor.undo() and state(selector) == []
        assert (history.undo_count, history.redo_count) == (0, 2)
        editor.close()


class TestBatches:
    def test_commit_ends_the_scope_and_raises_what_the_commit_raises(self, editor, selector):
        def refuse():
            raise RuntimeError("view failed")

        selector.on_selection_changed(refuse)
        with editor.batch() as batch:
            selector.select(["D"])
            with pytest.raises(RuntimeError, match="view failed"):
                batch.commit()
            assert not batch.open
        assert state(selector) == [("D", None, None)]  # announced: it stands

    @pytest.mark.parametrize("operation", ["commit", "cancel"])
    def test_an_ended_or_unopened_scope_refuses_commit_and_cancel(self, editor, selector, operation):
        batch = editor.batch()
        with pytest.raises(voshape.InvalidCallError, match="was not entered"):
            getattr(batch, operation)()
        with batch:
            selector.select(["A"])
        with editor.batch():  # another batch open: the ended one must not reach it
            selector.select(["B"])
            with pytest.raises(voshape.InvalidCallError, match="has ended"):
                getattr(batch, operation)()
        assert state(selector) == [("B", None, None)]

    def test_a_scope_is_entered_once(self, editor):
        batch = editor.batch()
        with batch:
            with pytest.raises(voshape.InvalidCallError, match="entered once"):
                batch.__enter__()

    def test_undo_is_refused_while_a_batch_is_open(self, editor, selector):
        selector.select(["A"])
        with editor.batch():
            with pytest.raises(voshape.InvalidCallError, match="cannot restore while a batch is open"):
                editor.undo()
        assert state(selector) == [("A", None, None)]

    def test_a_batch_let_go_while_open_commits(self, editor, selector):
        batch = editor.batch()
        batch.__enter__()
        selector.select(["C"])
        del batch
        gc.collect()
        assert not selector.is_batch_open and host(editor)[1:] == [("object", "C")]

    def test_close_abandons_open_batches(self, editor, selector):
        selector.select(["A"])
        outer, inner = editor.batch(), editor.batch()
        outer.__enter__()
        inner.__enter__()
        selector.select(["B"])
        assert editor.open_batches == 2
        editor.close()
        assert editor.open_batches == 0 and not outer.open and not inner.open
        assert state(selector) == [("A", None, None)]
        outer.__exit__(None, None, None)  # ended already: nothing

