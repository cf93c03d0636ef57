#include "SessionDemo.h"

namespace VoSession {

const char *SessionDemo::scene() {
    return R"(# Four shapes in the tool node Roto, which feeds the primary output Output.
shape A 5           # a curve of 5 points, each an (x, y) element of "A.curve/Points"
shape B 4 3         # 4 points and a gradient of 3 handles, each a (position, color) element
shape C 6 0 single  # 6 points held by one plain "Points" input
shape D 3
)";
}

const char *SessionDemo::script() {
    return R"(# libVoshape, the shape editor's selection model, in one run.
# After each command, echoed after ">", come its answers ("result"), the shape events sent, the
# editor's selection (the shape selector's; "*" marks the primary shape, and points and handles
# are listed in selection order with their ranks) and the application's selection (which the
# selection updater keeps in step, both ways), or "unchanged" when neither selection changed,
# and last the selector's callback lists that ran, in order.
scene
show

# ---- Shapes and the primary shape ----
# The editor selects two shapes; the first, A, is primary. The updater mirrors them into the
# application's selection, the editor's node first, and runs all three callback lists.
select A B
# The same selection again changes nothing, and nothing is notified.
select A B
# The same shapes in another order: B is now primary.
select B A
# One shape alone, primary, with one of its points.
primary A 2
count
is-selected B

# ---- Points of the primary shape ----
# A change of points alone runs only the selection callbacks. With one shape selected, the
# inputs of its selected points join the application's selection, each with the path from the
# shape's node to the primary output.
select-points 4 1 3
point-rank 4 1 3 0
ordered-points
# Next and previous step from the rank-1 point and select one point, wrapping at the ends.
next-point
previous-point
# Selecting the point that is already the only one selected changes nothing.
select-point 4
# Select-all keeps the points selected before first, in their order.
select-point 3
select-all-points
unselect-points

# ---- Gradient handles ----
primary B
select-handle 2
# Points and handles at once: the point inputs come before the handle inputs.
select-point 1
select-all-handles
handle-rank 2 0 1
next-handle
previous-handle
unselect-handles
unselect-points

# ---- Renumbering when the application inserts or deletes points ----
primary A
select-points 1 3
# A point inserted before them: the selected points move up. The application's selection keeps
# the same inputs, now at places 2 and 4; the editor's selection changed, so its callbacks run.
insert-point A 0
# Deleting a selected point drops it; the points after it move down.
delete-point A 2
# Deleting the last selected point leaves empty parts, not a shape selected as a whole.
delete-point A 3
# A shape that is not primary: its points change, no selection does.
insert-point D 1
# Handles are renumbered the same way.
primary B
select-handle 1
insert-handle B 0
delete-handle B 2

# ---- A curve whose "Points" is one single-valued input: one item for the whole input ----
primary C 3
select-points 0 5
insert-point C 0

# ---- Several shapes ----
select A
# Select-all adds the shapes from the iterator's position on: from C, so B is left out.
select-all-shapes C
select-all-shapes
# With several shapes selected, points are selected on the primary one but no input is mirrored.
select-point 0
picking 1 3 0

# ---- The application selects (another view than the editor) ----
# The editor follows the shapes it finds there. This direction runs the primary and selection
# callbacks only, never the shape-selection ones.
host-select D A
# A node stands for no shape: the application's selection keeps it, the editor's is unchanged.
host-select D A Roto
host-select Roto
host-clear

# ---- Adding and deleting shapes ----
shape E 2
select A C D
# Deleting a selected shape sends its removal event; the updater takes the shape out.
delete C
# Deleting a shape that is not selected changes no selection.
delete B
scene

# ---- Undo and redo (SeSelectionHistory) ----
# The editor's history records each net change of its selection, whatever made it: the editor,
# the application's selection mirrored in, a removal event. Undo and redo go through the updater
# like any other change and are not recorded themselves.
primary A 3
undo
redo
undo
# C was deleted since "select A C D": undoing its removal would restore [A, D], which is what is
# selected, so undo skips that step and goes on to the application's "host-select D A".
undo
# A new change after an undo drops what redo would have restored.
select D
redo

# ---- Batches (SeSelectionBatch) ----
# Inside a batch the editor's operations, removal events and the application's writes build on a
# working selection, which the editor reads; the application's selection is not written and no
# callback runs until "end", which commits the net change once.
batch
select A D E
delete E
primary A 1
end
# A batch whose changes cancel out notifies no one.
batch
select D
primary A 1
end
# The committed batch is one step of the history. (A failing command inside a batch abandons
# it: both selections stay as at its start; the error script shows that.)
undo

# ---- Reset ----
reset
reset
)";
}

} // namespace VoSession
