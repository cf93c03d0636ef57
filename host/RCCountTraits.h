#pragma once

// Moved: include base/RCCountTraits.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCCountTraits.h moved to base/RCCountTraits.h; the old path goes in version 10.0"
#include "../base/RCCountTraits.h"
