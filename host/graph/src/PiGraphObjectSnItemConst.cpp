#include "host/graph/PiGraphObjectSnItemConst.h"

#include "host/selection/SnParts.h"

#include <typeinfo>

namespace Vo {

PiGraphObjectSnItemConst::PiGraphObjectSnItemConst(const RCShdPtr<PiGraphObject const> &graphObject)
    : SnItem(RCShdPtr<SnParts>()), object(graphObject) {}

PiGraphObjectSnItemConst::PiGraphObjectSnItemConst(const PiGraphObjectSnItemConst &other) = default;

PiGraphObjectSnItemConst::~PiGraphObjectSnItemConst() noexcept = default;

RCShdPtr<PiGraphObject const> PiGraphObjectSnItemConst::getGraphObject() const { return object; }

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
