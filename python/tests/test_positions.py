"""Where points and handles lie, moving them, and selecting by regions of the scene."""

import array
import subprocess
import sys

import pytest

import voshape
from conftest import host, state

# A square, a triangle inside it, a shape off to the right, one with a single-valued curve.
PLACED = """\
shape Sq 4 2
points 0,0 10,0 10,10 0,10
handles 0.25 0.75
shape Tri 3
points 2,2 8,2 5,8
shape Far 2
points 100,0 110,5
shape One 3 single
"""


@pytest.fixture
def placed():
    with voshape.Editor.from_string(PLACED) as made:
        yield made


def seen(editor):
    return (state(editor.selector), host(editor), editor.history.undo_count)


class TestPositions:
    def test_the_scene_positions_are_read_as_float_arrays(self, placed):
        numpy = pytest.importorskip("numpy")
        square = placed.shape("Sq")
        assert square.positions.dtype == numpy.float64 and square.positions.shape == (4, 2)
        assert square.positions.tolist() == [[0, 0], [10, 0], [10, 10], [0, 10]]
        assert square.handle_positions.tolist() == [0.25, 0.75]
        assert placed.shape("Tri").handle_positions.shape == (0,)
        with pytest.raises(ValueError, match='"One" has a single-valued curve'):
            placed.shape("One").positions

    def test_shapes_without_positions_stand_where_the_session_driver_puts_them(self):
        # Points along a wave in each shape's own cell: distinct, inside the cell.
        editor = voshape.Editor.from_string("shape A 5\nshape B 4 3\n")
        added = editor.add_shape("G", 3, 2)
        cells = [editor.shape("A").positions, editor.shape("B").positions, added.positions]
        for cell in cells:
            assert len({tuple(p) for p in cell.tolist()}) == len(cell)
        assert cells[0][:, 0].max() < cells[1][:, 0].min()  # B's cell is right of A's
        assert 0 < added.handle_positions[0] < added.handle_positions[1] < 1

    def test_written_positions_read_back_and_inserted_points_lie_midway(self, placed):
        numpy = pytest.importorskip("numpy")
        square = placed.shape("Sq")
        square.set_positions(numpy.array([3, 1]), numpy.array([[-1.5, 2.0], [7.0, 8.0]]))
        square.set_positions(range(1), [(4, 4)])
        assert square.positions.tolist() == [[4, 4], [7, 8], [10, 10], [-1.5, 2]]
        placed.insert_point("Sq", 1)
        assert square.positions.tolist()[1] == [5.5, 6]
        strided = numpy.zeros((2, 4))[:, ::2]  # not contiguous: read through its strides
        strided[1] = [9, 9]
        square.set_positions([0, 1], strided)
        assert square.positions.tolist()[:2] == [[0, 0], [9, 9]]
        # A buffer that is not a sequence of rows: read as a buffer or not at all.
        rows = memoryview(array.array("d", [1, 2, 3, 4])).cast("B").cast("d", [2, 2])
        square.set_positions([2, 3], rows)
        assert square.positions.tolist()[2:4] == [[1, 2], [3, 4]]

    @pytest.mark.parametrize(
        "indices, xy, error, message",
        [
            ([0, 1], [(1, 2), (float("nan"), 0)], ValueError, "pair 1 holds nan"),
            ([0], [(float("inf"), 0)], ValueError, "expected finite numbers"),
            ([0, 1], [(1, 2)], ValueError, "2 indices but 1 pairs"),
            ([0, 4], [(1, 2), (3, 4)], IndexError, r"element 1 \(4\) is not a point of shape"),
            ([-1], [(1, 2)], IndexError, r"\(-1\) is not a point"),
            ([0], [(1, 2, 3)], TypeError, "element 0 is a tuple, not an"),
            ([0], [("1", 2)], TypeError, "holds a str, not a real number"),
            ([0], "12", TypeError, "not a str"),
            ([0.5], [(1, 2)], TypeError, "not an integer"),
        ],
    )
    def test_a_bad_write_writes_nothing(self, placed, indices, xy, error, message):
        square = placed.shape("Sq")
        before = square.positions.tolist()
        with pytest.raises(error, match=message) as raised:
            square.set_positions(indices, xy)
        assert type(raised.value) is error and square.positions.tolist() == before

    def test_other_arrays_and_single_valued_curves_are_refused(self, placed):
        numpy = pytest.importorskip("numpy")
        square = placed.shape("Sq")
        before = square.positions.tolist()
        with pytest.raises(TypeError, match="element 0 is a numpy.ndarray"):
            square.set_positions([0], numpy.zeros((1, 3)))
        with pytest.raises(ValueError, match="single-valued"):
            placed.shape("One").set_positions([0], [(1, 2)])
        assert square.positions.tolist() == before

    def test_handle_places_written_read_back_from_arrays_and_sequences(self, placed):
        numpy = pytest.importorskip("numpy")
        square = placed.shape("Sq")
        square.set_handle_positions(numpy.array([1, 0]), numpy.array([0.9, -2.5]))
        assert square.handle_positions.tolist() == [-2.5, 0.9]
        square.set_handle_positions((1,), [3])  # an int is a real number
        square.set_handle_positions([0], numpy.zeros(4)[::2][1:])  # read through its stride
        assert square.handle_positions.tolist() == [0.0, 3.0]
        assert square.positions.tolist() == [[0, 0], [10, 0], [10, 10], [0, 10]]

    @pytest.mark.parametrize(
        "shape, indices, places, error, message",
        [
            ("Sq", [0, 1], [0.5, float("nan")], ValueError, "value 1 holds nan"),
            ("Sq", [1], [float("-inf")], ValueError, "expected finite numbers"),
            ("Sq", [0, 1], [0.5], ValueError, "2 indices but 1 values .expected one value an"),
            ("Sq", [0], [0.5, 0.6], ValueError, "1 indices but 2 values"),
            ("Sq", [1, 2], [0.5, 0.6], IndexError, r"element 1 \(2\) is not a handle of shape"),
            ("Sq", [-1], [0.5], IndexError, r"\(-1\) is not a handle of shape .Sq. \(expected 0 to 1"),
            ("Tri", [0], [0.5], IndexError, "expected none: it has no handle"),
            ("Sq", [0], [(0.5, 1)], TypeError, "element 0 holds a tuple, not a real number"),
            ("Sq", [0], ["0.5"], TypeError, "holds a str, not a real number"),
            ("Sq", [0], "5", TypeError, "expected real numbers, not a str"),
            ("Sq", [0.5], [0.5], TypeError, "not an integer"),
        ],
    )
    def test_a_bad_handle_write_writes_nothing(self, placed, shape, indices, places, error,
                                               message):
        before = [placed.shape(n).handle_positions.tolist() for n in ("Sq", "Tri")]
        with pytest.raises(error, match=message) as raised:
            placed.shape(shape).set_handle_positions(indices, places)
        assert type(raised.value) is error
        assert [placed.shape(n).handle_positions.tolist() for n in ("Sq", "Tri")] == before

    def test_without_numpy_positions_are_lists(self):
        program = """
import sys
sys.modules["numpy"] = None
import voshape
shape = voshape.Editor.from_string("shape A 2 1\\npoints 1,2 3,4.5\\nhandles 0.5\\n").shape("A")
print(shape.positions, shape.handle_positions)
"""
        ran = subprocess.run([sys.executable, "-c", program], capture_output=True, text=True,
                             check=True)
        assert ran.stdout == "[(1.0, 2.0), (3.0, 4.5)] [0.5]\n"


class TestRegions:
    def test_points_in_a_rectangle_replace_join_or_leave_in_one_step(self, placed):
        selector, runs = placed.selector, []
        selector.set_shape_parts("Sq", [3], [1])
        selector.on_selection_changed(lambda: runs.append("selection"))
        steps = placed.history.undo_count
        selector.select_points_in((11, -1, 5, 5))  # corners in any order, edges included
        assert state(selector) == [("Sq", [1], [1])]
        selector.select_points_in((0, 10, 0, 10), "add")
        selector.select_points_in((0, 10, 0, 10), "add")  # nothing new: no change
        assert state(selector) == [("Sq", [1, 3], [1])]
        selector.select_points_in([(-1, -1), (11, -1), (11, 11)], "remove")  # below the diagonal
        assert state(selector) == [("Sq", [3], [1])]
        assert placed.history.undo_count == steps + 3 and runs == ["selection"] * 3
        placed.undo()
        assert state(selector) == [("Sq", [1, 3], [1])]

    def test_removing_every_point_and_handle_leaves_the_shape_whole(self, placed):
        selector = placed.selector
        selector.set_primary("Tri", 0)
        selector.select_points_in((0, 0, 10, 10), "remove")
        assert state(selector) == [("Tri", None, None)]
        selector.select_points_in((50, 50, 60, 60))
        assert state(selector) == [("Tri", [], [])]  # parts that hold no index

    def test_shapes_wholly_in_a_region(self, placed):
        selector = placed.selector
        selector.set_shape_parts("Far", [1])
        selector.select_shapes_in([(1, 1), (9, 1), (9, 9), (1, 9)], "add")
        assert state(selector) == [("Far", [1], []), ("Tri", None, None)]
        selector.select_shapes_in((-1, -1, 120, 11), "add")
        assert state(selector) == [("Far", [1], []), ("Tri", None, None), ("Sq", None, None)]
        selector.select_shapes_in((-1, -1, 11, 11), "remove")
        assert state(selector) == [("Far", [1], [])]
        selector.select_shapes_in((-1, -1, 11, 11))
        assert state(selector) == [("Sq", None, None), ("Tri", None, None)]

    @pytest.mark.parametrize(
        "call, error, message",
        [
            (lambda s: s.select_points_in((0, 0, 1, 1), "xor"), ValueError, 'mode "xor"'),
            (lambda s: s.select_shapes_in([(0, 0), (1, 1)]), ValueError, "polygon of 2"),
            (lambda s: s.select_points_in((0, 0, "1", 1)), TypeError, "value 2 is a str"),
            (lambda s: s.select_points_in((0, 0, float("nan"), 1)), ValueError, "finite"),
            (lambda s: s.select_shapes_in("ABCD"), TypeError, "not a str"),
            (lambda s: s.select_points_in(5), TypeError, "expected"),
        ],
    )
    def test_bad_regions_and_modes_change_nothing(self, placed, call, error, message):
        placed.selector.set_primary("Sq", 2)
        before = seen(placed)
        with pytest.raises(error, match=message):
            call(placed.selector)
        assert seen(placed) == before

    def test_a_single_valued_primary_shape_is_refused(self, placed):
        placed.selector.set_primary("One")
        before = seen(placed)
        with pytest.raises(ValueError, match="single-valued"):
            placed.selector.select_points_in((0, 0, 1, 1))
        assert seen(placed) == before
