#pragma once

#include "SeShape.h"
#include "SeShapeInterface.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/PiGraphObject.h"

namespace VoTest {

// The model side of a test shape: its graph object and a weak pointer to its editing side.
class TestShape : public Vo::SeShape {
public:
    TestShape(const Vo::RCShdPtr<Vo::PiGraphObject> &object,
              const Vo::RCWeakPtr<Vo::SeShapeInterface> &editing);

    Vo::RCShdPtr<Vo::PiGraphObject> getGraphObject() override { return object; }
    Vo::RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override { return object; }
    Vo::RCWeakPtr<Vo::SeShapeInterface> getShapeInterface() const override { return editing; }

private:
    ~TestShape() override;

    Vo::RCShdPtr<Vo::PiGraphObject> object;
    Vo::RCWeakPtr<Vo::SeShapeInterface> editing;
};

} // namespace VoTest
