#pragma once

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiInput.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiStructuredInput.h"

#include <string>

namespace Vo {

// Makes the inputs of one node, each with a fresh id from the node's graph; the input classes let
// only this factory construct them, so that every input is made for, and put in, a container of
// that node. Holds the node and its graph for the factory's life, so a batch locks them once.
class PiInputFactory {
public:
    // Raises RCExNullPtr naming `Vo::PiGraph*` when the node has outlived its graph.
    explicit PiInputFactory(PiNode &owner);

    RCShdPtr<PiInput> createPlain(const std::string &name);
    RCShdPtr<PiStructuredInput> createStructured(const std::string &name);
    RCShdPtr<PiMultivaluedInput> createMultivalued(const std::string &name,
                                                   PiMultivaluedInput::ElementKind elementKind,
                                                   const Vector<std::string> &componentNames);
    // A new element for input, of its element kind and named after it.
    RCShdPtr<PiInput> createElement(const PiMultivaluedInput &input);

private:
    RCShdPtr<PiCompositeInput> createComposite(const std::string &name,
                                               const Vector<std::string> &componentNames);
    RCShdPtr<PiStructuredInput> createStructured(const std::string &name,
                                                 const Vector<std::string> &componentNames);
    void fill(PiGraphObjectList<PiInput> &list, const Vector<std::string> &componentNames);

    RCShdPtr<PiNode> owner;
    RCShdPtr<PiGraph> graph;
};

} // namespace Vo
