#include "host/selection/SnItemSource.h"

#include "base/RCExUtil.h"

#include <typeinfo>

namespace Vo {

SnItemSource::~SnItemSource() noexcept = default;

const RCShdPtr<SnItem const> &SnItemSource::itemAt(std::size_t i) const {
    if (made.empty()) {
        made.resize(size);
    }
    RCShdPtr<SnItem const> &item = made[i];
    if (item.isNull()) {
        RCShdPtr<SnItem const> fresh = makeItem(i);
        if (fresh.isNull()) {
            RCExUtil::throwExNullPtr(typeid(SnItem const *).name());
        }
        item = std::move(fresh);
    }
    return item;
}

bool SnItemSource::isSameRun(const SnItemSource &other, std::size_t first, std::size_t otherFirst,
                             std::size_t) const {
    return &other == this && first == otherFirst;
}

} // namespace Vo
