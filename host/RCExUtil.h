#pragma once

// Moved: include base/RCExUtil.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCExUtil.h moved to base/RCExUtil.h; the old path goes in version 10.0"
#include "../base/RCExUtil.h"
