#pragma once

#include "EditorDocument.h"
#include "EditorShapeView.h"

#include "SeShapeInterface.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/selection/SnItem.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace VoEditor {

// The canvas's copy of what it draws: one view per slot of the open scene (an empty one, shape
// null, where a shape was deleted), kept in step with the editor's selection by the changes the
// selector describes and with the graph by each shape's counts, and what each step changed, so
// that the canvas repaints only that. It reads the whole selection again for a change the selector
// reports as whole, for one whose revisions do not join the last it followed, and while a shape is
// selected twice. Borrows the document; editor's thread only.
class EditorShapeTable {
public:
    // What a step changed: everything (the cells were cut anew), or shapes to draw again in full
    // and single markers (with their labels) of a shape whose other markers and labels stay; and
    // whether the labels of other shapes may have moved (a label goes only where none was drawn
    // before it, so a labelled shape that changes may move the labels of the ones after it).
    struct Damage {
        struct Shape {
            int slot;
            // It has or had selected points or handles: their labels are redrawn too.
            bool labelled;
        };
        struct Marker {
            int slot;
            bool point;
            int index;
            // The marker's rank in its order, before it left or after it came.
            int rank;
        };
        bool all = false;
        std::vector<Shape> shapes;
        std::vector<Marker> markers;
        bool labelsMoved = false;

        bool isEmpty() const noexcept { return !all && shapes.empty() && markers.empty(); }
    };

    explicit EditorShapeTable(const EditorDocument &document);

    // Reads the open scene and both of its selections again (a new scene).
    void reset();
    // After the editor's selection changed. A second call for the same change finds no damage.
    Damage followSelection();
    // After a gesture or command: the shapes deleted and those whose counts changed, then any
    // change of the selection that no callback reported. All is damaged when the scene gained
    // shapes: the cells are then cut anew and every shape moves.
    Damage followGraph();

    int getNbSlots() const noexcept { return static_cast<int>(views.size()); }
    const EditorShapeView &getView(int slot) const { return views[static_cast<std::size_t>(slot)]; }
    // The live shape of that name; null when there is none.
    const EditorShapeView *find(const std::string &name) const;
    // The slot of the live primary shape; -1 when there is none.
    int getPrimarySlot() const noexcept;
    // The slots, ascending, whose shapes have selected points or handles, and therefore labels.
    std::vector<int> getLabelled() const;

private:
    // Every slot's view as the document describes it now; sets the primary slot.
    std::vector<EditorShapeView> readViews();
    // The view's live shape is found by its counter block and its name.
    void know(const EditorShapeView &view);
    // Reads the selection again; the slots whose views differ are damaged.
    Damage reread();
    // The slot of the shape (live or deleted); -1 for no shape, -2 for one this table never saw.
    int slotOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape) const;
    // Applies the selector's last change; false, with nothing changed, when it cannot be followed.
    bool follow(Damage &damage);
    bool followShapes(Damage &damage);
    bool followParts(Damage &damage);
    // The shapes deleted and the counts changed; false when the layer holds a shape not seen.
    bool followLayer(Damage &damage);
    // The parts of the last item of the slot's shape, looked for from the selection's end.
    void readParts(int slot);
    // The slot's view changed.
    void damageShape(Damage &damage, int slot, bool wasLabelled) const;
    // The selection's primary item and its revision are what the views now show.
    void settle();

    const EditorDocument &document;
    std::vector<EditorShapeView> views;
    // Each shape's counter block, kept alive here so that no other shape takes its address.
    std::vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> weak;
    std::unordered_map<const void *, int> slotOfCounter;
    std::unordered_map<std::string, int> slotOfName;
    // The slot of the primary shape, live or not; -1 for none or not known.
    int primary = -1;
    // Held so that a parts change can tell the primary item from an item that took its address.
    Vo::RCShdPtr<Vo::SnItem const> primaryItem;
    std::uint64_t revision = 0;
};

} // namespace VoEditor
