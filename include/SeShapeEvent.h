#pragma once

#include "SeObject.h"
#include "SeShape.h"
#include "VoShapeExport.h"

#include "foundation/CbDispatcher.h"
#include "foundation/CbHandler.h"
#include "foundation/RCShdPtr.h"

namespace Vo {

/// An immutable shape event; the kind of an event is its class (one of the four nested kinds).
/// Events hold counted references to their shapes and owners, keeping them alive while the event
/// lives. A default-constructed event serves as a sample of its kind when subscribing. Sent and
/// received on the editor's thread.
///
/// Example (docs/examples/implementing.cpp, run as a test): a removal event, sent once the shape
/// is gone.
/// \snippet implementing.cpp removal
class VO_SHAPE_API SeShapeEvent {
public:
    class ShapeAdded;
    class ShapeRemoved;
    class ShapeMoved;
    class ShapeRenamed;

    SeShapeEvent() = default;
    /// Events are values.
    SeShapeEvent(const SeShapeEvent &) = default;
    SeShapeEvent &operator=(const SeShapeEvent &) = delete;
    virtual ~SeShapeEvent();
};

/// A shape came into existence, owned by `owner`.
class VO_SHAPE_API SeShapeEvent::ShapeAdded : public SeShapeEvent {
public:
    ShapeAdded();
    /// `shape` was added to `owner`.
    /// \param shape the shape added, shared
    /// \param owner the object that owns it now, shared
    ShapeAdded(const RCShdPtr<SeShape const> &shape, const RCShdPtr<SeObject const> &owner);
    ~ShapeAdded() override;
    ///@{
    /// The shape added, and the object that owns it now.
    const RCShdPtr<SeShape const> &getShape() const noexcept { return shape; }
    const RCShdPtr<SeObject const> &getOwner() const noexcept { return owner; }
    ///@}

private:
    RCShdPtr<SeShape const> shape;
    RCShdPtr<SeObject const> owner;
};

/// A shape went away; only its id (SeObject::getId) is carried, since the shape may be gone.
class VO_SHAPE_API SeShapeEvent::ShapeRemoved : public SeShapeEvent {
public:
    ShapeRemoved(); // id -1, no owner
    /// The shape whose graph object's id was `shapeId` has left `owner`: sent once it is gone.
    /// \param shapeId the id the shape's graph object had (SeObject::getId)
    /// \param owner the object that owned it, shared
    ShapeRemoved(int shapeId, const RCShdPtr<SeObject const> &owner);
    ~ShapeRemoved() override;
    ///@{
    /// The removed shape's id, and the object that owned it.
    int getShapeId() const noexcept { return shapeId; }
    const RCShdPtr<SeObject const> &getOwner() const noexcept { return owner; }
    ///@}

private:
    int shapeId;
    RCShdPtr<SeObject const> owner;
};

/// A shape changed owner.
class VO_SHAPE_API SeShapeEvent::ShapeMoved : public SeShapeEvent {
public:
    ShapeMoved();
    /// `shape` moved from `previousOwner` to `newOwner`.
    /// \param shape the shape moved, shared
    /// \param previousOwner, newOwner the objects that owned it before and own it now, shared
    ShapeMoved(const RCShdPtr<SeShape const> &shape, const RCShdPtr<SeObject const> &previousOwner,
               const RCShdPtr<SeObject const> &newOwner);
    ~ShapeMoved() override;
    ///@{
    /// The shape moved, its owner before and its owner now.
    const RCShdPtr<SeShape const> &getShape() const noexcept { return shape; }
    const RCShdPtr<SeObject const> &getPreviousOwner() const noexcept { return previousOwner; }
    const RCShdPtr<SeObject const> &getNewOwner() const noexcept { return newOwner; }
    ///@}

private:
    RCShdPtr<SeShape const> shape;
    RCShdPtr<SeObject const> previousOwner;
    RCShdPtr<SeObject const> newOwner;
};

/// A shape's name changed; the names are not carried.
class VO_SHAPE_API SeShapeEvent::ShapeRenamed : public SeShapeEvent {
public:
    ShapeRenamed();
    /// `shape` was renamed.
    /// \param shape the shape renamed, shared
    explicit ShapeRenamed(const RCShdPtr<SeShape const> &shape);
    ~ShapeRenamed() override;
    /// The shape renamed.
    const RCShdPtr<SeShape const> &getShape() const noexcept { return shape; }

private:
    RCShdPtr<SeShape const> shape;
};

extern template class CbDispatcher<SeShapeEvent const>;
extern template class CbHandler<SeShapeEvent const>;

} // namespace Vo
