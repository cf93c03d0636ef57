#!/usr/bin/env python3
"""Writes the selection fuzzer's seed corpus (fuzz/corpus/selection), one short input per
scenario, spelled as the operations SelectionFuzzer.cpp decodes. Run it again after a change of
that decoding: `python3 fuzz/make_selection_seeds.py`.

A step is one byte, operation * 2 + editor, then the operation's argument bytes. Shapes are
chosen by their place among the live shapes of the editor's layer (editor 0: A B C D; editor 1:
E F G), or among all live shapes for edits and deletions; indices are taken modulo the count
plus two, so the values below are the indices themselves.
"""

import pathlib

OPERATIONS = [
    "setShapes", "selectAllShapes", "reset", "setPrimary", "addShape", "unselectShape",
    "setShapeParts", "points", "handles", "edit", "delete", "hostReplace", "hostInsert",
    "hostRemove", "undo", "redo", "batchOpen", "batchCommit", "batchCancel", "republish",
    "save", "restore", "picking", "replaceAll", "historyDepth", "historyClear",
]
# Point and handle operations (points, handles): kind, index, [count, indices...].
SELECT, SELECT_ALL, NEXT, PREVIOUS, ADD, UNSELECT, SELECT_SEVERAL, UNSELECT_SIDE = range(8)
# edit: how (bit 0 points, bit 1 insert), shape, index.
DELETE_HANDLE, DELETE_POINT, INSERT_HANDLE, INSERT_POINT = range(4)
# The application's items: the shapes' objects A..G, the editors' nodes, the tool nodes.
A, B, C, D, E, F, G, SHAPE_EDITOR, MASK_EDITOR, ROTO, MASK = range(11)
# restore: slot, mode (bit 0 skip entries that no longer resolve, bit 1 the application counts
# the points of single-valued curves).
SKIP, COUNTED = 1, 2
# setPrimary's argument: even for no point, 2 * i + 1 for point i.
WHOLE = 0


def point(index):
    return 2 * index + 1


def step(name, editor=0, *arguments):
    return bytes([OPERATIONS.index(name) * 2 + editor, *arguments])


def parts(shape, points=None, handles=None):
    """setShapeParts, and each item of replaceAll: None leaves a set out (null); both None: the
    whole shape."""
    mode = (points is not None) | (handles is not None) << 1
    points, handles = points or [], handles or []
    return bytes([shape, mode, len(points), *points, len(handles), *handles])


SEEDS = {
    # Parts given to a shape that is not primary follow a point inserted before them, and are
    # mirrored once the shape is left alone; the history's states follow too.
    "renumbering-reaches-a-shape-not-primary": [
        step("setShapes", 0, 2, 0, 1),
        step("setShapeParts") + parts(1, points=[0, 2]),
        step("edit", 0, INSERT_POINT, 1, 0),
        step("unselectShape", 0, 0, 0),
        step("undo"), step("undo"), step("redo"), step("redo"),
    ],
    # A handle on a shape without a gradient is refused while it is alone, by every operation,
    # and accepted beside another shape until that one leaves.
    "handle-of-a-shape-without-gradient": [
        step("setPrimary", 0, 0, point(0)),
        step("handles", 0, SELECT, 0),
        step("handles", 0, ADD, 1),
        step("handles", 0, SELECT_SEVERAL, 0, 2, 0, 1),
        step("setShapeParts") + parts(0, handles=[0]),
        step("setShapes", 0, 2, 0, 2),
        step("setShapeParts") + parts(2, handles=[1]),
        step("unselectShape", 0, 0, 0),
        step("setShapeParts") + parts(2),
        step("unselectShape", 0, 0, 0),
    ],
    # The removal event of an editor the application's selection does not show leaves it
    # alone; one the application's own write shows writes it.
    "removal-in-an-editor-not-shown": [
        step("setShapes", 1, 2, 0, 1),
        step("setShapes", 0, 2, 0, 1),
        step("delete", 0, 4),
        step("delete", 0, 0),
        step("hostReplace", 0, 2, F, B),
        step("delete", 0, 3),
        step("undo", 1), step("undo", 1), step("redo", 1),
    ],
    # A commit refused for an index without element leaves both selections as they were, then
    # applies what the application reported inside the batch: a point inserted before a selected
    # one, a selected shape deleted.
    "refused-commit-replays-reports": [
        step("setShapes", 0, 2, 0, 1),
        step("setShapeParts") + parts(1, points=[1]),
        step("batchOpen"),
        step("setPrimary", 0, 1, point(4)),
        step("edit", 0, INSERT_POINT, 1, 0),
        step("delete", 0, 0),
        step("batchCommit"),
        step("undo"), step("undo"), step("redo"),
    ],
    # A batch into which the application's selection was mirrored, abandoned: the start is
    # written back into the application's selection, with no callback.
    "abandoned-batch-writes-its-start-back": [
        step("setShapes", 0, 1, 0),
        step("batchOpen"),
        step("hostReplace", 0, 2, B, E),
        step("batchCancel"),
        step("batchCommit"),
    ],
    "abandoned-batch-keeps-deleted-shape": [
        step("setShapes", 0, 2, 0, 1),
        step("batchOpen"),
        step("setPrimary", 0, 2, WHOLE),
        step("delete", 0, 0),
        step("batchCancel"),
        step("batchCommit"),
        step("undo"), step("undo"),
    ],
    "cancelled-batch-replays-renumbering": [
        step("setPrimary", 0, 0, point(2)),
        step("batchOpen"),
        step("points", 0, SELECT, 0),
        step("edit", 0, DELETE_POINT, 0, 1),
        step("batchCancel"),
        step("batchCommit"),
        step("undo"), step("redo"),
    ],
    # Kept states follow a deleted point: undo selects what is left of it.
    "undo-after-point-deleted": [
        step("setPrimary", 0, 0, point(3)),
        step("points", 0, SELECT, 1),
        step("edit", 0, DELETE_POINT, 0, 3),
        step("undo"), step("undo"), step("redo"), step("redo"),
    ],
    # A snapshot whose shape was deleted and whose point is gone: refused, then skipped; into
    # the other layer's editor every entry is skipped.
    "stale-snapshot-refused-then-skipped": [
        step("setShapes", 0, 2, 0, 1),
        step("setShapeParts") + parts(1, points=[2], handles=[1]),
        step("save", 0, 0, 0),
        step("delete", 0, 0),
        step("restore", 0, 0, 0),
        step("restore", 0, 0, 1),
        step("edit", 0, DELETE_POINT, 0, 2),
        step("restore", 0, 0, 0),
        step("save", 0, 1, 0),
        step("restore", 1, 1, 1),
        step("setShapes", 0, 0),
        step("restore", 0, 1, 0),
        step("restore", 0, 0, 1),
    ],
    # What a batch refuses to do: undo, redo, republish, restore; a snapshot reads its working
    # selection.
    "history-and-restore-refused-inside-a-batch": [
        step("setShapes", 0, 1, 1),
        step("save", 0, 0, 0),
        step("batchOpen"),
        step("setShapes", 0, 1, 2),
        step("undo"), step("redo"), step("republish"),
        step("save", 0, 1, 0),
        step("restore", 0, 0, 0),
        step("batchCommit"),
        step("restore", 0, 1, 0),
    ],
    # The application's own writes over both layers: whole lists, one item in, one out, nodes.
    "application-writes-both-layers": [
        step("hostReplace", 0, 4, A, E, ROTO, SHAPE_EDITOR),
        step("hostInsert", 0, 1, G),
        step("hostRemove", 0, 0),
        step("hostInsert", 0, 0, MASK),
        step("hostReplace", 0, 2, MASK_EDITOR, SHAPE_EDITOR),
        step("hostReplace", 0, 0),
        step("republish", 1), step("republish", 0),
    ],
    # Curves with no point and single-valued curves: missing points, parts that hold nothing, a
    # point past a single-valued curve's end restored when the application does not count them.
    "curves-without-points-and-single-valued": [
        step("setPrimary", 0, 3, point(0)),
        step("setPrimary", 0, 3, WHOLE),
        step("points", 0, SELECT_ALL, 1),
        step("points", 0, UNSELECT_SIDE, 0),
        step("handles", 0, SELECT, 0),
        step("edit", 0, DELETE_HANDLE, 3, 0),
        step("setPrimary", 0, 2, point(4)),
        step("points", 0, SELECT, 6),
        step("save", 0, 0, 0),
        step("restore", 0, 0, COUNTED),
        step("restore", 0, 0, COUNTED | SKIP),
        step("restore", 0, 0, 0),
        step("edit", 0, INSERT_POINT, 2, 0),
        step("handles", 0, SELECT, 0),
        step("setPrimary", 1, 1, point(0)),
        step("setPrimary", 1, 2, point(1)),
    ],
    # Nested scopes, the inner one cancelled; the picking state saved and restored.
    "nested-batches-and-picking": [
        step("picking", 0, 2, 4, 2),
        step("batchOpen"), step("batchOpen"),
        step("setShapes", 0, 1, 0),
        step("batchCancel"), step("batchCommit"), step("batchCommit"),
        step("batchOpen"),
        step("setShapes", 0, 1, 1),
        step("batchCommit"),
        step("save", 0, 1, 0),
        step("picking", 0, 1, 1, 1),
        step("restore", 0, 1, 0),
    ],
    # The selector's own list with parts on two shapes, renumbered though not primary; a history
    # one step deep, then cleared; the list written inside a batch that is abandoned.
    "replace-all-items-and-a-short-history": [
        step("replaceAll", 0, 2) + parts(0, points=[1]) + parts(1, points=[0, 2]),
        step("edit", 0, INSERT_POINT, 1, 0),
        step("historyDepth", 0, 1),
        step("setShapes", 0, 1, 2), step("setShapes", 0, 1, 3),
        step("undo"), step("undo"),
        step("historyClear"),
        step("undo"),
        step("batchOpen"),
        step("replaceAll", 0, 1) + parts(0),
        step("batchCancel"), step("batchCommit"),
    ],
    # Two editors taking the application's selection in turn, with their histories.
    "several-editors-switching": [
        step("setShapes", 0, 1, 0),
        step("setShapes", 1, 2, 0, 2),
        step("republish", 0),
        step("points", 0, ADD, 1),
        step("republish", 1),
        step("undo", 0),
        step("selectAllShapes", 1),
        step("addShape", 1, 1, 0),
        step("hostRemove", 0, 1),
        step("reset", 0),
    ],
}


def main():
    corpus = pathlib.Path(__file__).resolve().parent / "corpus" / "selection"
    corpus.mkdir(parents=True, exist_ok=True)
    for old in corpus.iterdir():
        old.unlink()
    for name, steps in SEEDS.items():
        (corpus / name).write_bytes(b"".join(steps))


if __name__ == "__main__":
    main()
