#pragma once

// Moved: include host/selection/SnSelectionChangeHint.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/SnSelectionChangeHint.h moved to host/selection/SnSelectionChangeHint.h; the old path goes in version 10.0"
// major release.
#include "selection/SnSelectionChangeHint.h"
