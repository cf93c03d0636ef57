#include "PiInputFactory.h"

#include "base/RCExUtil.h"

#include <typeinfo>

namespace Vo {

PiInputFactory::PiInputFactory(PiNode &node) : owner(&node), graph(node.getGraph()) {
    if (graph.isNull()) {
        RCExUtil::throwExNullPtr(typeid(PiGraph *).name());
    }
}

RCShdPtr<PiInput> PiInputFactory::createPlain(const std::string &name) {
    return RCShdPtr<PiInput>(new PiInput(graph->takeNextId(), name, owner.get()));
}

RCShdPtr<PiStructuredInput> PiInputFactory::createStructured(const std::string &name) {
    return RCShdPtr<PiStructuredInput>(
        new PiStructuredInput(graph->takeNextId(), name, owner.get()));
}

RCShdPtr<PiMultivaluedInput>
PiInputFactory::createMultivalued(const std::string &name,
                                  PiMultivaluedInput::ElementKind elementKind,
                                  const Vector<std::string> &componentNames) {
    return RCShdPtr<PiMultivaluedInput>(new PiMultivaluedInput(
        graph->takeNextId(), name, owner.get(), elementKind, componentNames));
}

RCShdPtr<PiInput> PiInputFactory::createElement(const PiMultivaluedInput &input) {
    switch (input.getElementKind()) {
    case PiMultivaluedInput::ElementKind::Composite:
        return createComposite(input.getName(), input.getComponentNames());
    case PiMultivaluedInput::ElementKind::Structured:
        return createStructured(input.getName(), input.getComponentNames());
    case PiMultivaluedInput::ElementKind::Plain:
        break;
    }
    return createPlain(input.getName());
}

RCShdPtr<PiCompositeInput>
PiInputFactory::createComposite(const std::string &name,
                                const Vector<std::string> &componentNames) {
    RCShdPtr<PiCompositeInput> composite(
        new PiCompositeInput(graph->takeNextId(), name, owner.get()));
    fill(composite->components, componentNames);
    return composite;
}

RCShdPtr<PiStructuredInput>
PiInputFactory::createStructured(const std::string &name,
                                 const Vector<std::string> &componentNames) {
    RCShdPtr<PiStructuredInput> structured = createStructured(name);
    fill(structured->inputs, componentNames);
    return structured;
}

void PiInputFactory::fill(PiGraphObjectList<PiInput> &list,
                          const Vector<std::string> &componentNames) {
    list.reserve(static_cast<int>(componentNames.size()));
    for (const std::string &componentName : componentNames) {
        list.append(createPlain(componentName));
    }
}

} // namespace Vo
