#pragma once

// Moved: include base/RCExInvalidCall.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCExInvalidCall.h moved to base/RCExInvalidCall.h; the old path goes in version 10.0"
#include "../base/RCExInvalidCall.h"
