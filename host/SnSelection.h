#pragma once

// Moved: include host/selection/SnSelection.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/SnSelection.h moved to host/selection/SnSelection.h; the old path goes in version 10.0"
// release.
#include "selection/SnSelection.h"
