#pragma once

// Moved: include host/graph/PiNodeController.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiNodeController.h moved to host/graph/PiNodeController.h; the old path goes in version 10.0"
// release.
#include "graph/PiNodeController.h"
