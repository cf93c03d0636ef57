#pragma once

#include "Session.h"

#include "AppShapeInterface.h"

#include <string>

namespace VoEditor {

// One edit of the scene's shapes that an undo step can take back and make again: a deletion, an
// insertion, a move. apply() makes it, revert() takes it back, each leaving the graph as the
// other found it; the step puts the selection back itself afterwards. Both run inside a gesture's
// report (EditorDocument::perform) and raise when the scene no longer allows them (a command
// changed it meanwhile). A class with apply() and revert() of its own joins the undo stack by
// deriving from this one.
class EditorEdit {
public:
    virtual ~EditorEdit() = default;
    virtual void apply() = 0;
    virtual void revert() = 0;

protected:
    // The active layer's live shape of that name; raises std::runtime_error when there is none.
    static VoExample::AppShapeInterface &liveShape(VoSession::Session &session,
                                                   const std::string &name);
    // Raises std::runtime_error naming the point or handle when an application edit refused it.
    static void check(bool done, const char *what, const std::string &shape, int index);
};

} // namespace VoEditor
