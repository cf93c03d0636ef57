#pragma once

// Moved: include host/selection/SnPartsBasic.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/SnPartsBasic.h moved to host/selection/SnPartsBasic.h; the old path goes in version 10.0"
// release.
#include "selection/SnPartsBasic.h"
