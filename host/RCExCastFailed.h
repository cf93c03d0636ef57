#pragma once

// Moved: include base/RCExCastFailed.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCExCastFailed.h moved to base/RCExCastFailed.h; the old path goes in version 10.0"
#include "../base/RCExCastFailed.h"
