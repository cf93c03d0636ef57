#pragma once

// Moved: include base/RCBase.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCBase.h moved to base/RCBase.h; the old path goes in version 10.0"
#include "../base/RCBase.h"
