"""Undo and redo of the selection, and batches as `with` blocks."""

import gc

import pytest

import voshape
from conftest import host, point_inputs, state


class TestHistory:
    def test_undo_and_redo_walk_the_steps_and_the_application_follows(self, editor, selector, calls):
        selector.select(["A", "B"])
        selector.set_primary("C", 2)
        history = editor.history
        assert (history.undo_count, history.redo_count) == (2, 0)
        calls.clear()
        assert editor.undo()
        assert state(selector) == [("A", None, None), ("B", None, None)]
        assert host(editor) == [("node", "ShapeEditor"), ("object", "A"), ("object", "B")]
        assert calls == ["primary", "shapes", "selection"]
        assert history.undo() and state(selector) == [] and not history.undo()
        assert history.redo() and history.redo() and not history.redo()
        assert state(selector) == [("C", [2], [])]

    def test_a_new_change_drops_the_redo_steps(self, editor, selector):
        selector.select(["A"])
        selector.select(["B"])
        editor.undo()
        selector.select(["D"])
        assert editor.history.redo_count == 0 and not editor.redo()

    def test_application_writes_are_steps_too(self, editor, selector):
        selector.select(["A"])
        editor.application_selection.select("D", "B")
        editor.undo()
        assert state(selector) == [("A", None, None)]
        assert host(editor) == [("node", "ShapeEditor"), ("object", "A")]

    def test_a_deleted_shape_never_comes_back_and_empty_steps_are_skipped(self, editor, selector):
        selector.select(["B"])
        selector.select(["A", "C"])
        editor.delete_shape("C")  # a step: [A, C] -> [A]
        assert state(selector) == [("A", None, None)]
        assert editor.undo()  # [A, C] without C is [A]: skipped, on to [B]
        assert state(selector) == [("B", None, None)]

    def test_kept_states_follow_the_points_inserted_and_removed(self, editor, selector):
        selector.set_primary("A", 3)
        selector.select(["B"])
        editor.insert_point("A", 0)
        editor.delete_point("A", 4)
        editor.undo()
        assert state(selector) == [("A", [], [])]  # point 3 became 4, then left
        editor.redo()
        editor.insert_point("A", 0)
        editor.undo()
        assert state(selector) == [("A", [], [])]

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

    def test_depth_trims_the_oldest_steps(self, editor, selector):
        for name in "ABCD":
            selector.select([name])
        editor.history.depth = 2
        assert editor.history.undo_count == 2
        assert editor.undo() and editor.undo() and not editor.undo()
        assert state(selector) == [("B", None, None)]
        with pytest.raises(voshape.InvalidCallError):
            editor.history.depth = -1
        assert editor.history.depth == 2

    def test_clear_detach_and_attach(self, editor, selector):
        selector.select(["A"])
        history = editor.history
        history.clear()
        assert history.undo_count == 0 and history.stored_items == 0
        history.detach()
        selector.select(["B"])
        assert not history.attached and not editor.undo()
        history.attach()
        selector.select(["C"])
        assert editor.undo() and state(selector) == [("B", None, None)]


class TestBatches:
    def test_a_batch_is_one_change_one_mirror_one_step(self, editor, selector, calls):
        with editor.batch() as batch:
            assert batch.open and batch.outermost and selector.is_batch_open
            selector.select(["A"])
            selector.select_point(1)
            selector.add_shape("B")
            assert state(selector) == [("A", [1], []), ("B", None, None)]  # reads see the batch
            assert selector.committed_items == []  # the selection object: the batch's start
            assert host(editor) == [] and calls == []
        assert not batch.open and not selector.is_batch_open
        assert host(editor) == [("node", "ShapeEditor"), ("object", "A"), ("object", "B")]
        assert calls == ["primary", "shapes", "selection"]
        assert editor.history.undo_count == 1

    def test_a_batch_that_ends_where_it_began_notifies_no_one(self, editor, selector, calls):
        selector.select(["A"])
        calls.clear()
        revision = selector.revision
        with editor.batch():
            selector.select(["B"])
            selector.select(["A"])
        assert calls == [] and selector.revision == revision

    def test_an_exception_abandons_the_whole_batch_and_passes_on(self, editor, selector, calls):
        selector.select(["A"])
        calls.clear()
        with pytest.raises(KeyError):
            with editor.batch():
                selector.select(["B"])
                with editor.batch() as inner:
                    assert not inner.outermost
                    selector.select(["C"])
                    raise KeyError("stop")
        assert state(selector) == [("A", None, None)] and calls == []

    def test_an_exception_caught_inside_still_abandons_at_the_outermost_end(self, editor, selector):
        selector.select(["A"])
        with editor.batch():
            try:
                with editor.batch():
                    selector.select(["C"])
                    raise RuntimeError
            except RuntimeError:
                pass
            selector.select(["D"])
        assert state(selector) == [("A", None, None)]

    def test_cancel_abandons_and_deletions_inside_still_apply(self, editor, selector):
        selector.select(["A", "B"])
        with editor.batch() as batch:
            selector.select(["C"])
            editor.delete_shape("B")
            batch.cancel()
        assert state(selector) == [("A", None, None)]
        assert host(editor) == [("node", "ShapeEditor"), ("object", "A")]

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

    def test_the_end_of_the_block_raises_what_the_commit_raises(self, editor, selector):
        selector.set_primary("A")
        with pytest.raises(voshape.MissingElementError):
            with editor.batch():
                selector.select_points([0, 7])
        assert state(selector) == [("A", None, None)]
        assert host(editor) == [("node", "ShapeEditor"), ("object", "A")]

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

    def test_application_writes_inside_a_batch_wait_for_its_end(self, editor, selector, calls):
        with editor.batch():
            editor.application_selection.select("D")
            assert state(selector) == [("D", None, None)] and calls == []
            selector.add_shape("A")
        assert state(selector) == [("D", None, None), ("A", None, None)]
        assert host(editor) == [("node", "ShapeEditor"), ("object", "D"), ("object", "A")]

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

    def test_points_edited_inside_an_abandoned_batch_stay_renumbered(self, editor, selector):
        selector.set_primary("A", 3)
        with pytest.raises(RuntimeError):
            with editor.batch():
                editor.insert_point("A", 0)
                raise RuntimeError
        assert state(selector) == [("A", [4], [])]
        assert host(editor)[2:] == point_inputs("A", [4])

