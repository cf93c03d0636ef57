#include "SeExMissingElement.h"

#include "base/RCTypeName.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiStructuredInput.h"

#include <typeinfo>

namespace Vo {

namespace {

std::string elementType(SeExMissingElement::Part part) {
    return RCTypeName::readable(part == SeExMissingElement::Part::Point
                                    ? typeid(PiCompositeInput *).name()
                                    : typeid(PiStructuredInput *).name());
}

std::string describe(SeExMissingElement::Part part, const std::string &shapeName, int index,
                     int nbElements) {
    const bool point = part == SeExMissingElement::Part::Point;
    if (nbElements < 0) {
        return "mirroring the editor's selection into the application's: shape \"" + shapeName +
               "\" has no " + (point ? "\"Points\" input" : "gradient") + ", so no " +
               (point ? "point " : "gradient handle ") + std::to_string(index);
    }
    std::string text = "mirroring the editor's selection into the application's: shape \"" +
                       shapeName + "\" has no " + (point ? "point " : "gradient handle ") +
                       std::to_string(index) + " (its " +
                       (point ? "\"Points\" input" : "gradient input") + " has ";
    if (nbElements <= 0) {
        return text + "no element)";
    }
    if (nbElements == 1) {
        return text + "1 element, 0)";
    }
    return text + std::to_string(nbElements) + " elements, 0 to " + std::to_string(nbElements - 1) +
           ")";
}

} // namespace

SeExMissingElement::SeExMissingElement(Part missingPart, const std::string &shapeName,
                                       int missingIndex, int elements)
    : RCExNullPtr(elementType(missingPart),
                  describe(missingPart, shapeName, missingIndex, elements)),
      part(missingPart), index(missingIndex), nbElements(elements) {}

SeExMissingElement::~SeExMissingElement() = default;

} // namespace Vo
