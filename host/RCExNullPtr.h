#pragma once

// Moved: include base/RCExNullPtr.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCExNullPtr.h moved to base/RCExNullPtr.h; the old path goes in version 10.0"
#include "../base/RCExNullPtr.h"
