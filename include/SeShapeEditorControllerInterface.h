#pragma once

#include "VoShapeExport.h"

#include "foundation/CbHandler.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"
#include "host/selection/SnSelection.h"

namespace Vo {

class PiNode;
class PiGraph;
class PiGraphObject;
class SeShape;
class SeShapeEvent;
class SeShapeSelector;

/// The shape editor's controller: gives the library the editor's node, the graph, the shape
/// selector and the shapes behind graph objects, and delivers shape events. Implemented and owned
/// by the application; must outlive every updater made for it. Only the operations the library
/// calls or gives a default for are declared here; an application extends it with its own
/// operations.
///
/// Example (docs/examples/implementing.cpp, run as a test): a controller on the host stand-in's
/// graph.
/// \snippet implementing.cpp controller
class VO_SHAPE_API SeShapeEditorControllerInterface {
public:
    SeShapeEditorControllerInterface() = default;
    SeShapeEditorControllerInterface(const SeShapeEditorControllerInterface &) = delete;
    SeShapeEditorControllerInterface &operator=(const SeShapeEditorControllerInterface &) = delete;
    virtual ~SeShapeEditorControllerInterface();

    /// The shape editor's own node.
    virtual RCShdPtr<PiNode> getNode() = 0;
    ///@{
    /// The composition graph the editor works in.
    virtual RCShdPtr<PiGraph const> getGraph() = 0;
    virtual RCShdPtr<SeShapeSelector> getShapeSelector() = 0;
    virtual int getCreationEdgeIn() const;  // 0
    virtual int getCreationEdgeOut() const; // 0
    ///@}
    /// The shape the graph object stands for; null when it stands for no shape.
    /// \param object a graph object of the application's graph
    virtual RCShdPtr<SeShape> findShape(const RCShdPtr<PiGraphObject const> &object) = 0;
    /// Subscribes the handler to the controller's events of the prototype's kind (its class).
    /// \param prototype an event of the kind wanted; only its class counts
    /// \param handler the handler, borrowed; it unsubscribes itself when destroyed
    virtual void addShapeEventCb(const SeShapeEvent &prototype,
                                 CbHandler<SeShapeEvent const> *handler) = 0;

    /// The application's global selection: the one of getGraph()'s node controller, a composition
    /// graph. Raises RCExNullPtr for a null graph or when its node controller is gone,
    /// RCExCastFailed when the node controller is not a PiCompositionGraphInterface.
    RCShdPtr<SnSelection> getApplicationSelection();
};

extern template class RCWeakBasePtr<SeShapeEditorControllerInterface, LkCounter<int>>;
extern template class RCWeakPtr<SeShapeEditorControllerInterface>;
extern template class RCStrongBasePtr<SeShapeEditorControllerInterface, LkCounter<int>>;
extern template class RCWeakAccessor<SeShapeEditorControllerInterface>;

} // namespace Vo
