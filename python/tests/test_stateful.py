"""Random sequences of selector operations, application writes, deletions, point edits, batches
and undo/redo, checked after every step against a small model of both selections.

The model states the library's documented rules in plain Python: what each operation makes of the
editor's selection, what the updater writes into the application's selection (and takes back from
it), what a removal event drops, how renumbering moves indices, what a batch commits or abandons,
and which recorded state undo and redo restore.
"""

import copy
import itertools
import os
from dataclasses import dataclass, field

import hypothesis.strategies as st
from hypothesis import HealthCheck, settings
from hypothesis.stateful import RuleBasedStateMachine, invariant, precondition, rule

import voshape

EXAMPLES = int(os.environ.get("VOSHAPE_STATEFUL_EXAMPLES", "200"))

SCENE = [
    # name, points, handles, single-valued points
    ("A", 5, 0, False),
    ("B", 4, 3, False),
    ("C", 6, 0, True),
    ("D", 3, 0, False),
    ("E", 0, 2, False),
    ("F", 2, 1, True),
]
NODES = ["ShapeEditor", "Roto", "Output"]
POINT_OPS = ["select_point", "select_points", "select_all_points", "select_next_point",
             "select_previous_point", "unselect_points", "add_point", "unselect_point"]
HANDLE_OPS = ["select_handle", "select_all_handles", "select_next_handle",
              "select_previous_handle", "unselect_handles", "add_handle", "unselect_handle"]

ids = itertools.count(1)


@dataclass
class ShapeModel:
    """One shape: its elements (by identity, as the graph's inputs are) and where it stands."""

    points: list
    handles: list
    single: bool
    gradient: bool
    alive: bool = True
    in_graph: bool = True

    @staticmethod
    def made(points, handles, single):
        return ShapeModel([next(ids) for _ in range(points)], [next(ids) for _ in range(handles)],
                          single, handles > 0)


@dataclass
class BatchModel:
    working: list
    depth: int = 1
    cancelled: bool = False
    replaced: bool = False
    edits: list = field(default_factory=list)
    received: list = field(default_factory=list)


class Model:
    """Items of the editor's selection are (name, parts), parts None for a whole shape or a pair
    of index tuples (points, handles) in selection order; items of the application's selection
    are ("node", name), ("object", name), ("point" | "handle", shape, element, component) or
    ("single", shape), inputs naming their element so that they read as the graph does."""

    def __init__(self):
        self.shapes = {name: ShapeModel.made(p, h, s) for name, p, h, s in SCENE}
        self.layer = [name for name, *_ in SCENE]
        self.editor = []
        self.host = []
        self.steps = [[]]
        self.cursor = 0
        self.batch = None
        self.pending = []
        self.notified = False

    # What the editor reads.
    def alive(self, name):
        return self.shapes[name].alive

    def current(self):
        return self.batch.working if self.batch else self.editor

    def primary(self):
        """The live primary shape's name, or None."""
        items = self.current()
        return items[0][0] if items and self.alive(items[0][0]) else None

    def count(self, points):
        name = self.primary()
        if name is None:
            return 0
        shape = self.shapes[name]
        return len(shape.points if points else shape.handles)

    # The updater's mirror of the editor's selection.
    def mirror(self, items):
        mirrored = [("node", "ShapeEditor")]
        mirrored += [("object", name) for name, _ in items if self.alive(name)]
        if len(items) == 1 and self.alive(items[0][0]) and items[0][1] is not None:
            name, (points, handles) = items[0]
            shape = self.shapes[name]
            if points and shape.single:
                mirrored.append(("single", name))
            elif points:
                mirrored += [("point", name, shape.points[i], c) for i in points for c in "xy"]
            mirrored += [("handle", name, shape.handles[i], c) for i in handles
                         for c in ("position", "color")]
        return mirrored

    def describe(self, item):
        if item[0] in ("node", "object"):
            return item
        name = item[1]
        shape = self.shapes[name]
        if item[0] == "single":
            return ("input", f"{name}.curve/Points" if shape.in_graph else "Points (detached)")
        elements = shape.points if item[0] == "point" else shape.handles
        element, component = item[2], item[3]
        if not shape.in_graph or element not in elements:
            return ("input", f"{component} (detached)")
        place = elements.index(element)
        prefix = f"{name}.curve/Points" if item[0] == "point" else f"{name}.gradient"
        return ("input", f"{prefix}[{place}]/{component}")

    # Changes of the editor's selection.
    def record(self, items):
        if items == self.steps[self.cursor]:
            return
        self.steps = self.steps[: self.cursor + 1] + [list(items)]
        self.cursor += 1
        if len(self.steps) > 101:
            self.steps.pop(0)
            self.cursor -= 1

    def commit(self, items):
        """An editor-side change outside a batch: compared, mirrored, notified, recorded."""
        if items == self.editor:
            return
        self.editor = list(items)
        mirrored = self.mirror(self.editor)
        if mirrored != self.host:
            self.host = mirrored
        self.notified = True
        self.record(self.editor)

    def change(self, items):
        if self.batch:
            self.batch.working = list(items)
        else:
            self.commit(items)

    def mirror_in(self):
        """The application's selection changed: its live shapes, as wholes, become the editor's."""
        shapes = [item[1] for item in self.host if item[0] == "object" and self.alive(item[1])]
        if not shapes:
            return
        items = [(name, None) for name in shapes]
        if self.batch:
            self.batch.working = items
            self.batch.replaced = True
        elif items != self.editor:
            self.editor = items
            self.notified = True
            self.record(items)

    def after_removal(self, items, removed):
        if not any(name == removed or not self.alive(name) for name, _ in items):
            return items
        return [(name, None) for name, _ in items if self.alive(name)]

    def renumbered(self, items, name, points, index, added):
        if not items or items[0][0] != name or items[0][1] is None:
            return items

        def moved(indices):
            if added:
                return tuple(i + 1 if i >= index else i for i in indices)
            return tuple(i - 1 if i > index else i for i in indices if i != index)

        selected_points, selected_handles = items[0][1]
        parts = ((moved(selected_points), selected_handles) if points
                 else (selected_points, moved(selected_handles)))
        return [(name, parts)] + items[1:]

    # Parts of the primary shape.
    def parts_op(self, operation, index=None, indices=None):
        name = self.primary()
        if name is None:
            return
        items = self.current()
        parts = items[0][1]
        points, handles = parts if parts is not None else ((), ())
        noun = "point" if "point" in operation else "handle"
        mine, other = (points, handles) if noun == "point" else (handles, points)
        count = self.count(noun == "point")
        whole_if_empty = False
        if operation == f"select_{noun}":
            mine = (index,)
        elif operation == "select_points":
            mine = tuple(indices)
        elif operation == f"select_all_{noun}s":
            mine = mine + tuple(i for i in range(count) if i not in mine)
        elif operation in (f"select_next_{noun}", f"select_previous_{noun}"):
            if count <= 0:
                return
            if not mine:
                mine = (0,)
            elif operation.startswith("select_next"):
                mine = (mine[0] + 1 if mine[0] + 1 < count else 0,)
            else:
                mine = (mine[0] - 1 if mine[0] - 1 >= 0 else count - 1,)
        elif operation == f"unselect_{noun}s":
            if parts is None or (not points and not handles):
                return
            mine, whole_if_empty = (), True
        elif operation == f"add_{noun}":
            if index in mine:
                return
            mine = mine + (index,)
        elif operation == f"unselect_{noun}":
            if parts is None or index not in mine:
                return
            mine, whole_if_empty = tuple(i for i in mine if i != index), True
        new_parts = (mine, other) if noun == "point" else (other, mine)
        if whole_if_empty and not new_parts[0] and not new_parts[1]:
            new_parts = None
        self.change([(name, new_parts)] + items[1:])

    # The application's side.
    def delete(self, name):
        self.shapes[name].alive = False
        self.layer.remove(name)

    def removal(self, name):
        if self.batch:
            self.batch.received.append(name)
            self.batch.working = self.after_removal(self.batch.working, name)
        else:
            self.commit(self.after_removal(self.editor, name))
        self.shapes[name].in_graph = False

    def edit(self, name, points, inserting, index):
        shape = self.shapes[name]
        elements = shape.points if points else shape.handles
        if inserting:
            elements.insert(index, next(ids))
        else:
            del elements[index]
        self.steps = [self.renumbered(step, name, points, index, inserting) for step in self.steps]
        if self.batch:
            self.batch.edits.append((name, points, index, inserting))
            self.batch.working = self.renumbered(self.batch.working, name, points, index, inserting)
        else:
            self.commit(self.renumbered(self.editor, name, points, index, inserting))

    # Batches and the history.
    def open_batch(self):
        if self.batch:
            self.batch.depth += 1
        else:
            self.batch = BatchModel(list(self.editor))

    def close_batch(self, abandon):
        batch = self.batch
        batch.cancelled = batch.cancelled or abandon
        batch.depth -= 1
        if batch.depth > 0:
            return
        self.batch = None
        if not batch.cancelled:
            self.commit(batch.working)
            return
        # Abandoned: what the application reported still applies, then the start state is
        # written back to the application when its selection was mirrored in meanwhile.
        replayed = self.editor
        for edit in batch.edits:
            replayed = self.renumbered(replayed, *edit)
        for name in batch.received:
            replayed = self.after_removal(replayed, name)
        self.commit(replayed)
        if batch.replaced and self.mirror(self.editor) != self.host:
            self.host = self.mirror(self.editor)

    def travel(self, back):
        at = self.cursor
        while (at > 0) if back else (at < len(self.steps) - 1):
            at += -1 if back else 1
            target = [item for item in self.steps[at] if self.alive(item[0])]
            if target != self.editor:
                self.cursor = at
                self.editor = target
                mirrored = self.mirror(target)
                if mirrored != self.host:
                    self.host = mirrored
                self.notified = True
                return True
        return False


class SelectionMachine(RuleBasedStateMachine):
    def __init__(self):
        super().__init__()
        text = "".join(
            f"shape {name} {points} {handles}{' single' if single else ''}\n"
            for name, points, handles, single in SCENE
        )
        self.editor = voshape.Editor.from_string(text)
        self.selector = self.editor.selector
        self.app = self.editor.application_selection
        self.model = Model()
        self.batches = []
        self.runs = []
        self.selector.on_selection_changed(lambda: self.runs.append("selection"))

    def teardown(self):
        self.editor.close()

    # Helpers.
    def names(self):
        return list(self.model.shapes)

    def live(self):
        return list(self.model.layer)

    def begin(self):
        self.runs.clear()
        self.model.notified = False

    # Selector operations.
    @rule(data=st.data())
    def select(self, data):
        names = data.draw(st.lists(st.sampled_from(self.names()), max_size=4), label="select")
        self.begin()
        self.selector.select(names)
        self.model.change([(name, None) for name in names if self.model.alive(name)])

    @rule(data=st.data())
    def set_primary(self, data):
        name = data.draw(st.sampled_from(self.names()), label="primary")
        shape = self.model.shapes[name]
        point = -1
        if shape.alive and shape.points:
            point = data.draw(st.integers(-1, len(shape.points) - 1), label="point")
        self.begin()
        self.selector.set_primary(name, point)
        items = [] if not shape.alive else [(name, None if point == -1 else ((point,), ()))]
        self.model.change(items)

    @rule()
    def select_all_shapes(self):
        self.begin()
        current = self.model.current()
        if self.model.layer and any(not self.model.alive(name) for name, _ in current):
            try:
                self.selector.select_all_shapes()
            except voshape.NullPointerError:
                return
            raise AssertionError("selecting all shapes with a deleted one selected must raise")
        self.selector.select_all_shapes()
        selected = {name for name, _ in current}
        self.model.change(current + [(n, None) for n in self.model.layer if n not in selected])

    @precondition(lambda self: self.model.layer)
    @rule(data=st.data())
    def add_or_unselect_shape(self, data):
        name = data.draw(st.sampled_from(self.live()), label="shape")
        adding = data.draw(st.booleans(), label="adding")
        self.begin()
        current = self.model.current()
        position = next((i for i, (n, _) in enumerate(current) if n == name), None)
        try:
            self.selector.add_shape(name) if adding else self.selector.unselect_shape(name)
        except voshape.NullPointerError:
            # Whether a deleted selected shape makes the look-up raise depends on when the
            # selector last read its identity keys (see test_selector); it changes nothing.
            assert any(not self.model.alive(n) for n, _ in current)
            return
        if adding and position is None:
            self.model.change(current + [(name, None)])
        elif not adding and position is not None:
            self.model.change(current[:position] + current[position + 1:])

    @rule()
    def reset(self):
        self.begin()
        self.selector.reset()
        self.model.change([])

    @rule(data=st.data())
    def points_or_handles(self, data):
        operation = data.draw(st.sampled_from(POINT_OPS + HANDLE_OPS), label="operation")
        count = self.model.count("point" in operation)
        index = indices = None
        takes_index = operation.split("_")[0] in ("add", "unselect") and not operation.endswith("s")
        takes_index = takes_index or operation in ("select_point", "select_handle")
        if takes_index or operation == "select_points":
            if count == 0:
                return  # only indices the primary shape has
            if operation == "select_points":
                indices = data.draw(st.lists(st.integers(0, count - 1), unique=True, max_size=count),
                                    label="indices")
            else:
                index = data.draw(st.integers(0, count - 1), label="index")
        self.begin()
        arguments = [indices] if indices is not None else [index] if index is not None else []
        getattr(self.selector, operation)(*arguments)
        self.model.parts_op(operation, index, indices)

    @precondition(lambda self: self.model.layer)
    @rule(data=st.data())
    def replace_all_items(self, data):
        names = data.draw(st.lists(st.sampled_from(self.live()), min_size=1, max_size=3),
                          label="items")
        shape = self.model.shapes[names[0]]
        parts = data.draw(st.one_of(
            st.none(),
            st.tuples(st.lists(st.integers(0, max(len(shape.points) - 1, 0)), unique=True)
                      if shape.points else st.just([]),
                      st.lists(st.integers(0, max(len(shape.handles) - 1, 0)), unique=True)
                      if shape.handles else st.just([]))), label="parts")
        given = [(names[0], None, None) if parts is None else (names[0], parts[0], parts[1])]
        given += names[1:]
        self.begin()
        self.selector.replace_all_items(given)
        items = [(names[0], None if parts is None else (tuple(parts[0]), tuple(parts[1])))]
        items += [(name, None) for name in names[1:]]
        if self.model.batch:
            self.model.batch.working = items
            self.model.batch.replaced = True
        else:
            self.model.commit(items)

    # The application's selection.
    @rule(data=st.data())
    def application_select(self, data):
        names = data.draw(st.lists(st.sampled_from(self.live() + NODES), max_size=3), label="app")
        self.begin()
        self.app.replace(names)
        wanted = [("node" if n in NODES else "object", n) for n in names]
        if wanted != self.model.host:
            self.model.host = wanted
            self.model.mirror_in()

    @rule(data=st.data())
    def application_insert(self, data):
        name = data.draw(st.sampled_from(self.live() + NODES), label="insert")
        place = data.draw(st.integers(0, len(self.model.host)), label="place")
        self.begin()
        self.app.insert(place, name)
        self.model.host.insert(place, ("node" if name in NODES else "object", name))
        self.model.mirror_in()

    @precondition(lambda self: self.model.host)
    @rule(data=st.data())
    def application_remove(self, data):
        place = data.draw(st.integers(0, len(self.model.host) - 1), label="remove")
        self.begin()
        self.app.remove(place)
        del self.model.host[place]
        self.model.mirror_in()

    # The application's edits of its shapes.
    def removal(self, name):
        """The model's removal, unless the library kept a deleted shape selected where the
        documented rule drops it (see test_scene's known fault): a removal event of a shape that
        is not selected, outside a batch, while another selected shape was deleted with its event
        held back. The library's choice is taken then, and everything else still checked."""
        kept = copy.deepcopy(self.model)
        current = self.model.current()
        self.model.removal(name)
        if self.model.batch or any(n == name for n, _ in current):
            return
        if not any(not self.model.alive(n) for n, _ in current):
            return
        read = [(i.shape.name, None if i.whole else (tuple(i.points), tuple(i.handles)))
                for i in self.selector]
        if read == current and read != self.model.current():
            self.model = kept
            self.model.shapes[name].in_graph = False

    @precondition(lambda self: self.model.layer)
    @rule(data=st.data())
    def delete_shape(self, data):
        name = data.draw(st.sampled_from(self.live()), label="delete")
        send_event = data.draw(st.booleans(), label="send_event")
        self.begin()
        self.editor.delete_shape(name, send_event=send_event)
        self.model.delete(name)
        if send_event:
            self.removal(name)
        else:
            self.model.pending.append(name)

    @precondition(lambda self: self.model.pending)
    @rule(data=st.data())
    def send_removal(self, data):
        name = data.draw(st.sampled_from(self.model.pending), label="send")
        self.begin()
        self.editor.send_removal(name)
        self.model.pending.remove(name)
        self.removal(name)

    @rule(data=st.data())
    def add_new_shape(self, data):
        name = f"G{len(self.model.shapes)}"
        points = data.draw(st.integers(0, 6), label="points")
        handles = data.draw(st.integers(0, 3), label="handles")
        single = data.draw(st.booleans(), label="single")
        self.begin()
        self.editor.add_shape(name, points, handles, single=single)
        self.model.shapes[name] = ShapeModel.made(points, handles, single)
        self.model.layer.append(name)

    @precondition(lambda self: self.model.layer)
    @rule(data=st.data())
    def edit(self, data):
        name = data.draw(st.sampled_from(self.live()), label="edit")
        shape = self.model.shapes[name]
        points = not shape.gradient or data.draw(st.booleans(), label="points")
        count = len(shape.points if points else shape.handles)
        inserting = count == 0 or data.draw(st.booleans(), label="inserting")
        index = data.draw(st.integers(0, count if inserting else count - 1), label="at")
        self.begin()
        noun = "point" if points else "handle"
        getattr(self.editor, f"{'insert' if inserting else 'delete'}_{noun}")(name, index)
        self.model.edit(name, points, inserting, index)

    # Batches, undo and redo.
    @precondition(lambda self: len(self.batches) < 3)
    @rule()
    def open_batch(self):
        self.begin()
        batch = self.editor.batch()
        batch.__enter__()
        self.batches.append(batch)
        self.model.open_batch()

    @precondition(lambda self: self.batches)
    @rule(how=st.sampled_from(["commit", "exception", "cancel"]))
    def close_batch(self, how):
        self.begin()
        batch = self.batches.pop()
        if how == "exception":
            failure = RuntimeError("abandon")
            assert batch.__exit__(RuntimeError, failure, None) is False
        else:
            if how == "cancel":
                batch.cancel()
            batch.__exit__(None, None, None)
        self.model.close_batch(how != "commit")

    @rule(back=st.booleans())
    def travel(self, back):
        self.begin()
        if self.model.batch:
            try:
                self.editor.undo() if back else self.editor.redo()
            except voshape.InvalidCallError:
                return
            raise AssertionError("undo and redo must be refused inside a batch")
        assert (self.editor.undo() if back else self.editor.redo()) == self.model.travel(back)

    # After every step.
    @invariant()
    def selections_match(self):
        items = [(i.shape.name, None if i.whole else (tuple(i.points), tuple(i.handles)))
                 for i in self.selector]
        assert items == self.model.current()
        assert [i.shape.alive for i in self.selector] == [
            self.model.alive(name) for name, _ in self.model.current()]
        host = [(i.kind, i.name) for i in self.app]
        assert host == [self.model.describe(item) for item in self.model.host]
        assert all(i.path == ("Roto", "Output") for i in self.app if i.kind == "input")
        assert self.selector.is_batch_open == (self.model.batch is not None)

    @invariant()
    def selection_list_ran_once_per_change(self):
        assert self.runs == (["selection"] if self.model.notified else [])


SelectionMachine.TestCase.settings = settings(
    max_examples=EXAMPLES,
    stateful_step_count=40,
    deadline=None,
    suppress_health_check=[HealthCheck.too_slow, HealthCheck.filter_too_much],
)
TestSelectionMachine = SelectionMachine.TestCase
