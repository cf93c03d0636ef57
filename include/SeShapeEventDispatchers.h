#pragma once

#include "SeShapeEvent.h"
#include "VoShapeExport.h"

#include "foundation/CbDispatcher.h"
#include "foundation/CbHandler.h"

#include <array>

namespace Vo {

/// One callback list per kind of shape event, and the routing of an event to its kind's list: what
/// a controller needs for addShapeEventCb and for sending events. Owns the four lists; borrows the
/// handlers, which leave the lists when they are destroyed (and the lists leave the handlers when
/// they are). Editor's thread only.
///
/// Example (docs/examples/implementing.cpp): a controller keeping one, and a removal sent.
/// \snippet implementing.cpp controller
/// \snippet implementing.cpp removal
class VO_SHAPE_API SeShapeEventDispatchers {
public:
    SeShapeEventDispatchers();
    SeShapeEventDispatchers(const SeShapeEventDispatchers &) = delete;
    SeShapeEventDispatchers &operator=(const SeShapeEventDispatchers &) = delete;
    ~SeShapeEventDispatchers();

    /// Subscribes the handler to the list of the prototype's kind (ShapeAdded, ShapeRemoved,
    /// ShapeMoved or ShapeRenamed, or a class derived from one); false, subscribing nothing, for an
    /// event of no kind. A controller's addShapeEventCb is this call.
    /// \param prototype an event of the kind wanted; only its class is read
    /// \param handler the handler, borrowed; null, or one already on the list, is ignored
    bool addHandler(const SeShapeEvent &prototype, CbHandler<SeShapeEvent const> *handler);
    /// Takes the handler off the list of the prototype's kind; nothing when it is not there.
    /// \param prototype an event of the kind; only its class is read
    /// \param handler the handler, not destroyed; null is ignored
    void removeHandler(const SeShapeEvent &prototype, CbHandler<SeShapeEvent const> *handler);
    /// Calls the handlers of the event's kind, in the order they subscribed; false, calling no one,
    /// for an event of no kind. What a handler raises passes to the caller, and the handlers after
    /// it are not called.
    /// \param event the event every handler of its kind is called with
    bool send(const SeShapeEvent &event);
    /// The list of the prototype's kind; null for an event of no kind.
    /// \param prototype an event of the kind; only its class is read
    CbDispatcher<SeShapeEvent const> *getDispatcher(const SeShapeEvent &prototype) noexcept;

private:
    /// ShapeAdded, ShapeRemoved, ShapeMoved, ShapeRenamed, in that order.
    std::array<CbDispatcher<SeShapeEvent const>, 4> dispatchers;
};

} // namespace Vo
