"""The selector's operations and queries, with Python arguments."""

import array
import ctypes
import subprocess
import sys

import pytest

import voshape
from conftest import handle_inputs, host, point_inputs, state


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

    def test_the_largest_index_is_taken_from_every_unsigned_width(self, selector):
        selector.set_primary("A", 1)
        for code in "BHILQ":
            largest = min(2**31 - 1, 2 ** (8 * array.array(code).itemsize) - 1)
            assert selector.point_ranks(array.array(code, [1, largest])) == [1, 0]

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


class TestRefusals:
    """Arguments the library would take in some other sense: refused, nothing changed."""

    @staticmethod
    def seen(editor, calls):
        history = editor.history
        return (state(editor.selector), host(editor), list(calls),
                history.undo_count, history.redo_count, editor.selector.revision)

    @pytest.mark.parametrize(
        "call, error, message",
        [
            (lambda s: s.select_all_points(-1), ValueError, "count -1 is negative"),
            (lambda s: s.select_next_point(-2), ValueError, "count -2 is negative"),
            (lambda s: s.select_previous_point(-2), ValueError, "count -2 is negative"),
            (lambda s: s.select_all_handles(-1), ValueError, "count -1 is negative"),
            (lambda s: s.select_next_handle(-2), ValueError, "count -2 is negative"),
            (lambda s: s.select_previous_handle(-2), ValueError, "count -2 is negative"),
            (lambda s: s.select("AB"), TypeError, "not a str"),
            (lambda s: s.select_all_shapes(b"AB"), TypeError, "not a bytes"),
            (lambda s: s.replace_all_items("AB"), TypeError, "not a str"),
            (lambda s: s.set_shape_parts("A", [99], [5]), IndexError,
             r'point.*\(99\) is not a point of shape "A" \(expected 0 to 4\)'),
            (lambda s: s.set_shape_parts("B", [1], [0, 3]), IndexError,
             r'element 1 \(3\) is not a handle of shape "B" \(expected 0 to 2\)'),
            (lambda s: s.set_shape_parts("D", None, [0]), IndexError, "expected none: it has no"),
            (lambda s: s.set_shape_parts("D", [-1]), IndexError, r"\(-1\) is not a point"),
        ],
    )
    def test_refused_with_nothing_changed(self, editor, selector, calls, call, error, message):
        selector.select(["B", "C"])
        selector.set_shape_parts("C", [2])
        before = self.seen(editor, calls)
        with pytest.raises(error, match=message) as raised:
            call(selector)
        assert type(raised.value) is error
        assert self.seen(editor, calls) == before

    def test_parts_of_a_shape_selected_alone_are_refused_the_same_way(self, editor, selector):
        selector.set_primary("A", 1)
        with pytest.raises(IndexError, match="not a point") as raised:
            selector.set_shape_parts("A", [5])
        assert type(raised.value) is IndexError and state(selector) == [("A", [1], [])]

    def test_a_shape_of_another_layer_is_refused_and_never_contained(self):
        two = voshape.Editor.from_string("shape A 5\nlayer Paint\nshape P 3\n")
        other = voshape.Editor.from_string("shape A 5\n")
        selector, paint = two.selector, two.layer_named("Paint").selector
        selector.select(["A"])
        paint.select(["P"])
        before = (state(selector), state(paint), host(two), two.history.undo_count)
        for call in (lambda: selector.select(["A", "P"]), lambda: selector.add_shape("P"),
                     lambda: selector.set_primary(two.shape("P")),
                     lambda: selector.set_shape_parts("P", [0]),
                     lambda: selector.replace_all_items([("P", [0], [])]),
                     lambda: selector.replace_all_items(paint.items),
                     lambda: selector.update_point_added("P", 0),
                     lambda: paint.unselect_shape("A")):
            with pytest.raises(ValueError, match='shape "[AP]" is in layer "(Roto|Paint)", not in'):
                call()
            assert (state(selector), state(paint), host(two), two.history.undo_count) == before
        assert "P" not in selector and "A" not in paint and "P" in paint
        assert other.shape("A") not in selector and two.shape("A") in selector

    def test_restore_selection_takes_a_snapshot_or_its_text_only(self, editor, selector, calls):
        selector.set_primary("A", 1)
        before = self.seen(editor, calls)
        with pytest.raises(TypeError, match="expected a SelectionSnapshot or its text, not int"):
            editor.restore_selection(5)
        assert self.seen(editor, calls) == before


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

    def test_a_handle_of_a_shape_without_gradient_is_a_missing_element(self, selector):
        # It raised NullPointerError once, the editor keeping the handle.
        selector.set_primary("A")
        with pytest.raises(voshape.MissingElementError, match='"A" has no gradient') as raised:
            selector.add_handle(1)
        error = raised.value
        assert (error.part, error.index, error.element_count) == ("handle", 1, -1)


class TestChanges:
    def test_last_change_tells_one_item_changes(self, editor, selector):
        selector.select(["A", "B"])
        assert not selector.last_change.whole and selector.last_change.places_added == [0, 1]
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

    def test_last_change_gives_places_and_renumberings(self, editor, selector):
        selector.select(["A", "B", "C", "D"])
        selector.select(["A", "C"])  # out of the middle and at the end
        change = selector.last_change
        assert change.places_removed == [1, 3] and change.places_added == []
        assert change.shapes_removed == [editor.shape("B"), editor.shape("D")]
        selector.set_primary("A", 2)
        selector.add_point(4)
        editor.insert_point("A", 3)
        change = selector.last_change
        assert change.renumbering and change.renumbered_shape == editor.shape("A")
        assert change.renumbered_points and change.renumbered_insertion
        assert change.renumbered_index == 3 and change.parts_rewritten
        assert selector.points == [2, 5]
        selector.add_point(0)
        assert not selector.last_change.renumbering

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
