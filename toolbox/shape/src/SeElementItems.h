#pragma once

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiElementsWatcher.h"
#include "host/graph/PiInput.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiPath.h"
#include "host/selection/SnItemSource.h"

#include <cstddef>

namespace Vo {

// The application's items of the selected elements of one multi-valued input (a shape's points or
// handles): one per component input of each element, element by element in the order of the
// indices, then component by component, all along one path; made only when someone reads them.
// The elements are found by index until the input's elements move, when the row keeps the ones it
// names first (in a room taken when the row is made, so that keeping them cannot fail). Holds the
// input, a copy of the indices (parts hand their index lists to one another as they are read, so
// none can be borrowed) and the path.
class SeElementItems : public SnItemSource, private PiElementsWatcher {
public:
    // The row of the `indices` of input, whose elements have `width` components each; every
    // index must name an element.
    static RCShdPtr<SeElementItems> create(RCShdPtr<PiMultivaluedInput> input,
                                           const Vector<int> &indices, std::size_t width,
                                           RCShdPtr<PiPath> path);
    ~SeElementItems() noexcept override;

    // Rows of the same input, width and path, both still finding their elements by index, tell by
    // their indices.
    bool isSameRun(const SnItemSource &other, std::size_t first, std::size_t otherFirst,
                   std::size_t count) const override;

private:
    SeElementItems(RCShdPtr<PiMultivaluedInput> input, const Vector<int> &indices,
                   std::size_t width, RCShdPtr<PiPath> path);
    RCShdPtr<SnItem const> makeItem(std::size_t i) const override;
    void elementsMoving() noexcept override;

    RCShdPtr<PiMultivaluedInput> input;
    Vector<int> indices;
    std::size_t width;
    RCShdPtr<PiPath> path;
    Vector<RCShdPtr<PiInput>> kept; // the elements, once they moved; its room taken at once
    bool watching = false;
};

} // namespace Vo
