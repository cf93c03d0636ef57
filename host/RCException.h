#pragma once

// Moved: include base/RCException.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCException.h moved to base/RCException.h; the old path goes in version 10.0"
#include "../base/RCException.h"
