#include "host/selection/SnItem.h"

#include "host/selection/SnParts.h"

namespace Vo {

SnItem::SnItem(const RCShdPtr<SnParts> &itemParts) : parts(itemParts) {}

SnItem::SnItem(const SnItem &other) : RCBase<int>(other), parts(other.parts) {}

SnItem::~SnItem() noexcept = default;

RCShdPtr<SnParts const> SnItem::getParts() const { return parts; }

bool SnItem::isEqual(const SnItem &other) const {
    if (!isEqualImp(other)) {
        return false;
    }
    if (parts.isNull() || other.parts.isNull()) {
        return parts.isNull() && other.parts.isNull();
    }
    return parts == other.parts || parts->isEqual(other.parts);
}

void SnItem::dump(std::ostream &out) const {
    if (parts.isNull()) {
        out << "Parts:     none\n";
    } else {
        parts->dump(out);
    }
}

RCShdPtr<SnParts> SnItem::snapshot() const {
    return RCShdPtr<SnParts>(parts.isNull() ? nullptr : parts->clone());
}

void SnItem::restore(const RCShdPtr<SnParts const> &saved) {
    parts = RCShdPtr<SnParts>(saved.isNull() ? nullptr : saved->clone());
}

} // namespace Vo
