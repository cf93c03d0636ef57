#pragma once

#include <VoShape/SeIdentityKey.h>
#include <VoShape/SeShape.h>
#include <VoShape/SeShapeInterface.h>

#include <VoShape/foundation/RCShdPtr.h>
#include <VoShape/foundation/RCWeakPtr.h>
#include <VoShape/host/graph/PiGraphObject.h>

#include <cstdint>

namespace VoExample {

// The model side of one shape: the graph object that stands for the shape in the tool node, and a
// weak pointer back to its editing side. Shared through RCShdPtr (the editing side holds the
// reference that keeps it alive); the graph object is shared with the tool node. Its identity key
// is its graph object's id, unique in the graph and the same from run to run for the same scene
// (what a saved selection names shapes by): shapes are equal exactly when they share their graph
// object.
class AppShape : public Vo::SeShape, public Vo::SeIdentityKey {
public:
    AppShape(const Vo::RCShdPtr<Vo::PiGraphObject> &object,
             const Vo::RCWeakPtr<Vo::SeShapeInterface> &editingSide);
    AppShape(const AppShape &) = delete;
    AppShape &operator=(const AppShape &) = delete;

    Vo::RCShdPtr<Vo::PiGraphObject> getGraphObject() override { return object; }
    Vo::RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override { return object; }
    Vo::RCWeakPtr<Vo::SeShapeInterface> getShapeInterface() const override { return editingSide; }
    std::uint64_t getIdentityKey() const noexcept override;

private:
    // Only the last RCShdPtr destroys a shape.
    ~AppShape() override;

    Vo::RCShdPtr<Vo::PiGraphObject> object;
    Vo::RCWeakPtr<Vo::SeShapeInterface> editingSide;
};

} // namespace VoExample
