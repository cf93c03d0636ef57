"""Saved selections, and scenes with several layers sharing one application selection (what
these do after any sequence of operations is the state machine's, test_stateful)."""

import pytest

import voshape
from conftest import SCENE, host, state

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


class TestSnapshots:
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

    def test_unknown_layer_or_open_batch_refused(self, layered):
        with pytest.raises(ValueError, match="expected one of Roto, Paint"):
            layered.active_layer = "Nope"
        with pytest.raises(ValueError, match="no layer is named"):
            layered.layer_named("Nope")
        with layered.batch():
            with pytest.raises(voshape.InvalidCallError):
                layered.active_layer = "Paint"
        assert layered.active_layer == "Roto"

    def test_a_layer_object_stays_its_layer(self, layered):
        roto = layered.layer
        layered.active_layer = "Paint"
        paint = layered.layer
        assert layered.layer_named("Roto").name == "Roto" and "Q" in layered.layer_named("Paint")
        assert (roto.name, paint.name) == ("Roto", "Paint")
        assert "A" in roto and "A" not in paint and layered.shape("P") in paint
        assert len(roto) == 2 and [s.name for s in paint] == ["P", "Q"]
        with pytest.raises(voshape.UnknownShapeError, match="another layer"):
            paint["A"]
