#pragma once

// Moved: include host/selection/Sn.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/Sn.h moved to host/selection/Sn.h; the old path goes in version 10.0"
#include "selection/Sn.h"
