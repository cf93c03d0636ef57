#pragma once

// Moved: include base/RCTypeName.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCTypeName.h moved to base/RCTypeName.h; the old path goes in version 10.0"
#include "../base/RCTypeName.h"
