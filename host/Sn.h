#pragma once

#include "VoHostExport.h"

namespace Vo {

// The tag of the selection framework's observer family: selections notify ObObserver<Sn> through
// their ObSubject<Sn>.
struct VO_HOST_API Sn {};

} // namespace Vo
