#pragma once

#include "VoShapeExport.h"

#include "base/RCExNullPtr.h"

#include <string>

namespace Vo {

/// Raised by the selection updater when a selected point or gradient-handle index of the single
/// selected shape has no element in the shape's input, so no input can stand for it in the
/// application's selection. An RCExNullPtr naming the element's pointer type, as the missing
/// element is a null one; its message names what was being done, the shape, the index and the
/// elements there are. Carries the index and the number of elements. The selector puts its old
/// items back when a change of its own meets this error, so both selections stay as they were.
///
/// Example (docs/examples/selecting.cpp): a refused index leaves both selections as they were.
/// \snippet selecting.cpp refused
class VO_SHAPE_API SeExMissingElement : public RCExNullPtr {
public:
    /// What had no element: a point of the curve's "Points", or a handle of the gradient.
    enum class Part { Point, Handle };

    /// The error of one index with no element, its message made from the four arguments.
    /// \param part whether a point or a handle had no element
    /// \param shapeName the name of the shape's graph object
    /// \param index the selected index that had none
    /// \param nbElements the number of elements the input has, -1 when the shape has no such input
    /// at all (a handle of a shape without a gradient)
    SeExMissingElement(Part part, const std::string &shapeName, int index, int nbElements);
    ~SeExMissingElement() override;

    ///@{
    /// What is missing: a point or a handle, its index, and the number of elements its input has.
    Part getPart() const noexcept { return part; }
    int getIndex() const noexcept { return index; }
    int getNbElements() const noexcept { return nbElements; }
    ///@}

private:
    Part part;
    int index;
    int nbElements;
};

} // namespace Vo
