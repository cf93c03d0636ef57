#pragma once

// Moved: include host/graph/PiNode.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiNode.h moved to host/graph/PiNode.h; the old path goes in version 10.0"
#include "graph/PiNode.h"
