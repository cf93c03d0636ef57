#include "host/graph/PiGraphObjectSnItemConst.h"

#include "foundation/FreeList.h"

#include "host/selection/SnParts.h"

#include <typeinfo>

namespace Vo {

PiGraphObjectSnItemConst::PiGraphObjectSnItemConst(const RCShdPtr<PiGraphObject const> &graphObject)
    : SnItem(RCShdPtr<SnParts>()), object(graphObject) {}

PiGraphObjectSnItemConst::PiGraphObjectSnItemConst(const PiGraphObjectSnItemConst &other) = default;

PiGraphObjectSnItemConst::~PiGraphObjectSnItemConst() noexcept = default;

void *PiGraphObjectSnItemConst::operator new(std::size_t size) {
    return FreeList<sizeof(PiGraphObjectSnItemConst)>::allocate(size);
}

void PiGraphObjectSnItemConst::operator delete(void *block, std::size_t size) noexcept {
    FreeList<sizeof(PiGraphObjectSnItemConst)>::release(block, size);
}

const RCShdPtr<PiGraphObject const> &PiGraphObjectSnItemConst::getGraphObject() const noexcept {
    return object;
}

PiGraphObjectSnItemConst *PiGraphObjectSnItemConst::clone() const {
    return new PiGraphObjectSnItemConst(*this);
}

bool PiGraphObjectSnItemConst::isEqualImp(const SnItem &other) const {
    return typeid(*this) == typeid(other) &&
           PiGraphObject::areEqual(object,
                                   static_cast<const PiGraphObjectSnItemConst &>(other).object);
}

void PiGraphObjectSnItemConst::dump(std::ostream &out) const {
    SnItem::dump(out);
    out << "Object:    ";
    if (object.isNull()) {
        out << "null";
    } else {
        object->dump(out);
    }
    out << "\n";
}

} // namespace Vo
