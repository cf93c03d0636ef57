#include "SeUpdaterItems.h"

#include "SeElementItems.h"

#include "foundation/RCWeakAccessor.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiGraphSearch.h"
#include "host/graph/PiIsPrimaryOutputNode.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/graph/PiStructuredInput.h"

#include <algorithm>

namespace Vo {

namespace {

// The name of a shape's graph object, for error messages; a shape that cannot tell has none.
std::string nameOf(const RCWeakPtr<SeShapeInterface> &shape) {
    try {
        return SeUpdaterItems::graphObjectOf(shape)->getName();
    } catch (...) {
        return "(unnamed)";
    }
}

} // namespace

const PiGraphObjectSnItemConst &SeUpdaterItems::asGraphItem(const RCShdPtr<SnItem const> &item) {
    return *rcCheckedCast<PiGraphObjectSnItemConst const>(item.operator->());
}

RCShdPtr<SeShape> SeUpdaterItems::modelOf(const RCWeakPtr<SeShapeInterface> &shape) {
    const RCWeakAccessor<SeShapeInterface> access(shape);
    return access->getShape();
}

RCShdPtr<PiGraphObject const>
SeUpdaterItems::graphObjectOf(const RCWeakPtr<SeShapeInterface> &shape) {
    return modelOf(shape)->getGraphObject();
}

bool SeUpdaterItems::sameObject(const RCShdPtr<SnItem const> &hostItem,
                                const RCWeakPtr<SeShapeInterface> &shape) {
    return PiGraphObject::areEqual(asGraphItem(hostItem).getGraphObject(), graphObjectOf(shape));
}

RCShdPtr<SnItem const> SeUpdaterItems::objectItem(const RCWeakPtr<SeShapeInterface> &shape) {
    return PiSnItemUtil::createFromBase(graphObjectOf(shape));
}

template <class Element>
int SeUpdaterItems::appendElementItems(const PiMultivaluedInput &input, const Vector<int> &indices,
                                       const RCShdPtr<PiPath> &path, SeExMissingElement::Part part,
                                       const RCWeakPtr<SeShapeInterface> &shape, std::size_t extra,
                                       Vector<RCShdPtr<SnItem const>> &items) {
    int width = 0;
    bool first = true;
    for (int index : indices) {
        const RCShdPtr<PiInput> found = input.getElement(index);
        if (found.isNull()) {
            throw SeExMissingElement(part, nameOf(shape), index, input.getNbElements());
        }
        const int count = found->getNbSubInputs();
        if (first) {
            // The elements of one input are all of its element kind: one check stands for all,
            // and their width sizes the list once.
            rcCheckedCast<Element const>(found.get());
            items.reserve(items.size() + indices.size() * static_cast<std::size_t>(count) + extra);
        }
        for (int component = 0; component < count; ++component) {
            items.push_back(PiSnItem<PiInput>::create(found->getSubInput(component), path));
        }
        width = first || width == count ? count : -1;
        first = false;
    }
    return width;
}

template int SeUpdaterItems::appendElementItems<PiCompositeInput>(
    const PiMultivaluedInput &, const Vector<int> &, const RCShdPtr<PiPath> &,
    SeExMissingElement::Part, const RCWeakPtr<SeShapeInterface> &, std::size_t,
    Vector<RCShdPtr<SnItem const>> &);
template int SeUpdaterItems::appendElementItems<PiStructuredInput>(
    const PiMultivaluedInput &, const Vector<int> &, const RCShdPtr<PiPath> &,
    SeExMissingElement::Part, const RCWeakPtr<SeShapeInterface> &, std::size_t,
    Vector<RCShdPtr<SnItem const>> &);

int SeUpdaterItems::appendPointRun(const RCShdPtr<PiMultivaluedInput> &input,
                                   const Vector<int> &indices, const RCShdPtr<PiPath> &path,
                                   const RCWeakPtr<SeShapeInterface> &shape,
                                   Vector<SnItemSlice> &slices) {
    if (indices.empty()) {
        return 0;
    }
    // The elements of one input are all of its element kind: one check stands for all.
    const RCShdPtr<PiInput> first = input->getElement(indices.front());
    if (!first.isNull()) {
        rcCheckedCast<PiCompositeInput const>(first.get());
    }
    const int elements = input->getNbElements();
    const auto missing = std::find_if(indices.begin(), indices.end(),
                                      [&](int index) { return index < 0 || index >= elements; });
    if (missing != indices.end()) {
        throw SeExMissingElement(SeExMissingElement::Part::Point, nameOf(shape), *missing,
                                 elements);
    }
    const int width = first->getNbSubInputs();
    const auto components = static_cast<std::size_t>(width);
    RCShdPtr<SeElementItems> row = SeElementItems::create(input, indices, components, path);
    slices.emplace_back(std::move(row), 0, indices.size() * components);
    return width;
}

std::size_t SeUpdaterItems::widthAt(const PiMultivaluedInput &input, int index) {
    const RCShdPtr<PiInput> element = input.getElement(index);
    return element.isNull() ? 0 : static_cast<std::size_t>(element->getNbSubInputs());
}

RCShdPtr<PiMultivaluedInput> SeUpdaterItems::gradientOf(const RCWeakPtr<SeShapeInterface> &shape,
                                                        int handle) {
    const RCWeakAccessor<SeShapeInterface> access(shape);
    RCShdPtr<PiMultivaluedInput> gradient =
        rcDynamicCast<PiMultivaluedInput>(access->getGradientInput());
    if (gradient.isNull()) {
        throw SeExMissingElement(SeExMissingElement::Part::Handle, nameOf(shape), handle, -1);
    }
    return gradient;
}

RCShdPtr<PiPath> SeUpdaterItems::pathToPrimaryOutput(const RCShdPtr<PiInput> &input) {
    return PiGraphSearch::heightFirst(input->getNode(), PiIsPrimaryOutputNode::getPredicate());
}

} // namespace Vo
