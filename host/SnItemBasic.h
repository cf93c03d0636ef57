#pragma once

// Moved: include host/selection/SnItemBasic.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/SnItemBasic.h moved to host/selection/SnItemBasic.h; the old path goes in version 10.0"
// release.
#include "selection/SnItemBasic.h"
