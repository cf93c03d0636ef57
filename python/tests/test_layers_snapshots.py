"""Parts in one call, saved selections, and scenes with several layers sharing one application
selection."""

import pytest

import voshape
from conftest import SCENE, handle_inputs, host, point_inputs, state

LAYERED = """\
shape A 5
shape B 4 3
layer Paint
shape P 3
shape Q 2 2
"""


@pytest.fixture
def layered():
    with voshape.Editor.from_string(LAYERED) as made:
        yield made


class TestParts:
    def test_set_shape_parts_selects_exact_parts_in_one_change(self, editor, selector, calls):
        selector.select(["A", "D"])
        undo_before = editor.history.undo_count
        calls.clear()
        selector.set_shape_parts("D", [2, 0], None)
        # D keeps its place; its handles given as None read as an empty set.
        assert state(selector) == [("A", None, None), ("D", [2, 0], [])]
        assert calls.count("selection") == 1
        assert editor.history.undo_count == undo_before + 1

        selector.set_shape_parts("B", [3], [2, 0])
        assert state(selector)[-1] == ("B", [3], [2, 0])
        selector.set_shape_parts("D")
        assert state(selector)[1] == ("D", None, None)

    def test_parts_alone_mirror_as_inputs_and_bad_index_changes_nothing(self, editor, selector):
        selector.set_shape_parts("B", [1], [2])
        assert host(editor)[2:] == point_inputs("B", [1]) + handle_inputs("B", [2])
        before, mirrored = state(selector), host(editor)
        with pytest.raises(voshape.MissingElementError):
            selector.set_shape_parts("B", [1, 9], [])
        assert (state(selector), host(editor)) == (before, mirrored)

    def test_select_handles_keeps_points_and_order(self, selector):
        selector.set_primary("B")
        selector.select_points([2])
        selector.select_handles([2, 0, 2])
        assert (selector.points, selector.handles) == ([2], [2, 0])


class TestSnapshots:
    def test_save_restore_round_trip_through_text(self, editor, selector):
        selector.set_shape_parts("B", [3, 1], [2])
        selector.add_shape("A")
        selector.picking_type, selector.picking_index = 1, 3
        saved = editor.save_selection()
        assert len(saved) == 2
        assert saved.entries == [(editor.shape("B").id, [3, 1], [2]), (editor.shape("A").id, None, None)]
        text = saved.text
        assert text.startswith("voshape-selection 1\n") and str(saved) == text

        selector.reset()
        selector.picking_type = 0
        undo_before = editor.history.undo_count
        assert editor.restore_selection(voshape.SelectionSnapshot.from_text(text)) == []
        assert state(selector) == [("B", [3, 1], [2]), ("A", None, None)]
        assert (selector.picking_type, selector.picking_index) == (1, 3)
        assert editor.history.undo_count == undo_before + 1
        editor.undo()
        assert state(selector) == []
        # The text itself is accepted too.
        editor.restore_selection(text)
        assert state(selector)[0] == ("B", [3, 1], [2])

    def test_unresolved_entry_refused_or_skipped(self, editor, selector):
        selector.select(["A", "D"])
        saved = editor.save_selection()
        selector.select(["C"])
        editor.delete_shape("D")
        before, mirrored = state(selector), host(editor)
        with pytest.raises(voshape.InvalidCallError, match=r"entry 2 .*no live shape"):
            editor.restore_selection(saved)
        assert (state(selector), host(editor)) == (before, mirrored)

        skipped = editor.restore_selection(saved, skip=True)
        assert len(skipped) == 1 and "entry 2" in skipped[0]
        assert state(selector) == [("A", None, None)]

    def test_a_key_no_shape_ever_had_is_unresolved(self, editor, selector):
        selector.select(["B"])
        text = "voshape-selection 1\nshape 999999\nshape %d\n" % editor.shape("A").id
        with pytest.raises(voshape.InvalidCallError, match="entry 1"):
            editor.restore_selection(text)
        assert state(selector) == [("B", None, None)]
        assert len(editor.restore_selection(text, skip=True)) == 1
        assert state(selector) == [("A", None, None)]

    def test_point_past_the_end_of_a_single_valued_curve_is_unresolved(self, editor, selector):
        # C's six points are one single-valued input: the editor counts them, as select_point does.
        selector.select(["B"])
        text = "voshape-selection 1\nshape %d points 5 6\n" % editor.shape("C").id
        with pytest.raises(voshape.InvalidCallError, match=r"point 6 out of range \(the shape has 6\)"):
            editor.restore_selection(text)
        assert state(selector) == [("B", None, None)]
        assert editor.restore_selection(text.replace(" 6\n", "\n")) == []
        assert state(selector) == [("C", [5], [])]

    def test_malformed_text_names_its_line(self):
        with pytest.raises(voshape.InvalidCallError, match="line 2"):
            voshape.SelectionSnapshot.from_text("voshape-selection 1\nshape A\n")

    def test_snapshot_restores_into_another_editor_of_the_same_scene(self, editor, selector):
        selector.set_shape_parts("A", [4, 0], None)
        text = editor.save_selection().text
        with voshape.Editor.from_string(SCENE) as other:
            other.restore_selection(text)
            assert state(other.selector) == [("A", [4, 0], [])]


class TestLayers:
    def test_layer_lines_build_shapes_in_their_layer(self, layered):
        assert layered.layers == ["Roto", "Paint"]
        assert layered.active_layer == "Roto"
        assert sorted(s.name for s in layered.layer) == ["A", "B"]
        assert [s.name for s in layered.shapes] == ["A", "B", "P", "Q"]
        layered.active_layer = "Paint"
        assert sorted(s.name for s in layered.layer) == ["P", "Q"]
        # Select all selects the active layer's shapes only.
        layered.selector.select_all_shapes()
        assert [name for name, _, _ in state(layered.selector)] == ["P", "Q"]

    def test_each_layer_keeps_its_selection_and_republishes_on_activation(self, layered):
        layered.selector.select(["B"])
        layered.active_layer = "Paint"
        assert state(layered.selector) == []
        layered.selector.select(["Q"])
        assert [name for _, name in host(layered)] == ["Paint.Editor", "Q"]

        layered.active_layer = "Roto"
        assert state(layered.selector) == [("B", None, None)]
        assert [name for _, name in host(layered)][1:] == ["B"]
        assert layered.published
        # Items of another layer's shapes still name their shape.
        layered.active_layer = "Paint"
        assert [item.shape.name for item in layered.application_selection if item.kind == "object"] == ["Q"]

    def test_editing_a_shape_of_an_inactive_layer(self, layered):
        layered.active_layer = "Paint"
        layered.selector.set_primary("Q")
        layered.selector.select_points([1])
        layered.active_layer = "Roto"
        layered.insert_point("Q", 0)
        layered.active_layer = "Paint"
        assert layered.selector.points == [2]
        layered.delete_shape("P")
        assert [s.name for s in layered.shapes] == ["A", "B", "Q"]
        with pytest.raises(voshape.ShapeGoneError):
            layered.shape("P").point_count

    def test_unknown_layer_or_open_batch_refused(self, layered):
        with pytest.raises(ValueError, match="expected one of Roto, Paint"):
            layered.active_layer = "Nope"
        with layered.batch():
            with pytest.raises(voshape.InvalidCallError):
                layered.active_layer = "Paint"
        assert layered.active_layer == "Roto"

    def test_a_layer_object_stays_its_layer(self, layered):
        roto = layered.layer
        layered.active_layer = "Paint"
        paint = layered.layer
        assert (roto.name, paint.name) == ("Roto", "Paint")
        assert "A" in roto and "A" not in paint and layered.shape("P") in paint
        assert len(roto) == 2 and [s.name for s in paint] == ["P", "Q"]
        with pytest.raises(voshape.UnknownShapeError, match="another layer"):
            paint["A"]
