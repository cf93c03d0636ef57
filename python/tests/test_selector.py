"""The selector's operations and queries, with Python arguments."""

import array
import ctypes
import subprocess
import sys

import pytest

import voshape
from conftest import handle_inputs, host, point_inputs, state


class TestShapes:
    def test_select_keeps_the_order_and_repetitions_and_makes_the_first_primary(self, selector):
        selector.select(["B", "A", "B"])
        assert state(selector) == [("B", None, None), ("A", None, None), ("B", None, None)]
        assert [item.primary for item in selector] == [True, False, False]
        assert selector.primary.name == "B" and len(selector) == 3
        assert [s.name for s in selector.shapes] == ["B", "A", "B"]

    def test_select_leaves_deleted_shapes_out(self, editor, selector):
        d = editor.shape("D")
        editor.delete_shape(d)
        selector.select(["A", d, "C"])
        assert state(selector) == [("A", None, None), ("C", None, None)]

    def test_set_primary_selects_one_shape_with_an_optional_point(self, editor, selector):
        selector.select(["A", "B"])
        selector.set_primary("C", 3)
        assert state(selector) == [("C", [3], [])]
        assert host(editor)[2:] == [("input", "C.curve/Points")]  # one plain input for all
        selector.set_primary("D")
        assert state(selector) == [("D", None, None)]
        selector.set_primary(None)
        assert state(selector) == []

    def test_set_primary_of_a_deleted_shape_empties_the_selection(self, editor, selector):
        selector.select(["A"])
        b = editor.shape("B")
        editor.delete_shape(b)
        selector.set_primary(b)
        assert state(selector) == []

    def test_select_all_shapes_appends_the_unselected_ones_keeping_parts(self, editor, selector):
        selector.set_primary("C", 1)
        selector.select_all_shapes()
        assert state(selector) == [("C", [1], []), ("A", None, None), ("B", None, None), ("D", None, None)]
        selector.reset()
        selector.select(["D"])
        selector.select_all_shapes(["B", "D", "A"])
        assert [i.shape.name for i in selector] == ["D", "B", "A"]

    def test_one_shape_in_and_out(self, editor, selector):
        selector.set_primary("A", 2)
        selector.add_shape("B")
        assert state(selector) == [("A", [2], []), ("B", None, None)]
        revision = selector.revision
        selector.add_shape("A")  # selected already: nothing
        assert selector.revision == revision
        selector.unselect_shape("A")  # B becomes primary
        assert state(selector) == [("B", None, None)] and selector.primary.name == "B"
        selector.unselect_shape("D")
        assert selector.revision != revision and state(selector) == [("B", None, None)]

    def test_membership_asks_the_selector(self, editor, selector):
        selector.select(["A", "C"])
        assert "A" in selector and editor.shape("C") in selector and "B" not in selector
        assert editor.shape("C").selected and not editor.shape("D").selected

    def test_reset_empties_and_reports_no_primary(self, selector):
        selector.select(["A"])
        selector.reset()
        assert len(selector) == 0 and selector.primary is None and selector.shapes == []


class TestPoints:
    def test_point_operations_follow_the_selection_order(self, editor, selector):
        selector.set_primary("A", 2)
        selector.select_points([4, 1, 3])
        assert selector.points == [4, 1, 3] and selector.ordered_points == [1, 3, 4]
        assert [selector.point_rank(i) for i in range(5)] == [0, 2, 0, 3, 1]
        assert selector.point_ranks(range(5)) == [0, 2, 0, 3, 1]
        selector.add_point(0)
        selector.unselect_point(1)
        assert selector.points == [4, 3, 0]
        selector.select_all_points()
        assert selector.points == [4, 3, 0, 1, 2]
        assert host(editor)[2:] == point_inputs("A", [4, 3, 0, 1, 2])

    def test_next_and_previous_wrap_at_the_shape_s_count(self, selector):
        selector.set_primary("D", 2)
        selector.select_next_point()
        assert selector.points == [0]
        selector.select_previous_point()
        assert selector.points == [2]
        selector.set_primary("A", 1)
        selector.select_next_point(2)  # an explicit count: 1 + 1 reaches it, so 0
        assert selector.points == [0]
        selector.select_previous_point(4)
        assert selector.points == [3]

    def test_next_with_nothing_selected_starts_at_zero(self, selector):
        selector.set_primary("A")
        selector.select_next_point()
        assert selector.points == [0]

    def test_unselecting_the_last_index_selects_the_shape_whole(self, selector):
        selector.set_primary("A", 1)
        selector.unselect_point(1)
        assert state(selector) == [("A", None, None)]
        selector.set_primary("A", 1)
        selector.unselect_points()
        assert state(selector) == [("A", None, None)]

    def test_empty_parts_are_a_state_of_their_own(self, editor, selector):
        selector.set_primary("A")
        selector.select_points([])
        assert state(selector) == [("A", [], [])]
        assert host(editor) == [("node", "ShapeEditor"), ("object", "A")]
        revision = selector.revision
        selector.unselect_points()
        selector.unselect_handles()
        assert selector.revision == revision

    def test_without_a_primary_shape_point_operations_change_nothing(self, selector):
        selector.select_point(1)
        selector.select_all_points()
        selector.add_point(0)
        assert state(selector) == []

    def test_handles_are_the_points_twins_and_keep_the_points(self, editor, selector):
        selector.set_primary("B", 3)
        selector.select_handle(2)
        selector.add_handle(0)
        assert state(selector) == [("B", [3], [2, 0])]
        assert [selector.handle_rank(i) for i in range(3)] == [2, 0, 1]
        assert selector.ordered_handles == [0, 2]
        assert host(editor)[2:] == point_inputs("B", [3]) + handle_inputs("B", [2, 0])
        selector.select_next_handle()
        assert selector.handles == [0]
        selector.select_previous_handle()
        assert selector.handles == [2]
        selector.select_all_handles()
        assert selector.handles == [2, 0, 1]
        selector.unselect_handle(0)
        assert selector.handles == [2, 1]
        selector.unselect_handles()
        assert state(selector) == [("B", [3], [])]


class TestIndexLists:
    @pytest.mark.parametrize(
        "given",
        [
            [4, 0, 2],
            (4, 0, 2),
            (i for i in (4, 0, 2)),
            array.array("i", [4, 0, 2]),
            array.array("q", [4, 0, 2]),
            array.array("H", [4, 0, 2]),
            b"\x04\x00\x02",
        ],
        ids=["list", "tuple", "generator", "int32", "int64", "uint16", "bytes"],
    )
    def test_any_iterable_or_buffer_of_integers(self, selector, given):
        selector.set_primary("A")
        selector.select_points(given)
        assert selector.points == [4, 0, 2]

    def test_buffers_in_native_order_with_a_byte_order_mark(self, selector):
        # ctypes arrays name their order ('<i' here); another order than the machine's is refused.
        selector.set_primary("A")
        selector.select_points((ctypes.c_int32 * 2)(3, 1))
        assert selector.points == [3, 1]
        numpy = pytest.importorskip("numpy")
        foreign = ">i4" if sys.byteorder == "little" else "<i4"
        with pytest.raises(TypeError, match="buffer of integers"):
            selector.select_points(numpy.array([2], dtype=foreign))
        assert selector.points == [3, 1]

    def test_a_range_is_an_iterable(self, selector):
        selector.set_primary("A")
        selector.select_points(range(4, -1, -2))
        assert selector.points == [4, 2, 0]

    def test_numpy_arrays_in_and_out(self, selector):
        numpy = pytest.importorskip("numpy")
        selector.set_primary("A")
        selector.select_points(numpy.array([3, 1], dtype=numpy.int64))
        selector.add_point(numpy.int16(4))
        assert selector.points == [3, 1, 4]
        strided = numpy.arange(5, dtype=numpy.int32)[::-2]
        selector.select_points(strided)
        assert selector.points == [4, 2, 0]
        out = selector.points_array()
        assert out.dtype == numpy.int32 and out.tolist() == [4, 2, 0]
        assert selector.handles_array().shape == (0,)

    def test_lists_read_back_right_on_both_sides_of_the_shared_ints(self, editor):
        # Lists share the int objects of small indices; larger ones are made for each list.
        size = 140000
        editor.add_shape("Big", size)
        selector = editor.selector
        selector.set_primary("Big")
        order = [size - 1, 131072, 131071, 0, 5]
        selector.select_points(order)
        assert selector.points == order
        assert selector.ordered_points == sorted(order)
        selector.select_all_points()
        first, second = selector.points, selector.points
        assert first == second == order + sorted(set(range(size)) - set(order))
        first[0] = -1
        assert selector.points[0] == size - 1

    @pytest.mark.parametrize(
        "given, error, message",
        [
            ([1, 2.5], TypeError, "element 1 is a float, not an integer"),
            (["1"], TypeError, "element 0 is a str"),
            ("12", TypeError, "not a string"),
            ([2**31], ValueError, "outside the index range"),
            ([-(2**31) - 1], ValueError, "outside the index range"),
            (array.array("d", [1.0]), TypeError, "buffer of integers"),
            (array.array("Q", [2**40]), ValueError, "outside the index range"),
            (array.array("Q", [2**64 - 1]), ValueError, "outside the index range"),
            (7, TypeError, "expected integers"),
        ],
    )
    def test_a_bad_list_changes_nothing(self, selector, given, error, message):
        selector.set_primary("A", 1)
        with pytest.raises(error, match=message):
            selector.select_points(given)
        assert selector.points == [1]

    def test_a_two_dimensional_array_is_refused(self, selector):
        numpy = pytest.importorskip("numpy")
        selector.set_primary("A", 1)
        with pytest.raises(TypeError, match="one-dimensional"):
            selector.select_points(numpy.zeros((2, 2), dtype=numpy.int32))
        assert selector.points == [1]


class TestMissingElements:
    def test_an_index_without_element_is_put_back_with_no_callback(self, editor, selector, calls):
        selector.set_primary("A", 1)
        calls.clear()
        before = host(editor)
        with pytest.raises(voshape.MissingElementError) as raised:
            selector.select_points([1, 9])
        error = raised.value
        assert str(error).startswith(
            "mirroring the editor's selection into the application's: shape \"A\" has no point 9"
        )
        assert (error.part, error.index, error.element_count) == ("point", 9, 5)
        assert isinstance(error, voshape.NullPointerError) and isinstance(error, IndexError)
        assert state(selector) == [("A", [1], [])] and host(editor) == before and calls == []

    def test_indices_of_a_primary_among_several_are_stored_unchecked(self, editor, selector):
        selector.select(["A", "B"])
        selector.select_point(99)
        assert state(selector) == [("A", [99], []), ("B", None, None)]
        with pytest.raises(voshape.MissingElementError):
            selector.unselect_shape("B")  # A alone would mirror point 99
        assert state(selector) == [("A", [99], []), ("B", None, None)]


class TestPickingAndChanges:
    def test_picking_state_is_stored_and_read_back(self, selector):
        assert (selector.picking_type, selector.picking_index, selector.picking_extremity) == (0, -1, -1)
        selector.picking_type, selector.picking_index, selector.picking_extremity = 2, 7, 1
        assert (selector.picking_type, selector.picking_index, selector.picking_extremity) == (2, 7, 1)

    def test_last_change_tells_one_item_changes(self, editor, selector):
        selector.select(["A", "B"])
        assert selector.last_change.whole
        selector.add_shape("C")
        change = selector.last_change
        assert not change.whole
        assert change.shapes_added == [editor.shape("C")] and change.shapes_removed == []
        assert change.primary_before == change.primary_after == editor.shape("A")
        assert change.revision_after == selector.revision
        selector.unselect_shape("A")
        change = selector.last_change
        assert change.shapes_removed == [editor.shape("A")] and change.shapes_added == []
        assert (change.primary_before.name, change.primary_after.name) == ("A", "B")

    def test_last_change_tells_single_indices(self, selector):
        selector.set_primary("B", 1)
        selector.add_point(3)
        change = selector.last_change
        assert change.parts_changed and not change.parts_rewritten
        assert (change.points_added, change.points_removed) == ([3], [])
        selector.unselect_handle(2)  # not selected: no change, the description stays
        assert selector.last_change.points_added == [3]
        selector.add_handle(2)
        selector.unselect_handle(2)
        assert selector.last_change.handles_removed == [2]

    def test_last_change_read_from_a_callback_is_that_change(self, editor, selector):
        seen = []
        selector.on_selection_changed(lambda: seen.append(selector.last_change.shapes_added))
        selector.add_shape("D")
        assert seen == [[editor.shape("D")]]

    def test_revision_moves_only_with_a_change(self, selector):
        first = selector.revision
        selector.select(["A"])
        second = selector.revision
        selector.select(["A"])
        assert first != second == selector.revision


class TestItemLists:
    def test_items_read_can_be_given_back_as_they_were(self, editor, selector):
        selector.set_primary("B", 2)
        selector.select_handle(1)
        saved = selector.items
        selector.select(["A", "C"])
        selector.restore(saved)
        assert state(selector) == [("B", [2], [1])]
        assert host(editor)[2:] == point_inputs("B", [2]) + handle_inputs("B", [1])

    def test_tuples_give_parts_and_none_a_whole_shape(self, selector):
        selector.replace_all_items([("B", None, [2, 0]), "A", ("D", [], [])])
        assert state(selector) == [("B", [], [2, 0]), ("A", None, None), ("D", [], [])]
        with pytest.raises(TypeError, match=r"\(shape, points, handles\)"):
            selector.replace_all_items([("B", [1])])

    def test_restore_range_splices_a_stretch(self, selector):
        selector.select(["A", "B", "C"])
        selector.restore_range(1, 1, ["D", ("C", [0], None)])
        assert state(selector) == [("A", None, None), ("D", None, None), ("C", [0], []), ("C", None, None)]
        with pytest.raises(voshape.InvalidCallError):
            selector.restore_range(3, 2, [])
        assert len(selector) == 4

    def test_selected_items_compare_by_shape_and_parts(self, selector):
        selector.set_primary("A", 1)
        first = selector.items[0]
        selector.select_points([1])
        assert selector.items[0] == first
        selector.add_point(2)
        assert selector.items[0] != first

    def test_items_of_another_editor_are_refused(self, selector):
        other = voshape.Editor.from_string("shape A 2\n")
        other.selector.select(["A"])
        with pytest.raises(ValueError, match="another editor"):
            selector.replace_all_items(other.selector.items)


class TestRenumberingDirectly:
    def test_renumbering_after_the_graph_changed_is_what_the_editor_does(self, editor, selector):
        selector.set_primary("A", 3)
        heard = []
        selector.on_renumbering(lambda r: heard.append((r.shape.name, r.points, r.index, r.added, selector.points)))
        editor.insert_point("A", 0)
        assert heard == [("A", True, 0, True, [3])]  # heard before the renumbering
        assert selector.points == [4]

    def test_renumbering_before_the_graph_changes_mirrors_a_missing_element(self, selector):
        selector.set_primary("A", 4)
        with pytest.raises(voshape.MissingElementError, match="has no point 5"):
            selector.update_point_added("A", 0)
        assert selector.points == [4]


class TestFormerLibraryFaults:
    """Behaviour the library's headers promise and that it once did not give."""

    def test_membership_does_not_depend_on_when_the_keys_were_read(self, editor, selector):
        selector.select(["A"])
        assert "B" not in selector  # keys read while A lives
        editor.delete_shape("A", send_event=False)
        assert "B" not in selector
        selector.select(["C"])  # a whole change: the keys will be read again
        editor.delete_shape("C", send_event=False)
        assert "B" not in selector  # C went before the keys were read

    def test_primary_before_names_the_shape_that_was_primary(self, editor, selector):
        selector.select(["A", "C"])
        selector.unselect_shape("A")
        assert selector.last_change.primary_before == editor.shape("A")


def test_without_numpy_only_the_arrays_are_missing():
    program = """
import sys
sys.modules["numpy"] = None  # as if NumPy were not installed
import voshape
editor = voshape.Editor.from_string("shape A 4\\n")
editor.selector.set_primary("A")
editor.selector.select_points([3, 1])
assert editor.selector.points == [3, 1]
try:
    editor.selector.points_array()
except ImportError:
    print("no arrays")
"""
    ran = subprocess.run([sys.executable, "-c", program], capture_output=True, text=True, check=True)
    assert ran.stdout == "no arrays\n"
