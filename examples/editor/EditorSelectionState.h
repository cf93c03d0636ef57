#pragma once

#include "EditorKeyMap.h"

#include "Session.h"

#include "SeSelectionSnapshot.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace VoEditor {

// The editor's selection at one moment as plain values: which layer was active and that layer's
// SeSelectionSnapshot (its shapes by identity key, each whole or with its points and handles in
// order, the first primary). What an undo step keeps before and after it; owns its values and holds
// no shape, so a step outlives the shapes it names and finds them again through an EditorKeyMap.
class EditorSelectionState {
public:
    // The active layer's selection; false, leaving state as it was, while the selection names a
    // shape that is gone (an application's removal held back), which no state can name.
    static bool capture(VoSession::Session &session, EditorSelectionState &state);

    // Puts the selection back into the active layer's editor as one change (the caller activates
    // the state's layer first). An entry whose shape is no more, or whose point or handle no longer
    // exists, is left out and described in the result.
    std::vector<std::string> restore(VoSession::Session &session, const EditorKeyMap &keys) const;

    // The same shapes, in the same order, with the same parts (the picking state aside).
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
    const Vo::SeSelectionSnapshot &getSnapshot() const noexcept { return snapshot; }

private:
    int layer = 0;
    Vo::SeSelectionSnapshot snapshot;
};

// A state as the steps and the history share it: one step's state after is the next one's before.
using EditorStatePtr = std::shared_ptr<const EditorSelectionState>;

} // namespace VoEditor
