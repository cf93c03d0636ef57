#pragma once

#include "EditorShapeMap.h"

#include "Session.h"

#include "foundation/RCShdPtr.h"
#include "host/selection/SnItem.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace VoEditor {

// The editor's selection at one moment: which layer was active and its selection's items, in
// order, the first primary. Items never change once in a selection, so the state shares them with
// it: taking a state copies pointers only. What the undo steps keep before and after them; a step
// outlives the shapes its items name and finds those built again through an EditorShapeMap.
class EditorSelectionState {
public:
    using Items = std::vector<Vo::RCShdPtr<Vo::SnItem const>>;

    // The active layer's selection.
    static EditorSelectionState capture(VoSession::Session &session);

    // Puts the items back into the active layer's editor as one change (the caller activates the
    // state's layer first): the stretch where they differ from the selection, as one splice. An
    // item of a shape that is gone and was not built again is left out, and described in the
    // result. Raises what the selector raises (an index the shape no longer has), changing
    // nothing.
    std::vector<std::string> restore(VoSession::Session &session,
                                     const EditorShapeMap &shapes) const;

    // The same shapes with the same parts, in the same order (the picking state aside).
    bool isSameSelection(const EditorSelectionState &other) const;
    // The same layer and shapes, in the same order, whatever their parts: other differs at most
    // by the points and handles selected.
    bool hasSameShapes(const EditorSelectionState &other) const;
    // What is selected, for the text of a step: "2 Shapes", "3 Points", "1 Point, 1 Handle",
    // "Nothing"; points and handles are the primary shape's.
    QString describe() const;
    // "3 Points", "1 Point, 1 Handle", "2 Handles"; "0 Points" for none.
    static QString describeParts(std::size_t points, std::size_t handles);
    // "1 Shape", "2 Shapes".
    static QString counted(std::size_t count, const char *one, const char *many);
    int getLayer() const noexcept { return layer; }

private:
    // The items as they are to be now: those of shapes built again made anew.
    Items resolve(const EditorShapeMap &shapes, std::vector<std::string> &leftOut) const;

    int layer = 0;
    Items items;
};

// A state as the steps and the history share it: one step's state after is the next one's before.
using EditorStatePtr = std::shared_ptr<const EditorSelectionState>;

} // namespace VoEditor
