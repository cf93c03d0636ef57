#include "host/selection/SnSelectionChangeHint.h"

namespace Vo {

SnSelectionChangeHint::SnSelectionChangeHint(const ObSubject<Sn> *changed) noexcept
    : subject(changed) {}

SnSelectionChangeHint::~SnSelectionChangeHint() noexcept = default;

} // namespace Vo
