#include "host/graph/PiSnItem.h"

#include "foundation/FreeList.h"
#include "host/selection/SnParts.h"

#include <typeinfo>
#include <utility>

namespace Vo {

PiSnItem<PiNode>::PiSnItem(const RCShdPtr<PiNode const> &node) : PiGraphObjectSnItemConst(node) {}

PiSnItem<PiNode>::PiSnItem(const PiSnItem &other) = default;

PiSnItem<PiNode>::~PiSnItem() noexcept = default;

// Made only from a node, so the object is one.
RCShdPtr<PiNode const> PiSnItem<PiNode>::getNode() const {
    return RCShdPtr<PiNode const>(static_cast<const PiNode *>(getGraphObject().get()));
}

PiSnItem<PiNode> *PiSnItem<PiNode>::clone() const { return new PiSnItem(*this); }

RCShdPtr<PiSnItem<PiInput>> PiSnItem<PiInput>::create(RCShdPtr<PiInput> input,
                                                      const RCShdPtr<PiPath> &path) {
    return RCShdPtr<PiSnItem<PiInput>>(new PiSnItem(std::move(input), path));
}

PiSnItem<PiInput>::PiSnItem(RCShdPtr<PiInput const> itemInput, RCShdPtr<PiPath const> itemPath)
    : SnItem(RCShdPtr<SnParts>()), input(std::move(itemInput)), path(std::move(itemPath)) {}

PiSnItem<PiInput>::PiSnItem(const PiSnItem &other) = default;

PiSnItem<PiInput>::~PiSnItem() noexcept = default;

RCShdPtr<PiInput const> PiSnItem<PiInput>::getInput() const { return input; }

RCShdPtr<PiPath const> PiSnItem<PiInput>::getPath() const { return path; }

PiSnItem<PiInput> *PiSnItem<PiInput>::clone() const { return new PiSnItem(*this); }

void *PiSnItem<PiInput>::operator new(std::size_t size) {
    return FreeList<sizeof(PiSnItem<PiInput>)>::allocate(size);
}

void PiSnItem<PiInput>::operator delete(void *block, std::size_t size) noexcept {
    FreeList<sizeof(PiSnItem<PiInput>)>::release(block, size);
}

bool PiSnItem<PiInput>::isEqualImp(const SnItem &other) const {
    if (typeid(*this) != typeid(other)) {
        return false;
    }
    const auto &item = static_cast<const PiSnItem &>(other);
    return PiGraphObject::areEqual(input, item.input) && PiPath::areEqual(path, item.path);
}

void PiSnItem<PiInput>::dump(std::ostream &out) const {
    SnItem::dump(out);
    out << "Input:     ";
    if (input.isNull()) {
        out << "null";
    } else {
        input->dump(out);
    }
    out << "\nPath:      ";
    if (path.isNull()) {
        out << "null";
    } else {
        path->dump(out);
    }
    out << "\n";
}

} // namespace Vo
