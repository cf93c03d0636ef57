#pragma once

// Moved: include host/selection/SnItem.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/SnItem.h moved to host/selection/SnItem.h; the old path goes in version 10.0"
#include "selection/SnItem.h"
