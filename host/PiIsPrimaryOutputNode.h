#pragma once

// Moved: include host/graph/PiIsPrimaryOutputNode.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiIsPrimaryOutputNode.h moved to host/graph/PiIsPrimaryOutputNode.h; the old path goes in version 10.0"
// release.
#include "graph/PiIsPrimaryOutputNode.h"
