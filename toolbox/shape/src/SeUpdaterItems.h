#pragma once

#include "SeExMissingElement.h"
#include "SeShape.h"
#include "SeShapeInterface.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiGraphObject.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiInput.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiPath.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnItemSlice.h"

#include <string>

// What the updater's two directions, the full mirroring (SeSelectorUpdater.cpp) and the one-item
// mirroring (SeSelectorUpdaterSplice.cpp), read and make of the graph's items.

namespace Vo {

struct SeUpdaterItems {
    static const PiGraphObjectSnItemConst &asGraphItem(const RCShdPtr<SnItem const> &item);
    // The model side of a live shape; null when the interface gives none (its use raises then).
    static RCShdPtr<SeShape> modelOf(const RCWeakPtr<SeShapeInterface> &shape);
    static RCShdPtr<PiGraphObject const> graphObjectOf(const RCWeakPtr<SeShapeInterface> &shape);
    // Whether the item stands for the shape's graph object.
    static bool sameObject(const RCShdPtr<SnItem const> &hostItem,
                           const RCWeakPtr<SeShapeInterface> &shape);
    // The item of the shape's graph object in the application's selection.
    static RCShdPtr<SnItem const> objectItem(const RCWeakPtr<SeShapeInterface> &shape);
    // Appends one item per component input of each element, in element then component order, and
    // gives the number of items per element when every element gave as many (-1 otherwise; 0 for
    // no index). An index without element raises SeExMissingElement before anything is appended
    // for it. The list is given room, once, for these items and `extra` more to come.
    template <class Element>
    static int appendElementItems(const PiMultivaluedInput &input, const Vector<int> &indices,
                                  const RCShdPtr<PiPath> &path, SeExMissingElement::Part part,
                                  const RCWeakPtr<SeShapeInterface> &shape, std::size_t extra,
                                  Vector<RCShdPtr<SnItem const>> &items);
    // The items appendElementItems makes for composite elements (a curve's points), as one run
    // (SeElementItems) appended to slices, made when read: each index is checked to name an element (SeExMissingElement, the first that names none,
    // before anything is appended). Gives the number of items per element (0 for no index): the
    // elements of one such input all have the input's components, and keep them.
    static int appendPointRun(const RCShdPtr<PiMultivaluedInput> &input,
                              const Vector<int> &indices,
                              const RCShdPtr<PiPath> &path, const RCWeakPtr<SeShapeInterface> &shape,
                              Vector<SnItemSlice> &slices);
    // The number of component inputs of the element at index; 0 when there is none.
    static std::size_t widthAt(const PiMultivaluedInput &input, int index);
    // The shape's gradient, whose handles are selected from `handle` on; a shape without one has
    // no element for any handle: SeExMissingElement.
    static RCShdPtr<PiMultivaluedInput> gradientOf(const RCWeakPtr<SeShapeInterface> &shape,
                                                   int handle);
    static RCShdPtr<PiPath> pathToPrimaryOutput(const RCShdPtr<PiInput> &input);
};

} // namespace Vo
