"""A plain-Python model of the example application's editors on one application selection: what
each layer's editor holds, what its updater writes into the application's selection (and takes back
from it), which callback lists run, what removal events, renumbering, batches, the history and saved
selections do, and which operations are refused with nothing changed.

Every rule here is a documented one (docs/selection-protocol.md, docs/embedding.md "Points and
handles", docs/batches-and-undo.md, docs/saving-selections.md, docs/several-editors.md). The state is plain values:
an editor's items are (name, parts) pairs, parts None for a shape selected as a whole or a pair of
index tuples (points, handles) in selection order. An operation the library refuses raises Refused
naming the exception it must raise, before the model changes anything.
"""

import itertools
from dataclasses import dataclass, field

elements = itertools.count(1)


class Refused(Exception):
    """The library refuses the operation with this exception (a voshape one, or a built-in one
    such as ValueError); nothing changes."""

    def __init__(self, error):
        super().__init__(error)
        self.error = error


@dataclass
class ShapeModel:
    """One shape: its layer, its points and handles (by identity, as the graph's inputs are), its
    key (its graph object's id) and where it stands."""

    layer: int
    points: list
    handles: list
    single: bool
    gradient: bool
    key: int = 0
    alive: bool = True
    in_graph: bool = True
    # Where each point (x, y) and handle (its place) lies, by element.
    xy: dict = field(default_factory=dict)
    places: dict = field(default_factory=dict)

    def position(self, index):
        return self.xy[self.points[index]]

    def place_of(self, index):
        """A handle's place; 0 for an index out of range, as the gradient reads it."""
        return self.places[self.handles[index]] if 0 <= index < len(self.handles) else 0.0

    @staticmethod
    def made(layer, points, handles, single):
        return ShapeModel(layer, [next(elements) for _ in range(points)],
                          [next(elements) for _ in range(handles)], single, handles > 0)


@dataclass
class BatchModel:
    start: list
    working: list
    depth: int = 1
    cancelled: bool = False
    replaced: bool = False
    edits: list = field(default_factory=list)
    received: list = field(default_factory=list)


@dataclass
class EditorModel:
    """One layer's editor: its selection, batch, history (states, the current one at cursor),
    picking state, whether the application's selection shows it (published: the editor wrote it;
    followed: the editor took it in, its shapes named there), and the callback lists run by the
    current step."""

    name: str
    node: str
    items: list = field(default_factory=list)
    batch: BatchModel = None
    steps: list = field(default_factory=lambda: [[]])
    cursor: int = 0
    picking: tuple = (0, -1, -1)
    depth: int = 100
    published: bool = False
    followed: bool = False
    attached: bool = True  # the history: detached, it records nothing and travels nowhere
    runs: list = field(default_factory=list)

    def current(self):
        return self.batch.working if self.batch else self.items


def midway(a, b):
    return a / 2 + b / 2


def in_region(region, x, y):
    """A rectangle (x0, y0, x1, y1), edges included, or a polygon by the even-odd rule."""
    if len(region) == 4 and not isinstance(region[0], (tuple, list)):
        x0, y0, x1, y1 = region
        return min(x0, x1) <= x <= max(x0, x1) and min(y0, y1) <= y <= max(y0, y1)
    inside = False
    for (xi, yi), (xj, yj) in zip(region, region[-1:] + region[:-1]):
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
    return inside


def moved(indices, index, added):
    """Indices after the element at index was inserted (added) or removed."""
    if added:
        return tuple(i + 1 if i >= index else i for i in indices)
    return tuple(i - 1 if i > index else i for i in indices if i != index)


def renumbered(items, name, points, index, added):
    """Every item of the shape that has parts follows the insertion or removal."""
    result = []
    for shape, parts in items:
        if shape == name and parts is not None:
            parts = ((moved(parts[0], index, added), parts[1]) if points
                     else (parts[0], moved(parts[1], index, added)))
        result.append((shape, parts))
    return result


class Model:
    """Items of the application's selection are ("node", name), ("object", name),
    ("point" | "handle", shape, element, component) or ("single", shape), inputs naming their
    element so that they read as the graph does."""

    def __init__(self, layers):
        """layers: tool node names, the first one's editor node being "ShapeEditor". Shapes are
        added to `shapes` by name, in creation order."""
        self.editors = [EditorModel(name, "ShapeEditor" if i == 0 else f"{name}.Editor")
                        for i, name in enumerate(layers)]
        self.shapes = {}
        self.host = []
        self.active = 0
        self.pending = []

    # What the editors read.
    def alive(self, name):
        return self.shapes[name].alive

    def live(self, layer=None):
        return [name for name, shape in self.shapes.items()
                if shape.alive and (layer is None or shape.layer == layer)]

    def primary(self, editor):
        """The live primary shape's name, or None."""
        items = editor.current()
        return items[0][0] if items and self.alive(items[0][0]) else None

    def count(self, name, points):
        shape = self.shapes[name]
        return len(shape.points if points else shape.handles)

    # The updater's mirror of an editor's selection.
    def mirror(self, editor, items):
        """The application's items for these editor items; None when an index of the single
        selected shape has no element (the updater raises MissingElementError)."""
        mirrored = [("node", editor.node)]
        mirrored += [("object", name) for name, _ in items if self.alive(name)]
        if len(items) != 1 or not self.alive(items[0][0]) or items[0][1] is None:
            return mirrored
        name, (points, handles) = items[0]
        shape = self.shapes[name]
        if points and shape.single:
            mirrored.append(("single", name))
        elif points:
            if any(not 0 <= i < len(shape.points) for i in points):
                return None
            mirrored += [("point", name, shape.points[i], c) for i in points for c in "xy"]
        if any(not 0 <= i < len(shape.handles) for i in handles):
            return None  # a shape without gradient has no handle at all
        mirrored += [("handle", name, shape.handles[i], c) for i in handles
                     for c in ("position", "color")]
        return mirrored

    def describe(self, item):
        """An application item as voshape reads it: (kind, name)."""
        if item[0] in ("node", "object"):
            return item
        name = item[1]
        shape = self.shapes[name]
        if item[0] == "single":
            return ("input", f"{name}.curve/Points" if shape.in_graph else "Points (detached)")
        elements_now = shape.points if item[0] == "point" else shape.handles
        element, component = item[2], item[3]
        if not shape.in_graph or element not in elements_now:
            return ("input", f"{component} (detached)")
        prefix = f"{name}.curve/Points" if item[0] == "point" else f"{name}.gradient"
        return ("input", f"{prefix}[{elements_now.index(element)}]/{component}")

    def host_view(self, layer):
        """The application's items the editor's item test accepts: objects in its tool node."""
        return [item[1] for item in self.host if item[0] == "object"
                and self.shapes[item[1]].layer == layer and self.shapes[item[1]].in_graph]

    def editor_callbacks(self, editor, items, origin=None):
        """The lists a change made on the editor's side runs (origin: a batch's start state)."""
        view = self.host_view(self.editors.index(editor))
        primary = True
        if items and view and self.alive(items[0][0]):
            primary = view[0] != items[0][0]
        shapes = primary or len(view) != len(items) or any(
            not self.alive(name) or name != seen for (name, _), seen in zip(items[1:], view[1:]))
        if origin is not None:
            before, after = [n for n, _ in origin], [n for n, _ in items]
            primary = primary or bool(before) != bool(after) or before[:1] != after[:1]
            shapes = shapes or before != after
        return [run for run, on in (("primary", primary), ("shapes", shapes),
                                    ("selection", True)) if on]

    # Changes of an editor's selection.
    def record(self, editor, items):
        if not editor.attached or items == editor.steps[editor.cursor]:
            return
        editor.steps = editor.steps[: editor.cursor + 1] + [list(items)]
        editor.cursor += 1
        self.trim(editor)

    @staticmethod
    def trim(editor):
        """At most depth steps: the oldest undo steps go first, then the farthest redo steps."""
        while len(editor.steps) - 1 > editor.depth:
            if editor.cursor > 0:
                editor.steps.pop(0)
                editor.cursor -= 1
            else:
                editor.steps.pop()

    def set_depth(self, editor, depth):
        if depth < 0:
            raise Refused("InvalidCallError")
        editor.depth = depth
        self.trim(editor)

    @staticmethod
    def clear_history(editor):
        """Every step forgotten; the selection object's state is the starting one."""
        if editor.attached:
            editor.steps, editor.cursor = [list(editor.items)], 0

    @staticmethod
    def switch_history(editor):
        """Detached, a history forgets its steps; attached again, it starts from the selection
        object's items (the committed ones, inside a batch)."""
        editor.attached = not editor.attached
        editor.steps, editor.cursor = [list(editor.items) if editor.attached else []], 0

    def restore_range(self, editor, position, count, items):
        """These items in place of count items from position (outside a batch)."""
        current = editor.items
        if position < 0 or count < 0 or position + count > len(current):
            raise Refused("InvalidCallError")
        self.commit(editor, current[:position] + items + current[position + count:])

    @staticmethod
    def set_items(editor, items):
        editor.items = list(items)
        editor.followed = False

    def write(self, editor, mirrored):
        """The editor's updater writes the application's selection (when it differs)."""
        editor.published = True
        if mirrored == self.host:
            return
        self.host = mirrored
        for other in self.editors:
            other.followed = False
            if other is not editor:
                other.published = False
                self.mirror_in(other)

    def application_writes(self, host):
        """A view of the application writes its selection (compared first when whole)."""
        self.host = host
        for editor in self.editors:
            editor.published = editor.followed = False
            self.mirror_in(editor)

    def commit(self, editor, items, origin=None, recorded=True):
        """A change made on the editor's side, outside a batch: mirrored, notified, recorded. An
        index without element is refused with both selections as they were."""
        if items == editor.items:
            return
        mirrored = self.mirror(editor, items)
        if mirrored is None:
            raise Refused("MissingElementError")
        editor.runs += self.editor_callbacks(editor, items, origin)
        self.set_items(editor, items)
        self.write(editor, mirrored)
        if recorded:
            self.record(editor, items)

    def change(self, editor, items):
        if editor.batch:
            editor.batch.working = list(items)
        else:
            self.commit(editor, items)

    def mirror_in(self, editor):
        """The application's selection changed: the live shapes of the editor's layer that it
        names, as wholes, become the editor's selection, which then follows it; when it names
        none, nothing changes."""
        layer = self.editors.index(editor)
        names = [item[1] for item in self.host if item[0] == "object"
                 and self.alive(item[1]) and self.shapes[item[1]].layer == layer]
        if not names:
            return
        items = [(name, None) for name in names]
        if editor.batch:
            editor.batch.working = items
            editor.batch.replaced = True
            return
        if items != editor.items:
            primary = not editor.items or editor.items[0][0] != names[0]
            editor.runs += ["primary", "selection"] if primary else ["selection"]
            self.set_items(editor, items)
            self.record(editor, items)
        editor.followed = True

    # The application's side.
    def after_removal(self, items, removed):
        """A removal event: the removed shape and every gone one leave, the rest become wholes."""
        if not any(name == removed or not self.alive(name) for name, _ in items):
            return items
        return [(name, None) for name, _ in items if self.alive(name)]

    def delete(self, name):
        self.shapes[name].alive = False

    def removal(self, name):
        """The removal event reaches the editor of the shape's layer, before the shape's object
        leaves the tool node. An editor the application's selection does not show changes only its
        own selection, its callbacks told against its selection before."""
        editor = self.editors[self.shapes[name].layer]
        if editor.batch:
            editor.batch.received.append(name)
            editor.batch.working = self.after_removal(editor.batch.working, name)
        elif editor.published or editor.followed:
            self.commit(editor, self.after_removal(editor.items, name))
        else:
            items = self.after_removal(editor.items, name)
            if items != editor.items:
                before, after = [n for n, _ in editor.items], [n for n, _ in items]
                editor.runs += [run for run, on in (
                    ("primary", before[:1] != after[:1]), ("shapes", before != after),
                    ("selection", True)) if on]
                self.set_items(editor, items)
                self.record(editor, items)
        self.shapes[name].in_graph = False

    def edit(self, name, points, inserting, index):
        """The graph changes first, then the selection of the shape's layer is renumbered."""
        shape = self.shapes[name]
        elements_now = shape.points if points else shape.handles
        if inserting:
            elements_now.insert(index, next(elements))
            self.place_new(shape, points, index)
        else:
            del elements_now[index]
        editor = self.editors[shape.layer]
        editor.steps = [renumbered(step, name, points, index, inserting) for step in editor.steps]
        if editor.batch:
            editor.batch.edits.append((name, points, index, inserting))
            editor.batch.working = renumbered(editor.batch.working, name, points, index, inserting)
        else:
            self.commit(editor, renumbered(editor.items, name, points, index, inserting))

    @staticmethod
    def place_new(shape, points, index):
        """A new point lies midway between its neighbours, or on its one neighbour (nowhere
        else when it has none); a new handle midway between its neighbours' places."""
        if not points:
            before = shape.place_of(index - 1 if index > 0 else index + 1)
            after = shape.place_of(index + 1) if index + 1 < len(shape.handles) else before
            shape.places[shape.handles[index]] = midway(before, after)
            return
        if shape.single:
            return
        near = [shape.position(i) for i in (index - 1, index + 1) if 0 <= i < len(shape.points)]
        if len(near) == 2:
            shape.xy[shape.points[index]] = tuple(map(midway, near[0], near[1]))
        else:
            shape.xy[shape.points[index]] = near[0] if near else (0.0, 0.0)

    def set_positions(self, name, indices, xy):
        """All pairs written or none: a single-valued curve, a value that is not finite or a
        count that differs is a ValueError, an index outside the shape an IndexError."""
        shape = self.shapes[name]
        if shape.single or any(v != v or v in (float("inf"), -float("inf"))
                               for pair in xy for v in pair) or len(indices) != len(xy):
            raise Refused("ValueError")
        if any(not 0 <= i < len(shape.points) for i in indices):
            raise Refused("IndexError")
        for index, pair in zip(indices, xy):
            shape.xy[shape.points[index]] = (float(pair[0]), float(pair[1]))

    def set_handle_positions(self, name, indices, places):
        """The same refusals as set_positions, a place a handle (any shape: one without a
        gradient has no handle for an index to name)."""
        shape = self.shapes[name]
        if any(v != v or v in (float("inf"), -float("inf")) for v in places) or \
                len(indices) != len(places):
            raise Refused("ValueError")
        if any(not 0 <= i < len(shape.handles) for i in indices):
            raise Refused("IndexError")
        for index, place in zip(indices, places):
            shape.places[shape.handles[index]] = float(place)

    # Regions.
    def select_points_in(self, editor, region, mode):
        """The primary shape's points in the region replace, join or leave its selected points
        (the shape whole when none and no handle stays), in one change."""
        name = self.primary(editor)
        if name is None:
            return
        shape = self.shapes[name]
        if shape.single:
            raise Refused("ValueError")
        inside = [i for i in range(len(shape.points)) if in_region(region, *shape.position(i))]
        items = editor.current()
        points, handles = items[0][1] if items[0][1] is not None else ((), ())
        if mode == "replace":
            parts = (tuple(inside), handles)
        elif mode == "add":
            added = tuple(i for i in inside if i not in points)
            if not added:
                return
            parts = (points + added, handles)
        else:
            kept = tuple(i for i in points if i not in inside)
            if len(kept) == len(points):
                return
            parts = (kept, handles) if kept or handles else None
        self.change(editor, [(name, parts)] + items[1:])

    def select_shapes_in(self, editor, region, mode):
        """The live shapes of the editor's layer whose every point is in the region replace,
        join or leave its items, as one write of the whole item list."""
        layer = self.editors.index(editor)
        inside = [n for n in self.live(layer) if not self.shapes[n].single
                  and self.shapes[n].points and all(
                      in_region(region, *self.shapes[n].position(i))
                      for i in range(len(self.shapes[n].points)))]
        items = editor.current()
        if mode == "replace":
            items = [(n, None) for n in inside]
        elif mode == "add":
            items = items + [(n, None) for n in inside if n not in [m for m, _ in items]]
        else:
            items = [(n, p) for n, p in items if n not in inside]
        self.replace_all_items(editor, items)

    # Point and handle operations on the primary shape.
    def parts_op(self, editor, operation, argument=None):
        """argument: the index, the list of indices, or the count (the primary shape's when
        None; a negative one is refused) the operation takes."""
        counted = ("select_all_", "select_next_", "select_previous_")
        if operation.startswith(counted) and argument is not None and argument < 0:
            raise Refused("ValueError")
        name = self.primary(editor)
        if name is None:
            return
        items = editor.current()
        parts = items[0][1]
        points, handles = parts if parts is not None else ((), ())
        noun = "point" if "point" in operation else "handle"
        mine, other = (points, handles) if noun == "point" else (handles, points)
        count = argument if argument is not None else self.count(name, noun == "point")
        index = argument
        whole_if_empty = False
        if operation == f"select_{noun}":
            mine = (index,)
        elif operation == f"select_{noun}s":
            mine = tuple(dict.fromkeys(argument))
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
        self.change(editor, [(name, new_parts)] + items[1:])

    def set_shape_parts(self, editor, name, points, handles):
        """The shape's first item takes exactly these parts (both None: whole), or the shape is
        appended with them; a gone shape changes nothing, an index the live shape lacks is
        refused wherever the shape stands."""
        if not self.alive(name):
            return
        shape = self.shapes[name]
        for indices, elements_now in ((points, shape.points), (handles, shape.handles)):
            if any(not 0 <= i < len(elements_now) for i in indices or ()):
                raise Refused("IndexError")
        parts = None
        if points is not None or handles is not None:
            parts = (tuple(dict.fromkeys(points or ())), tuple(dict.fromkeys(handles or ())))
        items = list(editor.current())
        place = next((i for i, (n, _) in enumerate(items) if n == name), None)
        if place is None:
            items.append((name, parts))
        else:
            items[place] = (name, parts)
        self.change(editor, items)

    def replace_all_items(self, editor, items):
        if editor.batch:
            editor.batch.working = list(items)
            editor.batch.replaced = True
        else:
            self.commit(editor, items)

    # Batches and the history.
    def open_batch(self, editor):
        if editor.batch:
            editor.batch.depth += 1
        else:
            editor.batch = BatchModel(list(editor.items), list(editor.items))

    def close_batch(self, editor, abandon):
        """Ends one scope; the outermost commits or abandons. A commit the updater refuses puts
        both selections back, then what the application reported still applies; Refused then
        tells the error, raised after the model took that state."""
        batch = editor.batch
        batch.cancelled = batch.cancelled or abandon
        batch.depth -= 1
        if batch.depth > 0:
            return
        editor.batch = None
        if not batch.cancelled:
            try:
                self.commit(editor, batch.working, origin=editor.items)
            except Refused:
                self.replay(editor, batch)
                raise
            return
        changed = self.replay(editor, batch)
        if batch.replaced and not changed:
            # The application's own write inside the batch is undone: the start state's mirror
            # goes back into the application's selection, with no callback and no step.
            self.write(editor, self.mirror(editor, editor.items))

    def replay(self, editor, batch):
        """What the application reported inside an abandoned batch, as one change of its own."""
        items = editor.items
        for edit in batch.edits:
            items = renumbered(items, *edit)
        for name in batch.received:
            items = self.after_removal(items, name)
        try:
            self.commit(editor, items, origin=editor.items)
        except Refused:
            return False
        return items != batch.start

    def travel(self, editor, back):
        """undo or redo: the nearest step, left without its gone shapes, that differs. The state
        restored is the one kept there from then on (gone shapes never come back). A detached
        history does nothing, even inside a batch."""
        if not editor.attached:
            return False
        if editor.batch:
            raise Refused("InvalidCallError")
        at = editor.cursor
        while (at > 0) if back else (at < len(editor.steps) - 1):
            at += -1 if back else 1
            target = [item for item in editor.steps[at] if self.alive(item[0])]
            if target != editor.items:
                self.commit(editor, target, recorded=False)
                editor.cursor, editor.steps[at] = at, target
                return True
        return False

    def republish(self, editor):
        """The editor's selection written out again, with no callback."""
        if editor.batch:
            raise Refused("InvalidCallError")
        mirrored = self.mirror(editor, editor.items)
        if mirrored is None:
            raise Refused("MissingElementError")
        self.write(editor, mirrored)

    # Saved selections.
    def capture(self, editor):
        """(key, points, handles) entries; a gone selected shape is refused."""
        if any(not self.alive(name) for name, _ in editor.current()):
            raise Refused("InvalidCallError")
        return [(self.shapes[name].key, None, None) if parts is None
                else (self.shapes[name].key, list(parts[0]), list(parts[1]))
                for name, parts in editor.current()]

    def resolves(self, key, points, handles):
        """The live shape of the key when its indices are in range (the application counts the
        points of a curve whose "Points" is one single-valued input); None otherwise."""
        name = next((n for n, s in self.shapes.items() if s.key == key and s.alive), None)
        if name is None:
            return None
        shape = self.shapes[name]
        if any(not 0 <= i < len(shape.points) for i in points or ()):
            return None
        if any(not 0 <= i < len(shape.handles) for i in handles or ()):
            return None
        return name

    def restore(self, editor, entries, picking, skip):
        """Gives the number of entries left out; refused inside a batch, or for an entry that
        does not resolve unless skip."""
        if editor.batch:
            raise Refused("InvalidCallError")
        items, skipped = [], 0
        for key, points, handles in entries:
            name = self.resolves(key, points, handles)
            if name is None and not skip:
                raise Refused("InvalidCallError")
            if name is None:
                skipped += 1
            else:
                items.append((name, None if points is None else (tuple(points), tuple(handles))))
        self.commit(editor, items)
        editor.picking = picking
        return skipped
