#pragma once

// Moved: include host/selection/SnParts.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/SnParts.h moved to host/selection/SnParts.h; the old path goes in version 10.0"
#include "selection/SnParts.h"
