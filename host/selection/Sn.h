#pragma once

#include "../ObObserver.h"
#include "../ObSubject.h"
#include "../VoHostExport.h"

namespace Vo {

/// The tag of the selection framework's observer family: selections notify ObObserver<Sn> through
/// their ObSubject<Sn>.
struct VO_HOST_API Sn {};

// The family's observer and subject are instantiated once, in the host library. Declared with the
// tag rather than with the templates, so that the observer framework knows nothing of selections.
extern template class VO_HOST_API ObObserver<Sn>;
extern template class VO_HOST_API ObSubject<Sn>;

} // namespace Vo
