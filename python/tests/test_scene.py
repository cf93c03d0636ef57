"""Building a scene, its shapes and layer, and editing them the way the application does."""

import pytest

import voshape
from conftest import SCENE, host, state


class TestBuilding:
    def test_scene_text_builds_the_shapes_in_order(self, editor):
        shapes = editor.shapes
        assert [s.name for s in shapes] == ["A", "B", "C", "D"]
        assert [(s.point_count, s.handle_count, s.has_gradient, s.single_valued) for s in shapes] == [
            (5, 0, False, False),
            (4, 3, True, False),
            (6, 0, False, True),
            (3, 0, False, False),
        ]
        assert len({s.id for s in shapes}) == 4
        assert editor.nodes == ["ShapeEditor", "Roto", "Output"]

    def test_a_scene_file_reads_as_its_text(self, tmp_path):
        path = tmp_path / "four.scene"
        path.write_text("# four shapes\n" + SCENE)
        from_file = voshape.Editor.from_file(path)
        from_str = voshape.Editor.from_file(str(path))
        for made in (from_file, from_str):
            assert [(s.name, s.point_count, s.handle_count) for s in made.shapes] == [
                ("A", 5, 0),
                ("B", 4, 3),
                ("C", 6, 0),
                ("D", 3, 0),
            ]

    def test_a_missing_file_is_an_os_error_naming_it(self, tmp_path):
        missing = tmp_path / "nowhere.scene"
        with pytest.raises(FileNotFoundError) as raised:
            voshape.Editor.from_file(missing)
        assert raised.value.filename == str(missing)

    @pytest.mark.parametrize(
        "text, message",
        [
            ("shape A 5\nshape A 3\n", '<string>:2: shape name "A" is taken'),
            ("shape A 5\nsquare B 2\n", '<string>:2: unknown directive "square"'),
            ("shape A 10001\n", '<string>:1: point count "10001" out of range'),
            ("shape Roto 2\n", '<string>:1: "Roto" names a node of the graph'),
        ],
    )
    def test_a_bad_line_is_a_scene_error_naming_the_line(self, text, message):
        with pytest.raises(voshape.SceneError, match=message) as raised:
            voshape.Editor.from_string(text)
        assert isinstance(raised.value, ValueError)
        assert isinstance(raised.value, voshape.Error)

    def test_a_scene_error_names_the_given_source(self):
        with pytest.raises(voshape.SceneError, match=r"^shapes\.txt:1: missing point count"):
            voshape.Editor.from_string("shape A\n", source="shapes.txt")

    def test_max_shapes_bounds_the_scene_and_later_shapes(self):
        with pytest.raises(voshape.SceneError, match="at most 2 shapes"):
            voshape.Editor.from_string("shape A 1\nshape B 1\nshape C 1\n", max_shapes=2)
        editor = voshape.Editor.from_string("shape A 1\n", max_shapes=2)
        editor.add_shape("B", 1)
        with pytest.raises(voshape.SceneError, match="at most 2 shapes"):
            editor.add_shape("C", 1)
        editor.delete_shape("B")  # deleted shapes still count
        with pytest.raises(voshape.SceneError, match="at most 2 shapes"):
            editor.add_shape("C", 1)


class TestAddingShapes:
    def test_a_new_shape_joins_the_layer_and_is_announced(self, editor):
        heard = []
        editor.on_shape_event(voshape.ShapeEvent.Kind.ADDED, heard.append)
        made = editor.add_shape("E", 2, 1)
        assert editor.layer.shapes[-1] == made
        assert (made.point_count, made.handle_count) == (2, 1)
        assert [(e.kind, e.shape, e.shape_id, e.owner) for e in heard] == [
            (voshape.ShapeEvent.Kind.ADDED, made, made.id, "Roto")
        ]

    def test_shapes_beyond_the_scene_bound_on_points_can_be_made(self, editor):
        big = editor.add_shape("Big", 20000, single=True)
        assert big.point_count == 20000 and big.single_valued

    @pytest.mark.parametrize(
        "name, points, handles, message",
        [
            ("A", 1, 0, "is taken"),
            ("Output", 1, 0, "names a node"),
            ("two words", 1, 0, "is not one word"),
            ("hash#tag", 1, 0, "is not one word"),
            ("", 1, 0, "is not one word"),
            ("bell\x07", 1, 0, "control character"),
            ("E", -1, 0, "point count -1 out of range"),
            ("E", 1, voshape.Editor.MAX_COUNT + 1, "handle count .* out of range"),
        ],
    )
    def test_a_refused_shape_changes_nothing(self, editor, name, points, handles, message):
        with pytest.raises(voshape.SceneError, match=message):
            editor.add_shape(name, points, handles)
        assert [s.name for s in editor.shapes] == ["A", "B", "C", "D"]
        editor.add_shape("E", 1)  # the refusal took no name
        assert len(editor.layer) == 5

    def test_a_raising_added_handler_leaves_the_shape_built(self, editor):
        def refuse(event):
            raise RuntimeError("no new shapes")

        editor.on_shape_event(voshape.ShapeEvent.Kind.ADDED, refuse)
        with pytest.raises(RuntimeError, match="no new shapes"):
            editor.add_shape("E", 2)
        assert editor.shape("E").alive and "E" in editor.layer


class TestDeletingShapes:
    def test_a_deleted_shape_keeps_its_name_and_id_only(self, editor):
        a = editor.shape("A")
        ident = a.id
        editor.delete_shape(a)
        assert (a.name, a.id, a.alive) == ("A", ident, False)
        for read in ("point_count", "handle_count", "has_gradient", "single_valued"):
            with pytest.raises(voshape.ShapeGoneError, match='shape "A" .* was deleted'):
                getattr(a, read)
        assert "deleted" in repr(a)
        assert "A" not in editor.layer and a not in editor.layer
        assert editor.shape("A") == a  # its record stays
        with pytest.raises(voshape.UnknownShapeError, match="was deleted"):
            editor.layer["A"]
        with pytest.raises(voshape.ShapeGoneError):
            editor.delete_shape(a)

    def test_deleting_a_selected_shape_drops_it_from_both_selections(self, editor, selector):
        removed = []
        editor.on_shape_event(voshape.ShapeEvent.Kind.REMOVED, removed.append)
        selector.select(["A", "C", "D"])
        c = editor.shape("C")
        editor.delete_shape(c)
        assert state(selector) == [("A", None, None), ("D", None, None)]
        assert host(editor) == [("node", "ShapeEditor"), ("object", "A"), ("object", "D")]
        assert [(e.kind, e.shape_id, e.shape, e.owner) for e in removed] == [
            (voshape.ShapeEvent.Kind.REMOVED, c.id, c, "Roto")
        ]

    def test_a_held_back_removal_leaves_a_gone_shape_selected_until_sent(self, editor, selector):
        selector.select(["A", "B"])
        editor.delete_shape("B", send_event=False)
        assert editor.pending_removals == [editor.shape("B")]
        assert [(i.shape.name, i.shape.alive) for i in selector] == [("A", True), ("B", False)]
        with pytest.raises(voshape.NullPointerError, match="null pointer"):
            selector.shapes
        editor.send_removal("B")
        assert editor.pending_removals == []
        assert state(selector) == [("A", None, None)]
        with pytest.raises(ValueError, match="no removal event"):
            editor.send_removal("B")

    def test_a_raising_removal_handler_reaches_the_caller_with_the_shape_gone(self, editor, selector):
        selector.select(["A", "B"])

        def refuse(event):
            raise RuntimeError("keep it")

        editor.on_shape_event(voshape.ShapeEvent.Kind.REMOVED, refuse)
        with pytest.raises(RuntimeError, match="keep it"):
            editor.delete_shape("A")
        # The updater heard the event before the raising handler: the removal stands.
        assert state(selector) == [("B", None, None)]
        assert not editor.shape("A").alive
        with pytest.raises(voshape.UnknownShapeError):
            editor.application_selection.replace(["A"])


class TestEditingPointsAndHandles:
    @pytest.mark.parametrize(
        "call, args, error, message",
        [
            ("insert_point", ("A", 6), IndexError, r"point index 6 out of range \(expected 0 to 5"),
            ("delete_point", ("A", 5), IndexError, r"expected 0 to 4"),
            ("delete_point", ("A", -1), IndexError, "out of range"),
            ("insert_handle", ("A", 0), ValueError, "has no gradient"),
            ("delete_handle", ("B", 3), IndexError, r"handle index 3 .*expected 0 to 2"),
        ],
    )
    def test_an_index_outside_the_shape_changes_nothing(
        self, editor, selector, call, args, error, message
    ):
        selector.set_primary("A", 1)
        with pytest.raises(error, match=message):
            getattr(editor, call)(*args)
        assert (editor.shape("A").point_count, editor.shape("B").handle_count) == (5, 3)
        assert selector.points == [1]

    def test_shapes_are_named_by_handle_or_name_of_this_editor_only(self, editor):
        other = voshape.Editor.from_string(SCENE)
        with pytest.raises(ValueError, match="belongs to another editor"):
            editor.insert_point(other.shape("A"), 0)
        with pytest.raises(TypeError, match="expected a voshape.Shape or a shape's name"):
            editor.insert_point(3, 0)
        with pytest.raises(voshape.UnknownShapeError, match=r'unknown shape "Z" \(expected one of A, B, C, D\)'):
            editor.insert_point("Z", 0)


class TestShapesAndLayer:
    def test_the_layer_is_the_tool_node_and_its_live_shapes(self, editor):
        layer = editor.layer
        assert layer.name == "Roto"
        assert len(layer) == 4 and [s.name for s in layer] == ["A", "B", "C", "D"]
        assert layer["C"] == editor.shape("C") and "C" in layer and "Z" not in layer
        editor.delete_shape("B")
        assert [s.name for s in editor.layer] == ["A", "C", "D"]

    def test_layer_is_the_owner_that_events_name(self, editor):
        owners = []
        editor.on_shape_event(voshape.ShapeEvent.Kind.ADDED, lambda e: owners.append(e.owner))
        editor.add_shape("E", 1)
        assert owners == [editor.layer.name]

    def test_shapes_compare_by_the_shape_they_stand_for(self, editor):
        first, again = editor.shape("A"), editor.layer["A"]
        assert first == again and hash(first) == hash(again)
        assert first != editor.shape("B") and first != "A"
        other = voshape.Editor.from_string(SCENE)
        assert first != other.shape("A")
        assert len({first, again, editor.shape("B")}) == 2
