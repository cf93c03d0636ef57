#include "host/ObHints.h"

#include "base/RCExUtil.h"

#include <typeinfo>

namespace Vo {

ObHints::ObHints() noexcept = default;
ObHints::ObHints(const ObHints &other) = default;
ObHints &ObHints::operator=(const ObHints &other) = default;
ObHints::~ObHints() noexcept = default;

void ObHints::add(const RCShdPtr<ObHint> &hint) {
    if (hint.isNull()) {
        RCExUtil::throwExNullPtr(typeid(ObHint *).name());
    }
    hints.push_back(hint);
}

} // namespace Vo
