"""The application's selection: its items as the updater writes them, and writing it."""

import gc
import json
import sys

import pytest

import voshape
from conftest import PATH, handle_inputs, host, point_inputs, state


class TestReading:
    def test_the_editor_s_node_then_the_shapes_objects(self, editor, selector):
        selector.select(["C", "A"])
        items = list(editor.application_selection)
        assert [(i.kind, i.name, i.place, i.path) for i in items] == [
            ("node", "ShapeEditor", None, ()),
            ("object", "C", None, ()),
            ("object", "A", None, ()),
        ]
        assert [i.shape for i in items] == [None, editor.shape("C"), editor.shape("A")]

    def test_inputs_of_one_shape_s_points_and_handles_with_their_path(self, editor, selector):
        selector.set_primary("B", 3)
        selector.add_handle(1)
        app = editor.application_selection
        assert len(app) == 2 + 2 + 2
        assert host(editor)[2:] == point_inputs("B", [3]) + handle_inputs("B", [1])
        inputs = app.items[2:]
        assert all(i.path == PATH and i.place == i.name and i.shape is None for i in inputs)
        assert app[-1].name == "B.gradient[1]/color" and app[0].kind == "node"
        assert repr(app[2]) == "<voshape.Item input B.curve/Points[3]/x via Roto>Output>"
        assert repr(app[1]) == "<voshape.Item object B>"
        with pytest.raises(IndexError, match="out of range"):
            app[6]

    def test_items_as_dictionaries_for_json(self, editor, selector):
        selector.set_primary("A", 0)
        text = json.dumps(editor.application_selection.to_list())
        assert json.loads(text) == [
            {"kind": "node", "name": "ShapeEditor"},
            {"kind": "object", "name": "A"},
            {"kind": "input", "name": "A.curve/Points[0]/x", "path": list(PATH)},
            {"kind": "input", "name": "A.curve/Points[0]/y", "path": list(PATH)},
        ]

    def test_dictionaries_are_each_their_own(self, editor, selector):
        selector.set_primary("A")
        selector.select_all_points()
        listed = editor.application_selection.to_list()
        assert listed == [item.to_dict() for item in editor.application_selection.items]
        listed[2]["path"].append("changed")
        listed[3]["kind"] = "changed"
        assert listed[4]["path"] == list(PATH) and listed[4]["kind"] == "input"
        assert editor.application_selection.to_list()[2]["path"] == list(PATH)

    def test_the_list_describes_each_item_as_the_item_does_also_once_detached(self, editor):
        """to_list makes the places of a run of inputs from their parents' places, kept between
        items: it must say what each item says alone, also for inputs whose point or shape went
        and for places that moved since they were read."""
        selector = editor.selector
        app = editor.application_selection
        selector.set_primary("B")
        selector.select_all_points()
        selector.select_all_handles()
        held = app.items
        editor.insert_point("B", 0)  # every place after it moves
        editor.delete_point("B", 2)  # its x and y inputs leave the graph
        editor.delete_handle("B", 0)
        app.replace(held + ["C", "A"])
        editor.delete_shape("A", send_event=False)  # its object item stays, its shape gone
        listed = app.to_list()
        assert listed == [item.to_dict() for item in app]
        places = [d["name"] for d in listed]
        assert places.count("x (detached)") == 1 and "B.curve/Points[3]/y" in places
        assert "B.gradient[0]/color" in places and places[-2:] == ["C", "A"]

    def test_places_and_paths_of_runs_from_other_shapes_layers_and_names(self):
        """Each run of inputs shares a parent's place and a path: a list mixing shapes of two
        layers, named in ASCII or not (the non-ASCII byte in the first eight or later), says of
        each item what it says alone."""
        scene = "shape Å 2\nshape abcdefghÅ 1 1\nlayer Paint\nshape P 2\n"
        with voshape.Editor.from_string(scene) as editor:
            selector, app = editor.selector, editor.application_selection
            held = []
            for name, layer in (("Å", "Roto"), ("P", "Paint"), ("abcdefghÅ", "Roto")):
                editor.active_layer = layer
                selector.set_primary(name)
                selector.select_all_points()
                held += app.items[2:]
            selector.select_all_handles()
            held += app.items[-1:]
            app.replace(held)
            listed = app.to_list()
        assert listed == [item.to_dict() for item in held]
        assert [d["name"] for d in listed] == [
            "Å.curve/Points[0]/x", "Å.curve/Points[0]/y", "Å.curve/Points[1]/x",
            "Å.curve/Points[1]/y", "P.curve/Points[0]/x", "P.curve/Points[0]/y",
            "P.curve/Points[1]/x", "P.curve/Points[1]/y", "abcdefghÅ.curve/Points[0]/x",
            "abcdefghÅ.curve/Points[0]/y", "abcdefghÅ.gradient[0]/color"]
        assert [d["path"] for d in listed] == [list(PATH)] * 4 + [["Paint", "Output"]] * 4 + [
            list(PATH)] * 3

    def test_the_collector_is_as_it_was_after_a_list(self, editor, selector):
        """to_list holds the collector off while it works, and every reference it took with it."""
        selector.set_primary("A")
        selector.select_all_points()
        editor.application_selection.to_list()
        nones = sys.getrefcount(None)
        editor.application_selection.to_list()
        after = sys.getrefcount(None)  # apart from the assert, whose rewriting holds None
        assert after == nones
        try:
            assert gc.isenabled()
            editor.application_selection.to_list()
            assert gc.isenabled()
            gc.disable()
            editor.application_selection.to_list()
            assert not gc.isenabled()
        finally:
            gc.enable()

    def test_iteration_makes_items_one_by_one_and_refuses_a_change_midway(self, editor, selector):
        selector.select(["A", "B"])
        walk = iter(editor.application_selection)
        assert next(walk).name == "ShapeEditor" and next(walk).name == "A"
        selector.select(["C"])
        with pytest.raises(RuntimeError, match="changed during iteration"):
            next(walk)
        walk = iter(editor.application_selection)
        assert [i.name for i in walk] == ["ShapeEditor", "C"]
        with pytest.raises(StopIteration):
            next(walk)

    def test_an_input_read_before_an_insertion_tells_its_new_place(self, editor, selector):
        selector.set_primary("A", 2)
        x = editor.application_selection[2]
        editor.insert_point("A", 0)
        assert x.name == "A.curve/Points[2]/x"  # read then
        assert editor.application_selection[2].name == "A.curve/Points[3]/x"

    def test_a_shape_gone_without_its_event_has_no_item_before_later_ones(self):
        """Deleted without a removal event, B stays selected but has no item: shapes added or
        taken out after it are mirrored at their places among the items that are there."""
        editor = voshape.Editor.from_string("shape A 5\nshape B 3\nshape C 3\nshape D 3\n")
        selector = editor.selector
        selector.select(["A", "B", "C"])
        editor.delete_shape("B", send_event=False)
        selector.select_point(0)  # a whole change, made while B is gone
        selector.add_shape("D")
        assert host(editor)[1:] == [("object", "A"), ("object", "C"), ("object", "D")]
        selector.unselect_shape("C")
        assert [i.shape.name for i in selector] == ["A", "B", "D"]
        assert host(editor)[1:] == [("object", "A"), ("object", "D")]
        editor.close()


class TestWriting:
    def test_an_equal_list_is_not_written(self, editor, selector):
        editor.application_selection.select("A", "B")
        revision = editor.application_selection.revision
        editor.application_selection.select("A", "B")
        assert editor.application_selection.revision == revision

    def test_one_item_in_and_out(self, editor, selector):
        app = editor.application_selection
        app.select("A")
        app.append("C")
        assert state(selector) == [("A", None, None), ("C", None, None)]
        app.insert(0, "Roto")
        app.insert(-1, editor.shape("B"))  # before the last, as list.insert counts
        assert host(editor) == [("node", "Roto"), ("object", "A"), ("object", "B"), ("object", "C")]
        assert state(selector) == [("A", None, None), ("B", None, None), ("C", None, None)]
        del app[1]
        app.remove(-1)
        assert host(editor) == [("node", "Roto"), ("object", "B")]
        assert state(selector) == [("B", None, None)]

    def test_items_read_can_be_written_back(self, editor, selector):
        selector.set_primary("A", 4)
        saved = editor.application_selection.items
        editor.application_selection.clear()
        editor.application_selection.replace(saved)
        assert host(editor) == [("node", "ShapeEditor"), ("object", "A")] + point_inputs("A", [4])
        assert saved[2] == editor.application_selection[2] and saved[2] != saved[3]

    def test_a_removal_by_place_takes_that_item_even_when_it_is_repeated(self, editor):
        app = editor.application_selection
        app.select("A")
        a = app[0]
        app.append(a)
        app.insert(1, "Roto")
        app.remove(2)
        assert [(i.kind, i.name) for i in app] == [("object", "A"), ("node", "Roto")]

    @pytest.mark.parametrize(
        "write, error, message",
        [
            (lambda app: app.select("Z"), voshape.UnknownShapeError, r'no live shape or node is named "Z"'),
            (lambda app: app.insert(5, "A"), IndexError, "place 5 out of range"),
            (lambda app: app.remove(3), IndexError, "place 3 out of range"),
            (lambda app: app.append(42), TypeError, "expected a voshape.Item"),
        ],
    )
    def test_bad_writes_change_nothing(self, editor, selector, write, error, message):
        selector.select(["A", "B"])
        before = host(editor)
        with pytest.raises(error, match=message):
            write(editor.application_selection)
        assert host(editor) == before and state(selector) == [("A", None, None), ("B", None, None)]

    def test_a_deleted_shape_cannot_be_written(self, editor):
        c = editor.shape("C")
        editor.delete_shape(c)
        with pytest.raises(voshape.ShapeGoneError):
            editor.application_selection.select(c)
        with pytest.raises(voshape.UnknownShapeError):
            editor.application_selection.select("C")

    def test_items_of_another_editor_are_refused(self, editor):
        other = voshape.Editor.from_string("shape A 1\n")
        other.application_selection.select("A")
        with pytest.raises(ValueError, match="another editor"):
            editor.application_selection.replace(other.application_selection.items)
