#pragma once

#include "SeObjectInterface.h"
#include "VoShapeExport.h"

#include "base/CbEmptyType.h"
#include "foundation/CbHandler.h"
#include "foundation/Iterator.h"
#include "foundation/IteratorImp.h"
#include "foundation/RCPvtEngPtr.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/RCWeakPtr.h"
#include "host/CoRgbColorTyped.h"

namespace Vo {

class SeShape;
class PiInput;
class PiGraphObject;
class PiTimePath;

/// The editing side of one shape: what the shape editor asks of it. Owned by the application, held
/// weakly by the library. Only the operations the library calls or gives a default for are declared
/// here; an application extends this interface with its own operations.
///
/// Example (docs/examples/implementing.cpp, run as a test): both sides of a shape.
/// \snippet implementing.cpp shape-sides
class VO_SHAPE_API SeShapeInterface : public SeObjectInterface {
public:
    ~SeShapeInterface() override;

    /// The model side of this shape.
    virtual RCShdPtr<SeShape> getShape() = 0;
    ///@{
    /// The shape's curve input: a PiStructuredInput with a sub-input named "Points"; then what the
    /// editor asks about the curve, each default in its comment.
    virtual RCShdPtr<PiInput> getCurveInput() = 0;
    virtual RCShdPtr<PiGraphObject> getCurveVisibleObject(); // null
    virtual bool arePointsEditable() const;                  // true
    virtual bool isEdgeActive() const;                       // true
    virtual bool areLinksActive() const;                     // false
    ///@}
    /// Whether the links are visible at a time; false by default.
    /// \param time the application's time path, or null; the default reads nothing of it
    virtual bool areLinksVisible(const RCShdPtr<PiTimePath const> &time) const;
    ///@{
    /// The objects that carry the edge's color and its visibility; null by default.
    virtual RCShdPtr<PiGraphObject> getEdgeColorObject();
    virtual RCShdPtr<PiGraphObject> getEdgeVisibleObject();
    ///@}
    ///@{
    /// The multi-valued gradient input; null for a shape without gradient.
    virtual RCShdPtr<PiInput> getGradientInput();
    virtual CoRgbColorTyped<float> getLinkLineColor(); // black
    ///@}
    ///@{
    /// Curve-representation callbacks; the defaults subscribe nothing.
    /// \param handler the handler subscribed (unsubscribed), borrowed; it unsubscribes itself when
    /// destroyed
    virtual void addCurveRepresentationChangedCb(CbHandler<CbEmptyType> *handler) const;
    virtual void removeCurveRepresentationChangedCb(CbHandler<CbEmptyType> *handler) const;
    ///@}
};

extern template class RCWeakBasePtr<SeShapeInterface, LkCounter<int>>;
extern template class RCWeakPtr<SeShapeInterface>;
extern template class RCStrongBasePtr<SeShapeInterface, LkCounter<int>>;
extern template class RCWeakAccessor<SeShapeInterface>;
extern template class Iterator<RCWeakPtr<SeShapeInterface>>;
extern template class RCPvtEngPtr<IteratorImp<RCWeakPtr<SeShapeInterface>>>;

} // namespace Vo
