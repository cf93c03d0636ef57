#pragma once

#include "SeShape.h"
#include "SeShapeInterface.h"
#include "TestFaults.h"

#include "foundation/RCShdPtr.h"
#include "host/graph/PiInput.h"

namespace VoTest {

// The editing side of a test shape: owns a share of its model side and of its curve and gradient
// inputs; points are editable unless told otherwise. The library's calls are counted by the fault
// switch and raise when it is armed.
class TestShapeInterface : public Vo::SeShapeInterface {
public:
    TestShapeInterface(const Vo::RCShdPtr<Vo::PiInput> &curve,
                       const Vo::RCShdPtr<Vo::PiInput> &gradient);
    ~TestShapeInterface() override;

    void setShape(const Vo::RCShdPtr<Vo::SeShape> &model) { shape = model; }
    void setPointsEditable(bool editable) { pointsEditable = editable; }
    // The application may rebuild a shape's inputs, or lose them, while the shape stays selected.
    void setCurveInput(const Vo::RCShdPtr<Vo::PiInput> &input) { curve = input; }
    void setGradientInput(const Vo::RCShdPtr<Vo::PiInput> &input) { gradient = input; }

    // The application's own read of the model side, not counted.
    const Vo::RCShdPtr<Vo::SeShape> &model() const noexcept { return shape; }

    Vo::RCShdPtr<Vo::SeShape> getShape() override {
        TestFaults::count();
        return shape;
    }
    Vo::RCShdPtr<Vo::PiInput> getCurveInput() override {
        TestFaults::count();
        return curve;
    }
    Vo::RCShdPtr<Vo::PiInput> getGradientInput() override {
        TestFaults::count();
        return gradient;
    }
    bool arePointsEditable() const override {
        TestFaults::count();
        return pointsEditable;
    }

private:
    Vo::RCShdPtr<Vo::SeShape> shape;
    Vo::RCShdPtr<Vo::PiInput> curve;
    Vo::RCShdPtr<Vo::PiInput> gradient;
    bool pointsEditable = true;
};

} // namespace VoTest
