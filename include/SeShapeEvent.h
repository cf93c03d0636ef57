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
class VO_SHAPE_API SeShapeEvent {
public:
    class ShapeAdded;
    class ShapeRemoved;
    class ShapeMoved;
    class ShapeRenamed;

    SeShapeEvent() = default;
    SeShapeEvent(const SeShapeEvent &) = default;
    SeShapeEvent &operator=(const SeShapeEvent &) = delete;
    virtual ~SeShapeEvent();
};

/// A shape came into existence, owned by `owner`.
class VO_SHAPE_API SeShapeEvent::ShapeAdded : public SeShapeEvent {
public:
    ShapeAdded();
    ShapeAdded(const RCShdPtr<SeShape const> &shape, const RCShdPtr<SeObject const> &owner);
    ~ShapeAdded() override;
    const RCShdPtr<SeShape const> &getShape() const noexcept { return shape; }
    const RCShdPtr<SeObject const> &getOwner() const noexcept { return owner; }

private:
    RCShdPtr<SeShape const> shape;
    RCShdPtr<SeObject const> owner;
};

/// A shape went away; only its id (SeObject::getId) is carried, since the shape may be gone.
class VO_SHAPE_API SeShapeEvent::ShapeRemoved : public SeShapeEvent {
public:
    ShapeRemoved(); // id -1, no owner
    ShapeRemoved(int shapeId, const RCShdPtr<SeObject const> &owner);
    ~ShapeRemoved() override;
    int getShapeId() const noexcept { return shapeId; }
    const RCShdPtr<SeObject const> &getOwner() const noexcept { return owner; }

private:
    int shapeId;
    RCShdPtr<SeObject const> owner;
};

/// A shape changed owner.
class VO_SHAPE_API SeShapeEvent::ShapeMoved : public SeShapeEvent {
public:
    ShapeMoved();
    ShapeMoved(const RCShdPtr<SeShape const> &shape, const RCShdPtr<SeObject const> &previousOwner,
               const RCShdPtr<SeObject const> &newOwner);
    ~ShapeMoved() override;
    const RCShdPtr<SeShape const> &getShape() const noexcept { return shape; }
    const RCShdPtr<SeObject const> &getPreviousOwner() const noexcept { return previousOwner; }
    const RCShdPtr<SeObject const> &getNewOwner() const noexcept { return newOwner; }

private:
    RCShdPtr<SeShape const> shape;
    RCShdPtr<SeObject const> previousOwner;
    RCShdPtr<SeObject const> newOwner;
};

/// A shape's name changed; the names are not carried.
class VO_SHAPE_API SeShapeEvent::ShapeRenamed : public SeShapeEvent {
public:
    ShapeRenamed();
    explicit ShapeRenamed(const RCShdPtr<SeShape const> &shape);
    ~ShapeRenamed() override;
    const RCShdPtr<SeShape const> &getShape() const noexcept { return shape; }

private:
    RCShdPtr<SeShape const> shape;
};

extern template class CbDispatcher<SeShapeEvent const>;
extern template class CbHandler<SeShapeEvent const>;

} // namespace Vo
