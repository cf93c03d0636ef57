"""Random sequences of every public operation of two layers' editors on one application
selection, checked after every step against the reference model (reference_model.py): selector
operations on any selected shape, points and handles (also of shapes without gradient, and out of
range), application writes, deletions with removal events sent at once or later, point and handle
insertions and removals, layer switches, nested batches, undo and redo, saved selections restored,
refused or skipped, shapes of the other layer refused, changes from another thread (refused while a
batch is open), points moved and selected by rectangles and polygons. An operation the model refuses must raise the documented exception and leave
every layer's selection, the application's selection, the published editor, the history and the
callbacks as they were.
"""

import builtins
import gc
import os
import pickle
import threading

import hypothesis.strategies as st
import pytest
from hypothesis import HealthCheck, event, settings
from hypothesis.stateful import RuleBasedStateMachine, invariant, precondition, rule

import voshape
from reference_model import Model, Refused, ShapeModel

EXAMPLES = int(os.environ.get("VOSHAPE_STATEFUL_EXAMPLES", "200"))

LAYERS = ["Roto", "Paint"]
SCENE = [
    # name, layer, points, handles, single-valued points
    ("A", 0, 5, 0, False),
    ("B", 0, 4, 3, False),
    ("C", 0, 6, 0, True),
    ("D", 0, 3, 0, False),
    ("E", 0, 0, 2, False),
    ("F", 0, 2, 1, True),
    ("P", 1, 3, 0, False),
    ("Q", 1, 2, 2, False),
    ("R", 1, 0, 0, False),
]
NODES = ["ShapeEditor", "Roto", "Output", "Paint.Editor", "Paint"]
# The operations on the primary shape's points, by what they take: an index, a list of indices, a
# count (the primary shape's when left out) or nothing; then their handle twins.
PARTS_OPS = {
    "select_point": "index", "add_point": "index", "unselect_point": "index",
    "select_points": "list", "unselect_points": None,
    "select_all_points": "count", "select_next_point": "count", "select_previous_point": "count",
}
PARTS_OPS.update({name.replace("point", "handle"): taken for name, taken in PARTS_OPS.items()})
LISTS = {"primary": "on_primary_selection_changed", "shapes": "on_shape_selection_changed",
         "selection": "on_selection_changed"}


def scene_text():
    text = ""
    for layer, layer_name in enumerate(LAYERS):
        text += f"layer {layer_name}\n" if layer else ""
        text += "".join(f"shape {name} {points} {handles}{' single' if single else ''}\n"
                        for name, at, points, handles, single in SCENE if at == layer)
    return text


# Where points are moved and regions drawn: the scene's cells (300 by 200 units) and around.
COORDINATES = st.one_of(st.sampled_from([0, 150, 300, 450, 600]), st.integers(-10, 1300))


def read(selector):
    return [(i.shape.name, None if i.whole else (tuple(i.points), tuple(i.handles)))
            for i in selector]


def indices(count):
    """Mostly indices the element has, sometimes one past them or negative."""
    return st.one_of(st.integers(0, max(count - 1, 0)), st.sampled_from([count, count + 3, -1]))


def index_lists(count, repeated=False):
    """Lists of indices; an index given twice counts once, at its first place (repeated)."""
    lists = st.lists(indices(count), max_size=max(count, 2))
    return lists if repeated else lists.map(lambda given: list(dict.fromkeys(given)))


def renumbered(indices, at, added):
    """The indices after the application inserted (removed) `at`: later ones move up (down)."""
    return tuple(i if i < at else i + 1 if added else i - 1 for i in indices if added or i != at)


def places_between(before, after):
    """How many places a change between the lists takes past the ends they share: the difference
    of the middles when one is within the other, else both middles."""
    head = 0
    while head < min(len(before), len(after)) and before[head] == after[head]:
        head += 1
    tail = 0
    while (tail < min(len(before), len(after)) - head
           and before[len(before) - 1 - tail] == after[len(after) - 1 - tail]):
        tail += 1
    gone, come = before[head:len(before) - tail], after[head:len(after) - tail]
    shorter, longer = sorted((gone, come), key=len)
    walk = iter(longer)
    within = all(any(item == other for other in walk) for item in shorter)
    return len(longer) - len(shorter) if within else len(gone) + len(come)


class ChangeFollower:
    """Follows one selector's selection from its selection callback, as a view would: the items it
    saw at the last change's revision, with the change applied, are the items now. While `strict`
    (the layer's own whole-list operation runs), a change that reads as whole must be larger than
    64 places or a quarter of the longer list."""

    def __init__(self, selector):
        self.selector = selector
        self.items, self.revision = read(selector), selector.revision
        self.strict = False

    def __call__(self):
        change, after = self.selector.last_change, read(self.selector)
        if change.revision_before == self.revision and change.revision_after == self.selector.revision:
            if not change.whole:
                assert self.applied(change, after) == after, change
            elif self.strict:
                limit = max(64, max(len(self.items), len(after)) // 4)
                assert places_between(self.items, after) > limit, "a small change reads as whole"
        self.items, self.revision = after, self.selector.revision

    def applied(self, change, after):
        items = list(self.items)
        for place, shape in reversed(list(zip(change.places_removed, change.shapes_removed))):
            assert items[place][0] == shape.name
            del items[place]
        if change.renumbering:
            side = 0 if change.renumbered_points else 1
            for at, (name, parts) in enumerate(items):
                if parts is not None and name == change.renumbered_shape.name:
                    moved = list(parts)
                    moved[side] = renumbered(parts[side], change.renumbered_index,
                                             change.renumbered_insertion)
                    items[at] = (name, tuple(moved))
        for place, shape in zip(change.places_added, change.shapes_added):
            assert after[place][0] == shape.name
            items.insert(place, after[place])
        if change.parts_changed and items:
            if not change.parts_rewritten:
                points, handles = items[0][1] or ((), ())
                points = [i for i in points if i not in change.points_removed] + [
                    i for i in change.points_added if i not in points]
                handles = [i for i in handles if i not in change.handles_removed] + [
                    i for i in change.handles_added if i not in handles]
                assert (tuple(points), tuple(handles)) == (after[0][1] or ((), ())), change
            items[0] = after[0]
        return items


class SelectionMachine(RuleBasedStateMachine):
    def __init__(self):
        super().__init__()
        self.editor = voshape.Editor.from_string(scene_text())
        self.layers = [self.editor.layer_named(name) for name in LAYERS]
        self.app = self.editor.application_selection
        self.model = Model(LAYERS)
        for name, layer, points, handles, single in SCENE:
            self.add_to_model(name, layer, points, handles, single)
        self.batches = []
        self.saved = []
        self.runs = [[] for _ in LAYERS]
        for layer, runs in zip(self.layers, self.runs):
            for name, subscribe in LISTS.items():
                getattr(layer.selector, subscribe)(lambda runs=runs, name=name: runs.append(name))
        self.followers = [ChangeFollower(layer.selector) for layer in self.layers]
        for layer, follower in zip(self.layers, self.followers):
            layer.selector.on_selection_changed(follower)

    def teardown(self):
        self.editor.close()

    # Helpers.
    def add_to_model(self, name, layer, points, handles, single):
        shape = ShapeModel.made(layer, points, handles, single)
        made = self.editor.shape(name)
        shape.key = made.id
        # Where the editor placed it is its own choice; from then on the model follows it.
        if not single:
            shape.xy = dict(zip(shape.points, map(tuple, made.positions.tolist())))
        shape.places = dict(zip(shape.handles, made.handle_positions.tolist()))
        self.model.shapes[name] = shape

    def begin(self):
        for runs in self.runs:
            runs.clear()
        for editor in self.model.editors:
            editor.runs = []

    def run(self, library, model):
        """The model's operation, then the library's: both go through, or the library raises the
        exception the model refused with (exactly that class) and the model stays as it was."""
        self.begin()
        try:
            expected = model()
        except Refused as refused:
            event(f"refused with {refused.error}")
            error = getattr(voshape, refused.error, None) or getattr(builtins, refused.error)
            with pytest.raises(error) as raised:
                library()
            assert type(raised.value) is error
            return Refused
        return library(), expected

    def strictly(self, layer, operation):
        """Runs one of the layer's own whole-list operations: a small change must be described."""
        self.followers[layer].strict = True
        try:
            return operation()
        finally:
            self.followers[layer].strict = False

    def draw_editor(self, data):
        """Either layer: its index, its selector and the model of its editor."""
        layer = data.draw(st.integers(0, len(LAYERS) - 1), label="layer")
        return layer, self.layers[layer].selector, self.model.editors[layer]

    def names_of(self, layer):
        return [n for n, s in self.model.shapes.items() if s.layer == layer]

    # Selector operations, on either layer's editor.
    @rule(data=st.data())
    def select(self, data):
        layer, selector, editor = self.draw_editor(data)
        names = data.draw(st.lists(st.sampled_from(self.names_of(layer)), max_size=4),
                          label="names")
        self.strictly(layer, lambda: self.run(lambda: selector.select(names), lambda: self.model.change(
            editor, [(n, None) for n in names if self.model.alive(n)])))

    @rule(data=st.data())
    def set_primary(self, data):
        layer, selector, editor = self.draw_editor(data)
        name = data.draw(st.sampled_from(self.names_of(layer)), label="primary")
        shape = self.model.shapes[name]
        point = -1
        if shape.alive and data.draw(st.booleans(), label="with point"):
            point = data.draw(indices(len(shape.points)), label="point")
        items = [] if not shape.alive else [(name, None if point == -1 else ((point,), ()))]
        self.strictly(layer, lambda: self.run(lambda: selector.set_primary(name, point),
                                              lambda: self.model.change(editor, items)))

    @rule(data=st.data())
    def select_all_shapes(self, data):
        """The layer's shapes, or the given live ones, that are not selected yet are added."""
        layer, selector, editor = self.draw_editor(data)
        live = self.model.live(layer)
        given = data.draw(st.none() | (st.lists(st.sampled_from(live), max_size=3) if live
                                       else st.just([])), label="shapes")
        walked = live if given is None else given
        current = editor.current()
        self.begin()
        if walked and any(not self.model.alive(n) for n, _ in current):
            with pytest.raises(voshape.NullPointerError):
                selector.select_all_shapes(given)
            return
        # Walked shapes are compared with the selection before the call: one given twice comes
        # twice.
        added = [name for name in walked if name not in [n for n, _ in current]]
        self.strictly(layer, lambda: self.run(
            lambda: selector.select_all_shapes(given),
            lambda: self.model.change(editor, current + [(n, None) for n in added])))

    @rule(data=st.data(), adding=st.booleans())
    def add_or_unselect_shape(self, data, adding):
        layer, selector, editor = self.draw_editor(data)
        live = self.model.live(layer)
        if not live:
            return
        name = data.draw(st.sampled_from(live), label="shape")
        current = editor.current()
        place = next((i for i, (n, _) in enumerate(current) if n == name), None)
        if adding:
            items = current if place is not None else current + [(name, None)]
        else:
            items = current if place is None else current[:place] + current[place + 1:]
        self.run(lambda: selector.add_shape(name) if adding else selector.unselect_shape(name),
                 lambda: self.model.change(editor, items))

    @rule(data=st.data())
    def reset(self, data):
        layer, selector, editor = self.draw_editor(data)
        self.strictly(layer, lambda: self.run(selector.reset,
                                              lambda: self.model.change(editor, [])))

    @rule(data=st.data())
    def points_or_handles(self, data):
        """An operation on the primary shape's points or handles: indices it lacks, and handles
        of a shape without gradient, are stored with several shapes selected and refused with
        one."""
        _, selector, editor = self.draw_editor(data)
        operation = data.draw(st.sampled_from(sorted(PARTS_OPS)), label="operation")
        primary = self.model.primary(editor)
        count = self.model.count(primary, "point" in operation) if primary else 0
        taken = PARTS_OPS[operation]
        arguments = []
        if taken == "index":
            arguments = [data.draw(indices(count), label="index")]
        elif taken == "list":
            arguments = [data.draw(index_lists(count, repeated=True), label="indices")]
        elif taken == "count":
            arguments = data.draw(st.just([]) | st.tuples(st.integers(-1, count + 2)).map(list),
                                  label="count")
        self.run(lambda: getattr(selector, operation)(*arguments),
                 lambda: self.model.parts_op(editor, operation, *arguments))

    @rule(data=st.data())
    def set_shape_parts(self, data):
        """Parts of any shape, selected or not, primary or not."""
        layer, selector, editor = self.draw_editor(data)
        name = data.draw(st.sampled_from(self.names_of(layer)), label="shape")
        shape = self.model.shapes[name]
        points = data.draw(st.none() | index_lists(len(shape.points), True), label="points")
        handles = data.draw(st.none() | index_lists(len(shape.handles), True), label="handles")
        self.run(lambda: selector.set_shape_parts(name, points, handles),
                 lambda: self.model.set_shape_parts(editor, name, points, handles))

    @rule(data=st.data(), how=st.sampled_from(["select", "add", "primary", "parts", "items"]))
    def shape_of_another_layer(self, data, how):
        """A selector refuses a shape of another layer, whatever the operation."""
        layer, selector, _ = self.draw_editor(data)
        name = data.draw(st.sampled_from(self.names_of(1 - layer)), label="foreign")
        calls = {"select": lambda: selector.select([name]), "add": lambda: selector.add_shape(name),
                 "primary": lambda: selector.set_primary(name),
                 "parts": lambda: selector.set_shape_parts(name, [0]),
                 "items": lambda: selector.replace_all_items([name])}

        def refuse():
            raise Refused("ValueError")

        self.run(calls[how], refuse)

    @rule(data=st.data(), how=st.sampled_from(["replace", "restore", "range"]))
    def replace_all_items(self, data, how):
        """Items with parts anywhere in the list, whole (replace_all_items, or restore as the
        keepers of selections do) or in place of a stretch (restore_range)."""
        layer, selector, editor = self.draw_editor(data)
        live = self.model.live(layer)
        if not live:
            return
        given, items = [], []
        for name in data.draw(st.lists(st.sampled_from(live), min_size=1, max_size=3),
                              label="items"):
            shape = self.model.shapes[name]
            parts = data.draw(st.none() | st.tuples(index_lists(len(shape.points)),
                                                    index_lists(len(shape.handles))), label="parts")
            given.append(name if parts is None else (name, parts[0], parts[1]))
            items.append((name, None if parts is None else (tuple(parts[0]), tuple(parts[1]))))
        if how == "range" and not editor.batch:
            position = data.draw(st.integers(0, len(editor.items) + 1), label="position")
            count = data.draw(st.integers(0, len(editor.items) - position + 1), label="count")
            self.run(lambda: selector.restore_range(position, count, given),
                     lambda: self.model.restore_range(editor, position, count, items))
        elif how == "restore" and not editor.batch:
            self.run(lambda: selector.restore(given), lambda: self.model.commit(editor, items))
        else:
            self.run(lambda: selector.replace_all_items(given),
                     lambda: self.model.replace_all_items(editor, items))

    @rule(data=st.data(), picked=st.tuples(st.integers(0, 3), st.integers(-1, 5),
                                           st.integers(-1, 1)))
    def picking(self, data, picked):
        _, selector, editor = self.draw_editor(data)
        self.begin()
        selector.picking_type, selector.picking_index, selector.picking_extremity = picked
        editor.picking = picked

    # Positions and regions.
    @precondition(lambda self: self.model.live())
    @rule(data=st.data())
    def set_positions(self, data):
        """Any live shape, single-valued ones refused, indices sometimes out of range, values
        sometimes not finite or one pair short."""
        name = data.draw(st.sampled_from(self.model.live()), label="moved")
        count = len(self.model.shapes[name].points)
        where = data.draw(index_lists(count), label="indices")
        xy = data.draw(st.lists(st.tuples(COORDINATES, COORDINATES), min_size=len(where),
                                max_size=len(where)), label="xy")
        if data.draw(st.booleans(), label="spoilt") and xy:
            spoil = data.draw(st.sampled_from(["nan", "inf", "short"]), label="spoil")
            xy = xy[1:] if spoil == "short" else [(float(spoil), xy[0][1])] + xy[1:]
        self.run(lambda: self.editor.shape(name).set_positions(where, xy),
                 lambda: self.model.set_positions(name, where, xy))

    @precondition(lambda self: self.model.live())
    @rule(data=st.data())
    def set_handle_positions(self, data):
        """Any live shape, with or without handles; indices sometimes out of range, places
        sometimes not finite or one short."""
        name = data.draw(st.sampled_from(self.model.live()), label="moved")
        count = len(self.model.shapes[name].handles)
        where = data.draw(index_lists(count), label="indices")
        places = data.draw(st.lists(COORDINATES, min_size=len(where), max_size=len(where)),
                           label="places")
        if data.draw(st.booleans(), label="spoilt") and places:
            spoil = data.draw(st.sampled_from(["nan", "-inf", "short"]), label="spoil")
            places = places[1:] if spoil == "short" else [float(spoil)] + places[1:]
        self.run(lambda: self.editor.shape(name).set_handle_positions(where, places),
                 lambda: self.model.set_handle_positions(name, where, places))

    @rule(data=st.data(), mode=st.sampled_from(["replace", "add", "remove"]), shapes=st.booleans())
    def select_in_region(self, data, mode, shapes):
        """A rectangle or a polygon, with corners on the coordinates the points are moved to."""
        _, selector, editor = self.draw_editor(data)
        region = data.draw(st.one_of(
            st.tuples(COORDINATES, COORDINATES, COORDINATES, COORDINATES),
            st.lists(st.tuples(COORDINATES, COORDINATES), min_size=3, max_size=6)),
            label="region")
        if shapes:
            self.run(lambda: selector.select_shapes_in(region, mode),
                     lambda: self.model.select_shapes_in(editor, list(region), mode))
        else:
            self.run(lambda: selector.select_points_in(region, mode),
                     lambda: self.model.select_points_in(editor, list(region), mode))

    # The application's selection.
    def host_objects(self):
        return self.model.live() + NODES

    @staticmethod
    def host_item(name):
        return ("node" if name in NODES else "object", name)

    @rule(data=st.data())
    def application_select(self, data):
        names = data.draw(st.lists(st.sampled_from(self.host_objects()), max_size=3), label="app")
        wanted = [self.host_item(n) for n in names]
        self.begin()
        self.app.replace(names)
        if wanted != self.model.host:
            self.model.application_writes(wanted)

    @rule(data=st.data())
    def application_insert(self, data):
        name = data.draw(st.sampled_from(self.host_objects()), label="insert")
        place = data.draw(st.integers(0, len(self.model.host)), label="place")
        self.begin()
        self.app.insert(place, name)
        host = list(self.model.host)
        host.insert(place, self.host_item(name))
        self.model.application_writes(host)

    @precondition(lambda self: self.model.host)
    @rule(data=st.data())
    def application_remove(self, data):
        place = data.draw(st.integers(0, len(self.model.host) - 1), label="remove")
        self.begin()
        self.app.remove(place)
        self.model.application_writes(self.model.host[:place] + self.model.host[place + 1:])

    # The application's edits of its shapes, in any layer.
    @precondition(lambda self: self.model.live())
    @rule(data=st.data())
    def delete_shape(self, data):
        name = data.draw(st.sampled_from(self.model.live()), label="delete")
        send_event = data.draw(st.booleans(), label="send_event")
        self.begin()
        self.editor.delete_shape(name, send_event=send_event)
        self.model.delete(name)
        if send_event:
            self.model.removal(name)
        else:
            self.model.pending.append(name)

    @precondition(lambda self: self.model.pending)
    @rule(data=st.data())
    def send_removal(self, data):
        name = data.draw(st.sampled_from(self.model.pending), label="send")
        self.begin()
        self.editor.send_removal(name)
        self.model.pending.remove(name)
        self.model.removal(name)

    @rule(data=st.data())
    def add_new_shape(self, data):
        # Non-ASCII names too: the places of their inputs are not made as ASCII ones are.
        name = data.draw(st.sampled_from(["G", "Ĝ"]), label="letter") + str(len(self.model.shapes))
        points = data.draw(st.integers(0, 6), label="points")
        handles = data.draw(st.integers(0, 3), label="handles")
        single = data.draw(st.booleans(), label="single")
        self.begin()
        self.editor.add_shape(name, points, handles, single=single)
        self.add_to_model(name, self.model.active, points, handles, single)

    @precondition(lambda self: self.model.live())
    @rule(data=st.data())
    def edit(self, data):
        name = data.draw(st.sampled_from(self.model.live()), label="edit")
        shape = self.model.shapes[name]
        points = not shape.gradient or data.draw(st.booleans(), label="points")
        count = len(shape.points if points else shape.handles)
        inserting = count == 0 or data.draw(st.booleans(), label="inserting")
        index = data.draw(st.integers(0, count if inserting else count - 1), label="at")
        call = getattr(self.editor, f"{'insert' if inserting else 'delete'}_"
                                    f"{'point' if points else 'handle'}")
        self.run(lambda: call(name, index), lambda: self.model.edit(name, points, inserting, index))

    # Layers.
    @rule(data=st.data())
    def switch_layer(self, data):
        layer, _, editor = self.draw_editor(data)
        if self.batches:
            self.begin()
            with pytest.raises(voshape.InvalidCallError):
                self.editor.active_layer = LAYERS[layer]
            return
        self.model.active = layer
        self.run(lambda: setattr(self.editor, "active_layer", LAYERS[layer]),
                 lambda: self.model.republish(editor))

    @rule()
    def republish(self):
        self.run(self.editor.republish,
                 lambda: self.model.republish(self.model.editors[self.model.active]))

    # Batches, undo and redo.
    @precondition(lambda self: len(self.batches) < 3)
    @rule()
    def open_batch(self):
        self.begin()
        batch = self.editor.batch()
        batch.__enter__()
        assert batch.open and batch.outermost == (not self.batches)
        self.batches.append(batch)
        self.model.open_batch(self.model.editors[self.model.active])

    @precondition(lambda self: self.batches)
    @rule(how=st.sampled_from(["commit", "exception", "cancel", "released"]))
    def close_batch(self, how):
        batch = self.batches.pop()
        if how == "released":
            # Let go while open, the scope commits as its end would, reporting nothing.
            self.begin()
            try:
                self.model.close_batch(self.model.editors[self.model.active], False)
            except Refused:
                pass
            del batch
            gc.collect()
            return

        def end():
            if how == "exception":
                assert batch.__exit__(RuntimeError, RuntimeError("abandon"), None) is False
                return
            if how == "cancel":
                batch.cancel()
            batch.__exit__(None, None, None)
            assert not batch.open

        self.run(end, lambda: self.model.close_batch(self.model.editors[self.model.active],
                                                     how != "commit"))

    @rule(data=st.data(), how=st.sampled_from(["reset", "clear", "undo", "batch"]))
    def from_another_thread(self, data, how):
        """A change made on another thread: refused while a batch (of this thread) is open, as
        on this thread otherwise."""
        layer, selector, editor = self.draw_editor(data)
        calls = {"reset": selector.reset, "clear": self.app.clear,
                 "undo": self.layers[layer].history.undo, "batch": self.batch_elsewhere}
        changes = {"reset": lambda: self.model.change(editor, []),
                   "clear": lambda: self.model.application_writes([]),
                   "undo": lambda: self.model.travel(editor, True), "batch": lambda: None}
        if how == "clear" and not self.model.host and not self.batches:
            return  # an equal list writes nothing: application_writes would not run

        def refuse_or_change():
            if self.batches:
                raise Refused("InvalidCallError")
            return changes[how]()

        def elsewhere():
            raised = []
            thread = threading.Thread(target=lambda: self.catch(calls[how], raised))
            thread.start()
            thread.join()
            if raised:
                raise raised[0]

        self.run(elsewhere, refuse_or_change)

    def batch_elsewhere(self):
        """A batch opened and ended on another thread, changing nothing."""
        with self.editor.batch() as batch:
            assert batch.outermost

    @staticmethod
    def catch(call, raised):
        try:
            call()
        except Exception as error:  # pylint: disable=broad-except
            raised.append(error)

    @rule(data=st.data(), back=st.booleans())
    def travel(self, data, back):
        layer, _, editor = self.draw_editor(data)
        history = self.layers[layer].history
        outcome = self.run(history.undo if back else history.redo,
                           lambda: self.model.travel(editor, back))
        assert outcome is Refused or outcome[0] == outcome[1]

    @rule(data=st.data(), depth=st.integers(-1, 6))
    def history_depth(self, data, depth):
        layer, _, editor = self.draw_editor(data)
        self.run(lambda: setattr(self.layers[layer].history, "depth", depth),
                 lambda: self.model.set_depth(editor, depth))

    @rule(data=st.data())
    def switch_history(self, data):
        layer, _, editor = self.draw_editor(data)
        history = self.layers[layer].history
        self.begin()
        if history.attached:
            history.detach()
        else:
            history.attach()
        self.model.switch_history(editor)

    @rule(data=st.data())
    def clear_history(self, data):
        layer, _, editor = self.draw_editor(data)
        self.run(self.layers[layer].history.clear, lambda: self.model.clear_history(editor))

    # Saved selections, on the active layer.
    @rule()
    def save_selection(self):
        editor = self.model.editors[self.model.active]
        outcome = self.run(self.editor.save_selection, lambda: self.model.capture(editor))
        if outcome is not Refused:
            snapshot, entries = outcome
            assert snapshot.entries == entries and snapshot.picking == editor.picking
            # A value: equal to its text read back and to its pickled copy, and to an earlier
            # one exactly when their entries and picking state are.
            for copy in (voshape.SelectionSnapshot.from_text(snapshot.text),
                         pickle.loads(pickle.dumps(snapshot))):
                assert copy == snapshot and hash(copy) == hash(snapshot)
            for _, text, earlier, picking in self.saved:
                assert (voshape.SelectionSnapshot.from_text(text) == snapshot) == (
                    (earlier, picking) == (entries, editor.picking))
            self.saved.append((self.model.active, snapshot.text, entries, editor.picking))

    @rule(data=st.data())
    def write_snapshot(self, data):
        """A saved selection as a file may hold it: keys of this layer's shapes (deleted ones
        too) and one no shape has, indices in and out of range, handles of shapes without
        gradient."""
        entries, text = [], "voshape-selection 1\npicking 1 2 0\n"
        for name in data.draw(st.lists(st.sampled_from(self.names_of(self.model.active) + [None]),
                                       max_size=3), label="keys"):
            shape = self.model.shapes.get(name)
            key = shape.key if shape else 999999
            parts = data.draw(st.none() | st.tuples(
                index_lists(len(shape.points) if shape else 1),
                index_lists(len(shape.handles) if shape else 1)), label="parts")
            entries.append((key, None, None) if parts is None else (key, *parts))
            text += f"shape {key}\n" if parts is None else "shape {} points {} handles {}\n".format(
                key, " ".join(map(str, parts[0])), " ".join(map(str, parts[1])))
        self.saved.append((self.model.active, text, entries, (1, 2, 0)))

    @precondition(lambda self: self.saved)
    @rule(data=st.data(), skip=st.booleans(), given_as=st.sampled_from(["text", "read", "pickled"]))
    def restore_selection(self, data, skip, given_as):
        """Restored into the layer it was saved from: stale entries refused or skipped."""
        saved = [s for s in self.saved if s[0] == self.model.active]
        if not saved:
            return
        _, text, entries, picking = data.draw(st.sampled_from(saved), label="saved")
        given = text if given_as == "text" else voshape.SelectionSnapshot.from_text(text)
        if given_as == "pickled":
            given = pickle.loads(pickle.dumps(given))
        editor = self.model.editors[self.model.active]
        outcome = self.run(lambda: self.editor.restore_selection(given, skip=skip),
                           lambda: self.model.restore(editor, entries, picking, skip))
        assert outcome is Refused or len(outcome[0]) == outcome[1]

    # After every step.
    @invariant()
    def editors_match(self):
        for layer, (library, model) in enumerate(zip(self.layers, self.model.editors)):
            selector = library.selector
            assert read(selector) == model.current(), library.name
            assert [i.shape.alive for i in selector] == [
                self.model.alive(name) for name, _ in model.current()]
            assert selector.is_batch_open == (model.batch is not None)
            assert library.published == model.published, library.name
            assert (library.history.undo_count, library.history.redo_count) == (
                model.cursor, len(model.steps) - 1 - model.cursor), library.name
            picking = (selector.picking_type, selector.picking_index, selector.picking_extremity)
            assert picking == model.picking
            assert self.runs[layer] == model.runs, library.name
            assert read(selector.committed_items) == model.items
            self.queries_match(selector, model, layer)

    def queries_match(self, selector, editor, layer):
        """The selector's queries read the model's selection."""
        items = editor.current()
        names = [name for name, _ in items]
        assert len(selector) == len(items)
        assert [item.primary for item in selector.items] == [at == 0 for at in range(len(items))]
        assert (selector.primary.name if selector.primary else None) == (names or [None])[0]
        if all(map(self.model.alive, names)):
            assert [shape.name for shape in selector.shapes] == names
        else:
            with pytest.raises(voshape.NullPointerError):
                selector.shapes
        assert [name for name in self.model.live(layer) if name in selector] == [
            name for name in self.model.live(layer) if name in names]
        assert not any(name in selector for name in self.names_of(1 - layer))
        parts = items[0][1] if items and items[0][1] is not None else ((), ())
        for noun, order in zip(("point", "handle"), parts):
            assert getattr(selector, f"{noun}s") == list(order)
            assert getattr(selector, f"ordered_{noun}s") == sorted(order)
            probe = range(-1, max(order, default=0) + 2)
            ranks = [order.index(i) + 1 if i in order else 0 for i in probe]
            assert getattr(selector, f"{noun}_ranks")(probe) == ranks
            assert [getattr(selector, f"{noun}_rank")(i) for i in probe] == ranks
        if layer == self.model.active:
            live = self.model.live(layer)
            assert [name for name in live if self.editor.shape(name).selected] == [
                name for name in live if name in names]

    @invariant()
    def positions_match(self):
        for name in self.model.live():
            shape, library = self.model.shapes[name], self.editor.shape(name)
            if not shape.single:
                assert [tuple(p) for p in library.positions.tolist()] == [
                    shape.xy[e] for e in shape.points], name
            assert library.handle_positions.tolist() == [shape.places[e] for e in shape.handles]

    @invariant()
    def application_matches(self):
        expected = [self.model.describe(item) for item in self.model.host]
        assert [(i.kind, i.name) for i in self.app] == expected
        listed = self.app.to_list()
        assert [(d["kind"], d["name"]) for d in listed] == expected
        assert listed == [item.to_dict() for item in self.app]
        for item in self.app:
            if item.kind == "input" and "." in item.name:
                tool = LAYERS[self.model.shapes[item.name.split(".")[0]].layer]
                assert item.path == (tool, "Output")
        assert self.editor.active_layer == LAYERS[self.model.active]


SelectionMachine.TestCase.settings = settings(
    max_examples=EXAMPLES,
    stateful_step_count=40,
    deadline=None,
    suppress_health_check=[HealthCheck.too_slow, HealthCheck.filter_too_much],
)
TestSelectionMachine = SelectionMachine.TestCase
