#pragma once

#include <VoShape/SeSelectionSnapshot.h>
#include <VoShape/SeShape.h>
#include <VoShape/SeShapeInterface.h>

#include <VoShape/foundation/RCShdPtr.h>
#include <VoShape/foundation/RCWeakPtr.h>
#include <VoShape/host/RCOwner.h>
#include <VoShape/host/graph/PiInput.h>
#include <VoShape/host/graph/PiMultivaluedInput.h>
#include <VoShape/host/graph/PiNode.h>
#include <VoShape/host/graph/PiStructuredInput.h>

#include <string>

namespace VoExample {

// The editing side of one shape: its curve input "<name>.curve", whose "Points" holds one
// composite element (x, y) per point or, for a single-valued curve, one plain input for all of
// them; its optional gradient input "<name>.gradient" with one structured element (position,
// color) per handle; and the reference that keeps its model side alive. Owned by the layer through
// RCOwner; the library holds it only weakly. Shares its inputs with the tool node.
class AppShapeInterface : public Vo::SeShapeInterface {
public:
    // Builds the shape in toolNode (its graph object, curve input and, when nbHandles > 0, gradient
    // input), its editing side, owned by the result, and its model side, linked both ways.
    // Raises RCExNullPtr when toolNode already has a curve input of that name. A failure part way
    // (out of memory) leaves nothing of the shape in toolNode.
    static Vo::RCOwner<AppShapeInterface> create(Vo::PiNode &toolNode, const std::string &name,
                                                 int nbPoints, int nbHandles,
                                                 bool singleValuedPoints);
    AppShapeInterface(const AppShapeInterface &) = delete;
    AppShapeInterface &operator=(const AppShapeInterface &) = delete;
    ~AppShapeInterface() override;

    const std::string &getName() const noexcept { return name; }
    // The id of the shape's graph object: what SeObject::getId gives and removal events carry.
    int getId() const { return shape->getId(); }
    // The weak pointer that the library holds for this shape.
    Vo::RCWeakPtr<Vo::SeShapeInterface> getWeak() const { return shape->getShapeInterface(); }
    bool hasSingleValuedPoints() const noexcept { return points.isNull(); }
    bool hasGradient() const noexcept { return !gradient.isNull(); }
    int getNbPoints() const noexcept;
    int getNbHandles() const noexcept;
    // What a selection snapshot's restore asks of the application: the points (handles) of a
    // shape, whose single-valued curve does not count them; -1 for a shape of another class.
    static int countElements(const Vo::SeShapeInterface &shape,
                             Vo::SeSelectionSnapshot::Elements elements);

    // Where a point is: the values of its element's x and y inputs. False, reading nothing, for a
    // single-valued curve (no input per point) or an index out of range.
    bool getPoint(int index, double &x, double &y) const;
    bool setPoint(int index, double x, double y);
    // A handle's place along the gradient: the value of its element's position input; 0 out of
    // range.
    double getHandle(int index) const;
    bool setHandle(int index, double position);

    // Insert a point (handle) at index, in [0, count], or remove the one at index, in [0, count).
    // They change the graph only: the caller renumbers the selection. False, changing nothing, when
    // index is out of range or, for handles, when the shape has no gradient. A new point (handle)
    // lies halfway between its neighbours, or on its one neighbour.
    bool insertPoint(int index);
    bool removePoint(int index);
    bool insertHandle(int index);
    bool removeHandle(int index);

    Vo::RCShdPtr<Vo::SeShape> getShape() override { return shape; }
    Vo::RCShdPtr<Vo::PiInput> getCurveInput() override { return curve; }
    Vo::RCShdPtr<Vo::PiInput> getGradientInput() override { return gradient; }

private:
    // The value inputs of element index of input, component component; null out of range.
    static Vo::RCShdPtr<Vo::PiInput> component(const Vo::RCShdPtr<Vo::PiMultivaluedInput> &input,
                                               int index, int component);
    // The element just inserted at index takes its neighbours' mean.
    void placeNewPoint(int index);
    void placeNewHandle(int index);

    AppShapeInterface(std::string name, const Vo::RCShdPtr<Vo::PiStructuredInput> &curve,
                      const Vo::RCShdPtr<Vo::PiMultivaluedInput> &gradient, int nbPlainPoints);

    std::string name;
    Vo::RCShdPtr<Vo::SeShape> shape;
    Vo::RCShdPtr<Vo::PiStructuredInput> curve;
    // The curve's "Points" when it holds one element per point; null for a single-valued curve.
    Vo::RCShdPtr<Vo::PiMultivaluedInput> points;
    Vo::RCShdPtr<Vo::PiMultivaluedInput> gradient;
    // A single-valued "Points" input does not count its points, so the shape does.
    int nbPlainPoints;
};

} // namespace VoExample
