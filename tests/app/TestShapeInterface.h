#pragma once

#include "SeShape.h"
#include "SeShapeInterface.h"

#include "foundation/RCShdPtr.h"
#include "host/PiInput.h"

namespace VoTest {

// The editing side of a test shape: owns a share of its model side and of its curve and gradient
// inputs; points are editable unless told otherwise.
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

    Vo::RCShdPtr<Vo::SeShape> getShape() override { return shape; }
    Vo::RCShdPtr<Vo::PiInput> getCurveInput() override { return curve; }
    Vo::RCShdPtr<Vo::PiInput> getGradientInput() override { return gradient; }
    bool arePointsEditable() const override { return pointsEditable; }

private:
    Vo::RCShdPtr<Vo::SeShape> shape;
    Vo::RCShdPtr<Vo::PiInput> curve;
    Vo::RCShdPtr<Vo::PiInput> gradient;
    bool pointsEditable = true;
};

} // namespace VoTest
