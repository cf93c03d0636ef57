#pragma once

#include "SeShape.h"
#include "SeShapeInterface.h"
#include "TestFaults.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "host/graph/PiGraphObject.h"

namespace VoTest {

// The model side of a test shape: its graph object and a weak pointer to its editing side. The
// library's calls are counted by the fault switch and raise when it is armed. Instances are counted
// so that tests can tell a shape kept alive after its editor is gone (editor's thread only).
class TestShape : public Vo::SeShape {
public:
    TestShape(const Vo::RCShdPtr<Vo::PiGraphObject> &object,
              const Vo::RCWeakPtr<Vo::SeShapeInterface> &editing);

    // Test shapes alive now.
    static int getNbLive() noexcept { return nbLive; }

    Vo::RCShdPtr<Vo::PiGraphObject> getGraphObject() override {
        TestFaults::count();
        return object;
    }
    Vo::RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override {
        TestFaults::count();
        return object;
    }
    Vo::RCWeakPtr<Vo::SeShapeInterface> getShapeInterface() const override {
        TestFaults::count();
        return editing;
    }
    // The base's answers, counted: an application may override both.
    bool isEqual(const Vo::SeObject &other) const override {
        TestFaults::count();
        return SeShape::isEqual(other);
    }
    int getId() const override {
        TestFaults::count();
        return SeShape::getId();
    }

private:
    ~TestShape() override;

    Vo::RCShdPtr<Vo::PiGraphObject> object;
    Vo::RCWeakPtr<Vo::SeShapeInterface> editing;
    static inline int nbLive = 0;
};

} // namespace VoTest
