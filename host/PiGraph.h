#pragma once

// Moved: include host/graph/PiGraph.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiGraph.h moved to host/graph/PiGraph.h; the old path goes in version 10.0"
#include "graph/PiGraph.h"
